#pragma once
// How every build tool answers options it is given: "--help" (or "-h") prints the usage and
// succeeds; an option the tool does not know prints the usage as an error. Neither writes
// anything else, so an option is never taken for a file or folder name.
#include <cstdio>
#include <string_view>

namespace fn::tools {

inline bool IsHelpOption(std::string_view arg) { return arg == "--help" || arg == "-h"; }
inline bool IsOption(std::string_view arg) { return arg.size() > 1 && arg[0] == '-'; }

// Prints the usage (to stdout when asked for, else to stderr) and returns the exit status.
inline int AnswerUsage(const char* usage, bool asked) {
    std::fputs(usage, asked ? stdout : stderr);
    return asked ? 0 : 2;
}

}  // namespace fn::tools
