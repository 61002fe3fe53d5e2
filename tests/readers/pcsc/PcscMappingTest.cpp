// The reader functions on PC/SC, against a scripted resource manager: for each case the commands
// the library sends, the answers the cards were scripted with, and the status and bytes the
// program gets back; then the faults (cards taken away or swapped, pcscd gone and back, answers
// without a status word, time-outs).
#include "PcscMapping.h"
#include "ScriptedPcsc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

using F = ReaderFunction;

// PC/SC's storage-card ATRs as the reader builds them, and two processor cards.
const std::string Mifare1kAtr = "3B8F8001804F0CA000000306030001000000006A";
const std::string UltralightAtr = "3B8F8001804F0CA0000003060300030000000068";
const std::string IcodeAtr = "3B8F8001804F0CA0000003060B00140000000077";
const std::string TypeAProcessorAtr = "3B8880010102030405060708FF";       // historical bytes 01 .. 08
const std::string TypeBProcessorAtr = "3B888001AABBCCDD1122338100";       // ATQB data AABBCCDD 112233, MBLI 81
const std::string ContactAtr = "3B6800000073C84013009000";
const std::string SamAtr = "3B3F9600805A4A8105";

ScriptedCard mifare1k(const std::string &uid = "A1B2C3D4")
{
    return {Mifare1kAtr,
            {{"FFCA000000", uid + "9000"},
             {"FF82000006FFFFFFFFFFFF", "9000"},
             {"FF860000050100046000", "9000"},
             {"FF860000050100046100", "6300"},
             {"FFB0000410", "00112233445566778899AABBCCDDEEFF9000"},
             {"FFB0000810", "6982"},
             {"FFB0000510", "640000009BFFFFFF6400000005FA05FA9000"},
             {"FFB0000610", "640000009BFFFFFF6500000006F906F99000"},
             {"FFD6000410000102030405060708090A0B0C0D0E0F", "9000"},
             {"FFD6000510640000009BFFFFFF6400000005FA05FA", "9000"},
             {"FFC200030BA009800105810464000000", "9000"},
             {"FFC200030BA10980010581040A000000", "6A81"},
             {"FFC200030BA00980010581040A000000", "6D00"},
             {"FFB0000A10", "640000009CFFFFFF6400000005FA05FA9000"},
             {"FFB0000710", "00"},
             {"FFB0000910", "0000"}}};
}

struct Answer {
    uint8_t bytes[1024] = {};
    uint8_t len = 0;
    std::string hex() const { return Hex(bytes, len); }
};

// The cases' lambdas reach the fixture through a reference to it: everything is public.
class PcscMappingTest : public ::testing::Test
{
public:
    void SetUp() override
    {
        pcsc.readers = {{"Vornex PCD 00 00", mifare1k()},
                        {"Vornex PCD 00 01", ScriptedCard{ContactAtr, {{"0084000008", "0102030405060708" "9000"}}}},
                        {"Vornex SAM 01 00", ScriptedCard{SamAtr, {{"80CA000000", "6D00"}}}}};
    }

    // The port opened on the first reader; what that sends is not the case's.
    PcscReader &open(const PcscSettings &chosen = {})
    {
        settings = chosen;
        EXPECT_EQ(CallPcscReader<F::rf_init_com>(reader, 1, 9600), 0);
        pcsc.sent.clear();
        pcsc.calls.clear();
        return reader;
    }
    int32_t request()
    {
        uint8_t tagType[2];
        return CallPcscReader<F::rf_request>(reader, uint16_t(0), uint8_t(0x52), tagType);
    }
    int32_t requestAndSelect()
    {
        Answer serial;
        uint8_t size = 0;
        const int32_t status = request();
        if (status != 0)
            return status;
        if (const int32_t anticollision = CallPcscReader<F::rf_anticoll>(reader, uint16_t(0), uint8_t(4), serial.bytes, &serial.len))
            return anticollision;
        return CallPcscReader<F::rf_select>(reader, uint16_t(0), serial.bytes, serial.len, &size);
    }

    ScriptedPcsc pcsc;
    PcscSettings settings;
    PcscReader reader{pcsc.functions(), [this] { return settings; }};
};

