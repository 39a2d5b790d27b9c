#include "skin/data/skin_archive.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "skin/data/skin_ini.h"
#include "platform/core/files.h"

namespace fn {

void WriteArchiveFlaggedPicture(TStream& s, const TBitmapData& bmp) {
    s.WriteByte(bmp.Empty() ? 1 : 0);
    if (!bmp.Empty()) bmp.SaveToStream(s);
}

void WriteArchiveDescription(TStream& s, const std::vector<String>& lines) {
    std::string text;
    for (const auto& l : lines) {
        text += EncodeWindows1252(l);
        text += "\r\n";
    }
    s.WriteBuffer(text.data(), text.size());
}

static void WriteBody(TStream& s, const TSkinArchive& a) {
    s.WriteInt32(static_cast<int32_t>(a.ActivePictures.size()));
    for (const auto& p : a.ActivePictures) p.SaveToStream(s);
    WriteArchiveDescription(s, a.Description);
}

void WriteSkinArchive(TStream& s, const TSkinArchive& a) {
    s.WriteInt32(SkinArchiveVersion);
    WriteArchiveFlaggedPicture(s, a.Picture);
    WriteArchiveFlaggedPicture(s, a.InactivePicture);
    WriteArchiveFlaggedPicture(s, a.Mask);
    WriteBody(s, a);
}

void WriteSkinArchiveV2(TStream& s, const TSkinArchive& a, const TBitmapData& extra1, const TBitmapData& extra2) {
    s.WriteInt32(2);
    WriteArchiveFlaggedPicture(s, a.Picture);
    WriteArchiveFlaggedPicture(s, a.InactivePicture);
    WriteArchiveFlaggedPicture(s, a.Mask);
    WriteArchiveFlaggedPicture(s, extra1);
    WriteArchiveFlaggedPicture(s, extra2);
    WriteBody(s, a);
}

namespace {
// The bytes from the stream's position to its end: straight from a memory stream's storage,
// else read into `buffer`.
std::pair<const uint8_t*, size_t> RemainingBytes(TStream& s, std::vector<uint8_t>& buffer) {
    const int64_t rest = std::max<int64_t>(s.Size() - s.Position(), 0);
    if (auto* mem = dynamic_cast<TMemoryStream*>(&s)) {
        const uint8_t* p = mem->Memory() + mem->Position();
        mem->Seek(rest, SeekOrigin::Current);
        return {p, static_cast<size_t>(rest)};
    }
    buffer.resize(static_cast<size_t>(rest));
    if (!buffer.empty()) s.ReadBuffer(buffer.data(), buffer.size());
    return {buffer.data(), buffer.size()};
}
}  // namespace

namespace {

void ReadPicture(TStream& s, TBitmapData& bmp) { bmp.LoadFromStream(s); }
void ReadPicture(TStream& s, TBitmapRows& rows) { rows = TBitmapRows(s); }

template <class Picture>
void ReadArchiveFlaggedPicture(TStream& s, Picture& picture) {
    if (s.ReadByte() != 0) {
        picture = Picture();
        return;
    }
    ReadPicture(s, picture);
}

template <class Picture>
bool ReadPictures(TStream& s, int& version, Picture& picture, Picture& inactivePicture, Picture& mask,
                  std::vector<Picture>& activePictures) {
    version = s.ReadInt32();
    if (version >= 4) return false;
    ReadArchiveFlaggedPicture(s, picture);
    ReadArchiveFlaggedPicture(s, inactivePicture);
    ReadArchiveFlaggedPicture(s, mask);
    if (version == 2) {  // two more pictures, not used
        Picture scratch;
        ReadArchiveFlaggedPicture(s, scratch);
        ReadArchiveFlaggedPicture(s, scratch);
    }
    // A count below 1 gives none. Nothing is reserved for the count: pictures are added as they
    // are read, so a count of a billion fails at the first missing picture.
    const int count = s.ReadInt32();
    activePictures.clear();
    for (int i = 0; i < count; ++i) {
        activePictures.emplace_back();
        ReadPicture(s, activePictures.back());
    }
    return true;
}

}  // namespace

std::vector<String> DescriptionLines(const uint8_t* bytes, size_t size) {
    const void* nul = size ? std::memchr(bytes, 0, size) : nullptr;
    const size_t n = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - bytes) : size;
    const String text = DecodeWindows1252(bytes, n);
    std::vector<String> lines;
    ForEachLine(text, [&](std::wstring_view line) { lines.emplace_back(line); });
    return lines;
}

std::vector<String> ReadArchiveDescription(TStream& s) {
    std::vector<uint8_t> buffer;
    auto [bytes, size] = RemainingBytes(s, buffer);
    return DescriptionLines(bytes, size);
}

void ReadArchiveDescription(TStream& s, TMemIniFile& ini) {
    std::vector<uint8_t> buffer;
    auto [bytes, size] = RemainingBytes(s, buffer);
    ini.SetBytes(bytes, size);
}

bool ReadArchivePictures(TStream& s, int& version, TBitmapData& picture, TBitmapData& inactivePicture,
                         TBitmapData& mask, std::vector<TBitmapData>& activePictures) {
    return ReadPictures(s, version, picture, inactivePicture, mask, activePictures);
}

bool ReadArchivePictures(TStream& s, int& version, TBitmapRows& picture, TBitmapRows& inactivePicture,
                         TBitmapRows& mask, std::vector<TBitmapRows>& activePictures) {
    return ReadPictures(s, version, picture, inactivePicture, mask, activePictures);
}

bool ReadSkinArchive(TStream& s, TSkinArchive& a) {
    if (!ReadArchivePictures(s, a.Version, a.Picture, a.InactivePicture, a.Mask, a.ActivePictures)) return false;
    a.Description = ReadArchiveDescription(s);
    return true;
}

std::vector<String> LoadDescriptionFile(const String& path) {
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    return DescriptionLines(bytes.data(), bytes.size());
}

bool BuildSkinArchive(const String& iniPath, TStream& out) {
    const std::vector<String> lines = LoadDescriptionFile(iniPath);
    TMemIniFile ini;
    ini.SetStrings(lines);
    if (!IsSkinDescription(ini)) return false;
    const String folder = ExtractFilePath(iniPath);
    TMemoryStream archive;
    archive.WriteInt32(SkinArchiveVersion);
    for (const wchar_t* key : {L"picture", L"inactivepicture", L"mask"}) {
        String name = ini.ReadString(L"PICTURES", key, L"");
        TBitmapData bmp;
        if (!name.empty()) bmp.LoadFromFile(folder + name);
        WriteArchiveFlaggedPicture(archive, bmp);
    }
    std::vector<String> names;
    ReadNameList(ini, L"PICTURES", L"activepictures", names);
    archive.WriteInt32(static_cast<int32_t>(names.size()));
    for (const auto& name : names) {
        TBitmapData bmp;
        bmp.LoadFromFile(folder + name);  // an empty name opens the folder: a file error
        bmp.SaveToStream(archive);
    }
    WriteArchiveDescription(archive, lines);
    archive.SaveToStream(out);
    return true;
}

void WriteCompressedSkinFile(const String& path, TStream& compressed) {
    TMemoryStream m;
    m.WriteInt32(SkinArchiveVersion);
    int64_t size = compressed.Size();
    m.WriteInt32(static_cast<int32_t>(size));
    compressed.SetPosition(0);
    if (size > 0) m.CopyFrom(compressed, size);
    m.SaveToFile(path);
}

}  // namespace fn
