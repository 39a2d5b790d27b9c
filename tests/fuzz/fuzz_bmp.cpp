// libFuzzer target: the BMP reader (the archive's reading rule). A picture that reads is written
// and must read back pixel-equal; the reader never consumes more than the input.
#include <cstdlib>

#include "platform/core/bitmap_data.h"

using namespace fn;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TBytesStream s(data, size);
    TBitmapData bmp;
    try {
        bmp.LoadFromStream(s);
    } catch (const Exception&) {
        return 0;
    }
    if (s.Position() > static_cast<int64_t>(size)) std::abort();
    if (!bmp.Empty() && bmp.Pixels.size() != static_cast<size_t>(bmp.Width) * static_cast<size_t>(bmp.Height)) std::abort();
    TMemoryStream out;
    bmp.SaveToStream(out);
    out.SetPosition(0);
    TBitmapData back;
    back.LoadFromStream(out);
    if (out.Position() != out.Size()) std::abort();
    if (!bmp.Empty() && !(back == bmp)) std::abort();
    return 0;
}
