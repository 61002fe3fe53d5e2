#pragma once

#include "HexText.h"
#include "ScenarioSandbox.h"
#include "StatusCode.h"
#include "ZentravaLibrary.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>

using zentrava::Bytes;
namespace status = zentrava::status;

// zentrava-sim as the operator runs it, the one built beside this test, on the sandbox's scenario.
struct SimToolOutcome {
    int exitCode;
    std::string output;
};

inline SimToolOutcome runSimTool(const std::string &arguments)
{
    const std::string command = "'" + ZentravaLibrary::programDirectory() + "/zentrava-sim' " + arguments + " 2>&1";
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return {-1, "cannot start the tool"};
    std::string output;
    char buffer[4096];
    std::size_t count;
    while ((count = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, count);
    const int statusCode = pclose(pipe);
    return {WIFEXITED(statusCode) ? WEXITSTATUS(statusCode) : -1, output};
}

// A test against the simulated reader through its exported entry points: a sandboxed scenario,
// the port open on COM1 and the field on in type A mode, as the pages leave it.
class ReaderFixture : public ::testing::Test {
protected:
    static constexpr uint8_t RequestAll = 0x52;
    static constexpr uint8_t RequestIdle = 0x26;
    static constexpr uint8_t KeyA = 0x60;
    static constexpr uint8_t KeyB = 0x61;

    void SetUp() override
    {
        api.rf_close_com();
        ASSERT_EQ(api.rf_init_com(1, 115200), status::Ok);
        ASSERT_EQ(api.rf_antenna_sta(0, 1), status::Ok);
        ASSERT_EQ(api.rf_init_type(0, 'A'), status::Ok);
    }
    void TearDown() override { api.rf_close_com(); }

    static Bytes hex(const char *text) { return *zentrava::fromHex(text); }

    static SimToolOutcome tool(const std::string &arguments) { return runSimTool(arguments); }
    // What `zentrava-sim fault` lists contains the text.
    static bool faultListed(const std::string &text) { return tool("fault").output.find(text) != std::string::npos; }

    // A scenario file whose field holds the given JSON array of cards.
    void useField(const std::string &cards) const
    {
        sandbox.writeScenario(R"({"reader": {"port": 1}, "field": )" + cards + "}");
    }
    // A scenario file with an empty field and the given card in the contact slot.
    void useSlot(const std::string &card) const
    {
        sandbox.writeScenario(R"({"reader": {"port": 1}, "field": [], "contactSlot": )" + card + "}");
    }
    // A page's change of radio mode: field off, the mode, field on.
    void radio(uint8_t mode)
    {
        ASSERT_EQ(api.rf_antenna_sta(0, 0), status::Ok);
        ASSERT_EQ(api.rf_init_type(0, mode), status::Ok);
        ASSERT_EQ(api.rf_antenna_sta(0, 1), status::Ok);
    }

    // rf_request's status; the answered tag type stays in tagType.
    int32_t request(uint8_t mode = RequestAll) { return api.rf_request(0, mode, tagType); }
    Bytes tagTypeBytes() const { return Bytes(tagType, tagType + 2); }

    // The Mifare Standard page's selection: request all, anticollision, select.
    Bytes selectMifare(uint8_t mode = RequestAll)
    {
        uint8_t size = 0;
        EXPECT_EQ(request(mode), status::Ok);
        const auto [result, serial] = answer(api.rf_anticoll, 4);
        EXPECT_EQ(result, status::Ok);
        EXPECT_EQ(api.rf_select(0, serial.data(), uint8_t(serial.size()), &size), status::Ok);
        return serial;
    }

    int32_t authenticate(uint8_t block, uint8_t mode = KeyA, const Bytes &key = Bytes(6, 0xFF))
    {
        return api.rf_M1_authentication2(0, mode, block, key.data());
    }
    // Select the card again and authenticate, as the page does after a failure.
    int32_t reselectAndAuthenticate(uint8_t block, uint8_t mode = KeyA, const Bytes &key = Bytes(6, 0xFF))
    {
        selectMifare();
        return authenticate(block, mode, key);
    }

    // rf_M1_read's status and the 16 bytes.
    std::pair<int32_t, Bytes> readBlock(uint8_t block)
    {
        uint8_t data[1024] = {};
        uint8_t len = 0;
        const int32_t result = api.rf_M1_read(0, block, data, &len);
        if (result == status::Ok) {
            EXPECT_EQ(len, 16);
        }
        return {result, Bytes(data, data + 16)};
    }

    // An entry point that answers into a buffer and its length: the status and the answer.
    template <class Function, class... Arguments>
    static std::pair<int32_t, Bytes> answer(Function function, Arguments... arguments)
    {
        uint8_t data[1024] = {};
        uint8_t len = 0;
        const int32_t result = function(0, arguments..., data, &len);
        return {result, Bytes(data, data + len)};
    }
    // The same for a command given in hex, the answer in hex too.
    template <class Function> static std::pair<int32_t, std::string> exchange(Function function, const char *command)
    {
        const Bytes bytes = hex(command);
        const auto [result, data] = answer(function, bytes.data(), static_cast<int32_t>(bytes.size()));
        return {result, zentrava::toHex(data)};
    }

    ZentravaLibrary &api = ZentravaLibrary::instance();
    uint8_t tagType[2] = {};
    ScenarioSandbox sandbox;
};
