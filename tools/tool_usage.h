#pragma once
// How every build tool answers options it is given: "--help" (or "-h") prints the usage and
// succeeds; an option the tool does not know prints the usage as an error. Neither writes
// anything else, so an option is never taken for a file or folder name. A failure of the work
// itself is reported under the tool's name.
#include <cstdio>
#include <exception>
#include <string_view>

#include "platform/core/sys_utils.h"

namespace fn::tools {

inline bool IsHelpOption(std::string_view arg) { return arg == "--help" || arg == "-h"; }
inline bool IsOption(std::string_view arg) { return arg.size() > 1 && arg[0] == '-'; }

// Prints the usage (to stdout when asked for, else to stderr) and returns the exit status.
inline int AnswerUsage(const char* usage, bool asked) {
    std::fputs(usage, asked ? stdout : stderr);
    return asked ? 0 : 2;
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
