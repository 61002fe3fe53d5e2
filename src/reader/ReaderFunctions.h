#pragma once

// The one list of the reader library's functions, in the order the program looks them up, and
// everything the program, the reader libraries built here and the tests know of each: ordinal,
// log name, presence, C parameters, their names, and the byte buffers among them. The program's
// table of entry points and its binder, the exported symbols of every reader library, the call
// trace and the recording fake of the tests are all generated from it. Adding a function is one
// line here plus its implementations.
//
// X(ordinal, name, presence, (parameters), (parameter names), (buffers)): a function the
//   program calls, named as the log shows it; every function returns an int32_t status, 0 for
//   success.
// P(ordinal, presence): an ordinal that is bound but never called; its signature is unknown,
//   so an implementation exports it as int32_t(void).
// presence: Required (start-up refuses a library without it) or Optional.
// buffers: one rule per byte pointer (uint8_t *, const uint8_t *), in parameter order, saying
//   how many bytes it holds:
//     Fixed(n)            n bytes
//     Count(p[, limit])   as many as parameter p says (at most `limit`)
//     Answered(p[, limit]) an answer buffer: as many as the one-byte length p holds after the
//                         call (the program's answer buffers hold AnswerBufferBytes; at most
//                         `limit` where the contract fixes a smaller buffer)
//     Length              the pointer is itself the one-byte length of an answer
//   A rule that does not fit its parameter's type, or a byte pointer without a rule, does not
//   compile (see the checks at the end of this file).
//
// Only standard C++ appears, so that every reader library can include this file without Qt.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

// Entry points of the reader library use the platform's exported-function convention.
#ifdef _WIN32
#define ZENTRAVA_CALL __stdcall
#else
#define ZENTRAVA_CALL
#endif

