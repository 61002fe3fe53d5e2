#include "controls/CHexGrid.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// The blank border a rich-edit control leaves around its text.
constexpr int Margin_px = 2;
constexpr int CaretWidth_px = 1;

} // namespace

CHexGrid::CHexGrid(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setCursor(Qt::IBeamCursor);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    applyFont();
}

void CHexGrid::SetGeometry(int rowsPerPage, int cellsPerRow)
{
    m_model.SetGeometry(rowsPerPage, cellsPerRow);
    updateGeometry();
}

void CHexGrid::SetGridFont(bool bold)
{
    m_model.SetGridFont(bold);
    QFont grid = font();
    grid.setBold(bold);
    setFont(grid);
}

void CHexGrid::SetData(const QByteArray &bytes)
{
    m_model.SetData(bytes);
    update();
}

void CHexGrid::SetDataBytes(const uint8_t *bytes, int count)
{
    m_model.SetDataBytes(bytes, count);
    update();
}

int CHexGrid::GetPageCount() const
{
    return m_model.GetPageCount();
}

void CHexGrid::ShowGridPage(int page)
{
    if (m_model.ShowGridPage(page))
        update();
}

QByteArray CHexGrid::GetModifiedBytes() const
{
    return m_model.GetModifiedBytes();
}

int CHexGrid::GetFirstModifiedByte() const
{
    return m_model.GetFirstModifiedByte();
}

int CHexGrid::GetFirstModifiedRow() const
{
    return m_model.GetFirstModifiedRow();
}

int CHexGrid::GetLastModifiedRow() const
{
    return m_model.GetLastModifiedRow();
}

QByteArray CHexGrid::GetRowBytes(int row) const
{
    return m_model.GetRowBytes(row);
}

void CHexGrid::ClearData()
{
    m_model.ClearData();
    update();
}

void CHexGrid::ResetModifiedRange()
{
    m_model.ResetModifiedRange();
}

QString CHexGrid::text() const
{
    return m_model.shownText().toString();
}

void CHexGrid::setCaretPosition(int position)
{
    m_model.setCaretPosition(position);
    update();
}

QSize CHexGrid::sizeHint() const
{
    const int characters = m_model.cellsPerRow() * HexGridModel::CellCharacters;
    return {2 * Margin_px + characters * m_characterWidth_px, 2 * Margin_px + m_model.rowsPerPage() * m_lineHeight_px};
}

void CHexGrid::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        applyFont();
    QWidget::changeEvent(event);
}

// The caret shows only while the grid has the focus.
void CHexGrid::focusInEvent(QFocusEvent *event)
{
    update();
    QWidget::focusInEvent(event);
}

void CHexGrid::focusOutEvent(QFocusEvent *event)
{
    update();
    QWidget::focusOutEvent(event);
}

void CHexGrid::applyFont()
{
    const QFontMetrics metrics(font());
    // Every character gets the widest digit's box, so the cells line up whatever the font.
    int widest = 1;
    for (const QChar digit : QStringLiteral("0123456789ABCDEFabcdef"))
        widest = std::max(widest, metrics.horizontalAdvance(digit));
    m_characterWidth_px = widest;
    m_lineHeight_px = std::max(1, metrics.lineSpacing());
    m_ascent_px = metrics.ascent();
    updateGeometry();
    update();
}

int CHexGrid::charactersPerLine() const
{
    const int fitting = (width() - 2 * Margin_px) / m_characterWidth_px;
    const int cells = std::max(1, (fitting + 1) / HexGridModel::CellCharacters);
    return cells * HexGridModel::CellCharacters;
}

QPoint CHexGrid::characterOrigin(int position) const
{
    const int perLine = charactersPerLine();
    return {Margin_px + (position % perLine) * m_characterWidth_px, Margin_px + (position / perLine) * m_lineHeight_px};
}

int CHexGrid::positionAt(QPoint point) const
{
    const int perLine = charactersPerLine();
    const int line = std::max(0, (point.y() - Margin_px) / m_lineHeight_px);
    // A click on a character's right half puts the caret after it.
    const int column = int(std::lround(double(point.x() - Margin_px) / m_characterWidth_px));
    const qsizetype position = qsizetype(line) * perLine + std::clamp(column, 0, perLine - 1);
    return int(std::min(position, m_model.shownText().size()));
}

void CHexGrid::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    const QStringView shown = m_model.shownText();
    const int perLine = charactersPerLine();
    const QRect exposed = event->rect();
    const int firstLine = std::max(0, (exposed.top() - Margin_px) / m_lineHeight_px);
    const int lastLine = std::max(0, (exposed.bottom() - Margin_px) / m_lineHeight_px);
    for (int line = firstLine; line <= lastLine; ++line) {
        const qsizetype start = qsizetype(line) * perLine;
        if (start >= shown.size())
            break;
        const int baseline = Margin_px + line * m_lineHeight_px + m_ascent_px;
        const qsizetype end = std::min(start + perLine, shown.size());
        for (qsizetype position = start; position < end; ++position) {
            const QChar character = shown[position];
            if (character != u' ')
                painter.drawText(Margin_px + int(position - start) * m_characterWidth_px, baseline, QString(character));
        }
    }
    if (hasFocus()) {
        const QPoint caret = characterOrigin(m_model.caretPosition());
        painter.fillRect(QRect(caret, QSize(CaretWidth_px, m_lineHeight_px)), palette().color(QPalette::Text));
    }
}

void CHexGrid::keyPressEvent(QKeyEvent *event)
{
    // Only overtyping changes the text: nothing is inserted, deleted, cut or pasted.
    const int perLine = charactersPerLine();
    const int caret = m_model.caretPosition();
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Backspace:
        m_model.moveCaretLeft();
        break;
    case Qt::Key_Right:
        m_model.moveCaretRight();
        break;
    case Qt::Key_Up:
        if (caret >= perLine)
            m_model.setCaretPosition(caret - perLine);
        break;
    case Qt::Key_Down:
        if (caret + perLine <= m_model.shownText().size())
            m_model.setCaretPosition(caret + perLine);
        break;
    default:
        if ((event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0
            && event->text().size() == 1) {
            const int byteIndex = m_model.typeCharacter(event->text().front());
            if (byteIndex >= 0)
                emit byteEdited(byteIndex);
        }
        break;
    }
    event->accept();
    update();
}

void CHexGrid::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        setCaretPosition(positionAt(event->position().toPoint()));
    event->accept();
}

void CHexGrid::mouseMoveEvent(QMouseEvent *event)
{
    // A drag ends where the button is let go: the caret follows the pointer.
    if (event->buttons() & Qt::LeftButton)
        setCaretPosition(positionAt(event->position().toPoint()));
    event->accept();
}

void CHexGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        setCaretPosition(positionAt(event->position().toPoint()));
    event->accept();
}
