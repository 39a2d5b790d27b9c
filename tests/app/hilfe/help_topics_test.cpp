// The help file's sources: every topic that the contents, the index and the other topics lead
// to is compiled in, every context id has its topic, the texts keep to the character set they
// declare, and the keyboard topic names every shortcut of the windows' menus.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

fs::path SourceDir() {
    const char* root = std::getenv("FN_SOURCE_DIR");
    return root ? fs::path(root) : fs::path();
}

fs::path HelpDir() { return SourceDir() / "app" / "hilfe"; }

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The lines of one [SECTION] of the help project, without blank lines.
std::vector<std::string> ProjectSection(const std::string& name) {
    std::vector<std::string> lines;
    bool inside = false;
    for (const std::string& line : Lines(ReadText(HelpDir() / "FNHilfe.hhp"))) {
        if (!line.empty() && line.front() == '[') {
            inside = line == "[" + name + "]";
            continue;
        }
        if (inside && !line.empty()) lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> Matches(const std::string& text, const std::regex& pattern) {
    std::vector<std::string> found;
    for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it) found.push_back((*it)[1]);
    return found;
}

std::vector<fs::path> SourcesWithExtension(const std::string& extension) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(HelpDir()))
        if (entry.path().extension() == extension) files.push_back(entry.path());
    return files;
}

// The German name of a shortcut value of the form data (virtual key in the low byte, 0x2000
// Shift, 0x4000 Ctrl, 0x8000 Alt), as a person reads it on the keyboard; empty for a key the
// topics have no name for.
std::string ShortCutName(int value) {
    const int key = value & 0xFF;
    std::string name;
    if (key >= 'A' && key <= 'Z') name = std::string(1, static_cast<char>(key));
    else if (key >= 0x70 && key <= 0x7B) name = "F" + std::to_string(key - 0x70 + 1);
    else if (key == 0x2D) name = "Einfg";
    else if (key == 0x2E) name = "Entf";
    else if (key == 0x09) name = "Tab";
    else return {};
    if (value & 0x8000) name = "Alt+" + name;
    if (value & 0x2000) name = "Umschalt+" + name;
    if (value & 0x4000) name = "Strg+" + name;
    return name;
}

class HelpTopics : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(SourceDir().empty()) << "FN_SOURCE_DIR names the source folder";
        for (const std::string& file : ProjectSection("FILES")) compiled.insert(file);
        ASSERT_FALSE(compiled.empty());
    }
    std::set<std::string> compiled;
};

}  // namespace

TEST_F(HelpTopics, EveryLinkLeadsToACompiledTopicAndEveryTopicIsInTheContents) {
    for (const std::string& file : compiled) EXPECT_TRUE(fs::exists(HelpDir() / file)) << file << " is listed but missing";

    const std::regex href(R"(href="([^"#]*)(#[^"]*)?")", std::regex::icase);
    const std::regex local(R"re(name="Local" value="([^"#]*)(#[^"]*)?")re", std::regex::icase);
    for (const fs::path& topic : SourcesWithExtension(".htm")) {
        const std::string name = topic.filename().string();
        EXPECT_TRUE(compiled.count(name)) << name << " is not compiled into the help file";
        for (const std::string& target : Matches(ReadText(topic), href))
            EXPECT_TRUE(compiled.count(target)) << name << " links to " << target << ", which is not in the help file";
    }
    std::set<std::string> inContents;
    for (const char* listing : {"inhalt.hhc", "index.hhk"}) {
        for (const std::string& target : Matches(ReadText(HelpDir() / listing), local)) {
            EXPECT_TRUE(compiled.count(target)) << listing << " leads to " << target << ", which is not in the help file";
            if (std::string(listing) == "inhalt.hhc") inContents.insert(target);
        }
    }
    for (const fs::path& topic : SourcesWithExtension(".htm"))
        EXPECT_TRUE(inContents.count(topic.filename().string())) << topic.filename() << " cannot be reached from the contents";
}

