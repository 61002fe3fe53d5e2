#pragma once

// Which command answers each function of the one list of reader functions
// (src/reader/ReaderFunctions.h), one line per function. A command takes the reader and the
// function's own parameters, without the device index where the function has one (the session
// checks it); one whose parameters differ from the list's does not compile, nor does a
// function of the list without its command.

#include "At88rf020Commands.h"
#include "ContactSlotCommands.h"
#include "Iso15693Commands.h"
#include "MifareCommands.h"
#include "ProcessorCommands.h"
#include "ReaderDevice.h"
#include "Shc1102Commands.h"
#include "Srf55vCommands.h"
#include "StTagCommands.h"
#include "Trh1064Commands.h"
#include "TypeBCommands.h"
#include "UltralightCommands.h"

#include "reader/ReaderFunctions.h"

namespace zentrava {

template <ReaderFunction F> struct ReaderCommand;

namespace readercommand {
template <class Signature, bool AddressesDevice> struct PointerOf;
template <class... Params> struct PointerOf<int32_t(Params...), false> {
    using type = int32_t (*)(SimulatedReader &, Params...);
};
template <class... Params> struct PointerOf<int32_t(uint16_t, Params...), true> {
    using type = int32_t (*)(SimulatedReader &, Params...);
};
// The type of F's command.
template <ReaderFunction F>
using Pointer = typename PointerOf<typename ReaderFunctionInfo<F>::Signature, ReaderFunctionInfo<F>::addressesDevice>::type;

template <ReaderFunction F> concept HasCommand = requires { ReaderCommand<F>::run; };
} // namespace readercommand

#define ZENTRAVA_COMMAND(function, command)                                                 \
    template <> struct ReaderCommand<ReaderFunction::function> {                            \
        static constexpr readercommand::Pointer<ReaderFunction::function> run = &command;   \
    };

// The reader device.
ZENTRAVA_COMMAND(lib_ver, DeviceCommands::libraryVersion)
ZENTRAVA_COMMAND(rf_init_com, DeviceCommands::openPort)
ZENTRAVA_COMMAND(rf_close_com, DeviceCommands::closePort)
ZENTRAVA_COMMAND(rf_init_device_number, DeviceCommands::setDeviceNumber)
ZENTRAVA_COMMAND(rf_get_device_number, DeviceCommands::getDeviceNumber)
ZENTRAVA_COMMAND(rf_get_model, DeviceCommands::model)
ZENTRAVA_COMMAND(rf_beep, DeviceCommands::beep)
ZENTRAVA_COMMAND(rf_light, DeviceCommands::light)
ZENTRAVA_COMMAND(rf_antenna_sta, DeviceCommands::antenna)
ZENTRAVA_COMMAND(rf_init_type, DeviceCommands::initType)
ZENTRAVA_COMMAND(ReadTime, DeviceCommands::readTime)
ZENTRAVA_COMMAND(WriteTime, DeviceCommands::writeTime)
// Type A requests and Mifare Standard.
ZENTRAVA_COMMAND(rf_request, MifareCommands::request)
ZENTRAVA_COMMAND(rf_anticoll, MifareCommands::anticollision)
ZENTRAVA_COMMAND(rf_select, MifareCommands::select)
ZENTRAVA_COMMAND(rf_halt, MifareCommands::halt)
ZENTRAVA_COMMAND(rf_M1_authentication2, MifareCommands::authenticate)
ZENTRAVA_COMMAND(rf_M1_read, MifareCommands::read)
ZENTRAVA_COMMAND(rf_M1_write, MifareCommands::write)
ZENTRAVA_COMMAND(rf_M1_initval, MifareCommands::initValue)
ZENTRAVA_COMMAND(rf_M1_readval, MifareCommands::readValue)
ZENTRAVA_COMMAND(rf_M1_decrement, MifareCommands::decrement)
ZENTRAVA_COMMAND(rf_M1_increment, MifareCommands::increment)
// UltraLight.
ZENTRAVA_COMMAND(rf_ul_select, UltralightCommands::select)
ZENTRAVA_COMMAND(rf_ul_write, UltralightCommands::write)
// Contactless processor cards.
ZENTRAVA_COMMAND(rf_typea_rst, ProcessorCommands::typeAReset)
ZENTRAVA_COMMAND(rf_DESFire_rst, ProcessorCommands::desfireReset)
ZENTRAVA_COMMAND(rf_cos_command, ProcessorCommands::command)
ZENTRAVA_COMMAND(rf_cl_deselect, ProcessorCommands::deselect)
// Type B and the pass-through.
ZENTRAVA_COMMAND(rf_atqb, TypeBCommands::request)
ZENTRAVA_COMMAND(rf_transceive1, TypeBCommands::transceive)
// ST tags.
ZENTRAVA_COMMAND(rf_st_select, StTagCommands::select)
ZENTRAVA_COMMAND(rf_sr176_readblock, StTagCommands::sr176Read)
ZENTRAVA_COMMAND(rf_sr176_writeblock, StTagCommands::sr176Write)
ZENTRAVA_COMMAND(rf_sr176_protectblock, StTagCommands::sr176Protect)
ZENTRAVA_COMMAND(rf_srix4k_readblock, StTagCommands::srix4kRead)
ZENTRAVA_COMMAND(rf_srix4k_writeblock, StTagCommands::srix4kWrite)
ZENTRAVA_COMMAND(rf_srix4k_getuid, StTagCommands::srix4kUid)
ZENTRAVA_COMMAND(rf_srix4k_writelockreg, StTagCommands::srix4kWriteLockRegister)
// AT88RF020.
ZENTRAVA_COMMAND(rf_at020_check, At88rf020Commands::check)
ZENTRAVA_COMMAND(rf_at020_read, At88rf020Commands::read)
ZENTRAVA_COMMAND(rf_at020_write, At88rf020Commands::write)
ZENTRAVA_COMMAND(rf_at020_lock, At88rf020Commands::lock)
ZENTRAVA_COMMAND(rf_at020_count, At88rf020Commands::count)
ZENTRAVA_COMMAND(rf_at020_deselect, At88rf020Commands::deselect)
// TRH1064.
ZENTRAVA_COMMAND(rf_thr1064_read, Trh1064Commands::read)
ZENTRAVA_COMMAND(rf_thr1064_write, Trh1064Commands::write)
ZENTRAVA_COMMAND(rf_thr1064_check, Trh1064Commands::check)
// SHC1102.
ZENTRAVA_COMMAND(rf_Shc1102_Auth, Shc1102Commands::authenticate)
ZENTRAVA_COMMAND(rf_Shc1102_Read, Shc1102Commands::read)
ZENTRAVA_COMMAND(rf_Shc1102_Write, Shc1102Commands::write)
// ISO 15693.
ZENTRAVA_COMMAND(ISO15693_Inventorys, Iso15693Commands::inventory)
ZENTRAVA_COMMAND(ISO15693_Read, Iso15693Commands::read)
ZENTRAVA_COMMAND(ISO15693_Write, Iso15693Commands::write)
ZENTRAVA_COMMAND(ISO15693_Lock_Block, Iso15693Commands::lockBlock)
ZENTRAVA_COMMAND(ISO15693_Write_AFI, Iso15693Commands::writeAfi)
ZENTRAVA_COMMAND(ISO15693_Lock_AFI, Iso15693Commands::lockAfi)
ZENTRAVA_COMMAND(ISO15693_Write_DSFID, Iso15693Commands::writeDsfid)
ZENTRAVA_COMMAND(ISO15693_Lock_DSFID, Iso15693Commands::lockDsfid)
ZENTRAVA_COMMAND(ISO15693_Get_System_Information, Iso15693Commands::systemInformation)
ZENTRAVA_COMMAND(ISO15693_Get_Block_Security, Iso15693Commands::blockSecurity)
// SRF55V.
ZENTRAVA_COMMAND(Srf55vp_Read, Srf55vCommands::read)
ZENTRAVA_COMMAND(Srf55vp_Write_Reread, Srf55vCommands::writeReread)
// The contact slot, the SAM slot and the cipher tool.
ZENTRAVA_COMMAND(OpenCard, ContactSlotCommands::openCard)
ZENTRAVA_COMMAND(smartcard_rst, ContactSlotCommands::contactReset)
ZENTRAVA_COMMAND(smartcard_cos, ContactSlotCommands::contactCommand)
ZENTRAVA_COMMAND(rf_init_sam, ContactSlotCommands::samInit)
ZENTRAVA_COMMAND(rf_sam_rst, ContactSlotCommands::samReset)
ZENTRAVA_COMMAND(rf_sam_cos, ContactSlotCommands::samCommand)
ZENTRAVA_COMMAND(AT24_read, ContactSlotCommands::at24Read)
ZENTRAVA_COMMAND(AT24_write, ContactSlotCommands::at24Write)
ZENTRAVA_COMMAND(AT1608_Rst, ContactSlotCommands::at1608Reset)
ZENTRAVA_COMMAND(AT1608_Authenticate, ContactSlotCommands::at1608Authenticate)
ZENTRAVA_COMMAND(AT1608_VerifyPassword, ContactSlotCommands::at1608VerifyPassword)
ZENTRAVA_COMMAND(AT1608_Read, ContactSlotCommands::at1608Read)
ZENTRAVA_COMMAND(AT1608_Write, ContactSlotCommands::at1608Write)
ZENTRAVA_COMMAND(AT1608_ReadFuse1, ContactSlotCommands::at1608ReadFuse)
ZENTRAVA_COMMAND(AT1608_WriteFuse1, ContactSlotCommands::at1608BlowFuse)
ZENTRAVA_COMMAND(des_encrypt, ContactSlotCommands::desEncrypt)
ZENTRAVA_COMMAND(des_decrypt, ContactSlotCommands::desDecrypt)

#undef ZENTRAVA_COMMAND

#define ZENTRAVA_CHECK_COMMAND(ordinal, name, presence, params, args, buffers) \
    static_assert(readercommand::HasCommand<ReaderFunction::name>, #name " has no command in ReaderCommands.h");
#define ZENTRAVA_NO_COMMAND(ordinal, presence)
ZENTRAVA_READER_FUNCTIONS(ZENTRAVA_CHECK_COMMAND, ZENTRAVA_NO_COMMAND)
#undef ZENTRAVA_CHECK_COMMAND
#undef ZENTRAVA_NO_COMMAND

} // namespace zentrava
