#include "dialogs/CaptionFrame.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

namespace {

// Draws a one-pixel horizontal or vertical line as the platform's line drawing does: from the
// current point up to, but not including, the end point, which becomes the current point.
class PixelPen
{
public:
    PixelPen(QPainter &painter, const QColor &colour)
        : m_painter(painter)
        , m_colour(colour)
    {
    }

    void moveTo(int x, int y) { m_at = QPoint(x, y); }

    void lineTo(int x, int y)
    {
        const QPoint to(x, y);
        if (to.y() == m_at.y() && to.x() != m_at.x()) {
            const int step = to.x() > m_at.x() ? 1 : -1;
            const int first = m_at.x();
            const int last = to.x() - step;
            m_painter.fillRect(QRect(QPoint(std::min(first, last), to.y()), QPoint(std::max(first, last), to.y())),
                               m_colour);
        } else if (to.x() == m_at.x() && to.y() != m_at.y()) {
            const int step = to.y() > m_at.y() ? 1 : -1;
            const int first = m_at.y();
            const int last = to.y() - step;
            m_painter.fillRect(QRect(QPoint(to.x(), std::min(first, last)), QPoint(to.x(), std::max(first, last))),
                               m_colour);
        }
        m_at = to;
    }

private:
    QPainter &m_painter;
    QColor m_colour;
    QPoint m_at;
};

} // namespace

CaptionFrame::CaptionFrame(const QString &caption, const QRect &rect, QWidget *page)
{
    set(caption, rect, page);
}

void CaptionFrame::set(const QString &caption, const QRect &rect, QWidget *page)
{
    m_caption = caption;
    m_rect = rect;
    m_page = page;
}

void CaptionFrame::setRect(const QRect &rect)
{
    m_rect = rect;
    if (m_page != nullptr)
        m_page->update();
}

void CaptionFrame::draw(QPainter &painter) const
{
    // The outline's right and bottom edges lie on the first pixel outside the rectangle's last
    // column and row, as rectangles with exclusive right and bottom edges give them.
    const int left = m_rect.left();
    const int top = m_rect.top();
    const int right = m_rect.left() + m_rect.width();
    const int bottom = m_rect.top() + m_rect.height();

    const QFont font = m_page != nullptr ? m_page->font() : painter.font();
    const QFontMetrics metrics(font);
    const int w = metrics.horizontalAdvance(m_caption);
    const int h = metrics.height();
    const int characters = int(m_caption.size());
    const int x = left + 2 * (characters > 0 ? w / characters : 0);
    const int y = top - h / 2;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);

    PixelPen grey(painter, QColor(128, 128, 128));
    grey.moveTo(left, top);
    grey.lineTo(left, bottom - 1);
    grey.lineTo(right - 1, bottom - 1);
    grey.lineTo(right - 1, top);
    grey.lineTo(x + w + 2, top);
    grey.moveTo(x - 2, top);
    grey.lineTo(left, top);

    PixelPen white(painter, QColor(255, 255, 255));
    white.moveTo(left + 1, top + 1);
    white.lineTo(left + 1, bottom);
    white.lineTo(right, bottom);
    white.lineTo(right, top + 1);
    white.lineTo(x + w + 2, top + 1);
    white.moveTo(x - 2, top + 1);
    white.lineTo(left + 1, top + 1);

    painter.setFont(font);
    painter.setPen(m_colour);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(QPoint(x, y + metrics.ascent()), m_caption);
    painter.restore();
}
