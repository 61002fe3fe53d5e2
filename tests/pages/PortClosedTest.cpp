#include "PageHarness.h"
#include "QtPrinters.h"

#include "app/CardPages.h"
#include "base/CardTypes.h"
#include "base/ProgramDirectory.h"
#include "consoles/CCpuCardPage.h"
#include "consoles/CIso14443CpuPage.h"
#include "consoles/CSamPage.h"
#include "consoles/CTransceivePage.h"
#include "pages/CAt1608Page.h"
#include "pages/CAt88rf020Page.h"
#include "pages/CMifareS50Page.h"
#include "pages/CPortSetPage.h"
#include "pages/CSr176Page.h"
#include "pages/CSrix4kPage.h"
#include "pages/CTrh1064Page.h"
#include "pages/CUltraLightPage.h"
#include "reader/RuntimeState.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <set>
#include <utility>

namespace {

using enum CardKind;

// Buttons that reach the reader with the port closed: the SAM page's DES half ciphers on the
// host, the port page connects and reads and sets the clock, and the TRH1064 page authenticates,
// reads and writes without a port check. The consoles' pickers open a modal list of the book.
const std::set<std::pair<CardKind, int>> NotPressed = {
    {Sam, CSamPage::EncryptButton},
    {Sam, CSamPage::DecryptButton},
    {PortPage, CPortSetPage::ConnectButton},
    {PortPage, CPortSetPage::ClockRead},
    {PortPage, CPortSetPage::ClockWrite},
    {Trh1064, CTrh1064Page::AuthenticateButton},
    {Trh1064, CTrh1064Page::ReadButton},
    {Trh1064, CTrh1064Page::WriteButton},
    {MifarePro, CIso14443CpuPage::PickerButton},
    {SmartCard, CIso14443CpuPage::PickerButton},
    {MifareDesfire, CIso14443CpuPage::PickerButton},
    {CpuCard, CCpuCardPage::PickerButton},
    {Sam, CSamPage::PickerButton},
    {Test, CTransceivePage::PickerButton},
};
// Buttons that never reach the reader: the consoles' Clear empties the answer list, and the
// AT88SC1608 page's hidden Initialize does nothing.
const std::set<std::pair<CardKind, int>> NoReaderCall = {
    {MifarePro, CIso14443CpuPage::ClearButton}, {SmartCard, CIso14443CpuPage::ClearButton},
    {MifareDesfire, CIso14443CpuPage::ClearButton}, {CpuCard, CCpuCardPage::ClearButton},
    {Sam, CSamPage::ClearButton}, {Test, CTransceivePage::ClearButton},
    {At88sc1608, CAt1608Page::InitializeButton},
};
// Fields a button empties before its port check, and fields it must leave alone.
const struct {
    CardKind cardType;
    int button, field;
    bool emptied;
} FieldsAtPortCheck[] = {
    {MifareUltraLight, CUltraLightPage::RequestAllButton, CUltraLightPage::SerialField, true},
    {MifareUltraLight, CUltraLightPage::RequestIdleButton, CUltraLightPage::SerialField, true},
    {MifareStdS50, CMifareStdPage::RequestButton, CMifareStdPage::SerialField, false},
    {MifareStdS50, CMifareS50Page::ReqIdlButton, CMifareStdPage::SerialField, false},
    {At88rf020, CAt88rf020Page::ReqBButton, CAt88rf020Page::pageField(7), true},
    {Sr176, CSr176Page::RequestButton, CSr176Page::ChipIdField, true},
    {Srix4k, CSrix4kPage::RequestButton, CSrix4kPage::ChipIdField, true},
    {Trh1064, CTrh1064Page::SearchButton, CTrh1064Page::Page3Field, true},
    {CpuCard, CCpuCardPage::ResetButton, CCpuCardPage::ResetInfoField, false},
    {At88sc1608, CAt1608Page::ReadFuseButton, CAt1608Page::FuseField, true},
};

CCardPage *openPage(CardKind kind)
{
    if (kind == PortPage)
        return new CPortSetPage();
    return CreateCardPage(kind, 1280, nullptr);
}

// Every page button, pressed with the port closed, calls nothing, logs nothing, asks nothing and
// says "Port did't opened" with the question sound; the few that need no port are named above.
TEST(PortClosed, NoPageButtonCallsTheReader)
{
    std::vector<CardKind> cardTypes{PortPage};
    for (CardKind kind : TableCardKinds) {
        if (HasCardPage(kind))
            cardTypes.push_back(kind);
    }
    int pressed = 0;
    std::size_t watchedFields = 0;
    for (CardKind cardType : cardTypes) {
        PageHarness harness;
        PortOpen = false;
        std::unique_ptr<CCardPage> page(openPage(cardType));
        for (QWidget *control : page->controls()) {
            auto *button = qobject_cast<QPushButton *>(control);
            if (button == nullptr || !button->isEnabled())
                continue;
            const int id = button->objectName().mid(2).toInt();
            const std::pair key{cardType, id};
            if (NotPressed.contains(key))
                continue;
            SCOPED_TRACE(QStringLiteral("card type %1, button %2").arg(int(cardType)).arg(id).toStdString());
            const auto watched = std::find_if(std::begin(FieldsAtPortCheck), std::end(FieldsAtPortCheck),
                                              [&](const auto &row) { return row.cardType == cardType && row.button == id; });
            const bool watching = watched != std::end(FieldsAtPortCheck);
            if (watching) {
                page->findChild<QLineEdit *>(QStringLiteral("id%1").arg(watched->field))->setText("11");
                ++watchedFields;
            }
            harness.infoBar().showMemo(QString());
            harness.reader().clearCalls();
            const std::size_t boxes = harness.messageBoxes().size();
            const int sounds = harness.sounds();
            button->click();
            ++pressed;
            EXPECT_TRUE(harness.reader().calls().empty());
            EXPECT_TRUE(harness.logLines().isEmpty());
            EXPECT_EQ(harness.messageBoxes().size(), boxes);
            const bool refused = !NoReaderCall.contains(key);
            EXPECT_EQ(harness.memo(), refused ? "Error: Port did't opened" : "");
            EXPECT_EQ(harness.sounds(), sounds + (refused ? 1 : 0));
            if (watching) {
                EXPECT_EQ(PageHarness::text(page.get(), watched->field), watched->emptied ? "" : "11");
            }
        }
    }
    EXPECT_EQ(watchedFields, std::size(FieldsAtPortCheck));
    EXPECT_GT(pressed, 80) << "pressed " << pressed;
    for (const char *book : {"cosbooks.txt", "cpubooks.txt", "samcosbooks.txt", "testcmdbooks.txt"})
        QFile::remove(ProgramFilePath(QString::fromLatin1(book)));
}

} // namespace
