#include "controls/CDecEdit.h"
#include "controls/CHexEdit.h"
#include "pages/CCardPage.h"
#include "pages/DialogBuilder.h"
#include "reader/RuntimeState.h"

#include "PageHarness.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimeEdit>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

enum : int {
    Group = 1000,
    Caption = 1001,
    Field = 1002,
    LockedField = 1003,
    Value = 1004,
    Text = 1005,
    Notes = 1006,
    Ports = 1007,
    Names = 1008,
    Go = 1009,
    First = 1010,
    Second = 1011,
    Third = 1012,
    Fourth = 1013,
    Option = 1014,
    Date = 1015,
    Time = 1016,
    Scroll = 1017,
    Preview = 1018,
    Spare = 1019,
    Hidden1 = 1020,
    Off = 1021,
    LockedText = 1022,
};

const DialogTemplate &testTemplate()
{
    using K = ControlKind;
    static const DialogTemplate dialog{777, 300, 200, {
        {Group, K::GroupBox, 7, 7, 140, 60, "Group"},
        {Caption, K::Label, 12, 18, 40, 8, "Caption"},
        {UnaddressedControlId, K::Label, 12, 30, 40, 8, "first unnamed"},
        {UnaddressedControlId, K::Label, 12, 40, 40, 8, "second unnamed"},
        {Field, K::HexEdit, 60, 16, 80, 12, "00"},
        {LockedField, K::HexEdit, 60, 30, 80, 12, "", Locked},
        {Value, K::DecEdit, 60, 44, 80, 12, ""},
        {Text, K::TextEdit, 160, 16, 80, 12, "text"},
        {LockedText, K::TextEdit, 160, 30, 80, 12, "", Locked},
        {Notes, K::TextEdit, 160, 44, 80, 40, "", Multiline},
        {Ports, K::DropList, 12, 80, 60, 80, ""},
        {Names, K::ListBox, 80, 80, 60, 40, ""},
        {Go, K::Button, 12, 100, 50, 14, "Go", DefaultButton},
        {First, K::RadioButton, 12, 120, 40, 10, "First", GroupStart},
        {Second, K::RadioButton, 60, 120, 40, 10, "Second"},
        {Third, K::RadioButton, 12, 132, 40, 10, "Third", GroupStart},
        {Fourth, K::RadioButton, 60, 132, 40, 10, "Fourth"},
        {Option, K::CheckBox, 12, 144, 60, 10, "Option"},
        {Date, K::DatePicker, 160, 90, 70, 12, ""},
        {Time, K::TimePicker, 160, 104, 60, 12, ""},
        {Scroll, K::ScrollBar, 280, 10, 10, 100, ""},
        {Preview, K::Frame, 200, 120, 60, 40, ""},
        {Spare, K::Custom, 200, 170, 20, 10, ""},
        {Hidden1, K::Button, 100, 100, 50, 14, "Hidden", Hidden},
        {Off, K::Button, 100, 160, 50, 14, "Off", Disabled},
    }};
    return dialog;
}

// A page of the test template; it sets its content height and paints a square of its own.
class TestPage : public CCardPage
{
public:
    explicit TestPage(QWidget *parent = nullptr)
        : CCardPage(testTemplate(), parent)
    {
    }
    void initialise() { setContentHeight(height()); }
    QRect ownSquare;

protected:
    void paintPage(QPainter &painter) override
    {
        if (!ownSquare.isNull())
            painter.fillRect(ownSquare, Qt::red);
    }
};

class CardPageTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetRuntimeState(); }
    void TearDown() override { ResetRuntimeState(); }
    TestPage page;
};

} // namespace

