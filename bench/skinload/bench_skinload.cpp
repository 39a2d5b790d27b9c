// Skin load: decompress the stored archive, read its pictures, parse the
// description and read every record, timed beside a bare zlib inflate of the same compressed
// bytes into a buffer of the right size, in the same run. Goal: within 2x of the bare inflate.
//
//   bench_skinload [ARCHIVE_OR_SKIN_INI]   (default: a synthetic ~300 KB archive shaped like
//                                           a full embedded skin, then skins/fennick)
//
// FN_BENCH_SMOKE=1: three runs each.
#include <zlib.h>

#include <string>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "bench/paint/timing.h"
#include "bench/smoke.h"
#include "skin/data/control_records.h"
#include "skin/data/object_records.h"
#include "skin/data/skin_archive.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_ini.h"
#include "skin/data/stored_skin.h"
#include "skin/data/zlib_streams.h"
#include "platform/core/files.h"

using namespace fn;

namespace {

TBitmapData Picture(int w, int h, int bpp, uint32_t seed) {
    TBitmapData b;
    b.SetSize(w, h);
    b.BitsPerPixel = bpp;
    if (bpp == 1) b.Palette = {0, 0xFFFFFF};
    if (bpp == 8)
        for (uint32_t i = 0; i < 256; ++i) b.Palette.push_back((i * 0x010203u) & 0xFFFFFF);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            // Gradients with edges: compresses about as well as drawn skin pictures do.
            uint32_t v = static_cast<uint32_t>((x / 3) * 5 + (y / 2) * 3) + seed;
            if (bpp == 1) b.SetPixel(x, y, (x < 3 || y < 3 || x >= w - 3 || y >= h - 3) ? 0xFFFFFF : 0);
            else if (bpp == 8) b.SetPixel(x, y, b.Palette[v & 0xFF]);
            else b.SetPixel(x, y, (v & 0xFF) | ((v * 3) & 0xFF) << 8 | ((seed * 40) & 0xFF) << 16);
        }
    return b;
}

// A description shaped like a full embedded skin: 12 objects, 59 controls, ~32 KB.
std::vector<String> Description(int activeCount) {
    TMemIniFile ini;
    ini.WriteString(L"VERSION", L"skinname", L"Synthetic");
    ini.WriteString(L"VERSION", L"skinauthor", L"bench");
    ini.WriteString(L"PICTURES", L"picture", L"main.bmp");
    ini.WriteString(L"PICTURES", L"inactivepicture", L"");
    ini.WriteString(L"PICTURES", L"mask", L"mask.bmp");
    std::vector<String> names;
    for (int i = 0; i < activeCount; ++i) names.push_back(L"active" + IntToStr(i) + L".bmp");
    WriteNameList(ini, L"PICTURES", L"activepictures", names);
    ini.WriteString(L"FORMINFO", L"clientrect", L"5,29,141,74");
    ini.WriteString(L"FORMINFO", L"lefttoppoint", L"10,30");
    TmnDataSkinPopupWindow popup;
    popup.WindowPictureIndex = 1;
    popup.SaveToIni(ini);
    TmnDataSkinHintWindow hint;
    hint.SaveToIni(ini);
    const wchar_t* objectTypes[] = {L"caption", L"stdbutton", L"stdbutton", L"stdbutton", L"stdbutton", L"menuitem",
                                    L"mainmenubaritem", L"mainmenubarbutton", L"mainmenubarbutton", L"animate",
                                    L"userobject", L"button"};
    ini.WriteInteger(L"SKINOBJECTS", L"count", 12);
    for (int i = 0; i < 12; ++i) {
        String name = L"object" + IntToStr(i);
        ini.WriteString(L"SKINOBJECTS", IntToStr(i), name + L":" + objectTypes[i]);
        auto r = CreateSkinObjectRecord(objectTypes[i], name);
        r->ActivePictureIndex = i % activeCount;
        r->SkinRect = {i, 2, i + 20, 22};
        r->SaveToIni(ini);
    }
    auto controls = SkinControlTypes();
    ini.WriteInteger(L"SKINCONTROLS", L"count", 59);
    for (int i = 0; i < 59; ++i) {
        const auto& t = controls[static_cast<size_t>(i) % controls.size()];
        String name = L"control" + IntToStr(i);
        ini.WriteString(L"SKINCONTROLS", IntToStr(i), name + L":" + String(t.keyword));
        auto r = t.create(name);
        r->PictureIndex = i % activeCount;
        r->SkinRect = {1, 1, 40, 20};
        r->SaveToIni(ini);
    }
    return ini.GetStrings();
}

