// skinpack: the design-time side of the stored skin.
//
//   skinpack SKIN [--data FILE] [--compressed FILE] [--archive FILE] [--form FILE]
//                 [--description TEXT] [--no-check]
//       Packs a skin folder (its skin.ini and the bitmaps it names) or a description file into
//       a version 3 archive and writes it as
//         --data        the stored-skin data: the raw zlib stream (level 9) that the program
//                       embeds (a Win32 RCDATA resource read as "CompressedData" = @NAME);
//         --compressed  a compressed skin file (version, length, zlib stream);
//         --archive     the uncompressed archive;
//         --form        the stored-skin component's form-data properties, with
//                       CompressedData = {hex}.
//       The skin is checked first; a skin with problems is not packed unless --no-check.
//   skinpack --check SKIN
//       Checks a skin folder, description file, archive or compressed skin and reports every
//       problem with section, key and value. Exit status 1 when there is a problem.
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "skin/data/skin_archive.h"
#include "skin/data/stored_skin.h"
#include "skin/data/zlib_streams.h"
#include "tools/skinpack/skin_check.h"
#include "tools/tool_usage.h"
#include "platform/core/files.h"

using namespace fn;

namespace {

const char kUsage[] =
                 "usage: skinpack SKIN [--data FILE] [--compressed FILE] [--archive FILE] [--form FILE]\n"
                 "                     [--description TEXT] [--no-check]\n"
                 "       skinpack --check SKIN\n"
                 "SKIN is a skin folder (with skin.ini) or a description file; --check also takes an\n"
                 "archive or a compressed skin.\n";

int Usage() { return tools::AnswerUsage(kUsage, false); }

void Print(const std::wstring& text, FILE* to = stdout) { std::fprintf(to, "%s\n", WideToUtf8(text).c_str()); }

int Check(const String& path, bool quietWhenOk) {
    TSkinChecker checker;
    checker.CheckPath(path);
    for (const auto& p : checker.Problems()) Print(path + L": " + p.Text(), quietWhenOk ? stderr : stdout);
    if (checker.Problems().empty()) {
        if (!quietWhenOk) Print(path + L": no problems found");
        return 0;
    }
    Print(path + L": " + IntToStr(static_cast<long long>(checker.Problems().size())) + L" problem(s)",
          quietWhenOk ? stderr : stdout);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    for (int i = 1; i < argc; ++i)
        if (tools::IsHelpOption(argv[i])) return tools::AnswerUsage(kUsage, true);
    if (std::strcmp(argv[1], "--check") == 0) {
        if (argc != 3) return Usage();
        return Check(Utf8ToWide(argv[2]), false);
    }
    String skin, data, compressed, archive, form, description;
    bool check = true;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto next = [&](String& out) {
            if (i + 1 >= argc) return false;
            out = Utf8ToWide(argv[++i]);
            return true;
        };
        if (a == "--data") { if (!next(data)) return Usage(); }
        else if (a == "--compressed") { if (!next(compressed)) return Usage(); }
        else if (a == "--archive") { if (!next(archive)) return Usage(); }
        else if (a == "--form") { if (!next(form)) return Usage(); }
        else if (a == "--description") { if (!next(description)) return Usage(); }
        else if (a == "--no-check") check = false;
        else if (!a.empty() && a[0] == '-') return Usage();
        else if (skin.empty()) skin = Utf8ToWide(a);
        else return Usage();
    }
    if (skin.empty() || (data.empty() && compressed.empty() && archive.empty() && form.empty())) return Usage();
    String ini = skin;
    if (std::filesystem::is_directory(std::filesystem::path(skin))) {
        if (ini.back() != L'/' && ini.back() != L'\\') ini += L'/';
        ini += L"skin.ini";
    }
    if (check && Check(ini, true) != 0) {
        Print(L"skinpack: not packed; fix the problems or pass --no-check", stderr);
        return 1;
    }
    return tools::RunReportingFailures("skinpack", [&] {
        TMemoryStream raw;
        if (!BuildSkinArchive(ini, raw)) {
            Print(ini + L": not a skin description (VERSION, PICTURES, FORMINFO, SKINOBJECTS and SKINCONTROLS are needed)",
                  stderr);
            return 1;
        }
        TmnCompressedStoredSkin stored(nullptr);
        CompressStream(raw, stored.CompressedStream());
        stored.SetDescription(description);
        stored.SetFileName(ExtractFileName(ini));
        if (!archive.empty()) raw.SaveToFile(archive);
        if (!data.empty()) stored.CompressedStream().SaveToFile(data);
        if (!compressed.empty()) stored.SaveToCompressedFile(compressed);
        if (!form.empty()) {
            std::string text = WideToUtf8(stored.WriteProperties(L""));
            TFileStream f(form, FileMode::Create);
            f.WriteBuffer(text.data(), text.size());
            f.Close();
        }
        Print(ini + L": archive " + IntToStr(raw.Size()) + L" bytes, compressed " +
              IntToStr(stored.CompressedStream().Size()) + L" bytes");
        return 0;
    });
}
