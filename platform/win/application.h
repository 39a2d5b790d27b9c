#pragma once
// The application object: start-up, the main form, the message loop with key preview and
// shortcut routing, the default exception handler, and the help hooks.
#include <windows.h>

#include <functional>

#include "platform/win/forms.h"

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

    // Shows the main form and runs the message loop until the application terminates; then
    // frees the forms.
    void Run();
    // Handles every waiting message and returns (tests, long operations).
    void ProcessMessages();
    // Handles one message the way the loop does (key preview, shortcuts, MDI keys).
    void DispatchOne(MSG& msg);
    // Sees every message the loop takes from the queue before anything else; setting handled
    // keeps the message from being dispatched. Components that hook it keep the previous handler
    // and put it back.
    std::function<void(MSG& msg, bool& handled)> OnMessage;
    void Terminate();
    bool Terminated() const { return terminated_; }

    // Shows an exception's message (or calls OnException when set).
    void HandleException(const Exception& e);
    std::function<void(const Exception&)> OnException;

    // Help: HelpCommand asks OnHelp first; a help system installs itself there.
    const String& HelpFile() const { return helpFile_; }
    void SetHelpFile(const String& file) { helpFile_ = file; }
    bool HelpCommand(unsigned command, uintptr_t data);
    bool HelpContext(int context) { return HelpCommand(HELP_CONTEXT, static_cast<uintptr_t>(context)); }
    std::function<bool(unsigned command, uintptr_t data, bool& callHelp)> OnHelp;

private:
    bool PreProcessKey(MSG& msg);

    HWND handle_ = nullptr;
    String title_;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
    bool initialized_ = false;
    String helpFile_;
};

TApplication* Application();

}  // namespace fn
