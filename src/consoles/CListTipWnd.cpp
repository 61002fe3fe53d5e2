#include "consoles/CListTipWnd.h"

#include "consoles/CTipListBox.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace {

// Text starts this far inside the tip's left edge.
constexpr int TextIndent_px = 6;
// On screen the tip stands this far right of the click and is this much wider than measured.
constexpr int ScreenShift_px = 5;
constexpr int ScreenWiden_px = 3;

} // namespace

CListTipWnd::CListTipWnd(CTipListBox *listBox)
    : QWidget(listBox, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
    , m_listBox(listBox)
{
    setObjectName(QStringLiteral("listTip"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    // Losing the program's activation takes the mouse from the tip; the tip goes with it.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            HideTip();
    });
}

QStringList CListTipWnd::WrapTipText(const QString &text)
{
    QStringList pieces;
    for (qsizetype start = 0; start < text.size(); start += PieceLength)
        pieces.append(text.mid(start, PieceLength));
    return pieces;
}

QRect CListTipWnd::TipRect(const QPoint &click, int firstPieceWidth_px, int pieceCount, int lineHeight_px,
                           const QSize &clientSize)
{
    const int width = firstPieceWidth_px + 6;
    const int height = pieceCount * lineHeight_px + 3;
    int left = click.x();
    int top = click.y();
    if (left + width > clientSize.width())
        left -= left + width - clientSize.width();
    if (top + height > clientSize.height())
        top -= top + height - clientSize.height();
    return {left, top, width, height};
}

bool CListTipWnd::ShowTip(const QString &text, const QPoint &click)
{
    if (text.isEmpty() || isVisible() || QApplication::focusWidget() == nullptr)
        return false;
    m_pieces = WrapTipText(text);
    setFont(m_listBox->font());
    const QFontMetrics metrics(m_listBox->font());
    const QRect local = TipRect(click, metrics.horizontalAdvance(m_pieces.first()), int(m_pieces.size()),
                                metrics.height(), m_listBox->viewport()->size());
    const QPoint screenTopLeft = m_listBox->viewport()->mapToGlobal(local.topLeft()) + QPoint(ScreenShift_px, 0);
    setGeometry(QRect(screenTopLeft, QSize(local.width() + ScreenWiden_px, local.height())));
    show();
    grabMouse();
    return true;
}

void CListTipWnd::HideTip()
{
    if (isVisible())
        hide();
}

void CListTipWnd::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::ToolTipText));
    painter.setFont(m_listBox->font());
    const int lineHeight = painter.fontMetrics().height();
    for (int i = 0; i < m_pieces.size(); ++i) {
        const QRect line(TextIndent_px, 1 + i * lineHeight, width() - TextIndent_px, lineHeight);
        painter.drawText(line, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_pieces.at(i));
    }
}

void CListTipWnd::mousePressEvent(QMouseEvent *event)
{
    // The press that dismisses the tip still belongs to the window under the pointer.
    const QPointF global = event->globalPosition();
    HideTip();
    QWidget *target = QApplication::widgetAt(global.toPoint());
    if (target == nullptr || target == this)
        return;
    QMouseEvent press(QEvent::MouseButtonPress, target->mapFromGlobal(global), global, event->button(),
                      event->buttons(), event->modifiers());
    QCoreApplication::sendEvent(target, &press);
}

void CListTipWnd::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
}

void CListTipWnd::hideEvent(QHideEvent *event)
{
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
    QWidget::hideEvent(event);
}
