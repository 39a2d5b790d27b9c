// Skin at a display scale, timed in one run from the default skin as the program carries it:
//   - a first load at 200 % (read, scale records and pictures, from the skin the process has
//     unpacked) beside a first load at 100 % (goal <= 3x); 125 % and 150 % shown beside the same
//     baseline; the same with the unpacking, as the first window of a process loads (goal <= 3x);
//   - the floor of both: fresh memory for their pictures, allocated, written once and freed;
//   - a second manager at 200 % while a first holds the skin (it shares the decoded skin)
//     beside a first load at 200 % (goal <= 5 %).
// Each first load frees its manager inside the timing, so no decoded skin outlives it. The
// packed skin is unpacked once per process and kept; the cold figures unpack it again (another
// packed skin was unpacked in between).
//
// A first load takes memory the process never touched, at every scale. Each timed load gets
// such memory (a heap of its own under the platform; on the host the allocator's free pages
// are returned first); otherwise a 100 % load would reuse the pages its predecessor freed
// while the 200 % pictures, too large for what the heap keeps, take fresh pages each time, and
// the figures would compare the system's page faults with none. The repeated loads without
// that are shown as well.
//
//   bench_skinscale [SKIN_INI]   (default: skins/fennick/skin.ini)
//
// FN_BENCH_SMOKE=1: three runs each.
#include <cstdio>
#include <memory>
#include <new>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <malloc.h>
#endif

#include "bench/paint/timing.h"
#include "bench/smoke.h"
#include "skin/data/skin_archive.h"
#include "skin/data/skin_data.h"
#include "skin/data/stored_skin.h"
#include "skin/data/zlib_streams.h"

using namespace fn;
using fn::bench::Median;
using fn::bench::TimeMs;

#ifdef _WIN32
// Every allocation names its heap in a header, so that blocks of a load's heap are freed there
// whenever they are freed.
namespace {
HANDLE loadHeap = nullptr;  // the heap of the load being timed; null: the process heap
struct alignas(16) THeapHeader {
    HANDLE Heap;
};
}  // namespace

void* operator new(std::size_t n) {
    HANDLE heap = loadHeap ? loadHeap : ::GetProcessHeap();
    auto* header = static_cast<THeapHeader*>(::HeapAlloc(heap, 0, n + sizeof(THeapHeader)));
    if (!header) throw std::bad_alloc();
    header->Heap = heap;
    return header + 1;
}
// Not inlined: inlined into a container's destructor, the header's address looks to the compiler
// like one before the container.
[[gnu::noinline]] void operator delete(void* p) noexcept {
    if (!p) return;
    void* block = static_cast<char*>(p) - sizeof(THeapHeader);
    ::HeapFree(static_cast<THeapHeader*>(block)->Heap, 0, block);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
#endif

namespace {

#ifdef _WIN32
// Heaps of earlier loads that still hold blocks (an unpacked skin the process keeps); each is
// destroyed once it holds none.
std::vector<HANDLE>* heldHeaps = new std::vector<HANDLE>;

bool HoldsBlocks(HANDLE heap) {
    PROCESS_HEAP_ENTRY entry{};
    while (::HeapWalk(heap, &entry))
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) return true;
    return false;
}

void DestroyEmptyHeaps() {
    std::erase_if(*heldHeaps, [](HANDLE heap) { return !HoldsBlocks(heap) && ::HeapDestroy(heap); });
}
#endif

// Times `load` in memory the process never touched, as a first load meets it.
template <class F>
double FreshMs(F&& load) {
#ifdef _WIN32
    DestroyEmptyHeaps();
    HANDLE heap = ::HeapCreate(0, 0, 0);
    if (!heap) throw std::bad_alloc();
    loadHeap = heap;
    const double ms = TimeMs(load);
    loadHeap = nullptr;
    heldHeaps->push_back(heap);
    return ms;
#else
    malloc_trim(0);
    return TimeMs(load);
#endif
}

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
    std::vector<double> at100, at125, at150, at200, again100, again200, second, cold100, cold200, touch100, touch200;
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
        at100.push_back(FreshMs([&] { check += Load(stored, 96); }));
        at125.push_back(FreshMs([&] { check += Load(stored, 120); }));
        at150.push_back(FreshMs([&] { check += Load(stored, 144); }));
        at200.push_back(FreshMs([&] { check += Load(stored, 192); }));
        again100.push_back(TimeMs([&] { check += Load(stored, 96); }));
        again200.push_back(TimeMs([&] { check += Load(stored, 192); }));
        Evict(other);
        cold100.push_back(FreshMs([&] { check += Load(stored, 96); }));
        Evict(other);
        cold200.push_back(FreshMs([&] { check += Load(stored, 192); }));
        holder.LoadFromCompressedStoredSkin(stored);
        second.push_back(FreshMs([&] { check += Load(stored, 192); }));
        holder.ClearAll();
        touch100.push_back(FreshMs([&] { check += Touch(sizes100); }));
        touch200.push_back(FreshMs([&] { check += Touch(sizes200); }));
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
    beside("first load beyond that memory, 200 %", s200 - Median(touch200), "the same at 100 %", base - Median(touch100));
    fn::bench::Report("cold first load at 200 % (unpacks)", Median(cold200), "the same at 100 %", Median(cold100), 3);
    fn::bench::Report("second manager at 200 % (shared)", Median(second), "first load at 200 %", s200, 0.05);
    beside("repeated load at 200 %", Median(again200), "repeated load at 100 %", Median(again100));
    std::printf("  (repeated: the heap's own memory, whatever the load before left in it)\n");
    return check == 0;
}
