#pragma once
// The program's icon and the notes' document icon, drawn for every size an icon file carries
// from the skin's note-page emblem and colours, and written as .ico files.
#include <cstdint>
#include <string>
#include <vector>

namespace fn::art {

// The sizes each icon file carries, smallest first (pixels, square).
inline constexpr int kIconSizes[] = {16, 20, 24, 32, 40, 48, 64, 256};

// One square image with straight (not premultiplied) alpha, rows top to bottom, 4 bytes per
// pixel in the order blue, green, red, alpha.
struct IconImage {
    int size = 0;
    std::vector<uint8_t> bgra;
    uint8_t Alpha(int x, int y) const { return bgra[(static_cast<size_t>(y) * size + x) * 4 + 3]; }
};

// The program's icon: the emblem in the caption's blue, ruled in white, with a dark outline.
IconImage DrawProgramIcon(int size);
// A note file's icon: a white sheet with a folded corner and ruled lines, the program's emblem
// in its lower right corner from 32 pixels on.
IconImage DrawNoteIcon(int size);

// The bytes of an .ico file holding the images in the given order: 32-bit images with an
// AND mask, as the icon directory of the platform describes them.
std::vector<uint8_t> EncodeIco(const std::vector<IconImage>& images);

// Writes "FennickNotizen.ico" and "Notiz.ico", every size of kIconSizes, into the folder
// (which must exist).
void WriteIconFiles(const std::string& folder);

}  // namespace fn::art
