#pragma once
// Live-instance counters. Every owner of a system handle counts the handle up when it takes it
// and down when it lets it go, and every component counts itself while it lives, so a test or a
// soak run can check that work done and undone ends where it started (the system's own
// per-process handle counts are not available on every platform this runs on).
#include <array>
#include <atomic>
#include <cstddef>

namespace fn {

enum class TLiveKind {
    Component,
    Bitmap,
    Region,
    Brush,
    Pen,
    Font,
    OwnedDC,   // CreateCompatibleDC / CreateDC
    WindowDC,  // GetDC / GetWindowDC
    Menu,
    Icon,
    Kernel,
    Module,
    Hook,
    Timer,
    Count
};

constexpr const char* LiveKindName(TLiveKind kind) {
    constexpr const char* names[] = {"Component", "Bitmap", "Region", "Brush", "Pen",  "Font",  "OwnedDC",
                                     "WindowDC",  "Menu",   "Icon",   "Kernel", "Module", "Hook", "Timer"};
    return names[static_cast<std::size_t>(kind)];
}

inline std::atomic<long>& LiveCounter(TLiveKind kind) {
    static std::array<std::atomic<long>, static_cast<std::size_t>(TLiveKind::Count)> counters{};
    return counters[static_cast<std::size_t>(kind)];
}

inline long LiveCount(TLiveKind kind) { return LiveCounter(kind).load(std::memory_order_relaxed); }
inline void CountLive(TLiveKind kind) { LiveCounter(kind).fetch_add(1, std::memory_order_relaxed); }
inline void CountGone(TLiveKind kind) { LiveCounter(kind).fetch_sub(1, std::memory_order_relaxed); }

// Every counter at one moment, to compare before and after.
using TLiveCounts = std::array<long, static_cast<std::size_t>(TLiveKind::Count)>;
inline TLiveCounts LiveCounts() {
    TLiveCounts counts{};
    for (std::size_t i = 0; i < counts.size(); ++i) counts[i] = LiveCount(static_cast<TLiveKind>(i));
    return counts;
}

// A member that counts the object holding it for as long as that object lives.
template <TLiveKind Kind>
class TLiveInstance {
public:
    TLiveInstance() { CountLive(Kind); }
    TLiveInstance(const TLiveInstance&) { CountLive(Kind); }
    TLiveInstance& operator=(const TLiveInstance&) { return *this; }
    ~TLiveInstance() { CountGone(Kind); }
};

}  // namespace fn
