#include "ReaderFixture.h"

#include "CardCatalogue.h"
#include "MemoryDump.h"

class ToolTest : public ReaderFixture {
protected:
    static std::size_t lineCount(const std::string &text) { return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')); }
};

TEST_F(ToolTest, HelpDocumentsEveryCommandAndAMisusedOneIsRefusedWithTheReason)
{
    for (const char *command : {"show", "types", "init", "place", "remove", "clear", "dump", "export", "import", "port",
                                "writeback", "--uid", "--from", "--at", "--scenario", "ZENTRAVA_SCENARIO", "mifare-1k"})
        expectTool("--help", 0, command);
    const std::pair<const char *, const char *> commands[] = {
        {"", "no command given"}, {"frobnicate", "unknown command frobnicate"}, {"place floppy", "unknown card type floppy"},
        {"place at24c01 --uid 01020304", "goes into the contact slot"}, {"port 9", "a number from 1 to 8"},
        {"timing fast", "real or off"}, {"fault leave-after", "number of calls"}, {"fault leave-after -1", "number of calls"},
        {"fault tear many", "number of bytes"}, {"fault timeout 5", "takes no arguments"},
        {"fault force rf_M1_reed 04", "no reader function is called rf_M1_reed"}, {"fault force rf_M1_read 00", "status in hex"},
        {"fault force rf_M1_read 04 0", "number of calls"}, {"fault shake", "unknown fault shake"},
    };
    for (const auto &[arguments, reason] : commands)
        expectTool(arguments, 2, reason);
    EXPECT_FALSE(scenarioExists()) << "nothing was written";
}

TEST_F(ToolTest, PlacedCardsAreSelectedAndAContactCardTakesTheSlot)
{
    expectTool("show", 0, "built-in default");
    EXPECT_FALSE(scenarioExists()) << "show changes nothing";
    expectTool("place mifare-1k --uid 0A0B0C0D", 0);
    expectTool("show", 0, " 1  mifare-1k   0A0B0C0D\n   2  mifare-4k   C0FFEE42");
    EXPECT_EQ(selectMifare(), hex("0A0B0C0D")) << "the library noticed the new file";

    ASSERT_EQ(tool("remove 0A0B0C0D").exitCode, 0);
    EXPECT_EQ(selectMifare(), hex("C0FFEE42"));
    ASSERT_EQ(tool("clear").exitCode, 0);
    EXPECT_EQ(request(), status::NoCard);

    EXPECT_TRUE(shown("at88sc1608", "types"));
    ASSERT_EQ(tool("place AT24C16").exitCode, 0);
    EXPECT_TRUE(shown("Contact slot: at24c16"));
    ASSERT_EQ(api.OpenCard(0), status::Ok);
    EXPECT_EQ(at24(2047, 1), hex("FF")) << "2048 bytes";
    uint8_t data[4] = {};
    EXPECT_EQ(api.AT24_read(0, 2047, 2, data), status::WrongParameter);

    ASSERT_EQ(tool("place at88sc1608").exitCode, 0);
    EXPECT_EQ(api.AT24_read(0, 0, 1, data), status::NoCard) << "the new card replaced the EEPROM";
    EXPECT_EQ(api.AT1608_Rst(0, data), status::Ok);
}

TEST_F(ToolTest, DumpExportAndImportMemoryImages)
{
    ASSERT_EQ(tool("init").exitCode, 0);
    EXPECT_EQ(tool("init").exitCode, 1) << "an existing file is not replaced silently";
    expectTool("dump 2", 0, "  4  554C5452");
    EXPECT_EQ(lineCount(tool("dump 2").output), 17u) << "a header and 16 pages";

    const std::string raw = folder() + "/card.mfd";
    const std::string text = folder() + "/card.eml";
    ASSERT_EQ(tool("export 1 " + raw).exitCode, 0);
    ASSERT_EQ(tool("export C0FFEE42 " + text).exitCode, 0);
    EXPECT_EQ(readFile(raw).size(), 4096u);
    std::string eml = readFile(text);
    EXPECT_EQ(lineCount(eml), 256u);

    // Edit block 4 in the text dump, a line of 32 digits each, and load it back.
    eml.replace(4 * 33, 32, "DEADBEEFDEADBEEFDEADBEEFDEADBEEF");
    writeFile(text, eml);
    ASSERT_EQ(tool("import 1 " + text).exitCode, 0);
    expectTool("dump 1", 0, "  4  DEADBEEFDEADBEEFDEADBEEFDEADBEEF");
    selectMifare();
    ASSERT_EQ(authenticate(4), status::Ok);
    EXPECT_EQ(readBlock(4).second, hex("DEADBEEFDEADBEEFDEADBEEFDEADBEEF"));

    ASSERT_EQ(tool("place 4k --from " + raw + " --at 6").exitCode, 0);
    EXPECT_TRUE(shown(" 6  mifare-4k   C0FFEE42"));
    expectTool("import 2 " + raw, 1, "holds 64 bytes");
    EXPECT_EQ(tool("export 3 " + raw).exitCode, 1) << "a processor card has files, not an image";
    EXPECT_EQ(tool("dump 99").exitCode, 1);
}

TEST_F(ToolTest, ReaderSettingsAndBrokenFiles)
{
    ASSERT_EQ(tool("port 3").exitCode, 0);
    EXPECT_EQ(api.rf_init_com(1, 9600), status::PortUnavailable);
    EXPECT_EQ(api.rf_init_com(3, 9600), status::Ok);
    ASSERT_EQ(tool("writeback off").exitCode, 0);
    EXPECT_TRUE(shown("write back off"));
    writeScenario("{\"field\": [oops]}");
    expectTool("show", 1, "zentrava-sim: " + scenarioPath() + ": not valid JSON");
    EXPECT_EQ(tool("place mifare-1k").exitCode, 1);
    EXPECT_EQ(readScenario(), "{\"field\": [oops]}") << "the tool never overwrites a broken file";
}

// A card placed without a serial number gets one as its maker's chip would carry it.
TEST(CardSerialNumber, FreshOnesStartWithTheMakersCode)
{
    const std::pair<const char *, const char *> prefixes[] = {
        {"ultralight", "04"}, {"desfire", "04"},     {"sr176", "D002"},    {"icode-sli", "E004"},
        {"tag-it", "E007"},   {"srf55v02p", "E005"}, {"srf55v10p", "E005"}};
    for (const auto &[name, prefix] : prefixes) {
        const auto *type = zentrava::CardCatalogue::find(name);
        ASSERT_NE(type, nullptr) << name;
        const std::string uid = zentrava::toHex(zentrava::CardCatalogue::randomUid(*type));
        EXPECT_EQ(uid.size(), type->uidLength * 2) << name;
        EXPECT_TRUE(uid.starts_with(prefix)) << name << " " << uid;
    }
}

// The tool imports an edited text dump; here a damaged one names its line.
TEST(MemoryDumps, EmlTextIsOneBlockPerLineAndAShortLineIsNamed)
{
    EXPECT_EQ(zentrava::MemoryDump::fromEml("00112233\r\n\n  44556677  \n", 4), (Bytes{0, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}));
    try {
        zentrava::MemoryDump::fromEml("00112233\n001122\n", 4);
        ADD_FAILURE() << "a short line was accepted";
    } catch (const std::runtime_error &error) {
        EXPECT_NE(std::string(error.what()).find("line 2"), std::string::npos) << error.what();
    }
}
