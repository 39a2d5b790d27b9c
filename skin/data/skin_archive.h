#pragma once
// The stored-skin archive: its uncompressed byte layout, written as version 3 and
// read for versions up to 3 (version 2 with its two extra pictures), the building of an
// archive from a description file and the bitmaps beside it, and the compressed skin file.
// Portable.
//
// Layout (little-endian int32): version; main picture flag [+ BMP]; inactive picture flag
// [+ BMP]; mask flag [+ BMP]; (version 2: two more flag [+ BMP]); N; N BMPs; description text
// (lines each followed by CR LF, 8-bit) up to the end.
#include <vector>

#include "platform/core/bitmap_data.h"
#include "platform/core/streams.h"
#include "platform/core/ini_file.h"

namespace fn {

inline constexpr int SkinArchiveVersion = 3;

struct TSkinArchive {
    int Version = SkinArchiveVersion;
    TBitmapData Picture;          // empty: flag 1, no BMP
    TBitmapData InactivePicture;
    TBitmapData Mask;
    std::vector<TBitmapData> ActivePictures;
    std::vector<String> Description;  // the description's lines
};

// ---- writing ----
void WriteArchiveFlaggedPicture(TStream& s, const TBitmapData& bmp);
// Lines each followed by CR LF, encoded with EncodeWindows1252 (characters outside it as "?").
void WriteArchiveDescription(TStream& s, const std::vector<String>& lines);
// Writes the whole archive as version 3 (archive.Version is not used).
void WriteSkinArchive(TStream& s, const TSkinArchive& archive);
// Writes a version 2 archive with two extra pictures (for tests and old-skin tools).
void WriteSkinArchiveV2(TStream& s, const TSkinArchive& archive, const TBitmapData& extra1,
                        const TBitmapData& extra2);

// ---- reading ----
// The pictures, from the stream's position: the version (returns false for version 4 and
// above, with nothing read past it), the main, inactive and mask pictures (a flag byte, non-zero:
// empty; version 2's two extra pictures are read and dropped), then N and N active pictures. A
// count below 1 gives none; nothing is reserved for the count, so a count of a billion fails at
// the first missing picture. Each picture is stored as soon as it is read: after an error the
// pictures read before it stay.
bool ReadArchivePictures(TStream& s, int& version, TBitmapData& picture, TBitmapData& inactivePicture,
                         TBitmapData& mask, std::vector<TBitmapData>& activePictures);
// The same with the pictures' rows located, not decoded (a reader that scales them decodes
// each once it knows the scale). The rows stay in a memory or bytes stream's storage.
bool ReadArchivePictures(TStream& s, int& version, TBitmapRows& picture, TBitmapRows& inactivePicture,
                         TBitmapRows& mask, std::vector<TBitmapRows>& activePictures);
// The description: the remaining bytes (the text ends at its first NUL), Windows-1252, as lines
// or loaded into an INI table (the same text, without building lines first).
std::vector<String> ReadArchiveDescription(TStream& s);
void ReadArchiveDescription(TStream& s, TMemIniFile& ini);
// The whole archive from the stream's position (ReadArchivePictures, then the lines).
bool ReadSkinArchive(TStream& s, TSkinArchive& archive);

// Lines of description text: cut at the first NUL, decoded as Windows-1252, split at CR, LF or
// CR LF. A description file is read the same way (file errors propagate).
std::vector<String> DescriptionLines(const uint8_t* bytes, size_t size);
std::vector<String> LoadDescriptionFile(const String& path);

// Builds the archive of the description file at `iniPath` and the bitmaps beside it
// (LoadFromSkinFile, steps 1 to 8) into `out`. Returns false, writing nothing, when the file
// is not a skin description. File errors propagate (EFOpenError, EReadError, EInvalidGraphic).
bool BuildSkinArchive(const String& iniPath, TStream& out);

// The compressed skin file: version (3), L, L bytes of zlib data.
void WriteCompressedSkinFile(const String& path, TStream& compressed);

}  // namespace fn
