#include "help/hh_functions_win.h"

#include <shellapi.h>

#include <vector>

#include "help/hh_loader_win.h"
#include "help/hh_text.h"
#include "platform/win/application.h"
#include "platform/win/dialogs.h"
#include "platform/core/files.h"

namespace fn {

uint16_t ViewerVersionMajor = 0, ViewerVersionMinor = 0, ViewerVersionRelease = 0, ViewerVersionBuild = 0;
String ViewerVersionText;
bool ViewerInstalled = false;
String ViewerFriendlyVersion;
String BrowserVersionText;
String BrowserFriendlyVersion;
bool BrowserInstalled = false;
String ModulePath, ModuleFolder, ModuleName;
String RunFolder;
String LogFolder;
bool DebugMode = false;
std::unique_ptr<TDLogFile> LogFile;

namespace {

// Version blocks are a few kilobytes; anything far larger is not read.
constexpr DWORD MaxVersionInfoBytes = 1 << 20;
constexpr UINT HH_HELP_CONTEXT = 15;
constexpr UINT HH_CLOSE_ALL = 18;

// The module that holds this code (the program, or a library that links the help functions).
HMODULE RunningModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&RunningModule), &module);
    return module;
}

std::vector<String> CommandLineWords() {
    std::vector<String> words;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv) return words;
    for (int i = 0; i < count; ++i) words.emplace_back(argv[i]);
    LocalFree(argv);
    return words;
}

String VersionTextOf(const String& path) {
    std::optional<TFileVersion> version = ReadFileVersion(path);
    return version ? VersionText(*version) : String();
}

String Hex4(unsigned value) {
    static const wchar_t digits[] = L"0123456789abcdef";
    String out;
    do {
        out.insert(out.begin(), digits[value & 15]);
        value >>= 4;
    } while (value != 0);
    while (out.size() < 4) out.insert(out.begin(), L'0');
    return L"0x" + out;
}

String OperatingSystemLine() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExW(&info);
#pragma GCC diagnostic pop
    const wchar_t* name = L"Windows";
    if (info.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        name = L"Windows NT";
        if (info.dwMajorVersion == 4) name = L"Windows NT4";
        else if (info.dwMajorVersion == 5 && info.dwMinorVersion == 0) name = L"Windows 2000";
        else if (info.dwMajorVersion == 5 && info.dwMinorVersion == 1) name = L"Windows XP";
    }
    String servicePack = info.szCSDVersion[0] ? String(info.szCSDVersion) : String(L"No Service Pack");
    return Format(L"!\tOperating System:      %s %d.%d (Build %d) %s",
                  {name, IntToStr(info.dwMajorVersion), IntToStr(info.dwMinorVersion),
                   IntToStr(info.dwBuildNumber), servicePack});
}

String LocaleValue(std::wstring_view label, unsigned value) {
    return Format(L"!\t%s %s (%s)", {label, Hex4(value), IntToStr(value)});
}

String DecimalSeparatorText() {
    wchar_t buffer[8] = {};
    return GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) > 0 ? String(buffer) : String();
}

