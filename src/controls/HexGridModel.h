#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringView>

#include <cstdint>

// The hex grid without a widget: the whole memory image as data text of three-character cells
// ("XX "), cell k at positions 3k, 3k + 1 and 3k + 2; the page of rows shown; the caret within
// the shown text; and the range of positions the operator has overtyped since the last load.
//
// The shown text is the data text from the first character of the current page to the end.
// The caret is a position in the shown text (0 .. its length). A keystroke changes one
// character in place, so its cost does not grow with the image.
class HexGridModel
{
public:
    static constexpr int DefaultRowsPerPage = 16;
    static constexpr int DefaultCellsPerRow = 16;
    static constexpr int CellCharacters = 3;

    // Stores both; values below 1 would leave no page to show and are ignored. The current page
    // is kept; the caret is clamped to the text it now shows.
    void SetGeometry(int rowsPerPage, int cellsPerRow);
    void SetGridFont(bool bold) { m_bold = bold; }
    // Loads the image (padded with "00 " cells to at least one page), discards the modified
    // range and puts the caret at the start.
    void SetData(const QByteArray &bytes);
    // The same from a buffer; a null buffer loads no bytes.
    void SetDataBytes(const uint8_t *bytes, int count);
    // Pages needed for the data text, the last one possibly short.
    int GetPageCount() const;
    // Makes the page current when it exists, keeping the caret position (clamped to the shown
    // text); returns false and changes nothing otherwise.
    bool ShowGridPage(int page);
    // Every cell from the one holding the first modified position to the one holding the last;
    // empty when nothing was typed.
    QByteArray GetModifiedBytes() const;
    // Index of the first changed byte, 0 when nothing was typed.
    int GetFirstModifiedByte() const;
    // Rows counted over the whole image; -1 when nothing was typed.
    int GetFirstModifiedRow() const;
    int GetLastModifiedRow() const;
    // One byte per cell of the row; empty for a row outside the image.
    QByteArray GetRowBytes(int row) const;
    // Every cell becomes "00 ", keeping the cell count and the modified range; caret to the start.
    void ClearData();
    void ResetModifiedRange();

    // What the operator types: a hex digit overtypes the digit under the caret, a blank under
    // the caret only moves it on. Returns the byte changed, or -1 when no byte changed.
    int typeCharacter(QChar character);
    // Backspace and the Left arrow: one position left, nothing deleted.
    void moveCaretLeft();
    void moveCaretRight();
    int caretPosition() const { return m_caret; }
    // Clamped to 0 .. the shown text's length.
    void setCaretPosition(int position);

    int rowsPerPage() const { return m_rowsPerPage; }
    int cellsPerRow() const { return m_cellsPerRow; }
    int currentPage() const { return m_page; }
    bool isBold() const { return m_bold; }
    // The modified range [first, last) in data-text positions, both -1 when nothing was typed.
    int modifiedFirst() const { return m_first; }
    int modifiedLast() const { return m_last; }
    int cellCount() const { return int(m_text.size()) / CellCharacters; }
    int pageCharacters() const { return m_rowsPerPage * m_cellsPerRow * CellCharacters; }
    QStringView dataText() const { return m_text; }
    // The text from the current page's first character to the end (empty past the data).
    QStringView shownText() const;

private:
    void load(const uint8_t *bytes, int count);
    // Bytes of the cells [firstCell, endCell), cut to the image.
    QByteArray cellBytes(qsizetype firstCell, qsizetype endCell) const;
    qsizetype pageStart() const { return qsizetype(m_page) * pageCharacters(); }

    // Never shared with a copy, so that overtyping a character never copies the image.
    QString m_text;
    int m_rowsPerPage = DefaultRowsPerPage;
    int m_cellsPerRow = DefaultCellsPerRow;
    int m_page = 0;
    int m_first = -1;
    int m_last = -1;
    int m_caret = 0;
    bool m_bold = false;
};
