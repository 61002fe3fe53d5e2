// The entry points of libZentrava.so, exported as Zentrava_<ordinal> with C linkage. Each one
// hands its arguments to the simulated reader; nothing else is visible outside the library.

#include "Iso15693Commands.h"
#include "ReaderFunctionNames.h"
#include "SimulatedReader.h"
#include "StatusCode.h"

#include "ZentravaDeclarations.h"

#include <cstdint>
#include <mutex>
#include <source_location>


namespace {

using zentrava::ContactSlot;
using zentrava::SimulatedReader;
namespace status = zentrava::status;

// The one reader of the library and the lock around it. The program calls from one thread; the
// lock only keeps a careless second caller from corrupting the reader's state.
SimulatedReader &theReader()
{
    static SimulatedReader reader;
    return reader;
}

std::mutex &readerLock()
{
    static std::mutex lock;
    return lock;
}

// No exception may cross the C boundary. The entry point that calls is known from where the
// call stands (Zentrava_22), so that the operator's faults can name its function (rf_M1_read).
template <class Call>
int32_t withReader(Call call, const std::source_location caller = std::source_location::current()) noexcept
{
    try {
        const std::lock_guard<std::mutex> guard(readerLock());
        const auto function = zentrava::readerfunctions::nameOf(
            zentrava::readerfunctions::ordinalOfEntry(caller.function_name()));
        SimulatedReader &reader = theReader();
        return reader.run(function, [&] { return call(reader); });
    } catch (...) {
        return status::InternalError;
    }
}

} // namespace

// The reader itself.

ZENTRAVA_EXPORT int32_t Zentrava_1(uint32_t *version)
{
    return withReader([&](SimulatedReader &r) { return r.libraryVersion(version); });
}

ZENTRAVA_EXPORT int32_t Zentrava_4(int32_t port, int32_t baud)
{
    return withReader([&](SimulatedReader &r) { return r.openPort(port, baud); });
}

ZENTRAVA_EXPORT int32_t Zentrava_5(uint16_t deviceNumber)
{
    return withReader([&](SimulatedReader &r) { return r.setDeviceNumber(deviceNumber); });
}

ZENTRAVA_EXPORT int32_t Zentrava_6(uint8_t *deviceNumber)
{
    return withReader([&](SimulatedReader &r) { return r.getDeviceNumber(deviceNumber); });
}

ZENTRAVA_EXPORT int32_t Zentrava_7(uint16_t icdev, uint8_t *text, uint8_t *len)
{
    return withReader([&](SimulatedReader &r) { return r.model(icdev, text, len); });
}

ZENTRAVA_EXPORT int32_t Zentrava_9(uint16_t icdev, uint8_t tensOfMs)
{
    return withReader([&](SimulatedReader &r) { return r.beep(icdev, tensOfMs); });
}

ZENTRAVA_EXPORT int32_t Zentrava_13(uint16_t icdev, uint8_t type)
{
    return withReader([&](SimulatedReader &r) { return r.initType(icdev, type); });
}

ZENTRAVA_EXPORT int32_t Zentrava_14(uint16_t icdev, uint8_t on)
{
    return withReader([&](SimulatedReader &r) { return r.antenna(icdev, on); });
}

ZENTRAVA_EXPORT int32_t Zentrava_42(uint16_t icdev, uint8_t colour)
{
    return withReader([&](SimulatedReader &r) { return r.light(icdev, colour); });
}

ZENTRAVA_EXPORT int32_t Zentrava_45(void)
{
    return withReader([&](SimulatedReader &r) { return r.closePort(); });
}

ZENTRAVA_EXPORT int32_t Zentrava_381(uint16_t icdev, uint8_t *clock, uint8_t *len)
{
    return withReader([&](SimulatedReader &r) { return r.readTime(icdev, clock, len); });
}

ZENTRAVA_EXPORT int32_t Zentrava_382(uint16_t icdev, const uint8_t *clock)
{
    return withReader([&](SimulatedReader &r) { return r.writeTime(icdev, clock); });
}

