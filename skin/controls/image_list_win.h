#pragma once
// A list of equally sized images kept side by side in one bitmap, drawn leaving out the colour
// of their bottom-left pixel: the images a panel can show beside its caption.
#include "platform/core/classes.h"
#include "platform/win/graphics.h"

namespace fn {

class TImageList : public TComponent {
public:
    TImageList(TComponent* owner, int width, int height);
    const wchar_t* ClassName() const override { return L"TImageList"; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const { return count_; }
    // Appends image, cut or padded to the list's size; returns its index.
    int Add(TBitmap& image);
    // Image index at (x, y); nothing for an index outside the list.
    void Draw(TCanvas& canvas, int x, int y, int index);

private:
    int width_, height_;
    int count_ = 0;
    TBitmap strip_;
};

}  // namespace fn
