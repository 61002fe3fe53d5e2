#include "pages/CSrix4kPage.h"

#include "controls/CHexEdit.h"
#include "pages/StTagBlocks.h"
#include "reporting/MessageCatalogue.h"
#include "reporting/ReaderOperation.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

#include <array>

namespace {

using enum ReaderFunction;
using enum CSrix4kPage::ControlId;

constexpr int BlockBytes = 4;
constexpr int UidBytes = 8;
constexpr int BlocksPerTab = 64;
constexpr int RowsPerColumn = 16;
constexpr int ColumnCount = 4;

constexpr StTagControls Controls =
    StTagControlsOf<CSrix4kPage>(CSrix4kPage::BlockCount, BlockBytes, 0, CSrix4kPage::BlockCount - 1);

// The grid, in pixels: the tab strip's line below the grid area's top, the page's height below
// that top, the rows and the tabs.
constexpr int TabLine_px = 387;
constexpr int PageBelowGridTop_px = 452;
constexpr int GridMargin_px = 20;
constexpr int FirstRow_px = 20;
constexpr int RowPitch_px = 22;
constexpr int RowHeight_px = 18;
constexpr int HeaderAboveField_px = 17;
constexpr int TabWidth_px = 110;
constexpr int TabHeight_px = 30;

constexpr QColor LightEdge{255, 255, 90};
constexpr QColor ShadowEdge{128, 128, 128};

int fieldWidth(int bytes)
{
    return 14 * bytes + 6;
}

// The buttons and fields stand in a column on the left; the block grid covers the rest.
DialogTemplate buildTemplate()
{
    constexpr int Left = 7;
    constexpr int ColumnWidth = 120;
    ControlList add;
    add(ChipIdLabel, ControlKind::Label, Left, 10, ColumnWidth, 8, "Chip - ID");
    add(ChipIdField, ControlKind::HexEdit, Left, 20, 34, 12);
    add(UidLabel, ControlKind::Label, Left, 38, ColumnWidth, 8, "UID");
    add(UidField, ControlKind::HexEdit, Left, 48, fieldWidth(UidBytes), 12);
    add(RequestButton, ControlKind::Button, Left, 66, 58, 14, {"寻卡", "Req"});
    add(ReadUidButton, ControlKind::Button, Left + 62, 66, 58, 14, {"读取UID", "Read UID"});
    add(BlockLabel, ControlKind::Label, Left, 90, 40, 8, "Block");
    add(BlockList, ControlKind::DropList, Left, 100, 40, 150);
    add(LockRegisterLabel, ControlKind::Label, Left + 62, 90, 58, 8, "Lock - Reg");
    add(LockRegisterField, ControlKind::HexEdit, Left + 62, 100, 30, 12);
    add(ReadButton, ControlKind::Button, Left, 122, 58, 14, {"读卡", "Read Card"});
    add(WriteButton, ControlKind::Button, Left + 62, 122, 58, 14, {"写卡", " Write Block"});
    add(LockButton, ControlKind::Button, Left, 142, 58, 14, {"块锁定", "Lock"});
    return DialogTemplate{145, 560, 270, std::move(add.controls)};
}

} // namespace

CSrix4kPage::CSrix4kPage(QWidget *parent)
    : CStTagPage(dialogTemplate(), Controls,
                 StTagCommandsOf<rf_srix4k_readblock, rf_srix4k_writeblock, rf_srix4k_writelockreg>, parent)
{
    initialise();
    onClicked(ReadUidButton, [this] { readUid(); });
}

const DialogTemplate &CSrix4kPage::dialogTemplate()
{
    static const DialogTemplate dialogTemplate = buildTemplate();
    return dialogTemplate;
}

void CSrix4kPage::initialise()
{
    createBlockControls();
    layoutGrid();
}

void CSrix4kPage::createBlockControls()
{
    for (int block = 0; block < BlockCount; ++block) {
        addControl(ControlTemplate{FirstBlockField + block, ControlKind::HexEdit, 0, 0, 0, 0, {}, NoFlags});
        hexEdit(FirstBlockField + block)->SetMaxBytes(BlockBytes);
        addControl(ControlTemplate{FirstBlockLabel + block, ControlKind::Label, 0, 0, 0, 0, {}, NoFlags});
        setCaption(FirstBlockLabel + block, QString::asprintf("block%d", block));
        label(FirstBlockLabel + block)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        const bool shown = block < BlocksPerTab;
        control(FirstBlockField + block)->setVisible(shown);
        control(FirstBlockLabel + block)->setVisible(shown);
    }
    for (int column = 0; column < ColumnCount; ++column)
        addControl(ControlTemplate{FirstColumnHeader + column, ControlKind::Label, 0, 0, 0, 0, "byte0...byte3", NoFlags});
}

void CSrix4kPage::layoutForWidth(int screenWidth)
{
    Q_UNUSED(screenWidth);
    layoutGrid();
}

