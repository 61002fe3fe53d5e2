#include "ReaderFixture.h"

// The operator's faults: armed with zentrava-sim or in the scenario file, applied and counted
// down by the library behind the exported entry points.
using FaultTest = ReaderFixture;

const char *const FaultOneKCard = R"([{"type": "mifare-1k", "Card": {"UID": "0A0B0C0D"}}])";

TEST_F(FaultTest, AForcedStatusCountsDownAndAReadingOfTheFileDoesNotArmItAgain)
{
    for (const bool writeBack : {true, false}) {
        SCOPED_TRACE(writeBack ? "write back on" : "write back off");
        writeScenario(std::string(R"({"reader": {"port": 1, "writeBack": )") + (writeBack ? "true" : "false") +
                              R"(}, "field": )" + FaultOneKCard + "}");
        selectMifare();
        ASSERT_EQ(authenticate(4), status::Ok);
        // Armed in the middle of a session: the card stays selected and authenticated.
        expectTool("fault force rf_M1_read 0x1a 2", 0);
        EXPECT_EQ(readBlock(4).first, 0x1A);
        // The running count is in the file for the operator, when the library may write it.
        EXPECT_EQ(shown("rf_M1_read answers 1A to its next call", "fault"), writeBack);
        EXPECT_EQ(readBlock(4).first, 0x1A);
        EXPECT_EQ(shown("No faults", "fault"), writeBack);
        EXPECT_EQ(readBlock(4).first, status::Ok);
        // Another change by the tool makes the library read the file again: the spent fault
        // stays spent even where the file still lists it.
        ASSERT_EQ(tool("port 1").exitCode, 0);
        selectMifare();
        ASSERT_EQ(authenticate(4), status::Ok);
        EXPECT_EQ(readBlock(4).first, status::Ok);
    }
}

TEST_F(FaultTest, TheCardsLeaveAfterTheirCallsTheReaderTimesOutAndClearEndsBoth)
{
    // Written by hand in the scenario file, without an id.
    useField(FaultOneKCard + std::string(R"(, "contactSlot": {"type": "at24c01"}, "faults": [{"type": "leave-after", "calls": 2}])"));
    // The cards leave after two calls, the contact slot's card too.
    EXPECT_EQ((std::array{request(), answer(api.rf_anticoll, 4).first, request(), api.OpenCard(0)}),
              (std::array{status::Ok, status::Ok, status::NoCard, status::NoCard}));
    EXPECT_TRUE(shown("the cards are out of the field", "fault"));

    ASSERT_EQ(tool("fault timeout").exitCode, 0);
    EXPECT_EQ(api.rf_init_com(1, 115200), status::TimedOut) << "even the opening of the port";

    expectTool("fault clear", 0);
    EXPECT_EQ(selectMifare(), hex("0A0B0C0D")) << "the cards lie in the field again";
    EXPECT_EQ(api.OpenCard(0), status::Ok);
}

// A torn write answers no card and the memory keeps the first bytes only: a Mifare block, whose card must be selected again, and an AT24C01's
// write pages, where bytes 6 and 7 land, then 8.
TEST_F(FaultTest, ATornWriteKeepsItsFirstBytes)
{
    useField(FaultOneKCard);
    ASSERT_EQ(tool("fault tear 5").exitCode, 0);
    ASSERT_EQ(reselectAndAuthenticate(4), status::Ok);
    EXPECT_EQ(api.rf_M1_write(0, 4, Bytes(16, 0x11).data()), status::NoCard);
    EXPECT_EQ(readBlock(4).first, status::NoCard) << "the card starts idle again";
    ASSERT_EQ(reselectAndAuthenticate(4), status::Ok);
    EXPECT_EQ(readBlock(4).second, hex("11111111110000000000000000000000"));
    EXPECT_TRUE(shown("No faults", "fault")) << "one write is torn, not the next";

    useSlot(R"({"type": "at24c01"})");
    ASSERT_EQ(tool("fault tear 3").exitCode, 0);
    ASSERT_EQ(api.OpenCard(0), status::Ok);
    EXPECT_EQ(api.AT24_write(0, 6, 8, Bytes(8, 0x22).data()), status::NoCard);
    EXPECT_EQ(at24(0, 16), hex("FFFFFFFFFFFF222222FFFFFFFFFFFFFF"));
}
