#pragma once
// RawVector: a std::vector whose resize leaves new elements uninitialised, for byte and pixel
// buffers that are written whole right after they grow (decompressed data, decoded rows).
// Zero-filling those first would cost as much as filling them. Everything else behaves as
// std::vector; assign(n, value) and value-initialising constructors still fill.
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace fn {

template <class T>
struct DefaultInitAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = DefaultInitAllocator<U>;
    };
    DefaultInitAllocator() = default;
    template <class U>
    DefaultInitAllocator(const DefaultInitAllocator<U>&) noexcept {}

    template <class U>
    void construct(U* p) noexcept(noexcept(::new (static_cast<void*>(p)) U)) {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

template <class T>
using RawVector = std::vector<T, DefaultInitAllocator<T>>;

}  // namespace fn
