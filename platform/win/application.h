#pragma once
// The application object: start-up, the main form, the message loop with key preview and
// shortcut routing, the default exception handler, the help hooks and the hints: a control with
// a hint shows it after HintPause with the mouse resting on it, for HintHidePause.
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/core/filter_chain.h"
#include "platform/win/forms.h"
#include "platform/win/hint_window.h"
#include "platform/win/window_timer.h"

namespace fn {

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    void Initialize();
    const String& Title() const { return title_; }
    void SetTitle(const String& title);
    // The hidden top-level window of the application object (never shown).
    HWND Handle() const { return handle_; }

    // Creates a form owned by the application; the first one becomes the main form.
    template <class T>
    void CreateForm(T*& reference) {
        reference = new T(this);
        if (!mainForm_) mainForm_ = reference;
    }
    TForm* MainForm() const { return mainForm_; }

    // Shows the main form (unless ShowMainForm was switched off) and runs the message loop
    // until the application terminates; then frees the forms.
    void Run();
    // Off for a program that starts hidden (in the notification area).
    bool ShowMainForm() const { return showMainForm_; }
    void SetShowMainForm(bool show) { showMainForm_ = show; }
    // Handles every waiting message and returns (tests, long operations).
    void ProcessMessages();
    // Handles one message the way the loop does (key preview, shortcuts, MDI keys).
    void DispatchOne(MSG& msg);
    // Sees every message the loop takes from the queue before anything else; setting handled
    // keeps the message from being dispatched. The program's own handler.
    std::function<void(MSG& msg, bool& handled)> OnMessage;
    // Filters in front of OnMessage, for components (each installs one through a TFilterHook):
    // a filter passes the message on through next unless it handled it.
    using TMessageFilters = TFilterChain<void(MSG& msg, bool& handled)>;
    TMessageFilters& MessageFilters() { return messageFilters_; }
    // Modeless dialogs: the loop hands them their keyboard messages (Tab, Enter, Esc).
    void AddDialog(HWND dialog);
    void RemoveDialog(HWND dialog);
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Whether the newest input the loop handled came from the mouse (a button, the wheel or a
    // pointer that really moved) rather than the keyboard: menus opened by the mouse start with
    // no item highlighted.
    bool LastInputFromMouse() const { return lastInputFromMouse_; }
    void NoteInput(const MSG& msg);

    // Shows an exception's message (or calls OnException when set).
    void HandleException(const Exception& e);
    std::function<void(const Exception&)> OnException;

    // Help: HelpCommand asks the help filters (a help system installs one), then OnHelp; then
    // the system's help when callHelp is still set.
    const String& HelpFile() const { return helpFile_; }
    void SetHelpFile(const String& file) { helpFile_ = file; }
    bool HelpCommand(unsigned command, uintptr_t data);
    bool HelpContext(int context) { return HelpCommand(HELP_CONTEXT, static_cast<uintptr_t>(context)); }
    std::function<bool(unsigned command, uintptr_t data, bool& callHelp)> OnHelp;
    using THelpFilters = TFilterChain<bool(unsigned command, uintptr_t data, bool& callHelp)>;
    THelpFilters& HelpFilters() { return helpFilters_; }

    // Hints. Switching ShowHint off frees the hint window; on again makes one of the current
    // HintWindowClass when the next hint shows.
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show);
    UINT HintPause = 500;       // before the first hint
    UINT HintShortPause = 50;   // from one control's hint to the next while one shows
    UINT HintHidePause = 2500;  // how long a hint stays
    THintWindowClass HintWindowClass() const { return hintWindowClass_; }
    void SetHintWindowClass(THintWindowClass windowClass);
    // Asked before a hint shows: may change the text and place, or refuse.
    std::function<void(String& hintStr, bool& canShow, THintInfo& hintInfo)> OnShowHint;
    // The hint window now (null before the first hint or while ShowHint is off).
    THintWindow* HintWindow() const { return hintWindow_.get(); }
    // The mouse is over window (a mouse move): starts, keeps or ends the wait for its hint.
    void HintMouseMessage(HWND window);
    // Hides the hint and ends the wait (a click, a key, the mouse left).
    void CancelHint();

    void Notification(TComponent* component, Operation operation) override;

private:
    bool PreProcessKey(MSG& msg);
    static LRESULT CALLBACK StaticWndProc(HWND, UINT, WPARAM, LPARAM);
    void HintTimerFired();
    // The window whose hint shows over window: the nearest control (or hint source) up its
    // parents with a hint text, if that control shows hints.
    HWND HintOwnerAt(HWND window, String& text) const;
    void SetHintControl(TWinControl* control);

    HWND handle_ = nullptr;
    TMessageFilters messageFilters_;
    THelpFilters helpFilters_;
    std::vector<HWND> dialogs_;
    String title_;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
    bool showMainForm_ = true;
    bool lastInputFromMouse_ = false;
    POINT lastPointer_{-1, -1};
    bool initialized_ = false;
    String helpFile_;

    bool showHint_ = true;
    THintWindowClass hintWindowClass_ = &MakePlatformHintWindow;
    std::unique_ptr<THintWindow> hintWindow_;
    TWindowTimer hintTimer_;
    bool hintShowing_ = false;       // the timer runs the hide pause
    HWND hintOwner_ = nullptr;       // the window whose hint waits or shows
    TWinControl* hintControl_ = nullptr;
    String hintText_;
    HWND hintTracked_ = nullptr;     // the window asked for WM_MOUSELEAVE
};

TApplication* Application();

}  // namespace fn
