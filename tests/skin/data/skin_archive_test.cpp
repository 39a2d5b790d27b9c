// zlib streams, the archive layout written and read, the compressed skin file and
// the stored-skin component with its setter rules and form data.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "skin/data/object_records.h"
#include "skin/data/skin_archive.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_ini.h"
#include "skin/data/stored_skin.h"
#include "skin/data/zlib_streams.h"

using namespace fn;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Compress(const Bytes& data) {
    TBytesStream src(data.data(), data.size());
    TMemoryStream out;
    CompressStream(src, out);
    return out.Bytes();
}

Bytes Decompress(const Bytes& data) {
    TBytesStream src(data.data(), data.size());
    TMemoryStream out;
    DecompressStream(src, out);
    return out.Bytes();
}

Bytes Sample(size_t n) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>((i * 7) ^ (i >> 5));
    return b;
}

TBitmapData Picture(int w, int h, int bpp, uint32_t seed) {
    TBitmapData b;
    b.SetSize(w, h);
    b.BitsPerPixel = bpp;
    if (bpp == 1) b.Palette = {0, 0xFFFFFF};
    if (bpp == 8)
        for (uint32_t i = 0; i < 256; ++i) b.Palette.push_back(i * 0x010101u);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t v = static_cast<uint32_t>(x * 31 + y * 17) + seed;
            b.SetPixel(x, y, bpp == 1 ? ((v & 4) ? 0xFFFFFF : 0) : bpp == 8 ? (v & 0xFF) * 0x010101u : v * 2654435761u & 0xFFFFFF);
        }
    return b;
}

const std::vector<String> kDescription = {
    L"[VERSION]", L"skinname=Test", L"[PICTURES]", L"picture=main.bmp", L"inactivepicture=", L"mask=mask.bmp",
    L"activepicturescount=2", L"0=a.bmp", L"1=b.bmp", L"[FORMINFO]", L"clientrect=5,29,141,74",
    L"[SKINOBJECTS]", L"count=2", L"0=Caption1:caption", L"1=close:stdbutton", L"[Caption1]",
    L"skinrect=0,0,140,24", L"fontstyle=fsbold", L"alignment=taleftjustify", L"[close]", L"command=cmclose",
    L"downrect=1,2,3,4", L"[SKINCONTROLS]", L"count=0", L"; Umlaut: Größe"};

TSkinArchive SampleArchive() {
    TSkinArchive a;
    a.Picture = Picture(146, 82, 8, 1);
    a.Mask = Picture(146, 82, 1, 2);
    a.ActivePictures = {Picture(20, 10, 24, 3), Picture(7, 3, 32, 4)};
    a.Description = kDescription;
    return a;
}

// The object records a description reads to, as the skin data manager reads them.
std::vector<std::unique_ptr<TmnDataSkinObject>> Records(const std::vector<String>& lines) {
    TMemIniFile ini;
    ini.SetStrings(lines);
    std::vector<std::unique_ptr<TmnDataSkinObject>> out;
    int n = ini.ReadInteger(L"SKINOBJECTS", L"count", 0);
    for (int i = 0; i < n; ++i) {
        String name, type;
        SplitRecordEntry(ini.ReadString(L"SKINOBJECTS", IntToStr(i), L""), name, type);
        if (auto r = CreateSkinObjectRecord(type, name)) {
            r->LoadFromIni(ini);
            out.push_back(std::move(r));
        }
    }
    return out;
}

