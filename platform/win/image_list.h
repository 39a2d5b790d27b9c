#pragma once
// A list of equally sized images kept side by side in one bitmap, drawn leaving out the colour
// of their bottom-left pixel: the images of menu items and of panel captions.
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
    // Width and Height from form data (before any image is added).
    bool ReadProperty(const String& name, const FormValue& value, TReader& reader) override;
    // Image index at (x, y); nothing for an index outside the list. A disabled image is drawn
    // as an embossed grey shape of its opaque pixels.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true);

private:
    int width_, height_;
    int count_ = 0;
    TBitmap strip_;
};

}  // namespace fn