// clang-format off
#define ZENTRAVA_READER_FUNCTIONS(X, P) \
    X(1, lib_ver, Required, (uint32_t *version), (version), ()) \
    X(2, des_encrypt, Required, (uint8_t *result, const uint8_t *data, int32_t dataLen, const uint8_t *key, int32_t keyLen), (result, data, dataLen, key, keyLen), (Count(dataLen, 256), Count(dataLen), Count(keyLen))) \
    X(3, des_decrypt, Required, (uint8_t *result, const uint8_t *data, int32_t dataLen, const uint8_t *key, int32_t keyLen), (result, data, dataLen, key, keyLen), (Count(dataLen, 256), Count(dataLen), Count(keyLen))) \
    X(4, rf_init_com, Required, (int32_t port, int32_t baud), (port, baud), ()) \
    X(5, rf_init_device_number, Required, (uint16_t deviceNumber), (deviceNumber), ()) \
    X(6, rf_get_device_number, Required, (uint8_t *deviceNumber), (deviceNumber), (Fixed(2))) \
    X(7, rf_get_model, Required, (uint16_t icdev, uint8_t *text, uint8_t *len), (icdev, text, len), (Answered(len), Length)) \
    P(8, Optional) \
    X(9, rf_beep, Required, (uint16_t icdev, uint8_t tensOfMs), (icdev, tensOfMs), ()) \
    X(10, rf_init_sam, Required, (uint16_t icdev, uint8_t baudCode), (icdev, baudCode), ()) \
    X(11, rf_sam_rst, Required, (uint16_t icdev, uint8_t *answer, uint8_t *len), (icdev, answer, len), (Answered(len), Length)) \
    X(12, rf_sam_cos, Required, (uint16_t icdev, const uint8_t *command, int32_t commandLen, uint8_t *response, uint8_t *len), (icdev, command, commandLen, response, len), (Count(commandLen), Answered(len), Length)) \
    X(13, rf_init_type, Required, (uint16_t icdev, uint8_t type), (icdev, type), ()) \
    X(14, rf_antenna_sta, Required, (uint16_t icdev, uint8_t on), (icdev, on), ()) \
    X(15, rf_request, Required, (uint16_t icdev, uint8_t mode, uint8_t *tagType), (icdev, mode, tagType), (Fixed(2))) \
    X(16, rf_anticoll, Required, (uint16_t icdev, uint8_t bitCount, uint8_t *serial, uint8_t *len), (icdev, bitCount, serial, len), (Answered(len), Length)) \
    X(17, rf_select, Required, (uint16_t icdev, const uint8_t *serial, uint8_t serialLen, uint8_t *size), (icdev, serial, serialLen, size), (Count(serialLen), Fixed(1))) \
    X(18, rf_halt, Required, (uint16_t icdev), (icdev), ()) \
    P(19, Required) \
    P(20, Required) \
    X(21, rf_M1_authentication2, Required, (uint16_t icdev, uint8_t mode, uint8_t block, const uint8_t *key), (icdev, mode, block, key), (Fixed(6))) \
    X(22, rf_M1_read, Required, (uint16_t icdev, uint8_t block, uint8_t *data, uint8_t *len), (icdev, block, data, len), (Answered(len), Length)) \
    X(23, rf_M1_write, Required, (uint16_t icdev, uint8_t block, const uint8_t *data), (icdev, block, data), (Fixed(16))) \
    X(24, rf_M1_initval, Required, (uint16_t icdev, uint8_t block, int32_t value), (icdev, block, value), ()) \
    X(25, rf_M1_readval, Required, (uint16_t icdev, uint8_t block, int32_t *value), (icdev, block, value), ()) \
    X(26, rf_M1_decrement, Required, (uint16_t icdev, uint8_t block, int32_t amount), (icdev, block, amount), ()) \
    X(27, rf_M1_increment, Required, (uint16_t icdev, uint8_t block, int32_t amount), (icdev, block, amount), ()) \
    P(28, Required) \
    P(29, Required) \
    X(30, rf_typea_rst, Required, (uint16_t icdev, uint8_t mode, uint8_t *answer, uint8_t *len), (icdev, mode, answer, len), (Answered(len), Length)) \
    X(31, rf_cos_command, Required, (uint16_t icdev, const uint8_t *command, int32_t commandLen, uint8_t *answer, uint8_t *len), (icdev, command, commandLen, answer, len), (Count(commandLen), Answered(len), Length)) \
    X(32, rf_atqb, Required, (uint16_t icdev, uint8_t mode, uint8_t *answer, uint8_t *len), (icdev, mode, answer, len), (Answered(len), Length)) \
    P(33, Required) \
    P(34, Required) \
    P(35, Required) \
    X(36, rf_at020_check, Required, (uint16_t icdev, const uint8_t *password), (icdev, password), (Fixed(8))) \
    X(37, rf_at020_read, Required, (uint16_t icdev, uint8_t page, uint8_t *data, uint8_t *len), (icdev, page, data, len), (Answered(len), Length)) \
    X(38, rf_at020_write, Required, (uint16_t icdev, uint8_t page, const uint8_t *data), (icdev, page, data), (Fixed(8))) \
    X(39, rf_at020_lock, Required, (uint16_t icdev, const uint8_t *lockBytes), (icdev, lockBytes), (Fixed(4))) \
    X(40, rf_at020_count, Required, (uint16_t icdev, const uint8_t *signature), (icdev, signature), (Fixed(6))) \
    X(41, rf_at020_deselect, Required, (uint16_t icdev), (icdev), ()) \
    X(42, rf_light, Required, (uint16_t icdev, uint8_t colour), (icdev, colour), ()) \
    X(43, rf_cl_deselect, Required, (uint16_t icdev), (icdev), ()) \
    P(44, Required) \
    X(45, rf_close_com, Required, (), (), ()) \
    P(46, Required) \
    X(47, rf_st_select, Required, (uint16_t icdev, uint8_t *chipId), (icdev, chipId), (Fixed(1))) \
    P(48, Required) \
    X(49, rf_sr176_readblock, Required, (uint16_t icdev, uint8_t block, uint8_t *data, uint8_t *len), (icdev, block, data, len), (Answered(len), Length)) \
    X(50, rf_sr176_writeblock, Required, (uint16_t icdev, uint8_t block, const uint8_t *data), (icdev, block, data), (Fixed(2))) \
    X(51, rf_sr176_protectblock, Required, (uint16_t icdev, uint8_t lockRegister), (icdev, lockRegister), ()) \
    X(52, rf_srix4k_readblock, Required, (uint16_t icdev, uint8_t block, uint8_t *data, uint8_t *len), (icdev, block, data, len), (Answered(len), Length)) \
    X(53, rf_srix4k_writeblock, Required, (uint16_t icdev, uint8_t block, const uint8_t *data), (icdev, block, data), (Fixed(4))) \
    P(54, Required) \
    X(55, rf_srix4k_getuid, Required, (uint16_t icdev, uint8_t *uid, uint8_t *len), (icdev, uid, len), (Answered(len), Length)) \
    X(56, rf_ul_select, Required, (uint16_t icdev, uint8_t *serial, uint8_t *len), (icdev, serial, len), (Answered(len), Length)) \
    X(57, rf_ul_write, Required, (uint16_t icdev, uint8_t page, const uint8_t *data), (icdev, page, data), (Fixed(4))) \
    X(58, rf_srix4k_writelockreg, Required, (uint16_t icdev, uint8_t lockRegister), (icdev, lockRegister), ()) \
    P(59, Required) \
    P(60, Required) \
    P(61, Required) \
    P(62, Required) \
    X(63, ISO15693_Read, Required, (uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t firstBlock, uint8_t blockCount, uint8_t *data, uint8_t *len), (icdev, mode, uid, firstBlock, blockCount, data, len), (Fixed(8), Answered(len), Length)) \
    X(64, ISO15693_Write, Required, (uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t block, const uint8_t *data), (icdev, mode, uid, block, data), (Fixed(8), Fixed(4))) \
    X(65, ISO15693_Lock_Block, Required, (uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t block), (icdev, mode, uid, block), (Fixed(8))) \
    X(66, ISO15693_Write_AFI, Required, (uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t afi), (icdev, mode, uid, afi), (Fixed(8))) \
    X(67, ISO15693_Lock_AFI, Required, (uint16_t icdev, uint8_t mode, const uint8_t *uid), (icdev, mode, uid), (Fixed(8))) \
    X(68, ISO15693_Write_DSFID, Required, (uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t dsfid), (icdev, mode, uid, dsfid), (Fixed(8))) \
    X(69, ISO15693_Lock_DSFID, Required, (uint16_t icdev, uint8_t mode, const uint8_t *uid), (icdev, mode, uid), (Fixed(8))) \
    X(70, ISO15693_Get_System_Information, Required, (uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t *data, uint8_t *len), (icdev, mode, uid, data, len), (Fixed(8), Answered(len), Length)) \
    X(71, ISO15693_Get_Block_Security, Required, (uint16_t icdev, uint8_t mode, const uint8_t *uid, uint8_t firstBlock, uint8_t blockCount, uint8_t *data, uint8_t *len), (icdev, mode, uid, firstBlock, blockCount, data, len), (Fixed(8), Answered(len), Length)) \
    X(72, smartcard_rst, Required, (uint16_t icdev, uint8_t *answer, uint8_t *len), (icdev, answer, len), (Answered(len), Length)) \
    X(73, smartcard_cos, Required, (uint16_t icdev, const uint8_t *command, int32_t commandLen, uint8_t *response, uint8_t *len), (icdev, command, commandLen, response, len), (Count(commandLen), Answered(len), Length)) \
    X(74, AT24_read, Required, (uint16_t icdev, int32_t address, int32_t count, uint8_t *data), (icdev, address, count, data), (Count(count))) \
    X(75, AT24_write, Required, (uint16_t icdev, int32_t address, int32_t count, const uint8_t *data), (icdev, address, count, data), (Count(count))) \
    X(76, AT1608_Rst, Required, (uint16_t icdev, uint8_t *answer), (icdev, answer), (Fixed(4))) \
    X(77, AT1608_Authenticate, Required, (uint16_t icdev, const uint8_t *q0AndResponse, const uint8_t *response), (icdev, q0AndResponse, response), (Fixed(16), Fixed(8))) \
    X(78, AT1608_VerifyPassword, Required, (uint16_t icdev, uint8_t index, const uint8_t *password), (icdev, index, password), (Fixed(3))) \
    X(79, AT1608_Read, Required, (uint16_t icdev, uint8_t address, int32_t count, int32_t zone, uint8_t *data), (icdev, address, count, zone, data), (Count(count))) \
    X(80, AT1608_Write, Required, (uint16_t icdev, uint8_t address, int32_t zone, const uint8_t *data, int32_t count), (icdev, address, zone, data, count), (Count(count))) \
    X(81, AT1608_ReadFuse1, Required, (uint16_t icdev, uint8_t *fuse), (icdev, fuse), (Fixed(1))) \
    X(82, AT1608_WriteFuse1, Required, (uint16_t icdev), (icdev), ()) \
    X(100, OpenCard, Required, (uint16_t icdev), (icdev), ()) \
    P(101, Required) \
    X(360, rf_Shc1102_Auth, Required, (uint16_t icdev, const uint8_t *password), (icdev, password), (Fixed(4))) \
    X(361, rf_Shc1102_Read, Required, (uint16_t icdev, uint8_t block, uint8_t *data, uint8_t *len), (icdev, block, data, len), (Answered(len), Length)) \
    X(362, rf_Shc1102_Write, Required, (uint16_t icdev, uint8_t block, const uint8_t *data), (icdev, block, data), (Fixed(4))) \
    X(381, ReadTime, Required, (uint16_t icdev, uint8_t *clock, uint8_t *len), (icdev, clock, len), (Answered(len, 7), Length)) \
    X(382, WriteTime, Required, (uint16_t icdev, const uint8_t *clock), (icdev, clock), (Fixed(7))) \
    P(380, Optional) \
    P(383, Optional) \
    X(400, ISO15693_Inventorys, Required, (uint16_t icdev, uint8_t *records, uint8_t *len), (icdev, records, len), (Answered(len), Length)) \
    X(401, Srf55vp_Read, Required, (uint16_t icdev, const uint8_t *uid, uint8_t page, uint8_t *data, uint8_t *len), (icdev, uid, page, data, len), (Fixed(8), Answered(len), Length)) \
    P(402, Required) \
    P(403, Required) \
    X(404, Srf55vp_Write_Reread, Required, (uint16_t icdev, const uint8_t *uid, uint8_t page, const uint8_t *data, uint8_t *readBack, uint8_t *len), (icdev, uid, page, data, readBack, len), (Fixed(8), Fixed(8), Answered(len, 8), Length)) \
    X(410, rf_DESFire_rst, Optional, (uint16_t icdev, uint8_t mode, uint8_t *answer, uint8_t *len), (icdev, mode, answer, len), (Answered(len), Length)) \
    P(420, Required) \
    X(421, rf_transceive1, Optional, (uint16_t icdev, const uint8_t *data, int32_t count, uint8_t *answer, uint8_t *len), (icdev, data, count, answer, len), (Count(count), Answered(len), Length)) \
    P(422, Optional) \
    X(430, rf_thr1064_read, Required, (uint16_t icdev, uint8_t page, uint8_t *data, uint8_t *len), (icdev, page, data, len), (Answered(len), Length)) \
    X(431, rf_thr1064_write, Required, (uint16_t icdev, uint8_t page, const uint8_t *data, uint8_t count), (icdev, page, data, count), (Count(count))) \
    X(432, rf_thr1064_check, Required, (uint16_t icdev, const uint8_t *key), (icdev, key), (Fixed(8)))
