// A picture file that begins with "BM" and then anything: the loader gives a
// picture of positive size or nothing, and never reads or writes out of bounds.
#include <unistd.h>

#include <QImageReader>

#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_check.h"
#include "game/gamefiles.h"
#include "ui/board/geometry.h"
#include "ui/board/images.h"

namespace {
std::string name;
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    name = "fuzz-picture-" + std::to_string(getpid()) + ".bmp";
    setGameFolder(".");
    // Pictures of the game are small; a header that claims a huge one is refused
    // sooner this way, which keeps every input quick.
    QImageReader::setAllocationLimit(2); // the largest, 640 x 480, needs 1.2 MB
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* file = std::fopen(name.c_str(), "wb");
    if (!file) return 0;
    std::fwrite("BM", 1, 2, file);
    if (size) std::fwrite(data, 1, size, file);
    std::fclose(file);
    ImageHandle image = loadImage(name.c_str(), ScreenQvgaPortrait);
    if (image) {
        int width = 0, height = 0;
        imageSize(image, width, height);
        FUZZ_CHECK(width > 0 && height > 0, "a picture without pixels");
        FUZZ_CHECK(image->sprite.width() == width && image->sprite.height() == height, "sprite size");
        releaseImage(image);
    }
    std::remove(name.c_str());
    return 0;
}
