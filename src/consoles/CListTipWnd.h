#pragma once

#include <QStringList>
#include <QWidget>

class CTipListBox;

// The tip of a CTipListBox: a small top-most window without activation that shows a clicked
// line whole, wrapped every 60 characters. While it is shown it holds the mouse; the next
// button press hides it and goes on to the window under the pointer, and a key press on the
// list hides it too.
class CListTipWnd : public QWidget
{
    Q_OBJECT
public:
    static constexpr int PieceLength = 60;

    explicit CListTipWnd(CTipListBox *listBox);

    // The pieces the tip shows: one per 60 characters (the last may be shorter); none for an
    // empty text.
    static QStringList WrapTipText(const QString &text);
    // The tip's rectangle in the list's client coordinates: from the click, as wide as the
    // first piece plus 6 pixels and as high as the pieces plus 3 pixels, moved left and up by
    // what would pass the client area's right and bottom edges.
    static QRect TipRect(const QPoint &click, int firstPieceWidth_px, int pieceCount, int lineHeight_px,
                         const QSize &clientSize);

    // Shows `text` for a click at `click` (list client coordinates). Nothing is shown for an
    // empty text, while the tip is already shown, or when no window of the program has the
    // keyboard focus. True when the tip was shown.
    bool ShowTip(const QString &text, const QPoint &click);
    void HideTip();

    const QStringList &pieces() const { return m_pieces; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    CTipListBox *m_listBox;
    QStringList m_pieces;
};
