#include "dialogs/PageBackground.h"

#include "dialogs/CResourceLibrary.h"
#include "reader/RuntimeState.h"

#include <QFileInfo>
#include <QPainter>

#include <memory>

void PageBackground::clear()
{
    m_bitmap = QImage();
    m_tile = QPixmap();
    m_palette.clear();
    m_width = 0;
    m_height = 0;
    m_cached = false;
}

qint64 PageBackground::colourCount(const QImage &bitmap)
{
    if (bitmap.colorCount() > 0)
        return bitmap.colorCount();
    const int bits = bitmap.format() == QImage::Format_RGB32 ? 24 : bitmap.depth();
    return qint64(1) << std::min(bits, 32);
}

QVector<QRgb> PageBackground::halftonePalette()
{
    // The twenty fixed system colours around a 6 x 6 x 6 colour cube.
    static const QRgb system[20] = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),     qRgb(0, 128, 0),     qRgb(128, 128, 0),   qRgb(0, 0, 128),
        qRgb(128, 0, 128),   qRgb(0, 128, 128),   qRgb(192, 192, 192), qRgb(192, 220, 192), qRgb(166, 202, 240),
        qRgb(255, 251, 240), qRgb(160, 160, 164), qRgb(128, 128, 128), qRgb(255, 0, 0),     qRgb(0, 255, 0),
        qRgb(255, 255, 0),   qRgb(0, 0, 255),     qRgb(255, 0, 255),   qRgb(0, 255, 255),   qRgb(255, 255, 255)};
    QVector<QRgb> palette;
    palette.reserve(256);
    for (int i = 0; i < 10; ++i)
        palette.append(system[i]);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette.append(qRgb(r * 51, g * 51, b * 51));
    while (palette.size() < 246)
        palette.append(qRgb(0, 0, 0));
    for (int i = 10; i < 20; ++i)
        palette.append(system[i]);
    return palette;
}

PageBackground::Source PageBackground::currentSource(int identifier)
{
    Source source;
    source.path = BackgroundLibrary != nullptr ? BackgroundLibrary->path() : CResourceLibrary::defaultPath();
    const QFileInfo file(source.path);
    if (file.exists()) {
        source.modified = file.lastModified();
        source.size = file.size();
    }
    source.identifier = identifier;
    return source;
}

bool PageBackground::LoadBackground(int identifier)
{
    const Source source = currentSource(identifier);
    if (m_cached && source == m_source)
        return hasBitmap();
    clear();
    m_source = source;
    m_cached = true;

    // The view and every page show the same bitmap: the last one loaded serves them all, so a
    // page switch does not read and decode the library again while its file is unchanged.
    struct Loaded {
        Source source;
        QImage bitmap;
        QPixmap tile;
        QVector<QRgb> palette;
    };
    static Loaded last;
    if (last.source != source) {
        // Outside the chooser the library is opened for this one load and released right after.
        std::unique_ptr<CResourceLibrary> ownLibrary;
        CResourceLibrary *library = BackgroundLibrary;
        if (library == nullptr) {
            ownLibrary = std::make_unique<CResourceLibrary>(source.path);
            library = ownLibrary.get();
        }
        const QImage bitmap = library->loadBitmap(identifier);
        // Painting copies the bitmap unchanged; a converted copy keeps the tiling fast.
        last = {source, bitmap, QPixmap(), {}};
        if (!bitmap.isNull()) {
            last.tile = QPixmap::fromImage(bitmap.convertToFormat(QImage::Format_RGB32));
            last.palette = colourCount(bitmap) <= 256 ? bitmap.colorTable() : halftonePalette();
        }
    }
    if (last.bitmap.isNull())
        return false;

    m_bitmap = last.bitmap;
    m_width = m_bitmap.width();
    m_height = m_bitmap.height();
    m_palette = last.palette;
    m_tile = last.tile;
    return true;
}

void PageBackground::PaintBackground(QPainter &painter, const QRect &clientRect)
{
    if (CurBitmap < 0 || CurBitmap >= CResourceLibrary::BitmapCount) {
        clear();
        return;
    }
    if (!LoadBackground(CResourceLibrary::FirstBitmapId + CurBitmap))
        return;
    painter.drawTiledPixmap(clientRect, m_tile, QPoint(0, 0));
}
