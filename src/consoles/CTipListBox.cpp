#include "consoles/CTipListBox.h"

#include "consoles/CListTipWnd.h"
#include "consoles/CTipListDelegate.h"

#include <QMouseEvent>
#include <QVBoxLayout>

#include <algorithm>

CTipListBox::CTipListBox(QWidget *parent)
    : QListWidget(parent)
    , m_delegate(new CTipListDelegate(this))
{
    setItemDelegate(m_delegate);
    setSelectionMode(QAbstractItemView::MultiSelection);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
}

CTipListBox::~CTipListBox() = default;

CTipListBox *CTipListBox::inPlaceOf(QWidget *placeholder)
{
    auto *list = new CTipListBox(placeholder);
    const QString name = placeholder->objectName();
    placeholder->setObjectName(name + QStringLiteral("Host"));
    list->setObjectName(name);
    auto *layout = new QVBoxLayout(placeholder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list);
    return list;
}

void CTipListBox::AddItem(const QString &text)
{
    addItem(text);
    clearSelection();
    QListWidgetItem *newest = item(count() - 1);
    newest->setSelected(true);
    setCurrentItem(newest, QItemSelectionModel::NoUpdate);
    scrollToItem(newest);
}

void CTipListBox::ResetItems()
{
    clear();
}

void CTipListBox::EnableTip()
{
    if (m_tip == nullptr)
        m_tip = new CListTipWnd(this);
}

void CTipListBox::SetItemHeight(int height_px)
{
    m_delegate->setItemHeight(height_px);
    // The uniform item size is taken from the first item: make the view measure again.
    doItemsLayout();
}

int CTipListBox::itemHeight() const
{
    return m_delegate->itemHeight(fontMetrics());
}

void CTipListBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QListWidget::mousePressEvent(event);
        return;
    }
    clearSelection();
    QListWidget::mousePressEvent(event);
    if (m_tip == nullptr)
        return;
    const QList<QListWidgetItem *> selected = selectedItems();
    if (selected.isEmpty())
        return;
    const auto first = std::min_element(selected.begin(), selected.end(),
                                        [this](QListWidgetItem *a, QListWidgetItem *b) { return row(a) < row(b); });
    m_tip->ShowTip((*first)->text(), event->position().toPoint());
}

void CTipListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListWidget::mouseDoubleClickEvent(event);
    if (QListWidgetItem *line = itemAt(event->position().toPoint()))
        emit lineDoubleClicked(line->text());
}

void CTipListBox::keyPressEvent(QKeyEvent *event)
{
    if (m_tip != nullptr)
        m_tip->HideTip();
    QListWidget::keyPressEvent(event);
}
