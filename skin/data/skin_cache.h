#pragma once
// What the windows derive from one decoded skin (mask strips and regions for a size, frame
// images, the platform's bitmaps of its pictures), kept with that skin so that a second window
// of the same skin and size pays nothing: the first window to need an entry builds it, the
// others share it, and all go with the skin. Entries are immutable once built.
//
// Each kind of entry (the value's type) holds at most a given number of entries; the one
// used least recently goes first. A window that keeps using an entry holds it itself (the
// shared pointer), so dropping it from the cache never pulls it from under a window.
//
// Portable; used from the thread that paints the windows.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace fn {

class TmnSkinCache {
public:
    // The entry of kind T for key, made by make on a miss (make may return null: nothing is
    // kept then); at most capacity entries of the kind stay. Key needs ==. T is const unless
    // the users write the entry only in ways that leave what the others read unchanged (a
    // bitmap's device context).
    template <class T, class Key>
    std::shared_ptr<T> Get(const Key& key, size_t capacity, const std::function<std::shared_ptr<T>()>& make) {
        const void* kind = KindOf<T, Key>();
        for (Entry& e : entries_)
            if (e.Kind == kind && *static_cast<const Key*>(e.Key.get()) == key) {
                e.Used = ++clock_;
                ++hits_;
                return std::const_pointer_cast<T>(std::static_pointer_cast<const T>(e.Value));
            }
        std::shared_ptr<T> value = make();
        if (value) Put(kind, std::make_shared<const Key>(key), value, capacity);
        return value;
    }
    // How many entries of kind T (by Key) are kept; how many lookups found theirs.
    template <class T, class Key>
    size_t Count() const {
        size_t n = 0;
        for (const Entry& e : entries_) n += e.Kind == KindOf<T, Key>();
        return n;
    }
    size_t Hits() const { return hits_; }
    void Clear() { entries_.clear(); }

private:
    struct Entry {
        const void* Kind;
        std::shared_ptr<const void> Key, Value;
        uint64_t Used;
    };
    template <class T, class Key>
    static const void* KindOf() {
        static const char tag = 0;
        return &tag;
    }
    void Put(const void* kind, std::shared_ptr<const void> key, std::shared_ptr<const void> value, size_t capacity);

    std::vector<Entry> entries_;
    uint64_t clock_ = 0;
    size_t hits_ = 0;
};

}  // namespace fn
