#include "platform/win/menus.h"

#include <algorithm>

#include "platform/core/bitmap_data.h"
#include "platform/core/form_data.h"
#include "platform/core/streams.h"
#include "platform/win/actions.h"
#include "platform/win/graphics.h"
#include "platform/win/image_list.h"

namespace fn {

namespace {

UINT NextCommand() {
    static UINT next = 100;
    return next++;
}

String KeyName(WORD key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return String(1, static_cast<wchar_t>(key));
    if (key >= VK_F1 && key <= VK_F24) return L"F" + IntToStr(key - VK_F1 + 1);
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return L"Num " + IntToStr(key - VK_NUMPAD0);
    switch (key) {
        case VK_BACK: return L"Rück";
        case VK_TAB: return L"Tab";
        case VK_RETURN: return L"Eingabe";
        case VK_ESCAPE: return L"Esc";
        case VK_SPACE: return L"Leer";
        case VK_PRIOR: return L"Bild auf";
        case VK_NEXT: return L"Bild ab";
        case VK_END: return L"Ende";
        case VK_HOME: return L"Pos1";
        case VK_LEFT: return L"Links";
        case VK_UP: return L"Auf";
        case VK_RIGHT: return L"Rechts";
        case VK_DOWN: return L"Ab";
        case VK_INSERT: return L"Einfg";
        case VK_DELETE: return L"Entf";
        case VK_MULTIPLY: return L"Num *";
        case VK_ADD: return L"Num +";
        case VK_SUBTRACT: return L"Num -";
        case VK_DIVIDE: return L"Num /";
        default: return String();
    }
}

}  // namespace

String ShortCutToText(TShortCut shortCut) {
    String name = KeyName(static_cast<WORD>(shortCut & 0xFF));
    if (name.empty()) return String();
    String prefix;
    if (shortCut & scShift) prefix += L"Umsch+";
    if (shortCut & scCtrl) prefix += L"Strg+";
    if (shortCut & scAlt) prefix += L"Alt+";
    return prefix + name;
}

TShortCut ShortCut(WORD key, TShiftState shift) {
    if (key & 0xFF00) return 0;
    TShortCut s = key;
    if (shift & ssShift) s |= scShift;
    if (shift & ssCtrl) s |= scCtrl;
    if (shift & ssAlt) s |= scAlt;
    return s;
}

TShiftState KeyboardShiftState() {
    TShiftState s = 0;
    if (::GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (::GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (::GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(NextCommand()) {}

TMenuItem::~TMenuItem() {
    SetAction(nullptr);
    // Sub-items owned elsewhere (by the form) stay alive; they only lose their parent.
    for (TMenuItem* item : items_) item->parent_ = nullptr;
    if (parent_) parent_->Remove(this);
}

void TMenuItem::SetCaption(const String& caption) { caption_ = caption; Changed(); }
void TMenuItem::SetShortCut(TShortCut shortCut) { shortCut_ = shortCut; Changed(); }
void TMenuItem::SetChecked(bool checked) {
    checked_ = checked;
    if (checked_ && radioItem_) UncheckGroup();
    Changed();
}

void TMenuItem::SetRadioItem(bool value) {
    radioItem_ = value;
    if (checked_ && radioItem_) UncheckGroup();
    Changed();
}

void TMenuItem::UncheckGroup() {
    if (!parent_) return;
    for (TMenuItem* other : parent_->items_)
        if (other != this && other->radioItem_ && other->groupIndex_ == groupIndex_) other->checked_ = false;
}

void TMenuItem::SetImageIndex(int index) { imageIndex_ = index; Changed(); }

TBitmap& TMenuItem::Bitmap() {
    if (!bitmap_) bitmap_ = std::make_unique<TBitmap>();
    return *bitmap_;
}

bool TMenuItem::HasBitmap() const { return bitmap_ && !bitmap_->Empty(); }
void TMenuItem::SetEnabled(bool enabled) { enabled_ = enabled; Changed(); }
void TMenuItem::SetVisible(bool visible) { visible_ = visible; Changed(); }

void TMenuItem::Click() {
    if (OnClick) OnClick(this);
    else if (action_) action_->Execute();
}

void TMenuItem::SetAction(TAction* action) {
    if (action == action_) return;
    if (action_) std::erase(action_->clients_, this);
    action_ = action;
    if (!action_) return;
    action_->clients_.push_back(this);
    ActionChanged();
}

void TMenuItem::UpdateAction() {
    if (action_) action_->Update();
}

void TMenuItem::ActionChanged() {
    const TAction& a = *action_;
    caption_ = a.Caption();
    hint_ = a.Hint();
    shortCut_ = a.ShortCut();
    imageIndex_ = a.ImageIndex();
    enabled_ = a.Enabled();
    visible_ = a.Visible();
    SetChecked(a.Checked());  // unchecks the rest of a radio group; tells the menu once
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (item->parent_) item->parent_->Remove(item);
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parent_ = nullptr;
    Changed();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* i = this;
    while (i->parent_) i = i->parent_;
    return i->menu_;
}

void TMenuItem::Changed() {
    if (TMenu* m = GetParentMenu()) m->MenuChanged();
}

bool TMenuItem::ReadProperty(const String& name, const FormValue& v, TReader& reader) {
    if (name == L"Caption") caption_ = v.AsString();
    else if (name == L"ShortCut") shortCut_ = static_cast<TShortCut>(v.AsInt());
    else if (name == L"Checked") checked_ = v.AsBool();
    else if (name == L"RadioItem") radioItem_ = v.AsBool();
    else if (name == L"GroupIndex") groupIndex_ = v.AsInt();
    else if (name == L"ImageIndex") imageIndex_ = v.AsInt();
    else if (name == L"Hint") hint_ = v.AsString();
    else if (name == L"Bitmap.Data") {
        // The bytes of a bitmap file; a malformed one raises the reader's error.
        if (v.kind != FormValue::Kind::Binary) throw EReadError(L"Bitmap.Data erwartet Binärdaten");
        TBytesStream stream(v.bytes.data(), v.bytes.size());
        TBitmapData picture;
        picture.LoadFromStream(stream);
        Bitmap().Assign(picture);
    }
    else if (name == L"Enabled") enabled_ = v.AsBool();
    else if (name == L"Visible") visible_ = v.AsBool();
    else if (name == L"HelpContext") helpContext_ = v.AsInt();
    else if (name == L"Default") default_ = v.AsBool();
    else if (name == L"OnClick") OnClick = reader.Method<TNotifyEvent>(v);
    else if (name == L"OnDrawItem") OnDrawItem = reader.Method<TMenuDrawItemEvent>(v);
    else return TComponent::ReadProperty(name, v, reader);
    return true;
}

void TMenuItem::ReadChild(TComponent* child) {
    if (auto* item = dynamic_cast<TMenuItem*>(child)) Add(item);
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) { items_->menu_ = this; }

TMenu::~TMenu() { delete items_; }

void TMenu::ReadChild(TComponent* child) { items_->ReadChild(child); }

void TMenu::SetImages(TImageList* images) {
    SetReference(images_, images);
    MenuChanged();
}

bool TMenu::ReadProperty(const String& name, const FormValue& v, TReader& reader) {
    if (name == L"Images") {
        reader.FixupReference(v, [this](TComponent* c) { SetImages(dynamic_cast<TImageList*>(c)); });
        return true;
    }
    return TComponent::ReadProperty(name, v, reader);
}

void TMenu::Notification(TComponent* component, Operation operation) {
    TComponent::Notification(component, operation);
    if (operation == Operation::Remove) ReleaseReference(images_, component);
}

static TMenuItem* FindIn(TMenuItem* parent, const std::function<bool(TMenuItem*)>& match) {
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (match(item)) return item;
        if (TMenuItem* found = FindIn(item, match)) return found;
    }
    return nullptr;
}

TMenuItem* TMenu::FindItem(UINT command) const {
    return FindIn(items_, [command](TMenuItem* i) { return i->Command() == command; });
}

TMenuItem* TMenu::FindShortCut(TShortCut shortCut) const {
    if (shortCut == 0) return nullptr;
    return FindIn(items_, [shortCut](TMenuItem* i) { return i->ShortCut() == shortCut; });
}

bool TMenu::IsShortCut(WORD key, TShiftState shift) {
    TMenuItem* item = FindShortCut(fn::ShortCut(key, shift));
    if (!item) return false;
    // Parents first, from the top down, so that enabling rules run before the item is judged.
    std::vector<TMenuItem*> parents;
    for (TMenuItem* p = item->Parent(); p && p != items_; p = p->Parent()) parents.push_back(p);
    for (auto it = parents.rbegin(); it != parents.rend(); ++it) (*it)->Click();
    if (item->Enabled()) item->Click();
    return true;
}

HMENU TMenu::Handle() {
    if (!native_.Get()) {
        native_.Reset(CreateNativeMenu());
        FillNativeMenu(native_.Get(), items_);
    }
    return native_.Get();
}

void TMenu::MenuChanged() {
    if (!native_.Get()) return;
    HMENU menu = native_.Get();
    while (::GetMenuItemCount(menu) > 0) ::DeleteMenu(menu, 0, MF_BYPOSITION);
    FillNativeMenu(menu, items_);
}

void TMenu::FillNativeMenu(HMENU menu, TMenuItem* parent) {
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (!item->Visible()) continue;
        if (item->IsLine()) {
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        String text = item->Caption();
        String keys = ShortCutToText(item->ShortCut());
        if (!keys.empty()) text += L"\t" + keys;
        UINT flags = MF_STRING | (item->Checked() ? MF_CHECKED : 0) | (item->Enabled() ? 0 : MF_GRAYED);
        if (item->Count() > 0) {
            HMENU sub = ::CreatePopupMenu();
            FillNativeMenu(sub, item);
            ::AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text.c_str());
        } else {
            ::AppendMenuW(menu, flags, item->Command(), text.c_str());
        }
    }
}

HMENU TMainMenu::CreateNativeMenu() { return ::CreateMenu(); }

void TMainMenu::MenuChanged() {
    TMenu::MenuChanged();
    if (window_ && ::GetMenu(window_) == native_.Get()) ::DrawMenuBar(window_);
}

HMENU TPopupMenu::CreateNativeMenu() { return ::CreatePopupMenu(); }

void TPopupMenu::Popup(int x, int y, HWND owner) {
    if (OnPopup) OnPopup(this);
    UINT command = static_cast<UINT>(::TrackPopupMenu(Handle(), TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr));
    if (command == 0) return;
    if (TMenuItem* item = FindItem(command)) item->Click();
}

bool TPopupMenu::ReadProperty(const String& name, const FormValue& v, TReader& reader) {
    if (name == L"OnPopup") { OnPopup = reader.Method<TNotifyEvent>(v); return true; }
    return TMenu::ReadProperty(name, v, reader);
}

void RegisterMenuClasses() {
    RegisterComponentClass(L"TMainMenu", [](TComponent* o) { return new TMainMenu(o); });
    RegisterComponentClass(L"TPopupMenu", [](TComponent* o) { return new TPopupMenu(o); });
    RegisterComponentClass(L"TMenuItem", [](TComponent* o) { return new TMenuItem(o); });
    RegisterComponentClass(L"TImageList", [](TComponent* o) { return new TImageList(o, 16, 16); });
}

}  // namespace fn
