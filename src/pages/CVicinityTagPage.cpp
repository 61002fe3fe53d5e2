#include "pages/CVicinityTagPage.h"

#include "pages/CardAnswers.h"
#include "controls/CHexEdit.h"
#include "controls/CHexGrid.h"
#include "dialogs/CaptionFrame.h"
#include "reporting/MessageCatalogue.h"
#include "reporting/ReaderOperation.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

using enum ReaderFunction;

constexpr uint8_t Iso15693RadioType = 0x31;
constexpr int UidBytes = 8;
// The bands of the headers above the grid and of the row labels left of it.
constexpr int LabelBand_px = 20;
constexpr int LabelInset_px = 3;

} // namespace

CVicinityTagPage::CVicinityTagPage(const DialogTemplate &dialogTemplate, std::array<int, 4> uidFields,
                                   GridControls grid, QWidget *parent)
    : CCardPage(dialogTemplate, parent), m_uidFields(uidFields), m_gridControls(grid)
{
    for (int field : m_uidFields) {
        hexEdit(field)->SetMaxBytes(UidBytes);
        hexEdit(field)->SetInputLocked(true);
    }
    button(UidButtons[0])->setChecked(true);
    CHexGrid *hexGrid = this->grid();
    hexGrid->SetGeometry(GridRows, grid.bytesPerRow);
    hexGrid->SetGridFont(true);
    QScrollBar *bar = scrollBar();
    bar->setSingleStep(1);
    bar->setPageStep(1);
    connect(bar, &QScrollBar::valueChanged, this, [this](int page) { gridPageShown(page); });
}

CHexGrid *CVicinityTagPage::grid() const
{
    return control<CHexGrid>(m_gridControls.grid);
}

QScrollBar *CVicinityTagPage::scrollBar() const
{
    return control<QScrollBar>(m_gridControls.scrollBar);
}

CVicinityTagPage::WaitCursor::WaitCursor()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

CVicinityTagPage::WaitCursor::~WaitCursor()
{
    QGuiApplication::restoreOverrideCursor();
}

QByteArray CVicinityTagPage::selectedUid() const
{
    for (std::size_t i = 0; i < UidButtons.size(); ++i) {
        if (button(UidButtons[i])->isChecked())
            return hexEdit(m_uidFields[i])->GetHexBytes();
    }
    return {};
}

void CVicinityTagPage::inventory()
{
    ReaderOperation op;
    if (!op.requirePortOpen() || !op.call<rf_init_type>(0, Iso15693RadioType))
        return;
    for (int field : m_uidFields)
        hexEdit(field)->clear();
    AnswerBuffer records{};
    uint8_t length = 0;
    if (!op.call<ISO15693_Inventorys>(0, records.data(), &length))
        return;
    // Tags beyond the fourth are not shown.
    const QList<QByteArray> uids = DecodeInventory({records.data(), length}, int(m_uidFields.size()));
    for (qsizetype i = 0; i < uids.size(); ++i)
        hexEdit(m_uidFields[std::size_t(i)])->SetHexBytes(uids[i]);
    op.succeed(Message(Msg::InventorySucceeded));
}

QRect CVicinityTagPage::fitGrid()
{
    CHexGrid *hexGrid = grid();
    hexGrid->resize(hexGrid->sizeHint());
    return hexGrid->geometry();
}

void CVicinityTagPage::gridPageShown(int page)
{
    grid()->ShowGridPage(page);
    grid()->ResetModifiedRange();
    update();
}

void CVicinityTagPage::paintPage(QPainter &painter)
{
    const QRect area = grid()->geometry();
    painter.save();
    painter.setPen(PageTextColour);
    painter.setBackgroundMode(Qt::TransparentMode);
    const int columns = m_gridControls.bytesPerRow;
    const int columnWidth = (area.width() - LabelInset_px) / columns;
    for (int column = 0; column < columns; ++column) {
        const QRect header(area.left() + LabelInset_px + column * columnWidth, area.top() - LabelBand_px, columnWidth,
                           LabelBand_px);
        painter.drawText(header, Qt::AlignCenter | Qt::TextSingleLine,
                         QStringLiteral("%1").arg(column, 2, 10, QLatin1Char('0')));
    }
    const int rowHeight = area.height() / GridRows;
    const int firstRow = GridRows * scrollBar()->value();
    for (int row = 0; row < GridRows; ++row) {
        const QRect label(area.left() - LabelBand_px, area.top() + LabelInset_px + row * rowHeight, LabelBand_px,
                          rowHeight);
        painter.drawText(label, Qt::AlignCenter | Qt::TextSingleLine,
                         QStringLiteral("%1").arg(firstRow + row, 2, 16, QLatin1Char('0')).toUpper());
    }
    painter.restore();
}

void CVicinityTagPage::addUidRows(ControlList &add, std::array<int, 4> uidFields, int top)
{
    for (std::size_t i = 0; i < uidFields.size(); ++i) {
        const int rowTop = top + 16 * int(i);
        add(UidButtons[i], ControlKind::RadioButton, 10, rowTop + 1, 30, 10, "UID", i == 0 ? GroupStart : NoFlags);
        add(uidFields[i], ControlKind::HexEdit, 42, rowTop, 90, 12, "", Locked);
    }
}
