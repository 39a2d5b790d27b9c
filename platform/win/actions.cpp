#include "platform/win/actions.h"

#include <algorithm>

namespace fn {

TAction::TAction(TComponent* owner) : TComponent(owner) {}

TAction::~TAction() {
    // The items stay and keep the state they showed last.
    for (TMenuItem* item : clients_) item->action_ = nullptr;
}

void TAction::SetCaption(const String& caption) { caption_ = caption; Changed(); }
void TAction::SetHint(const String& hint) { hint_ = hint; Changed(); }
void TAction::SetShortCut(TShortCut shortCut) { shortCut_ = shortCut; Changed(); }
void TAction::SetImageIndex(int index) { imageIndex_ = index; Changed(); }
void TAction::SetEnabled(bool enabled) { enabled_ = enabled; Changed(); }
void TAction::SetChecked(bool checked) { checked_ = checked; Changed(); }
void TAction::SetVisible(bool visible) { visible_ = visible; Changed(); }

bool TAction::Update() {
    if (!OnUpdate) return false;
    OnUpdate(this);
    return true;
}

bool TAction::Execute() {
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

void TAction::Changed() {
    // A copy: an item's change handling may link or unlink items.
    const std::vector<TMenuItem*> clients = clients_;
    for (TMenuItem* item : clients)
        if (std::find(clients_.begin(), clients_.end(), item) != clients_.end()) item->ActionChanged();
}

}  // namespace fn
