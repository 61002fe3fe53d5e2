#include "controls/HexGridModel.h"

#include "base/BytePointer.h"
#include "controls/HexCodec.h"

#include <algorithm>

void HexGridModel::SetGeometry(int rowsPerPage, int cellsPerRow)
{
    if (rowsPerPage < 1 || cellsPerRow < 1)
        return;
    m_rowsPerPage = rowsPerPage;
    m_cellsPerRow = cellsPerRow;
    // The current page stays, though it may now lie past the data; the caret stays within what
    // it shows.
    setCaretPosition(m_caret);
}

void HexGridModel::SetData(const QByteArray &bytes)
{
    load(BytePointer(bytes), int(bytes.size()));
}

void HexGridModel::SetDataBytes(const uint8_t *bytes, int count)
{
    load(bytes, bytes == nullptr ? 0 : count);
}

void HexGridModel::load(const uint8_t *bytes, int count)
{
    m_first = -1;
    m_last = -1;
    count = std::max(count, 0);
    const qsizetype cells = std::max<qsizetype>(count, qsizetype(m_rowsPerPage) * m_cellsPerRow);
    m_text = QString();
    m_text.reserve(cells * CellCharacters);
    for (qsizetype k = 0; k < cells; ++k) {
        m_text += k < count ? ByteToHexPair(bytes[k]) : QStringLiteral("00");
        m_text += u' ';
    }
    m_caret = 0;
}

int HexGridModel::GetPageCount() const
{
    const qsizetype page = pageCharacters();
    return int((m_text.size() + page - 1) / page);
}

bool HexGridModel::ShowGridPage(int page)
{
    if (page < 0 || page > GetPageCount() - 1)
        return false;
    m_page = page;
    setCaretPosition(m_caret);
    return true;
}

QStringView HexGridModel::shownText() const
{
    const qsizetype start = pageStart();
    if (start >= m_text.size())
        return {};
    return QStringView(m_text).mid(start);
}

QByteArray HexGridModel::cellBytes(qsizetype firstCell, qsizetype endCell) const
{
    QByteArray bytes;
    endCell = std::min<qsizetype>(endCell, cellCount());
    if (firstCell < 0 || firstCell >= endCell)
        return bytes;
    bytes.reserve(endCell - firstCell);
    for (qsizetype cell = firstCell; cell < endCell; ++cell)
        bytes.append(char(HexPairToByte(m_text.constData() + cell * CellCharacters, 2)));
    return bytes;
}

QByteArray HexGridModel::GetModifiedBytes() const
{
    if (m_first == m_last || m_first == -1 || m_last < m_first)
        return {};
    // From the cell holding first through the cell holding last - 1.
    return cellBytes(m_first / CellCharacters, (m_last + CellCharacters - 1) / CellCharacters);
}

int HexGridModel::GetFirstModifiedByte() const
{
    return m_first < 0 ? 0 : m_first / CellCharacters;
}

int HexGridModel::GetFirstModifiedRow() const
{
    return m_first < 0 ? -1 : m_first / CellCharacters / m_cellsPerRow;
}

int HexGridModel::GetLastModifiedRow() const
{
    return m_last < 0 ? -1 : m_last / CellCharacters / m_cellsPerRow;
}

QByteArray HexGridModel::GetRowBytes(int row) const
{
    if (row < 0)
        return {};
    const qsizetype firstCell = qsizetype(row) * m_cellsPerRow;
    return cellBytes(firstCell, firstCell + m_cellsPerRow);
}

void HexGridModel::ClearData()
{
    QChar *characters = m_text.data();
    for (qsizetype i = 0; i < m_text.size(); ++i)
        characters[i] = (i % CellCharacters == CellCharacters - 1) ? u' ' : u'0';
    m_caret = 0;
}

void HexGridModel::ResetModifiedRange()
{
    m_first = -1;
    m_last = -1;
}

int HexGridModel::typeCharacter(QChar character)
{
    if (!IsHexDigit(character))
        return -1;
    const int shown = m_caret;
    if (shown >= pageCharacters())
        return -1;
    const qsizetype p = pageStart() + shown;
    // On a short last page the caret can stand past the last cell: there is nothing to overtype.
    if (p >= m_text.size())
        return -1;
    QChar *characters = m_text.data();
    if (characters[p] == u' ') {
        setCaretPosition(shown + 1);
        return -1;
    }
    characters[p] = character;
    const int position = int(p);
    if (m_first == -1) {
        m_first = position;
        m_last = position + 1;
    } else {
        m_first = std::min(m_first, position);
        m_last = std::max(m_last, position + 1);
    }
    // Skip the separator after the low digit.
    const bool blankFollows = p + 1 < m_text.size() && characters[p + 1] == u' ';
    setCaretPosition(shown + (blankFollows ? 2 : 1));
    return position / CellCharacters;
}

void HexGridModel::moveCaretLeft()
{
    if (m_caret > 0)
        --m_caret;
}

void HexGridModel::moveCaretRight()
{
    setCaretPosition(m_caret + 1);
}

void HexGridModel::setCaretPosition(int position)
{
    m_caret = int(std::clamp<qsizetype>(position, 0, shownText().size()));
}
