#pragma once

#include <QDateTime>
#include <QImage>
#include <QPixmap>
#include <QRgb>
#include <QString>
#include <QVector>

class QPainter;
class QRect;

// The tiled background of a card page and of the page-hosting view: the bitmap chosen by
// CurBitmap, taken from the background library, with its palette.
class PageBackground
{
public:
    // Replaces the bitmap and palette by those of the library's bitmap with this identifier;
    // false (and no bitmap) when the library or the bitmap is missing.
    bool LoadBackground(int identifier);
    // Paints the bitmap of the current CurBitmap tiled from the rectangle's top-left corner in
    // steps of its size, the last row and column cut at the edge; paints nothing when there is
    // no bitmap or CurBitmap is outside 0 to 31.
    void PaintBackground(QPainter &painter, const QRect &clientRect);

    // Forgets the bitmap and its palette.
    void clear();

    bool hasBitmap() const { return !m_bitmap.isNull(); }
    const QImage &bitmap() const { return m_bitmap; }
    // The bitmap's colour table for up to 256 colours, else a halftone palette.
    const QVector<QRgb> &palette() const { return m_palette; }
    int bitmapWidth() const { return m_width; }
    int bitmapHeight() const { return m_height; }

    // The number of colours a bitmap states: its colour-table size, or 2 to the power of its
    // bits per pixel without one.
    static qint64 colourCount(const QImage &bitmap);
    // The 256-entry palette used for bitmaps of more than 256 colours.
    static QVector<QRgb> halftonePalette();

private:
    // What the loaded bitmap came from: a repaint of the same choice from the unchanged
    // library reuses it instead of reading the library again.
    struct Source {
        QString path;
        QDateTime modified;
        qint64 size = -1;
        int identifier = 0;
        bool operator==(const Source &other) const = default;
    };
    static Source currentSource(int identifier);

    QImage m_bitmap;
    QPixmap m_tile;
    QVector<QRgb> m_palette;
    int m_width = 0;
    int m_height = 0;
    Source m_source;
    bool m_cached = false;
};