void CSrix4kPage::layoutGrid()
{
    const QRect chipIdLabel = controlRect(ChipIdLabel);
    const int left = chipIdLabel.x() + chipIdLabel.width() + GridMargin_px;
    const int top = chipIdLabel.y();
    m_gridArea = QRect(QPoint(left, top), QPoint(width() - GridMargin_px - 1, top + TabLine_px - 1));
    // The page reaches 452 pixels below the grid's top; the host sizes it to cover at least that.
    setContentHeight(top + PageBelowGridTop_px);

    const int w = (m_gridArea.width() - 40) / ColumnCount;
    // Label x, label width, field x and field width of each column, from the grid's left edge.
    const int columns[ColumnCount][4] = {
        {6, 54, 62, w - 52},
        {w + 18, 54, w + 74, w - 52},
        {2 * w + 24, 56, 2 * w + 82, w - 56},
        {3 * w + 30, 56, 3 * w + 88, w - 56},
    };
    for (int column = 0; column < ColumnCount; ++column) {
        const int *place = columns[column];
        for (int row = 0; row < RowsPerColumn; ++row) {
            const int y = top + FirstRow_px + RowPitch_px * row;
            for (int tab = 0; tab < 2; ++tab) {
                const int block = BlocksPerTab * tab + RowsPerColumn * column + row;
                control(FirstBlockLabel + block)->setGeometry(left + place[0], y, place[1], RowHeight_px);
                control(FirstBlockField + block)->setGeometry(left + place[2], y, place[3], RowHeight_px);
            }
        }
        control(FirstColumnHeader + column)->setGeometry(left + place[2], top + FirstRow_px - HeaderAboveField_px,
                                                        place[3], RowHeight_px - 3);
    }
    m_tabRects[0] = QRect(left + GridMargin_px, top + TabLine_px, TabWidth_px, TabHeight_px);
    m_tabRects[1] = m_tabRects[0].translated(TabWidth_px, 0);
    update();
}

void CSrix4kPage::paintPage(QPainter &painter)
{
    painter.save();
    const QRect area = m_gridArea;
    const QRect shown = m_tabRects[m_shownTab];
    const QRect other = m_tabRects[1 - m_shownTab];
    const int bottom = area.bottom() + 1; // the tab line

    painter.setPen(LightEdge);
    painter.drawLine(area.topLeft(), area.topRight());
    painter.drawLine(area.topLeft(), QPoint(area.left(), bottom));
    painter.setPen(ShadowEdge);
    painter.drawLine(area.topRight(), QPoint(area.right(), bottom));
    // The tab line stays open over the shown tab, which thus joins the grid above it.
    painter.drawLine(QPoint(area.left(), bottom), QPoint(shown.left(), bottom));
    painter.drawLine(QPoint(shown.right(), bottom), QPoint(area.right(), bottom));

    // The shown tab: 2 pixels taller, no top edge.
    const QRect tall = shown.adjusted(0, 0, 0, 2);
    painter.setPen(LightEdge);
    painter.drawLine(tall.topLeft(), tall.bottomLeft());
    painter.setPen(ShadowEdge);
    painter.drawLine(tall.topRight(), tall.bottomRight());
    painter.drawLine(tall.bottomLeft(), tall.bottomRight());
    // The other tab stands behind the tab line, with a light top edge.
    painter.setPen(LightEdge);
    painter.drawLine(other.topLeft(), other.topRight());
    painter.drawLine(other.topLeft(), other.bottomLeft());
    painter.setPen(ShadowEdge);
    painter.drawLine(other.topRight(), other.bottomRight());
    painter.drawLine(other.bottomLeft(), other.bottomRight());

    painter.setPen(PageTextColour);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(m_tabRects[0], Qt::AlignCenter, QStringLiteral("First Page"));
    painter.drawText(m_tabRects[1], Qt::AlignCenter, QStringLiteral("Second Page"));
    painter.restore();
}

void CSrix4kPage::resizeEvent(QResizeEvent *event)
{
    CCardPage::resizeEvent(event);
    if (m_gridArea.isValid() && width() != m_gridArea.right() + 1 + GridMargin_px)
        layoutGrid();
}

void CSrix4kPage::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        for (int tab = 0; tab < 2; ++tab) {
            if (m_tabRects[tab].contains(event->position().toPoint()))
                showTab(tab);
        }
    }
    CCardPage::mousePressEvent(event);
}

void CSrix4kPage::showTab(int tab)
{
    if (tab == m_shownTab)
        return;
    for (int i = 0; i < BlocksPerTab; ++i) {
        control(FirstBlockField + BlocksPerTab * m_shownTab + i)->hide();
        control(FirstBlockLabel + BlocksPerTab * m_shownTab + i)->hide();
        control(FirstBlockField + BlocksPerTab * tab + i)->show();
        control(FirstBlockLabel + BlocksPerTab * tab + i)->show();
    }
    m_shownTab = tab;
    update(m_gridArea.united(m_tabRects[0]).united(m_tabRects[1]).adjusted(-1, -1, 1, 3));
}

void CSrix4kPage::readUid()
{
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    AnswerBuffer buffer{};
    uint8_t length = 0;
    if (!op.call<rf_srix4k_getuid>(0, buffer.data(), &length))
        return;
    hexEdit(UidField)->SetHexBytes(buffer.data(), length);
    op.succeed(Message(Msg::UidRead));
}