// ISO 14443A: Mifare Standard, UltraLight, processor cards, DESFire, SHC1102.

ZENTRAVA_EXPORT int32_t Zentrava_15(uint16_t icdev, uint8_t mode, uint8_t *tagType)
{
    return withReader([&](SimulatedReader &r) { return r.request(icdev, mode, tagType); });
}

ZENTRAVA_EXPORT int32_t Zentrava_16(uint16_t icdev, uint8_t bitCount, uint8_t *serial, uint8_t *len)
{
    return withReader([&](SimulatedReader &r) { return r.anticollision(icdev, bitCount, serial, len); });
}

ZENTRAVA_EXPORT int32_t Zentrava_17(uint16_t icdev, const uint8_t *serial, uint8_t serialLen, uint8_t *size)
{
    return withReader([&](SimulatedReader &r) { return r.select(icdev, serial, serialLen, size); });
}

ZENTRAVA_EXPORT int32_t Zentrava_18(uint16_t icdev)
{
    return withReader([&](SimulatedReader &r) { return r.halt(icdev); });
}

ZENTRAVA_EXPORT int32_t Zentrava_21(uint16_t icdev, uint8_t mode, uint8_t block, const uint8_t *key)
{
    return withReader([&](SimulatedReader &r) { return r.mifareAuthenticate(icdev, mode, block, key); });
}

ZENTRAVA_EXPORT int32_t Zentrava_22(uint16_t icdev, uint8_t block, uint8_t *data, uint8_t *len)
{
    return withReader([&](SimulatedReader &r) { return r.mifareRead(icdev, block, data, len); });
}

ZENTRAVA_EXPORT int32_t Zentrava_23(uint16_t icdev, uint8_t block, const uint8_t *data)
{
    return withReader([&](SimulatedReader &r) { return r.mifareWrite(icdev, block, data); });
}

ZENTRAVA_EXPORT int32_t Zentrava_24(uint16_t icdev, uint8_t block, int32_t value)
{
    return withReader([&](SimulatedReader &r) { return r.mifareInitValue(icdev, block, value); });
}

ZENTRAVA_EXPORT int32_t Zentrava_25(uint16_t icdev, uint8_t block, int32_t *value)
{
    return withReader([&](SimulatedReader &r) { return r.mifareReadValue(icdev, block, value); });
}

ZENTRAVA_EXPORT int32_t Zentrava_26(uint16_t icdev, uint8_t block, int32_t amount)
{
    return withReader([&](SimulatedReader &r) { return r.mifareDecrement(icdev, block, amount); });
}

ZENTRAVA_EXPORT int32_t Zentrava_27(uint16_t icdev, uint8_t block, int32_t amount)
{
    return withReader([&](SimulatedReader &r) { return r.mifareIncrement(icdev, block, amount); });
}

ZENTRAVA_EXPORT int32_t Zentrava_30(uint16_t icdev, uint8_t mode, uint8_t *answer, uint8_t *len)
{
    return withReader([&](SimulatedReader &r) { return r.typeAReset(icdev, mode, answer, len); });
}

ZENTRAVA_EXPORT int32_t Zentrava_31(uint16_t icdev, const uint8_t *command, int32_t commandLen, uint8_t *answer,
                                    uint8_t *len)
{
    return withReader([&](SimulatedReader &r) { return r.cosCommand(icdev, command, commandLen, answer, len); });
}

ZENTRAVA_EXPORT int32_t Zentrava_43(uint16_t icdev)
{
    return withReader([&](SimulatedReader &r) { return r.contactlessDeselect(icdev); });
}

ZENTRAVA_EXPORT int32_t Zentrava_56(uint16_t icdev, uint8_t *serial, uint8_t *len)
{
    return withReader([&](SimulatedReader &r) { return r.ultralightSelect(icdev, serial, len); });
}

