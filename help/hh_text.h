#pragma once
// Paths, command names, error texts and log-line rules of the help integration.
// Portable: no windows.h, so the host build checks them under the sanitizers.
#include <cstdint>

#include "platform/core/strings.h"

namespace fn {

// How a help request is carried out.
enum THelpHostKind : uint8_t {
    hkInProcess = 0,  // the viewer library, called in this process
    hkKeyHH = 1,      // the program KeyHH.EXE in the Windows folder
    hkHH = 2,         // the program HH.EXE in the Windows folder
};

// Error codes of HHHelpContext.
enum : int {
    hhOk = 0,
    hhViewerNotInstalled = 1,
    hhKeyHHMissing = 2,
    hhHHMissing = 3,
};

// A registered library path whose first 12 characters are "%SystemRoot%" (any letter case)
// gets the Windows folder in their place; any other value is returned unchanged.
String ExpandSystemRoot(std::wstring_view value, std::wstring_view windowsFolder);

// A help file or window name as the viewer takes it: "%20" becomes a blank, and blanks
// around the name are removed.
String CleanHelpName(std::wstring_view name);

// The path handed to the viewer: file, ">" and window definition when there is one; the
// HH.EXE host takes it as a storage URL ("mk:@MSITStore:" in front).
String ViewerPath(std::wstring_view file, std::wstring_view windowDefinition, uint8_t hostKind);

// The folder of a program file without its trailing separator ("C:" for a program in a root).
String AppFolderOf(std::wstring_view programPath);

// The application's help file inside its folder.
String HelpFileOf(std::wstring_view appFolder);

// The text of the help-file check at start-up.
String MissingHelpFileMessage(std::wstring_view helpFile);

inline constexpr const wchar_t* ViewerTooOldMessage =
    L"Diese Anwendung erfordert die Installation der MS HTML Help 1.2 oder höher";

// "1 (HELP_CONTEXT)", "13 (HELP_SETPOPUP_POS)", "7 (??)": low 16 bits of the command.
String HelpCommandName(unsigned command);

// The report for an error code of HHHelpContext; empty for hhOk.
String HelpErrorText(int error);

// "[Error:2] File Not Found": the report of a failed shell call.
String ShellErrorText(unsigned long lastError);

// "Function ShellExecute(program, parameters)\rReturned: error text".
String ShellExecuteMessage(std::wstring_view program, std::wstring_view parameters,
                           std::wstring_view errorText);

// True for "/debug" and "-debug" in any letter case.
bool IsDebugSwitch(std::wstring_view parameter);

// The line as the diagnostic log writes it. "-" and "=" alone are 80-character rules;
// a text starting with "!", "-" or "=" loses that character and gets no time stamp;
// any other text gets the time and three blanks in front when timeStamp is set.
String LogLineText(std::wstring_view text, std::wstring_view time, bool timeStamp);

}  // namespace fn
