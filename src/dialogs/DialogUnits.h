#pragma once

#include <QRect>
#include <QSize>

class QFont;

// Dialog units to pixels, as the platform's dialog manager converts them: the horizontal base
// unit is the font's average character width (of "A".."Z" and "a".."z", rounded), the vertical
// one the font's height; a horizontal unit is a quarter of the first, a vertical one an eighth
// of the second.
class DialogUnits
{
public:
    DialogUnits(int baseX_px, int baseY_px);
    // The base units of a font; needs the GUI application for the font's metrics.
    static DialogUnits fromFont(const QFont &font);
    // The rounded average of a width measured over the 52 letters.
    static int averageCharacterWidth(int lettersWidth_px);

    int baseX() const { return m_baseX; }
    int baseY() const { return m_baseY; }

    int toPixelsX(int dialogUnits) const;
    int toPixelsY(int dialogUnits) const;
    // Each of position and size is converted on its own, as the dialog manager does.
    QRect toPixels(int x, int y, int width, int height) const;
    QSize toPixels(const QSize &size) const;

    // a * b / c rounded half away from zero; -1 for a zero divisor.
    static int mulDiv(int a, int b, int c);

private:
    int m_baseX;
    int m_baseY;
};