using CaseCalls = std::function<int32_t(PcscMappingTest &, Answer &)>;

// A case's call of function `Function` with the given arguments after the device index: after a
// request when `Requests`, and with the case's answer buffer and its length last when `Answers`.
template <ReaderFunction Function, bool Requests, bool Answers, class... Args>
CaseCalls calling(Args... args)
{
    return [=](PcscMappingTest &t, [[maybe_unused]] Answer &a) {
        if constexpr (Requests)
            t.request();
        if constexpr (Answers)
            return CallPcscReader<Function>(t.reader, uint16_t(0), args..., a.bytes, &a.len);
        else
            return CallPcscReader<Function>(t.reader, uint16_t(0), args...);
    };
}
template <ReaderFunction Function, class... Args> CaseCalls call(Args... args) { return calling<Function, false, false>(args...); }
template <ReaderFunction Function, class... Args> CaseCalls callAfterRequest(Args... args) { return calling<Function, true, false>(args...); }
template <ReaderFunction Function, class... Args> CaseCalls answer(Args... args) { return calling<Function, false, true>(args...); }
template <ReaderFunction Function, class... Args> CaseCalls answerAfterRequest(Args... args) { return calling<Function, true, true>(args...); }

constexpr int32_t Removed = int32_t(0x80100069);
constexpr int32_t NoService = int32_t(0x8010001D);