std::vector<uint8_t> SyntheticArchive() {
    TSkinArchive a;
    a.Picture = Picture(146, 82, 8, 1);
    a.Mask = Picture(146, 82, 1, 2);
    for (int i = 0; i < 11; ++i) a.ActivePictures.push_back(Picture(120, 52 + i, 24, static_cast<uint32_t>(i)));
    a.Description = Description(11);
    TMemoryStream m;
    WriteSkinArchive(m, a);
    return m.Bytes();
}

// The load as a form's skin data manager does it at creation, from the stored skin the form
// carries: decompress, read the pictures, parse the description and read every record. The
// manager is freed again inside the timing, as the baseline frees its buffer.
size_t LoadSkin(TmnCompressedStoredSkin& stored) {
    TmnSkinData data(nullptr);
    data.LoadFromCompressedStoredSkin(stored);
    return data.SkinObjects().size() + data.SkinControls().size() + data.ActivePictures().size();
}

std::unique_ptr<TmnCompressedStoredSkin> StoredSkin(const std::vector<uint8_t>& compressed) {
    auto stored = std::make_unique<TmnCompressedStoredSkin>(nullptr);
    stored->CompressedStream().WriteBuffer(compressed.data(), compressed.size());
    return stored;
}

// The baseline: zlib's own one-call inflate into a buffer of the archive's size, allocated
// (uninitialised) per run as any load must put the bytes somewhere.
size_t BareInflate(const std::vector<uint8_t>& compressed, size_t rawSize) {
    std::unique_ptr<uint8_t[]> out(new uint8_t[rawSize]);
    uLongf size = static_cast<uLongf>(rawSize);
    if (uncompress(out.get(), &size, compressed.data(), static_cast<uLong>(compressed.size())) != Z_OK) return 0;
    return size + out[size / 2];
}

// Returns false when the load found no records or pictures.
bool Run(const char* label, const std::vector<uint8_t>& raw) {
    TBytesStream in(raw.data(), raw.size());
    TMemoryStream z;
    CompressStream(in, z);
    const std::vector<uint8_t> compressed = z.Bytes();
    size_t check = 0;
    const bool smoke = fn::bench::SmokeRun();
    const int runs = smoke ? 3 : 400;
    auto stored = StoredSkin(compressed);
    // Both are timed in turn, run after run, so a change in the machine's load meets both.
    for (int i = 0; i < (smoke ? 1 : 10); ++i) check += BareInflate(compressed, raw.size()) + LoadSkin(*stored);
    std::vector<double> bareRuns, loadRuns;
    for (int i = 0; i < runs; ++i) {
        bareRuns.push_back(bench::TimeMs([&] { check += BareInflate(compressed, raw.size()); }));
        loadRuns.push_back(bench::TimeMs([&] { check += LoadSkin(*stored); }));
    }
    const double bare = bench::Median(bareRuns), load = bench::Median(loadRuns);
    std::printf("%-28s archive %7zu bytes, compressed %6zu bytes\n", label, raw.size(), compressed.size());
    std::printf("  bare inflate (zlib uncompress)      %8.3f ms  (baseline)\n", bare);
    std::printf("  skin load (decompress+pictures+parse+records) %8.3f ms  = %.2fx baseline (goal <= 2x)\n", load,
                load / bare);
    if (LoadSkin(*stored) == 0) {
        std::printf("  nothing loaded\n");
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && (std::string(argv[1]) == "--profile" || std::string(argv[1]) == "--profile-inflate")) {
        // 3000 loads (or bare inflates) of the synthetic archive alone, for a profiler or
        // instruction counts (perf stat), which do not depend on other load on the machine.
        auto raw = SyntheticArchive();
        TBytesStream in(raw.data(), raw.size());
        TMemoryStream z;
        CompressStream(in, z);
        const bool bare = std::string(argv[1]) == "--profile-inflate";
        const std::vector<uint8_t> compressed = z.Bytes();
        auto stored = StoredSkin(compressed);
        const char* iterations = std::getenv("FN_BENCH_ITERATIONS");
        const int n = iterations ? std::atoi(iterations) : 3000;
        size_t c = 0;
        for (int i = 0; i < n; ++i) c += bare ? BareInflate(compressed, raw.size()) : LoadSkin(*stored);
        return c == 0;
    }
    if (argc > 1) {
        String path = Utf8ToWide(argv[1]);
        TMemoryStream raw;
        if (ExtractFileExt(path) == L".ini") BuildSkinArchive(path, raw);
        else raw.LoadFromFile(path);
        return Run(argv[1], raw.Bytes()) ? 0 : 1;
    }
    if (!Run("synthetic (shaped like a full skin)", SyntheticArchive())) return 1;
    String fennick = Utf8ToWide(FN_SOURCE_DIR) + L"/skins/fennick/skin.ini";
    if (FileExists(fennick)) {
        TMemoryStream raw;
        if (!BuildSkinArchive(fennick, raw) || !Run("skins/fennick", raw.Bytes())) return 1;
    }
    return 0;
}
