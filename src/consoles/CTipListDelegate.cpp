#include "consoles/CTipListDelegate.h"

#include "dialogs/CaptionFrame.h"

#include <QPainter>

#include <algorithm>

namespace {

// Characters given up at the end of a cut line to make room for the " ... ".
constexpr int CutMargin = 5;

} // namespace

QString CTipListDelegate::ShownItemText(const QString &text, int textWidth_px, int rectWidth_px)
{
    if (textWidth_px <= rectWidth_px || text.isEmpty())
        return text;
    const int averageWidth_px = std::max(1, textWidth_px / int(text.size()));
    const int kept = std::max(0, rectWidth_px / averageWidth_px - CutMargin);
    return text.left(kept) + QStringLiteral(" ... ");
}

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
    const QString shown = ShownItemText(text, option.fontMetrics.horizontalAdvance(text), rect.width());
    const bool selected = (option.state & QStyle::State_Selected) != 0;

    painter->save();
    painter->fillRect(rect, selected ? SelectedItemFill : option.palette.color(QPalette::Base));
    if ((option.state & QStyle::State_HasFocus) != 0) {
        painter->setPen(FocusFrameColour);
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