TEST_F(PcscMappingTest, EachFunctionSendsItsCommandsAndAnswersAsTheCardDid)
{
    const uint8_t key[6] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    const uint8_t block[16] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    const uint8_t tagUid[8] = {0xE0, 0x04, 0x01, 0x00, 0x11, 0x22, 0x33, 0x44};
    const uint8_t apdu[5] = {0x00, 0x84, 0x00, 0x00, 0x08};
    const uint8_t samApdu[5] = {0x80, 0xCA, 0x00, 0x00, 0x00};
    const uint8_t ultralightPage[4] = {0xDE, 0xAD, 0xBE, 0xEF};
    uint8_t block16[16] = {};
    struct Case {
        const char *name;
        std::function<void(ScriptedPcsc &)> lay; // the cards, when not those of SetUp
        PcscSettings settings;
        // Runs the case's calls (a request first where the function needs one) and answers the
        // status of the last, its bytes in `answer`.
        CaseCalls run;
        int32_t status;
        std::vector<std::string> sent; // by the last call and those before it in `run`
        std::string answer;
    };
    const auto processorA = [](const std::string &uid) {
        return [uid](ScriptedPcsc &p) {
            p.lay(0, ScriptedCard{TypeAProcessorAtr, {{"FFCA000000", uid + "9000"}, {"00A4040000", "6A82"},
                                                      {"0084000001", "42"}, {"00B0000000", std::string(508, 'A') + "9000"}}});
        };
    };
    const auto authenticate = [&](uint8_t mode) { return callAfterRequest<F::rf_M1_authentication2>(mode, uint8_t(4), key); };
    const auto read = [](uint8_t blockNumber) {
        return [blockNumber](PcscMappingTest &t, Answer &a) {
            t.requestAndSelect();
            t.pcsc.sent.clear();
            return CallPcscReader<F::rf_M1_read>(t.reader, uint16_t(0), blockNumber, a.bytes, &a.len);
        };
    };
    const auto readValue = [](uint8_t blockNumber) {
        return [blockNumber](PcscMappingTest &t, Answer &a) {
            t.request();
            int32_t value = 0;
            const int32_t status = CallPcscReader<F::rf_M1_readval>(t.reader, uint16_t(0), blockNumber, &value);
            a.len = 4;
            std::memcpy(a.bytes, &value, 4);
            return status;
        };
    };
    const auto cos = [&](PcscMappingTest &t, Answer &a, std::vector<uint8_t> command) {
        t.pcsc.sent.clear();
        return CallPcscReader<F::rf_cos_command>(t.reader, uint16_t(0), command.data(), int32_t(command.size()), a.bytes,
                                                 &a.len);
    };
    const CaseCalls typeAReset = answer<F::rf_typea_rst>(uint8_t(0x52));
    const CaseCalls samReset = answer<F::rf_sam_rst>();
    const Case cases[] = {
        // The reader and the choice of readers.
        {"rf_get_model: the contactless reader's name", {}, {}, answer<F::rf_get_model>(), 0, {}, Hex(reinterpret_cast<const uint8_t *>("Vornex PCD 00 00"), 16)},
        {"rf_sam_rst: the SAM reader by default the third", {}, {}, samReset, 0, {}, SamAtr},
        {"rf_sam_rst: the SAM reader by a part of its name", {}, {{}, {0, "pcd 00 01"}}, samReset, 0, {}, ContactAtr},
        {"smartcard_rst: the contact reader by position", {}, {{3, {}}, {}}, answer<F::smartcard_rst>(), 0, {}, SamAtr},
        {"rf_init_sam: no reader holds the name part", {}, {{}, {0, "ICC"}}, call<F::rf_init_sam>(uint8_t(0)), 0x09, {}, {}},
        // Mifare Standard.
        {"rf_request: the ATQA of the card named in the ATR", {}, {},
         [](PcscMappingTest &t, Answer &a) {
             a.len = 2;
             return CallPcscReader<F::rf_request>(t.reader, uint16_t(0), uint8_t(0x26), a.bytes);
         },
         0, {}, "0400"},
        {"rf_anticoll: the UID by GET DATA", {}, {}, answerAfterRequest<F::rf_anticoll>(uint8_t(4)), 0, {"FFCA000000"},
         "A1B2C3D4"},
        {"rf_anticoll: a 7-byte UID is not cut to 4", [](ScriptedPcsc &p) { p.lay(0, mifare1k("04A1B2C3D4E5F6")); }, {},
         answerAfterRequest<F::rf_anticoll>(uint8_t(4)), 0x0D, {"FFCA000000"}, {}},
        {"rf_select: the SAK of a 1K; another serial is no card", {}, {},
         [](PcscMappingTest &t, Answer &a) {
             const uint8_t other[4] = {1, 2, 3, 4};
             uint8_t size = 0;
             EXPECT_EQ(t.requestAndSelect(), 0);
             const int32_t status = CallPcscReader<F::rf_select>(t.reader, uint16_t(0), other, uint8_t(4), &size);
             const uint8_t serial[4] = {0xA1, 0xB2, 0xC3, 0xD4};
             a.len = 1;
             EXPECT_EQ(CallPcscReader<F::rf_select>(t.reader, uint16_t(0), serial, uint8_t(4), a.bytes), 0);
             return status;
         },
         0x01, {"FFCA000000"}, "08"},
        {"rf_M1_authentication2: LOAD KEYS, then GENERAL AUTHENTICATE with key A", {}, {}, authenticate(0x60), 0,
         {"FF82000006FFFFFFFFFFFF", "FF860000050100046000"}, {}},
        {"rf_M1_authentication2: a wrong key B answers its status word", {}, {}, authenticate(0x61), 0x6300,
         {"FF82000006FFFFFFFFFFFF", "FF860000050100046100"}, {}},
        {"rf_M1_authentication2: the key slot of the settings", {}, {{}, {}, 2000, 1}, authenticate(0x60), 0x6A81,
         {"FF82000106FFFFFFFFFFFF"}, {}},
        {"rf_M1_authentication2: a mode that is no key type", {}, {}, authenticate(0x62), 0x07, {}, {}},
        {"rf_M1_read: READ BINARY of 16 bytes", {}, {}, read(4), 0, {"FFB0000410"}, "00112233445566778899AABBCCDDEEFF"},
        {"rf_M1_read: not authenticated answers 6982", {}, {}, read(8), 0x6982, {"FFB0000810"}, {}},
        {"rf_M1_read: success without a status word is a failure", {}, {}, read(7), 0x0C, {"FFB0000710"}, {}},
        // A fuzz finding: status word 00 00 passed on as the status read as success.
        {"rf_M1_read: status word 00 00 is no success", {}, {}, read(9), 0x0C, {"FFB0000910"}, {}},
        {"rf_M1_write: UPDATE BINARY of 16 bytes", {}, {}, callAfterRequest<F::rf_M1_write>(uint8_t(4), block), 0,
         {"FFD6000410000102030405060708090A0B0C0D0E0F"}, {}},
        {"rf_M1_initval: the value-block layout written whole", {}, {},
         callAfterRequest<F::rf_M1_initval>(uint8_t(5), int32_t(100)), 0, {"FFD6000510640000009BFFFFFF6400000005FA05FA"}, {}},
        {"rf_M1_readval: the value of a value block", {}, {}, readValue(5), 0, {"FFB0000510"}, "64000000"},
        {"rf_M1_readval: a block whose copies disagree is no value block", {}, {}, readValue(6), 0x05, {"FFB0000610"},
         "00000000"},
        {"rf_M1_readval: nor one whose inverted copy is wrong", {}, {}, readValue(10), 0x05, {"FFB0000A10"}, "00000000"},
        {"rf_M1_increment: the reader's value command and nothing else", {}, {},
         callAfterRequest<F::rf_M1_increment>(uint8_t(5), int32_t(100)), 0, {"FFC200030BA009800105810464000000"}, {}},
        {"rf_M1_decrement: a reader without the value command: not supported, no read, no write", {}, {},
         callAfterRequest<F::rf_M1_decrement>(uint8_t(5), int32_t(10)), 0x0A, {"FFC200030BA10980010581040A000000"}, {}},
        {"rf_M1_increment: 6D00 (instruction not supported) is not supported too", {}, {},
         callAfterRequest<F::rf_M1_increment>(uint8_t(5), int32_t(10)), 0x0A, {"FFC200030BA00980010581040A000000"}, {}},
        // UltraLight.
        {"rf_ul_select: the 7-byte UID",
         [](ScriptedPcsc &p) { p.lay(0, ScriptedCard{UltralightAtr, {{"FFCA000000", "04112233445566" "9000"}}}); }, {},
         answer<F::rf_ul_select>(), 0, {"FFCA000000"}, "04112233445566"},
        {"rf_ul_write: UPDATE BINARY of one page",
         [](ScriptedPcsc &p) { p.lay(0, ScriptedCard{UltralightAtr, {{"FFD6000504DEADBEEF", "9000"}}}); }, {},
         callAfterRequest<F::rf_ul_write>(uint8_t(5), ultralightPage), 0, {"FFD6000504DEADBEEF"}, {}},
        // ISO 14443-4.
        {"rf_typea_rst: the UID and an answer to select rebuilt from the ATR", processorA("11223344"), {}, typeAReset, 0,
         {"FFCA000000"}, "11223344" "0A02" "0102030405060708"},
        {"rf_typea_rst: a 7-byte UID is not cut to 4", processorA("04112233445566"), {}, typeAReset, 0x0D, {"FFCA000000"}, {}},
        {"rf_DESFire_rst: the 7-byte UID first", processorA("04112233445566"), {}, answer<F::rf_DESFire_rst>(uint8_t(0x52)),
         0, {"FFCA000000"}, "04112233445566" "0A02" "0102030405060708"},
        {"rf_atqb: 50, the PUPI, the ATQB's data from the ATR",
         [](ScriptedPcsc &p) { p.lay(0, ScriptedCard{TypeBProcessorAtr, {{"FFCA000000", "CAFEBABE9000"}}}); }, {},
         answer<F::rf_atqb>(uint8_t(0)), 0, {"FFCA000000"}, "50CAFEBABEAABBCCDD112233"},
        {"rf_cos_command: the APDU's answer whole, the card's status word included", processorA("11223344"), {},
         [&](PcscMappingTest &t, Answer &a) {
             Answer reset;
             typeAReset(t, reset);
             return cos(t, a, {0x00, 0xA4, 0x04, 0x00, 0x00});
         },
         0, {"00A4040000"}, "6A82"},
        {"rf_cos_command: one byte of answer has no status word", processorA("11223344"), {},
         [&](PcscMappingTest &t, Answer &a) {
             Answer reset;
             typeAReset(t, reset);
             return cos(t, a, {0x00, 0x84, 0x00, 0x00, 0x01});
         },
         0x0C, {"0084000001"}, {}},
        {"rf_cos_command: an answer of 256 bytes is not cut", processorA("11223344"), {},
         [&](PcscMappingTest &t, Answer &a) {
             Answer reset;
             typeAReset(t, reset);
             return cos(t, a, {0x00, 0xB0, 0x00, 0x00, 0x00});
         },
         0x0E, {"00B0000000"}, {}},
        {"rf_cos_command: no card reset yet", processorA("11223344"), {},
         [&](PcscMappingTest &t, Answer &a) { return cos(t, a, {0x00, 0xA4, 0x04, 0x00, 0x00}); }, 0x01, {}, {}},
        // The contact slot and the SAM.
        {"smartcard_cos: the contact card's answer", {}, {},
         [&](PcscMappingTest &t, Answer &a) {
             EXPECT_EQ(CallPcscReader<F::OpenCard>(t.reader, uint16_t(0)), 0);
             return CallPcscReader<F::smartcard_cos>(t.reader, uint16_t(0), apdu, int32_t(5), a.bytes, &a.len);
         },
         0, {"0084000008"}, "01020304050607089000"},
        {"rf_sam_cos: without a reset first", {}, {}, answer<F::rf_sam_cos>(samApdu, int32_t(5)), 0, {"80CA000000"}, "6D00"},
        // ISO 15693.
        {"ISO15693_Inventorys: one record, the UID as the program shows it",
         [](ScriptedPcsc &p) { p.lay(0, ScriptedCard{IcodeAtr, {{"FFCA000000", "44332211000104E0" "9000"}}}); }, {},
         answer<F::ISO15693_Inventorys>(), 0, {"FFCA000000"}, "00" "E004010011223344"},
        {"ISO15693_Inventorys: a Mifare card is no vicinity tag", {}, {}, answer<F::ISO15693_Inventorys>(), 0x01, {}, {}},
        {"ISO15693_Read: READ BINARY block by block",
         [](ScriptedPcsc &p) {
             p.lay(0, ScriptedCard{IcodeAtr, {{"FFCA000000", "44332211000104E0" "9000"},
                                              {"FFB0000204", "A0A1A2A39000"},
                                              {"FFB0000304", "B0B1B2B39000"}}});
         },
         {}, answer<F::ISO15693_Read>(uint8_t(2), tagUid, uint8_t(2), uint8_t(2)), 0,
         {"FFCA000000", "FFB0000204", "FFB0000304"}, "A0A1A2A3B0B1B2B3"},
        {"ISO15693_Write: another tag's UID is no card",
         [](ScriptedPcsc &p) { p.lay(0, ScriptedCard{IcodeAtr, {{"FFCA000000", "88776655000104E0" "9000"}}}); }, {},
         call<F::ISO15693_Write>(uint8_t(2), tagUid, uint8_t(3), block), 0x01, {"FFCA000000"}, {}},
        // What a PC/SC reader cannot do.
        {"rf_beep: not supported", {}, {}, call<F::rf_beep>(uint8_t(10)), 0x0A, {}, {}},
        {"AT24_read: not supported", {}, {}, call<F::AT24_read>(int32_t(0), int32_t(16), block16), 0x0A, {}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        if (c.lay)
            c.lay(pcsc);
        open(c.settings);
        Answer answer;
        EXPECT_EQ(c.run(*this, answer), c.status);
        EXPECT_EQ(pcsc.sent, c.sent);
        if (!c.answer.empty()) {
            EXPECT_EQ(answer.hex(), c.answer);
        }
        CallPcscReader<F::rf_close_com>(reader);
    }
}

// Every function the library does not carry out answers the one status, whatever its arguments,
// and touches no card.
TEST_F(PcscMappingTest, EveryFunctionWithoutAMappingAnswersNotSupported)
{
    open();
    int unsupported = 0;
#define PCSC_CHECK_UNMAPPED(ordinal, name, presence, params, args, buffers)                        \
    if constexpr (std::is_null_pointer_v<std::remove_const_t<decltype(PcscMapping<F::name>::member)>>) { \
        ++unsupported;                                                                             \
        [&]<class... Params>(int32_t(*)(Params...)) {                                              \
            EXPECT_EQ(CallPcscReader<F::name>(reader, Params{}...), 0x0A) << #name;                \
        }(static_cast<ReaderFunctionInfo<F::name>::Signature *>(nullptr));                         \
    }
#define PCSC_SKIP_UNCALLED(ordinal, presence)
    ZENTRAVA_READER_FUNCTIONS(PCSC_CHECK_UNMAPPED, PCSC_SKIP_UNCALLED)
#undef PCSC_CHECK_UNMAPPED
#undef PCSC_SKIP_UNCALLED
    EXPECT_EQ(unsupported, 80 - 31);
    EXPECT_TRUE(pcsc.sent.empty());
}

TEST_F(PcscMappingTest, FaultsAnswerTheirStatusAndTheNextRequestFindsTheCardAgain)
{
    Answer data;
    const auto readBlock = [&] { return CallPcscReader<F::rf_M1_read>(reader, uint16_t(0), uint8_t(4), data.bytes, &data.len); };
    const auto connects = [&] { return std::count(pcsc.calls.begin(), pcsc.calls.end(), "connect 1"); };
    struct Case {
        const char *name;
        std::function<void(PcscMappingTest &)> fault;
        std::vector<int32_t> statuses; // read, read again, request, read after the request
    };
    const Case cases[] = {
        {"card taken away and laid back", [](PcscMappingTest &t) { t.pcsc.lay(0, mifare1k()); }, {Removed, 0x01, 0, 0}},
        {"card swapped for another", [](PcscMappingTest &t) { t.pcsc.lay(0, mifare1k("0A0B0C0D")); }, {Removed, 0x01, 0, 0}},
        {"card reset by another program",
         [](PcscMappingTest &t) { t.pcsc.failNext("transmit", LONG(SCARD_W_RESET_CARD)); }, {int32_t(0x80100068), 0x01, 0, 0}},
        {"pcscd stopped, then started again",
         [](PcscMappingTest &t) {
             t.pcsc.stopService();
             uint8_t tagType[2];
             EXPECT_EQ(CallPcscReader<F::rf_request>(t.reader, uint16_t(0), uint8_t(0x52), tagType), NoService);
             Answer model;
             EXPECT_EQ(CallPcscReader<F::rf_M1_read>(t.reader, uint16_t(0), uint8_t(4), model.bytes, &model.len), NoService);
             t.pcsc.startService();
         },
         {0x01, 0x01, 0, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        open();
        ASSERT_EQ(request(), 0);
        c.fault(*this);
        EXPECT_EQ(readBlock(), c.statuses[0]);
        EXPECT_EQ(readBlock(), c.statuses[1]);
        EXPECT_EQ(request(), c.statuses[2]);
        EXPECT_EQ(readBlock(), c.statuses[3]);
        EXPECT_EQ(connects(), 2);
    }
}

TEST_F(PcscMappingTest, WaitsAreBoundedAndPcscdMissingAnswersAtOnce)
{
    // No card: the request waits the settings' limit, then answers PC/SC's time-out.
    pcsc.readers[0].card.reset();
    PcscSettings shortWait;
    shortWait.cardWaitMs = 1500;
    open(shortWait);
    EXPECT_EQ(request(), int32_t(0x8010000A));
    ASSERT_EQ(pcsc.calls.size(), 1u);
    EXPECT_TRUE(pcsc.calls[0].starts_with("wait ") && std::stoi(pcsc.calls[0].substr(5)) <= 1500) << pcsc.calls[0];

    // A card laid on while the request waits is taken.
    pcsc.cardLaidDuringWait = mifare1k();
    EXPECT_EQ(request(), 0);

    // Without pcscd and without readers Connect fails with PC/SC's status; with fewer readers
    // than the port's number, with the library's own.
    CallPcscReader<F::rf_close_com>(reader);
    pcsc.stopService();
    EXPECT_EQ(CallPcscReader<F::rf_init_com>(reader, 1, 9600), NoService);
    Answer model;
    EXPECT_EQ(CallPcscReader<F::rf_get_model>(reader, uint16_t(0), model.bytes, &model.len), 0x08);
    pcsc.startService();
    EXPECT_EQ(CallPcscReader<F::rf_init_com>(reader, 4, 9600), 0x09);
    EXPECT_EQ(CallPcscReader<F::rf_init_com>(reader, 3, 9600), 0);
    pcsc.readers.clear();
    EXPECT_EQ(CallPcscReader<F::rf_init_com>(reader, 1, 9600), int32_t(0x8010002E));
}

} // namespace
