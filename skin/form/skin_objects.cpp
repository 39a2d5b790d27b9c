#include "skin/form/skin_objects.h"

#include <algorithm>

#include "skin/data/skin_data.h"
#include "skin/form/caption_object.h"
#include "skin/form/object_geometry.h"

namespace fn {

namespace {

constexpr int LeftButton = 0;

TSkinRect Checked(const TSkinRect& r, const TBitmapData* picture) {
    return picture ? ImageInPicture(r, picture->Width, picture->Height) : TSkinRect{};
}

}  // namespace

// ---- TmnActiveSkinObject ----

TmnActiveSkinObject::TmnActiveSkinObject(TmnSkinObjectOwner& owner, const TmnDataSkinObject* record)
    : Parent(&owner), SkinData(owner.SkinData()) {
    const bool loaded = SkinData && !SkinData->Empty();
    if (loaded && !SkinData->Picture().Empty()) Picture = &SkinData->Picture();
    if (!record) return;
    if (loaded) ActivePicture = SkinData->ActivePicture(record->ActivePictureIndex);
    IDName = record->SectionName;
    Hint = record->Hint;
    SkinRectInAPicture = record->SkinRectInAPicture;
    SkinRect = BoundedRect(record->SkinRect);
    ActiveSkinRect = FromActive(record->ActiveSkinRect);
    InActiveSkinRect = FromActive(record->InactiveSkinRect);
    Morphing = record->Morphing && !ActiveSkinRect.IsEmpty();
    MorphKind = record->MorphKind;
    ObjectRect = SkinRect;
}

TSkinRect TmnActiveSkinObject::FromActive(const TSkinRect& r) const { return Checked(r, ActivePicture); }

bool TmnActiveSkinObject::CanCut(const TBitmapData* picture, const TSkinRect& r) const {
    return !Checked(r, picture).IsEmpty();
}

bool TmnActiveSkinObject::CopyImage(TmnObjectPainter& p, const TBitmapData* picture, const TSkinRect& r) {
    if (!CanCut(picture, r)) return false;
    if (!ObjectRect.IsEmpty()) p.Copy(TmnObjectPainter::CanvasTarget, *picture, r, ObjectRect);
    return true;
}

void TmnActiveSkinObject::DrawMorph(TmnObjectPainter& p, const TBitmapData* normalPicture, const TSkinRect& normal,
                                    const TSkinRect& hover) {
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0) return;
    const int a = p.NewImage(w, h), b = p.NewImage(w, h);
    const TSkinRect whole{0, 0, w, h};
    if (CanCut(normalPicture, normal)) p.Copy(a, *normalPicture, normal, whole);
    if (CanCut(ActivePicture, hover)) p.Copy(b, *ActivePicture, hover, whole);
    p.Morph(a, b, MorphKind, MorphFactor);
    p.DrawImage(a, ObjectRect.Left, ObjectRect.Top);
    p.ReleaseImages();
}

bool TmnActiveSkinObject::MorphEnabled() const {
    return Morphing && SkinData && !SkinData->Empty() && SkinData->EnableSkinEffects();
}

bool TmnActiveSkinObject::MorphPending() { return MorphUnderWay(MorphFactor, Active); }

void TmnActiveSkinObject::StartMorph() {
    if (StartFade(MorphFactor, Active, MorphEnabled(), Parent->ClientAreaAnimation()) == TmnFadeStart::Timer)
        Parent->StartTimer(TmnObjectTimer::Morph);
    else
        Parent->RedrawObject(*this);
}

void TmnActiveSkinObject::MorphStep() {
    MorphFactor = NextMorphFactor(MorphFactor, Active);
    Parent->RedrawObject(*this);
}

void TmnActiveSkinObject::Draw(TmnObjectPainter& p, bool directRedraw) {
    if (Enabled && !Parent->IsFormActive() && CopyImage(p, ActivePicture, InActiveSkinRect)) return;
    if (MorphEnabled() && MorphInProgress()) {
        DrawMorph(p, NormalPicture(), SkinRect, ActiveSkinRect);
        return;
    }
    if (!Active || ActiveSkinRect.IsEmpty()) {
        if (!directRedraw && !SkinRectInAPicture) return;  // the frame picture shows it already
        CopyImage(p, NormalPicture(), SkinRect);
        return;
    }
    CopyImage(p, ActivePicture, ActiveSkinRect);
}

