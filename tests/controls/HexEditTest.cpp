#include "controls/CHexEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

class HexEditTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        edit = new CHexEdit(&window);
        window.show();
        edit->setFocus();
    }

    void type(const char *keys) { QTest::keyClicks(edit, QString::fromLatin1(keys)); }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyClick(edit, key, modifiers); }
    void ctrl(Qt::Key key) { QTest::keyClick(edit, key, Qt::ControlModifier); }

    // Opens the field's context menu; `action` finds its entries by object name.
    QMenu *openContextMenu()
    {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), edit->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(edit, &event);
        return edit->findChild<QMenu *>();
    }
    static QAction *action(QMenu *menu, const char *name) { return menu->findChild<QAction *>(QLatin1String(name)); }

    QWidget window;
    CHexEdit *edit = nullptr;
};

TEST_F(HexEditTest, TypingTakesHexDigitsInLowerCaseUpToTwiceTheByteLimit)
{
    const struct {
        int maxBytes; // 0: no limit set
        const char *typed, *shown;
    } cases[] = {
        {0, "A0123456789abcdefBCDEF", "a0123456789abcdefbcdef"},
        {0, "g %GzZ-.,x\t1g2", "12"},
        {6, "00112233445566778899", "001122334455"},
        {-1, "1", ""},
    };
    for (const auto &c : cases) {
        edit->clear();
        if (c.maxBytes != 0)
            edit->SetMaxBytes(std::max(c.maxBytes, 0));
        type(c.typed);
        EXPECT_EQ(edit->text(), QString::fromLatin1(c.shown)) << c.typed;
    }
    // A full field still takes a digit that replaces a selection.
    edit->SetMaxBytes(2);
    edit->setText(QStringLiteral("0011"));
    edit->setSelection(0, 2);
    type("F");
    EXPECT_EQ(edit->text(), QStringLiteral("f11"));

    // Backspace, Delete and the arrows edit; Home and End are not among the keys let through.
    edit->setText(QStringLiteral("1234"));
    for (Qt::Key pressed : {Qt::Key_Backspace, Qt::Key_Left, Qt::Key_Left, Qt::Key_Delete})
        key(pressed);
    EXPECT_EQ(edit->text(), QStringLiteral("13"));
    key(Qt::Key_End);
    EXPECT_EQ(edit->cursorPosition(), 1);
}

// Text the program sets is shown whole whatever the limit; an odd trailing digit is decoded but
// not counted. The contactless console's serial number shows the bytes given as an array.
TEST_F(HexEditTest, ProgramTextIsShownWholeAndAnOddDigitCountsNotButDecodes)
{
    edit->SetMaxBytes(2);
    const uint8_t bytes[] = {0x00, 0x0A, 0xFF, 0x10};
    edit->SetHexBytes(bytes, 4);
    EXPECT_EQ(edit->text(), QStringLiteral("000AFF10"));
    edit->SetHexBytes(nullptr, 4);
    EXPECT_EQ(edit->text(), QStringLiteral("000AFF10"));
    edit->SetHexBytes(bytes, 0);
    EXPECT_EQ(std::pair(edit->text(), edit->GetHexByteCount()), std::pair(QString(), 0));
    edit->SetHexValue(258);
    EXPECT_EQ(edit->text(), QStringLiteral("02010000"));

    edit->setText(QStringLiteral("12345"));
    EXPECT_EQ(std::pair(edit->GetHexByteCount(), edit->GetHexBytes()), std::pair(2, QByteArray("\x12\x34\x05", 3)));
}

// Pasted text is taken unfiltered, its first line only, up to the limit; a full field takes
// nothing more unless a selection makes room. Shift+Insert is no paste key.
TEST_F(HexEditTest, PasteTakesTheFirstLineUnfilteredWithinTheLimit)
{
    enum How { CtrlV, ShiftInsert, ContextMenu };
    const struct {
        int maxBytes;
        const char *before, *clipboard;
        int selectFrom, selectLength;
        How how;
        const char *shown;
    } cases[] = { // the limits only grow tighter: a field has no way back to none
        {0, "", "xy 1G", 0, 0, CtrlV, "xy 1G"},
        {0, "", "0102\r\n0304", 0, 0, CtrlV, "0102"},
        {0, "", "0102", 0, 0, ShiftInsert, ""},
        {2, "", "AABBCCDD", 0, 0, CtrlV, "AABB"},
        {2, "AABB", "CC", 4, 0, CtrlV, "AABB"},
        {2, "AABB", "99887766", 2, 2, CtrlV, "AA99"},
        {1, "", "%%%%", 0, 0, ContextMenu, "%%"},
    };
    for (const auto &c : cases) {
        if (c.maxBytes != 0)
            edit->SetMaxBytes(c.maxBytes);
        edit->setText(QString::fromLatin1(c.before));
        edit->setSelection(c.selectFrom, c.selectLength);
        QApplication::clipboard()->setText(QString::fromLatin1(c.clipboard));
        if (c.how == ContextMenu) {
            QMenu *menu = openContextMenu();
            ASSERT_NE(menu, nullptr);
            QAction *paste = action(menu, "edit-paste");
            ASSERT_NE(paste, nullptr);
            EXPECT_TRUE(paste->isEnabled());
            paste->trigger();
            menu->close();
        } else {
            key(c.how == CtrlV ? Qt::Key_V : Qt::Key_Insert, c.how == CtrlV ? Qt::ControlModifier : Qt::ShiftModifier);
        }
        EXPECT_EQ(edit->text(), QString::fromLatin1(c.shown)) << c.clipboard;
    }
}

TEST_F(HexEditTest, LockedFieldRefusesEditingButCanBeSelectedAndCopied)
{
    edit->setText(QStringLiteral("A1B2C3"));
    edit->SetInputLocked(true);
    QApplication::clipboard()->setText(QStringLiteral("FFFF"));
    // The fuzz target tries every other key and paste on a locked field.
    type("12ab");
    ctrl(Qt::Key_V);
    edit->selectAll();
    key(Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(edit->text(), QStringLiteral("A1B2C3"));

    edit->setCursorPosition(0);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);
    ctrl(Qt::Key_C);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("A1"));

    // Ctrl+A selects; the context menu offers copying only.
    ctrl(Qt::Key_A);
    QMenu *menu = openContextMenu();
    ASSERT_NE(menu, nullptr);
    for (const char *name : {"edit-paste", "edit-cut", "edit-delete", "edit-undo", "edit-redo"}) {
        QAction *modifying = action(menu, name);
        EXPECT_TRUE(modifying == nullptr || !modifying->isEnabled()) << name;
    }
    ASSERT_NE(action(menu, "edit-copy"), nullptr);
    action(menu, "edit-copy")->trigger();
    menu->close();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("A1B2C3"));
    EXPECT_FALSE(edit->isReadOnly());

    // Unlocked again, the field takes typing.
    edit->SetInputLocked(false);
    edit->setCursorPosition(6);
    type("D");
    EXPECT_EQ(edit->text(), QStringLiteral("A1B2C3d"));
}

} // namespace
