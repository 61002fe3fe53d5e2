#include "pages/CAt24Page.h"

#include "base/BytePointer.h"
#include "controls/CHexGrid.h"
#include "reporting/MessageCatalogue.h"
#include "reporting/ReaderOperation.h"

#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <array>
#include <new>
#include <vector>

namespace {

using enum ReaderFunction;
using enum CAt24Page::ControlId;

constexpr int SmallestMemory_bytes = 128;
// Every read asks for 128 bytes, and no write piece is longer.
constexpr int TransferPiece_bytes = 128;
constexpr int ScreenBytes = 256;
constexpr int CellsPerLine = 16;

DialogTemplate buildTemplate()
{
    return DialogTemplate{150, 439, 258, {
        {ReadButton, ControlKind::Button, 20, 40, 56, 16, {"读卡", "Read Card"}},
        {WriteButton, ControlKind::Button, 20, 62, 56, 16, {"写卡", "Write Card"}},
        {Grid, ControlKind::HexGrid, 130, 30, 240, 160, ""},
        {ScreenScrollBar, ControlKind::ScrollBar, 372, 30, 10, 160, ""},
    }};
}

} // namespace

CAt24Page::CAt24Page(QWidget *parent)
    : CCardPage(dialogTemplate(), parent)
    , m_grid(control<CHexGrid>(Grid))
    , m_scrollBar(control<QScrollBar>(ScreenScrollBar))
{
    m_grid->SetGeometry(16, 16);
    m_grid->SetGridFont(true);
    // Exactly 16 cells a line, and 16 lines each as high as a row label.
    const int lineHeight_px = (m_grid->sizeHint().height() - 4) / 16;
    m_grid->resize(m_grid->sizeHint().width(), 16 * lineHeight_px + 6);
    m_scrollBar->setGeometry(m_grid->x() + m_grid->width() + 2, m_grid->y(), m_scrollBar->width(), m_grid->height());
    m_scrollBar->setSingleStep(1);
    m_scrollBar->setPageStep(1);
    setContentHeight(height());
    onClicked(ReadButton, [this] { readCard(); });
    onClicked(WriteButton, [this] { writeCard(); });
    connect(m_scrollBar, &QScrollBar::valueChanged, this, [this](int screen) { showScreen(screen); });
}

const DialogTemplate &CAt24Page::dialogTemplate()
{
    static const DialogTemplate dialogTemplate = buildTemplate();
    return dialogTemplate;
}

int CAt24Page::memorySize_bytes() const
{
    return SmallestMemory_bytes << (int(m_cardType) - int(CardKind::At24c01));
}

void CAt24Page::setCardType(CardKind kind)
{
    m_cardType = CardKind(std::clamp(int(kind), int(CardKind::At24c01), int(CardKind::At24c64)));
    if (isSmallCard())
        m_grid->SetGeometry(16, 8);
    else
        m_grid->SetGeometry(16, 16);
    m_grid->SetData(QByteArray(memorySize_bytes(), '\0'));
    if (memorySize_bytes() <= ScreenBytes) {
        m_scrollBar->hide();
    } else {
        m_scrollBar->setRange(0, m_grid->GetPageCount() - 1);
        m_scrollBar->update();
    }
}

void CAt24Page::layoutForWidth(int /*screenWidth*/)
{
    // The AT24C01's 128 bytes fill the top half of the grid and of the scroll bar.
    if (isSmallCard() && !m_laidOut) {
        for (QWidget *widget : {static_cast<QWidget *>(m_grid), static_cast<QWidget *>(m_scrollBar)})
            widget->resize(widget->width(), widget->height() - widget->height() / 2);
    }
    m_laidOut = true;
    centre();
}