void TmnActiveSkinObject::DblClick() {}

void TmnActiveSkinObject::MouseDown(int x, int y, int button) {
    Parent->MouseDownEvent(IDName, x, y, ObjectRect, button);
}

void TmnActiveSkinObject::MouseUp(int x, int y, int button) {
    if (MouseIn) Parent->MouseUpEvent(IDName, x, y, ObjectRect, button);
}

void TmnActiveSkinObject::MouseMove(int x, int y) { Parent->MouseMoveEvent(IDName, x, y, ObjectRect); }

void TmnActiveSkinObject::MouseEnter() {
    MouseIn = true;
    Parent->MouseEnterEvent(IDName);
}

void TmnActiveSkinObject::MouseLeave() {
    MouseIn = false;
    Parent->MouseLeaveEvent(IDName);
}

bool TmnActiveSkinObject::RestoreConditionHolds(int command) const {
    switch (command) {
        case cmMaximize: return Parent->SkinWindowState() == swsMaximized;
        case cmMinimize: return Parent->SkinWindowState() == swsMinimized;
        case cmRollUp: return Parent->RolledUp();
        default: return false;
    }
}

void TmnActiveSkinObject::ExecuteCommand(int command) {
    const TmnSkinWindowState state = Parent->SkinWindowState();
    switch (command) {
        case cmClose: Parent->PostWindowAction(TmnWindowAction::Close); break;
        case cmMaximize:
            Parent->PostWindowAction(state == swsMaximized ? TmnWindowAction::Restore : TmnWindowAction::Maximize);
            break;
        case cmMinimize:
            if (Parent->AlwaysMinimizeToTray()) Parent->PostWindowAction(TmnWindowAction::MinimizeToTray);
            else Parent->PostWindowAction(state == swsMinimized ? TmnWindowAction::Restore : TmnWindowAction::Minimize);
            break;
        case cmRollUp:
            Parent->PostWindowAction(Parent->RolledUp() ? TmnWindowAction::RollDown : TmnWindowAction::RollUp);
            break;
        case cmMinimizeToTray: Parent->PostWindowAction(TmnWindowAction::MinimizeToTray); break;
        default: break;  // system menu and custom objects: nothing on release
    }
}

// ---- TmnUserObject ----

void TmnUserObject::Draw(TmnObjectPainter& p, bool) { Parent->PaintEvent(IDName, p, ObjectRect); }

// ---- TmnSkinButtonObject ----

TmnSkinButtonObject::TmnSkinButtonObject(TmnSkinObjectOwner& owner, const TmnDataSkinButton* record)
    : TmnActiveSkinObject(owner, record) {
    if (!record) return;
    DisableSkinRect = FromActive(record->DisableSkinRsect);
    DownRect = FromActive(record->DownRect);
}

bool TmnSkinButtonObject::MorphPending() {
    if (MenuItem && Down) return false;
    return TmnActiveSkinObject::MorphPending();
}

void TmnSkinButtonObject::Draw(TmnObjectPainter& p, bool directRedraw) {
    if (!Enabled && CopyImage(p, ActivePicture, DisableSkinRect)) return;
    if (Down && MouseIn && CopyImage(p, ActivePicture, DownRect)) return;
    TmnActiveSkinObject::Draw(p, directRedraw);
}

void TmnSkinButtonObject::SetDown(bool value) {
    Down = value;
    if (MorphEnabled() && Active) MorphFactor = 1;
    Parent->RedrawObject(*this);
    if (MorphEnabled() && !Down) StartMorph();
}

void TmnSkinButtonObject::OpenPopupMenu() {
    menuOpen_ = MenuItem && Parent->OpenPopup(*this, MenuItem, ObjectRect);
}

void TmnSkinButtonObject::MouseDown(int x, int y, int button) {
    if (!Enabled) return;
    if (button == LeftButton && !Down) {
        SetDown(true);
        OpenPopupMenu();
    }
    TmnActiveSkinObject::MouseDown(x, y, button);
}

void TmnSkinButtonObject::MouseUp(int x, int y, int button) {
    if (!Enabled) return;
    // A button whose popup is showing stays down until the menu closes; one whose menu had
    // nothing to show is released like any other.
    if (button == LeftButton && !menuOpen_ && Down) SetDown(false);
    TmnActiveSkinObject::MouseUp(x, y, button);
}

