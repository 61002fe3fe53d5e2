#pragma once

#include "controls/HexGridModel.h"

#include <QByteArray>
#include <QString>
#include <QWidget>

#include <cstdint>

// The paged hex grid of the memory-card and tag pages: shows the data text from the current
// page's first cell on, wrapped at the widget's width in a fixed pitch, and lets the operator
// overtype hex digits in place. Text is never inserted, deleted or pasted. The rules live in
// HexGridModel; this widget paints the lines that fit and turns keys and clicks into caret
// moves and typed characters.
class CHexGrid : public QWidget
{
    Q_OBJECT
    // What the operator sees: the data text from the current page's first character to the end.
    Q_PROPERTY(QString text READ text)
public:
    explicit CHexGrid(QWidget *parent = nullptr);

    void SetGeometry(int rowsPerPage, int cellsPerRow);
    void SetGridFont(bool bold);
    void SetData(const QByteArray &bytes);
    void SetDataBytes(const uint8_t *bytes, int count);
    int GetPageCount() const;
    void ShowGridPage(int page);
    QByteArray GetModifiedBytes() const;
    int GetFirstModifiedByte() const;
    int GetFirstModifiedRow() const;
    int GetLastModifiedRow() const;
    QByteArray GetRowBytes(int row) const;
    void ClearData();
    void ResetModifiedRange();

    QString text() const;
    int currentPage() const { return m_model.currentPage(); }
    // A position in the shown text, clamped to it.
    int caretPosition() const { return m_model.caretPosition(); }
    void setCaretPosition(int position);
    const HexGridModel &model() const { return m_model; }

    QSize sizeHint() const override;

signals:
    // The operator overtyped a digit of this byte (counted over the whole image).
    void byteEdited(int byteIndex);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void applyFont();
    // Whole cells per wrapped line: a cell fits when its two digits do, as a word's trailing
    // blank may run past the edge.
    int charactersPerLine() const;
    int positionAt(QPoint point) const;
    QPoint characterOrigin(int position) const;

    HexGridModel m_model;
    int m_characterWidth_px = 1;
    int m_lineHeight_px = 1;
    int m_ascent_px = 0;
};