TEST_F(HelpTopics, EveryContextIdHasACompiledTopic) {
    std::map<std::string, int> ids;
    std::set<int> numbers;
    const std::regex define(R"(^#define (IDH_\w+) (\d+)$)");
    for (const std::string& line : Lines(ReadText(HelpDir() / "helpcontext.h"))) {
        std::smatch m;
        if (!std::regex_match(line, m, define)) continue;
        ids[m[1]] = std::stoi(m[2]);
        EXPECT_TRUE(numbers.insert(std::stoi(m[2])).second) << m[1] << " repeats the number " << m[2];
    }
    ASSERT_EQ(ids.count("IDH_START"), 1u);
    EXPECT_EQ(ids["IDH_START"], 1070) << "the document window's help command opens context 1070";

    std::map<std::string, std::string> aliases;
    for (const std::string& line : ProjectSection("ALIAS")) {
        const size_t eq = line.find('=');
        ASSERT_NE(eq, std::string::npos) << line;
        aliases[line.substr(0, eq)] = line.substr(eq + 1);
    }
    for (const auto& [id, number] : ids) {
        ASSERT_EQ(aliases.count(id), 1u) << id << " (" << number << ") has no topic";
        EXPECT_TRUE(compiled.count(aliases[id])) << id << " names " << aliases[id] << ", which is not in the help file";
    }
    for (const auto& [id, file] : aliases) EXPECT_EQ(ids.count(id), 1u) << "the alias " << id << " has no context id";
    EXPECT_EQ(aliases["IDH_START"], "start.htm");
}

// The topics declare windows-1252 and write every umlaut as an entity; a raw byte of another
// encoding, or a mistyped entity, would show as garbage in the viewer.
TEST_F(HelpTopics, TextsUseOnlyAsciiAndKnownEntities) {
    const std::set<std::string> known = {"auml", "ouml", "uuml", "Auml", "Ouml", "Uuml", "szlig", "bdquo", "ldquo",
                                         "hellip", "nbsp", "gt", "lt", "amp", "quot", "larr", "rarr", "uarr", "darr"};
    const std::regex ampersand(R"(&([A-Za-z0-9#]*)(;?))");
    std::vector<fs::path> texts = SourcesWithExtension(".htm");
    for (const char* listing : {"inhalt.hhc", "index.hhk"}) texts.push_back(HelpDir() / listing);
    for (const fs::path& file : texts) {
        const std::string text = ReadText(file);
        for (size_t i = 0; i < text.size(); ++i)
            if (static_cast<unsigned char>(text[i]) >= 0x80) {
                ADD_FAILURE() << file.filename() << ": byte " << static_cast<int>(static_cast<unsigned char>(text[i]))
                              << " at offset " << i << " (write it as an entity)";
                break;
            }
        for (std::sregex_iterator it(text.begin(), text.end(), ampersand), end; it != end; ++it) {
            const std::string name = (*it)[1];
            EXPECT_TRUE((*it)[2] == ";" && known.count(name)) << file.filename() << ": unknown entity &" << name;
        }
    }
}

TEST_F(HelpTopics, KeyboardTopicNamesEveryShortcutOfTheMenus) {
    const std::string keyboard = ReadText(HelpDir() / "tastatur.htm");
    const std::regex shortCut(R"(ShortCut = (\d+))");
    int seen = 0;
    for (const char* form : {"document_window.fnf", "main_window.fnf"}) {
        for (const std::string& value : Matches(ReadText(SourceDir() / "app" / form), shortCut)) {
            ++seen;
            const std::string name = ShortCutName(std::stoi(value));
            ASSERT_FALSE(name.empty()) << form << ": the shortcut " << value << " has no German key name here";
            EXPECT_NE(keyboard.find("<span class=\"taste\">" + name + "</span>"), std::string::npos)
                << "tastatur.htm does not name " << name << " (" << form << ")";
        }
    }
    EXPECT_GE(seen, 8) << "the document menu's shortcuts were not found in its form data";
    // Keys that the windows answer without a menu item.
    for (const char* key : {"Esc", "Strg+F6", "Strg+Tab", "Alt", "F10"})
        EXPECT_NE(keyboard.find(std::string("<span class=\"taste\">") + key + "</span>"), std::string::npos) << key;
}

// The build writes one page head around every topic: a topic's source starts with its title
// and brings no head or closing tags of its own, which would stand twice in the page.
TEST_F(HelpTopics, TopicSourcesAreTitleAndBodyOnly) {
    const std::regex title(R"(^<title>[^<\n]+</title>\r?\n)");
    const std::regex frame(R"(<(/?html|/?head|/?body|meta|link)\b)", std::regex::icase);
    for (const fs::path& topic : SourcesWithExtension(".htm")) {
        const std::string text = ReadText(topic);
        EXPECT_TRUE(std::regex_search(text, title, std::regex_constants::match_continuous))
            << topic.filename() << " does not start with its <title> line";
        EXPECT_FALSE(std::regex_search(text, frame)) << topic.filename() << " brings page tags of its own";
    }
}
