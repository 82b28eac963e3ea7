// Canvas, keying, BMP output and the noise behind the wood.
#include <QPainter>

#include <cmath>

#include "art.h"

namespace art {

QImage canvas(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage keyed(const QImage& argb) {
    // A pixel more than about half covered becomes opaque in its own colour; the
    // edge stays crisp against any tile, with no pale halo from the white key.
    const QImage source = argb.convertToFormat(QImage::Format_ARGB32);
    QImage out(source.size(), QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const QRgb p = in[x];
            if (qAlpha(p) < 120) {
                line[x] = transparentKey.rgb();
                continue;
            }
            int r = qRed(p), g = qGreen(p), b = qBlue(p);
            if (r == 255 && g == 255 && b == 255) b = 254; // never the key colour inside a sprite
            line[x] = qRgb(r, g, b);
        }
    }
    return out;
}

QImage opaque(const QImage& image) {
    QImage out(image.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.drawImage(0, 0, image);
    return out;
}

bool saveBmp(const QImage& image, const QString& path) {
    return image.convertToFormat(QImage::Format_RGB888).save(path, "BMP");
}

namespace {
double hash(int x, int y, int seed) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + uint32_t(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / double(0xFFFFFF);
}
double smooth(double t) {
    return t * t * (3 - 2 * t);
}
} // namespace

double noise(double x, double y, int seed) {
    const int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    const double fx = smooth(x - x0), fy = smooth(y - y0);
    const double a = hash(x0, y0, seed), b = hash(x0 + 1, y0, seed);
    const double c = hash(x0, y0 + 1, seed), d = hash(x0 + 1, y0 + 1, seed);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

double fractalNoise(double x, double y, int seed, int octaves) {
    double sum = 0, amplitude = 0.5, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * noise(x, y, seed + i * 131);
        total += amplitude;
        x *= 2.03;
        y *= 2.03;
        amplitude *= 0.5;
    }
    return sum / total;
}

} // namespace art
