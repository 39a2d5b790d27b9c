// skinart: draws the "Fennick" skin (pictures and description) into a folder, or the program's
// icon files from the same art.
//   skinart <folder>
//   skinart --icons <folder>
#include <cstring>
#include <filesystem>

#include "platform/core/exceptions.h"
#include "tools/skinart/fennick_art.h"
#include "tools/skinart/icon_art.h"
#include "tools/tool_usage.h"

int main(int argc, char** argv) {
    using namespace fn::tools;
    static const char usage[] = "usage: skinart <folder>\n       skinart --icons <folder>\n";
    if (argc >= 2 && IsHelpOption(argv[1])) return AnswerUsage(usage, true);
    const bool icons = argc == 3 && std::strcmp(argv[1], "--icons") == 0;
    // An option it does not know is never taken for a folder.
    if ((argc != 2 && !icons) || IsOption(argv[argc - 1])) return AnswerUsage(usage, false);
    const char* folder = argv[argc - 1];
    return RunReportingFailures("skinart", [&] {
        std::filesystem::create_directories(folder);
        if (icons) fn::art::WriteIconFiles(folder);
        else fn::art::WriteSkinFolder(fn::art::DrawFennick(), folder);
        return 0;
    });
}
