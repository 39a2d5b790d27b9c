#include "skin/form/main_menu_bar_objects_win.h"

#include "skin/form/main_menu_bar_win.h"
#include "skin/menus/skin_menu_win.h"
#include "skin/paint/effects.h"

namespace fn {

namespace {

constexpr TColor PlainFrameColor = 0x800000, PlainPressedFill = 0xB59385, PlainHoverFill = 0xD2BDB6;

}  // namespace

const TBitmapData* MenuBarPicture(const TmnSkinData* skin, int index) {
    const TBitmapData* p = skin ? skin->ActivePicture(index) : nullptr;
    return p && !p->Empty() ? p : nullptr;
}

// ---- TmnMenuBarObject ----

TmnMenuBarObject::TmnMenuBarObject(TmnSkinMainMenuBar& parent, const TmnDataSkinObject* record) : Parent(parent) {
    if (record) {
        IDName = record->SectionName;
        SkinRect = record->SkinRect;
        ActiveSkinRect = record->ActiveSkinRect;
        DownRect = record->ActiveSkinRect;
        Morphing = record->Morphing;
        MorphKind = record->MorphKind;
        Picture = MenuBarPicture(parent.Skin(), record->ActivePictureIndex);
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
    if (StartFade(MorphFactor, Active, MorphEnabled(), ClientAreaAnimationEnabled()) == TmnFadeStart::Timer)
        Parent.StartTimer(TmnSkinMainMenuBar::MorphTimer);
    else
        Parent.RedrawObject(*this);
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
        TextFont = {record->FontName, record->FontHeight, record->FontStyle};
        FontColor = record->FontColor;
        ActiveFontColor = record->ActiveFontColor;
        DownFontColor = record->DownFontColor;
        UnEnabledFontColor = record->UnenabledFontColor;
        TextRect = record->TextRect;
        PressedRect = !record->DownRect.IsEmpty() ? record->DownRect
                      : !record->ActiveSkinRect.IsEmpty() ? record->ActiveSkinRect : record->SkinRect;
        ItemEnds = {record->ItemLeftOffset, record->ItemRightOffset};
        StretchEffect = record->StretchEffect;
        AnimateSkinRect = record->AnimateSkinRect;
        FrameCount = record->FrameCount;
        AnimateInterval = record->AnimateInterval;
        InActiveAnimation = record->InactiveAnimation;
        // The frames are cut as the caption's are: only whole frames inside the picture count.
        if (Picture) {
            AnimationStrip = CaptionFrameStrip(AnimateSkinRect, SkinRect, FrameCount, Picture->Width, Picture->Height);
            FrameCount = AnimationStrip.Count;
        }
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

void TmnSkinMainMenuBarItem::Run() {
    TmnMenuBarOwner* owner = Parent.Mantle();
    if (!owner || !MenuItem) return;
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

void TmnSkinMainMenuBarItem::Draw(TBitmap& buffer) {
    if (ObjectRect.IsEmpty() || !MenuItem) return;
    if (SkinSupport) DrawSkinned(buffer);
    else DrawUnskinned(buffer.Canvas());
}

void TmnSkinMainMenuBarItem::DrawSkinned(TBitmap& buffer) {
    if (SkinRect.IsEmpty() || TextRect.IsEmpty()) return;
    TCanvas& canvas = buffer.Canvas();
    const TSkinRect& r = ObjectRect;
    const int w = r.Width(), h = SkinRect.Height();
    bool activeSource = true;
    if (Picture) {
        TmnGdiObjectPainter p(buffer, Parent.Pictures());
        const TSkinRect at{r.Left, r.Top, r.Right, r.Top + h};
        auto strip = [&](int target, const TSkinRect& src, bool stretch, const TSkinRect& dst) {
            p.Strip(target, *Picture, src, ItemEnds.Left, ItemEnds.Right, stretch, dst);
        };
        if (Down) {
            strip(0, PressedRect, StretchEffect, at);
        } else if (AnimationEnabled() && CurrentFrame >= 1 && CurrentFrame <= FrameCount) {
            strip(0, FrameOfStrip(AnimationStrip, CurrentFrame), StretchEffect, at);
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
    canvas.PrepareText();  // measured with the item's own font, not the one the canvas last drew with
    RECT box{r.Left + TextRect.Left, r.Top + TextRect.Top, r.Left + TextRect.Left, r.Top + TextRect.Top};
    RECT measured = box;
    ::DrawTextW(canvas.Handle(), MenuItem->Caption().c_str(), -1, &measured, DT_CALCRECT | DT_SINGLELINE);
    box.right = measured.right + 2;
    box.bottom = r.Top + TextRect.Bottom;
    DrawCaption(canvas, box, color);
}

void TmnSkinMainMenuBarItem::DrawUnskinned(TCanvas& canvas) {
    const RECT r = MenuBarRect(ObjectRect);
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

void TmnSkinMainMenuBarButton::Draw(TBitmap& buffer) {
    if (ObjectRect.IsEmpty()) return;
    TmnGdiObjectPainter p(buffer, Parent.Pictures());
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
    if (!child || !Enabled || button != MenuBarLeftButton || Down) return;
    Down = true;
    if (MorphEnabled() && !DownRect.IsEmpty()) MorphFactor = 1;
    Parent.RedrawObject(*this);
    if (Command == cmdSysMenu) {
        Parent.Invalidate();
        owner->ShowChildSystemMenu(child, Parent.ScreenRect(ObjectRect), Parent.Handle());
    }
}

void TmnSkinMainMenuBarButton::MouseUp(int, int, int button) {
    if (!Enabled || button != MenuBarLeftButton || Command == cmdSysMenu) return;
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

}  // namespace fn
