#pragma once

// Which member of PcscReader carries out each function of the one list. A function without a
// line here answers NotSupported: a generic PC/SC reader cannot do it (raw frames, the beeper and
// lights, the clock, the memory cards of the contact slot, the vendor tags of other families).

#include "PcscReader.h"
#include "PcscStatus.h"

#include "reader/ReaderFunctions.h"

#include <type_traits>

template <ReaderFunction F>
struct PcscMapping {
    static constexpr std::nullptr_t member = nullptr;
};

#define PCSC_MAPS(function, member_)                                                               \
    template <>                                                                                    \
    struct PcscMapping<ReaderFunction::function> {                                                 \
        static constexpr auto member = &PcscReader::member_;                                       \
    };
PCSC_MAPS(lib_ver, libraryVersion)
PCSC_MAPS(rf_init_com, openPort)
PCSC_MAPS(rf_close_com, closePort)
PCSC_MAPS(rf_get_model, model)
PCSC_MAPS(rf_antenna_sta, antenna)
PCSC_MAPS(rf_init_type, initType)
PCSC_MAPS(rf_request, request)
PCSC_MAPS(rf_anticoll, anticollision)
PCSC_MAPS(rf_select, select)
PCSC_MAPS(rf_M1_authentication2, authenticate)
PCSC_MAPS(rf_M1_read, readBlock)
PCSC_MAPS(rf_M1_write, writeBlock)
PCSC_MAPS(rf_M1_initval, initValue)
PCSC_MAPS(rf_M1_readval, readValue)
PCSC_MAPS(rf_M1_decrement, decrement)
PCSC_MAPS(rf_M1_increment, increment)
PCSC_MAPS(rf_ul_select, ultralightSelect)
PCSC_MAPS(rf_ul_write, ultralightWrite)
PCSC_MAPS(rf_typea_rst, typeAReset)
PCSC_MAPS(rf_DESFire_rst, desfireReset)
PCSC_MAPS(rf_atqb, requestB)
PCSC_MAPS(rf_cos_command, cosCommand)
PCSC_MAPS(OpenCard, openContactCard)
PCSC_MAPS(smartcard_rst, contactReset)
PCSC_MAPS(smartcard_cos, contactCommand)
PCSC_MAPS(rf_init_sam, samInit)
PCSC_MAPS(rf_sam_rst, samReset)
PCSC_MAPS(rf_sam_cos, samCommand)
PCSC_MAPS(ISO15693_Inventorys, iso15693Inventory)
PCSC_MAPS(ISO15693_Read, iso15693Read)
PCSC_MAPS(ISO15693_Write, iso15693Write)
#undef PCSC_MAPS

namespace pcscmapping {
template <class Member, class Device, class... Rest>
int32_t withoutDevice(PcscReader &reader, Member member, Device, Rest... rest)
{
    return (reader.*member)(rest...);
}
} // namespace pcscmapping

// Calls function F of the list on `reader` with the list's own arguments.
template <ReaderFunction F, class... Args>
int32_t CallPcscReader(PcscReader &reader, Args... args)
{
    constexpr auto member = PcscMapping<F>::member;
    if constexpr (std::is_null_pointer_v<std::remove_const_t<decltype(member)>>) {
        ((void)args, ...);
        return pcscstatus::NotSupported;
    } else if constexpr (ReaderFunctionInfo<F>::addressesDevice) {
        return pcscmapping::withoutDevice(reader, member, args...);
    } else {
        return (reader.*member)(args...);
    }
}