TEST_F(CardPageTest, EveryControlKindBecomesItsWidgetNamedById)
{
    EXPECT_EQ(page.templateId(), 777);
    EXPECT_NE(page.control<QGroupBox>(Group), nullptr);
    EXPECT_NE(page.label(Caption), nullptr);
    EXPECT_NE(page.hexEdit(Field), nullptr);
    EXPECT_NE(page.control<CDecEdit>(Value), nullptr);
    EXPECT_NE(page.control<QLineEdit>(Text), nullptr);
    EXPECT_NE(page.control<QPlainTextEdit>(Notes), nullptr);
    ASSERT_NE(page.comboBox(Ports), nullptr);
    EXPECT_FALSE(page.comboBox(Ports)->isEditable());
    EXPECT_NE(page.control<QListWidget>(Names), nullptr);
    EXPECT_NE(page.control<QPushButton>(Go), nullptr);
    EXPECT_NE(page.control<QRadioButton>(First), nullptr);
    EXPECT_NE(page.control<QCheckBox>(Option), nullptr);
    EXPECT_NE(page.control<QDateEdit>(Date), nullptr);
    EXPECT_NE(page.control<QTimeEdit>(Time), nullptr);
    ASSERT_NE(page.control<QScrollBar>(Scroll), nullptr);
    EXPECT_EQ(page.control<QScrollBar>(Scroll)->orientation(), Qt::Vertical);
    EXPECT_NE(page.control<QFrame>(Preview), nullptr);
    EXPECT_NE(page.control(Spare), nullptr);
    EXPECT_EQ(page.control(4242), nullptr);
    EXPECT_EQ(page.hexEdit(Text), nullptr);

    EXPECT_EQ(page.findChild<QWidget *>(QStringLiteral("id1002")), page.control(Field));
    EXPECT_EQ(page.controls().size(), testTemplate().controls.size());
    // Shared ids find the first control that carries them.
    EXPECT_EQ(page.label(UnaddressedControlId)->text(), QStringLiteral("first unnamed"));
    EXPECT_EQ(page.findChildren<QLabel *>(QStringLiteral("id65535")).size(), 2);
    EXPECT_EQ(page.hexEdit(Field)->text(), QStringLiteral("00"));
}

TEST_F(CardPageTest, ControlsStandWhereTheTemplatePutsThem)
{
    const DialogBuilder builder;
    EXPECT_EQ(page.size(), builder.templateSize(testTemplate()));
    EXPECT_EQ(page.font(), DialogBuilder::pageFont());
    const DialogUnits &units = builder.units();
    EXPECT_EQ(page.controlRect(Field), units.toPixels(60, 16, 80, 12));
    EXPECT_EQ(page.controlRect(Group), units.toPixels(7, 7, 140, 60));
    // The template gives a drop-down list's height with the list open; closed it is one line.
    const QRect ports = page.controlRect(Ports);
    EXPECT_EQ(ports.topLeft(), units.toPixels(12, 80, 60, 80).topLeft());
    EXPECT_LT(ports.height(), units.toPixelsY(30));
    EXPECT_EQ(page.contentHeight(), 0);
    page.initialise();
    EXPECT_EQ(page.contentHeight(), page.height());
}

TEST_F(CardPageTest, StylesOfTheTemplate)
{
    EXPECT_TRUE(page.control(Hidden1)->isHidden());
    EXPECT_FALSE(page.control(Go)->isHidden());
    EXPECT_FALSE(page.control(Off)->isEnabled());
    EXPECT_TRUE(page.hexEdit(LockedField)->IsInputLocked());
    EXPECT_FALSE(page.hexEdit(Field)->IsInputLocked());
    EXPECT_TRUE(page.control<QLineEdit>(LockedText)->isReadOnly());
    EXPECT_TRUE(page.control<QPushButton>(Go)->isDefault());

    PageHarness::type(&page, LockedField, QStringLiteral("12"));
    EXPECT_EQ(page.hexEdit(LockedField)->text(), QString());
    PageHarness::type(&page, Field, QStringLiteral("AB"));
    EXPECT_EQ(page.hexEdit(Field)->text(), QStringLiteral("00ab"));
}

