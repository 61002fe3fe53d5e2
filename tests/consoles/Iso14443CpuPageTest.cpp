#include "PageTest.h"
#include "QtPrinters.h"

#include "base/ProgramDirectory.h"
#include "consoles/CIso14443CpuPage.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

using enum CIso14443CpuPage::ControlId;

class Iso14443CpuPageTest : public PageTest<CIso14443CpuPage>
{
protected:
    // Every test starts from an empty book.
    void SetUp() override { QFile::remove(ProgramFilePath("cosbooks.txt")); }
    void TearDown() override { SetUp(); }
    CIso14443CpuPage &open(CardKind kind) { return PageTest::open(kind, CIso14443CpuPage::dialogTemplate(1280)); }
};

TEST_F(Iso14443CpuPageTest, EachCardTypeShowsItsControlsAndResetsItsFamily)
{
    const struct {
        CardKind cardType;
        const char *resetCaption;
        bool typeB;
        QStringList resetCalls;
        const char *csn, *pupi, *resetInfo;
    } cases[] = {
        {CardKind::MifarePro, "RstAll", false,
         {"rf_antenna_sta(0)", "rf_init_type(65)", "rf_antenna_sta(1)", "rf_typea_rst(82)"}, "5A10CB01", "",
         "0A788070025A54435055"},
        {CardKind::SmartCard, "Reset", true, {"rf_antenna_sta(0)", "rf_init_type(66)", "rf_antenna_sta(1)", "rf_atqb(0)"},
         "", "B0C1D2E3", "50B0C1D2E300000000008141"},
        {CardKind::MifareDesfire, "Reset", false,
         {"rf_antenna_sta(0)", "rf_init_type(65)", "rf_antenna_sta(1)", "rf_DESFire_rst(82)"}, "04D3F1E2A55B80", "",
         "067577810280"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.cardType));
        CIso14443CpuPage &page = open(c.cardType);
        EXPECT_EQ(page.caption(ResetButton), c.resetCaption);
        const bool proX = c.cardType == CardKind::MifarePro;
        for (auto [id, hidden] : {std::pair{ResetIdleButton, !proX}, {DeselectButton, !proX}, {CsnField, c.typeB},
                                  {CsnLabel, c.typeB}, {PupiField, !c.typeB}, {PupiLabel, !c.typeB}})
            EXPECT_EQ(page.control(id)->isHidden(), hidden) << id;
        EXPECT_TRUE(!c.typeB || page.control(PupiField)->geometry() == page.controlRect(CsnField));

        harness.reader().clearCalls();
        const auto waitsBefore = std::ptrdiff_t(harness.waits().size());
        click(ResetButton);
        EXPECT_EQ(calls(), c.resetCalls);
        EXPECT_EQ(std::vector<int>(harness.waits().begin() + waitsBefore, harness.waits().end()), (std::vector<int>{20, 20}));
        EXPECT_EQ((QStringList{text(CsnField), text(PupiField), text(ResetInfoField), harness.memo()}),
                  (QStringList{c.csn, c.pupi, c.resetInfo, "OK"}));
    }
    // A DESFire takes commands of any length, an empty one too, kept once as an empty line.
    harness.reader().clearCalls();
    setText(CommandField, "00a40400");
    click(SendButton);
    setText(CommandField, "");
    click(SendButton);
    click(SendButton);
    EXPECT_EQ(calls(), (QStringList{"rf_cos_command(4) 00A40400", "rf_cos_command(0)", "rf_cos_command(0)"}));
    EXPECT_EQ(page().book().book().GetLineCount(), 2);
    EXPECT_TRUE(harness.messageBoxes().empty());
}

TEST_F(Iso14443CpuPageTest, ThreeResetTriesThenTheAnswerIsSplitAfterTheSerialNumber)
{
    open(CardKind::MifarePro);
    harness.reader().setDefault("rf_typea_rst", {0x1, {}, -1, 0});
    click(ResetButton);
    EXPECT_EQ(harness.logLines().mid(3), (QStringList{"rf_typea_rst 1", "rf_typea_rst 1", "rf_typea_rst 1"}));
    EXPECT_EQ((QStringList{QString::number(harness.sounds()), harness.memo(), text(CsnField)}),
              (QStringList{"3", "Error: 1 ,function: rf_typea_rst", ""}));

    // A failed try, then a card answering only its serial number.
    harness.reader().setDefault("rf_typea_rst", {0, QByteArray::fromHex("A1B2C3D4"), -1, 0});
    harness.reader().scriptStatus("rf_typea_rst", 1);
    click(ResetButton);
    EXPECT_EQ((QStringList{text(CsnField), text(ResetInfoField), harness.memo()}), (QStringList{"A1B2C3D4", "", "OK"}));

    // Type B: an answer of another length than 12 bytes is a failed try, reported with status 0.
    open(CardKind::SmartCard);
    harness.reader().setDefault("rf_atqb", {0, QByteArray::fromHex("50B0C1D2E3000000"), -1, 0});
    click(ResetButton);
    EXPECT_EQ((QStringList{QString::number(harness.reader().callNames().count("rf_atqb")), harness.memo(), text(PupiField) + text(ResetInfoField)}),
              (QStringList{"3", "Error: 0 ,function: rf_atqb", ""}));
}

TEST_F(Iso14443CpuPageTest, RstIdlAndDeselectAreSingleCalls)
{
    open(CardKind::MifarePro);
    click(ResetIdleButton);
    EXPECT_EQ(text(CsnField), "5A10CB01");
    click(DeselectButton);
    EXPECT_EQ(calls(), (QStringList{"rf_typea_rst(38)", "rf_cl_deselect()"}));
}

} // namespace
