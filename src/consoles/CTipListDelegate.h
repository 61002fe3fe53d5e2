#pragma once

#include <QStyledItemDelegate>

// Draws the items of a CTipListBox: fixed colours, " ... " truncation, a red frame on the item
// with the focus, and one fixed item height.
class CTipListDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // 0 keeps the font's line height.
    void setItemHeight(int height_px) { m_itemHeight_px = height_px; }
    int itemHeight(const QFontMetrics &metrics) const;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    int m_itemHeight_px = 0;
};
