#include "dialogs/DialogUnits.h"

#include <QFont>
#include <QFontMetrics>

#include <cstdint>

DialogUnits::DialogUnits(int baseX_px, int baseY_px)
    : m_baseX(baseX_px)
    , m_baseY(baseY_px)
{
}

DialogUnits DialogUnits::fromFont(const QFont &font)
{
    const QFontMetrics metrics(font);
    const int lettersWidth = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return DialogUnits(averageCharacterWidth(lettersWidth), metrics.height());
}

int DialogUnits::averageCharacterWidth(int lettersWidth_px)
{
    // Width / 52, rounded: computed in halves as the dialog manager does.
    return (lettersWidth_px / 26 + 1) / 2;
}

int DialogUnits::mulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    if (c < 0) {
        a = -a;
        c = -c;
    }
    const int64_t product = int64_t(a) * b;
    const int64_t half = c / 2;
    const int64_t result = product >= 0 ? (product + half) / c : (product - half) / c;
    return int(result);
}

int DialogUnits::toPixelsX(int dialogUnits) const
{
    return mulDiv(dialogUnits, m_baseX, 4);
}

int DialogUnits::toPixelsY(int dialogUnits) const
{
    return mulDiv(dialogUnits, m_baseY, 8);
}

QRect DialogUnits::toPixels(int x, int y, int width, int height) const
{
    return QRect(toPixelsX(x), toPixelsY(y), toPixelsX(width), toPixelsY(height));
}

QSize DialogUnits::toPixels(const QSize &size) const
{
    return QSize(toPixelsX(size.width()), toPixelsY(size.height()));
}
