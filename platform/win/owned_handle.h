#pragma once
// The one shape of every handle owner: a handle closed by its kind's own function when the
// owner lets it go, counted among the live handles of its kind while owned.
#include <windows.h>

#include <utility>

#include "platform/core/live_counts.h"

namespace fn {

// Traits give the close function and the live-count kind: struct { static void Close(H);
// static constexpr TLiveKind Kind; }. TClosedBy makes them for a handle one system call closes.
template <class Handle, class Traits>
class TOwnedHandle {
public:
    TOwnedHandle() = default;
    explicit TOwnedHandle(Handle handle) : handle_(handle) { if (handle_) CountLive(Traits::Kind); }
    ~TOwnedHandle() { Reset(); }
    TOwnedHandle(TOwnedHandle&& other) noexcept : TOwnedHandle(other.Release()) {}
    TOwnedHandle& operator=(TOwnedHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    TOwnedHandle(const TOwnedHandle&) = delete;
    TOwnedHandle& operator=(const TOwnedHandle&) = delete;

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Hands the handle over (to the system, or to another owner): no longer counted here.
    Handle Release() {
        if (handle_) CountGone(Traits::Kind);
        return std::exchange(handle_, nullptr);
    }
    void Reset(Handle handle = nullptr) {
        if (handle == handle_) return;
        if (handle_) {
            Traits::Close(handle_);
            CountGone(Traits::Kind);
        }
        handle_ = handle;
        if (handle_) CountLive(Traits::Kind);
    }

private:
    Handle handle_ = nullptr;
};

// The traits of a handle closed by one system function, e.g. TClosedBy<::DestroyMenu, TLiveKind::Menu>.
template <auto CloseFunction, TLiveKind LiveKind>
struct TClosedBy {
    template <class Handle>
    static void Close(Handle handle) { CloseFunction(handle); }
    static constexpr TLiveKind Kind = LiveKind;
};

}  // namespace fn
