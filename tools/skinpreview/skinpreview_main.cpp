// skinpreview: renders PNG previews of a skin with the skin painter's own plans and effects.
//   skinpreview <skin folder | compressed skin file> <output folder>
#include <cstdio>
#include <filesystem>

#include "platform/core/exceptions.h"
#include "tools/skinpreview/render_all.h"
#include "tools/tool_usage.h"

int main(int argc, char** argv) {
    using namespace fn::tools;
    static const char usage[] = "usage: skinpreview <skin folder | compressed skin file> <output folder>\n";
    for (int i = 1; i < argc; ++i)
        if (IsOption(argv[i])) return AnswerUsage(usage, IsHelpOption(argv[i]));
    if (argc != 3) return AnswerUsage(usage, false);
    try {
        for (const std::string& file : fn::preview::RenderPreviews(argv[1], argv[2]))
            std::printf("%s\n", file.c_str());
    } catch (const fn::Exception& e) {
        std::fprintf(stderr, "skinpreview: %s\n", fn::WideToUtf8(e.Message()).c_str());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skinpreview: %s\n", e.what());
        return 1;
    }
    return 0;
}
