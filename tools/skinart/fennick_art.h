#pragma once
// Draws the "Fennick" skin: every picture and the description that places them, from the
// values in fennick_theme.h. The description is generated together with the pictures so
// that no coordinate is ever written twice.
#include <string>
#include <vector>

#include "platform/core/bitmap_data.h"
#include "tools/skinart/raster.h"

namespace fn::art {

struct SkinPicture {
    std::string fileName;
    Raster pixels;
    bool mask = false;  // written with one bit per pixel: black inside, white outside
};

struct SkinArt {
    SkinPicture picture;                     // "picture" of the description
    SkinPicture mask;                        // "mask"
    std::vector<SkinPicture> activePictures; // in "activepictures" order
    std::string description;                 // the text of "skin.ini", CR LF line ends
};

SkinArt DrawFennick();

// The note-page emblem of the system-menu button, s x s pixels with its top-left corner at
// (x, y): a page in `page` colour ruled with three lines in `lines` colour.
void DrawNoteEmblem(Raster& r, double x, double y, double s, Rgb page, Rgb lines);

// The picture as the platform's bitmap: 24 bits per pixel, masks with one bit and a black and
// white colour table.
TBitmapData ToBitmapData(const SkinPicture& picture);

// Writes the description ("skin.ini") and every picture into the folder (which must exist).
void WriteSkinFolder(const SkinArt& art, const std::string& folder);

// Platform colour value of an RGB colour (red in the low byte), as the description stores it.
int ColorValue(Rgb c);

// Relative luminance contrast of two colours (1 .. 21).
double ContrastRatio(Rgb a, Rgb b);

}  // namespace fn::art