ZENTRAVA_EXPORT int32_t Zentrava_57(uint16_t icdev, uint8_t page, const uint8_t *data)
{
    return withReader([&](SimulatedReader &r) { return r.ultralightWrite(icdev, page, data); });
}

ZENTRAVA_EXPORT int32_t Zentrava_360(uint16_t icdev, const uint8_t *password)
{
    return withReader([&](SimulatedReader &r) { return r.shc1102Authenticate(icdev, password); });
}

ZENTRAVA_EXPORT int32_t Zentrava_361(uint16_t icdev, uint8_t block, uint8_t *data, uint8_t *len)
{
    return withReader([&](SimulatedReader &r) { return r.shc1102Read(icdev, block, data, len); });
}

ZENTRAVA_EXPORT int32_t Zentrava_362(uint16_t icdev, uint8_t block, const uint8_t *data)
{
    return withReader([&](SimulatedReader &r) { return r.shc1102Write(icdev, block, data); });
}

ZENTRAVA_EXPORT int32_t Zentrava_410(uint16_t icdev, uint8_t mode, uint8_t *answer, uint8_t *len)
{
    return withReader([&](SimulatedReader &r) { return r.desfireReset(icdev, mode, answer, len); });
}

// Request B (the AT88RF020 in its radio mode, the TRH1064 in type B), the AT88RF020, SR176 and SRIX4K.

ZENTRAVA_EXPORT int32_t Zentrava_32(uint16_t icdev, uint8_t mode, uint8_t *answer, uint8_t *len)
{
    return withReader([&](SimulatedReader &r) { return r.requestTypeB(icdev, mode, answer, len); });
}

ZENTRAVA_EXPORT int32_t Zentrava_36(uint16_t icdev, const uint8_t *password)
{
    return withReader([&](SimulatedReader &r) { return r.at88rf020Check(icdev, password); });
}

ZENTRAVA_EXPORT int32_t Zentrava_37(uint16_t icdev, uint8_t page, uint8_t *data, uint8_t *len)
{
    return withReader([&](SimulatedReader &r) { return r.at88rf020Read(icdev, page, data, len); });
}

ZENTRAVA_EXPORT int32_t Zentrava_38(uint16_t icdev, uint8_t page, const uint8_t *data)
{
    return withReader([&](SimulatedReader &r) { return r.at88rf020Write(icdev, page, data); });
}

ZENTRAVA_EXPORT int32_t Zentrava_39(uint16_t icdev, const uint8_t *lockBytes)
{
    return withReader([&](SimulatedReader &r) { return r.at88rf020Lock(icdev, lockBytes); });
}

ZENTRAVA_EXPORT int32_t Zentrava_40(uint16_t icdev, const uint8_t *signature)
{
    return withReader([&](SimulatedReader &r) { return r.at88rf020Count(icdev, signature); });
}

ZENTRAVA_EXPORT int32_t Zentrava_41(uint16_t icdev)
{
    return withReader([&](SimulatedReader &r) { return r.at88rf020Deselect(icdev); });
}

ZENTRAVA_EXPORT int32_t Zentrava_47(uint16_t icdev, uint8_t *chipId)
{
    return withReader([&](SimulatedReader &r) { return r.stSelect(icdev, chipId); });
}

ZENTRAVA_EXPORT int32_t Zentrava_49(uint16_t icdev, uint8_t block, uint8_t *data, uint8_t *len)
{
    return withReader([&](SimulatedReader &r) { return r.sr176Read(icdev, block, data, len); });
}

ZENTRAVA_EXPORT int32_t Zentrava_50(uint16_t icdev, uint8_t block, const uint8_t *data)
{
    return withReader([&](SimulatedReader &r) { return r.sr176Write(icdev, block, data); });
}

ZENTRAVA_EXPORT int32_t Zentrava_51(uint16_t icdev, uint8_t lockRegister)
{
    return withReader([&](SimulatedReader &r) { return r.sr176Protect(icdev, lockRegister); });
}

