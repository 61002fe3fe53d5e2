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

constexpr int PortPage = -1;

// Buttons that reach the reader with the port closed: the SAM page's DES half ciphers on the
// host, the port page connects and reads and sets the clock, and the TRH1064 page authenticates,
// reads and writes without a port check. The consoles' pickers open a modal list of the book.
const std::set<std::pair<int, int>> NotPressed = {
    {11, 1066}, {11, 1067}, {PortPage, 1053}, {PortPage, 1186}, {PortPage, 1187}, {8, 1011}, {8, 1063},
    {8, 1064}, {6, 1063}, {7, 1063}, {24, 1063}, {12, 1065}, {11, 1065}, {25, 1066},
};
// Buttons that never reach the reader: the consoles' Clear empties the answer list, and the
// AT88SC1608 page's hidden Initialize does nothing.
const std::set<std::pair<int, int>> NoReaderCall = {{6, 1067}, {7, 1067}, {24, 1067}, {12, 1068},
                                                    {11, 1068}, {25, 1068}, {20, 1064}};
// Fields a button empties before its port check, and fields it must leave alone.
const struct {
    int cardType, button, field;
    bool emptied;
} FieldsAtPortCheck[] = {
    {0, 1077, 1079, true},  {0, 1066, 1079, true},  {1, 1010, 1049, false}, {1, 1236, 1049, false},
    {3, 1011, 1210, true},  {4, 1116, 1115, true},  {5, 1010, 1115, true},  {8, 1010, 1067, true},
    {12, 1073, 1061, false}, {20, 1066, 1056, true},
};

CCardPage *openPage(int cardType)
{
    if (cardType == PortPage)
        return new CPortSetPage();
    return CreateCardPage(cardType, 1280, nullptr);
}

// Every page button, pressed with the port closed, calls nothing, logs nothing, asks nothing and
// says "Port did't opened" with the question sound; the few that need no port are named above.
TEST(PortClosed, NoPageButtonCallsTheReader)
{
    std::vector<int> cardTypes{PortPage};
    for (int cardType = 0; cardType < CardTypeCount; ++cardType) {
        if (HasCardPage(cardType))
            cardTypes.push_back(cardType);
    }
    int pressed = 0;
    std::size_t watchedFields = 0;
    for (int cardType : cardTypes) {
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
            SCOPED_TRACE(QStringLiteral("card type %1, button %2").arg(cardType).arg(id).toStdString());
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
