#pragma once
// Shortening a text with "..." to fit a width, for any way of measuring it.
#include <functional>
#include <string>
#include <string_view>

namespace fn {

using TTextMeasure = std::function<int(std::wstring_view)>;

// The text unchanged when it fits; otherwise the longest prefix that fits together with "...",
// followed by "...", or "..." alone when no prefix fits (even when "..." itself is wider).
// A surrogate pair is never split.
std::wstring FitTextWithEllipsis(const std::wstring& text, int width, const TTextMeasure& measure);

}  // namespace fn