void WriteLogHeader(const std::vector<String>& words) {
    TDLogFile& log = *LogFile;
    String parameters;
    for (size_t i = 1; i < words.size(); ++i) parameters += (i > 1 ? L" | " : L"") + words[i];
    String exePath = ModuleFileName(nullptr);
    LCID lcid = GetThreadLocale();
    LANGID language = LANGIDFROMLCID(lcid);

    log.Out(L"=");
    log.Out(L"!\tLog File:             %s", {log.FileName});
    log.Out(L"!\tDate:                 %s", {DateTimeText()});
    log.Out(OperatingSystemLine());
    log.Out(LocaleValue(L"SysLocale.DefaultLCID:", lcid));
    log.Out(LocaleValue(L"SysLocale.PriLangID:  ", PRIMARYLANGID(language)));
    log.Out(LocaleValue(L"SysLocale.SubLangID:  ", SUBLANGID(language)));
    log.Out(L"!\tDecimalSeparator:      %s", {DecimalSeparatorText()});
    log.Out(L"-");
    log.Out(L"!\tEXE Path =          %s", {exePath});
    log.Out(L"!\tEXE Version =       %s", {VersionTextOf(exePath)});
    log.Out(L"!\tCmdline Param(s) =  %s", {parameters});
    log.Out(L"!\tActual CmdLine =  %s", {GetCommandLineW()});
    log.Out(L"!\t_RunDir =           %s", {RunFolder});
    log.Out(L"!\t_ModuleName =       %s", {ModuleName});
    log.Out(L"!\t_ModuleDir =        %s", {ModuleFolder});
    log.Out(L"!\t_ModulePath =        %s", {ModulePath});
    log.Out(L"!\tModule Version =       %s", {VersionTextOf(ModulePath)});
    log.Out(L"-");
    log.Out(L"!\t_hhInstalled =      %s", {ViewerInstalled ? L"YES" : L"NO"});
    log.Out(L"!\t_hhVerStr =         %s", {ViewerVersionText});
    log.Out(L"!\t_hhFriendlyVerStr = %s", {ViewerFriendlyVersion});
    log.Out(L"-");
    log.Out(L"!\t_ieInstalled =      %s", {BrowserInstalled ? L"YES" : L"NO"});
    log.Out(L"!\t_ieVerStr =         %s", {BrowserVersionText});
    log.Out(L"!\t_ieFriendlyVerStr = %s", {BrowserFriendlyVersion});
    log.Out(L"=");
}

// The path in the ANSI code page, when every character has an exact counterpart there.
std::optional<std::string> ToAnsi(const String& text) {
    if (text.empty()) return std::string();
    BOOL lossy = FALSE;
    int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                     nullptr, 0, nullptr, &lossy);
    if (length <= 0 || lossy) return std::nullopt;
    std::string out(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), out.data(),
                        length, nullptr, &lossy);
    return out;
}

// Calls the viewer through its narrow entry; a path the ANSI code page cannot hold goes
// through the wide entry instead, so that no folder name keeps the help from opening.
HWND CallViewer(HWND owner, const String& path, UINT command, DWORD_PTR data) {
    std::optional<std::string> narrow = ToAnsi(path);
    if (narrow && HtmlHelpNarrowEntry) return HtmlHelpNarrowEntry(owner, narrow->c_str(), command, data);
    if (HtmlHelpWideEntry) return HtmlHelpWideEntry(owner, path.c_str(), command, data);
    return nullptr;
}

// A report: a message box without owner, captioned with the application's title.
void ShowReport(const String& text) {
    Dialogs()->ShowMessageBox(text, Application()->Title(), MB_ICONEXCLAMATION);
}

}  // namespace

String ModuleFileName(HMODULE module) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return String(buffer.data(), length);
        if (buffer.size() >= 32768) return {};
        buffer.resize(buffer.size() * 2);
    }
}

std::optional<TFileVersion> ReadFileVersion(const String& path) {
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (size == 0 || size > MaxVersionInfoBytes) return std::nullopt;
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return std::nullopt;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info ||
        length < sizeof(VS_FIXEDFILEINFO) || info->dwSignature != 0xFEEF04BD)
        return std::nullopt;
    return VersionFromWords(info->dwFileVersionMS, info->dwFileVersionLS);
}

void InitHelpFunctions() {
    std::vector<String> words = CommandLineWords();
    ModulePath = ModuleFileName(RunningModule());
    ModuleFolder = AppFolderOf(ModulePath);
    ModuleName = ExtractFileName(ModulePath);
    RunFolder = words.empty() ? String() : AppFolderOf(words[0]);
    LogFolder = FolderWritable(ModuleFolder) ? ModuleFolder : TempFolder();

    DebugMode = FileExists(ModuleFolder + L"\\debug.debug");
    for (size_t i = 1; i < words.size(); ++i) DebugMode = DebugMode || IsDebugSwitch(words[i]);

    String viewerPath = RegisteredViewerPath();
    std::optional<TFileVersion> viewer = FileExists(viewerPath) ? ReadFileVersion(viewerPath) : std::nullopt;
    TFileVersion parts = viewer.value_or(TFileVersion{});
    ViewerVersionMajor = parts.Major;
    ViewerVersionMinor = parts.Minor;
    ViewerVersionRelease = parts.Release;
    ViewerVersionBuild = parts.Build;
    ViewerVersionText = viewer ? VersionText(*viewer) : String();
    ViewerInstalled = !ViewerVersionText.empty();
    ViewerFriendlyVersion = FriendlyViewerVersion(viewer);

    std::optional<TFileVersion> browser = ReadFileVersion(SystemFolder() + L"\\Shdocvw.dll");
    if (browser) browser = NormalizeBrowserVersion(*browser);
    BrowserVersionText = browser ? VersionText(*browser) : String();
    BrowserInstalled = !BrowserVersionText.empty();
    BrowserFriendlyVersion = FriendlyBrowserVersion(browser);

    LogFile = std::make_unique<TDLogFile>(LogFolder + L"\\HHDebug.txt", DebugMode, true, true, false);
    if (DebugMode && LogFile->HeaderDump) WriteLogHeader(words);
}