class TempDir {
public:
    TempDir() {
        static int counter = 0;
        path_ = fs::temp_directory_path() / ("fn_archive_test_" + std::to_string(++counter) + "_" +
                                             std::to_string(reinterpret_cast<uintptr_t>(this) & 0xFFFFFF));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    String File(const String& name) const { return (path_ / name).wstring(); }
    void Write(const String& name, const std::string& text) const {
        TFileStream f(File(name), FileMode::Create);
        f.WriteBuffer(text.data(), text.size());
        f.Close();
    }

private:
    fs::path path_;
};

String DescriptionText(const std::vector<String>& lines) {
    String t;
    for (const auto& l : lines) t += l + L"\r\n";
    return t;
}

void WriteSkinFolder(const TempDir& dir, const TSkinArchive& a) {
    dir.Write(L"skin.ini", EncodeWindows1252(DescriptionText(a.Description)));
    a.Picture.SaveToFile(dir.File(L"main.bmp"));
    a.Mask.SaveToFile(dir.File(L"mask.bmp"));
    a.ActivePictures[0].SaveToFile(dir.File(L"a.bmp"));
    a.ActivePictures[1].SaveToFile(dir.File(L"b.bmp"));
}

template <class E>
String ErrorOf(std::function<void()> f) {
    try {
        f();
    } catch (const E& e) {
        return e.Message();
    }
    return L"<no error>";
}

}  // namespace

// ---- zlib ----

TEST(Zlib, RoundTripAtLevel9StartsWith78DA) {
    for (size_t n : {size_t(0), size_t(1), size_t(4095), size_t(4096), size_t(4097), size_t(300000)}) {
        Bytes data = Sample(n);
        Bytes z = Compress(data);
        ASSERT_GE(z.size(), 2u);
        EXPECT_EQ(z[0], 0x78);
        EXPECT_EQ(z[1], 0xDA);
        EXPECT_EQ(Decompress(z), data);
    }
}

TEST(Zlib, CompressStreamRewindsTheSource) {
    Bytes data = Sample(1000);
    TMemoryStream src;
    src.WriteBuffer(data.data(), data.size());  // position at the end
    TMemoryStream out;
    CompressStream(src, out);
    EXPECT_EQ(Decompress(out.Bytes()), data);
}

TEST(Zlib, CorruptDataIsADecompressionError) {
    Bytes z = Compress(Sample(5000));
    z[0] = 0x00;  // bad header
    EXPECT_EQ(ErrorOf<EDecompressionError>([&] { Decompress(z); }), L"compression error");
    Bytes z2 = Compress(Sample(5000));
    for (size_t i = 2; i < 40; ++i) z2[i] ^= 0xFF;
    EXPECT_EQ(ErrorOf<EZlibError>([&] { Decompress(z2); }), L"compression error");
}

TEST(Zlib, TruncatedDataYieldsTheBytesSoFarAndTrailingBytesAreIgnored) {
    Bytes data = Sample(200000);
    Bytes z = Compress(data);
    Bytes cut(z.begin(), z.begin() + static_cast<std::ptrdiff_t>(z.size() / 2));
    Bytes partial = Decompress(cut);
    EXPECT_GT(partial.size(), 0u);
    EXPECT_LT(partial.size(), data.size());
    EXPECT_TRUE(std::equal(partial.begin(), partial.end(), data.begin()));
    Bytes extra = z;
    extra.insert(extra.end(), {1, 2, 3, 4, 5});
    EXPECT_EQ(Decompress(extra), data);
    EXPECT_TRUE(Decompress(Bytes{}).empty());
}

TEST(Zlib, OutputBeyondTheLimitIsRefusedIntoEitherKindOfTarget) {
    // Two megabytes of zeros deflate to about two kilobytes.
    const Bytes zeros(size_t(2) << 20, 0);
    const Bytes z = Compress(zeros);
    TBytesStream src(z.data(), z.size());
    TMemoryStream exact;
    DecompressStream(src, exact, static_cast<int64_t>(zeros.size()));  // exactly the limit fits
    EXPECT_EQ(exact.Size(), static_cast<int64_t>(zeros.size()));
    TMemoryStream mem;
    mem.WriteByte(7);
    EXPECT_EQ(ErrorOf<EDecompressionError>([&] { DecompressStream(src, mem, 1 << 20); }), L"compression error");
    EXPECT_EQ(mem.Bytes(), Bytes{7});  // what the target held before stays, nothing more
    TMemoryStream other;
    other.WriteBuffer("ab", 2);
    other.SetPosition(0);  // bytes after the position: written through the stream
    EXPECT_EQ(ErrorOf<EDecompressionError>([&] { DecompressStream(src, other, 100000); }), L"compression error");
    EXPECT_LE(other.Size(), 100000);
}

