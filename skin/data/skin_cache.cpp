#include "skin/data/skin_cache.h"

#include <algorithm>

namespace fn {

void TmnSkinCache::Put(const void* kind, std::shared_ptr<const void> key, std::shared_ptr<const void> value,
                       size_t capacity) {
    const auto ofKind = [kind](const Entry& e) { return e.Kind == kind; };
    if (capacity == 0) return;
    while (static_cast<size_t>(std::count_if(entries_.begin(), entries_.end(), ofKind)) >= capacity) {
        auto oldest = entries_.end();
        for (auto it = entries_.begin(); it != entries_.end(); ++it)
            if (ofKind(*it) && (oldest == entries_.end() || it->Used < oldest->Used)) oldest = it;
        entries_.erase(oldest);
    }
    entries_.push_back({kind, std::move(key), std::move(value), ++clock_});
}

}  // namespace fn
