#pragma once

// The class-FF commands of a PC/SC contactless reader and the reading of every answer that comes
// back from the reader: response APDUs, ATRs, and the reader's answers that the program's
// functions rebuild from them (the activation answer of type A, the answer to request B, the
// value-block layout). Nothing here talks to PC/SC, so that the fuzz target feeds it alone.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pcsc {

using Bytes = std::vector<uint8_t>;

// The largest answer a one-byte length can give back to the program.
inline constexpr std::size_t MaxAnswerBytes = 255;

// A response APDU taken apart.
struct Response {
    std::span<const uint8_t> data;
    uint16_t statusWord;
};
// Null when the answer is shorter than the two bytes of a status word.
std::optional<Response> SplitResponse(std::span<const uint8_t> answer);

// The status of a class-FF command's answer: 0 for 90 00, the status word for any other, and
// NoStatusWord when the answer has none (or 00 00). On 0 `data` holds the bytes before the status word.
int32_t ClassFfOutcome(std::span<const uint8_t> answer, std::span<const uint8_t> *data = nullptr);
// The status of an APDU's answer passed whole to the program (the card's status word is the
// card's business): 0, NoStatusWord, or AnswerTooLong beyond MaxAnswerBytes.
int32_t ApduOutcome(std::span<const uint8_t> answer);

// The class-FF pseudo-APDUs, built here for the reader side; the simulator's card server reads
// them with the same bytes.
inline constexpr uint8_t ClassFf = 0xFF;
namespace instruction {
inline constexpr uint8_t GetData = 0xCA; // P1 00 the UID, 01 the historical bytes
inline constexpr uint8_t LoadKeys = 0x82;
inline constexpr uint8_t GeneralAuthenticate = 0x86;
inline constexpr uint8_t ReadBinary = 0xB0;
inline constexpr uint8_t UpdateBinary = 0xD6;
inline constexpr uint8_t Envelope = 0xC2; // P2 03: the value command
} // namespace instruction

// The status words of the class-FF commands.
namespace statusword {
inline constexpr uint16_t Success = 0x9000;
inline constexpr uint16_t AuthenticationFailed = 0x6300;
inline constexpr uint16_t ExecutionError = 0x6400;
inline constexpr uint16_t WrongLength = 0x6700;
inline constexpr uint16_t IncompatibleWithFile = 0x6981;
inline constexpr uint16_t SecurityNotSatisfied = 0x6982;
inline constexpr uint16_t NotAllowed = 0x6986;
inline constexpr uint16_t WrongData = 0x6A80;
inline constexpr uint16_t FunctionNotSupported = 0x6A81;
inline constexpr uint16_t WrongParameters = 0x6B00;
inline constexpr uint16_t ClassNotSupported = 0x6E00;
} // namespace statusword

namespace command {
Bytes GetUid();
Bytes LoadKey(uint8_t keySlot, std::span<const uint8_t, 6> key);
// keyType 0x60 key A, 0x61 key B.
Bytes Authenticate(uint8_t block, uint8_t keyType, uint8_t keySlot);
Bytes ReadBinary(uint8_t block, uint8_t length);
Bytes UpdateBinary(uint8_t block, std::span<const uint8_t> data);
enum class ValueOperation : uint8_t { Increment = 0xA0, Decrement = 0xA1 };
// The reader's own value operation: increment or decrement a value block and transfer the result
// into the same block, in one command (FF C2 00 03, one data object of the operation holding the
// block number (tag 80) and the amount least significant byte first (tag 81)).
Bytes ChangeValue(ValueOperation operation, uint8_t block, int32_t amount);
struct ValueChange {
    ValueOperation operation;
    uint8_t block;
    int32_t amount;
};
// The value command as ChangeValue builds it, taken apart; null for any other bytes.
std::optional<ValueChange> ParseChangeValue(std::span<const uint8_t> apdu);
} // namespace command

// Whether a status word says that the reader does not know the command at all.
bool MeansCommandUnknown(uint16_t statusWord);

// What an ATR says about the card.
struct AtrFacts {
    enum class Kind { StorageCard, ProcessorCard };
    Kind kind = Kind::ProcessorCard;
    Bytes historical;         // the historical bytes
    uint8_t standard = 0;     // storage card: 03 ISO 14443 A part 3, 0B ISO 15693 part 3, ...
    uint16_t cardName = 0;    // storage card: 0001 Mifare 1K, 0002 Mifare 4K, 0003 UltraLight, ...
};
// Null for bytes that are no well-formed ATR (too short for the interface and historical bytes
// that its format bytes announce, or longer than 33 bytes).
std::optional<AtrFacts> ParseAtr(std::span<const uint8_t> atr);

inline constexpr uint8_t StandardIso14443A = 0x03;
inline constexpr uint8_t StandardIso15693 = 0x0B;
inline constexpr uint16_t CardMifare1k = 0x0001;
inline constexpr uint16_t CardMifare4k = 0x0002;
inline constexpr uint16_t CardUltralight = 0x0003;
inline constexpr uint16_t CardMifareMini = 0x0026;

// The ATR a PC/SC reader builds for a contactless card from its historical bytes (at most 15):
// 3B 8n 80 01, the bytes, the check byte.
Bytes ContactlessAtr(std::span<const uint8_t> historical);
// A storage card's: the historical bytes 80 4F 0C, the PC/SC registered identifier, the standard,
// the card name and four bytes 00.
Bytes StorageCardAtr(uint8_t standard, uint16_t cardName);

// The answer to request (ATQA, least significant byte first) and the select acknowledge of a
// type A card, as the card name of its ATR implies; a processor card answers SAK 20 and an ATQA
// of 00 00, which the ATR does not carry.
struct TypeAIdentity {
    uint8_t atqa[2];
    uint8_t sak;
};
TypeAIdentity IdentityOf(const AtrFacts &atr);

// rf_typea_rst's and rf_DESFire_rst's answer: the UID, then for a processor card an answer to
// select rebuilt from the ATR's historical bytes (TL, T0 02 for "no interface bytes, default
// frame size", then the historical bytes).
Bytes TypeAActivation(std::span<const uint8_t> uid, const AtrFacts &atr);
// rf_atqb's 12 bytes: 50, the PUPI, and the ATQB's application data and protocol information,
// which a type B card's ATR carries as its first 7 historical bytes. Null when the UID is no
// 4-byte PUPI or the ATR has fewer historical bytes.
std::optional<Bytes> AnswerToRequestB(std::span<const uint8_t> pupi, const AtrFacts &atr);

// The Mifare value block: value, its inverse and the value again (least significant byte first),
// then the block address, its inverse, the address and its inverse.
Bytes EncodeValueBlock(int32_t value, uint8_t address);
// Null when the 16 bytes are no value block.
std::optional<int32_t> DecodeValueBlock(std::span<const uint8_t> block);

// An ISO 15693 UID as the program shows it, most significant byte (E0) first, from the 8 bytes a
// reader gives back for GET DATA, which most send in the order of the air, E0 last.
Bytes Iso15693UidAsShown(std::span<const uint8_t> uid);

} // namespace pcsc