void TmnSkinButtonObject::MouseEnter() {
    MouseIn = true;
    Active = true;
    if (!DownRect.IsEmpty() && Down) {
        if (MorphEnabled()) MorphFactor = 1;
        Parent->RedrawObject(*this);
    } else if (!ActiveSkinRect.IsEmpty()) {
        StartMorph();
    }
    Parent->MouseEnterEvent(IDName);
}

void TmnSkinButtonObject::MouseLeave() {
    MouseIn = false;
    Active = false;
    if (!menuOpen_) {
        Parent->RedrawObject(*this);
        StartMorph();
    }
    Parent->MouseLeaveEvent(IDName);
}

void TmnSkinButtonObject::CancelPress() {
    if (!Down || menuOpen_) return;
    MouseIn = false;
    Active = false;
    SetDown(false);
}

void TmnSkinButtonObject::MenuClosed() {
    menuOpen_ = false;
    SetDown(false);
}

// ---- TmnSkinStdButtonObject ----

TmnSkinStdButtonObject::TmnSkinStdButtonObject(TmnSkinObjectOwner& owner, const TmnDataSkinStdButton* record)
    : TmnSkinButtonObject(owner, record), SkinSupport(record != nullptr) {
    if (!record) return;
    Command = record->Command;
    Restore = RestoreImages(*record);
}

TmnSkinStdButtonObject::TmnSkinStdButtonObject(TmnSkinObjectOwner& owner, const String& idName, int command)
    : TmnSkinButtonObject(owner, nullptr), SkinSupport(false), Command(command) {
    IDName = idName;
}

bool TmnSkinStdButtonObject::IsIconButton() const {
    return Command == cmSysMenu && Parent->ShowIcon() && SkinRectInAPicture;
}

bool TmnSkinStdButtonObject::MorphPending() {
    if (IsIconButton()) return false;
    return TmnSkinButtonObject::MorphPending();
}

void TmnSkinStdButtonObject::Draw(TmnObjectPainter& p, bool directRedraw) {
    // A button cut from an active picture that is missing has no skinned look at all.
    if (!SkinSupport || (SkinRectInAPicture && !ActivePicture)) {
        DrawPlain(p);
        return;
    }
    if (IsIconButton()) {
        Parent->DrawFormIcon(p, ObjectRect.Left, ObjectRect.Top);
        MorphFactor = 0;
        return;
    }
    if (Enabled && RestoreConditionHolds(Command) && !Restore.Normal.IsEmpty()) {
        if (!Parent->IsFormActive() && CopyImage(p, ActivePicture, Restore.InActive)) return;
        if (Down && MouseIn && CopyImage(p, ActivePicture, Restore.Down)) return;
        if (MorphEnabled() && MorphInProgress()) {
            DrawMorph(p, ActivePicture, Restore.Normal, Restore.Active);
            return;
        }
        if (Active && CopyImage(p, ActivePicture, Restore.Active)) return;
        CopyImage(p, ActivePicture, Restore.Normal);
        return;
    }
    TmnSkinButtonObject::Draw(p, directRedraw);
}

void TmnSkinStdButtonObject::DrawPlain(TmnObjectPainter& p) {
    if (Command == cmSysMenu && Parent->ShowIcon()) {
        Parent->DrawFormIcon(p, ObjectRect.Left, ObjectRect.Top);
        return;
    }
    if (ObjectRect.IsEmpty()) return;
    const TmnPlainLook look = Down && MouseIn ? TmnPlainLook::Pressed
                              : MouseIn       ? TmnPlainLook::Hover
                                              : TmnPlainLook::Normal;
    const TmnSkinWindowState state = Parent->SkinWindowState();
    TmnPlainGlyph glyph = TmnPlainGlyph::None;
    switch (Command) {
        case cmClose: glyph = TmnPlainGlyph::Close; break;
        case cmMaximize: glyph = state == swsMaximized ? TmnPlainGlyph::Restore : TmnPlainGlyph::Maximize; break;
        case cmMinimize: glyph = state == swsMinimized ? TmnPlainGlyph::Restore : TmnPlainGlyph::Minimize; break;
        case cmSysMenu: glyph = TmnPlainGlyph::SysMenu; break;
        case cmRollUp: glyph = Parent->RolledUp() ? TmnPlainGlyph::RollDown : TmnPlainGlyph::RollUp; break;
        case cmMinimizeToTray: glyph = TmnPlainGlyph::Tray; break;
        default: break;
    }
    p.PlainButton(ObjectRect, look, glyph, Enabled);
}

