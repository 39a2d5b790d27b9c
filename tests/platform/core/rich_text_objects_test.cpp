// Counting the pictures and objects of a rich-text stream, however it is cut into pieces.
#include <gtest/gtest.h>

#include <string>

#include "platform/core/rich_text_objects.h"

using namespace fn;

namespace {

int Count(const std::string& rtf, size_t cut = std::string::npos) {
    TRichTextObjectCounter counter;
    const auto* bytes = reinterpret_cast<const uint8_t*>(rtf.data());
    const size_t first = cut < rtf.size() ? cut : rtf.size();
    counter.Feed(bytes, first);
    counter.Feed(bytes + first, rtf.size() - first);
    return counter.Count();
}

TEST(RichTextObjects, CountsPicturesAndObjectsOnceWhereverTheStreamIsCut) {
    const std::string rtf =
        "{\\rtf1\\ansi Text {\\pict\\wmetafile8\\picw10 0100ff}"
        "{\\*\\shppict{\\pict\\pngblip 89504e47}}{\\nonshppict{\\pict\\wmetafile8 0100}}"
        "{\\object\\objemb{\\*\\objdata 0102}{\\result{\\pict\\emfblip 01}}}"
        "\\bin12 {\\pict}\\pict}\\par nachher {\\pict\\dibitmap0 00}}";
    EXPECT_EQ(Count(rtf), 4);
    for (size_t cut = 0; cut <= rtf.size(); ++cut) EXPECT_EQ(Count(rtf, cut), 4) << cut;
}

TEST(RichTextObjects, WordsThatOnlyLookLikeAPictureAreNone) {
    EXPECT_EQ(Count("{\\rtf1 \\\\pict und \\'5cpict sind Text, \\picw100\\pich5 Ma\\'dfe}"), 0);
    EXPECT_EQ(Count("{\\rtf1 {\\pictureframeisnotapicture x}{\\objectx y}{\\pictprop z}}"), 0);
    EXPECT_EQ(Count("{\\rtf1 \\bin-5 \\pict}"), 1);  // a negative length skips nothing
    EXPECT_EQ(Count("{\\rtf1 \\bin99999999999999999999 \\pict}"), 0);  // the rest is binary
    EXPECT_EQ(Count("}}}{\\pict}"), 1);  // unbalanced groups do not confuse it
}

}  // namespace