TEST(Zlib, InvalidStreamOperations) {
    TMemoryStream out;
    TCompressionStream c(TCompressionLevel::clMax, out);
    uint8_t b[4] = {1, 2, 3, 4};
    c.Write(b, 4);
    EXPECT_EQ(c.Position(), 4);
    EXPECT_EQ(ErrorOf<ECompressionError>([&] { c.Read(b, 1); }), L"Invalid stream operation");
    EXPECT_EQ(ErrorOf<ECompressionError>([&] { c.Seek(1, SeekOrigin::Beginning); }), L"Invalid stream operation");
    c.Finish();

    Bytes data = Sample(10000);
    Bytes z = Compress(data);
    TBytesStream src(z.data(), z.size());
    TDecompressionStream d(src);
    EXPECT_EQ(ErrorOf<EDecompressionError>([&] { d.Write(b, 1); }), L"Invalid stream operation");
    EXPECT_EQ(d.Seek(100, SeekOrigin::Current), 100);  // forward
    uint8_t x;
    d.Read(&x, 1);
    EXPECT_EQ(x, data[100]);
    EXPECT_EQ(ErrorOf<EDecompressionError>([&] { d.Seek(-1, SeekOrigin::Current); }), L"Invalid stream operation");
    EXPECT_EQ(ErrorOf<EDecompressionError>([&] { d.Seek(0, SeekOrigin::End); }), L"Invalid stream operation");
    EXPECT_EQ(d.Seek(0, SeekOrigin::Beginning), 0);  // back to the start
    d.Read(&x, 1);
    EXPECT_EQ(x, data[0]);
    EXPECT_EQ(d.Seek(5000, SeekOrigin::Beginning), 5000);
    d.Read(&x, 1);
    EXPECT_EQ(x, data[5000]);
}

// ---- archive ----

TEST(Archive, WrittenThenReadGivesPixelEqualPicturesAndTheSameLines) {
    TSkinArchive a = SampleArchive();
    TMemoryStream m;
    WriteSkinArchive(m, a);
    const uint8_t* p = m.Memory();
    EXPECT_EQ(Bytes(p, p + 7), (Bytes{3, 0, 0, 0, 0, 'B', 'M'}));
    m.SetPosition(0);
    TSkinArchive b;
    ASSERT_TRUE(ReadSkinArchive(m, b));
    EXPECT_EQ(b.Version, 3);
    EXPECT_EQ(b.Picture, a.Picture);
    EXPECT_TRUE(b.InactivePicture.Empty());
    EXPECT_EQ(b.Mask, a.Mask);
    ASSERT_EQ(b.ActivePictures.size(), 2u);
    EXPECT_EQ(b.ActivePictures[0], a.ActivePictures[0]);
    EXPECT_EQ(b.ActivePictures[1], a.ActivePictures[1]);
    EXPECT_EQ(b.Description, a.Description);
    EXPECT_EQ(m.Position(), m.Size());
}

TEST(Archive, EmptyInactivePictureIsTheByteOneAndEmptyListIsNZero) {
    TSkinArchive a;
    a.Picture = Picture(3, 2, 24, 0);
    a.Description = {L"[VERSION]"};
    TMemoryStream m;
    WriteSkinArchive(m, a);
    TMemoryStream pic;
    a.Picture.SaveToStream(pic);
    const size_t after = 4 + 1 + static_cast<size_t>(pic.Size());
    const uint8_t* p = m.Memory();
    EXPECT_EQ(p[after], 1);       // inactive picture: empty
    EXPECT_EQ(p[after + 1], 1);   // mask: empty
    EXPECT_EQ(Bytes(p + after + 2, p + after + 6), (Bytes{0, 0, 0, 0}));  // N = 0
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(p + after + 6), 11), "[VERSION]\r\n");
    EXPECT_EQ(static_cast<size_t>(m.Size()), after + 6 + 11);
}

