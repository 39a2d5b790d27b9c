#include "skin/data/mnSkinDataForms.h"

#include "platform/win/forms.h"
#include "skin/data/mnSkinMessages.h"

namespace fn {

void SendSkinMessageToForms(TComponent* owner, const void* manager, unsigned message) {
    const WPARAM wParam = reinterpret_cast<WPARAM>(manager);
    // The owner form first; asking for its window creates it when it does not exist yet.
    TForm* ownerForm = dynamic_cast<TForm*>(owner);
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

}  // namespace fn