void TmnSkinStdButtonObject::DblClick() {
    if (Command == cmSysMenu) Parent->PostWindowAction(TmnWindowAction::Close);
}

void TmnSkinStdButtonObject::MouseDown(int x, int y, int button) {
    if (!Enabled || button != LeftButton || Down) return;
    SetDown(true);
    if (Command == cmSysMenu) {
        MenuItem = Parent->SystemMenuItem();
        OpenPopupMenu();
    }
}

void TmnSkinStdButtonObject::MouseUp(int x, int y, int button) {
    // The command runs only for a release over the button that ends a press on it.
    const bool run = Enabled && Down && !menuOpen_ && button == LeftButton;
    if (Command == cmClose) {
        TmnSkinButtonObject::MouseUp(x, y, button);
        if (run && Active) ExecuteCommand(Command);
        return;
    }
    if (run && Active) ExecuteCommand(Command);
    TmnSkinButtonObject::MouseUp(x, y, button);
}

// ---- TmnSkinAnimateObject ----

TmnSkinAnimateObject::TmnSkinAnimateObject(TmnSkinObjectOwner& owner, const TmnDataSkinAnimate* record)
    : TmnActiveSkinObject(owner, record) {
    Morphing = false;
    if (!record) return;
    FrameInterval = FloorInterval(record->TimerInterval);
    Cycle = record->Cycle;
    ButtonStyle = record->ButtonStyle;
    Command = record->Command;
    DownSkinRect = FromActive(record->DownSkinRect);
    Restore = RestoreImages(*record);
    // Only whole frames inside the picture are shown; the restore frames must fit too.
    if (ActivePicture && record->CountFrames > 0) {
        CountFrames = std::min(record->CountFrames,
                               WholeFramesBeside(ActiveSkinRect, ActivePicture->Width, ActivePicture->Height));
        if (!Restore.Active.IsEmpty())
            CountFrames = std::min(CountFrames, WholeFramesBeside(Restore.Active, ActivePicture->Width,
                                                                  ActivePicture->Height));
    }
}

TSkinRect TmnSkinAnimateObject::FrameRect(const TSkinRect& first, int k) const {
    return FrameBeside(first, CountFrames, k);
}

void TmnSkinAnimateObject::Draw(TmnObjectPainter& p, bool directRedraw) {
    // The active image is the first frame of the animation.
    const TmnStateImages images = RestoreConditionHolds(Command) && !Restore.Normal.IsEmpty()
                                      ? Restore
                                      : TmnStateImages{SkinRect, ActiveSkinRect, InActiveSkinRect, DownSkinRect};
    bool drawn = false;
    if (MenuOpen) {
        drawn = CopyImage(p, ActivePicture, images.Down);
        if (!drawn && CountFrames > 0) {
            CurrentFrame = CountFrames;
            drawn = CopyImage(p, ActivePicture, FrameRect(images.Active, CurrentFrame));
        }
    } else if (!Parent->IsFormActive() && CopyImage(p, ActivePicture, images.InActive)) {
        drawn = true;
    } else if (Pressed && MouseIn && CopyImage(p, ActivePicture, images.Down)) {
        drawn = true;
    } else {
        drawn = CopyImage(p, ActivePicture, FrameRect(images.Active, CurrentFrame));
    }
    // Without frames: the normal image, as for any object.
    if (!drawn && (directRedraw || SkinRectInAPicture)) CopyImage(p, NormalPicture(), images.Normal);
}

void TmnSkinAnimateObject::Animate() {
    if (!Pressed || DownSkinRect.IsEmpty()) Parent->StartTimer(TmnObjectTimer::Animate);
    else Parent->RedrawObject(*this);
}

void TmnSkinAnimateObject::PlayHover(bool forward) {
    if (!ButtonStyle) return;
    Active = true;
    Forward = forward;
    Animate();
}

void TmnSkinAnimateObject::MouseEnter() {
    MouseIn = true;
    if (MenuOpen) return;
    PlayHover(true);
    Parent->MouseEnterEvent(IDName);
}

void TmnSkinAnimateObject::MouseLeave() {
    if (!MouseIn) return;
    MouseIn = false;
    if (MenuOpen) return;
    PlayHover(false);
    Parent->MouseLeaveEvent(IDName);
}