TEST(Archive, Version2ReadsToTheSameRecordsAsItsVersion3Twin) {
    TSkinArchive a = SampleArchive();
    TMemoryStream v2, v3;
    WriteSkinArchiveV2(v2, a, Picture(5, 5, 24, 9), TBitmapData());
    WriteSkinArchive(v3, a);
    v2.SetPosition(0);
    v3.SetPosition(0);
    TSkinArchive r2, r3;
    ASSERT_TRUE(ReadSkinArchive(v2, r2));
    ASSERT_TRUE(ReadSkinArchive(v3, r3));
    EXPECT_EQ(r2.Version, 2);
    EXPECT_EQ(r2.Picture, r3.Picture);
    EXPECT_EQ(r2.Mask, r3.Mask);
    EXPECT_EQ(r2.ActivePictures.size(), r3.ActivePictures.size());
    EXPECT_EQ(r2.Description, r3.Description);
    auto rec2 = Records(r2.Description), rec3 = Records(r3.Description);
    ASSERT_EQ(rec2.size(), 2u);
    ASSERT_EQ(rec3.size(), 2u);
    for (size_t i = 0; i < rec2.size(); ++i) EXPECT_TRUE(SameSkinFields(*rec2[i], *rec3[i]));
    auto* cap = dynamic_cast<TmnDataSkinCaption*>(rec3[0].get());
    ASSERT_NE(cap, nullptr);
    EXPECT_EQ(cap->Alignment, taLeftJustify);
    EXPECT_EQ(cap->FontStyle, FontStyleBit(fsBold));
}

TEST(Archive, VersionFourAndAboveIsNotRead) {
    TMemoryStream m;
    m.WriteInt32(4);
    m.WriteByte(0);
    m.SetPosition(0);
    TSkinArchive a;
    EXPECT_FALSE(ReadSkinArchive(m, a));
    EXPECT_EQ(m.Position(), 4);
}

TEST(Archive, TruncatedArchivesFailWithThePartsErrors) {
    TSkinArchive a = SampleArchive();
    TMemoryStream m;
    WriteSkinArchive(m, a);
    const Bytes full = m.Bytes();
    // Cut in the version, in a picture header, in the pixel rows, in N.
    for (size_t cut : {size_t(2), size_t(10), size_t(200), size_t(5000), size_t(13214 + 5 + 3)}) {
        Bytes part(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut));
        TBytesStream s(part.data(), part.size());
        TSkinArchive b;
        bool failed = false;
        try {
            ReadSkinArchive(s, b);
        } catch (const EInvalidGraphic& e) {
            failed = e.Message() == L"Bitmap ist ungültig";
        } catch (const EReadError& e) {
            failed = e.Message() == L"Stream-Lesefehler";
        }
        EXPECT_TRUE(failed) << cut;
    }
}

TEST(Archive, HugePictureCountFailsWithoutAllocating) {
    TMemoryStream m;
    m.WriteInt32(3);
    m.WriteByte(1);
    m.WriteByte(1);
    m.WriteByte(1);
    m.WriteInt32(1000000000);
    m.WriteBuffer("BM", 2);
    m.SetPosition(0);
    TSkinArchive a;
    EXPECT_THROW(ReadSkinArchive(m, a), EReadError);
    EXPECT_TRUE(a.ActivePictures.size() <= 1);
}

