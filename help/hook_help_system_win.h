#pragma once
// The help hook: a filter in front of the application's help event while it lives; it turns
// every context request into a call of the HTML help viewer.
#include <cstdint>
#include <functional>

#include "platform/core/filter_chain.h"
#include "platform/core/strings.h"

namespace fn {

class THookHelpSystem {
public:
    using THelpFilter = TFilterChain<bool(unsigned command, uintptr_t data, bool& callHelp)>;

    // Installs HelpHook as the newest of the application's help filters.
    THookHelpSystem(const String& chmFile, const String& winDef, uint8_t hostKind);
    // Closes the viewer windows (in-process host) and removes the filter.
    ~THookHelpSystem();
    THookHelpSystem(const THookHelpSystem&) = delete;
    THookHelpSystem& operator=(const THookHelpSystem&) = delete;

    // The help filter: context and context-popup requests are shown, a popup position is
    // stored, everything else is left to the application (callHelp = true). With ChainPrevious
    // the rest of the chain (next) runs first and its result is the filter's.
    bool HelpHook(unsigned command, uintptr_t data, bool& callHelp, const THelpFilter::TNext& next = {});
    // Shows a context of ChmFile and reports a failure; returns the error code.
    int ShowContext(int context);

    String ChmFile;
    String WinDef;
    uint8_t HostKind;
    int32_t PopupX = 0;
    int32_t PopupY = 0;
    std::function<void(int context)> OnContext;
    std::function<void(int context, int32_t x, int32_t y)> OnContextPopup;
    bool ChainPrevious = false;

private:
    TFilterHook<bool(unsigned, uintptr_t, bool&)> filter_;
};

}  // namespace fn
