// skinpreview: renders PNG previews of a skin with the skin painter's own plans and effects.
//   skinpreview [--scale 1.5] <skin folder | compressed skin file> <output folder>
#include <cstdio>
#include <string_view>
#include <vector>

#include "tools/skinpreview/render_all.h"
#include "tools/tool_usage.h"

int main(int argc, char** argv) {
    using namespace fn::tools;
    static const char usage[] =
        "usage: skinpreview [--scale 1.5] <skin folder | compressed skin file> <output folder>\n"
        "  --scale  the skin at a display scale from 1 to 5 (1.25, 1.5, 2: 125 %, 150 %, 200 %)\n";
    int dpi = 96;
    std::vector<const char*> paths;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--scale" && i + 1 < argc) {
            const auto scaled = ScaleDpi(argv[++i]);
            if (!scaled) {
                std::fprintf(stderr, "skinpreview: --scale erwartet eine Zahl von 1 bis 5, nicht \"%s\"\n", argv[i]);
                return 2;
            }
            dpi = *scaled;
        } else if (IsOption(argv[i])) {
            return AnswerUsage(usage, IsHelpOption(argv[i]));
        } else {
            paths.push_back(argv[i]);
        }
    }
    if (paths.size() != 2) return AnswerUsage(usage, false);
    return RunReportingFailures("skinpreview", [&] {
        for (const std::string& file : fn::preview::RenderPreviews(paths[0], paths[1], dpi))
            std::printf("%s\n", file.c_str());
        return 0;
    });
}
