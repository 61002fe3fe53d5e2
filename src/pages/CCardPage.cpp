#include "pages/CCardPage.h"

#include "controls/CHexEdit.h"
#include "dialogs/DialogBuilder.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPaintEvent>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTimeEdit>

#include <algorithm>

namespace {

// The kinds drawn over the background: they show it through and write in PageTextColour.
bool isPageColoured(ControlKind kind)
{
    return kind == ControlKind::Label || kind == ControlKind::Button || kind == ControlKind::RadioButton
        || kind == ControlKind::CheckBox || kind == ControlKind::GroupBox;
}

int itemData(const QVariant &data)
{
    bool ok = false;
    const int value = data.toInt(&ok);
    return ok ? value : -1;
}

} // namespace

CCardPage::CCardPage(const DialogTemplate &dialogTemplate, QWidget *parent)
    : QWidget(parent)
    , m_templateId(dialogTemplate.id)
{
    // The page paints every pixel of itself (its background or the window colour), so the
    // canvas under it need not be painted first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    const DialogBuilder builder;
    m_controls = builder.build(dialogTemplate, this);

    int groupBoxes = 0;
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        const ControlTemplate &control = dialogTemplate.controls[i];
        m_controlsById.try_emplace(control.id, ControlEntry{m_controls[i], control.kind});
        applyColours(m_controls[i], isPageColoured(control.kind) ? control.kind : ControlKind::TextEdit);
        if (control.kind == ControlKind::GroupBox)
            ++groupBoxes;
    }
    // One frame per group box at most, so references to the frames stay valid.
    m_captionFrames.reserve(std::size_t(groupBoxes));
    m_captionFrameIds.reserve(std::size_t(groupBoxes));
}

CCardPage::~CCardPage() = default;

QWidget *CCardPage::addControl(const ControlTemplate &control)
{
    // Built once: measuring the page font for every one of a page's run-time controls (the SRIX4K
    // page makes 260) would cost more than the controls themselves.
    static const DialogBuilder builder;
    QWidget *widget = builder.buildControl(control, this);
    m_controls.push_back(widget);
    m_controlsById.try_emplace(control.id, ControlEntry{widget, control.kind});
    applyColours(widget, isPageColoured(control.kind) ? control.kind : ControlKind::TextEdit);
    widget->show();
    return widget;
}

void CCardPage::layoutForWidth(int screenWidth)
{
    Q_UNUSED(screenWidth);
}

const CCardPage::ControlEntry *CCardPage::entry(int id) const
{
    const auto found = m_controlsById.find(id);
    return found != m_controlsById.end() ? &found->second : nullptr;
}

QWidget *CCardPage::control(int id) const
{
    const ControlEntry *found = entry(id);
    return found != nullptr ? found->widget : nullptr;
}

ControlKind CCardPage::controlKind(int id) const
{
    const ControlEntry *found = entry(id);
    return found != nullptr ? found->kind : ControlKind::Custom;
}

CHexEdit *CCardPage::hexEdit(int id) const
{
    return control<CHexEdit>(id);
}

QComboBox *CCardPage::comboBox(int id) const
{
    return control<QComboBox>(id);
}

QAbstractButton *CCardPage::button(int id) const
{
    return control<QAbstractButton>(id);
}

QLabel *CCardPage::label(int id) const
{
    return control<QLabel>(id);
}

void CCardPage::setCaption(int id, const QString &caption)
{
    QWidget *widget = control(id);
    if (auto *text = qobject_cast<QLabel *>(widget)) {
        text->setText(caption);
    } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
        button->setText(caption);
    } else if (auto *group = qobject_cast<QGroupBox *>(widget)) {
        group->setTitle(caption);
        for (std::size_t i = 0; i < m_captionFrameIds.size(); ++i) {
            if (m_captionFrameIds[i] == id) {
                m_captionFrames[i].set(caption, m_captionFrames[i].rect(), this);
                update();
            }
        }
    } else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        edit->setText(caption);
    } else if (auto *plain = qobject_cast<QPlainTextEdit *>(widget)) {
        plain->setPlainText(caption);
    }
}

QString CCardPage::caption(int id) const
{
    QWidget *widget = control(id);
    if (auto *text = qobject_cast<QLabel *>(widget))
        return text->text();
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return button->text();
    if (auto *group = qobject_cast<QGroupBox *>(widget))
        return group->title();
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        return edit->text();
    if (auto *plain = qobject_cast<QPlainTextEdit *>(widget))
        return plain->toPlainText();
    return QString();
}

void CCardPage::onClicked(int id, std::function<void()> handler)
{
    if (auto *clickable = button(id))
        connect(clickable, &QAbstractButton::clicked, this, [handler = std::move(handler)] { handler(); });
}

