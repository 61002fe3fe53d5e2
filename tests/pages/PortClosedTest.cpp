#include "PageChecks.h"

#include "app/CardPages.h"
#include "base/CardTypes.h"
#include "base/ProgramDirectory.h"
#include "controls/CHexEdit.h"
#include "consoles/CCpuCardPage.h"
#include "consoles/CIso14443CpuPage.h"
#include "consoles/CSamPage.h"
#include "consoles/CTransceivePage.h"
#include "pages/CAt1608Page.h"
#include "pages/CAt88rf020Page.h"
#include "pages/CIso15693Page.h"
#include "pages/CMifareS50Page.h"
#include "pages/CPortSetPage.h"
#include "pages/CShc1102Page.h"
#include "pages/CSr176Page.h"
#include "pages/CSrf55vPage.h"
#include "pages/CSrix4kPage.h"
#include "pages/CTrh1064Page.h"
#include "pages/CUltraLightPage.h"
#include "reader/RuntimeState.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <iterator>
#include <memory>
#include <set>
#include <utility>
#include <vector>

// What a page's buttons refuse before the reader hears of them: a closed port, and fields that are
// empty, short or too long.
namespace {

using enum CardKind;

// Buttons that reach the reader with the port closed: the SAM page's DES half ciphers on the
// host, the port page connects and reads and sets the clock, and the TRH1064 page authenticates,
// reads and writes without a port check. The consoles' pickers open a modal list of the book.
const std::set<std::pair<CardKind, int>> NotPressed = {
    {Sam, CSamPage::EncryptButton}, {Sam, CSamPage::DecryptButton}, {PortPage, CPortSetPage::ConnectButton},
    {PortPage, CPortSetPage::ClockRead}, {PortPage, CPortSetPage::ClockWrite}, {Trh1064, CTrh1064Page::AuthenticateButton},
    {Trh1064, CTrh1064Page::ReadButton}, {Trh1064, CTrh1064Page::WriteButton}, {MifarePro, CIso14443CpuPage::PickerButton},
    {SmartCard, CIso14443CpuPage::PickerButton}, {MifareDesfire, CIso14443CpuPage::PickerButton},
    {CpuCard, CCpuCardPage::PickerButton}, {Sam, CSamPage::PickerButton}, {Test, CTransceivePage::PickerButton},
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
            EXPECT_EQ(harness.reader().trace() + harness.logLines(), QStringList{});
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

// One bad field per row, typed (or chosen, in a list) on a fresh page before its button is
// pressed: the button shows its message box (none for a silent refusal) and calls nothing after
// `lastCall`, the call it had made before the check.
struct FieldCheck {
    CardKind kind;
    std::vector<std::pair<int, QString>> fields;
    int button;
    const char *box; // null: refused without a word
    QString lastCall;
    bool warning = false;
};

std::vector<FieldCheck> fieldChecks()
{
    const MifarePanel &panel = CMifareS50Page::layout().panels[0];
    const QString key = QStringLiteral("ffffffffffff"), page8 = QStringLiteral("1111111111111111"),
                  page7 = page8.left(15), uid7 = QStringLiteral("E0040100000000");
    constexpr auto trhPage1 = CTrh1064Page::Page1Fields;
    using M = CMifareStdPage;
    using I = CIso15693Page;
    using T = CTrh1064Page;
    using A = CAt1608Page;
    using R = CAt88rf020Page;
    return {
        {MifareStdS50, {{panel.keyField, "a0a1a2a3a4a"}}, panel.readButton, "Input 6 bytes in key text please!", "rf_select(4) C0FFEE42"},
        {MifareStdS50, {{M::PurseKeyField, key}}, M::InitializeButton, "Input date please!", "rf_M1_authentication2(96,0) FFFFFFFFFFFF", true},
        {MifareStdS50, {{M::PurseKeyField, key}, {M::DecimalValueField, "-1"}}, M::DecrementButton, "Input date please!",
         "rf_M1_authentication2(96,0) FFFFFFFFFFFF", true},
        {IcodeSli, {}, I::InformationButton, "UID length error!", "rf_init_type(49)"},
        {IcodeSli, {{I::UidFields[0], uid7}}, I::InformationButton, "UID length error!", "rf_init_type(49)"},
        {IcodeSli, {{I::UidFields[0], uid7}}, I::ReadButton, "UID length error!", ""},
        {TagIt, {{I::UidFields[0], uid7 + "01"}}, I::WriteDsfidButton, "Input data in DSFID text please!", ""},
        {TagIt, {{I::UidFields[0], uid7 + "01"}}, I::WriteAfiButton, "Input data in AFI text please!", ""},
        {Srf55v02p, {}, CSrf55vPage::ReadButton, "UID length error!", ""},
        {Trh1064, {{T::KeyField, "010203040506070"}}, T::AuthenticateButton, "Input 8 byte in key text please!", ""},
        {Trh1064, {{T::Page0Field, page7}}, T::WriteButton, "Input 8 byte in page0 text please!", ""},
        {Trh1064, {{T::PageList, "Page1"}, {trhPage1[0], page8}, {trhPage1[1], page8}, {trhPage1[2], page7},
                   {trhPage1[3], page8}, {trhPage1[4], page8}}, T::WriteButton, "Input 40 byte in page1 text please!", ""},
        {Trh1064, {{T::PageList, "Page2"}, {T::Page2Field, page7}}, T::WriteButton, "Input 8 byte in page2 text please!", ""},
        {Trh1064, {{T::PageList, "Page3"}, {T::Page3Field, page7}}, T::WriteButton, "Input 8 byte in page3 text please!", ""},
        {At88sc1608, {{A::GcField, page8.left(14)}, {A::Q0Field, page8}}, A::AuthenticateButton, "GInput 8 byte in Gc text please!", ""},
        {At88sc1608, {{A::GcField, page8}, {A::Q0Field, page8.left(14)}}, A::AuthenticateButton, "Input 8 byte in Q0 text please!", ""},
        {At88sc1608, {{A::SecureCodeField, "ffff"}}, A::ReadConfigurationButton, "Input 3 byte key please!", ""},
        {At88rf020, {{R::PasswordField, "11223344"}}, R::CheckButton, "Input 8 byte in key text please!", ""},
        {At88rf020, {{R::LockField, "112233"}}, R::LockButton, "Input 4 byte in Lock text please!", ""},
        {At88rf020, {{R::SignatureField, "1122"}}, R::CountButton, "Input 6 byte in Signature text please!", ""},
        {PortPage, {{CPortSetPage::DeviceNumberField, "12"}}, CPortSetPage::DeviceNumberWrite, "Input 2 byte in DeveicID text please!", ""},
        {PortPage, {}, CPortSetPage::DeviceNumberWrite, "Input 2 byte in DeveicID text please!", ""},
        {Shc1102, {{CShc1102Page::BlockList, "3"}, {CShc1102Page::PasswordField, "FFFFFF"}}, CShc1102Page::WriteButton,
         "Input key please", "rf_request(82)"},
        {Sr176, {{CSr176Page::BlockList, "14"}, {CSr176Page::FirstBlockField + 14, "ab"}}, CSr176Page::WriteButton, nullptr, ""},
        {Sr176, {}, CSr176Page::LockButton, nullptr, ""},
        {Srix4k, {{CSrix4kPage::BlockList, "127"}, {CSrix4kPage::FirstBlockField + 127, "abab"}}, CSrix4kPage::WriteButton, nullptr, ""},
        {Srix4k, {}, CSrix4kPage::LockButton, nullptr, ""},
    };
}

TEST(FieldChecks, AnEmptyOrShortFieldIsRefusedWithItsMessageBeforeTheReaderHearsOfIt)
{
    for (const FieldCheck &row : fieldChecks()) {
        SCOPED_TRACE(QStringLiteral("card type %1, button %2").arg(int(row.kind)).arg(row.button).toStdString());
        PageHarness harness;
        std::unique_ptr<CCardPage> page(openPage(row.kind));
        // The UID fields take no typing: the inventory fills them.
        for (const auto &[id, value] : row.fields) {
            CHexEdit *edit = page->hexEdit(id);
            if (page->comboBox(id) != nullptr)
                PageHarness::choose(page.get(), id, value);
            else if (edit != nullptr && edit->IsInputLocked())
                edit->setText(value);
            else
                PageHarness::setText(page.get(), id, value);
        }
        PageHarness::click(page.get(), row.button);
        EXPECT_EQ(pagechecks::boxTexts(harness), row.box != nullptr ? QStringList{row.box} : QStringList{});
        const MessageBoxRequest shown{nullptr, row.box, row.warning ? "Warning" : "Error",
                                      row.warning ? MessageIcon::Warning : MessageIcon::Error, MessageButtons::Ok};
        if (row.box != nullptr && !harness.messageBoxes().empty()) {
            EXPECT_EQ(pagechecks::boxOf(harness.messageBoxes().front()), pagechecks::boxOf(shown));
        }
        const QStringList calls = harness.reader().trace();
        EXPECT_EQ(calls.isEmpty() ? QString() : calls.last(), row.lastCall);
        if (calls.isEmpty()) {
            EXPECT_EQ(harness.memo(), "");
        }
    }
}

} // namespace
