// Skin at a display scale, timed in one run from the default skin as the program carries it:
//   - a first load at 200 % (decompress, read, scale records and pictures) beside a first load
//     at 100 % (goal <= 3x); 125 % and 150 % shown beside the same baseline;
//   - the floor of both: fresh memory for their pictures, allocated, written once and freed;
//   - a second manager at 200 % while a first holds the skin (it shares the decoded skin)
//     beside a first load at 200 % (goal <= 5 %).
// Each first load frees its manager inside the timing, so no decoded skin outlives it. The
// packed skin is unpacked once per process and kept; the cold figures unpack it again (another
// packed skin was unpacked in between), as the first window of a process does.
//
//   bench_skinscale [SKIN_INI]   (default: skins/fennick/skin.ini)
//
// FN_BENCH_SMOKE=1: three runs each.
#include <cstdio>
#include <memory>
#include <vector>

#include "bench/paint/timing.h"
#include "bench/smoke.h"
#include "skin/data/skin_archive.h"
#include "skin/data/skin_data.h"
#include "skin/data/stored_skin.h"
#include "skin/data/zlib_streams.h"

using namespace fn;
using fn::bench::Median;
using fn::bench::TimeMs;

namespace {

// Makes the next load unpack its skin again: the process keeps only the last one unpacked.
void Evict(TmnCompressedStoredSkin& other) { (void)other.Unpacked(); }

// The pixel counts of every picture of a manager.
std::vector<size_t> PictureSizes(const TmnSkinData& data) {
    std::vector<size_t> sizes;
    for (const TBitmapData* b : {&data.Picture(), &data.InactivePicture(), &data.Mask()}) sizes.push_back(b->Pixels.size());
    for (const TBitmapData& b : data.ActivePictures()) sizes.push_back(b.Pixels.size());
    return sizes;
}

// Fresh memory for pictures of these sizes, each written once and freed: the floor of any load
// that holds them.
size_t Touch(const std::vector<size_t>& sizes) {
    size_t sum = 0;
    std::vector<std::vector<uint32_t>> pictures;
    for (size_t n : sizes) pictures.emplace_back(n, 1u);
    for (const auto& p : pictures) sum += p.empty() ? 0 : p.back();
    return sum;
}

size_t Load(TmnCompressedStoredSkin& stored, int dpi) {
    TmnSkinData data(nullptr);
    data.SetDpi(dpi);
    data.LoadFromCompressedStoredSkin(stored);
    return data.SkinObjects().size() + static_cast<size_t>(data.Picture().Width);
}

}  // namespace

int main(int argc, char** argv) {
    const String ini = argc > 1 ? Utf8ToWide(argv[1]) : Utf8ToWide(FN_SOURCE_DIR) + L"/skins/fennick/skin.ini";
    TmnCompressedStoredSkin stored(nullptr);
    stored.LoadFromSkinFile(ini);
    if (stored.IsEmpty()) {
        std::printf("no skin at %s\n", WideToUtf8(ini).c_str());
        return 1;
    }
    const bool smoke = fn::bench::SmokeRun();
    const int runs = smoke ? 3 : 60;
    size_t check = 0;
    TmnCompressedStoredSkin other(nullptr);
    {
        TMemoryStream tiny;
        tiny.WriteInt32(3);
        CompressStream(tiny, other.CompressedStream());
    }
    std::vector<double> at100, at125, at150, at200, second, cold100, cold200, touch100, touch200;
    std::vector<size_t> sizes100, sizes200;
    for (int dpi : {96, 192}) {
        TmnSkinData data(nullptr);
        data.SetDpi(dpi);
        data.LoadFromCompressedStoredSkin(stored);
        (dpi == 96 ? sizes100 : sizes200) = PictureSizes(data);
    }
    TmnSkinData holder(nullptr);  // holds the 200 % skin while a second manager loads it
    holder.SetDpi(192);
    for (int i = 0; i < runs + (smoke ? 0 : 3); ++i) {
        // All measures in turn, run after run, so a change in the machine's load meets each.
        at100.push_back(TimeMs([&] { check += Load(stored, 96); }));
        at125.push_back(TimeMs([&] { check += Load(stored, 120); }));
        at150.push_back(TimeMs([&] { check += Load(stored, 144); }));
        at200.push_back(TimeMs([&] { check += Load(stored, 192); }));
        Evict(other);
        cold100.push_back(TimeMs([&] { check += Load(stored, 96); }));
        Evict(other);
        cold200.push_back(TimeMs([&] { check += Load(stored, 192); }));
        holder.LoadFromCompressedStoredSkin(stored);
        second.push_back(TimeMs([&] { check += Load(stored, 192); }));
        holder.ClearAll();
        touch100.push_back(TimeMs([&] { check += Touch(sizes100); }));
        touch200.push_back(TimeMs([&] { check += Touch(sizes200); }));
    }
    const double base = Median(at100), s200 = Median(at200);
    std::printf("skin %s, %zu bytes packed\n", WideToUtf8(ini).c_str(), stored.CompressedStream().Length());
    auto beside = [](const char* name, double ms, const char* baseName, double baseMs) {
        std::printf("%-34s %8.3f ms   %-22s %8.3f ms   %6.2fx\n", name, ms, baseName, baseMs, ms / baseMs);
    };
    beside("first load at 125 %", Median(at125), "first load at 100 %", base);
    beside("first load at 150 %", Median(at150), "first load at 100 %", base);
    fn::bench::Report("first load at 200 %", s200, "first load at 100 %", base, 3);
    beside("fresh memory for its pictures, 200 %", Median(touch200), "the same at 100 %", Median(touch100));
    fn::bench::Report("cold first load at 200 % (unpacks)", Median(cold200), "the same at 100 %", Median(cold100), 3);
    fn::bench::Report("second manager at 200 % (shared)", Median(second), "first load at 200 %", s200, 0.05);
    return check == 0;
}
