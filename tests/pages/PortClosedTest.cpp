#include "PageHarness.h"
#include "QtPrinters.h"

#include "app/CardPages.h"
#include "base/CardTypes.h"
#include "base/ProgramDirectory.h"
#include "pages/CPortSetPage.h"
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
    {Sam, 1066}, {Sam, 1067}, {PortPage, 1053}, {PortPage, 1186}, {PortPage, 1187}, {Trh1064, 1011}, {Trh1064, 1063},
    {Trh1064, 1064}, {MifarePro, 1063}, {SmartCard, 1063}, {MifareDesfire, 1063}, {CpuCard, 1065}, {Sam, 1065}, {Test, 1066},
};
// Buttons that never reach the reader: the consoles' Clear empties the answer list, and the
// AT88SC1608 page's hidden Initialize does nothing.
const std::set<std::pair<CardKind, int>> NoReaderCall = {{MifarePro, 1067}, {SmartCard, 1067}, {MifareDesfire, 1067}, {CpuCard, 1068},
                                                    {Sam, 1068}, {Test, 1068}, {At88sc1608, 1064}};
// Fields a button empties before its port check, and fields it must leave alone.
const struct {
    CardKind cardType;
    int button, field;
    bool emptied;
} FieldsAtPortCheck[] = {
    {MifareUltraLight, 1077, 1079, true},  {MifareUltraLight, 1066, 1079, true},  {MifareStdS50, 1010, 1049, false}, {MifareStdS50, 1236, 1049, false},
    {At88rf020, 1011, 1210, true},  {Sr176, 1116, 1115, true},  {Srix4k, 1010, 1115, true},  {Trh1064, 1010, 1067, true},
    {CpuCard, 1073, 1061, false}, {At88sc1608, 1066, 1056, true},
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
