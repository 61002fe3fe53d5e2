#include "controls/CHexEdit.h"
#include "pages/CCardPage.h"
#include "dialogs/DialogBuilder.h"
#include "reader/RuntimeState.h"

#include "PageHarness.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimeEdit>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

enum : int {
    Group = 1000, Caption, Field, LockedField, Value, Text, Notes, Ports, Names, Go, First, Second, Third,
    Fourth, Option, Date, Time, Scroll, Preview, Spare, Hidden1, Off, LockedText,
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

    // The page without background, painted over a plain colour.
    QImage render(Qt::GlobalColor ground)
    {
        CurBitmap = -1;
        QImage image(page.size(), QImage::Format_RGB32);
        image.fill(ground);
        page.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    }

    TestPage page;
};

} // namespace

TEST_F(CardPageTest, EveryControlKindBecomesItsWidgetNamedById)
{
    EXPECT_EQ(page.templateId(), 777);
    const struct {
        int id;
        const char *widgetClass;
    } rows[] = {{Group, "QGroupBox"},     {Caption, "QLabel"},        {Field, "CHexEdit"},
                {Value, "CDecEdit"},      {Text, "QLineEdit"},        {Notes, "QPlainTextEdit"},
                {Ports, "QComboBox"},     {Names, "QListWidget"},     {Go, "QPushButton"},
                {First, "QRadioButton"},  {Option, "QCheckBox"},      {Date, "QDateEdit"},
                {Time, "QTimeEdit"},      {Scroll, "QScrollBar"},     {Preview, "QFrame"},
                {Spare, "QWidget"}};
    // A Custom control is a bare placeholder, nothing more.
    EXPECT_STREQ(page.control(Spare)->metaObject()->className(), "QWidget");
    for (const auto &row : rows) {
        SCOPED_TRACE(row.widgetClass);
        ASSERT_NE(page.control(row.id), nullptr);
        EXPECT_TRUE(page.control(row.id)->inherits(row.widgetClass));
        EXPECT_EQ(page.findChild<QWidget *>(QStringLiteral("id%1").arg(row.id)), page.control(row.id));
    }
    EXPECT_FALSE(page.comboBox(Ports)->isEditable());
    EXPECT_EQ(page.control<QScrollBar>(Scroll)->orientation(), Qt::Vertical);
    EXPECT_EQ(page.control(4242), nullptr);
    EXPECT_EQ(page.hexEdit(Text), nullptr);
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
    const auto checked = [this] {
        QString marks;
        for (int id : {First, Second, Third, Fourth})
            marks += page.control<QRadioButton>(id)->isChecked() ? QLatin1Char('x') : QLatin1Char('.');
        return marks;
    };
    PageHarness::click(&page, First);
    PageHarness::click(&page, Third);
    EXPECT_EQ(checked(), "x.x.");
    PageHarness::click(&page, Second);
    EXPECT_EQ(checked(), ".xx.");
    PageHarness::click(&page, Fourth);
    EXPECT_EQ(checked(), ".x.x");
}

TEST_F(CardPageTest, TemplateCaptionsCarryBothLanguagesAndTheBuilderPicksOne)
{
    static const DialogTemplate bilingual{778, 100, 60, {
        {Group, ControlKind::GroupBox, 5, 5, 90, 50, {"端口设置", "Port Setting"}},
        {Caption, ControlKind::Label, 10, 15, 40, 8, {"端口", "Port"}},
        {Go, ControlKind::Button, 10, 30, 40, 14, {"连接", "Connect"}},
        {Option, ControlKind::CheckBox, 55, 30, 30, 10, "SN"},
    }};
    const int built = LanguageIndex;
    for (int language : {0, 1}) {
        LanguageIndex = language;
        CCardPage bilingualPage(bilingual);
        const bool english = language == 1;
        EXPECT_EQ(bilingualPage.caption(Group), english ? QStringLiteral("Port Setting") : QStringLiteral("端口设置"));
        EXPECT_EQ(bilingualPage.label(Caption)->text(), english ? QStringLiteral("Port") : QStringLiteral("端口"));
        EXPECT_EQ(bilingualPage.button(Go)->text(), english ? QStringLiteral("Connect") : QStringLiteral("连接"));
        EXPECT_EQ(bilingualPage.caption(Option), QStringLiteral("SN"));
    }
    LanguageIndex = built;
    page.setCaption(Text, QStringLiteral("plain"));
    EXPECT_EQ(PageHarness::text(&page, Text), QStringLiteral("plain"));
}

TEST_F(CardPageTest, RunTimeControlsOwnWidgetsAndKeyHooksAreFoundAndServedLikeTemplateOnes)
{
    const int runtimeId = CCardPage::FirstRuntimeControlId + 7;
    QWidget *made = page.addControl({runtimeId, ControlKind::HexEdit, 10, 170, 60, 12, "", NoFlags});
    EXPECT_EQ(page.hexEdit(runtimeId), made);
    EXPECT_EQ(made->objectName(), QStringLiteral("id%1").arg(runtimeId));
    EXPECT_TRUE(made->isVisibleTo(&page));

    const QRect placeholder = page.control(Spare)->geometry();
    auto *own = new QLabel(QStringLiteral("own"));
    EXPECT_EQ(page.replaceControl(Spare, own), own);
    EXPECT_EQ(page.control(Spare), own);
    EXPECT_EQ(own->geometry(), placeholder);
    EXPECT_EQ(page.findChildren<QWidget *>(QStringLiteral("id%1").arg(Spare)).size(), 1);

    QStringList keys;
    page.onKeyPressed(Field, [&](int key, Qt::KeyboardModifiers) {
        keys << QString::number(key);
        return key == Qt::Key_Return;
    });
    QTest::keyClick(page.hexEdit(Field), Qt::Key_Return);
    QTest::keyClick(page.hexEdit(Field), Qt::Key_A);
    EXPECT_EQ(keys, (QStringList{QString::number(Qt::Key_Return), QString::number(Qt::Key_A)}));
    EXPECT_EQ(page.hexEdit(Field)->text(), QStringLiteral("00a")) << "the hook passes on the keys it does not use";
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

    // List box items carry their data too.
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
    page.addCaptionFrame(Group);
    const QRect rect = page.controlRect(Group);
    page.ownSquare = QRect(QPoint(0, 0), page.size());
    const QImage image = render(Qt::black);
    EXPECT_EQ(image.pixel(rect.left(), rect.center().y()), qRgb(128, 128, 128));
    EXPECT_EQ(image.pixel(rect.left() + 1, rect.center().y()), qRgb(255, 255, 255));
    // Where no control stands the page's own painting shows.
    EXPECT_EQ(image.pixel(page.width() - 3, page.height() - 3), qRgb(255, 0, 0));
}

TEST_F(CardPageTest, LabelsAndButtonsWriteInPageTextColourOverTheBackground)
{
    EXPECT_EQ(PageTextColour, QColor(41, 101, 132));
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
    page.setCaption(Caption, QStringLiteral("MM"));
    // The label stands in the group; as on every page, the group box gives way to its frame.
    page.addCaptionFrame(Group);
    const QImage image = render(Qt::white);
    const QRect rect = page.controlRect(Caption);
    bool found = false;
    for (int y = rect.top(); y <= rect.bottom() && !found; ++y)
        for (int x = rect.left(); x <= rect.right() && !found; ++x)
            found = QColor(image.pixel(x, y)) == PageTextColour;
    EXPECT_TRUE(found);
    // Around the text the background shows through.
    EXPECT_EQ(image.pixel(rect.right(), rect.bottom()), qRgb(255, 255, 255));
}