void CAt24Page::centre()
{
    const QRect button = controlRect(ReadButton);
    const QRect bar = controlRect(ScreenScrollBar);
    const int blockWidth = bar.x() + bar.width() - button.x();
    const int dx = (width() - blockWidth) / 2 - button.x() - 70;
    for (int id : {ReadButton, WriteButton, Grid, ScreenScrollBar})
        control(id)->move(control(id)->pos() + QPoint(dx, 0));
    const int bottom = m_scrollBar->y() + m_scrollBar->height() + 50;
    // The page still covers the view when its controls end higher, so that the background
    // reaches the view's bottom; when they end lower it grows to keep them all.
    resize(width(), std::max(height(), bottom));
    setContentHeight(bottom);
}

void CAt24Page::resizeEvent(QResizeEvent *event)
{
    CCardPage::resizeEvent(event);
    // The view reaches its final width after the page was laid out: the block stays centred.
    if (m_laidOut)
        centre();
}

void CAt24Page::paintPage(QPainter &painter)
{
    static const QString Columns = QStringLiteral("000102030405060708090A0B0C0D0E0F");
    const QRect grid = m_grid->geometry();
    painter.setPen(PageTextColour);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    const int cellWidth = (grid.width() - 9) / CellsPerLine;
    for (int column = 0; column < CellsPerLine; ++column) {
        const QRect rect(grid.x() + 3 + column * cellWidth, grid.y() - 20, cellWidth, 20);
        painter.drawText(rect, flags, Columns.mid(2 * column, 2));
    }
    const int rows = isSmallCard() ? 8 : 16;
    const int rowHeight = isSmallCard() ? (grid.height() - 3) / 8 : (grid.height() - 6) / 16;
    const int screen = m_scrollBar->value();
    for (int row = 0; row < rows; ++row) {
        const QRect rect(grid.x() - 40, grid.y() + 3 + row * rowHeight, 40, rowHeight);
        const int address = screen * rows * CellsPerLine + CellsPerLine * row;
        painter.drawText(rect, flags, QStringLiteral("%1").arg(address, 4, 16, QLatin1Char('0')).toUpper());
    }
}

void CAt24Page::showScreen(int screen)
{
    m_grid->ShowGridPage(screen);
    update();
    // Edits not written before the screen changed are not written afterwards.
    m_grid->ResetModifiedRange();
}

void CAt24Page::readCard()
{
    ReaderOperation op;
    if (!op.requirePortOpen() || !op.call<OpenCard>(0))
        return;
    std::vector<uint8_t> memory;
    try {
        memory.resize(std::size_t(memorySize_bytes()));
    } catch (const std::bad_alloc &) {
        op.fail(Message(Msg::NotEnoughMemory));
        return;
    }
    AnswerBuffer chunk{};
    for (int address = 0; address < memorySize_bytes(); address += TransferPiece_bytes) {
        if (!op.call<AT24_read>(0, address, TransferPiece_bytes, chunk.data()))
            return;
        std::copy_n(chunk.begin(), TransferPiece_bytes, memory.begin() + address);
    }
    m_grid->SetDataBytes(memory.data(), int(memory.size()));
    op.succeed(Message(Msg::OperationSucceeded));
}

void CAt24Page::writeCard()
{
    ReaderOperation op;
    if (!op.requirePortOpen())
        return;
    const QByteArray changed = m_grid->GetModifiedBytes();
    const int start = m_grid->GetFirstModifiedByte();
    if (changed.isEmpty()) {
        op.fail(Message(Msg::NoMemoryChanged));
        return;
    }
    if (!op.call<OpenCard>(0))
        return;
    const auto *bytes = BytePointer(changed);
    // Pieces counted from the first changed byte, whatever the chip's write pages.
    for (int offset = 0; offset < changed.size(); offset += TransferPiece_bytes) {
        const int count = std::min<int>(TransferPiece_bytes, int(changed.size()) - offset);
        if (!op.callReportingFailureFirst<AT24_write>(0, start + offset, count, bytes + offset))
            return;
    }
    m_grid->ResetModifiedRange();
    op.succeed(Message(Msg::OperationSucceeded));
}
