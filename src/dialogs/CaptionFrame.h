#pragma once

#include <QColor>
#include <QRect>
#include <QString>

class QPainter;
class QWidget;

// The colour of every page label and caption frame.
inline constexpr QColor PageTextColour{41, 101, 132};

// The etched frame with a caption that replaces a page's group box: a grey outline with a white
// one a pixel right and below, open along the top edge where the caption stands.
class CaptionFrame
{
public:
    CaptionFrame() = default;
    CaptionFrame(const QString &caption, const QRect &rect, QWidget *page);

    void set(const QString &caption, const QRect &rect, QWidget *page);
    void setColour(const QColor &colour) { m_colour = colour; }
    // Moves the frame and redraws the page.
    void setRect(const QRect &rect);

    // Draws with the page's font on `painter` (which paints on the page).
    void draw(QPainter &painter) const;

    const QString &caption() const { return m_caption; }
    const QRect &rect() const { return m_rect; }
    const QColor &colour() const { return m_colour; }

private:
    QString m_caption;
    QRect m_rect;
    QColor m_colour = PageTextColour;
    QWidget *m_page = nullptr;
};
