#pragma once
// A replaceable implementation of an interface: the system's own by default, another (a test's
// recording one) while installed. Installing null puts the system's back.

namespace fn {

template <class T>
class TSeamSlot {
public:
    explicit TSeamSlot(T& system) : system_(system), current_(&system) {}
    TSeamSlot(const TSeamSlot&) = delete;
    TSeamSlot& operator=(const TSeamSlot&) = delete;

    T& Current() const { return *current_; }
    // Returns the seam replaced (null when it was the system's own).
    T* Install(T* seam) {
        T* previous = current_;
        current_ = seam ? seam : &system_;
        return previous == &system_ ? nullptr : previous;
    }

private:
    T& system_;
    T* current_;
};

}  // namespace fn
