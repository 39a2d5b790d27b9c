#pragma once
// The help functions: versions of the viewer and browser libraries, the module and folder
// values, the diagnostic log, and the calls that show a help context.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "help/hh_log_file_win.h"
#include "help/hh_version.h"

namespace fn {

// Filled when the help functions are initialised (before any form exists).
extern uint16_t ViewerVersionMajor, ViewerVersionMinor, ViewerVersionRelease, ViewerVersionBuild;
extern String ViewerVersionText;
extern bool ViewerInstalled;
extern String ViewerFriendlyVersion;
extern String BrowserVersionText;
extern String BrowserFriendlyVersion;
extern bool BrowserInstalled;
extern String ModulePath, ModuleFolder, ModuleName;
extern String RunFolder;
extern String LogFolder;
extern bool DebugMode;
extern std::unique_ptr<TDLogFile> LogFile;

// The full file name of a loaded module (nullptr: the program); empty when unknown.
String ModuleFileName(HMODULE module);
// The fixed version of a file, when it has readable version information.
std::optional<TFileVersion> ReadFileVersion(const String& path);

// (Re)computes every value above and creates the log (with its header in debug mode).
void InitHelpFunctions();
// Frees the log.
void FinalizeHelpFunctions();

// Debug lines: written to the log only in debug mode.
void DebugOut(std::wstring_view text);
void DebugOut(std::wstring_view pattern, std::initializer_list<std::wstring_view> args);

// Shows the context of a help file; returns hhOk or one of the error codes of hh_text.h.
int HHHelpContext(const String& file, int context, const String& windowDefinition, uint8_t hostKind);
// Reports an error code of HHHelpContext in a message box (nothing for hhOk).
void HHShowError(int error);
// Closes every viewer window of this process (when the viewer library is loaded).
void CloseAllViewers();
// Opens a program through the shell; a failure is reported. True when the shell started it.
bool RunProgram(const String& program, const String& parameters);

}  // namespace fn
