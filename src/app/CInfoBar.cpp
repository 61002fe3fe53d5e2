#include "app/CInfoBar.h"

#include "base/CardTypes.h"
#include "dialogs/DialogBuilder.h"
#include "base/LanguageText.h"

#include <QLabel>
#include <QPainter>

namespace {

using enum CInfoBar::ControlId;

// Template 152: one row of label and value pairs, 635 x 16 dialog units.
const DialogTemplate InfoBarTemplate = {152, 635, 16, {
    {PortLabel, ControlKind::Label, 7, 4, 22, 8, "Port:"},
    {PortValue, ControlKind::Label, 30, 4, 32, 8, ""},
    {BaudLabel, ControlKind::Label, 66, 4, 22, 8, "Baud:"},
    {BaudValue, ControlKind::Label, 89, 4, 34, 8, ""},
    {CardTypeLabel, ControlKind::Label, 128, 4, 38, 8, "Card type:"},
    {CardTypeValue, ControlKind::Label, 168, 4, 78, 8, ""},
    {MemoLabel, ControlKind::Label, 252, 4, 24, 8, "Memo:"},
    {MemoValue, ControlKind::Label, 278, 4, 354, 8, ""},
}};

struct BarLabel {
    int id;
    LanguageText text;
};

const BarLabel BarLabels[] = {
    {PortLabel, {"端口:", "Port:"}},
    {BaudLabel, {"波特率:", "Baud:"}},
    {CardTypeLabel, {"卡类型:", "Card type:"}},
    {MemoLabel, {"提示:", "Memo:"}},
};

const QColor ValueColour(255, 0, 0);
const QColor EtchShadow(145, 145, 145);
constexpr int EtchInset = 4;

} // namespace

CInfoBar::CInfoBar(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("id152"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);

    const DialogBuilder builder;
    for (QWidget *widget : builder.build(InfoBarTemplate, this)) {
        auto *label = qobject_cast<QLabel *>(widget);
        if (label == nullptr)
            continue;
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->setAutoFillBackground(false);
        label->setWordWrap(false);
        const bool isValue = label->text().isEmpty();
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, isValue ? ValueColour : QColor(Qt::black));
        label->setPalette(palette);
        switch (label->objectName().mid(2).toInt()) {
        case PortValue: m_port = label; break;
        case BaudValue: m_baud = label; break;
        case CardTypeValue: m_cardType = label; break;
        case MemoValue: m_memo = label; break;
        default: break;
        }
    }
    for (const BarLabel &barLabel : BarLabels)
        findChild<QLabel *>(DialogBuilder::objectName(barLabel.id))->setText(Tr(barLabel.text));

    // The bar spans the frame's width at the template's height.
    const int height = builder.templateSize(InfoBarTemplate).height();
    setMinimumSize(0, height);
    setMaximumHeight(height);
}

void CInfoBar::showPort(int port)
{
    m_port->setText(QStringLiteral("COM%1").arg(port));
}

void CInfoBar::showBaud(int bitsPerSecond)
{
    m_baud->setText(QString::number(bitsPerSecond));
}

void CInfoBar::showCardType(CardKind kind)
{
    m_cardType->setText(CardName(kind));
}

void CInfoBar::showMemo(const QString &text)
{
    m_memo->setText(text);
}

QString CInfoBar::memoText() const
{
    return m_memo->text();
}

void CInfoBar::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    // The etched line along the top edge: grey on the top row, white on the row below.
    QPainter painter(this);
    const int left = EtchInset;
    const int right = width() - EtchInset - 1;
    if (right < left)
        return;
    painter.setPen(EtchShadow);
    painter.drawLine(left, 0, right, 0);
    painter.setPen(Qt::white);
    painter.drawLine(left, 1, right, 1);
}