TEST(Archive, DescriptionEndsAtNulAndAcceptsAnyLineEnd) {
    TMemoryStream m;
    m.WriteInt32(3);
    m.WriteByte(1);
    m.WriteByte(1);
    m.WriteByte(1);
    m.WriteInt32(0);
    const char text[] = "[VERSION]\rskinname=A\nx=1\r\n[PICTURES]\0[FORMINFO]\r\n";
    m.WriteBuffer(text, sizeof text - 1);
    m.SetPosition(0);
    TSkinArchive a;
    ASSERT_TRUE(ReadSkinArchive(m, a));
    EXPECT_EQ(a.Description, (std::vector<String>{L"[VERSION]", L"skinname=A", L"x=1", L"[PICTURES]"}));
    // Without any line end the text is one line.
    TMemoryStream n;
    n.WriteInt32(3);
    n.WriteBuffer("\1\1\1\0\0\0\0[VERSION]", 16);
    n.SetPosition(0);
    ASSERT_TRUE(ReadSkinArchive(n, a));
    EXPECT_EQ(a.Description, std::vector<String>{L"[VERSION]"});
}

// ---- building from files, the compressed skin file and the component ----

TEST(StoredSkin, LoadFromSkinFileBuildsTheArchiveOfTheFolder) {
    TempDir dir;
    TSkinArchive a = SampleArchive();
    WriteSkinFolder(dir, a);
    TmnCompressedStoredSkin skin(nullptr);
    EXPECT_TRUE(skin.IsEmpty());
    skin.LoadFromSkinFile(dir.File(L"skin.ini"));
    ASSERT_FALSE(skin.IsEmpty());
    EXPECT_EQ(skin.CompressedStream().Memory()[0], 0x78);
    EXPECT_EQ(skin.CompressedStream().Memory()[1], 0xDA);
    TMemoryStream out;
    out.WriteBuffer("xy", 2);  // DecompressTo writes at the target's position
    skin.DecompressTo(out);
    EXPECT_EQ(out.Memory()[0], 'x');
    out.SetPosition(2);
    TSkinArchive b;
    ASSERT_TRUE(ReadSkinArchive(out, b));
    EXPECT_EQ(b.Picture, a.Picture);
    EXPECT_TRUE(b.InactivePicture.Empty());
    EXPECT_EQ(b.Mask, a.Mask);
    ASSERT_EQ(b.ActivePictures.size(), 2u);
    EXPECT_EQ(b.ActivePictures[1], a.ActivePictures[1]);
    EXPECT_EQ(b.Description, a.Description);  // the umlaut line too (Windows-1252 in the archive)
}

TEST(StoredSkin, ComponentsWithTheSameBytesShareOneUnpackedArchiveAndOthersGetTheirOwn) {
    auto packed = [](const std::string& text) {
        auto skin = std::make_unique<TmnCompressedStoredSkin>(nullptr);
        TMemoryStream raw;
        raw.WriteBuffer(text.data(), text.size());
        raw.SetPosition(0);
        CompressStream(raw, skin->CompressedStream());
        return skin;
    };
    auto text = [](const std::shared_ptr<const TMemoryStream>& s) {
        return std::string(reinterpret_cast<const char*>(s->Memory()), s->Length());
    };
    auto first = packed("erste Haut"), again = packed("erste Haut"), other = packed("zweite Haut");
    const auto shared = first->Unpacked();
    EXPECT_EQ(again->Unpacked(), shared);  // inflated once
    EXPECT_EQ(text(other->Unpacked()), "zweite Haut");
    EXPECT_EQ(text(shared), "erste Haut");  // still whole for whoever holds it
    EXPECT_EQ(text(first->Unpacked()), "erste Haut");

    // The bytes are the key, not the component: changed bytes unpack anew.
    first->CompressedStream().Clear();
    TMemoryStream raw;
    raw.WriteBuffer("dritte", 6);
    raw.SetPosition(0);
    CompressStream(raw, first->CompressedStream());
    EXPECT_EQ(text(first->Unpacked()), "dritte");

    // A broken stream fails and leaves the others as they were.
    auto broken = packed("kaputt");
    broken->CompressedStream().Memory()[2] ^= 0xFF;
    EXPECT_NE(ErrorOf<Exception>([&] { broken->Unpacked(); }), L"<no error>");
    EXPECT_EQ(text(again->Unpacked()), "erste Haut");
}

