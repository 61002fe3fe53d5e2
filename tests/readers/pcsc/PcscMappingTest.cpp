// The reader functions on PC/SC against a scripted resource manager: for each function the
// commands it sends, the answers its card was scripted with and what the program gets back; the
// faults (cards taken away, pcscd gone and back, time-outs); the library as the program binds it.
#include "PcscMapping.h"
#include "ScriptedPcsc.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <set>

namespace pcscmappingtest {

using F = ReaderFunction;
using scriptedpcsc::Card;

// Storage-card ATRs as the reader builds them, and processor cards.
const std::string Mifare1kAtr = "3B8F8001804F0CA000000306030001000000006A";
const std::string IcodeAtr = "3B8F8001804F0CA0000003060B00140000000077";
const std::string TypeAAtr = "3B8880010102030405060708FF"; // historical bytes 01 .. 08
const std::string TypeBAtr = "3B888001AABBCCDD1122338100"; // ATQB data AABBCCDD 112233, MBLI 81
const std::string ContactAtr = "3B6800000073C84013009000";
const std::string SamAtr = "3B3F9600805A4A8105";
const std::string Block = "00112233445566778899AABBCCDDEEFF";
constexpr int32_t Removed = int32_t(0x80100069);
constexpr int32_t NoService = int32_t(0x8010001D);

struct Answer {
    uint8_t bytes[1024] = {}, len = 0;
};
using Call = std::function<int32_t(PcscReader &, Answer &)>;
// The commands a call sends in order, each with the card's answer.
using Talk = std::vector<std::pair<std::string, std::string>>;

// Function F on device 0 with `args`, then the answer buffer where F gives an answer: with its
// length, or of a fixed `Length` bytes (a value: 4).
template <F Function, uint8_t Length = 0, class... Args>
Call call(Args... args)
{
    return [=](PcscReader &reader, [[maybe_unused]] Answer &a) {
        using Signature = ReaderFunctionInfo<Function>::Signature *;
        a.len = Length;
        if constexpr (std::is_invocable_v<Signature, uint16_t, Args..., uint8_t *, uint8_t *>)
            return CallPcscReader<Function>(reader, uint16_t(0), args..., a.bytes, &a.len);
        else if constexpr (std::is_invocable_v<Signature, uint16_t, Args..., uint8_t *>)
            return CallPcscReader<Function>(reader, uint16_t(0), args..., a.bytes);
        else if constexpr (std::is_invocable_v<Signature, uint16_t, Args..., int32_t *>)
            return CallPcscReader<Function>(reader, uint16_t(0), args..., reinterpret_cast<int32_t *>(a.bytes));
        else
            return CallPcscReader<Function>(reader, uint16_t(0), args...);
    };
}
// An APDU (hex) through one of the consoles' functions.
template <F Function>
Call apdu(const std::string &hex)
{
    return [command = scriptedpcsc::Bytes(hex)](PcscReader &reader, Answer &a) {
        return CallPcscReader<Function>(reader, uint16_t(0), command.data(), int32_t(command.size()), a.bytes, &a.len);
    };
}
std::pair<std::string, std::string> uid(const std::string &hex) { return {"FFCA000000", hex + "9000"}; }

const Call Request = call<F::rf_request>(uint8_t(0x52));

class PcscMappingTest : public ::testing::Test
{
protected:
    // The contactless reader with `card`, the contact reader, the SAM reader; the port opened
    // on the first.
    int32_t open(Card card, const PcscSettings &chosen = {})
    {
        pcsc.readers = {{"Vornex PCD 00 00", std::move(card)}, {"Vornex PCD 00 01", Card{ContactAtr}},
                        {"Vornex SAM 01 00", Card{SamAtr}}};
        settings = chosen;
        const int32_t status = CallPcscReader<F::rf_init_com>(reader, 1, 9600);
        pcsc.sent.clear();
        pcsc.calls.clear();
        return status;
    }

