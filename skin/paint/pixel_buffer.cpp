#include "skin/paint/pixel_buffer.h"

#include <climits>
#include <new>

namespace fn {

TPixelBuffer::TPixelBuffer(int width, int height) { Allocate(width, height); }

TPixelBuffer& TPixelBuffer::operator=(TPixelBuffer&& other) noexcept {
    if (this == &other) return *this;
    Width = std::exchange(other.Width, 0);
    Height = std::exchange(other.Height, 0);
    RowPadding = std::exchange(other.RowPadding, 0);
    RowStride = std::exchange(other.RowStride, 0);
    ByteSize = std::exchange(other.ByteSize, 0);
    Bits = std::exchange(other.Bits, nullptr);
    memory_ = std::move(other.memory_);
    return *this;
}

void TPixelBuffer::Allocate(int width, int height) {
    if (width <= 0 || height <= 0) width = height = 0;
    Width = width;
    Height = height;
    RowPadding = width % 4;
    if ((3LL * width + RowPadding) * height > INT_MAX) throw std::bad_alloc();
    RowStride = 3 * width + RowPadding;
    ByteSize = RowStride * height;
    memory_ = ByteSize > 0 ? std::make_unique<uint8_t[]>(static_cast<size_t>(ByteSize)) : nullptr;
    Bits = memory_.get();
}

TmnFBitmap::TmnFBitmap(int width, int height) : TPixelBuffer(width, height) { BuildRows(); }

void TmnFBitmap::BuildRows() {
    Rows.resize(static_cast<size_t>(Height));
    for (int y = 0; y < Height; ++y) Rows[static_cast<size_t>(y)] = RowPointer(y);
}

}  // namespace fn