TEST(StoredSkin, DescriptionBytesAreWindows1252FromFileThroughArchiveToTheManager) {
    // Every byte 0x80..0xFF in a value, and text that would read as UTF-8 ("CafÃ©" is the bytes
    // C3 A9 after "Caf") or as a byte-order mark at the start of a line.
    std::string high;
    for (int b = 0x80; b <= 0xFF; ++b) high += static_cast<char>(b);
    const std::string skinName = "Caf\xC3\xA9";
    std::string text = "\xEF\xBB\xBF; not a byte-order mark\r\n";
    text += EncodeWindows1252(DescriptionText(kDescription));
    text.replace(text.find("skinname=Test"), 13, "skinname=" + skinName + "\r\nskincomments=" + high);
    TempDir dir;
    TSkinArchive a = SampleArchive();
    WriteSkinFolder(dir, a);
    dir.Write(L"skin.ini", text);

    const String expectedHigh = DecodeWindows1252(reinterpret_cast<const uint8_t*>(high.data()), high.size());
    ASSERT_EQ(expectedHigh.size(), 128u);
    EXPECT_EQ(expectedHigh[0], L'\x20AC');
    EXPECT_EQ(expectedHigh[0x81 - 0x80], L'\x81');  // undefined in the code page: kept as the byte
    EXPECT_EQ(expectedHigh[0xE9 - 0x80], L'\xE9');
    EXPECT_EQ(EncodeWindows1252(expectedHigh), high);

    TmnCompressedStoredSkin skin(nullptr);
    skin.LoadFromSkinFile(dir.File(L"skin.ini"));
    TMemoryStream archive;
    skin.DecompressTo(archive);
    // The archive holds the file's bytes unchanged.
    const std::string raw(reinterpret_cast<const char*>(archive.Memory()), static_cast<size_t>(archive.Size()));
    EXPECT_NE(raw.find("skinname=" + skinName + "\r\nskincomments=" + high + "\r\n"), std::string::npos);
    archive.SetPosition(0);
    TSkinArchive b;
    ASSERT_TRUE(ReadSkinArchive(archive, b));
    EXPECT_EQ(b.Description[0], L"\xEF\xBB\xBF; not a byte-order mark");
    EXPECT_EQ(b.Description[2], L"skinname=Caf\xC3\xA9");
    EXPECT_EQ(b.Description[3], L"skincomments=" + expectedHigh);

    TmnSkinData data(nullptr);
    data.LoadFromCompressedStoredSkin(skin);
    ASSERT_FALSE(data.Empty());
    EXPECT_EQ(data.SkinName(), L"Caf\xC3\xA9");
    EXPECT_EQ(data.SkinComments(), expectedHigh);
}

TEST(StoredSkin, NotASkinDescriptionLeavesTheArchiveAndMissingBitmapEmptiesIt) {
    TempDir dir;
    TSkinArchive a = SampleArchive();
    WriteSkinFolder(dir, a);
    TmnCompressedStoredSkin skin(nullptr);
    skin.LoadFromSkinFile(dir.File(L"skin.ini"));
    const Bytes before = skin.CompressedStream().Bytes();
    dir.Write(L"other.ini", "[VERSION]\r\n[PICTURES]\r\n[FORMINFO]\r\n[SKINOBJECTS]\r\n");
    skin.LoadFromSkinFile(dir.File(L"other.ini"));
    EXPECT_EQ(skin.CompressedStream().Bytes(), before);
    EXPECT_THROW(skin.LoadFromSkinFile(dir.File(L"missing.ini")), EFOpenError);
    EXPECT_EQ(skin.CompressedStream().Bytes(), before);
    fs::remove(fs::path(dir.File(L"b.bmp")));
    EXPECT_THROW(skin.LoadFromSkinFile(dir.File(L"skin.ini")), EStreamError);
    EXPECT_TRUE(skin.IsEmpty());
}

