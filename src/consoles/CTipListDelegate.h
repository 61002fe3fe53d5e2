#pragma once

#include <QColor>
#include <QStyledItemDelegate>

// Draws the items of a CTipListBox: fixed colours, " ... " truncation, a red frame on the item
// with the focus, and one fixed item height.
class CTipListDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // Fill of a selected item; its text takes the palette's highlighted-text colour.
    static constexpr QColor SelectedItemFill{54, 82, 143};
    // Frame of the item with the focus.
    static constexpr QColor FocusFrameColour{255, 0, 0};

    using QStyledItemDelegate::QStyledItemDelegate;

    // The text an item shows in a rectangle `rectWidth_px` wide when the whole text measures
    // `textWidth_px`: the text itself when it fits, else as many characters as fit at the
    // text's average character width, less five, followed by " ... ".
    static QString ShownItemText(const QString &text, int textWidth_px, int rectWidth_px);

    // 0 keeps the font's line height.
    void setItemHeight(int height_px) { m_itemHeight_px = height_px; }
    int itemHeight(const QFontMetrics &metrics) const;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    int m_itemHeight_px = 0;
};
