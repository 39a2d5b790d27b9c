#include <gtest/gtest.h>

#include "skin/paint/text_fit.h"

namespace fn {
namespace {

// Every character is as wide as its position in the alphabet ('a' = 1); '.' is 1.
int Width(std::wstring_view text) {
    int w = 0;
    for (wchar_t c : text) w += c == L'.' ? 1 : c >= L'a' && c <= L'z' ? c - L'a' + 1 : 5;
    return w;
}

TEST(FitTextWithEllipsis, KeepsFittingTextAndCutsTheRest) {
    EXPECT_EQ(FitTextWithEllipsis(L"abc", 6, Width), L"abc");
    EXPECT_EQ(FitTextWithEllipsis(L"abcd", 6, Width), L"ab...");  // "abc..." is 9 wide
    EXPECT_EQ(FitTextWithEllipsis(L"abcd", 9, Width), L"abc...");
    EXPECT_EQ(FitTextWithEllipsis(L"abcd", 8, Width), L"ab...");
    EXPECT_EQ(FitTextWithEllipsis(L"abcd", 0, Width), L"...");
    EXPECT_EQ(FitTextWithEllipsis(L"zz", 2, Width), L"...");  // even "..." is wider
    EXPECT_EQ(FitTextWithEllipsis(L"", 0, Width), L"");
}

TEST(FitTextWithEllipsis, NeverSplitsASurrogatePair) {
    const std::wstring text = std::wstring(L"a") + wchar_t(0xD83D) + wchar_t(0xDE00) + L"zz";
    const std::wstring fitted = FitTextWithEllipsis(text, 14, Width);  // a + pair (10) + ... = 14
    EXPECT_EQ(fitted, text.substr(0, 3) + L"...");
    const std::wstring shorter = FitTextWithEllipsis(text, 13, Width);
    EXPECT_EQ(shorter, L"a...");
}

}  // namespace
}  // namespace fn
