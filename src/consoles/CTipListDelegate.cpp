#include "consoles/CTipListDelegate.h"

#include "consoles/CTipListBox.h"
#include "dialogs/CaptionFrame.h"

#include <QPainter>

int CTipListDelegate::itemHeight(const QFontMetrics &metrics) const
{
    return m_itemHeight_px > 0 ? m_itemHeight_px : metrics.height();
}

void CTipListDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!index.isValid())
        return;
    const QString text = index.data(Qt::DisplayRole).toString();
    const QRect rect = option.rect;
    const QString shown = CTipListBox::ShownItemText(text, option.fontMetrics.horizontalAdvance(text), rect.width());
    const bool selected = (option.state & QStyle::State_Selected) != 0;

    painter->save();
    painter->fillRect(rect, selected ? CTipListBox::SelectedItemFill : option.palette.color(QPalette::Base));
    if ((option.state & QStyle::State_HasFocus) != 0) {
        painter->setPen(CTipListBox::FocusFrameColour);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(rect.adjusted(0, 0, -1, -1));
    }
    painter->setFont(option.font);
    painter->setPen(selected ? option.palette.color(QPalette::HighlightedText) : PageTextColour);
    painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    painter->restore();
}

QSize CTipListDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QSize natural = QStyledItemDelegate::sizeHint(option, index);
    return {natural.width(), itemHeight(option.fontMetrics)};
}
