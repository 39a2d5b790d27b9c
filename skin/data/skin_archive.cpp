#include "skin/data/skin_archive.h"

#include <algorithm>
#include <utility>

#include "skin/data/skin_ini.h"

namespace fn {

void WriteArchiveFlaggedPicture(TStream& s, const TBitmapData& bmp) {
    s.WriteByte(bmp.Empty() ? 1 : 0);
    if (!bmp.Empty()) bmp.SaveToStream(s);
}

std::string EncodeAnsi(std::wstring_view text) {
    static const char16_t high[32] = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < 32; ++i)
            if (high[i] != 0xFFFD && high[i] == c) mapped = static_cast<char>(0x80 + i);
        out += mapped;
    }
    return out;
}

void WriteArchiveDescription(TStream& s, const std::vector<String>& lines) {
    std::string text;
    for (const auto& l : lines) {
        text += EncodeAnsi(l);
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

int ReadArchiveVersion(TStream& s) { return s.ReadInt32(); }

void ReadArchiveFlaggedPicture(TStream& s, TBitmapData& bmp) {
    if (s.ReadByte() != 0) {
        bmp.Clear();
        return;
    }
    bmp.LoadFromStream(s);
}

void SkipArchiveV2Extras(TStream& s) {
    TBitmapData scratch;
    ReadArchiveFlaggedPicture(s, scratch);
    ReadArchiveFlaggedPicture(s, scratch);
}

int ReadArchiveCount(TStream& s) {
    int n = s.ReadInt32();
    return n < 1 ? 0 : n;
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

std::vector<String> ReadArchiveDescription(TStream& s) {
    std::vector<uint8_t> buffer;
    auto [bytes, size] = RemainingBytes(s, buffer);
    size_t n = 0;
    while (n < size && bytes[n] != 0) ++n;
    const String text = DecodeText(bytes, n);
    std::vector<String> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c != L'\r' && c != L'\n') continue;
        lines.emplace_back(text, start, i - start);
        if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text, start);
    return lines;
}

void ReadArchiveDescription(TStream& s, TMemIniFile& ini) {
    std::vector<uint8_t> buffer;
    auto [bytes, size] = RemainingBytes(s, buffer);
    ini.SetBytes(bytes, size);
}

bool ReadSkinArchive(TStream& s, TSkinArchive& a) {
    a.Version = ReadArchiveVersion(s);
    if (a.Version >= 4) return false;
    ReadArchiveFlaggedPicture(s, a.Picture);
    ReadArchiveFlaggedPicture(s, a.InactivePicture);
    ReadArchiveFlaggedPicture(s, a.Mask);
    if (a.Version == 2) SkipArchiveV2Extras(s);
    int n = ReadArchiveCount(s);
    a.ActivePictures.clear();
    for (int i = 0; i < n; ++i) {
        a.ActivePictures.emplace_back();
        a.ActivePictures.back().LoadFromStream(s);
    }
    a.Description = ReadArchiveDescription(s);
    return true;
}

bool BuildSkinArchive(const String& iniPath, TStream& out) {
    TStringList lines;
    lines.LoadFromFile(iniPath);
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
    WriteArchiveDescription(archive, lines.Lines());
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