// clang-format on

#define ZENTRAVA_UNPAREN(...) __VA_ARGS__

// The answer buffers the program passes hold this many bytes unless a rule says otherwise; a
// one-byte length can fill at most 255 of them.
inline constexpr int AnswerBufferBytes = 1024;
using AnswerBuffer = std::array<uint8_t, AnswerBufferBytes>;

enum class ReaderPresence { Required, Optional };

// How many bytes one byte pointer of a function holds.
struct ReaderBuffer {
    enum class Size {
        Fixed,          // `value` bytes
        CountParameter, // as many bytes as parameter `value` says
        AnsweredLength, // as many as the one-byte length parameter `value` holds after the call
        IsLength,       // the pointer is itself a one-byte length
    };
    Size size;
    int value;
    int limit = -1; // the buffer's size where the contract fixes it below the usual answer buffer
};

// The words of the buffers column, in scope where each function's rules are written.
struct ReaderBufferWords {
    static constexpr ReaderBuffer Fixed(int bytes) { return {ReaderBuffer::Size::Fixed, bytes}; }
    static constexpr ReaderBuffer Count(int parameter, int limit = -1)
    {
        return {ReaderBuffer::Size::CountParameter, parameter, limit};
    }
    static constexpr ReaderBuffer Answered(int lengthParameter, int limit = -1)
    {
        return {ReaderBuffer::Size::AnsweredLength, lengthParameter, limit};
    }
    static constexpr ReaderBuffer Length{ReaderBuffer::Size::IsLength, 0};
    template <class... Rules>
    static constexpr std::array<ReaderBuffer, sizeof...(Rules)> rules(Rules... each)
    {
        return {each...};
    }
};

