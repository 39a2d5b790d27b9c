#include "help/hook_help_system_win.h"

#include "help/hh_functions_win.h"
#include "help/hh_text.h"
#include "platform/win/application.h"

namespace fn {

namespace {
constexpr unsigned HelpContextCommand = 1;       // HELP_CONTEXT
constexpr unsigned HelpContextPopupCommand = 8;  // HELP_CONTEXTPOPUP
constexpr unsigned HelpSetPopupPosCommand = 13;  // HELP_SETPOPUP_POS
}  // namespace

THookHelpSystem::THookHelpSystem(const String& chmFile, const String& winDef, uint8_t hostKind)
    : ChmFile(chmFile), WinDef(winDef), HostKind(hostKind) {
    filter_.Install(Application()->HelpFilters(), [this](unsigned command, uintptr_t data, bool& callHelp, const auto& next) {
        return HelpHook(command, data, callHelp, next);
    });
    ChainPrevious = false;
    DebugOut(L"THookHelpSystem.Create(\"%s\",\"%s\", %d)", {ChmFile, WinDef, IntToStr(HostKind)});
}

THookHelpSystem::~THookHelpSystem() {
    if (HostKind == hkInProcess) CloseAllViewers();
    filter_.Remove();
    DebugOut(L"THookHelpSystem.Destroy");
}

bool THookHelpSystem::HelpHook(unsigned command, uintptr_t data, bool& callHelp, const THelpFilter::TNext& next) {
    DebugOut(L"THookHelpSystem.HelpHook(%s, %d)", {HelpCommandName(command), IntToStr(static_cast<intptr_t>(data))});
    bool result = true;
    if (ChainPrevious && next) result = next(command, data, callHelp);
    callHelp = false;
    int context = static_cast<int>(data);
    switch (command & 0xFFFF) {
        case HelpContextCommand:
            if (OnContext) OnContext(context);
            else ShowContext(context);
            break;
        case HelpContextPopupCommand:
            if (OnContextPopup) OnContextPopup(context, PopupX, PopupY);
            else ShowContext(context);
            break;
        case HelpSetPopupPosCommand:
            PopupX = static_cast<int16_t>(data & 0xFFFF);
            PopupY = static_cast<int16_t>((data >> 16) & 0xFFFF);
            break;
        default:
            callHelp = true;
            break;
    }
    return result;
}

int THookHelpSystem::ShowContext(int context) {
    int error = HHHelpContext(ChmFile, context, WinDef, HostKind);
    HHShowError(error);
    return error;
}

}  // namespace fn
