#include "ui/board/images.h"

#include <QFile>

#include <string>

#include "game/controller.h"
#include "game/gamefiles.h"
#include "ui/board/geometry.h"

const char* pictureFamilyFolder(int screenType) {
    switch (screenType) {
    case ScreenVga:
    case ScreenVgaLandscape:
    case ScreenDesktop: // its pictures are painted for its size; the files are the large set
        return "VGA";
    case ScreenNarrow:
        return "Narrow";
    case ScreenLow:
        return "Low";
    default:
        return "";
    }
}

namespace {

QImage transparentWhite(const QImage& picture) {
    QImage sprite = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < sprite.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(sprite.scanLine(y));
        for (int x = 0; x < sprite.width(); ++x)
            if ((line[x] & 0xFFFFFF) == 0xFFFFFF) line[x] = 0;
    }
    return sprite.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

ImageHandle loadImage(const char* name, int screenType) {
    if (!name) return nullptr;
    std::string relative = pictureFamilyFolder(screenType);
    if (!relative.empty()) relative += '/';
    relative += name;
    QFile file(QString::fromStdString(gameFile(relative.c_str())));
    if (!file.open(QIODevice::ReadOnly)) return nullptr;
    // The 14-byte file header must be there and carry the signature.
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 14 || !bytes.startsWith("BM")) return nullptr;
    QImage picture;
    if (!picture.loadFromData(bytes, "BMP") || picture.isNull()) return nullptr;
    auto* image = new PlatformImage;
    image->picture = picture.convertToFormat(QImage::Format_RGB32);
    image->sprite = transparentWhite(image->picture);
    return image;
}

ImageHandle loadImage(const char* name) {
    return loadImage(name, gameController().geometry.screenType);
}

void releaseImage(ImageHandle image) {
    delete image;
}

void imageSize(ImageHandle image, int& width, int& height) {
    width = image ? image->picture.width() : 0;
    height = image ? image->picture.height() : 0;
}
