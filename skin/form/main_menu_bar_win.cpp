#include "skin/form/main_menu_bar_win.h"

#include <oleacc.h>

#include <algorithm>
#include <utility>

#include "platform/win/forms.h"
#include "skin/menus/menu_navigation.h"
#include "skin/menus/skin_menu_win.h"
#include "skin/paint/effects.h"
#include "skin/paint/glyphs_win.h"
#include "skin/paint/images_win.h"
#include "skin/paint/parent_background_win.h"

namespace fn {

namespace {

// The bar's own deferred work, posted to its window.
constexpr UINT WM_MENUBAR_CLICK = WM_APP + 0x51;    // run the chosen item's command
constexpr UINT WM_MENUBAR_REBUILD = WM_APP + 0x52;  // rebuild the items held back by a menu mode
constexpr UINT WM_MENUBAR_CLOSED = WM_APP + 0x53;   // the press that closed a popup has been handled

constexpr int LeftButton = 0;
constexpr TColor PlainFrameColor = 0x800000, PlainPressedFill = 0xB59385, PlainHoverFill = 0xD2BDB6;

RECT ToRect(const TSkinRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

// A picture of the skin that really holds pixels, or none.
const TBitmapData* UsablePicture(const TmnSkinData* skin, int index) {
    const TBitmapData* p = skin ? skin->ActivePicture(index) : nullptr;
    return p && !p->Empty() ? p : nullptr;
}

// The object record of a section, of the class wanted, or null.
template <class Record>
const Record* FindObjectRecord(const TmnSkinData* skin, const String& name) {
    if (!skin || name.empty()) return nullptr;
    const int i = skin->GetObjectIndex(name);
    if (i < 0 || static_cast<size_t>(i) >= skin->SkinObjects().size()) return nullptr;
    return dynamic_cast<const Record*>(skin->SkinObjects()[static_cast<size_t>(i)].get());
}

TMainMenu* FirstMainMenu(const TComponent* form) {
    for (int i = 0; form && i < form->ComponentCount(); ++i)
        if (auto* m = dynamic_cast<TMainMenu*>(form->Components(i))) return m;
    return nullptr;
}

}  // namespace

// ---- TmnMenuBarObject ----

TmnMenuBarObject::TmnMenuBarObject(TmnSkinMainMenuBar& parent, const TmnDataSkinObject* record) : Parent(parent) {
    if (record) {
        IDName = record->SectionName;
        SkinRect = record->SkinRect;
        ActiveSkinRect = record->ActiveSkinRect;
        DownRect = record->ActiveSkinRect;
        Morphing = record->Morphing;
        MorphKind = record->MorphKind;
        Picture = UsablePicture(parent.Skin(), record->ActivePictureIndex);
        // Without its picture an object has no hover image to fade to.
        if (!Picture) ActiveSkinRect = {};
        if (ActiveSkinRect.IsEmpty()) Morphing = false;
    }
    ObjectRect = SkinRect;
}

bool TmnMenuBarObject::MorphEnabled() const {
    const TmnSkinData* skin = Parent.Skin();
    return Morphing && skin && skin->EnableSkinEffects();
}

void TmnMenuBarObject::StartMorph() {
    if (MorphEnabled()) Parent.StartTimer(TmnSkinMainMenuBar::MorphTimer);
    else Parent.RedrawObject(*this);
}

void TmnMenuBarObject::MouseEnter() {
    MouseIn = Active = true;
    StartMorph();
}

void TmnMenuBarObject::MouseLeave() {
    MouseIn = Active = false;
    StartMorph();
}

bool TmnMenuBarObject::MorphPending() const {
    if (Down && !DownRect.IsEmpty()) return false;
    return MorphUnderWay(MorphFactor, Active);
}

// ---- TmnSkinMainMenuBarItem ----

TmnSkinMainMenuBarItem::TmnSkinMainMenuBarItem(TmnSkinMainMenuBar& parent, const TmnDataSkinMainMenuItem* record,
                                               TMenuItem* menuItem)
    : TmnMenuBarObject(parent, record), MenuItem(menuItem) {
    if (record) {
        SkinSupport = true;
        FontName = record->FontName;
        FontHeight = record->FontHeight;
        FontStyle = record->FontStyle;
        FontColor = record->FontColor;
        ActiveFontColor = record->ActiveFontColor;
        DownFontColor = record->DownFontColor;
        UnEnabledFontColor = record->UnenabledFontColor;
        TextRect = record->TextRect;
        PressedRect = !record->DownRect.IsEmpty() ? record->DownRect
                      : !record->ActiveSkinRect.IsEmpty() ? record->ActiveSkinRect : record->SkinRect;
        ItemLeftOffset = record->ItemLeftOffset;
        ItemRightOffset = record->ItemRightOffset;
        StretchEffect = record->StretchEffect;
        AnimateSkinRect = record->AnimateSkinRect;
        FrameCount = record->FrameCount;
        AnimateInterval = record->AnimateInterval;
        InActiveAnimation = record->InactiveAnimation;
    }
    if (menuItem) {
        IDName = menuItem->Name();
        Enabled = menuItem->Enabled();
    }
}

bool TmnSkinMainMenuBarItem::AnimationEnabled() const {
    const TmnSkinData* skin = Parent.Skin();
    return SkinSupport && Picture && !AnimateSkinRect.IsEmpty() && FrameCount > 0 && skin && skin->EnableSkinEffects();
}

void TmnSkinMainMenuBarItem::StartMorph() {
    if (AnimationEnabled()) Parent.StartTimer(TmnSkinMainMenuBar::AnimateTimer);
    else TmnMenuBarObject::StartMorph();
}

void TmnSkinMainMenuBarItem::MouseEnter() {
    TmnSkinMainMenuBarItem* open = nullptr;
    for (int i = 0; i < Parent.ItemCount(); ++i)
        if (TmnSkinMainMenuBarItem* other = Parent.Item(i); other != this && other->Down) open = other;
    if (open) {
        // A popup is open: it follows the mouse (or the arrow keys) to this item.
        open->SetDown(false);
        Active = MouseIn = true;
        if (MorphEnabled()) MorphFactor = 1;
        SetDown(true);
        return;
    }
    for (int i = 0; i < Parent.ItemCount(); ++i)
        if (TmnSkinMainMenuBarItem* other = Parent.Item(i); other != this && other->Active) other->MouseLeave();
    MouseIn = Active = true;
    StartMorph();
    if (Parent.OnItemMouseEnter) Parent.OnItemMouseEnter(&Parent, MenuItem);
    if (MenuItem && Parent.Hint() != MenuItem->Hint()) Parent.SetHint(MenuItem->Hint());
}

void TmnSkinMainMenuBarItem::MouseLeave() {
    Active = MouseIn = false;
    if (AnimationEnabled() && !InActiveAnimation) {
        CurrentFrame = 0;
        Parent.RedrawObject(*this);
    }
    if (MorphEnabled() && Down) MorphFactor = 0;
    StartMorph();
    if (Parent.OnItemMouseLeave) Parent.OnItemMouseLeave(&Parent, MenuItem);
}

void TmnSkinMainMenuBarItem::MouseDown(int, int, int button) {
    TmnMenuBarOwner* owner = Parent.Mantle();
    if (!Enabled || !owner || button != LeftButton || !MenuItem) return;
    if (HasSubItems()) {
        Parent.MenuMode = true;
        SetDown(true);
        return;
    }
    // A command on the bar itself: the menu modes end, then the command runs.
    if (owner->InMainMenu()) owner->MainMenuExit();
    owner->CloseMenus();
    StartMorph();
    Parent.PostClick(MenuItem);
}

void TmnSkinMainMenuBarItem::SetDown(bool down) {
    if (!down) {
        Down = Active = false;
        if (AnimationEnabled()) {
            if (InActiveAnimation) {
                CurrentFrame = FrameCount + 1;
                StartMorph();
            } else {
                CurrentFrame = 0;
                Parent.RedrawObject(*this);
            }
        } else if (MorphEnabled()) {
            MorphFactor = 1;
            StartMorph();
        } else {
            Parent.RedrawObject(*this);
        }
        return;
    }
    TmnMenuBarOwner* owner = Parent.Mantle();
    if (owner) {
        // Closing another chain first may end the menu mode (and reset this item): the state this
        // item is opened in is put back afterwards.
        const bool active = Active, mouseIn = MouseIn;
        owner->CloseMenus();
        Active = active;
        MouseIn = mouseIn;
    }
    Parent.MenuMode = true;
    Parent.HotIndex = Parent.IndexOf(this);
    Down = true;
    MorphFactor = 1;
    Parent.RedrawObject(*this);
    if (!owner) return;
    if (!owner->InMainMenu()) owner->MainMenuEnter();
    if (!MenuItem || !HasSubItems()) return;
    if (Parent.OnItemPopup) Parent.OnItemPopup(&Parent, MenuItem);
    const RECT anchor = Parent.ScreenRect(ObjectRect);
    owner->StartMenuRouting();
    owner->SkinMenu().Popup(Parent.Handle(), Parent.SkinData(), Parent.PopupToUp(), MenuItem, anchor, 0);
}

void TmnSkinMainMenuBarItem::Draw(TCanvas& canvas) {
    if (ObjectRect.IsEmpty() || !MenuItem) return;
    if (SkinSupport) DrawSkinned(canvas);
    else DrawUnskinned(canvas);
}

void TmnSkinMainMenuBarItem::DrawSkinned(TCanvas& canvas) {
    if (SkinRect.IsEmpty() || TextRect.IsEmpty()) return;
    const TSkinRect& r = ObjectRect;
    const int w = r.Width(), h = SkinRect.Height();
    bool activeSource = true;
    if (Picture) {
        TmnGdiObjectPainter p(canvas, Parent.Pictures());
        const TSkinRect at{r.Left, r.Top, r.Right, r.Top + h};
        auto strip = [&](int target, const TSkinRect& src, bool stretch, const TSkinRect& dst) {
            p.Strip(target, *Picture, src, ItemLeftOffset, ItemRightOffset, stretch, dst);
        };
        if (Down) {
            strip(0, PressedRect, StretchEffect, at);
        } else if (AnimationEnabled() && CurrentFrame >= 1 && CurrentFrame <= FrameCount) {
            const TSkinRect& a = AnimateSkinRect;
            const int k = CurrentFrame - 1;
            TSkinRect frame;
            if (a.Height() > SkinRect.Height()) {
                const int fh = a.Height() / FrameCount;
                frame = {a.Left, a.Top + k * fh, a.Right, a.Top + (k + 1) * fh};
            } else {
                const int fw = a.Width() / FrameCount;
                frame = {a.Left + k * fw, a.Top, a.Left + (k + 1) * fw, a.Bottom};
            }
            strip(0, frame, StretchEffect, at);
        } else if (MorphEnabled() && MorphUnderWay(MorphFactor, Active)) {
            const int normal = p.NewImage(w, h), hover = p.NewImage(w, h);
            strip(normal, SkinRect, false, {0, 0, w, h});
            strip(hover, ActiveSkinRect, StretchEffect, {0, 0, w, h});
            p.Morph(normal, hover, MorphKind, MorphFactor);
            p.DrawImage(normal, r.Left, r.Top);
        } else if (Active && !ActiveSkinRect.IsEmpty()) {
            strip(0, ActiveSkinRect, StretchEffect, at);
        } else {
            activeSource = false;
            // A transparent item shows the bar under it.
            if (!Parent.ItemTransparent()) strip(0, SkinRect, false, at);
        }
    }
    const TColor color = Down ? DownFontColor
                         : activeSource ? ActiveFontColor
                         : MenuItem->Enabled() ? FontColor : UnEnabledFontColor;
    Parent.SelectItemFont(canvas, *this);
    RECT box{r.Left + TextRect.Left, r.Top + TextRect.Top, r.Left + TextRect.Left, r.Top + TextRect.Top};
    RECT measured = box;
    ::DrawTextW(canvas.Handle(), MenuItem->Caption().c_str(), -1, &measured, DT_CALCRECT | DT_SINGLELINE);
    box.right = measured.right + 2;
    box.bottom = r.Top + TextRect.Bottom;
    DrawCaption(canvas, box, color);
}

void TmnSkinMainMenuBarItem::DrawUnskinned(TCanvas& canvas) {
    const RECT r = ToRect(ObjectRect);
    if (Down || MouseIn) {
        canvas.Brush().SetColor(Down ? PlainPressedFill : PlainHoverFill);
        canvas.FillRect(r);
        canvas.Brush().SetColor(PlainFrameColor);
        canvas.FrameRect(r);
    } else {
        canvas.Brush().SetColor(clBtnFace);
        canvas.FillRect(r);
    }
    Parent.SelectItemFont(canvas, *this);
    RECT box = r;
    if (Down) ::OffsetRect(&box, 1, 1);
    const TColor color = MenuItem->Enabled() ? Parent.DefItemFont().Color() : clGrayText;
    DrawCaption(canvas, box, color);
}

void TmnSkinMainMenuBarItem::DrawCaption(TCanvas& canvas, const RECT& box, TColor color) {
    canvas.Font().SetColor(color);
    canvas.PrepareText();
    const HDC dc = canvas.Handle();
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    RECT r = box;
    UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (Parent.Mantle() && Parent.Mantle()->MenuRightToLeft()) format |= DT_RTLREADING;
    ::DrawTextW(dc, MenuItem->Caption().c_str(), -1, &r, format);
    ::SetBkMode(dc, oldMode);
}

// ---- TmnSkinMainMenuBarButton ----

TmnSkinMainMenuBarButton::TmnSkinMainMenuBarButton(TmnSkinMainMenuBar& parent, const TmnDataSkinStdButton* record,
                                                   int command, const wchar_t* name)
    : TmnMenuBarObject(parent, record), Command(command) {
    if (record) {
        SkinSupport = true;
        Command = static_cast<int>(record->Command);
        DownRect = record->DownRect;
    } else {
        IDName = name;
    }
}

void TmnSkinMainMenuBarButton::Draw(TCanvas& canvas) {
    if (ObjectRect.IsEmpty()) return;
    TmnGdiObjectPainter p(canvas, Parent.Pictures());
    if (!SkinSupport || !Picture) {
        const TmnPlainLook look = Down && MouseIn ? TmnPlainLook::Pressed
                                  : MouseIn       ? TmnPlainLook::Hover
                                                  : TmnPlainLook::Normal;
        static constexpr TmnPlainGlyph glyphs[] = {TmnPlainGlyph::Close, TmnPlainGlyph::Restore,
                                                   TmnPlainGlyph::Minimize, TmnPlainGlyph::SysMenu};
        const TmnPlainGlyph glyph = Command >= 0 && Command < 4 ? glyphs[Command] : TmnPlainGlyph::None;
        p.PlainButton(ObjectRect, look, glyph, Enabled);
        return;
    }
    const TSkinRect& r = ObjectRect;
    if (Down && MouseIn && !DownRect.IsEmpty()) {
        p.Copy(0, *Picture, DownRect, r);
    } else if (MorphEnabled() && MorphUnderWay(MorphFactor, Active)) {
        const int normal = p.NewImage(r.Width(), r.Height()), hover = p.NewImage(r.Width(), r.Height());
        p.Copy(normal, *Picture, SkinRect, {0, 0, r.Width(), r.Height()});
        p.Copy(hover, *Picture, ActiveSkinRect, {0, 0, r.Width(), r.Height()});
        p.Morph(normal, hover, MorphKind, MorphFactor);
        p.DrawImage(normal, r.Left, r.Top);
    } else {
        p.Copy(0, *Picture, Active && !ActiveSkinRect.IsEmpty() ? ActiveSkinRect : SkinRect, r);
    }
}

void TmnSkinMainMenuBarButton::MouseDown(int, int, int button) {
    TmnMenuBarOwner* owner = Parent.Mantle();
    TForm* child = owner ? owner->MaximizedChild() : nullptr;
    if (!child || !Enabled || button != LeftButton || Down) return;
    Down = true;
    if (MorphEnabled() && !DownRect.IsEmpty()) MorphFactor = 1;
    Parent.RedrawObject(*this);
    if (Command == cmdSysMenu) {
        Parent.Invalidate();
        owner->ShowChildSystemMenu(child, Parent.ScreenRect(ObjectRect), Parent.Handle());
    }
}

void TmnSkinMainMenuBarButton::MouseUp(int, int, int button) {
    if (!Enabled || button != LeftButton || Command == cmdSysMenu) return;
    const bool wasDown = Down;
    Down = false;
    Parent.RedrawObject(*this);
    if (MorphEnabled()) StartMorph();
    TmnMenuBarOwner* owner = Parent.Mantle();
    TForm* child = owner ? owner->MaximizedChild() : nullptr;
    // Only a release over the button it was pressed on acts.
    if (!child || !wasDown || !Active) return;
    switch (Command) {
        case cmdClose: owner->ChildWindowAction(child, TmnWindowAction::Close); break;
        case cmdRestore: owner->ChildWindowAction(child, TmnWindowAction::Restore); break;
        case cmdMinimize: owner->ChildWindowAction(child, TmnWindowAction::Minimize); break;
        default: break;
    }
}

void TmnSkinMainMenuBarButton::DblClick() {
    TmnMenuBarOwner* owner = Parent.Mantle();
    TForm* child = owner ? owner->MaximizedChild() : nullptr;
    if (Command != cmdSysMenu || !child) return;
    owner->CloseMenus();
    owner->ResetMenuButtons();
    owner->ChildWindowAction(child, TmnWindowAction::Close);
}

void TmnSkinMainMenuBarButton::MouseEnter() {
    if (!Down) {
        TmnMenuBarObject::MouseEnter();
        return;
    }
    MouseIn = Active = true;
    if (Command != cmdSysMenu) Parent.RedrawObject(*this);
}

void TmnSkinMainMenuBarButton::MouseLeave() {
    if (!Down) {
        TmnMenuBarObject::MouseLeave();
        return;
    }
    MouseIn = Active = false;
    if (Command == cmdSysMenu) {
        if (MorphEnabled()) MorphFactor = 1;
    } else {
        Parent.RedrawObject(*this);
    }
}

void TmnSkinMainMenuBarButton::MenuClosed(bool hot) {
    if (Command != cmdSysMenu || !Down) return;
    Down = false;
    if (!hot) Active = MouseIn = false;
    StartMorph();
}

// ---- TmnSkinMainMenuBar ----

TmnSkinMainMenuBar::TmnSkinMainMenuBar(TComponent* owner) : TmnSkinControl(owner) {
    skinDataName_ = L"mainmenubar";
    defItemFont_.SetName(L"Arial");
    defItemFont_.SetHeight(14);
    defItemFont_.SetColor(clBtnText);
    defItemFont_.OnChange = [this] { Invalidate(); };
    measure_.SetSize(1, 1);
    SetAlign(TAlign::alTop);
    bounds_ = {0, 0, 100, defaultHeight_};
}

TmnSkinMainMenuBar::~TmnSkinMainMenuBar() {
    hoverTimer_.Stop();
    morphTimer_.Stop();
    animateTimer_.Stop();
    Objects.clear();
}

void TmnSkinMainMenuBar::Register() {
    RegisterComponentClass(L"TmnSkinMainMenuBar", [](TComponent* owner) { return new TmnSkinMainMenuBar(owner); });
}

TmnSkinMainMenuBarItem* TmnSkinMainMenuBar::Item(int index) const {
    if (index < 0 || index >= ItemCount()) return nullptr;
    return Objects[static_cast<size_t>(ButtonCount + index)]->AsItem();
}

int TmnSkinMainMenuBar::IndexOf(const TmnMenuBarObject* object) const {
    for (size_t i = 0; i < Objects.size(); ++i)
        if (Objects[i].get() == object) return static_cast<int>(i);
    return -1;
}

void TmnSkinMainMenuBar::SetScrollMenu(bool scroll) {
    scrollMenu_ = scroll;
    Layout();
    Invalidate();
}

void TmnSkinMainMenuBar::SetUseSkinFont(bool use) {
    useSkinFont_ = use;
    Layout();
    Invalidate();
}

void TmnSkinMainMenuBar::SetDefaultWidth(int width) {
    defaultWidth_ = width;
    if (!Skinned() && width > 0) SetBounds(bounds_.left, bounds_.top, width, Height());
}

void TmnSkinMainMenuBar::SetDefaultHeight(int height) {
    defaultHeight_ = height;
    if (!Skinned() && height > 0) SetBounds(bounds_.left, bounds_.top, Width(), height);
}

void TmnSkinMainMenuBar::SetMantle(TmnMenuBarOwner* mantle) {
    SetReference(mantle_, mantle);
}

void TmnSkinMainMenuBar::SetMainMenu(TMainMenu* menu) {
    if (mainMenu_ == menu) return;
    SetReference(mainMenu_, menu);
    Rebuild();
    Invalidate();
}

bool TmnSkinMainMenuBar::PopupOpen() const {
    TmnSkinMenu* menu = Menu();
    return menu && menu->Visible;
}

RECT TmnSkinMainMenuBar::ScreenRect(const TSkinRect& r) {
    RECT s = ToRect(r);
    if (handle_) ::MapWindowPoints(handle_, nullptr, reinterpret_cast<POINT*>(&s), 2);
    return s;
}

void TmnSkinMainMenuBar::SelectItemFont(TCanvas& canvas, const TmnSkinMainMenuBarItem& item) {
    TFont& f = canvas.Font();
    if (item.SkinSupport && useSkinFont_) {
        f.SetName(item.FontName);
        f.SetHeight(item.FontHeight);
        f.SetStyle(item.FontStyle);
    } else {
        f.SetName(defItemFont_.Name());
        f.SetHeight(defItemFont_.Height());
        f.SetStyle(defItemFont_.Style());
    }
    f.SetCharSet(SkinLibraryCharSet(skinData_, static_cast<uint8_t>(defItemFont_.CharSet())));
}

void TmnSkinMainMenuBar::PostClick(TMenuItem* item) {
    if (!item) return;
    SetReference(pendingClick_, item);
    if (handle_) ::PostMessageW(handle_, WM_MENUBAR_CLICK, 0, 0);
}

void TmnSkinMainMenuBar::StartTimer(int which) {
    if (!handle_) return;
    switch (which) {
        case HoverTimer: hoverTimer_.Start(handle_, HoverTimer, 50); break;
        case MorphTimer:
            if (!morphTimer_.Active()) morphTimer_.Start(handle_, MorphTimer, 25);
            break;
        case AnimateTimer: {
            // The interval of the item that animates last.
            UINT ms = 25;
            for (int i = 0; i < ItemCount(); ++i)
                if (Item(i)->AnimationEnabled()) ms = static_cast<UINT>(std::clamp(Item(i)->AnimateInterval, 10, 1000));
            if (!animateTimer_.Active() || animateTimer_.Interval() != ms) animateTimer_.Start(handle_, AnimateTimer, ms);
            break;
        }
        default: break;
    }
}

void TmnSkinMainMenuBar::StopTimer(int which) {
    switch (which) {
        case HoverTimer: hoverTimer_.Stop(); break;
        case MorphTimer: morphTimer_.Stop(); break;
        case AnimateTimer: animateTimer_.Stop(); break;
        default: break;
    }
}

// ---- skin ----

void TmnSkinMainMenuBar::GetSkinData() {
    TmnSkinControl::GetSkinData();
    record_ = dynamic_cast<const TmnDataSkinMainMenuBar*>(Record());
    itemRecord_ = record_ ? FindObjectRecord<TmnDataSkinMainMenuItem>(Skin(), record_->MenuBarItem) : nullptr;
}

int TmnSkinMainMenuBar::RequiredHeight() const {
    if (Skinned() && record_->SkinRect.Height() > 0) return record_->SkinRect.Height();
    return defaultHeight_ > 0 ? defaultHeight_ : Height();
}

void TmnSkinMainMenuBar::ChangeSkinData() {
    pictures_.Clear();
    GetSkinData();
    Rebuild();
    int w = Width();
    if (!Skinned() && defaultWidth_ > 0) w = defaultWidth_;
    SetBounds(bounds_.left, bounds_.top, w, RequiredHeight());
    if (Parent()) Parent()->AlignControls();
    Layout();
    Invalidate();
}

void TmnSkinMainMenuBar::BeforeChangeSkinData() {
    // Nothing of the old skin survives: its records and pictures are about to be freed.
    TmnSkinControl::BeforeChangeSkinData();
    FreeObjects();
    record_ = nullptr;
    itemRecord_ = nullptr;
    pictures_.Clear();
}

void TmnSkinMainMenuBar::ParentBackgroundChanged() {
    if (Skinned() && Skin() && Skin()->MainMenuBarTransparent) Invalidate();
}

// ---- items ----

void TmnSkinMainMenuBar::FreeObjects() {
    closedByPress_ = -1;
    if (PressedIndex >= 0 && handle_ && ::GetCapture() == handle_) ::ReleaseCapture();
    for (int i = 0; i < ItemCount(); ++i)
        if (TMenuItem* item = Item(i)->MenuItem) RemoveFreeNotification(item);  // each object's own link
    Objects.clear();
    ButtonCount = 0;
    HotIndex = PrevHotIndex = PressedIndex = -1;
}

void TmnSkinMainMenuBar::Rebuild() {
    FreeObjects();
    rebuildPending_ = false;
    SetReference(childForm_, nullptr);
    SetReference(childMenu_, nullptr);
    Merged = false;
    if (!mainMenu_) return;

    TForm* child = mantle_ ? mantle_->MaximizedChild() : nullptr;
    TMainMenu* childMenu = FirstMainMenu(child);
    if (childMenu && childMenu != mainMenu_) {
        SetReference(childForm_, child);
        SetReference(childMenu_, childMenu);
        Merged = true;
        scrollMenu_ = false;
    }

    std::vector<TMenuItem*> shown;
    TMenuItem* root = mainMenu_->Items();
    if (Merged) {
        TMenuItem* childRoot = childMenu_->Items();
        std::vector<int> barGroups, childGroups;
        for (int i = 0; i < root->Count(); ++i) barGroups.push_back(root->Items(i)->GroupIndex());
        for (int i = 0; i < childRoot->Count(); ++i) childGroups.push_back(childRoot->Items(i)->GroupIndex());
        for (const TMenuBarMergeEntry& e : MergeMenuBarItems(barGroups, childGroups))
            shown.push_back((e.FromChild ? childRoot : root)->Items(e.Index));
    } else {
        for (int i = 0; i < root->Count(); ++i) shown.push_back(root->Items(i));
    }
    for (TMenuItem* mi : shown) {
        if (!mi->Visible()) continue;
        FreeNotification(mi);
        Objects.push_back(std::make_unique<TmnSkinMainMenuBarItem>(*this, itemRecord_, mi));
    }
    if (ChildButtonsShown) {
        CreateChildButtons();
        RefreshButtonStates();
    }
    Layout();
}

void TmnSkinMainMenuBar::RebuildItems() {
    bool open = MenuMode;
    for (int i = 0; i < ItemCount(); ++i) open = open || Item(i)->Down;
    if (open) {
        // The open popup shows the items' sub-menus: the bar keeps them until the mode ends.
        rebuildPending_ = true;
        return;
    }
    Rebuild();
    Invalidate();
    HotIndex = PrevHotIndex = -1;
    lastPointer_ = kNoPointer;  // the new items are tracked where the pointer is
    StartTimer(HoverTimer);
}

void TmnSkinMainMenuBar::CreateChildButtons() {
    struct ButtonKind {
        String TmnDataSkinMainMenuBar::*Section;
        int Command;
        const wchar_t* Name;
    };
    static const ButtonKind kinds[] = {
        {&TmnDataSkinMainMenuBar::SysMenuButton, TmnSkinMainMenuBarButton::cmdSysMenu, L"SysMenuButton"},
        {&TmnDataSkinMainMenuBar::CloseButton, TmnSkinMainMenuBarButton::cmdClose, L"CloseButton"},
        {&TmnDataSkinMainMenuBar::MaxButton, TmnSkinMainMenuBarButton::cmdRestore, L"MaxButton"},
        {&TmnDataSkinMainMenuBar::MinButton, TmnSkinMainMenuBarButton::cmdMinimize, L"MinButton"},
    };
    std::vector<std::unique_ptr<TmnMenuBarObject>> buttons;
    for (const ButtonKind& s : kinds) {
        const TmnDataSkinStdButton* r = record_ ? FindObjectRecord<TmnDataSkinStdButton>(Skin(), record_->*s.Section) : nullptr;
        buttons.push_back(std::make_unique<TmnSkinMainMenuBarButton>(*this, r, s.Command, s.Name));
    }
    Objects.erase(Objects.begin(), Objects.begin() + ButtonCount);
    Objects.insert(Objects.begin(), std::make_move_iterator(buttons.begin()), std::make_move_iterator(buttons.end()));
    ButtonCount = static_cast<int>(buttons.size());
}

void TmnSkinMainMenuBar::RefreshButtonStates() {
    TForm* child = mantle_ ? mantle_->MaximizedChild() : nullptr;
    if (!child) return;
    const TmnBorderIcons icons = mantle_->ChildBorderIcons(child);
    for (int i = 0; i < ButtonCount; ++i) {
        auto& b = static_cast<TmnSkinMainMenuBarButton&>(*Objects[static_cast<size_t>(i)]);
        b.Enabled = !(b.Command == TmnSkinMainMenuBarButton::cmdMinimize && !(icons & BorderIconBit(biMinimize))) &&
                    !(b.Command == TmnSkinMainMenuBarButton::cmdSysMenu && !(icons & BorderIconBit(biSystemMenu)));
    }
}

void TmnSkinMainMenuBar::ShowChildButtons() {
    if (ChildButtonsShown) return;
    ChildButtonsShown = true;
    HotIndex = PrevHotIndex = PressedIndex = -1;
    CreateChildButtons();
    RefreshButtonStates();
    Layout();
    Invalidate();
}

void TmnSkinMainMenuBar::UpdateChildButtons() {
    TForm* child = mantle_ ? mantle_->MaximizedChild() : nullptr;
    if (!child && ChildButtonsShown) {
        if (PressedIndex >= 0 && PressedIndex < ButtonCount && handle_ && ::GetCapture() == handle_) ::ReleaseCapture();
        Objects.erase(Objects.begin(), Objects.begin() + ButtonCount);
        ButtonCount = 0;
        ChildButtonsShown = false;
        HotIndex = PrevHotIndex = PressedIndex = -1;
        Layout();
        Invalidate();
    } else if (child) {
        RefreshButtonStates();
        Invalidate();
    }
}

// ---- layout and painting ----

void TmnSkinMainMenuBar::Layout() {
    const TMenuBarGeometry g{Skinned(), record_ ? record_->SkinRect : TSkinRect{},
                             record_ ? record_->ItemsRect : TSkinRect{}};
    TSkinRect area = MenuBarItemsArea(g, Width(), Height());
    if (ButtonCount > 0) {
        std::vector<TMenuBarSize> sizes;
        for (int i = 0; i < ButtonCount; ++i) {
            const auto& b = static_cast<const TmnSkinMainMenuBarButton&>(*Objects[static_cast<size_t>(i)]);
            if (b.SkinSupport && b.Picture) sizes.push_back({b.SkinRect.Width(), b.SkinRect.Height()});
            else sizes.push_back({area.Height(), area.Height()});
        }
        const std::vector<TSkinRect> rects = PlaceMenuBarButtons(area, sizes);
        for (int i = 0; i < ButtonCount; ++i) Objects[static_cast<size_t>(i)]->ObjectRect = rects[static_cast<size_t>(i)];
    }
    ItemsArea = area;

    TMenuBarItemMetrics m;
    if (itemRecord_) m = {true, itemRecord_->SkinRect.Width(), itemRecord_->SkinRect.Height(), itemRecord_->TextRect.Width()};
    std::vector<int> widths;
    TCanvas& c = measure_.Canvas();
    for (int i = 0; i < ItemCount(); ++i) {
        TmnSkinMainMenuBarItem& item = *Item(i);
        SelectItemFont(c, item);
        c.PrepareText();
        RECT r{0, 0, 0, 0};
        if (item.MenuItem) ::DrawTextW(c.Handle(), item.MenuItem->Caption().c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
        widths.push_back(r.right - r.left);
    }
    const TMenuBarItemsPlan plan = LayoutMenuBarItems(area, m, widths, scrollMenu_);
    marker_ = plan.Marker;
    Overflow = plan.Overflow;
    for (int i = 0; i < ItemCount(); ++i) {
        TmnSkinMainMenuBarItem& item = *Item(i);
        item.ObjectRect = plan.Rects[static_cast<size_t>(i)];
        const bool fits = plan.Fits[static_cast<size_t>(i)];
        if (!fits && item.Fits) {
            // Hidden: not reachable by mouse or keyboard until it fits again.
            item.SavedEnabled = item.Enabled;
            item.Enabled = false;
            item.Fits = false;
        } else if (fits && !item.Fits) {
            item.Enabled = item.SavedEnabled;
            item.Fits = true;
        }
    }
    if (!Overflow && MarkerActive) MarkerActive = false;
}

void TmnSkinMainMenuBar::PaintBackground(TBitmap& buffer) {
    TCanvas& c = buffer.Canvas();
    c.Brush().SetColor(clBtnFace);
    c.FillRect({0, 0, buffer.Width(), buffer.Height()});
    if (!Skinned()) return;
    if (Skin() && Skin()->MainMenuBarTransparent) {
        DrawParentBackground(this, c);
        return;
    }
    const TBitmapData* picture = UsablePicture(Skin(), record_->PictureIndex);
    if (!picture || record_->SkinRect.IsEmpty()) return;
    TBitmap strip;
    BuildHStripImage(record_->ItemsRect.Left, record_->SkinRect.Width() - record_->ItemsRect.Right, strip,
                     pictures_.Get(*picture), record_->SkinRect, buffer.Width(), record_->StretchEffect);
    c.Draw(0, 0, strip);
}

void TmnSkinMainMenuBar::DrawMarker(TCanvas& canvas) {
    TColor color;
    if (Skinned()) color = MarkerActive ? record_->TrackMarkActiveColor : record_->TrackMarkColor;
    else color = MarkerActive ? clBtnText : clGrayText;
    DrawArrowGlyph(canvas, ToRect(marker_), color, 2);
}

void TmnSkinMainMenuBar::Paint(HDC dc) {
    const int w = Width(), h = Height();
    if (w < 1 || h < 1) return;
    if (buffer_.Width() != w || buffer_.Height() != h) buffer_.SetSize(w, h);
    PaintBackground(buffer_);
    Layout();
    for (const auto& object : Objects) {
        TmnSkinMainMenuBarItem* item = object->AsItem();
        if (object->Visible && (!item || item->Fits)) object->Draw(buffer_.Canvas());
    }
    if (Overflow && scrollMenu_) DrawMarker(buffer_.Canvas());
    ::BitBlt(dc, 0, 0, w, h, buffer_.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TmnSkinMainMenuBar::RedrawObject(TmnMenuBarObject& object) {
    if (!handle_) return;
    TmnSkinMainMenuBarItem* item = object.AsItem();
    if ((item && ItemTransparent()) || buffer_.Width() != Width() || buffer_.Height() != Height()) {
        // What lies under a transparent item is only known to a whole repaint.
        Invalidate();
        return;
    }
    if (!object.Visible || (item && !item->Fits)) return;
    object.Draw(buffer_.Canvas());
    const RECT r = ToRect(object.ObjectRect);
    if (HDC dc = ::GetDC(handle_)) {
        ::BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, buffer_.Canvas().Handle(), r.left, r.top, SRCCOPY);
        ::ReleaseDC(handle_, dc);
    }
}

// ---- mouse ----

void TmnSkinMainMenuBar::Track(int x, int y) {
    PrevHotIndex = HotIndex;
    std::vector<TMenuBarHitObject> hits;
    for (const auto& o : Objects) {
        TmnSkinMainMenuBarItem* item = o->AsItem();
        hits.push_back({o->ObjectRect, o->Enabled, o->Visible && (!item || item->Fits)});
    }
    const int found = MenuBarHitTest(hits, x, y);
    const bool prevIsItem = PrevHotIndex >= 0 && PrevHotIndex < static_cast<int>(Objects.size()) &&
                            Objects[static_cast<size_t>(PrevHotIndex)]->AsItem();
    HotIndex = MenuBarTrackHot(found, PrevHotIndex, prevIsItem, MenuMode, PressedIndex);
    if (HotIndex != PrevHotIndex) {
        // Entering or leaving may open or close popups: the objects are taken before either runs.
        TmnMenuBarObject* left = PrevHotIndex >= 0 && PrevHotIndex < static_cast<int>(Objects.size())
                                     ? Objects[static_cast<size_t>(PrevHotIndex)].get() : nullptr;
        TmnMenuBarObject* entered = HotIndex >= 0 ? Objects[static_cast<size_t>(HotIndex)].get() : nullptr;
        if (left && left->Enabled) left->MouseLeave();
        if (entered && entered->Enabled && IndexOf(entered) >= 0) entered->MouseEnter();
    }
    if (Overflow && scrollMenu_) {
        const bool in = MenuBarRectContains(marker_, x, y);
        if (in != MarkerActive) {
            MarkerActive = in;
            Invalidate();
        }
    }
}

bool TmnSkinMainMenuBar::PointerMoved(POINT screen) {
    const bool moved = screen.x != lastPointer_.x || screen.y != lastPointer_.y;
    lastPointer_ = screen;
    return moved;
}

void TmnSkinMainMenuBar::HoverTick() {
    POINT pt;
    // A pointer resting on an item leaves the highlight to the keyboard (Alt+D with the pointer
    // over "Hilfe" keeps "Datei" open); only a move of the pointer takes it back.
    if (!handle_ || !::GetCursorPos(&pt) || !PointerMoved(pt)) return;
    ::ScreenToClient(handle_, &pt);
    if (pt.x < 0 || pt.y < 0 || pt.x >= Width() || pt.y >= Height()) {
        StopTimer(HoverTimer);
        Track(-1, -1);
    } else {
        Track(pt.x, pt.y);
    }
}

void TmnSkinMainMenuBar::MouseEnter() {
    TmnSkinControl::MouseEnter();
    StartTimer(HoverTimer);
}

void TmnSkinMainMenuBar::MouseLeave() {
    TmnSkinControl::MouseLeave();
    StopTimer(HoverTimer);
    lastPointer_ = kNoPointer;
    Track(-1, -1);
}

void TmnSkinMainMenuBar::ButtonDown(int x, int y, int button, bool doubleClick) {
    Track(x, y);
    // A click on the item whose popup is open only closes it, and the item stays hot. The chain's
    // message hook may have closed the popup already on this very press (closedByPress_).
    const int closed = std::exchange(closedByPress_, -1);
    TmnSkinMainMenuBarItem* item = HotIndex >= 0 && HotIndex < static_cast<int>(Objects.size())
                                       ? Objects[static_cast<size_t>(HotIndex)]->AsItem() : nullptr;
    if (item && button == LeftButton && !doubleClick &&
        (closed == HotIndex || (item->Down && item->HasSubItems() && PopupOpen()))) {
        if (mantle_) {
            mantle_->CloseMenus();
            if (mantle_->InMainMenu()) mantle_->MainMenuExit();
        }
        if (!item->Active) item->MouseEnter();
        return;
    }
    if (HotIndex >= 0 && HotIndex < static_cast<int>(Objects.size())) {
        PressedIndex = HotIndex;
        TmnMenuBarObject* object = Objects[static_cast<size_t>(HotIndex)].get();
        auto* b = dynamic_cast<TmnSkinMainMenuBarButton*>(object);
        // A caption button follows the mouse until release; the system-menu button opens its
        // menu at once, which takes the mouse itself.
        if (b && b->Command != TmnSkinMainMenuBarButton::cmdSysMenu && button == LeftButton) ::SetCapture(handle_);
        object->MouseDown(x, y, button);
        if (doubleClick && IndexOf(object) >= 0) object->DblClick();
    } else if (Overflow && scrollMenu_ && MenuBarRectContains(marker_, x, y) && button == LeftButton) {
        OpenOverflowPopup();
    }
}

void TmnSkinMainMenuBar::ButtonUp(int x, int y, int button) {
    const int pressed = std::exchange(PressedIndex, -1);
    if (pressed >= 0 && pressed < static_cast<int>(Objects.size())) Objects[static_cast<size_t>(pressed)]->MouseUp(x, y, button);
    if (handle_ && ::GetCapture() == handle_) ::ReleaseCapture();
}

void TmnSkinMainMenuBar::OpenOverflowPopup() {
    TmnSkinMenu* menu = Menu();
    if (!menu || !mainMenu_ || !Overflow) return;
    // The hidden items are the visible menu items from the first one that does not fit on; the
    // chain counts its start in the menu's own list, where hidden menu items also stand.
    TmnSkinMainMenuBarItem* first = nullptr;
    int hidden = 0;
    for (int i = 0; i < ItemCount(); ++i)
        if (!Item(i)->Fits) {
            if (!first) first = Item(i);
            ++hidden;
        }
    if (!first) return;
    TMenuItem* root = mainMenu_->Items();
    const RECT anchor = ScreenRect(marker_);
    mantle_->CloseMenus();
    mantle_->StartMenuRouting();
    if (!Merged) {
        const int start = first->MenuItem ? root->IndexOf(first->MenuItem) : -1;
        if (start >= 0) menu->Popup(handle_, skinData_, false, root, anchor, start);
        return;
    }
    // Merged: the chain lists the bar menu's items, then the child's; it starts where as many
    // visible items remain as are hidden.
    TMenuItem* childRoot = childMenu_->Items();
    std::vector<TMenuItem*> combined;
    for (int i = 0; i < root->Count(); ++i) combined.push_back(root->Items(i));
    for (int i = 0; i < childRoot->Count(); ++i) combined.push_back(childRoot->Items(i));
    int start = static_cast<int>(combined.size());
    for (int remaining = hidden; start > 0 && remaining > 0;)
        if (combined[static_cast<size_t>(--start)]->Visible()) --remaining;
    menu->PopupMerged(handle_, skinData_, false, root, childRoot, anchor, start);
}

// ---- keyboard ----

std::vector<TMenuBarNavItem> TmnSkinMainMenuBar::NavItems() const {
    std::vector<TMenuBarNavItem> items;
    // A hidden bar offers nothing to the keyboard: no menu mode, no accelerators.
    if (!Visible()) return items;
    for (int i = 0; i < ItemCount(); ++i) {
        const TmnSkinMainMenuBarItem& it = *Item(i);
        items.push_back({it.Enabled && it.MenuItem, it.Fits, it.Active, it.Down,
                         it.MenuItem ? AccelChar(it.MenuItem->Caption()) : wchar_t(0)});
    }
    return items;
}

void TmnSkinMainMenuBar::NotifyFocus(int itemIndex) {
    if (handle_ && itemIndex >= 0) ::NotifyWinEvent(EVENT_OBJECT_FOCUS, handle_, OBJID_CLIENT, itemIndex + 1);
}

void TmnSkinMainMenuBar::EnterMenuMode() {
    const int i = MenuBarEntryItem(NavItems());
    if (i < 0) return;  // nothing to highlight: no menu mode at all
    MenuMode = true;
    if (handle_) ::NotifyWinEvent(EVENT_SYSTEM_MENUSTART, handle_, OBJID_CLIENT, CHILDID_SELF);
    TmnSkinMainMenuBarItem* item = Item(i);
    HotIndex = ButtonCount + i;
    if (!item->Active) item->MouseEnter();
    if (mantle_) mantle_->MainMenuEnter();
    NotifyFocus(i);
}

void TmnSkinMainMenuBar::LeaveMenuMode() {
    const bool was = MenuMode;
    MenuMode = false;
    for (int i = 0; i < ItemCount(); ++i) {
        TmnSkinMainMenuBarItem& item = *Item(i);
        if (!item.Down && !item.Active) continue;
        item.Active = item.MouseIn = item.Down = false;
        if (item.AnimationEnabled() && !item.InActiveAnimation) {
            item.CurrentFrame = 0;
            RedrawObject(item);
        } else {
            item.StartMorph();
        }
        break;
    }
    HotIndex = PrevHotIndex = -1;
    if (was && handle_) ::NotifyWinEvent(EVENT_SYSTEM_MENUEND, handle_, OBJID_CLIENT, CHILDID_SELF);
    // A rebuild held back by the menu mode runs once the handlers that ended it have returned.
    if (rebuildPending_ && handle_) ::PostMessageW(handle_, WM_MENUBAR_REBUILD, 0, 0);
}

void TmnSkinMainMenuBar::NextItem() { StepItem(true); }

void TmnSkinMainMenuBar::PreviousItem() { StepItem(false); }

void TmnSkinMainMenuBar::StepItem(bool forward) {
    const TMenuBarMove m = MenuBarStep(NavItems(), forward);
    if (m.Enter < 0 || m.Enter == m.Leave) return;
    TmnSkinMainMenuBarItem* leave = Item(m.Leave);
    TmnSkinMainMenuBarItem* enter = Item(m.Enter);
    if (leave) leave->MouseLeave();
    HotIndex = ButtonCount + m.Enter;
    enter->MouseEnter();
    NotifyFocus(m.Enter);
}

bool TmnSkinMainMenuBar::PressHotItem() {
    const bool popupOpen = PopupOpen();
    for (int i = 0; i < ItemCount(); ++i) {
        TmnSkinMainMenuBarItem& item = *Item(i);
        if ((item.Down && !item.HasSubItems()) || (item.Active && !popupOpen)) {
            item.Active = false;
            item.MouseDown(0, 0, LeftButton);
            return true;
        }
    }
    return false;
}

bool TmnSkinMainMenuBar::HandleAccelerator(wchar_t key) {
    std::vector<TMenuBarNavItem> nav = NavItems();
    const int i = MenuBarAccelItem(nav, key);
    if (i < 0) {
        // An item hidden behind the overflow marker is reached through the marker's popup,
        // which takes the letter in turn (so a narrow window keeps every item at hand).
        for (int k = 0; k < static_cast<int>(nav.size()); ++k) {
            const TmnSkinMainMenuBarItem& item = *Item(k);
            nav[static_cast<size_t>(k)].Fits = !item.Fits;
            nav[static_cast<size_t>(k)].Enabled = !item.Fits && item.SavedEnabled && item.MenuItem;
        }
        if (!Overflow || !scrollMenu_ || MenuBarAccelItem(nav, key) < 0 || !Menu()) return false;
        OpenOverflowPopup();
        if (Menu()->Visible) Menu()->KeyDown(0, key);
        return true;
    }
    const bool popupOpen = PopupOpen();
    TmnSkinMainMenuBarItem* item = Item(i);
    HotIndex = ButtonCount + i;
    item->MouseEnter();
    if (!popupOpen || !item->HasSubItems()) item->MouseDown(0, 0, LeftButton);
    NotifyFocus(i);
    return true;
}

void TmnSkinMainMenuBar::PopupClosed() {
    for (int i = 0; i < ItemCount(); ++i) {
        TmnSkinMainMenuBarItem& item = *Item(i);
        if (!item.Down) continue;
        item.Down = false;
        item.Active = true;
        RedrawObject(item);
        return;
    }
}

// ---- screen readers ----

TAccessibleInfo TmnSkinMainMenuBar::AccessibleInfo() {
    TAccessibleInfo info;
    info.Role = ROLE_SYSTEM_MENUBAR;
    return info;
}

TAccessibleInfo TmnSkinMainMenuBar::AccessibleChild(int index) {
    TAccessibleInfo info;
    const TmnSkinMainMenuBarItem* item = Item(index);
    if (!item || !item->MenuItem) return info;
    info.Role = ROLE_SYSTEM_MENUITEM;
    info.Name = StripAccel(item->MenuItem->Caption());
    if (!item->MenuItem->Enabled()) info.State |= STATE_SYSTEM_UNAVAILABLE;
    if (item->HasSubItems()) info.State |= STATE_SYSTEM_HASPOPUP;
    if (item->Active || item->Down) info.State |= STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED;
    if (item->Down) info.State |= STATE_SYSTEM_PRESSED;
    if (!item->Fits) info.State |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
    else info.Bounds = ScreenRect(item->ObjectRect);
    return info;
}

// ---- component ----

void TmnSkinMainMenuBar::ChangeScale(int dpi, int fromDpi) {
    TmnSkinControl::ChangeScale(dpi, fromDpi);
    defItemFont_.SetHeight(ScaledForDpi(defItemFont_.Height(), dpi, fromDpi));
    SetDefaultWidth(ScaledForDpi(defaultWidth_, dpi, fromDpi));
    SetDefaultHeight(ScaledForDpi(defaultHeight_, dpi, fromDpi));
}

bool TmnSkinMainMenuBar::ReadProperty(const String& name, const FormValue& value, TReader& reader) {
    if (name == L"ScrollMenu") scrollMenu_ = value.AsBool();
    else if (name == L"UseSkinFont") useSkinFont_ = value.AsBool();
    else if (name == L"DefaultWidth") SetDefaultWidth(reader.Scaled(value));
    else if (name == L"DefaultHeight") SetDefaultHeight(reader.Scaled(value));
    else if (name == L"PopupToUp") popupToUp_ = value.AsBool();
    else if (name == L"OnMouseEnter") OnMouseEnter = reader.Method<TNotifyEvent>(value);
    else if (name == L"OnMouseLeave") OnMouseLeave = reader.Method<TNotifyEvent>(value);
    else if (name.rfind(L"DefItemFont.", 0) == 0) {
        if (!ReadFontProperty(defItemFont_, name.substr(12), value, reader)) return false;
    } else if (name == L"Mantle") {
        reader.FixupReference(value, [this](TComponent* c) {
            auto* owner = dynamic_cast<TmnMenuBarOwner*>(c);
            if (c && !owner) throw EReadError(L"Mantle: " + c->Name() + L" ist keine Skin-Formularkomponente");
            SetMantle(owner);
        });
    } else if (name == L"MainMenu") {
        reader.FixupReference(value, [this](TComponent* c) {
            auto* menu = dynamic_cast<TMainMenu*>(c);
            if (c && !menu) throw EReadError(L"MainMenu: " + c->Name() + L" ist kein Hauptmenü");
            SetMainMenu(menu);
        });
    } else return TmnSkinControl::ReadProperty(name, value, reader);
    return true;
}

void TmnSkinMainMenuBar::Notification(TComponent* component, Operation operation) {
    TmnSkinControl::Notification(component, operation);
    if (operation != Operation::Remove) return;
    ReleaseReference(pendingClick_, component);
    ReleaseReference(mantle_, component);
    bool rebuild = ReleaseReference(mainMenu_, component);
    if (ReleaseReference(childMenu_, component) | ReleaseReference(childForm_, component)) {
        // The other half of the merge is let go too.
        SetReference(childMenu_, nullptr);
        SetReference(childForm_, nullptr);
        Merged = false;
        rebuild = true;
    }
    // An item that goes takes its object out of reach at once; the list is rebuilt later.
    for (int i = 0; i < ItemCount(); ++i)
        if (Item(i)->MenuItem == component) {
            Item(i)->MenuItem = nullptr;
            Item(i)->Enabled = Item(i)->Visible = false;
            rebuild = true;
        }
    if (rebuild && !IsDestroying()) {
        if (mainMenu_ == nullptr && !MenuMode) FreeObjects();
        rebuildPending_ = true;
        if (handle_) ::PostMessageW(handle_, WM_MENUBAR_REBUILD, 0, 0);
        Invalidate();
    }
}

void TmnSkinMainMenuBar::HandleCreated() {
    TmnSkinControl::HandleCreated();
    if (!IsDesigning() && Skin()) ChangeSkinData();
    else Layout();
}

void TmnSkinMainMenuBar::MorphTick() {
    bool stepped = false;
    for (size_t i = 0; i < Objects.size(); ++i) {
        TmnMenuBarObject& o = *Objects[i];
        if (!o.MorphEnabled() || !o.MorphPending()) continue;
        o.MorphFactor = NextMorphFactor(o.MorphFactor, o.Active);
        RedrawObject(o);
        stepped = true;
    }
    if (!stepped) StopTimer(MorphTimer);
}

void TmnSkinMainMenuBar::AnimateTick() {
    bool changed = false;
    for (int i = 0; i < ItemCount(); ++i) {
        TmnSkinMainMenuBarItem& item = *Item(i);
        if (!item.AnimationEnabled()) continue;
        if (item.Active && item.CurrentFrame <= item.FrameCount) ++item.CurrentFrame;
        else if (!item.Active && item.CurrentFrame > 0) --item.CurrentFrame;
        else continue;
        RedrawObject(item);
        changed = true;
    }
    if (!changed) StopTimer(AnimateTimer);
}

LRESULT TmnSkinMainMenuBar::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    switch (msg) {
        case WM_WINDOWPOSCHANGING: {
            // However the bar is sized (the program, alignment), a skinned bar keeps its picture's height.
            auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
            if (!(pos->flags & SWP_NOSIZE) && Skinned() && record_->SkinRect.Height() > 0) {
                pos->cy = record_->SkinRect.Height();
                // A request that ends at the current size changes nothing and is not reported
                // back: the bounds take the kept height here.
                bounds_.bottom = bounds_.top + pos->cy;
            }
            break;
        }
        case WM_WINDOWPOSCHANGED: {
            LRESULT r = TmnSkinControl::WndProc(msg, wParam, lParam);
            RECT wr;
            if (handle_ && ::GetWindowRect(handle_, &wr)) {
                if (HWND parent = ::GetParent(handle_)) ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&wr), 2);
                bounds_ = wr;
            }
            return r;
        }
        case WM_SIZE: {
            LRESULT r = TmnSkinControl::WndProc(msg, wParam, lParam);
            Layout();
            Invalidate();
            return r;
        }
        case WM_MOVE:
            if (Align() == TAlign::alNone) ParentBackgroundChanged();
            break;
        case WM_MOUSEMOVE: {
            LRESULT r = TmnSkinControl::WndProc(msg, wParam, lParam);
            // The platform also reports a pointer that did not move (a window moved under it).
            POINT screen{x, y};
            ::ClientToScreen(handle_, &screen);
            if (PointerMoved(screen)) Track(x, y);
            StartTimer(HoverTimer);
            return r;
        }
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK: {
            const bool dbl = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
            const int button = msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK ? 0
                               : msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK ? 1 : 2;
            ButtonDown(x, y, button, dbl);
            return 0;
        }
        case WM_LBUTTONUP: ButtonUp(x, y, 0); return 0;
        case WM_RBUTTONUP: ButtonUp(x, y, 1); return 0;
        case WM_MBUTTONUP: ButtonUp(x, y, 2); return 0;
        case WM_CAPTURECHANGED:
            // Another window took the mouse during a press: the button lets go without acting.
            if (reinterpret_cast<HWND>(lParam) != handle_ && PressedIndex >= 0 && PressedIndex < ButtonCount) {
                TmnMenuBarObject& b = *Objects[static_cast<size_t>(PressedIndex)];
                if (static_cast<TmnSkinMainMenuBarButton&>(b).Command != TmnSkinMainMenuBarButton::cmdSysMenu) {
                    b.Down = false;
                    RedrawObject(b);
                    PressedIndex = -1;
                }
            }
            break;
        case WM_TIMER:
            switch (wParam) {
                case HoverTimer: HoverTick(); return 0;
                case MorphTimer: MorphTick(); return 0;
                case AnimateTimer: AnimateTick(); return 0;
                default: break;
            }
            break;
        case WM_MENUBAR_CLICK:
            if (TMenuItem* item = pendingClick_) {
                SetReference(pendingClick_, nullptr);
                item->Click();
            }
            return 0;
        case WM_MENUBAR_REBUILD:
            if (rebuildPending_) RebuildItems();
            return 0;
        case WM_MENUBAR_CLOSED:
            closedByPress_ = -1;
            return 0;
        case MSG_SKIN_MENU_CLOSED:
            // Remember the item whose popup closed until the messages already taken are handled:
            // when a press on that same item closed it, that press must not open it again.
            for (int i = 0; i < ItemCount(); ++i)
                if (Item(i)->Down && Item(i)->HasSubItems()) {
                    closedByPress_ = ButtonCount + i;
                    if (handle_) ::PostMessageW(handle_, WM_MENUBAR_CLOSED, 0, 0);
                }
            for (int i = 0; i < ButtonCount; ++i)
                static_cast<TmnSkinMainMenuBarButton&>(*Objects[static_cast<size_t>(i)]).MenuClosed(i == HotIndex);
            return 0;
        case WM_DESTROY:
            hoverTimer_.Stop();
            morphTimer_.Stop();
            animateTimer_.Stop();
            break;
        default: break;
    }
    return TmnSkinControl::WndProc(msg, wParam, lParam);
}

}  // namespace fn
