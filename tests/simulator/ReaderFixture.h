#pragma once

#include "HexText.h"
#include "StatusCode.h"
#include "reader/ReaderFunctions.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

using zentrava::Bytes;
namespace status = zentrava::status;

// libZentrava.so loaded from the running executable's folder and bound by ordinal, the way the
// program binds it; the entries carry the names the program logs.
class ZentravaLibrary {
public:
    static ZentravaLibrary &instance()
    {
        static ZentravaLibrary library;
        return library;
    }
    static std::string programDirectory() { return std::filesystem::read_symlink("/proc/self/exe").parent_path(); }

    void *symbol(int ordinal) const { return dlsym(m_handle, ("Zentrava_" + std::to_string(ordinal)).c_str()); }
    void *handle() const { return m_handle; }
    std::string path() const { return programDirectory() + "/libZentrava.so"; }

#define ZENTRAVA_DECLARE(ordinal, name, presence, params, args, buffers) int32_t(ZENTRAVA_CALL *name) params = nullptr;
#define ZENTRAVA_NO_ENTRY(ordinal, presence)
    ZENTRAVA_READER_FUNCTIONS(ZENTRAVA_DECLARE, ZENTRAVA_NO_ENTRY)
#undef ZENTRAVA_DECLARE

private:
    ZentravaLibrary() : m_handle(dlopen(path().c_str(), RTLD_NOW | RTLD_LOCAL))
    {
        if (!m_handle)
            throw std::runtime_error(std::string("cannot load libZentrava.so: ") + dlerror());
#define ZENTRAVA_BIND(ordinal, name, presence, params, args, buffers)                                                  \
    if (!(name = reinterpret_cast<decltype(name)>(symbol(ordinal))))                                                   \
        throw std::runtime_error("libZentrava.so lacks ordinal " #ordinal);
        ZENTRAVA_READER_FUNCTIONS(ZENTRAVA_BIND, ZENTRAVA_NO_ENTRY)
#undef ZENTRAVA_BIND
#undef ZENTRAVA_NO_ENTRY
    }
    void *m_handle;
};

// What zentrava-sim, as the operator runs it, answered.
struct SimToolOutcome { int exitCode; std::string output; };

// A test against the simulated reader through its exported entry points: the port open on COM1
// and the field on in type A mode, as the pages leave it. Each test has a private folder: the
// scenario file and the configuration home point into it, so tests running in parallel never
// share a scenario; the folder goes with the test.
class ReaderFixture : public ::testing::Test {
protected:
    static constexpr uint8_t RequestAll = 0x52;
    static constexpr uint8_t RequestIdle = 0x26;
    static constexpr uint8_t KeyA = 0x60;
    static constexpr uint8_t KeyB = 0x61;

    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zentrava-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        setenv("ZENTRAVA_SCENARIO", scenarioPath().c_str(), 1);
        setenv("XDG_CONFIG_HOME", (m_folder + "/config").c_str(), 1);
        api.rf_close_com();
        ASSERT_EQ(api.rf_init_com(1, 115200), status::Ok);
        radio('A');
    }
    void TearDown() override
    {
        api.rf_close_com();
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    const std::string &folder() const { return m_folder; }
    std::string scenarioPath() const { return m_folder + "/scenario.json"; }
    bool scenarioExists() const { return std::filesystem::exists(scenarioPath()); }
    // Written beside and renamed, as the library must never read half a file.
    static void writeFile(const std::string &path, const std::string &content)
    {
        std::ofstream(path + ".new", std::ios::binary) << content;
        std::filesystem::rename(path + ".new", path);
    }
    static std::string readFile(const std::string &path)
    {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }
    void writeScenario(const std::string &content) const { writeFile(scenarioPath(), content); }
    std::string readScenario() const { return readFile(scenarioPath()); }

    static Bytes hex(const char *text) { return *zentrava::fromHex(text); }
    // zentrava-sim, the one built beside this test, on the test's scenario.
    static SimToolOutcome tool(const std::string &arguments)
    {
        FILE *pipe = popen(("'" + ZentravaLibrary::programDirectory() + "/zentrava-sim' " + arguments + " 2>&1").c_str(), "r");
        std::string output;
        char buffer[4096];
        for (std::size_t count; (count = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            output.append(buffer, count);
        const int statusCode = pclose(pipe);
        return {WIFEXITED(statusCode) ? WEXITSTATUS(statusCode) : -1, output};
    }
    // zentrava-sim ends with the exit code, its output holding the text.
    static void expectTool(const std::string &arguments, int exitCode, const std::string &text = "")
    {
        const SimToolOutcome outcome = tool(arguments);
        EXPECT_EQ(outcome.exitCode, exitCode) << arguments << ": " << outcome.output;
        EXPECT_NE(outcome.output.find(text), std::string::npos) << arguments << ": " << outcome.output;
    }
    static bool shown(const std::string &text, const std::string &arguments = "show")
    {
        return tool(arguments).output.find(text) != std::string::npos;
    }
    bool saved(const std::string &text) const { return readScenario().find(text) != std::string::npos; }

    // A scenario file whose field holds the given JSON array of cards, or whose slot the card.
    void useField(const std::string &cards) const { writeScenario(R"({"reader": {"port": 1}, "field": )" + cards + "}"); }
    void useSlot(const std::string &card) const { useField("[], \"contactSlot\": " + card); }
    // A page's change of radio mode: field off, the mode, field on.
    void radio(uint8_t mode)
    {
        ASSERT_EQ(api.rf_antenna_sta(0, 0), status::Ok);
        ASSERT_EQ(api.rf_init_type(0, mode), status::Ok);
        ASSERT_EQ(api.rf_antenna_sta(0, 1), status::Ok);
    }

    // rf_request's status; the answered tag type stays in tagType.
    int32_t request(uint8_t mode = RequestAll) { return api.rf_request(0, mode, tagType); }

    // rf_atqb's status: request B (mode 0) or wake-up B.
    int32_t requestB(uint8_t mode = 0) { return answer(api.rf_atqb, mode).first; }
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
    // The contact slot's EEPROM read, which must succeed.
    Bytes at24(int32_t address, int32_t count)
    {
        Bytes data(1024, 0);
        EXPECT_EQ(api.AT24_read(0, address, count, data.data()), status::Ok);
        data.resize(std::size_t(count));
        return data;
    }
    // rf_M1_read's status and the 16 bytes.
    std::pair<int32_t, Bytes> readBlock(uint8_t block)
    {
        auto read = answer(api.rf_M1_read, block);
        EXPECT_TRUE(read.first != status::Ok || read.second.size() == 16u) << read.second.size() << " bytes";
        read.second.resize(16);
        return read;
    }

    // An entry point that answers into a buffer and its length: the status and the answer.
    template <class Function, class... Arguments> static std::pair<int32_t, Bytes> answer(Function function, Arguments... arguments)
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

private:
    std::string m_folder;
};
