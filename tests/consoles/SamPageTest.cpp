#include "PageTest.h"
#include "QtPrinters.h"

#include "base/ProgramDirectory.h"
#include "consoles/CSamPage.h"
#include "controls/CHexEdit.h"
#include "reader/RuntimeState.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

using enum CSamPage::ControlId;

class SamPageTest : public PageTest<CSamPage>
{
protected:
    void SetUp() override { open(CSamPage::dialogTemplate(1280)); }
    void TearDown() override { m_page.reset(), QFile::remove(ProgramFilePath("samcosbooks.txt")); }
};

// The DES half needs no port and leaves the log alone; its checks come before the call.
TEST_F(SamPageTest, TheDesHalfChecksKeyAndDataThenCiphersWithThePortClosed)
{
    PortOpen = false;
    const QString key = "0123456789ABCDEF", key2 = "FEDCBA9876543210", data = "4E6F772069732074";
    const QString keyLength = "Input 8 or 16 byte in key text please!";
    const QString dataLength = "Data length in data area must be multiple of 8 bytes!";
    const struct {
        QString key, key2, data;
        int button;
        QString outcome; // the call, or the box that refuses it
        int32_t status = 0;
    } cases[] = {
        {key, "", data, EncryptButton, "des_encrypt(8,8) " + data + key},
        {key, key2, data, DecryptButton, "des_decrypt(8,16) " + data + key + key2},
        {key, "", data + "1", EncryptButton, "des_encrypt(8,8) " + data + key}, // an odd trailing digit is no byte
        {"0123456789ABCD", key2, data, EncryptButton, keyLength},
        {key, "FEDCBA98", data, EncryptButton, keyLength},
        {key, "", data + "01", EncryptButton, dataLength}, // one byte past a block
        {key, "", "", DecryptButton, dataLength},
        // A cipher that fails leaves its zero-filled buffer unshown.
        {key, "", data, DecryptButton, "des_decrypt(8,8) " + data + key, 6},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.outcome.toStdString());
        reader().clearCalls();
        const bool called = c.outcome.startsWith(u"des_");
        if (called)
            reader().script(c.button == EncryptButton ? "des_encrypt" : "des_decrypt",
                            {c.status, c.status ? QByteArray(8, '\0') : QByteArray::fromHex("3FA40E8A984D4815"), -1, 0});
        page().hexEdit(ResultField)->setText("AA");
        setText(KeyField, c.key);
        setText(SecondKeyField, c.key2);
        setText(DataField, c.data);
        const std::size_t boxes = harness.messageBoxes().size();
        click(c.button);
        EXPECT_EQ(calls(), called ? QStringList{c.outcome} : QStringList());
        ASSERT_EQ(harness.messageBoxes().size(), boxes + (called ? 0 : 1));
        EXPECT_TRUE(called || harness.messageBoxes().back().text == c.outcome);
        EXPECT_EQ(text(ResultField), !called ? "AA" : c.status == 0 ? "3FA40E8A984D4815" : "");
    }
    EXPECT_TRUE(harness.logLines().isEmpty());
    // Only the failure is reported, under the function's name.
    EXPECT_EQ(harness.memo() + QString::number(harness.sounds()), "Error: 6 ,function: des_decrypt1");

    // 64 bytes, the field's limit, are taken.
    reader().clearCalls();
    setText(DataField, QString(128, u'1'));
    click(EncryptButton);
    EXPECT_EQ(reader().calls().at(0).args, (std::vector<int64_t>{64, 8}));
}

TEST_F(SamPageTest, ResetUsesTheChosenRateAndStopsWhenTheSamSlotFails)
{
    EXPECT_TRUE(page().button(Baud9600Radio)->isChecked());
    click(ResetButton);
    click(Baud38400Radio);
    click(ResetButton);
    EXPECT_EQ(calls(), (QStringList{"rf_init_sam(0)", "rf_sam_rst()", "rf_init_sam(1)", "rf_sam_rst()"}));
    EXPECT_EQ(harness.memo(), "OK");

    reader().clearCalls();
    reader().scriptStatus("rf_init_sam", 3);
    click(ResetButton);
    EXPECT_EQ(calls(), QStringList{"rf_init_sam(1)"});
    EXPECT_EQ(text(ResetInfoField), "");
}

} // namespace