TEST(StoredSkin, FileNameSetterRules) {
    TempDir dir;
    WriteSkinFolder(dir, SampleArchive());
    TmnCompressedStoredSkin skin(nullptr);
    skin.SetFileName(dir.File(L"skin.ini"));  // not designing: stored unchanged, nothing loaded
    EXPECT_EQ(skin.FileName(), dir.File(L"skin.ini"));
    EXPECT_TRUE(skin.IsEmpty());
    skin.SetDesigning(true);
    skin.SetStateFlags(csLoading, true);  // designing but loading: the same
    skin.SetFileName(dir.File(L"skin.ini"));
    EXPECT_TRUE(skin.IsEmpty());
    skin.SetStateFlags(csLoading, false);
    skin.SetFileName(dir.File(L"skin.ini"));
    EXPECT_EQ(skin.FileName(), L"skin.ini");
    EXPECT_FALSE(skin.IsEmpty());
    // A failing load still stores the name.
    EXPECT_THROW(skin.SetFileName(dir.File(L"nothere.ini")), EFOpenError);
    EXPECT_EQ(skin.FileName(), L"nothere.ini");
}

TEST(StoredSkin, CompressedSkinFileRoundTripAndRules) {
    TempDir dir;
    WriteSkinFolder(dir, SampleArchive());
    TmnCompressedStoredSkin skin(nullptr);
    skin.LoadFromSkinFile(dir.File(L"skin.ini"));
    skin.SaveToCompressedFile(dir.File(L"skin.msk"));
    TmnCompressedStoredSkin other(nullptr);
    other.SetDesigning(true);
    other.SetCompressedFileName(dir.File(L"skin.msk"));
    EXPECT_EQ(other.CompressedFileName(), L"skin.msk");
    EXPECT_EQ(other.CompressedStream().Bytes(), skin.CompressedStream().Bytes());
    // Version above 3: the archive becomes empty.
    auto bytes = ReadFileBytes(dir.File(L"skin.msk"));
    bytes[0] = 4;
    dir.Write(L"v4.msk", std::string(bytes.begin(), bytes.end()));
    other.LoadFromCompressedFile(dir.File(L"v4.msk"));
    EXPECT_TRUE(other.IsEmpty());
    // Shorter than its L: the stream read error.
    bytes[0] = 3;
    dir.Write(L"short.msk", std::string(bytes.begin(), bytes.end() - 10));
    EXPECT_EQ(ErrorOf<EReadError>([&] { other.LoadFromCompressedFile(dir.File(L"short.msk")); }), L"Stream-Lesefehler");
}

TEST(StoredSkin, FormDataCarriesCompressedDataAlsoWhenEmpty) {
    TmnCompressedStoredSkin::Register();
    TmnCompressedStoredSkin empty(nullptr);
    empty.SetDescription(L"Fennick's");
    String text = empty.WriteProperties(L"  ");
    EXPECT_NE(text.find(L"  Description = 'Fennick''s'\r\n"), String::npos);
    EXPECT_NE(text.find(L"  CompressedData = {}\r\n"), String::npos);

    TMemoryStream archive;
    WriteSkinArchive(archive, SampleArchive());
    TmnCompressedStoredSkin full(nullptr);
    CompressStream(archive, full.CompressedStream());
    full.SetFileName(L"skin.ini");
    String form = L"object Form1: TComponent\r\n  object mnStoredSkin1: TmnCompressedStoredSkin\r\n" +
                  full.WriteProperties(L"    ") + L"  end\r\nend\r\n";
    TComponent root(nullptr);
    root.SetDesigning(true);  // while the form data is read the setters load nothing
    ReadFormData(&root, form, nullptr);
    auto* read = dynamic_cast<TmnCompressedStoredSkin*>(root.FindComponent(L"mnStoredSkin1"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->FileName(), L"skin.ini");
    EXPECT_EQ(read->CompressedStream().Bytes(), full.CompressedStream().Bytes());
    TMemoryStream out;
    read->DecompressTo(out);
    EXPECT_EQ(out.Bytes(), archive.Bytes());
}