TEST_F(CardPageTest, RadioGroupsRunFromOneGroupStartToTheNext)
{
    auto *first = page.control<QRadioButton>(First);
    auto *second = page.control<QRadioButton>(Second);
    auto *third = page.control<QRadioButton>(Third);
    auto *fourth = page.control<QRadioButton>(Fourth);
    PageHarness::click(&page, First);
    PageHarness::click(&page, Third);
    EXPECT_TRUE(first->isChecked());
    EXPECT_TRUE(third->isChecked());
    PageHarness::click(&page, Second);
    EXPECT_FALSE(first->isChecked());
    EXPECT_TRUE(second->isChecked());
    EXPECT_TRUE(third->isChecked());
    PageHarness::click(&page, Fourth);
    EXPECT_FALSE(third->isChecked());
    EXPECT_TRUE(second->isChecked());
    EXPECT_TRUE(fourth->isChecked());
}

TEST_F(CardPageTest, CaptionsInTheBuildsLanguage)
{
    page.setCaptions({{Caption, {"端口", "Port"}}, {Go, {"连接", "Connect"}}, {Group, {"端口设置", "Port Setting"}},
                      {Option, {"开", "On"}}});
    const bool english = LanguageIndex == 1;
    EXPECT_EQ(page.label(Caption)->text(), english ? QStringLiteral("Port") : QStringLiteral("端口"));
    EXPECT_EQ(page.button(Go)->text(), english ? QStringLiteral("Connect") : QStringLiteral("连接"));
    EXPECT_EQ(page.caption(Group), english ? QStringLiteral("Port Setting") : QStringLiteral("端口设置"));
    EXPECT_EQ(page.caption(Option), english ? QStringLiteral("On") : QStringLiteral("开"));
    page.setCaption(Text, QStringLiteral("plain"));
    EXPECT_EQ(PageHarness::text(&page, Text), QStringLiteral("plain"));
}

TEST_F(CardPageTest, HandlersRunOnTheOperatorsActions)
{
    int clicks = 0, selections = 0, edits = 0, dates = 0;
    page.onClicked(Go, [&] { ++clicks; });
    page.onSelectionChanged(Ports, [&] { ++selections; });
    page.onTextChanged(Field, [&] { ++edits; });
    page.onSelectionChanged(Date, [&] { ++dates; });

    PageHarness::click(&page, Go);
    EXPECT_EQ(clicks, 1);

    page.addListItem(Ports, QStringLiteral("COM1"), 1);
    page.addListItem(Ports, QStringLiteral("COM2"), 2);
    // A filled list has no selection until one is made.
    EXPECT_EQ(page.comboBox(Ports)->currentIndex(), -1);
    EXPECT_EQ(page.selectedItemData(Ports), -1);
    EXPECT_EQ(selections, 0);

    PageHarness::choose(&page, Ports, QStringLiteral("COM2"));
    EXPECT_EQ(selections, 1);
    EXPECT_EQ(page.selectedItemData(Ports), 2);

    // The program's own selection does not run the handler.
    EXPECT_TRUE(page.selectItemWithData(Ports, 1));
    EXPECT_EQ(PageHarness::text(&page, Ports), QStringLiteral("COM1"));
    EXPECT_FALSE(page.selectItemWithData(Ports, 9));
    page.selectListIndex(Ports, -1);
    EXPECT_EQ(page.selectedItemData(Ports), -1);
    EXPECT_EQ(selections, 1);

    PageHarness::type(&page, Field, QStringLiteral("1"));
    EXPECT_EQ(edits, 1);

    page.control<QDateEdit>(Date)->setDate(QDate(2024, 2, 29));
    EXPECT_EQ(dates, 1);
}