    scriptedpcsc::Pcsc pcsc;
    PcscSettings settings;
    PcscReader reader{pcsc.functions(), [this] { return settings; }};
};

TEST_F(PcscMappingTest, EachFunctionSendsItsCommandsAndAnswersAsTheCardDid)
{
    const uint8_t key[6] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    const uint8_t data[16] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    const uint8_t tagUid[8] = {0xE0, 0x04, 0x01, 0x00, 0x11, 0x22, 0x33, 0x44};
    const auto authenticate = [&](uint8_t mode) { return call<F::rf_M1_authentication2>(mode, uint8_t(4), key); };
    const auto readValue = [](uint8_t block) { return call<F::rf_M1_readval, 4>(block); };
    const Call typeAReset = call<F::rf_typea_rst>(uint8_t(0x52));
    struct Row {
        const char *name;
        Call call;
        int32_t status;
        std::string answer; // what the program gets, hex; empty: not looked at
        Talk talk = {};     // every command sent, by `before` too
        std::string atr = {}; // the contactless reader's card, a Mifare 1K when empty
        Call before = {};
        PcscSettings settings = {};
        std::size_t reader = 0; // the reader whose card answers `talk`
    };
    const Row rows[] = {
        // The reader and the choice of readers.
        {"rf_get_model: the contactless reader's name", call<F::rf_get_model>(), 0, "566F726E657820504344203030203030"},
        {"rf_sam_rst: the SAM reader by default the third", call<F::rf_sam_rst>(), 0, SamAtr},
        {"rf_sam_rst: the SAM reader by a part of its name", call<F::rf_sam_rst>(), 0, ContactAtr, {}, {}, {},
         {{}, {0, "pcd 00 01"}}},
        {"smartcard_rst: the contact reader by position", call<F::smartcard_rst>(), 0, SamAtr, {}, {}, {}, {{3, {}}, {}}},
        {"rf_init_sam: no reader holds the name part", call<F::rf_init_sam>(uint8_t(0)), 0x09, {}, {}, {}, {},
         {{}, {0, "ICC"}}},
        // Mifare Standard.
        {"rf_request: the ATQA of the card named in the ATR", call<F::rf_request, 2>(uint8_t(0x26)), 0, "0400"},
        {"rf_anticoll: a 7-byte UID is not cut to 4", call<F::rf_anticoll>(uint8_t(4)), 0x0D, {}, {uid("04A1B2C3D4E5F6")},
         {}, Request},
        {"rf_select: the SAK of a 1K; another serial is no card",
         [](PcscReader &reader, Answer &a) {
             const uint8_t own[4] = {0xA1, 0xB2, 0xC3, 0xD4}, other[4] = {1, 2, 3, 4};
             a.len = 1;
             EXPECT_EQ(CallPcscReader<F::rf_select>(reader, uint16_t(0), own, uint8_t(4), a.bytes), 0);
             return CallPcscReader<F::rf_select>(reader, uint16_t(0), other, uint8_t(4), a.bytes + 1);
         },
         0x01, "08", {uid("A1B2C3D4")}, {}, Request},
        {"rf_M1_authentication2: a wrong key B answers its status word", authenticate(0x61), 0x6300, {},
         {{"FF82000006FFFFFFFFFFFF", "9000"}, {"FF860000050100046100", "6300"}}, {}, Request},
        {"rf_M1_authentication2: the key slot of the settings", authenticate(0x60), 0x6A81, {},
         {{"FF82000106FFFFFFFFFFFF", "6A81"}}, {}, Request, {{}, {}, 2000, 1}},
        {"rf_M1_authentication2: a mode that is no key type", authenticate(0x62), 0x07, {}, {}, {}, Request},
        {"rf_M1_read: success without a status word is a failure", call<F::rf_M1_read>(uint8_t(4)), 0x0C, {},
         {{"FFB0000410", "00"}}, {}, Request},
        // A fuzz finding: status word 00 00 passed on as the status read as success.
        {"rf_M1_read: status word 00 00 is no success", call<F::rf_M1_read>(uint8_t(4)), 0x0C, {},
         {{"FFB0000410", "0000"}}, {}, Request},
        {"rf_M1_initval: the value-block layout written whole", call<F::rf_M1_initval>(uint8_t(5), int32_t(100)), 0, {},
         {{"FFD6000510640000009BFFFFFF6400000005FA05FA", "9000"}}, {}, Request},
        {"rf_M1_readval: the value of a value block", readValue(5), 0, "64000000",
         {{"FFB0000510", "640000009BFFFFFF6400000005FA05FA9000"}}, {}, Request},
        {"rf_M1_readval: a block whose copies disagree is no value block", readValue(6), 0x05, "00000000",
         {{"FFB0000610", "640000009BFFFFFF6500000006F906F99000"}}, {}, Request},
        {"rf_M1_readval: nor one whose inverted copy is wrong", readValue(5), 0x05, "00000000",
         {{"FFB0000510", "640000009CFFFFFF6400000005FA05FA9000"}}, {}, Request},
        {"rf_M1_increment: the reader's value command and nothing else", call<F::rf_M1_increment>(uint8_t(5), int32_t(100)),
         0, {}, {{"FFC200030BA009800105810464000000", "9000"}}, {}, Request},
        {"rf_M1_decrement: a reader without the value command: not supported, no read, no write",
         call<F::rf_M1_decrement>(uint8_t(5), int32_t(10)), 0x0A, {}, {{"FFC200030BA10980010581040A000000", "6A81"}},
         {}, Request},
        {"rf_M1_increment: 6D00 (instruction not supported) is not supported too",
         call<F::rf_M1_increment>(uint8_t(5), int32_t(10)), 0x0A, {}, {{"FFC200030BA00980010581040A000000", "6D00"}},
         {}, Request},
        // ISO 14443-4.
        {"rf_typea_rst: the UID and an answer to select rebuilt from the ATR", typeAReset, 0,
         "11223344" "0A02" "0102030405060708", {uid("11223344")}, TypeAAtr},
        {"rf_typea_rst: a 7-byte UID is not cut to 4", typeAReset, 0x0D, {}, {uid("04112233445566")}, TypeAAtr},
        {"rf_DESFire_rst: the 7-byte UID first", call<F::rf_DESFire_rst>(uint8_t(0x52)), 0,
         "04112233445566" "0A02" "0102030405060708", {uid("04112233445566")}, TypeAAtr},
        {"rf_atqb: 50, the PUPI, the ATQB's data from the ATR", call<F::rf_atqb>(uint8_t(0)), 0,
         "50CAFEBABEAABBCCDD112233", {uid("CAFEBABE")}, TypeBAtr},
        {"rf_cos_command: the APDU's answer whole, the card's status word included", apdu<F::rf_cos_command>("00A4040000"),
         0, "6A82", {uid("11223344"), {"00A4040000", "6A82"}}, TypeAAtr, typeAReset},
        {"rf_cos_command: one byte of answer has no status word", apdu<F::rf_cos_command>("0084000001"), 0x0C, {},
         {uid("11223344"), {"0084000001", "42"}}, TypeAAtr, typeAReset},
        {"rf_cos_command: an answer of 256 bytes is not cut", apdu<F::rf_cos_command>("00B0000000"), 0x0E, {},
         {uid("11223344"), {"00B0000000", std::string(508, 'A') + "9000"}}, TypeAAtr, typeAReset},
        {"rf_cos_command: no card reset yet", apdu<F::rf_cos_command>("00A4040000"), 0x01, {}, {}, TypeAAtr},
        // The contact slot and the SAM.
        {"smartcard_cos: the contact card's answer", apdu<F::smartcard_cos>("0084000008"), 0, "01020304050607089000",
         {{"0084000008", "01020304050607089000"}}, {}, call<F::OpenCard>(), {}, 1},
        {"rf_sam_cos: without a reset first", apdu<F::rf_sam_cos>("80CA000000"), 0, "6D00", {{"80CA000000", "6D00"}},
         {}, {}, {}, 2},
        // ISO 15693.
        {"ISO15693_Inventorys: one record, the UID as the program shows it", call<F::ISO15693_Inventorys>(), 0,
         "00" "E004010011223344", {uid("44332211000104E0")}, IcodeAtr},
        {"ISO15693_Inventorys: a Mifare card is no vicinity tag", call<F::ISO15693_Inventorys>(), 0x01, {}},
        {"ISO15693_Read: READ BINARY block by block", call<F::ISO15693_Read>(uint8_t(2), tagUid, uint8_t(2), uint8_t(2)), 0,
         "A0A1A2A3B0B1B2B3", {uid("44332211000104E0"), {"FFB0000204", "A0A1A2A39000"}, {"FFB0000304", "B0B1B2B39000"}},
         IcodeAtr},
        {"ISO15693_Write: another tag's UID is no card", call<F::ISO15693_Write>(uint8_t(2), tagUid, uint8_t(3), data),
         0x01, {}, {uid("88776655000104E0")}, IcodeAtr},
        // What a PC/SC reader cannot do: every function without a mapping answers so.
        {"rf_beep: not supported", call<F::rf_beep>(uint8_t(10)), 0x0A, {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(open({row.atr.empty() ? Mifare1kAtr : row.atr}, row.settings), 0);
        std::vector<std::string> commands;
        for (const auto &[command, answer] : row.talk) {
            commands.push_back(command);
            pcsc.readers[row.reader].card->answers[command] = answer;
        }
        Answer first, answer;
        if (row.before) {
            EXPECT_EQ(row.before(reader, first), 0);
        }
        EXPECT_EQ(row.call(reader, answer), row.status);
        EXPECT_EQ(pcsc.sent, commands);
        if (!row.answer.empty()) {
            EXPECT_EQ(zentrava::toHex(answer.bytes, answer.len), row.answer);
        }
    }
}

TEST_F(PcscMappingTest, FaultsAnswerTheirStatusAndTheNextRequestFindsTheCardAgain)
{
    const Card mifare{Mifare1kAtr, {{"FFB0000410", Block + "9000"}}};
    Answer answer;
    const auto readBlock = [&, read = call<F::rf_M1_read>(uint8_t(4))] { return read(reader, answer); };
    const struct {
        const char *name;
        std::function<void()> fault;
        int32_t status; // of the read after it; the next read finds no card, a request finds it again
    } cases[] = {
        {"card taken away and laid back", [&] { pcsc.nextTransmit = LONG(SCARD_W_REMOVED_CARD); }, Removed},
        {"pcscd stopped, then started again",
         [&] {
             pcsc.stopService();
             EXPECT_EQ(Request(reader, answer), NoService);
             EXPECT_EQ(readBlock(), NoService);
             pcsc.startService();
         },
         0x01},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(open(mifare), 0);
        ASSERT_EQ(Request(reader, answer), 0);
        c.fault();
        EXPECT_EQ(readBlock(), c.status);
        EXPECT_EQ(readBlock(), 0x01);
        EXPECT_EQ(Request(reader, answer), 0);
        EXPECT_EQ(readBlock(), 0);
        EXPECT_EQ(std::count(pcsc.calls.begin(), pcsc.calls.end(), "connect 1"), 2);
    }
}

TEST_F(PcscMappingTest, WaitsAreBoundedAndPcscdMissingAnswersAtOnce)
{
    // No card: the request waits the settings' limit, then answers PC/SC's time-out.
    ASSERT_EQ(open({Mifare1kAtr}, {{}, {}, 1500}), 0);
    pcsc.readers[0].card.reset();
    Answer answer;
    EXPECT_EQ(Request(reader, answer), int32_t(0x8010000A));
    ASSERT_EQ(pcsc.calls.size(), 1u);
    ASSERT_TRUE(pcsc.calls[0].starts_with("wait ")) << pcsc.calls[0];
    EXPECT_LE(std::stoi(pcsc.calls[0].substr(5)), 1500);

    // A card laid on while the request waits is taken.
    pcsc.cardLaidDuringWait = Card{Mifare1kAtr};
    EXPECT_EQ(Request(reader, answer), 0);

    // Without pcscd and without readers Connect fails with PC/SC's status; with fewer readers
    // than the port's number, with the library's own.
    CallPcscReader<F::rf_close_com>(reader);
    pcsc.stopService();
    EXPECT_EQ(CallPcscReader<F::rf_init_com>(reader, 1, 9600), NoService);
    EXPECT_EQ(CallPcscReader<F::rf_get_model>(reader, uint16_t(0), answer.bytes, &answer.len), 0x08);
    pcsc.startService();
    EXPECT_EQ(CallPcscReader<F::rf_init_com>(reader, 4, 9600), 0x09);
    EXPECT_EQ(CallPcscReader<F::rf_init_com>(reader, 3, 9600), 0);
    pcsc.readers.clear();
    EXPECT_EQ(CallPcscReader<F::rf_init_com>(reader, 1, 9600), int32_t(0x8010002E));
}

// Every ordinal of the list exported from the built library and named in Windows's .def file.
TEST(PcscLibraryTest, ExportsEveryOrdinalOfTheListOnLinuxAndInTheDefFile)
{
    std::set<int> listed;
    for (const ReaderOrdinal &entry : ReaderOrdinals)
        listed.insert(entry.ordinal);
    std::ifstream def(PCSC_DEF_FILE);
    ASSERT_TRUE(def) << PCSC_DEF_FILE;
    std::set<int> defined;
    for (std::string line; std::getline(def, line);) {
        int named = 0, ordinal = 0;
        char noName[8] = {};
        if (std::sscanf(line.c_str(), " Zentrava_%d @%d %7s", &named, &ordinal, noName) == 3) {
            EXPECT_EQ(named, ordinal) << line;
            EXPECT_STREQ(noName, "NONAME") << line;
            EXPECT_TRUE(defined.insert(ordinal).second) << line;
        }
    }
    EXPECT_EQ(defined, listed);

    void *library = dlopen(PCSC_LIBRARY_FILE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    for (const int ordinal : listed)
        EXPECT_NE(dlsym(library, ("Zentrava_" + std::to_string(ordinal)).c_str()), nullptr) << ordinal;
    dlclose(library);
}

} // namespace pcscmappingtest
