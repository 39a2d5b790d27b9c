#pragma once
// The notes application's help: the start-up check and hook of the main window, their
// release, and the help command of a document window.
#include <memory>

#include "help/hook_help_system_win.h"

namespace fn {

// The program's folder without trailing separator; set by SetUpHelp.
extern String AppFolder;
// The help hook, from SetUpHelp to ReleaseHelp.
extern std::unique_ptr<THookHelpSystem> HelpSystem;

// Main window creation: sets AppFolder, reports a missing help file and then a missing or
// too old viewer (each through ShowMessage), and installs the help hook on the help file.
void SetUpHelp();
// Main window destruction: closes the viewer windows and frees the help hook.
void ReleaseHelp();
// The document window's help command: the help file's start topic.
void ShowHelpStartTopic();

}  // namespace fn
