#include "app/ConnectingWindow.h"

#include "reporting/MessageCatalogue.h"
#include "app/ScreenMetrics.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace {

constexpr int TextHeight = 50;
constexpr int Margin = 24;

QFont connectingFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(TextHeight);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace

ConnectingWindow::ConnectingWindow(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_text(Message(Msg::Connecting))
{
    setObjectName(QStringLiteral("connectingWindow"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    const QFontMetrics metrics(connectingFont());
    setFixedSize(metrics.horizontalAdvance(m_text) + 2 * Margin, metrics.height() + 2 * Margin);
}

void ConnectingWindow::showCentred()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->geometry() : QRect(QPoint(0, 0), ScreenSize());
    move(area.center() - rect().center());
    show();
    repaint();
}

void ConnectingWindow::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.setPen(QColor(255, 0, 0));
    painter.setFont(connectingFont());
    painter.drawText(rect(), Qt::AlignCenter, m_text);
}
