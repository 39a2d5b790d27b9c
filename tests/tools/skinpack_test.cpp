// skinpack: packing a skin folder and the author's check, with a broken skin whose every
// problem must be named with section, key and value.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "skin/data/skin_archive.h"
#include "skin/data/stored_skin.h"
#include "skin/data/zlib_streams.h"
#include "tools/skinpack/skin_check.h"

using namespace fn;
namespace fs = std::filesystem;

namespace {

fs::path SourceDir() {
    const char* s = std::getenv("FN_SOURCE_DIR");
    return s ? fs::path(s) : fs::path(".");
}

TBitmapData Solid(int w, int h, int bpp) {
    TBitmapData b;
    b.SetSize(w, h);
    b.BitsPerPixel = bpp;
    if (bpp == 1) b.Palette = {0, 0xFFFFFF};
    return b;
}

class SkinFolder {
public:
    SkinFolder() {
        dir_ = fs::temp_directory_path() / ("fn_skinpack_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    ~SkinFolder() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    void Text(const std::string& name, const std::string& text) const { std::ofstream(dir_ / name, std::ios::binary) << text; }
    void Bitmap(const std::string& name, const TBitmapData& b) const { b.SaveToFile((dir_ / name).wstring()); }
    String Path(const std::string& name = "") const { return (name.empty() ? dir_ : dir_ / name).wstring(); }

private:
    fs::path dir_;
};

const char* kGoodSkin =
    "[VERSION]\r\nskinname=Small\r\n"
    "[PICTURES]\r\npicture=main.bmp\r\ninactivepicture=\r\nmask=mask.bmp\r\nactivepicturescount=1\r\n0=buttons.bmp\r\n"
    "[FORMINFO]\r\nlefttoppoint=10,30\r\nrightbottompoint=90,50\r\nclientrect=5,29,95,55\r\n"
    "[SKINOBJECTS]\r\ncount=2\r\n0=Caption:caption\r\n1=close:stdbutton\r\n"
    "[Caption]\r\nskinrect=0,0,100,24\r\nfontstyle=fsbold\r\n"
    "[close]\r\nactivepictureindex=0\r\nskinrect=80,4,96,20\r\nactiveskinrect=16,0,32,16\r\ncommand=cmclose\r\n"
    "[SKINCONTROLS]\r\ncount=1\r\n0=panel:panel\r\n"
    "[panel]\r\npictureindex=0\r\nskinrect=0,0,48,16\r\n";

void WriteGood(const SkinFolder& f) {
    f.Text("skin.ini", kGoodSkin);
    f.Bitmap("main.bmp", Solid(100, 60, 24));
    f.Bitmap("mask.bmp", Solid(100, 60, 1));
    f.Bitmap("buttons.bmp", Solid(48, 16, 24));
}

std::vector<String> ProblemTexts(const String& path) {
    TSkinChecker c;
    c.CheckPath(path);
    std::vector<String> out;
    for (const auto& p : c.Problems()) out.push_back(p.Text());
    return out;
}

bool Has(const std::vector<String>& texts, std::wstring_view part) {
    for (const auto& t : texts)
        if (t.find(part) != String::npos) return true;
    return false;
}

String Join(const std::vector<String>& texts) {
    String all;
    for (const auto& t : texts) all += t + L"\n";
    return all;
}

}  // namespace

TEST(SkinCheck, TheDefaultSkinHasNoProblems) {
    auto problems = ProblemTexts((SourceDir() / "skins" / "fennick").wstring());
    EXPECT_TRUE(problems.empty()) << WideToUtf8(Join(problems));
}

TEST(SkinCheck, AGoodSmallSkinHasNoProblemsAsFolderArchiveAndCompressedFile) {
    SkinFolder f;
    WriteGood(f);
    EXPECT_TRUE(ProblemTexts(f.Path()).empty()) << WideToUtf8(Join(ProblemTexts(f.Path())));
    TMemoryStream raw;
    ASSERT_TRUE(BuildSkinArchive(f.Path("skin.ini"), raw));
    raw.SaveToFile(f.Path("skin.arc"));
    EXPECT_TRUE(ProblemTexts(f.Path("skin.arc")).empty()) << WideToUtf8(Join(ProblemTexts(f.Path("skin.arc"))));
    TmnCompressedStoredSkin stored(nullptr);
    CompressStream(raw, stored.CompressedStream());
    stored.SaveToCompressedFile(f.Path("skin.msk"));
    stored.CompressedStream().SaveToFile(f.Path("skin.zlib"));
    EXPECT_TRUE(ProblemTexts(f.Path("skin.msk")).empty());
    EXPECT_TRUE(ProblemTexts(f.Path("skin.zlib")).empty());
}

TEST(SkinCheck, EveryProblemOfABrokenSkinIsNamed) {
    SkinFolder f;
    f.Text("skin.ini",
           "[VERSION]\r\nskinname=Broken\r\n"
           "[PICTURES]\r\npicture=main.bmp\r\nmask=nomask.bmp\r\nactivepicturescount=3\r\n0=buttons.bmp\r\n1=bad.bmp\r\n"
           "[FORMINFO]\r\nclientrect=5,29,141\r\nborderwidth=4x\r\nstretchtype=StFull\r\nbuttonsinleft=2\r\n"
           "[SKINOBJECTS]\r\ncount=4\r\n0=Caption:Caption\r\n1=close:stdbutton\r\n2=nocolon\r\n3=gone:button\r\n"
           "[close]\r\nactivepictureindex=7\r\nskinrect=80,4,200,20\r\nlefttoppoint=1,2\r\n"
           "[close]\r\nhint=second\r\n");
    f.Bitmap("main.bmp", Solid(100, 60, 24));
    f.Bitmap("buttons.bmp", Solid(48, 16, 24));
    f.Text("bad.bmp", "BMxx");
    auto p = ProblemTexts(f.Path());
    const std::string all = WideToUtf8(Join(p));
    EXPECT_TRUE(Has(p, L"[SKINCONTROLS] required section is missing")) << all;
    EXPECT_TRUE(Has(p, L"[PICTURES] mask=nomask.bmp: bitmap cannot be read: Datei")) << all;
    EXPECT_TRUE(Has(p, L"[PICTURES] activepictures item=bad.bmp: bitmap cannot be read")) << all;
    EXPECT_TRUE(Has(p, L"[PICTURES] activepictures item=: empty file name")) << all;
    EXPECT_TRUE(Has(p, L"[FORMINFO] clientrect=5,29,141: needs 4 numbers")) << all;
    EXPECT_TRUE(Has(p, L"[FORMINFO] borderwidth=4x: not a number")) << all;
    EXPECT_TRUE(Has(p, L"[FORMINFO] stretchtype=StFull: unknown keyword")) << all;
    EXPECT_TRUE(Has(p, L"[FORMINFO] buttonsinleft=2: a boolean is 1 or 0")) << all;
    EXPECT_TRUE(Has(p, L"[SKINOBJECTS] 0=Caption:Caption: unknown type \"Caption\"")) << all;
    EXPECT_TRUE(Has(p, L"[SKINOBJECTS] 2=nocolon: an item is name:type")) << all;
    EXPECT_TRUE(Has(p, L"[SKINOBJECTS] 3=gone:button: section [gone] is missing")) << all;
    EXPECT_TRUE(Has(p, L"[close] activepictureindex=7: picture index out of range")) << all;
    EXPECT_TRUE(Has(p, L"[close] skinrect=80,4,200,20: rectangle lies outside its picture \"main.bmp\" (100 x 60)")) << all;
    EXPECT_TRUE(Has(p, L"[close] lefttoppoint=1,2: unknown key")) << all;
    EXPECT_TRUE(Has(p, L"[close] section occurs more than once")) << all;
}

TEST(SkinCheck, NegativeNumbersAndRectanglesInActivePictures) {
    SkinFolder f;
    WriteGood(f);
    std::string ini = kGoodSkin;
    ini.replace(ini.find("activeskinrect=16,0,32,16"), 25, "activeskinrect=16,0,64,16");
    ini.replace(ini.find("lefttoppoint=10,30"), 18, "lefttoppoint=-10,30");
    f.Text("skin.ini", ini);
    auto p = ProblemTexts(f.Path());
    const std::string all = WideToUtf8(Join(p));
    EXPECT_TRUE(Has(p, L"[close] activeskinrect=16,0,64,16: rectangle lies outside its picture \"buttons.bmp\" (48 x 16)")) << all;
    EXPECT_TRUE(Has(p, L"[FORMINFO] lefttoppoint=-10,30: a \"-\" is skipped")) << all;
    EXPECT_EQ(p.size(), 2u) << all;
}

TEST(SkinCheck, UnreadableArchivesAreReported) {
    SkinFolder f;
    f.Text("v9.arc", std::string("\x09\0\0\0\1\1\1", 7));
    EXPECT_TRUE(Has(ProblemTexts(f.Path("v9.arc")), L"archive version 9 is not read"));
    f.Text("cut.arc", std::string("\x03\0\0\0\0BM", 7));
    EXPECT_TRUE(Has(ProblemTexts(f.Path("cut.arc")), L"archive cannot be read: Stream-Lesefehler"));
    f.Text("bad.zlib", std::string("\x78\xDA\xFF\xFF\xFF\xFF", 6));
    EXPECT_TRUE(Has(ProblemTexts(f.Path("bad.zlib")), L"compressed data cannot be read: compression error"));
    EXPECT_TRUE(Has(ProblemTexts(f.Path("missing")), L"kann nicht geöffnet werden"));
}

TEST(SkinPackProgram, PacksAFolderAndRefusesABrokenOne) {
    const char* exe = std::getenv("FN_SKINPACK");
    if (!exe) GTEST_SKIP() << "FN_SKINPACK not set";
    SkinFolder f;
    WriteGood(f);
    const std::string dir = WideToUtf8(f.Path());
    std::string cmd = std::string(exe) + " '" + dir + "' --data '" + dir + "/out.zlib' --compressed '" + dir +
                      "/out.msk' --archive '" + dir + "/out.arc' --form '" + dir + "/out.txt' >/dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    auto z = ReadFileBytes(f.Path("out.zlib"));
    ASSERT_GE(z.size(), 2u);
    EXPECT_EQ(z[0], 0x78);
    EXPECT_EQ(z[1], 0xDA);
    auto form = ReadFileBytes(f.Path("out.txt"));
    EXPECT_NE(std::string(form.begin(), form.end()).find("CompressedData = {78DA"), std::string::npos);
    TmnCompressedStoredSkin loaded(nullptr);
    loaded.LoadFromCompressedFile(f.Path("out.msk"));
    EXPECT_EQ(loaded.CompressedStream().Bytes(), z);
    EXPECT_EQ(std::system((std::string(exe) + " --check '" + dir + "' >/dev/null").c_str()), 0);
    f.Text("skin.ini", "[VERSION]\r\n");
    EXPECT_NE(std::system((std::string(exe) + " --check '" + dir + "' >/dev/null").c_str()), 0);
    EXPECT_NE(std::system((cmd + " 2>/dev/null").c_str()), 0);
}