void FinalizeHelpFunctions() { LogFile.reset(); }

void DebugOut(std::wstring_view text) {
    if (LogFile) LogFile->DebugOut(text);
}

void DebugOut(std::wstring_view pattern, std::initializer_list<std::wstring_view> args) {
    if (LogFile) LogFile->DebugOut(pattern, args);
}

int HHHelpContext(const String& file, int context, const String& windowDefinition, uint8_t hostKind) {
    DebugOut(L"HHHelpContext(\"%s\", %d, \"%s\", %d)", {file, IntToStr(context), windowDefinition, IntToStr(hostKind)});
    String path = ViewerPath(file, windowDefinition, hostKind);
    DebugOut(L"ShowContext(\"%s\", %d)", {path, IntToStr(context)});
    int result = hhOk;
    if (!ViewerInstalled) {
        result = hhViewerNotInstalled;
    } else if (hostKind == hkInProcess) {
        // A viewer whose file exists but whose library did not load cannot show anything.
        if (!HtmlHelpNarrowEntry && !HtmlHelpWideEntry) {
            result = hhViewerNotInstalled;
        } else if (HWND window = CallViewer(GetDesktopWindow(), path, HH_HELP_CONTEXT,
                                            static_cast<DWORD_PTR>(static_cast<unsigned>(context)))) {
            SetForegroundWindow(window);
        }
    } else if (hostKind == hkKeyHH || hostKind == hkHH) {
        String program = WindowsFolder() + (hostKind == hkKeyHH ? L"\\KeyHH.EXE" : L"\\HH.EXE");
        String parameters = (hostKind == hkKeyHH ? L"-win -#mapid " : L"-mapid ") + IntToStr(context) + L" " + path;
        if (FileExists(program)) RunProgram(program, parameters);
        else result = hostKind == hkKeyHH ? hhKeyHHMissing : hhHHMissing;
    }
    DebugOut(L"  returned - %d", {IntToStr(result)});
    return result;
}

void HHShowError(int error) {
    String text = HelpErrorText(error);
    if (text.empty()) return;
    ShowReport(text);
    DebugOut(L"HHShowError(%d), \"%s\"", {IntToStr(error), text});
}

void CloseAllViewers() {
    if (!ViewerLibrary) return;
    if (HtmlHelpNarrowEntry) HtmlHelpNarrowEntry(nullptr, nullptr, HH_CLOSE_ALL, 0);
    Sleep(0);
}

bool RunProgram(const String& program, const String& parameters) {
    HWND owner = GetActiveWindow();
    TForm* mainForm = Application()->MainForm();
    if (!owner && mainForm && mainForm->HandleAllocated()) owner = mainForm->Handle();
    SetLastError(0);
    auto code = reinterpret_cast<INT_PTR>(
        ShellExecuteW(owner, L"open", program.c_str(), parameters.c_str(), nullptr, SW_SHOWDEFAULT));
    if (code > 32) return true;
    String message = ShellExecuteMessage(program, parameters, ShellErrorText(GetLastError()));
    ShowReport(message);
    DebugOut(message);
    return false;
}

namespace {

// The help units start before the program's forms exist and stop after they are gone:
// the viewer library first, then the values and the log.
struct THelpUnits {
    THelpUnits() {
        if (AutoLoadViewer) LoadViewer();
        InitHelpFunctions();
    }
    ~THelpUnits() {
        FinalizeHelpFunctions();
        // Viewer windows still open would run code of the library after it is freed.
        CloseAllViewers();
        FreeViewer();
    }
};
THelpUnits helpUnits;

}  // namespace

}  // namespace fn
