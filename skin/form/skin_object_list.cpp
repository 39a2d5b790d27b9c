#include "skin/form/skin_object_list.h"

#include <algorithm>

#include "skin/data/skin_data.h"

namespace fn {

namespace {

// Command of a standard button or an animate object, -1 for other objects.
int CommandOf(const TmnActiveSkinObject& o, bool* buttonStyle = nullptr) {
    if (auto s = dynamic_cast<const TmnSkinStdButtonObject*>(&o)) {
        if (buttonStyle) *buttonStyle = true;
        return s->Command;
    }
    if (auto a = dynamic_cast<const TmnSkinAnimateObject*>(&o)) {
        if (buttonStyle) *buttonStyle = a->ButtonStyle;
        return a->Command;
    }
    return -1;
}

}  // namespace

void TmnSkinObjectList::Clear() {
    for (TmnObjectTimer t : {TmnObjectTimer::Mouse, TmnObjectTimer::Morph, TmnObjectTimer::Animate})
        owner_.StopTimer(t);
    ActiveObject = OldActiveObject = CaptureObject = -1;
    objects_.clear();
}

void TmnSkinObjectList::Rebuild() {
    Clear();
    const TmnSkinData* skin = owner_.SkinData();
    if (!skin || skin->Empty()) return;
    for (const auto& record : skin->SkinObjects())
        if (auto object = CreateSkinObject(owner_, *record)) objects_.push_back(std::move(object));
}

void TmnSkinObjectList::CreateUnskinned() {
    Clear();
    const struct {
        const wchar_t* name;
        int command;
    } buttons[] = {{L"closebutton", cmClose},    {L"maxbutton", cmMaximize},   {L"minbutton", cmMinimize},
                   {L"rollupbutton", cmRollUp}, {L"sysmenubutton", cmSysMenu}, {L"traybutton", cmMinimizeToTray}};
    for (const auto& b : buttons)
        objects_.push_back(std::make_unique<TmnSkinStdButtonObject>(owner_, b.name, b.command));
}

TmnSkinCaptionObject* TmnSkinObjectList::FirstCaption() const {
    for (const auto& o : objects_)
        if (auto c = dynamic_cast<TmnSkinCaptionObject*>(o.get())) return c;
    return nullptr;
}

void TmnSkinObjectList::Layout(const TmnCornerFrame& frame, int w, int h) {
    const int dx = w - frame.PictureWidth, dy = h - frame.PictureHeight;
    for (const auto& o : objects_)
        if (!o->SkinRectInAPicture) o->ObjectRect = PlaceByCorners(o->SkinRect, frame, dx, dy);
}

void TmnSkinObjectList::LayoutStrip(const TmnFrameGeometry& g, int iconWidth, int iconHeight) {
    std::vector<TmnStripItem> items;
    std::vector<TmnActiveSkinObject*> placed;
    for (const auto& o : objects_) {
        const int command = CommandOf(*o);
        if (command < 0 || !o->SkinRectInAPicture || !o->Visible) continue;
        TmnStripItem item{command, o->SkinRect.Width(), o->SkinRect.Height()};
        if (command == cmSysMenu && iconWidth > 0 && iconHeight > 0 && dynamic_cast<TmnSkinStdButtonObject*>(o.get()))
            item.Width = iconWidth, item.Height = iconHeight;
        items.push_back(item);
        placed.push_back(o.get());
    }
    const TmnStripLayout layout = LayoutButtonStrip(g, items);
    for (size_t i = 0; i < placed.size(); ++i) placed[i]->ObjectRect = layout.Rects[i];
    if (TmnSkinCaptionObject* caption = FirstCaption()) {
        if (layout.CaptionLeftSet) caption->ObjectRect.Left = layout.CaptionLeft;
        if (layout.CaptionRightSet) caption->ObjectRect.Right = layout.CaptionRight;
        else FitCaptionToFreeArea(*caption, g);
    }
}

// A caption record is drawn for the widest button strip its skin may show; a window with fewer
// buttons would cut its title long before the first button. The caption reaches to the right
// end of the skin's caption rectangle, or to the first visible object that lies in its row
// (whichever comes first), so the title uses the room the visible objects leave free.
void TmnSkinObjectList::FitCaptionToFreeArea(TmnSkinCaptionObject& caption, const TmnFrameGeometry& g) const {
    if (g.NewCaptionRect.IsEmpty()) return;
    TSkinRect& r = caption.ObjectRect;
    int right = g.NewCaptionRect.Right;
    for (const auto& o : objects_) {
        const TSkinRect& b = o->ObjectRect;
        if (o.get() == &caption || !o->Visible || b.IsEmpty()) continue;
        const bool sameRow = b.Top < r.Bottom && r.Top < b.Bottom;
        if (sameRow && b.Left >= r.Left && b.Left < right) right = b.Left;
    }
    r.Right = std::max(r.Left, right);
}

TmnBuiltInFrame TmnSkinObjectList::LayoutBuiltIn(int w, int h, bool toolWindow, int iconWidth, int iconHeight) {
    std::vector<TmnStripItem> items;
    std::vector<TmnActiveSkinObject*> placed;
    for (const auto& o : objects_) {
        const int command = CommandOf(*o);
        if (command < 0 || !o->Visible) continue;
        items.push_back({command, 0, 0});
        placed.push_back(o.get());
    }
    TmnBuiltInFrame f = LayoutBuiltInFrame(w, h, toolWindow, items, iconWidth, iconHeight);
    for (size_t i = 0; i < placed.size(); ++i) placed[i]->ObjectRect = f.Rects[i];
    return f;
}

int TmnSkinObjectList::ObjectAt(int x, int y) const {
    for (int i = 0; i < Count(); ++i) {
        const TmnActiveSkinObject& o = *objects_[static_cast<size_t>(i)];
        if (o.Enabled && o.Visible && PointInObject(o.ObjectRect, x, y)) return i;
    }
    return -1;
}

bool TmnSkinObjectList::TrackMouse(int x, int y, bool inside) {
    if (objects_.empty() || !owner_.IsFormActive()) return false;
    OldActiveObject = ActiveObject;
    int found = inside ? ObjectAt(x, y) : -1;
    if (CaptureObject != -1 && found != CaptureObject) found = -1;
    ActiveObject = found;
    if (ActiveObject == OldActiveObject) return false;
    if (TmnActiveSkinObject* old = Object(OldActiveObject)) old->MouseLeave();
    if (TmnActiveSkinObject* now = Object(ActiveObject)) now->MouseEnter();
    return true;
}

bool TmnSkinObjectList::MouseDown(int x, int y, int button) {
    TmnActiveSkinObject* o = Object(ActiveObject);
    if (!o) return false;
    CaptureObject = ActiveObject;
    o->MouseDown(x, y, button);
    return dynamic_cast<TmnSkinCaptionObject*>(o) == nullptr;
}

void TmnSkinObjectList::MouseUp(int x, int y, int button) {
    TmnActiveSkinObject* o = Object(CaptureObject);
    CaptureObject = -1;
    if (o) o->MouseUp(x, y, button);
}

void TmnSkinObjectList::MouseMove(int x, int y) {
    if (TmnActiveSkinObject* o = Object(CaptureObject != -1 ? CaptureObject : ActiveObject)) o->MouseMove(x, y);
}

void TmnSkinObjectList::DblClick() {
    if (TmnActiveSkinObject* o = Object(ActiveObject)) o->DblClick();
}

void TmnSkinObjectList::CaptureLost() {
    TmnActiveSkinObject* o = Object(CaptureObject);
    CaptureObject = -1;
    if (!o) return;
    o->CancelPress();
    ActiveObject = -1;  // the next tracking enters it afresh
}

void TmnSkinObjectList::MenuClosed(TmnActiveSkinObject& object) {
    for (const auto& o : objects_)
        if (o.get() == &object) {
            object.MenuClosed();
            return;
        }
}

bool TmnSkinObjectList::MorphTick() {
    bool stepped = false;
    for (const auto& o : objects_)
        if (o->MorphEnabled() && o->MorphPending()) {
            o->MorphStep();
            stepped = true;
        }
    if (!stepped) owner_.StopTimer(TmnObjectTimer::Morph);
    return stepped;
}

bool TmnSkinObjectList::AnimateTick() {
    bool moved = false;
    for (const auto& o : objects_) {
        if (auto a = dynamic_cast<TmnSkinAnimateObject*>(o.get())) {
            if (a->Animating()) moved |= a->AnimateStep();
        } else if (auto c = dynamic_cast<TmnSkinCaptionObject*>(o.get())) {
            moved |= c->AnimateStep();
        }
    }
    if (!moved) owner_.StopTimer(TmnObjectTimer::Animate);
    return moved;
}

void TmnSkinObjectList::ResetHoverStates() {
    for (const auto& o : objects_) {
        if (auto a = dynamic_cast<TmnSkinAnimateObject*>(o.get())) {
            a->MouseIn = false;
            a->Active = false;
            a->CurrentFrame = 1;
        } else if (!dynamic_cast<TmnSkinCaptionObject*>(o.get())) {
            o->Active = false;
            o->MouseIn = false;
            o->MorphFactor = 0;
        }
    }
}

void TmnSkinObjectList::SetCaptionState(bool redraw) {
    const bool active = owner_.IsFormActive();
    for (const auto& o : objects_)
        if (auto c = dynamic_cast<TmnSkinCaptionObject*>(o.get())) {
            if (c->Active != active) c->SetActive(active, redraw);
            return;  // only the first caption takes part
        }
}

void TmnSkinObjectList::ApplyBorderIcons(TmnBorderIcons icons, bool hide,
                                         const std::function<bool(const String&)>& customVisible) {
    for (const auto& o : objects_) {
        bool buttonStyle = false;
        const int command = CommandOf(*o, &buttonStyle);
        if (command < 0) continue;
        if (hide) {
            o->Enabled = false;
            o->Visible = !o->SkinRectInAPicture;
            continue;
        }
        if (!buttonStyle) continue;
        auto set = [&](bool enabled) {
            o->Enabled = enabled;
            o->Visible = o->SkinRectInAPicture ? enabled : true;
        };
        switch (command) {
            case cmMaximize: set(icons & BorderIconBit(biMaximize)); break;
            case cmMinimize: set(icons & BorderIconBit(biMinimize)); break;
            case cmSysMenu: set(icons & BorderIconBit(biSystemMenu)); break;
            case cmRollUp: set(icons & BorderIconBit(biRollUp)); break;
            case cmMinimizeToTray: set(icons & BorderIconBit(biMinimizeToTray)); break;
            case cmDefault: o->Visible = customVisible ? customVisible(o->IDName) : false; break;
            default: break;  // close stays as it is
        }
    }
}

void TmnSkinObjectList::ApplyDefaultHints() {
    const TmnSkinData* skin = owner_.SkinData();
    if (!skin) return;
    for (const auto& o : objects_) {
        const int command = CommandOf(*o);
        const std::wstring_view key = command < 0 ? std::wstring_view() : ButtonHintKey(command);
        if (!key.empty()) o->Hint = SkinLibraryText(skin, key);
    }
}

}  // namespace fn
