#include "help/hh_text.h"
#include "platform/core/files.h"

namespace fn {

namespace {

constexpr std::wstring_view SystemRootPlaceholder = L"%SystemRoot%";

String ReplaceAll(std::wstring_view text, std::wstring_view what, std::wstring_view with) {
    String out;
    size_t start = 0;
    for (size_t at = text.find(what); at != std::wstring_view::npos; at = text.find(what, start)) {
        out.append(text.substr(start, at - start)).append(with);
        start = at + what.size();
    }
    out.append(text.substr(start));
    return out;
}

}  // namespace

String ExpandSystemRoot(std::wstring_view value, std::wstring_view windowsFolder) {
    if (value.size() >= SystemRootPlaceholder.size() &&
        SameText(value.substr(0, SystemRootPlaceholder.size()), SystemRootPlaceholder))
        return String(windowsFolder) + String(value.substr(SystemRootPlaceholder.size()));
    return String(value);
}

String CleanHelpName(std::wstring_view name) {
    String spaced = ReplaceAll(name, L"%20", L" ");
    size_t first = spaced.find_first_not_of(L' ');
    if (first == String::npos) return {};
    size_t last = spaced.find_last_not_of(L' ');
    return spaced.substr(first, last - first + 1);
}

String ViewerPath(std::wstring_view file, std::wstring_view windowDefinition, uint8_t hostKind) {
    String path = CleanHelpName(file);
    String window = CleanHelpName(windowDefinition);
    if (!window.empty()) path += L'>' + window;
    if (hostKind == hkHH) path.insert(0, L"mk:@MSITStore:");
    return path;
}

String AppFolderOf(std::wstring_view programPath) {
    String folder = ExtractFilePath(programPath);
    if (!folder.empty()) folder.pop_back();
    return folder;
}

String HelpFileOf(std::wstring_view appFolder) { return String(appFolder) + L"\\Hilfe\\FNHilfe.chm"; }

String MissingHelpFileMessage(std::wstring_view helpFile) {
    return L"Hilfe-Datei konnte nicht gefunden werden\r" + String(helpFile);
}

String HelpCommandName(unsigned command) {
    unsigned code = command & 0xFFFF;
    const wchar_t* name = L"??";
    switch (code) {
        case 1: name = L"HELP_CONTEXT"; break;
        case 2: name = L"HELP_QUIT"; break;
        case 3: name = L"HELP_INDEX or HELP_CONTENTS"; break;
        case 4: name = L"HELP_HELPONHELP"; break;
        case 5: name = L"HELP_SETINDEX or HELP_SETCONTENTS"; break;
        case 8: name = L"HELP_CONTEXTPOPUP"; break;
        case 9: name = L"HELP_FORCEFILE"; break;
        case 10: name = L"HELP_CONTEXTMENU"; break;
        case 11: name = L"HELP_FINDER"; break;
        case 12: name = L"HELP_WM_HELP"; break;
        case 13: name = L"HELP_SETPOPUP_POS"; break;
        case 257: name = L"HELP_KEY"; break;
        case 258: name = L"HELP_COMMAND"; break;
        case 261: name = L"HELP_PARTIALKEY"; break;
        case 513: name = L"HELP_MULTIKEY"; break;
        case 515: name = L"HELP_SETWINPOS"; break;
    }
    return IntToStr(code) + L" (" + name + L")";
}

String HelpErrorText(int error) {
    switch (error) {
        case hhOk: return {};
        case hhViewerNotInstalled: return L"MS Html Help is not installed on this PC.";
        case hhKeyHHMissing: return L"System file KeyHH.EXE was not found in the Windows folder.";
        case hhHHMissing: return L"System file HH.EXE was not found in the Windows folder.";
        default: return L"Unknown error returned by HHHelpContext";
    }
}

String ShellErrorText(unsigned long lastError) {
    const wchar_t* text = L"General Failure";
    switch (lastError) {
        case 2: text = L"File Not Found"; break;
        case 3: text = L"Path Not Found"; break;
        case 5: text = L"Access Denied"; break;
        case 8: text = L"Insufficient Memory"; break;
        case 19: text = L"Media Is Write Protected"; break;
        case 21: text = L"Device Not Ready"; break;
        case 32: case 33: text = L"File In Use"; break;
        case 39: case 112: text = L"Disk Full"; break;
        case 276: case 1005: case 1392: case 1393: text = L"Corrupt File Or Disk"; break;
        case 1009: case 1358: text = L"Corrupt Registry"; break;
        case 1150: text = L"Windows Version Incorrect"; break;
        case 1151: text = L"Not A Windows Or MSDos Program"; break;
    }
    return L"[Error:" + IntToStr(static_cast<long long>(lastError)) + L"] " + text;
}

String ShellExecuteMessage(std::wstring_view program, std::wstring_view parameters,
                           std::wstring_view errorText) {
    String call = String(program) + L", " + String(parameters);
    return Format(L"Function ShellExecute(%s)\rReturned: %s", {call, errorText});
}

bool IsDebugSwitch(std::wstring_view parameter) {
    return SameText(parameter, L"/debug") || SameText(parameter, L"-debug");
}

String LogLineText(std::wstring_view text, std::wstring_view time, bool timeStamp) {
    if (text == L"-" || text == L"=") return String(80, text[0]);
    if (!text.empty() && (text[0] == L'!' || text[0] == L'-' || text[0] == L'='))
        return String(text.substr(1));
    if (timeStamp) return String(time) + L"   " + String(text);
    return String(text);
}

}  // namespace fn
