// Win32 delivery of a skin data manager's messages to the application's forms, installed when
// the program starts: the owner form first, then every other form of the screen in its order,
// each with SendMessage, wParam = the manager (its TmnSkinData*), lParam = MSG_SKIN_LPARAM. A
// form without a window is not made for it: its components that take skin messages are told
// directly.
#include "platform/win/forms.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_messages.h"

namespace fn {

namespace {

void Tell(TForm& form, TmnSkinData& manager, unsigned message) {
    if (form.HandleAllocated()) {
        ::SendMessageW(form.Handle(), message, reinterpret_cast<WPARAM>(&manager), MSG_SKIN_LPARAM);
        return;
    }
    for (int i = 0; i < form.ComponentCount(); ++i)
        if (auto* target = dynamic_cast<TmnSkinMessageTarget*>(form.Components(i))) target->TakeSkinMessage(&manager, message);
}

void SendSkinMessageToForms(TmnSkinData& manager, unsigned message) {
    TForm* ownerForm = dynamic_cast<TForm*>(manager.Owner());
    if (ownerForm && !ownerForm->IsDestroying()) Tell(*ownerForm, manager, message);
    // Then every other form in the screen's order. The count is asked again on each step, as a
    // handler may create or free forms.
    TScreen* screen = Screen();
    for (int i = 0; i < screen->FormCount(); ++i) {
        TForm* form = screen->Forms(i);
        if (form == ownerForm || form->IsDestroying()) continue;
        Tell(*form, manager, message);
    }
}

// Linked into every Win32 program that uses the skin data (see skin/data/CMakeLists.txt).
const bool installed = (SetSkinMessageSink(SendSkinMessageToForms), true);

}  // namespace

}  // namespace fn
