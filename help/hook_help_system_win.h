#pragma once
// The help hook: owns the application's help event while it lives and turns every context
// request into a call of the HTML help viewer.
#include <cstdint>
#include <functional>

#include "platform/core/sys_utils.h"

namespace fn {

class THookHelpSystem {
public:
    using THelpEvent = std::function<bool(unsigned command, uintptr_t data, bool& callHelp)>;

    // Saves the application's help event and installs HelpHook in its place.
    THookHelpSystem(const String& chmFile, const String& winDef, uint8_t hostKind);
    // Closes the viewer windows (in-process host) and gives the help event back.
    ~THookHelpSystem();
    THookHelpSystem(const THookHelpSystem&) = delete;
    THookHelpSystem& operator=(const THookHelpSystem&) = delete;

    // The application's help event: context and context-popup requests are shown, a popup
    // position is stored, everything else is left to the application (callHelp = true).
    bool HelpHook(unsigned command, uintptr_t data, bool& callHelp);
    // Shows a context of ChmFile and reports a failure; returns the error code.
    int ShowContext(int context);

    THelpEvent PreviousOnHelp;
    String ChmFile;
    String WinDef;
    uint8_t HostKind;
    int32_t PopupX = 0;
    int32_t PopupY = 0;
    std::function<void(int context)> OnContext;
    std::function<void(int context, int32_t x, int32_t y)> OnContextPopup;
    bool ChainPrevious = false;
};

}  // namespace fn
