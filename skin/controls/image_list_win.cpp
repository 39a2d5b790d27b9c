#include "skin/controls/image_list_win.h"

#include <algorithm>

namespace fn {

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), width_(std::max(1, width)), height_(std::max(1, height)) {}

int TImageList::Add(TBitmap& image) {
    TBitmap grown(width_ * (count_ + 1), height_);
    if (count_ > 0) ::BitBlt(grown.Canvas().Handle(), 0, 0, width_ * count_, height_, strip_.Canvas().Handle(), 0, 0, SRCCOPY);
    if (!image.Empty())
        ::BitBlt(grown.Canvas().Handle(), width_ * count_, 0, std::min(width_, image.Width()), std::min(height_, image.Height()),
                 image.Canvas().Handle(), 0, 0, SRCCOPY);
    strip_.Assign(grown);
    return count_++;
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index) {
    if (index < 0 || index >= count_) return;
    const COLORREF key = ::GetPixel(strip_.Canvas().Handle(), index * width_, height_ - 1);
    ::TransparentBlt(canvas.Handle(), x, y, width_, height_, strip_.Canvas().Handle(), index * width_, 0, width_, height_, key);
}

}  // namespace fn
