#include "platform/win/image_list.h"

#include <algorithm>
#include <utility>

#include "platform/core/form_data.h"
#include "platform/win/gdi.h"

namespace fn {

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), width_(std::max(1, width)), height_(std::max(1, height)) {}

bool TImageList::ReadProperty(const String& name, const FormValue& v, TReader& reader) {
    // Bounded: an image list holds small pictures, never a bitmap wider than the screen.
    if (name == L"Width" && count_ == 0) width_ = std::clamp(v.AsInt(), 1, 1024);
    else if (name == L"Height" && count_ == 0) height_ = std::clamp(v.AsInt(), 1, 1024);
    else return TComponent::ReadProperty(name, v, reader);
    return true;
}

int TImageList::Add(TBitmap& image) {
    TBitmap grown(width_ * (count_ + 1), height_);
    if (count_ > 0) ::BitBlt(grown.Canvas().Handle(), 0, 0, width_ * count_, height_, strip_.Canvas().Handle(), 0, 0, SRCCOPY);
    if (!image.Empty())
        ::BitBlt(grown.Canvas().Handle(), width_ * count_, 0, std::min(width_, image.Width()), std::min(height_, image.Height()),
                 image.Canvas().Handle(), 0, 0, SRCCOPY);
    strip_.Assign(grown);
    return count_++;
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) {
    if (index < 0 || index >= count_) return;
    const HDC source = strip_.Canvas().Handle();
    const COLORREF key = ::GetPixel(source, index * width_, height_ - 1);
    if (enabled) {
        ::TransparentBlt(canvas.Handle(), x, y, width_, height_, source, index * width_, 0, width_, height_, key);
        return;
    }
    // Disabled: every opaque pixel in the shadow colour, with a highlight one pixel down-right.
    TBitmap shape(width_, height_);
    const HDC s = shape.Canvas().Handle();
    for (int py = 0; py < height_; ++py)
        for (int px = 0; px < width_; ++px)
            ::SetPixelV(s, px, py, ::GetPixel(source, index * width_ + px, py) == key ? RGB(255, 255, 255) : RGB(0, 0, 0));
    const HDC dc = canvas.Handle();
    for (const auto& [dx, colour] : {std::pair{1, COLOR_BTNHIGHLIGHT}, std::pair{0, COLOR_BTNSHADOW}}) {
        TBrushHandle brush(::CreateSolidBrush(::GetSysColor(colour)));
        TSelectObject selected(dc, brush.Get());
        // The brush where the shape is black, the target where it is white: P xor (S and (D xor P)).
        ::BitBlt(dc, x + dx, y + dx, width_, height_, s, 0, 0, 0x00B8074A);
    }
}

}  // namespace fn
