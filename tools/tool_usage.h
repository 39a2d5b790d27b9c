#pragma once
// How every build tool answers options it is given: "--help" (or "-h") prints the usage and
// succeeds; an option the tool does not know prints the usage as an error. Neither writes
// anything else, so an option is never taken for a file or folder name. A failure of the work
// itself is reported under the tool's name.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/exceptions.h"

namespace fn::tools {

inline bool IsHelpOption(std::string_view arg) { return arg == "--help" || arg == "-h"; }
inline bool IsOption(std::string_view arg) { return arg.size() > 1 && arg[0] == '-'; }

// Prints the usage (to stdout when asked for, else to stderr) and returns the exit status.
inline int AnswerUsage(const char* usage, bool asked) {
    std::fputs(usage, asked ? stdout : stderr);
    return asked ? 0 : 2;
}

// The value of "--scale": a display scale from 1 to 5 ("1.5" or "1,5"), as dots per inch
// (96 at 1); nothing for any other text.
inline std::optional<int> ScaleDpi(std::string_view value) {
    std::string text(value);
    for (char& c : text)
        if (c == ',') c = '.';
    char* end = nullptr;
    const double scale = text.empty() ? 0 : std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(scale >= 1.0 && scale <= 5.0)) return std::nullopt;
    return static_cast<int>(std::lround(scale * 96));
}

// Runs the tool's work and returns its exit status; an exception becomes "tool: message" on
// stderr and exit status 1.
template <class Work>
int RunReportingFailures(const char* tool, Work&& work) {
    try {
        return work();
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s: %s\n", tool, WideToUtf8(e.Message()).c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", tool, e.what());
    }
    return 1;
}

}  // namespace fn::tools
