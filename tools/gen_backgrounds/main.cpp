// Draws the 32 background bitmaps of the program's background library: paper, linen and
// pattern tiles of different sizes, some 8-bit with a colour table, some 24-bit. Every tile
// repeats seamlessly and stays light, so that page text stays readable over it. The pictures
// depend on nothing but the table below: the same build gives the same files.
//
// Usage: gen_backgrounds <output folder>
// Writes bg201.bmp ... bg232.bmp and Kelb_Paper.qrc (prefix /Kelb_Paper, aliases 201 ... 232).

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>

namespace {

enum class Kind { Paper, Linen, Dots, Diamonds, Stripes, Gingham, Waves, Marble };

struct Scheme {
    QRgb light;
    QRgb dark;
};

// Light over dark: a tile mixes between the two, mostly near the light one.
constexpr Scheme Schemes[] = {
    {qRgb(250, 246, 232), qRgb(214, 200, 168)}, // cream
    {qRgb(238, 243, 249), qRgb(190, 205, 224)}, // blue-grey
    {qRgb(240, 245, 233), qRgb(196, 212, 182)}, // sage
    {qRgb(249, 240, 234), qRgb(220, 196, 184)}, // sand rose
};

struct Tile {
    Kind kind;
    int width, height; // pixels; each a multiple of the pattern's period
    int scheme;
    int colours;       // colour-table size of an 8-bit tile; 0 for a 24-bit tile
};

// Backgrounds 201 to 232, in order.
constexpr Tile Tiles[] = {
    {Kind::Paper, 128, 128, 0, 64},     {Kind::Paper, 256, 256, 1, 0},     {Kind::Linen, 96, 96, 0, 32},
    {Kind::Linen, 160, 160, 2, 0},      {Kind::Dots, 64, 64, 1, 16},       {Kind::Dots, 112, 112, 3, 0},
    {Kind::Diamonds, 96, 96, 2, 16},    {Kind::Diamonds, 144, 144, 0, 0},  {Kind::Stripes, 64, 64, 3, 32},
    {Kind::Stripes, 128, 128, 1, 0},    {Kind::Gingham, 96, 96, 0, 16},    {Kind::Gingham, 192, 192, 2, 0},
    {Kind::Waves, 128, 96, 1, 64},      {Kind::Waves, 256, 128, 3, 0},     {Kind::Marble, 128, 128, 2, 256},
    {Kind::Marble, 256, 256, 0, 0},     {Kind::Paper, 64, 64, 2, 16},      {Kind::Paper, 192, 192, 3, 256},
    {Kind::Linen, 48, 48, 1, 0},        {Kind::Linen, 128, 64, 3, 64},     {Kind::Dots, 96, 48, 0, 0},
    {Kind::Dots, 160, 160, 2, 32},      {Kind::Diamonds, 48, 48, 3, 0},    {Kind::Diamonds, 192, 96, 1, 64},
    {Kind::Stripes, 96, 96, 2, 0},      {Kind::Stripes, 160, 160, 0, 16},  {Kind::Gingham, 64, 64, 3, 0},
    {Kind::Gingham, 128, 128, 1, 32},   {Kind::Waves, 192, 192, 0, 0},     {Kind::Waves, 64, 128, 2, 16},
    {Kind::Marble, 96, 96, 3, 0},       {Kind::Marble, 192, 128, 1, 128},
};
static_assert(std::size(Tiles) == 32);

constexpr int FirstIdentifier = 201;
constexpr double Pi = std::numbers::pi;

uint32_t hash(uint32_t x, uint32_t y, uint32_t seed)
{
    uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

// 0 to 1.
double random01(uint32_t x, uint32_t y, uint32_t seed)
{
    return double(hash(x, y, seed) & 0xFFFFFF) / double(0xFFFFFF);
}

double smooth(double t)
{
    return t * t * (3 - 2 * t);
}

// Value noise on a lattice of `cell` pixels that wraps at the tile's size.
double valueNoise(int x, int y, int cell, int width, int height, uint32_t seed)
{
    const int cellsX = std::max(1, width / cell);
    const int cellsY = std::max(1, height / cell);
    const int ix = x / cell;
    const int iy = y / cell;
    const double fx = smooth(double(x % cell) / cell);
    const double fy = smooth(double(y % cell) / cell);
    auto at = [&](int cx, int cy) { return random01(uint32_t(cx % cellsX), uint32_t(cy % cellsY), seed); };
    const double top = at(ix, iy) * (1 - fx) + at(ix + 1, iy) * fx;
    const double bottom = at(ix, iy + 1) * (1 - fx) + at(ix + 1, iy + 1) * fx;
    return top * (1 - fy) + bottom * fy;
}

double fractalNoise(int x, int y, int width, int height, uint32_t seed)
{
    double sum = 0;
    double weight = 0.5;
    double total = 0;
    for (int cell = 32; cell >= 4; cell /= 2) {
        sum += weight * valueNoise(x, y, cell, width, height, seed + uint32_t(cell));
        total += weight;
        weight *= 0.6;
    }
    return sum / total;
}

// How far from the light colour a pixel lies, 0 to 1.
double shade(const Tile &tile, int x, int y, uint32_t seed)
{
    const int w = tile.width;
    const int h = tile.height;
    const double grain = random01(uint32_t(x), uint32_t(y), seed ^ 0x5EEDu);
    switch (tile.kind) {
    case Kind::Paper:
        return 0.55 * fractalNoise(x, y, w, h, seed) + 0.25 * grain;
    case Kind::Linen: {
        // Threads of uneven thickness across and along, woven over and under.
        const double row = random01(0, uint32_t(y), seed);
        const double column = random01(uint32_t(x), 0, seed + 1);
        const double weave = ((x / 2 + y / 2) % 2 == 0) ? row : column;
        return 0.45 * weave + 0.2 * grain + 0.15 * valueNoise(x, y, 16, w, h, seed);
    }
    case Kind::Dots: {
        const int period = 16;
        const double dx = (x % period) - period / 2.0 + 0.5;
        const double dy = (y % period) - period / 2.0 + 0.5;
        const double distance = std::sqrt(dx * dx + dy * dy);
        const double dot = std::clamp(3.5 - distance, 0.0, 1.0);
        return 0.55 * dot + 0.15 * grain;
    }
    case Kind::Diamonds: {
        const int period = 24;
        const int u = (x + y) % period;
        const int v = (x - y + 4 * period * 64) % period;
        const double line = std::max(std::clamp(1.5 - std::min(u, period - u), 0.0, 1.0),
                                     std::clamp(1.5 - std::min(v, period - v), 0.0, 1.0));
        return 0.5 * line + 0.1 * grain + 0.1 * valueNoise(x, y, 8, w, h, seed);
    }
    case Kind::Stripes: {
        const int period = 32;
        const double wave = 0.5 + 0.5 * std::sin(2 * Pi * ((x + y) % period) / period);
        return 0.35 * wave + 0.2 * grain;
    }
    case Kind::Gingham: {
        const int period = 16;
        const int across = (x / period) % 2;
        const int down = (y / period) % 2;
        return 0.22 * (across + down) + 0.15 * grain;
    }
    case Kind::Waves: {
        const double bend = 0.12 * std::sin(2 * Pi * 2 * x / w);
        const double wave = 0.5 + 0.5 * std::sin(2 * Pi * (4.0 * y / h + bend));
        return 0.4 * wave + 0.15 * grain;
    }
    case Kind::Marble: {
        const double turbulence = fractalNoise(x, y, w, h, seed);
        const double vein = 0.5 + 0.5 * std::sin(2 * Pi * (2.0 * x / w) + 6 * turbulence);
        return 0.45 * std::pow(vein, 3) + 0.2 * turbulence + 0.1 * grain;
    }
    }
    return 0;
}

QRgb mix(QRgb light, QRgb dark, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    auto channel = [t](int a, int b) { return int(std::lround(a + (b - a) * t)); };
    return qRgb(channel(qRed(light), qRed(dark)), channel(qGreen(light), qGreen(dark)),
                channel(qBlue(light), qBlue(dark)));
}

QImage drawTile(const Tile &tile, uint32_t seed)
{
    const Scheme &scheme = Schemes[tile.scheme];
    if (tile.colours > 0) {
        // An 8-bit tile: a colour table running from the light to the dark colour.
        QImage image(tile.width, tile.height, QImage::Format_Indexed8);
        QVector<QRgb> table;
        for (int i = 0; i < tile.colours; ++i)
            table.append(mix(scheme.light, scheme.dark, double(i) / (tile.colours - 1)));
        image.setColorTable(table);
        for (int y = 0; y < tile.height; ++y) {
            uchar *line = image.scanLine(y);
            for (int x = 0; x < tile.width; ++x) {
                const double t = std::clamp(shade(tile, x, y, seed), 0.0, 1.0);
                line[x] = uchar(std::lround(t * (tile.colours - 1)));
            }
        }
        return image;
    }
    // A 24-bit tile: the same mixing with a faint tint of its own in every pixel.
    QImage image(tile.width, tile.height, QImage::Format_RGB32);
    for (int y = 0; y < tile.height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < tile.width; ++x) {
            const QRgb base = mix(scheme.light, scheme.dark, shade(tile, x, y, seed));
            const uint32_t tint = hash(uint32_t(x), uint32_t(y), seed ^ 0x7147u);
            auto jitter = [](int value, uint32_t bits) { return std::clamp(value + int(bits % 5) - 2, 0, 255); };
            line[x] = qRgb(jitter(qRed(base), tint), jitter(qGreen(base), tint >> 8), jitter(qBlue(base), tint >> 16));
        }
    }
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_backgrounds <output folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "gen_backgrounds: cannot create %s\n", argv[1]);
        return 1;
    }

    QString list;
    QTextStream qrc(&list);
    qrc << "<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"/Kelb_Paper\">\n";
    for (int index = 0; index < int(std::size(Tiles)); ++index) {
        const int identifier = FirstIdentifier + index;
        const QString fileName = QStringLiteral("bg%1.bmp").arg(identifier);
        const QImage image = drawTile(Tiles[index], uint32_t(identifier) * 2654435761u);
        if (!image.save(QDir(folder).filePath(fileName), "BMP")) {
            std::fprintf(stderr, "gen_backgrounds: cannot write %s\n", qPrintable(fileName));
            return 1;
        }
        qrc << "  <file alias=\"" << identifier << "\">" << fileName << "</file>\n";
    }
    qrc << "</qresource>\n</RCC>\n";

    QFile file(QDir(folder).filePath(QStringLiteral("Kelb_Paper.qrc")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(list.toUtf8()) < 0) {
        std::fprintf(stderr, "gen_backgrounds: cannot write Kelb_Paper.qrc\n");
        return 1;
    }
    return 0;
}
