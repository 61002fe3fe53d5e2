#include "controls/CHexEdit.h"
#include "pages/CCardPage.h"
#include "dialogs/DialogBuilder.h"
#include "reader/RuntimeState.h"

#include "PageHarness.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace {

enum : int { Group = 1000, Caption, Field, LockedField, Text, LockedText, Ports, Names, Go, First, Second, Third, Fourth, Off };

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
        {Text, K::TextEdit, 160, 16, 80, 12, "text"},
        {LockedText, K::TextEdit, 160, 30, 80, 12, "", Locked},
        {Ports, K::DropList, 12, 80, 60, 80, ""},
        {Names, K::ListBox, 80, 80, 60, 40, ""},
        {Go, K::Button, 12, 100, 50, 14, "Go", DefaultButton | Hidden},
        {First, K::RadioButton, 12, 120, 40, 10, "First", GroupStart},
        {Second, K::RadioButton, 60, 120, 40, 10, "Second"},
        {Third, K::RadioButton, 12, 132, 40, 10, "Third", GroupStart},
        {Fourth, K::RadioButton, 60, 132, 40, 10, "Fourth"},
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

TEST_F(CardPageTest, ControlsStandWhereTheTemplatePutsThemWithItsStylesAndRadioGroups)
{
    const DialogBuilder builder;
    EXPECT_EQ(page.size(), builder.templateSize(testTemplate()));
    EXPECT_EQ(page.controlRect(Field), builder.units().toPixels(60, 16, 80, 12));
    // The template gives a drop-down list's height with the list open; closed it is one line.
    EXPECT_EQ(page.controlRect(Ports).topLeft(), builder.units().toPixels(12, 80, 60, 80).topLeft());
    EXPECT_LT(page.controlRect(Ports).height(), builder.units().toPixelsY(30));
    // Shared ids find the first control.
    EXPECT_EQ(page.label(UnaddressedControlId)->text(), QStringLiteral("first unnamed"));
    EXPECT_EQ(page.findChildren<QLabel *>(QStringLiteral("id%1").arg(UnaddressedControlId)).size(), 2);
    EXPECT_EQ(page.hexEdit(Text), nullptr);

    // Hidden and default, disabled, read-only.
    EXPECT_EQ((QList<bool>{page.control(Go)->isHidden(), page.control<QPushButton>(Go)->isDefault(), page.control(Off)->isEnabled(),
                           page.control<QLineEdit>(LockedText)->isReadOnly()}),
              (QList<bool>{true, true, false, true}));
    PageHarness::setText(&page, LockedField, QStringLiteral("12"));
    PageHarness::setText(&page, Field, QStringLiteral("AB"));
    EXPECT_EQ(page.hexEdit(LockedField)->text() + "|" + page.hexEdit(Field)->text(), QStringLiteral("|ab"));

    // A radio group runs from one group start to the next.
    const auto checked = [this] {
        QString marks;
        for (int id : {First, Second, Third, Fourth})
            marks += page.control<QRadioButton>(id)->isChecked() ? QLatin1Char('x') : QLatin1Char('.');
        return marks;
    };
    QStringList seen;
    for (int id : {First, Third, Second, Fourth}) {
        PageHarness::click(&page, id);
        seen << checked();
    }
    EXPECT_EQ(seen, (QStringList{"x...", "x.x.", ".xx.", ".x.x"}));
}

TEST_F(CardPageTest, TheProgramsOwnSelectionRunsNoHandler)
{
    int selections = 0;
    page.onSelectionChanged(Ports, [&] { ++selections; });
    // A filled list has no selection until one is made, in a drop-down list as in a list box.
    for (int list : {Ports, Names}) {
        SCOPED_TRACE(list);
        page.addListItem(list, QStringLiteral("COM1"), 1);
        page.addListItem(list, QStringLiteral("COM2"), 2);
        EXPECT_EQ(page.selectedItemData(list), -1);
        EXPECT_TRUE(page.selectItemWithData(list, 2));
        EXPECT_EQ(page.selectedItemData(list), 2);
        EXPECT_FALSE(page.selectItemWithData(list, 9));
        page.selectListIndex(list, -1);
        EXPECT_EQ(page.selectedItemData(list), -1);
    }
    EXPECT_EQ(selections, 0);
    PageHarness::choose(&page, Ports, QStringLiteral("COM2"));
    EXPECT_EQ(selections, 1);
}

// How the frame itself is drawn is the caption frame's own test; here it replaces the group box
// and is drawn over the page's painting, and labels write in the page's text colour.
TEST_F(CardPageTest, CaptionFrameReplacesTheGroupBoxOverThePagesPaintingAndLabelsWriteInPageTextColour)
{
    page.setCaption(Group, QStringLiteral("Port Setting"));
    const QRect rect = page.controlRect(Group);
    CaptionFrame &frame = page.addCaptionFrame(Group);
    EXPECT_TRUE(page.control(Group)->isHidden());
    EXPECT_EQ(frame.rect(), rect);
    EXPECT_EQ(&page.addCaptionFrame(Group), &frame);
    EXPECT_EQ(page.captionFrames().size(), 1u);
    page.setCaption(Group, QStringLiteral("Light"));
    EXPECT_EQ(frame.caption(), QStringLiteral("Light"));

    page.ownSquare = QRect(QPoint(0, 0), page.size());
    page.setCaption(Caption, QStringLiteral("MM"));
    const QImage image = render(Qt::black);
    EXPECT_EQ(image.pixel(rect.left(), rect.center().y()), qRgb(128, 128, 128));
    // Where no control stands the page's own painting shows.
    EXPECT_EQ(image.pixel(page.width() - 3, page.height() - 3), qRgb(255, 0, 0));
    // Fields keep the default colours.
    EXPECT_NE(page.control(Field)->palette().color(QPalette::Active, QPalette::Text), PageTextColour);
    const QRect label = page.controlRect(Caption);
    bool found = false;
    for (int y = label.top(); y <= label.bottom() && !found; ++y)
        for (int x = label.left(); x <= label.right() && !found; ++x)
            found = QColor(image.pixel(x, y)) == PageTextColour;
    EXPECT_TRUE(found);
    // Around the text the page's painting shows through.
    EXPECT_EQ(image.pixel(label.right(), label.bottom()), qRgb(255, 0, 0));
}
