#include "app/help_setup.h"

#include "app/hilfe/helpcontext.h"
#include "help/hh_functions_win.h"
#include "help/hh_loader_win.h"
#include "help/hh_text.h"
#include "platform/win/application.h"
#include "platform/win/dialogs.h"
#include "platform/core/files.h"

namespace fn {

String AppFolder;
std::unique_ptr<THookHelpSystem> HelpSystem;

void SetUpHelp() {
    AppFolder = AppFolderOf(ModuleFileName(nullptr));
    String helpFile = HelpFileOf(AppFolder);
    HelpSystem.reset();
    if (!FileExists(helpFile)) ShowMessage(MissingHelpFileMessage(helpFile));
    if (!ViewerLibrary || !ViewerVersionSufficient(ViewerVersionMajor, ViewerVersionMinor))
        ShowMessage(ViewerTooOldMessage);
    HelpSystem = std::make_unique<THookHelpSystem>(helpFile, String(), hkInProcess);
}

void ReleaseHelp() {
    CloseAllViewers();
    HelpSystem.reset();
}

void ShowHelpStartTopic() {
    Application()->SetHelpFile(HelpFileOf(AppFolder));
    Application()->HelpCommand(HELP_CONTEXT, IDH_START);
}

}  // namespace fn