TEST_F(CardPageTest, ListBoxItemsCarryTheirData)
{
    page.addListItem(Names, QStringLiteral("one"), 10);
    page.addListItem(Names, QStringLiteral("two"), 20);
    EXPECT_EQ(page.selectedItemData(Names), -1);
    EXPECT_TRUE(page.selectItemWithData(Names, 20));
    EXPECT_EQ(page.selectedItemData(Names), 20);
    page.selectListIndex(Names, -1);
    EXPECT_EQ(page.selectedItemData(Names), -1);
}

TEST_F(CardPageTest, CaptionFrameReplacesTheGroupBox)
{
    page.setCaption(Group, QStringLiteral("Port Setting"));
    const QRect groupRect = page.controlRect(Group);
    CaptionFrame &frame = page.addCaptionFrame(Group);
    EXPECT_TRUE(page.control(Group)->isHidden());
    EXPECT_EQ(frame.rect(), groupRect);
    EXPECT_EQ(frame.caption(), QStringLiteral("Port Setting"));
    EXPECT_EQ(frame.colour(), PageTextColour);
    // Adding it again gives the same frame.
    EXPECT_EQ(&page.addCaptionFrame(Group), &frame);
    EXPECT_EQ(page.captionFrames().size(), 1u);
    // A later caption reaches the frame as well.
    page.setCaption(Group, QStringLiteral("Light"));
    EXPECT_EQ(page.captionFrames().front().caption(), QStringLiteral("Light"));
}

TEST_F(CardPageTest, FramesAreDrawnOverThePagesOwnPainting)
{
    CurBitmap = -1;
    page.addCaptionFrame(Group);
    const QRect rect = page.controlRect(Group);
    page.ownSquare = QRect(QPoint(0, 0), page.size());
    QImage image(page.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    page.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    EXPECT_EQ(image.pixel(rect.left(), rect.center().y()), qRgb(128, 128, 128));
    EXPECT_EQ(image.pixel(rect.left() + 1, rect.center().y()), qRgb(255, 255, 255));
    // Where no control stands the page's own painting shows.
    EXPECT_EQ(image.pixel(page.width() - 3, page.height() - 3), qRgb(255, 0, 0));
}

TEST_F(CardPageTest, LabelsAndButtonsWriteInPageTextColourOverTheBackground)
{
    for (const int id : {Caption, Go, First, Option, Group}) {
        QWidget *widget = page.control(id);
        EXPECT_EQ(widget->palette().color(QPalette::Active, widget->foregroundRole()), PageTextColour) << id;
        EXPECT_FALSE(widget->autoFillBackground()) << id;
    }
    // Fields and lists keep the default colours.
    for (const int id : {Field, Text, Names, Ports}) {
        QWidget *widget = page.control(id);
        EXPECT_NE(widget->palette().color(QPalette::Active, QPalette::Text), PageTextColour) << id;
        EXPECT_NE(widget->palette().color(QPalette::Active, QPalette::WindowText), PageTextColour) << id;
    }
    page.useDefaultColours(Caption);
    EXPECT_NE(page.label(Caption)->palette().color(QPalette::WindowText), PageTextColour);
    page.usePageColours(Field);
    EXPECT_EQ(page.hexEdit(Field)->palette().color(QPalette::Active, QPalette::WindowText), PageTextColour);
}

TEST_F(CardPageTest, LabelPixelsAreDrawnInPageTextColour)
{
    CurBitmap = -1;
    page.setCaption(Caption, QStringLiteral("MM"));
    // The label stands in the group; as on every page, the group box gives way to its frame.
    page.addCaptionFrame(Group);
    QImage image(page.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    page.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    const QRect rect = page.controlRect(Caption);
    bool found = false;
    for (int y = rect.top(); y <= rect.bottom() && !found; ++y)
        for (int x = rect.left(); x <= rect.right() && !found; ++x)
            found = QColor(image.pixel(x, y)) == PageTextColour;
    EXPECT_TRUE(found);
    // Around the text the background shows through.
    EXPECT_EQ(image.pixel(rect.right(), rect.bottom()), qRgb(255, 255, 255));
}
