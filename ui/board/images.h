#pragma once
// The pictures of the game: loading the BMP files beside the program, the
// resolution family that serves a screen class, and the sprite form of a
// sheet in which pure white is transparent.

#include <QImage>

#include "game/platform.h"

// What stands behind an ImageHandle: the picture as loaded, and the same
// picture with pure white made transparent once, for drawing it as sprites.
struct PlatformImage {
    QImage picture; // opaque, as in the file
    QImage sprite;  // ARGB: pure white is fully transparent
};

// The folder below the program folder that holds the pictures of a screen
// class: "" (QVGA: portrait, landscape, square), "VGA", "Narrow" or "Low".
// A file name of the skins resolves inside that folder, so one name can serve
// screen classes of different sizes.
const char* pictureFamilyFolder(int screenType);

// Loads a BMP picture named relative to the family folder of the screen class
// (a backslash separates folders). Null when the file is missing, does not
// begin with "BM" or is not a readable picture.
ImageHandle loadImage(const char* name, int screenType);
// The same for the screen class of the game's current layout.
ImageHandle loadImage(const char* name);
void releaseImage(ImageHandle image);

// Width and height of a loaded picture (0 x 0 for null).
void imageSize(ImageHandle image, int& width, int& height);
