// skinpreview: renders PNG previews of a skin with the skin painter's own plans and effects.
//   skinpreview <skin folder | compressed skin file> <output folder>
#include <cstdio>

#include "tools/skinpreview/render_all.h"
#include "tools/tool_usage.h"

int main(int argc, char** argv) {
    using namespace fn::tools;
    static const char usage[] = "usage: skinpreview <skin folder | compressed skin file> <output folder>\n";
    for (int i = 1; i < argc; ++i)
        if (IsOption(argv[i])) return AnswerUsage(usage, IsHelpOption(argv[i]));
    if (argc != 3) return AnswerUsage(usage, false);
    return RunReportingFailures("skinpreview", [&] {
        for (const std::string& file : fn::preview::RenderPreviews(argv[1], argv[2]))
            std::printf("%s\n", file.c_str());
        return 0;
    });
}
