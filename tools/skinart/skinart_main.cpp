// skinart: draws the "Fennick" skin (pictures and description) into a folder.
//   skinart <folder>
#include <cstdio>
#include <filesystem>

#include "platform/core/sys_utils.h"
#include "tools/skinart/fennick_art.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: skinart <folder>\n");
        return 2;
    }
    try {
        std::filesystem::create_directories(argv[1]);
        fn::art::WriteSkinFolder(fn::art::DrawFennick(), argv[1]);
    } catch (const fn::Exception& e) {
        std::fprintf(stderr, "skinart: %s\n", fn::WideToUtf8(e.Message()).c_str());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skinart: %s\n", e.what());
        return 1;
    }
    return 0;
}