ZENTRAVA_EXPORT int32_t Zentrava_52(uint16_t icdev, uint8_t block, uint8_t *data, uint8_t *len)
{
    return withReader([&](SimulatedReader &r) { return r.srix4kRead(icdev, block, data, len); });
}

ZENTRAVA_EXPORT int32_t Zentrava_53(uint16_t icdev, uint8_t block, const uint8_t *data)
{
    return withReader([&](SimulatedReader &r) { return r.srix4kWrite(icdev, block, data); });
}

ZENTRAVA_EXPORT int32_t Zentrava_55(uint16_t icdev, uint8_t *uid, uint8_t *len)
{
    return withReader([&](SimulatedReader &r) { return r.srix4kUid(icdev, uid, len); });
}

ZENTRAVA_EXPORT int32_t Zentrava_58(uint16_t icdev, uint8_t lockRegister)
{
    return withReader([&](SimulatedReader &r) { return r.srix4kWriteLockRegister(icdev, lockRegister); });
}

// TRH1064
ZENTRAVA_EXPORT int32_t Zentrava_430(uint16_t icdev, uint8_t page, uint8_t *data, uint8_t *len)
{
    return withReader([&](SimulatedReader &r) { return r.trh1064Read(icdev, page, data, len); });
}

ZENTRAVA_EXPORT int32_t Zentrava_431(uint16_t icdev, uint8_t page, const uint8_t *data, uint8_t count)
{
    return withReader([&](SimulatedReader &r) { return r.trh1064Write(icdev, page, data, count); });
}

ZENTRAVA_EXPORT int32_t Zentrava_432(uint16_t icdev, const uint8_t *key)
{
    return withReader([&](SimulatedReader &r) { return r.trh1064Check(icdev, key); });
}

// ISO 15693 tags (I.CODE SLI, Tag-it, SRF55V).

using zentrava::Iso15693Commands;
using zentrava::RfField;
ZENTRAVA_EXPORT int32_t Zentrava_63(uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t firstBlock,
                                    uint8_t blockCount, uint8_t *data, uint8_t *len)
{
    return withReader([&](SimulatedReader &r) {
        return r.iso15693(icdev, [&](RfField &f) {
            return Iso15693Commands::read(f, mode, uid, firstBlock, blockCount, data, len);
        });
    });
}
ZENTRAVA_EXPORT int32_t Zentrava_64(uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t block, const uint8_t *data)
{
    return withReader([&](SimulatedReader &r) {
        return r.iso15693(icdev, [&](RfField &f) { return Iso15693Commands::write(f, mode, uid, block, data); });
    });
}
ZENTRAVA_EXPORT int32_t Zentrava_65(uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t block)
{
    return withReader([&](SimulatedReader &r) {
        return r.iso15693(icdev, [&](RfField &f) { return Iso15693Commands::lockBlock(f, mode, uid, block); });
    });
}
ZENTRAVA_EXPORT int32_t Zentrava_66(uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t afi)
{
    return withReader([&](SimulatedReader &r) {
        return r.iso15693(icdev, [&](RfField &f) { return Iso15693Commands::writeAfi(f, mode, uid, afi); });
    });
}
ZENTRAVA_EXPORT int32_t Zentrava_67(uint16_t icdev, uint8_t mode, const uint8_t *uid)
{
    return withReader([&](SimulatedReader &r) {
        return r.iso15693(icdev, [&](RfField &f) { return Iso15693Commands::lockAfi(f, mode, uid); });
    });
}
ZENTRAVA_EXPORT int32_t Zentrava_68(uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t dsfid)
{
    return withReader([&](SimulatedReader &r) {
        return r.iso15693(icdev, [&](RfField &f) { return Iso15693Commands::writeDsfid(f, mode, uid, dsfid); });
    });
}
ZENTRAVA_EXPORT int32_t Zentrava_69(uint16_t icdev, uint8_t mode, const uint8_t *uid)
{
    return withReader([&](SimulatedReader &r) {
        return r.iso15693(icdev, [&](RfField &f) { return Iso15693Commands::lockDsfid(f, mode, uid); });
    });
}
ZENTRAVA_EXPORT int32_t Zentrava_70(uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t *data, uint8_t *len)
{
    return withReader([&](SimulatedReader &r) {
        return r.iso15693(icdev, [&](RfField &f) { return Iso15693Commands::systemInformation(f, mode, uid, data, len); });
    });
}
ZENTRAVA_EXPORT int32_t Zentrava_71(uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t firstBlock,
                                    uint8_t blockCount, uint8_t *data, uint8_t *len)
{
    return withReader([&](SimulatedReader &r) {
        return r.iso15693(icdev, [&](RfField &f) {
            return Iso15693Commands::blockSecurity(f, mode, uid, firstBlock, blockCount, data, len);
        });
    });
}
ZENTRAVA_EXPORT int32_t Zentrava_400(uint16_t icdev, uint8_t *records, uint8_t *len)
{
    return withReader([&](SimulatedReader &r) {
        return r.iso15693(icdev, [&](RfField &f) { return Iso15693Commands::inventory(f, records, len); });
    });
}
ZENTRAVA_EXPORT int32_t Zentrava_401(uint16_t icdev, const uint8_t *uid, uint8_t page, uint8_t *data, uint8_t *len)
{
    return withReader([&](SimulatedReader &r) {
        return r.iso15693(icdev, [&](RfField &f) { return Iso15693Commands::srf55vRead(f, uid, page, data, len); });
    });
}
ZENTRAVA_EXPORT int32_t Zentrava_404(uint16_t icdev, const uint8_t *uid, uint8_t page, const uint8_t *data,
                                     uint8_t *readBack, uint8_t *len)
{
    return withReader([&](SimulatedReader &r) {
        return r.iso15693(icdev, [&](RfField &f) {
            return Iso15693Commands::srf55vWriteReread(f, uid, page, data, readBack, len);
        });
    });
}