void CCardPage::onSelectionChanged(int id, std::function<void()> handler)
{
    QWidget *widget = control(id);
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        connect(combo, &QComboBox::currentIndexChanged, this, [handler = std::move(handler)] { handler(); });
    else if (auto *list = qobject_cast<QListWidget *>(widget))
        connect(list, &QListWidget::itemSelectionChanged, this, [handler = std::move(handler)] { handler(); });
    else if (auto *date = qobject_cast<QDateEdit *>(widget))
        connect(date, &QDateEdit::dateChanged, this, [handler = std::move(handler)] { handler(); });
    else if (auto *time = qobject_cast<QTimeEdit *>(widget))
        connect(time, &QTimeEdit::timeChanged, this, [handler = std::move(handler)] { handler(); });
    else if (auto *toggle = qobject_cast<QAbstractButton *>(widget))
        connect(toggle, &QAbstractButton::toggled, this, [handler = std::move(handler)] { handler(); });
}

void CCardPage::onTextChanged(int id, std::function<void()> handler)
{
    QWidget *widget = control(id);
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        connect(edit, &QLineEdit::textChanged, this, [handler = std::move(handler)] { handler(); });
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(widget))
        connect(plain, &QPlainTextEdit::textChanged, this, [handler = std::move(handler)] { handler(); });
}

void CCardPage::addListItem(int id, const QString &text, int data)
{
    QWidget *widget = control(id);
    if (auto *combo = qobject_cast<QComboBox *>(widget)) {
        // Adding to an empty list must not pick the item: a new list has no selection.
        const QSignalBlocker blocker(combo);
        const int selected = combo->currentIndex();
        combo->addItem(text, data);
        combo->setCurrentIndex(selected);
    } else if (auto *list = qobject_cast<QListWidget *>(widget)) {
        auto *item = new QListWidgetItem(text);
        item->setData(Qt::UserRole, data);
        list->addItem(item);
    }
}

int CCardPage::selectedItemData(int id) const
{
    QWidget *widget = control(id);
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        return combo->currentIndex() >= 0 ? itemData(combo->currentData()) : -1;
    if (auto *list = qobject_cast<QListWidget *>(widget)) {
        const QList<QListWidgetItem *> selected = list->selectedItems();
        return selected.isEmpty() ? -1 : itemData(selected.front()->data(Qt::UserRole));
    }
    return -1;
}

bool CCardPage::selectItemWithData(int id, int data)
{
    QWidget *widget = control(id);
    if (auto *combo = qobject_cast<QComboBox *>(widget)) {
        const int index = combo->findData(data);
        if (index < 0)
            return false;
        selectListIndex(id, index);
        return true;
    }
    if (auto *list = qobject_cast<QListWidget *>(widget)) {
        for (int row = 0; row < list->count(); ++row) {
            if (itemData(list->item(row)->data(Qt::UserRole)) == data) {
                selectListIndex(id, row);
                return true;
            }
        }
    }
    return false;
}

void CCardPage::selectListIndex(int id, int index)
{
    QWidget *widget = control(id);
    if (auto *combo = qobject_cast<QComboBox *>(widget)) {
        const QSignalBlocker blocker(combo);
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    } else if (auto *list = qobject_cast<QListWidget *>(widget)) {
        const QSignalBlocker blocker(list);
        if (index >= 0 && index < list->count()) {
            list->setCurrentRow(index);
        } else {
            list->clearSelection();
            list->setCurrentRow(-1);
        }
    }
}

CaptionFrame &CCardPage::addCaptionFrame(int groupBoxId)
{
    for (std::size_t i = 0; i < m_captionFrameIds.size(); ++i) {
        if (m_captionFrameIds[i] == groupBoxId)
            return m_captionFrames[i];
    }
    const QRect rect = controlRect(groupBoxId);
    const QString title = caption(groupBoxId);
    if (QWidget *group = control(groupBoxId))
        group->hide();
    m_captionFrames.emplace_back(title, rect, this);
    m_captionFrameIds.push_back(groupBoxId);
    update();
    return m_captionFrames.back();
}

QRect CCardPage::controlRect(int id) const
{
    QWidget *widget = control(id);
    if (widget == nullptr)
        return QRect();
    if (widget->parentWidget() == this)
        return widget->geometry();
    return QRect(widget->mapTo(this, QPoint(0, 0)), widget->size());
}

void CCardPage::applyColours(QWidget *widget, ControlKind kind)
{
    if (!isPageColoured(kind)) {
        widget->setPalette(QPalette());
        return;
    }
    QPalette palette = widget->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText, PageTextColour);
        palette.setColor(group, QPalette::ButtonText, PageTextColour);
    }
    widget->setPalette(palette);
    widget->setAutoFillBackground(false);
}

void CCardPage::setPaintsBackground(bool paints)
{
    m_paintsBackground = paints;
    if (!paints)
        m_background.clear();
    update();
}

void CCardPage::paintPage(QPainter &painter)
{
    Q_UNUSED(painter);
}

void CCardPage::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    if (m_paintsBackground)
        m_background.PaintBackground(painter, rect());
    else
        painter.fillRect(event->rect(), palette().window());
    paintPage(painter);
    for (const CaptionFrame &frame : m_captionFrames)
        frame.draw(painter);
}
