// The build tools answer --help with their usage and refuse options they do not know, and
// neither writes a file: an option is never taken for a folder to draw or pack into.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

int ExitStatus(const std::string& command) {
    const int r = std::system(command.c_str());
    return WIFEXITED(r) ? WEXITSTATUS(r) : -1;
}

TEST(ToolUsage, HelpSucceedsUnknownOptionsFailAndNothingIsWritten) {
    const fs::path dir = fs::temp_directory_path() / "fn_tool_usage_test";
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char* var : {"FN_SKINART", "FN_SKINPACK", "FN_SKINPREVIEW"}) {
        const char* exe = std::getenv(var);
        ASSERT_NE(exe, nullptr) << var;
        const std::string run = "cd '" + dir.string() + "' && '" + exe + "' ";
        EXPECT_EQ(ExitStatus(run + "--help >usage.txt"), 0) << var;
        EXPECT_GT(fs::file_size(dir / "usage.txt"), 10u) << var;
        fs::remove(dir / "usage.txt");
        EXPECT_EQ(ExitStatus(run + "--bogus 2>/dev/null"), 2) << var;
        EXPECT_EQ(ExitStatus(run + "--help out 2>/dev/null >/dev/null"), 0) << var;
        EXPECT_TRUE(fs::is_empty(dir)) << var;
    }
    fs::remove_all(dir);
}

TEST(ToolUsage, PreviewScaleIsListedAndABadScaleWritesNothing) {
    const fs::path dir = fs::temp_directory_path() / "fn_tool_scale_test";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const char* exe = std::getenv("FN_SKINPREVIEW");
    ASSERT_NE(exe, nullptr);
    const std::string run = "cd '" + dir.string() + "' && '" + exe + "' ";
    EXPECT_EQ(ExitStatus(run + "--help | grep -q -- --scale"), 0);
    for (const char* bad : {"0", "0.5", "6", "1.5x", "''", "abc"})
        EXPECT_EQ(ExitStatus(run + "--scale " + bad + " skin out 2>/dev/null"), 2) << bad;
    EXPECT_EQ(ExitStatus(run + "skin out --scale 2>/dev/null"), 2);  // the value missing
    EXPECT_TRUE(fs::is_empty(dir));
    fs::remove_all(dir);
}

// Work that fails is reported under the tool's name with exit status 1, and leaves no output.
TEST(ToolUsage, AFailureIsReportedUnderTheToolsName) {
    const fs::path dir = fs::temp_directory_path() / "fn_tool_failure_test";
    fs::remove_all(dir);
    fs::create_directories(dir);
    { std::ofstream(dir / "file") << "x"; }  // nothing can be made below a file
    const struct { const char* var; const char* name; const char* arguments; } tools[] = {
        {"FN_SKINART", "skinart", "file/skin"},
        {"FN_SKINPACK", "skinpack", "missing --no-check --data out.bin"},
        {"FN_SKINPREVIEW", "skinpreview", "missing out"},
    };
    for (const auto& tool : tools) {
        const char* exe = std::getenv(tool.var);
        ASSERT_NE(exe, nullptr) << tool.var;
        const std::string run = "cd '" + dir.string() + "' && '" + exe + "' " + tool.arguments + " 2>error.txt";
        EXPECT_EQ(ExitStatus(run), 1) << tool.name;
        std::ifstream error(dir / "error.txt");
        std::string line;
        std::getline(error, line);
        EXPECT_EQ(line.rfind(std::string(tool.name) + ": ", 0), 0u) << line;
        fs::remove(dir / "error.txt");
        EXPECT_FALSE(fs::exists(dir / "out") || fs::exists(dir / "out.bin")) << tool.name;
    }
    fs::remove_all(dir);
}

}  // namespace
