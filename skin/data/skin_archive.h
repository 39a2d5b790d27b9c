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
// Lines each followed by CR LF, encoded as Windows-1252 (characters outside it as "?").
void WriteArchiveDescription(TStream& s, const std::vector<String>& lines);
// Writes the whole archive as version 3 (archive.Version is not used).
void WriteSkinArchive(TStream& s, const TSkinArchive& archive);
// Writes a version 2 archive with two extra pictures (for tests and old-skin tools).
void WriteSkinArchiveV2(TStream& s, const TSkinArchive& archive, const TBitmapData& extra1,
                        const TBitmapData& extra2);

// ---- reading, step by step as the skin data manager loads ----
int ReadArchiveVersion(TStream& s);
// Reads the one-byte empty flag; non-zero: bmp becomes empty; 0: bmp reads one BMP.
void ReadArchiveFlaggedPicture(TStream& s, TBitmapData& bmp);
// Reads the two extra flagged pictures of a version 2 archive and drops them.
void SkipArchiveV2Extras(TStream& s);
// Reads N; a count below 1 gives 0. Nothing is reserved for the count: pictures are added as
// they are read, so a count of a billion fails at the first missing picture.
int ReadArchiveCount(TStream& s);
// The remaining bytes as description lines (the text ends at its first NUL).
std::vector<String> ReadArchiveDescription(TStream& s);
// The remaining bytes loaded into an INI table (the same text, without building lines first).
void ReadArchiveDescription(TStream& s, TMemIniFile& ini);
// The whole archive from the stream's position. Returns false, with nothing read past the
// version, for version 4 and above.
bool ReadSkinArchive(TStream& s, TSkinArchive& archive);

// Windows-1252 encoding of description text (decoding is DecodeText of the class library).
std::string EncodeAnsi(std::wstring_view text);

// Builds the archive of the description file at `iniPath` and the bitmaps beside it
// (LoadFromSkinFile, steps 1 to 8) into `out`. Returns false, writing nothing, when the file
// is not a skin description. File errors propagate (EFOpenError, EReadError, EInvalidGraphic).
bool BuildSkinArchive(const String& iniPath, TStream& out);

// The compressed skin file: version (3), L, L bytes of zlib data.
void WriteCompressedSkinFile(const String& path, TStream& compressed);

}  // namespace fn
