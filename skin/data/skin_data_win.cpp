// Win32 delivery of a skin data manager's messages to the application's forms, installed when
// the program starts: the owner form's window first (created if needed), then every other form
// of the screen in its order, each with SendMessage, wParam = the manager (its TmnSkinData*),
// lParam = MSG_SKIN_LPARAM.
#include "platform/win/forms.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_messages.h"

namespace fn {

namespace {

void SendSkinMessageToForms(TmnSkinData& manager, unsigned message) {
    const WPARAM wParam = reinterpret_cast<WPARAM>(&manager);
    // The owner form first; asking for its window creates it when it does not exist yet.
    TForm* ownerForm = dynamic_cast<TForm*>(manager.Owner());
    if (ownerForm && !ownerForm->IsDestroying()) SendMessageW(ownerForm->Handle(), message, wParam, MSG_SKIN_LPARAM);
    // Then every other form in the screen's order. The count is asked again on each step, as a
    // handler may create or free forms.
    TScreen* screen = Screen();
    for (int i = 0; i < screen->FormCount(); ++i) {
        TForm* form = screen->Forms(i);
        if (form == ownerForm || form->IsDestroying()) continue;
        SendMessageW(form->Handle(), message, wParam, MSG_SKIN_LPARAM);
    }
}

// Linked into every Win32 program that uses the skin data (see skin/data/CMakeLists.txt).
const bool installed = (SetSkinMessageSink(SendSkinMessageToForms), true);

}  // namespace

}  // namespace fn
