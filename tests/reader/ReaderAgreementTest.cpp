#include "FakeReader.h"

#include "reader/ReaderLibrary.h"

#include <QFile>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace {

// The answers the page tests take from the recording fake must be the simulated reader's: the
// same calls go to both, and both must agree.
enum class Reader { Fake, Simulator };

class ReaderAgreementTest : public ::testing::TestWithParam<Reader>
{
protected:
    void SetUp() override
    {
        if (GetParam() == Reader::Fake) {
            m_fake = std::make_unique<FakeReader>();
            return;
        }
        // The simulator's own default field: no scenario file.
        QFile::remove(qEnvironmentVariable("ZENTRAVA_SCENARIO"));
        // The library is built beside the tests: its absence is a failure, not a skip.
        ASSERT_TRUE(m_library.load(ReaderLibrary::defaultPath())) << "libZentrava.so beside the tests";
        ASSERT_EQ(ReaderApi.rf_init_com(1, 19200), 0);
    }
    void TearDown() override
    {
        if (m_library.isLoaded()) {
            ReaderApi.rf_close_com();
            m_library.free();
            EXPECT_EQ(ReaderApi.rf_init_com, nullptr) << "a freed library leaves nothing bound";
        }
    }

    std::unique_ptr<FakeReader> m_fake;
    ReaderLibrary m_library;
};

QByteArray bytes(const uint8_t *data, int count)
{
    return QByteArray(reinterpret_cast<const char *>(data), count);
}

TEST_P(ReaderAgreementTest, TheDefaultFieldAndReaderAnswerAlike)
{
    AnswerBuffer buffer{};
    uint8_t length = 0;

    ASSERT_EQ(ReaderApi.rf_request(0, 0x52, buffer.data()), 0);
    EXPECT_EQ(bytes(buffer.data(), 2).toHex(), "0200") << "a Mifare 4K card answers the request";
    ASSERT_EQ(ReaderApi.rf_anticoll(0, 4, buffer.data(), &length), 0);
    EXPECT_EQ(bytes(buffer.data(), length).toHex().toUpper(), "C0FFEE42");
    uint8_t size = 0;
    ASSERT_EQ(ReaderApi.rf_select(0, buffer.data(), 4, &size), 0);
    EXPECT_EQ(size, 0x18);
    const std::array<uint8_t, 6> factoryKey = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    ASSERT_EQ(ReaderApi.rf_M1_authentication2(0, 0x60, 4, factoryKey.data()), 0);
    ASSERT_EQ(ReaderApi.rf_M1_read(0, 4, buffer.data(), &length), 0);
    EXPECT_EQ(length, 16);

    ASSERT_EQ(ReaderApi.rf_request(0, 0x52, buffer.data()), 0);
    ASSERT_EQ(ReaderApi.rf_ul_select(0, buffer.data(), &length), 0);
    EXPECT_EQ(bytes(buffer.data(), length).toHex().toUpper(), "04A1B2C3D4E5F6");

    ASSERT_EQ(ReaderApi.rf_get_model(0, buffer.data(), &length), 0);
    EXPECT_EQ(bytes(buffer.data(), length), "ZT600F-SIM");
    uint32_t version = 0;
    ASSERT_EQ(ReaderApi.lib_ver(&version), 0);
    EXPECT_EQ(version, 1u);
}

INSTANTIATE_TEST_SUITE_P(BothReaders, ReaderAgreementTest, ::testing::Values(Reader::Fake, Reader::Simulator),
                         [](const auto &info) { return info.param == Reader::Fake ? "Fake" : "Simulator"; });

TEST(FakeReaderTest, EveryFunctionOfTheListIsPresentAndAnUnknownNameFailsTheTest)
{
    FakeReader reader;
    for (const ReaderEntryBinding &entry : ReaderEntryBindings)
        EXPECT_TRUE(*entry.name == '\0' || entry.load(ReaderApi) != nullptr) << entry.name;
    EXPECT_NONFATAL_FAILURE(reader.script("rf_M1_raed", {}), "no function named \"rf_M1_raed\"");
}

} // namespace
