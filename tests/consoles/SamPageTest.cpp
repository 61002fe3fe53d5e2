#include "PageHarness.h"
#include "QtPrinters.h"

#include "base/ProgramDirectory.h"
#include "consoles/CSamPage.h"
#include "controls/CHexEdit.h"
#include "reader/RuntimeState.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

using enum CSamPage::ControlId;

// The DES half needs no port and leaves the log alone; its checks come before the call.
TEST(SamPage, TheDesHalfChecksKeyAndDataThenCiphersWithThePortClosed)
{
    PageHarness harness;
    QFile::remove(ProgramFilePath("samcosbooks.txt"));
    PortOpen = false;
    const struct {
        const char *key, *key2, *data;
        int button;
        const char *message; // nullptr: the cipher is called
        const char *call;
        int32_t status = 0; // the cipher's
    } cases[] = {
        {"0123456789ABCDEF", "", "4E6F772069732074", EncryptButton, nullptr,
         "des_encrypt(8,8) 4E6F7720697320740123456789ABCDEF"},
        {"0123456789ABCDEF", "FEDCBA9876543210", "4E6F772069732074", DecryptButton, nullptr,
         "des_decrypt(8,16) 4E6F7720697320740123456789ABCDEFFEDCBA9876543210"},
        {"0123456789ABCDEF", "", "4E6F7720697320741", EncryptButton, nullptr,
         "des_encrypt(8,8) 4E6F7720697320740123456789ABCDEF"},
        {"0123456789ABCD", "FEDCBA9876543210", "4E6F772069732074", EncryptButton,
         "Input 8 or 16 byte in key text please!", ""},
        {"0123456789ABCDEF", "FEDCBA98", "4E6F772069732074", EncryptButton, "Input 8 or 16 byte in key text please!",
         ""},
        {"0123456789ABCDEF", "", "4E6F7720697320740102030405", EncryptButton,
         "Data length in data area must be multiple of 8 bytes!", ""},
        {"0123456789ABCDEF", "", "", DecryptButton, "Data length in data area must be multiple of 8 bytes!", ""},
        // A cipher that fails leaves its zero-filled buffer unshown.
        {"0123456789ABCDEF", "", "4E6F772069732074", DecryptButton, nullptr,
         "des_decrypt(8,8) 4E6F7720697320740123456789ABCDEF", 6},
    };
    {
        CSamPage page(CSamPage::dialogTemplate(1280));
        for (const auto &c : cases) {
            SCOPED_TRACE(c.data);
            harness.reader().clearCalls();
            if (c.message == nullptr) {
                const QByteArray answer = c.status == 0 ? QByteArray::fromHex("3FA40E8A984D4815") : QByteArray(8, '\0');
                harness.reader().script(c.button == EncryptButton ? "des_encrypt" : "des_decrypt", {c.status, answer, -1, 0});
            }
            page.hexEdit(ResultField)->setText("AA");
            PageHarness::setText(&page, KeyField, c.key);
            PageHarness::setText(&page, SecondKeyField, c.key2);
            PageHarness::setText(&page, DataField, c.data);
            const std::size_t boxes = harness.messageBoxes().size();
            PageHarness::click(&page, c.button);
            if (c.message == nullptr) {
                // A trailing odd digit is not a byte of the data.
                EXPECT_EQ(harness.reader().trace(), QStringList{c.call});
                EXPECT_EQ(PageHarness::text(&page, ResultField), c.status == 0 ? "3FA40E8A984D4815" : "");
            } else {
                EXPECT_TRUE(harness.reader().calls().empty());
                ASSERT_EQ(harness.messageBoxes().size(), boxes + 1);
                EXPECT_EQ(harness.messageBoxes().back().text, c.message);
                EXPECT_EQ(PageHarness::text(&page, ResultField), "AA");
            }
        }
        EXPECT_TRUE(harness.logLines().isEmpty());
        // Only the failure is reported, under the function's name.
        EXPECT_EQ(harness.memo(), "Error: 6 ,function: des_decrypt");
        EXPECT_EQ(harness.sounds(), 1);

        // 64 bytes, the field's limit, are taken.
        harness.reader().clearCalls();
        PageHarness::setText(&page, DataField, QString(128, QLatin1Char('1')));
        PageHarness::click(&page, EncryptButton);
        EXPECT_EQ(harness.reader().calls().at(0).args, (std::vector<int64_t>{64, 8}));
    }
    QFile::remove(ProgramFilePath("samcosbooks.txt"));
}

TEST(SamPage, ResetUsesTheChosenRateAndSendReportsItsOwnSuccess)
{
    PageHarness harness;
    {
        CSamPage page(CSamPage::dialogTemplate(1280));
        EXPECT_TRUE(page.button(Baud9600Radio)->isChecked());
        PageHarness::click(&page, ResetButton);
        PageHarness::click(&page, Baud38400Radio);
        PageHarness::click(&page, ResetButton);
        EXPECT_EQ(harness.reader().trace(),
                  (QStringList{"rf_init_sam(0)", "rf_sam_rst()", "rf_init_sam(1)", "rf_sam_rst()"}));
        EXPECT_EQ(harness.memo(), "OK");

        harness.reader().clearCalls();
        harness.reader().scriptStatus("rf_init_sam", 3);
        PageHarness::click(&page, ResetButton);
        EXPECT_EQ(harness.reader().trace(), QStringList{"rf_init_sam(1)"});
        EXPECT_EQ(PageHarness::text(&page, ResetInfoField), "");
    }
    QFile::remove(ProgramFilePath("samcosbooks.txt"));
}

} // namespace
