#include "dialogs/DialogBuilder.h"

#include "controls/CDecEdit.h"
#include "controls/CHexEdit.h"
#include "controls/CHexGrid.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimeEdit>

#include <map>

namespace {

std::map<ControlKind, DialogBuilder::ControlFactory> &controlFactories()
{
    static std::map<ControlKind, DialogBuilder::ControlFactory> factories;
    return factories;
}

QWidget *createBuiltIn(const ControlTemplate &control, QWidget *parent)
{
    const QString caption = Tr(control.caption);
    switch (control.kind) {
    case ControlKind::Label: {
        auto *label = new QLabel(caption, parent);
        // Static text starts at the top left and wraps at word boundaries.
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
        return label;
    }
    case ControlKind::Frame: {
        auto *frame = new QFrame(parent);
        frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        return frame;
    }
    case ControlKind::Button: {
        auto *button = new QPushButton(caption, parent);
        button->setAutoDefault(false);
        button->setDefault((control.flags & DefaultButton) != 0);
        return button;
    }
    case ControlKind::RadioButton:
        return new QRadioButton(caption, parent);
    case ControlKind::CheckBox:
        return new QCheckBox(caption, parent);
    case ControlKind::GroupBox:
        return new QGroupBox(caption, parent);
    case ControlKind::HexEdit: {
        auto *edit = new CHexEdit(parent);
        edit->setText(caption);
        return edit;
    }
    case ControlKind::HexGrid:
        return new CHexGrid(parent);
    case ControlKind::DecEdit: {
        auto *edit = new CDecEdit(parent);
        edit->setText(caption);
        return edit;
    }
    case ControlKind::TextEdit:
        if ((control.flags & Multiline) != 0) {
            auto *edit = new QPlainTextEdit(caption, parent);
            edit->setLineWrapMode(QPlainTextEdit::NoWrap);
            return edit;
        } else {
            auto *edit = new QLineEdit(caption, parent);
            edit->setAcceptDrops(false);
            return edit;
        }
    case ControlKind::DropList: {
        auto *combo = new QComboBox(parent);
        combo->setEditable(false);
        return combo;
    }
    case ControlKind::ListBox:
        return new QListWidget(parent);
    case ControlKind::DatePicker: {
        auto *picker = new QDateEdit(QDate::currentDate(), parent);
        picker->setCalendarPopup(true);
        return picker;
    }
    case ControlKind::TimePicker: {
        auto *picker = new QTimeEdit(QTime::currentTime(), parent);
        picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
        return picker;
    }
    case ControlKind::ScrollBar:
        return new QScrollBar(Qt::Vertical, parent);
    case ControlKind::Custom:
        return new QWidget(parent);
    }
    return new QWidget(parent);
}

void applyFlags(QWidget *widget, const ControlTemplate &control)
{
    if ((control.flags & Locked) != 0) {
        if (auto *hexEdit = qobject_cast<CHexEdit *>(widget))
            hexEdit->SetInputLocked(true);
        else if (auto *lineEdit = qobject_cast<QLineEdit *>(widget))
            lineEdit->setReadOnly(true);
        else if (auto *textEdit = qobject_cast<QPlainTextEdit *>(widget))
            textEdit->setReadOnly(true);
    }
    if ((control.flags & Disabled) != 0)
        widget->setEnabled(false);
    if ((control.flags & Hidden) != 0)
        widget->setHidden(true);
}

} // namespace

DialogBuilder::DialogBuilder(const QFont &font)
    : m_font(font)
    , m_units(DialogUnits::fromFont(font))
{
}

QFont DialogBuilder::pageFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont DialogBuilder::hexFont()
{
    QFont font(QStringLiteral("Liberation Mono"));
    font.setPixelSize(10);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

QString DialogBuilder::objectName(int id)
{
    return QStringLiteral("id%1").arg(id);
}

QSize DialogBuilder::templateSize(const DialogTemplate &dialogTemplate) const
{
    return m_units.toPixels(QSize(dialogTemplate.width, dialogTemplate.height));
}

QRect DialogBuilder::controlRect(const ControlTemplate &control) const
{
    return m_units.toPixels(control.x, control.y, control.width, control.height);
}

void DialogBuilder::setControlFactory(ControlKind kind, ControlFactory factory)
{
    if (factory)
        controlFactories()[kind] = std::move(factory);
    else
        controlFactories().erase(kind);
}

QWidget *DialogBuilder::createWidget(const ControlTemplate &control, QWidget *parent) const
{
    const auto found = controlFactories().find(control.kind);
    if (found != controlFactories().end()) {
        if (QWidget *widget = found->second(control, parent))
            return widget;
    }
    return createBuiltIn(control, parent);
}

QWidget *DialogBuilder::buildControl(const ControlTemplate &control, QWidget *host) const
{
    QWidget *widget = createWidget(control, host);
    widget->setObjectName(objectName(control.id));
    // A control made on the host already has the host's font; setting it again would re-lay
    // out the control for nothing.
    const QFont font = control.kind == ControlKind::HexEdit ? hexFont() : m_font;
    if (widget->font() != font || widget->parentWidget() != host)
        widget->setFont(font);

    QRect rect = controlRect(control);
    if (auto *combo = qobject_cast<QComboBox *>(widget)) {
        // The template gives the height with the list dropped; the closed box is one line.
        const int closedHeight = std::min(rect.height(), combo->sizeHint().height());
        const int itemHeight = std::max(1, combo->fontMetrics().height() + 2);
        combo->setMaxVisibleItems(std::max(1, (rect.height() - closedHeight) / itemHeight));
        rect.setHeight(closedHeight);
    }
    widget->setGeometry(rect);
    applyFlags(widget, control);
    return widget;
}

std::vector<QWidget *> DialogBuilder::build(const DialogTemplate &dialogTemplate, QWidget *host) const
{
    host->setFont(m_font);
    host->resize(templateSize(dialogTemplate));

    std::vector<QWidget *> widgets;
    widgets.reserve(dialogTemplate.controls.size());
    QButtonGroup *radioGroup = nullptr;
    bool groupStarted = true;
    for (const ControlTemplate &control : dialogTemplate.controls) {
        if ((control.flags & GroupStart) != 0)
            groupStarted = true;
        QWidget *widget = buildControl(control, host);
        if (auto *radio = qobject_cast<QRadioButton *>(widget)) {
            if (groupStarted || radioGroup == nullptr) {
                radioGroup = new QButtonGroup(host);
                radioGroup->setExclusive(true);
                groupStarted = false;
            }
            radio->setAutoExclusive(false);
            radioGroup->addButton(radio);
        }
        widgets.push_back(widget);
    }
    return widgets;
}