ZENTRAVA_EXPORT int32_t Zentrava_421(uint16_t icdev, const uint8_t *data, int32_t count, uint8_t *answer, uint8_t *len)
{
    return withReader([&](SimulatedReader &r) { return r.transceive(icdev, data, count, answer, len); });
}

// Powers the card in the contact slot (a memory card), or finds the processor card there.
ZENTRAVA_EXPORT int32_t Zentrava_100(uint16_t icdev)
{
    return withReader([&](SimulatedReader &r) { return r.openContactCard(icdev); });
}

ZENTRAVA_EXPORT int32_t Zentrava_72(uint16_t icdev, uint8_t *answer, uint8_t *len)
{
    return withReader([&](SimulatedReader &r) { return r.contactReset(icdev, answer, len); });
}

ZENTRAVA_EXPORT int32_t Zentrava_73(uint16_t icdev, const uint8_t *command, int32_t commandLen, uint8_t *response,
                                    uint8_t *len)
{
    return withReader([&](SimulatedReader &r) { return r.contactCommand(icdev, command, commandLen, response, len); });
}

ZENTRAVA_EXPORT int32_t Zentrava_10(uint16_t icdev, uint8_t baudCode)
{
    return withReader([&](SimulatedReader &r) { return r.samInit(icdev, baudCode); });
}

ZENTRAVA_EXPORT int32_t Zentrava_11(uint16_t icdev, uint8_t *answer, uint8_t *len)
{
    return withReader([&](SimulatedReader &r) { return r.samReset(icdev, answer, len); });
}

ZENTRAVA_EXPORT int32_t Zentrava_12(uint16_t icdev, const uint8_t *command, int32_t commandLen, uint8_t *response,
                                    uint8_t *len)
{
    return withReader([&](SimulatedReader &r) { return r.samCommand(icdev, command, commandLen, response, len); });
}

ZENTRAVA_EXPORT int32_t Zentrava_2(uint8_t *result, const uint8_t *data, int32_t dataLen, const uint8_t *key,
                                   int32_t keyLen)
{
    return withReader([&](SimulatedReader &) { return SimulatedReader::desCipher(true, result, data, dataLen, key, keyLen); });
}

