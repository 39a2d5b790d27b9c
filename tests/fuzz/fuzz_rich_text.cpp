// libFuzzer target: counting pictures and objects of a rich-text stream. Any bytes are taken,
// and the count is the same whether the stream comes whole or cut in two anywhere.
#include <cstdlib>

#include "platform/core/rich_text_objects.h"

using namespace fn;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TRichTextObjectCounter whole;
    whole.Feed(data, size);
    if (whole.Count() < 0) std::abort();
    const size_t cut = size ? data[0] % (size + 1) : 0;
    TRichTextObjectCounter pieces;
    pieces.Feed(data, cut);
    pieces.Feed(data + cut, size - cut);
    if (pieces.Count() != whole.Count()) std::abort();
    return 0;
}
