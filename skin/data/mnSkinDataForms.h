#pragma once
// Win32 delivery of a skin data manager's messages to the application's forms: the owner
// form's window first (created if needed), then every other form of the screen in its order,
// each with SendMessage, wParam = the manager (its TmnSkinData*), lParam = MSG_SKIN_LPARAM.
// Kept apart from mnSkinData.h so this unit needs no skin headers beside the Win32 layer's.
#include "platform/core/classes.h"

namespace fn {

void SendSkinMessageToForms(TComponent* owner, const void* manager, unsigned message);

}  // namespace fn