ZENTRAVA_EXPORT int32_t Zentrava_3(uint8_t *result, const uint8_t *data, int32_t dataLen, const uint8_t *key,
                                   int32_t keyLen)
{
    return withReader([&](SimulatedReader &) { return SimulatedReader::desCipher(false, result, data, dataLen, key, keyLen); });
}

// AT24Cxx and AT88SC1608 in the contact slot
#define ZENTRAVA_CONTACT(call) \
    return withReader([&](SimulatedReader &r) { return r.contact(icdev, [&](ContactSlot &slot) { return slot.call; }); })
ZENTRAVA_EXPORT int32_t Zentrava_74(uint16_t icdev, int32_t address, int32_t count, uint8_t *data)
{
    ZENTRAVA_CONTACT(at24Read(address, count, data));
}
ZENTRAVA_EXPORT int32_t Zentrava_75(uint16_t icdev, int32_t address, int32_t count, const uint8_t *data)
{
    ZENTRAVA_CONTACT(at24Write(address, count, data));
}
ZENTRAVA_EXPORT int32_t Zentrava_76(uint16_t icdev, uint8_t *answer) { ZENTRAVA_CONTACT(at1608Reset(answer)); }
ZENTRAVA_EXPORT int32_t Zentrava_77(uint16_t icdev, const uint8_t *q0AndResponse, const uint8_t *response)
{
    ZENTRAVA_CONTACT(at1608Authenticate(q0AndResponse, response));
}
ZENTRAVA_EXPORT int32_t Zentrava_78(uint16_t icdev, uint8_t index, const uint8_t *password)
{
    ZENTRAVA_CONTACT(at1608VerifyPassword(index, password));
}
ZENTRAVA_EXPORT int32_t Zentrava_79(uint16_t icdev, uint8_t address, int32_t count, int32_t zone, uint8_t *data)
{
    ZENTRAVA_CONTACT(at1608Read(address, count, zone, data));
}
ZENTRAVA_EXPORT int32_t Zentrava_80(uint16_t icdev, uint8_t address, int32_t zone, const uint8_t *data, int32_t count)
{
    ZENTRAVA_CONTACT(at1608Write(address, zone, data, count));
}
ZENTRAVA_EXPORT int32_t Zentrava_81(uint16_t icdev, uint8_t *fuse) { ZENTRAVA_CONTACT(at1608ReadFuse(fuse)); }
ZENTRAVA_EXPORT int32_t Zentrava_82(uint16_t icdev) { ZENTRAVA_CONTACT(at1608BlowFuse()); }
#undef ZENTRAVA_CONTACT
// Pass-through to type B and ISO 15693 tags

// DES for the SAM console's tool: not offered by this reader yet.

// Ordinals the program binds but never calls: they exist and refuse.
#define ZENTRAVA_DEFINE_PLACEHOLDER(n, presence) \
    ZENTRAVA_EXPORT int32_t ZENTRAVA_CALL Zentrava_##n(void) { return status::NotSupported; }
#define ZENTRAVA_SKIP_FUNCTION(ordinal, name, presence, params, args, buffers)
ZENTRAVA_READER_FUNCTIONS(ZENTRAVA_SKIP_FUNCTION, ZENTRAVA_DEFINE_PLACEHOLDER)
#undef ZENTRAVA_DEFINE_PLACEHOLDER

// Every function of the list is defined above: taking each address turns a missing one into a
// link error (the library is linked with --no-undefined).
#define ZENTRAVA_ADDRESS_OF(ordinal, name, presence, params, args, buffers) reinterpret_cast<const void *>(&Zentrava_##ordinal),
[[maybe_unused]] __attribute__((used)) static const void *const EveryFunction[] = {
    ZENTRAVA_READER_FUNCTIONS(ZENTRAVA_ADDRESS_OF, ZENTRAVA_SKIP_PLACEHOLDER)
};