// The functions the program calls, by their log names.
enum class ReaderFunction {
#define ZENTRAVA_ENUM_ENTRY(ordinal, name, presence, params, args, buffers) name,
#define ZENTRAVA_ENUM_PLACEHOLDER(ordinal, presence)
    ZENTRAVA_READER_FUNCTIONS(ZENTRAVA_ENUM_ENTRY, ZENTRAVA_ENUM_PLACEHOLDER)
#undef ZENTRAVA_ENUM_ENTRY
#undef ZENTRAVA_ENUM_PLACEHOLDER
};

// What the list says of one called function, at compile time.
template <ReaderFunction F>
struct ReaderFunctionInfo;

namespace readerlist {
// The device index comes first in every function that addresses a reader on the line.
constexpr bool startsWithDevice(std::string_view names) { return names.substr(0, 6) == "(icdev"; }
} // namespace readerlist

#define ZENTRAVA_INFO_ENTRY(ordinal_, name_, presence_, params, args, buffers_)                   \
    template <>                                                                                \
    struct ReaderFunctionInfo<ReaderFunction::name_> {                                         \
        static constexpr int ordinal = ordinal_;                                               \
        static constexpr const char *name = #name_;                                            \
        static constexpr ReaderPresence presence = ReaderPresence::presence_;                  \
        using Signature = int32_t params;                                                      \
        using Pointer = int32_t(ZENTRAVA_CALL *) params;                                       \
        static constexpr bool addressesDevice = readerlist::startsWithDevice(#args);           \
        struct Parameters : ReaderBufferWords {                                                \
            enum : int { Before_ = -1, ZENTRAVA_UNPAREN args };                                            \
            static constexpr auto buffers = rules(ZENTRAVA_UNPAREN buffers_);                  \
        };                                                                                     \
        static constexpr auto buffers = Parameters::buffers;                                   \
    };
#define ZENTRAVA_INFO_PLACEHOLDER(ordinal, presence)
ZENTRAVA_READER_FUNCTIONS(ZENTRAVA_INFO_ENTRY, ZENTRAVA_INFO_PLACEHOLDER)
#undef ZENTRAVA_INFO_ENTRY
#undef ZENTRAVA_INFO_PLACEHOLDER

// Every ordinal of the list, called or not, in the order the program looks them up.
struct ReaderOrdinal {
    int ordinal;
    const char *name; // empty for an ordinal that is never called
    ReaderPresence presence;
};

inline constexpr ReaderOrdinal ReaderOrdinals[] = {
#define ZENTRAVA_ORDINAL_ENTRY(ordinal, name, presence, params, args, buffers) {ordinal, #name, ReaderPresence::presence},
#define ZENTRAVA_ORDINAL_PLACEHOLDER(ordinal, presence) {ordinal, "", ReaderPresence::presence},
    ZENTRAVA_READER_FUNCTIONS(ZENTRAVA_ORDINAL_ENTRY, ZENTRAVA_ORDINAL_PLACEHOLDER)
#undef ZENTRAVA_ORDINAL_ENTRY
#undef ZENTRAVA_ORDINAL_PLACEHOLDER
};

// How many ordinals the program binds.
inline constexpr int ReaderOrdinalCount = int(std::size(ReaderOrdinals));

// The log name of the function at an ordinal; empty for an ordinal that is never called or not
// in the list.
constexpr std::string_view ReaderFunctionName(int ordinal)
{
    for (const ReaderOrdinal &entry : ReaderOrdinals)
        if (entry.ordinal == ordinal)
            return entry.name;
    return {};
}

// The checks that keep the list whole: every ordinal once, and every function's buffer rules
// fitting its parameters.
namespace readerlist {

enum class ParameterKind { Integer, Bytes, ConstBytes, OtherPointer };

template <class T>
constexpr ParameterKind kindOf()
{
    if constexpr (std::is_integral_v<T>)
        return ParameterKind::Integer;
    else if constexpr (std::is_same_v<T, uint8_t *>)
        return ParameterKind::Bytes;
    else if constexpr (std::is_same_v<T, const uint8_t *>)
        return ParameterKind::ConstBytes;
    else
        return ParameterKind::OtherPointer;
}

template <class Signature>
struct ParameterKinds;
template <class... Params>
struct ParameterKinds<int32_t(Params...)> {
    static constexpr std::array<ParameterKind, sizeof...(Params)> kinds{kindOf<Params>()...};
};

template <std::size_t Parameters, std::size_t Rules>
constexpr bool buffersFit(const std::array<ParameterKind, Parameters> &kinds, const std::array<ReaderBuffer, Rules> &rules)
{
    // The rule of each byte pointer, by parameter; -1 for the others.
    int ruleOf[Parameters + 1] = {};
    std::size_t next = 0;
    for (std::size_t i = 0; i < Parameters; ++i) {
        ruleOf[i] = -1;
        if (kinds[i] == ParameterKind::Bytes || kinds[i] == ParameterKind::ConstBytes) {
            if (next == Rules)
                return false; // a byte pointer without a rule
            ruleOf[i] = int(next++);
        }
    }
    if (next != Rules)
        return false; // a rule without a byte pointer
    for (std::size_t i = 0; i < Parameters; ++i) {
        if (ruleOf[i] < 0)
            continue;
        const ReaderBuffer &rule = rules[std::size_t(ruleOf[i])];
        const auto refers = [&](ParameterKind kind) {
            return rule.value >= 0 && std::size_t(rule.value) < Parameters && kinds[std::size_t(rule.value)] == kind;
        };
        switch (rule.size) {
        case ReaderBuffer::Size::Fixed:
            if (rule.value <= 0)
                return false;
            break;
        case ReaderBuffer::Size::CountParameter:
            if (!refers(ParameterKind::Integer))
                return false;
            break;
        case ReaderBuffer::Size::AnsweredLength:
            if (kinds[i] != ParameterKind::Bytes || !refers(ParameterKind::Bytes)
                || rules[std::size_t(ruleOf[rule.value])].size != ReaderBuffer::Size::IsLength)
                return false;
            break;
        case ReaderBuffer::Size::IsLength:
            if (kinds[i] != ParameterKind::Bytes)
                return false;
            break;
        }
    }
    return true;
}

constexpr bool ordinalsUnique()
{
    for (std::size_t i = 0; i < std::size(ReaderOrdinals); ++i)
        for (std::size_t j = i + 1; j < std::size(ReaderOrdinals); ++j)
            if (ReaderOrdinals[i].ordinal == ReaderOrdinals[j].ordinal)
                return false;
    return true;
}

#define ZENTRAVA_CHECK_ENTRY(ordinal, name, presence, params, args, buffers_)                         \
    static_assert(buffersFit(ParameterKinds<ReaderFunctionInfo<ReaderFunction::name>::Signature>::kinds, \
                             ReaderFunctionInfo<ReaderFunction::name>::buffers),                      \
                  "the buffer rules of " #name " do not fit its parameters");
#define ZENTRAVA_CHECK_PLACEHOLDER(ordinal, presence)
ZENTRAVA_READER_FUNCTIONS(ZENTRAVA_CHECK_ENTRY, ZENTRAVA_CHECK_PLACEHOLDER)
#undef ZENTRAVA_CHECK_ENTRY
#undef ZENTRAVA_CHECK_PLACEHOLDER
static_assert(ordinalsUnique(), "an ordinal appears twice in the list of reader functions");

} // namespace readerlist