void TmnSkinAnimateObject::MouseDown(int x, int y, int button) {
    TmnActiveSkinObject::MouseDown(x, y, button);
    if (!DownSkinRect.IsEmpty() && button == LeftButton) {
        CurrentFrame = CountFrames > 0 ? CountFrames : 1;
        Pressed = true;
        Parent->RedrawObject(*this);
    }
    if (Command == cmSysMenu && MouseIn && ButtonStyle && button == LeftButton) Execute();
}

void TmnSkinAnimateObject::MouseUp(int x, int y, int button) {
    TmnActiveSkinObject::MouseUp(x, y, button);
    if (MenuOpen) return;
    if (!DownSkinRect.IsEmpty() && button == LeftButton) {
        Pressed = false;
        Parent->RedrawObject(*this);
        Parent->StartTimer(TmnObjectTimer::Animate);
    }
    if (Command != cmSysMenu && MouseIn && ButtonStyle && button == LeftButton) Execute();
}

void TmnSkinAnimateObject::CancelPress() {
    if (!Pressed) return;
    Pressed = false;
    if (MouseIn) MouseLeave();
    Parent->RedrawObject(*this);
    Parent->StartTimer(TmnObjectTimer::Animate);
}

void TmnSkinAnimateObject::DblClick() {
    if (Command == cmSysMenu) Parent->PostWindowAction(TmnWindowAction::Close);
}

void TmnSkinAnimateObject::OpenMenu() {
    MenuOpen = MenuItem && Parent->OpenPopup(*this, MenuItem, ObjectRect);
}

void TmnSkinAnimateObject::Execute() {
    if (Command == cmSysMenu) {
        MenuItem = Parent->SystemMenuItem();
        OpenMenu();
    } else if (Command == cmDefault) {
        OpenMenu();
    } else {
        ExecuteCommand(Command);
    }
}

void TmnSkinAnimateObject::MenuClosed() {
    Active = true;
    CurrentFrame = CountFrames > 0 ? CountFrames : 1;
    Pressed = false;
    MenuOpen = false;
    Forward = false;
    Parent->StartTimer(TmnObjectTimer::Animate);
}

void TmnSkinAnimateObject::SetFrame(int n) {
    if (Forward && n > CountFrames) n = 1;
    if (!Forward && n <= 0) n = CountFrames;
    CurrentFrame = n;
    Parent->RedrawObject(*this);
}

bool TmnSkinAnimateObject::AnimateStep() {
    if (CountFrames <= 0) {  // nothing to show: the animation ends at once
        Active = false;
        return false;
    }
    if (Elapsed < FrameInterval) {
        Elapsed += AnimationTick;
        return true;
    }
    if (Forward) {
        SetFrame(CurrentFrame + 1);
        if (!Cycle && CurrentFrame == CountFrames) Active = false;
    } else {
        SetFrame(CurrentFrame - 1);
        if (CurrentFrame == 1) Active = false;
    }
    Elapsed = AnimationTick;
    return true;
}

// ---- creation ----

std::unique_ptr<TmnActiveSkinObject> CreateSkinObject(TmnSkinObjectOwner& owner, const TmnDataSkinObject& record) {
    const TmnDataSkinObject* r = &record;
    // Menu records belong to the menu bar and the popups; main-menu-bar buttons are standard
    // button records by class, so they are sorted out first.
    if (dynamic_cast<const TmnDataSkinMenuItem*>(r) || dynamic_cast<const TmnDataSkinMainMenuItem*>(r) ||
        dynamic_cast<const TmnDataSkinMainMenuBarButton*>(r))
        return nullptr;
    if (auto s = dynamic_cast<const TmnDataSkinStdButton*>(r)) return std::make_unique<TmnSkinStdButtonObject>(owner, s);
    if (auto b = dynamic_cast<const TmnDataSkinButton*>(r)) return std::make_unique<TmnSkinButtonObject>(owner, b);
    if (auto c = dynamic_cast<const TmnDataSkinCaption*>(r)) return std::make_unique<TmnSkinCaptionObject>(owner, c);
    if (auto a = dynamic_cast<const TmnDataSkinAnimate*>(r)) return std::make_unique<TmnSkinAnimateObject>(owner, a);
    if (dynamic_cast<const TmnDataUserObject*>(r)) return std::make_unique<TmnUserObject>(owner, r);
    return nullptr;
}

}  // namespace fn
