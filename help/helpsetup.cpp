#include "help/helpsetup.h"

#include "app/hilfe/helpcontext.h"
#include "help/hhfunctions.h"
#include "help/hhloader.h"
#include "help/hhtext.h"
#include "platform/win/application.h"
#include "platform/win/dialogs.h"

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
