#pragma once
// Private window messages shared by the skinned elements. The numbers are fixed: skins,
// forms and controls built separately must agree on them. No <windows.h> here, so portable
// units can name them too.
#include <cstdint>

namespace fn {

// Skin data manager -> every form; wParam = the sending manager, lParam = MSG_SKIN_LPARAM.
inline constexpr unsigned MSG_SKIN_BEFORE_CHANGE = 1225;  // a load begins; old records still listed
inline constexpr unsigned MSG_SKIN_CHANGE = 1226;         // the new skin is read; re-read records
inline constexpr unsigned MSG_SKIN_AFTER_CHANGE = 1227;   // every form has updated
inline constexpr unsigned MSG_STRINGS_CHANGED = 1274;     // the library strings were replaced
inline constexpr intptr_t MSG_SKIN_LPARAM = 1000;

class TmnSkinData;
// A form's component that takes the skin messages of a form without a window itself: the
// form is not made for them, yet the component still drops what it holds of the old skin.
class TmnSkinMessageTarget {
public:
    virtual void TakeSkinMessage(TmnSkinData* manager, unsigned message) = 0;

protected:
    ~TmnSkinMessageTarget() = default;
};

// Skinned menu controller -> the control that opened the menu (and, when closed, its form).
inline constexpr unsigned MSG_SKIN_MENU_CLOSED = 1228;
inline constexpr unsigned MSG_SKIN_MENU_COMMAND = 1229;

// MDI co-operation between a frame's form skinning component and its children.
inline constexpr unsigned MSG_MDI_CHILD_REALIGN = 1230;    // frame -> child: refit while maximised
inline constexpr unsigned MSG_MDI_CHILD_MAXIMIZED = 1231;  // child -> frame
inline constexpr unsigned MSG_MDI_CHILD_RESTORED = 1232;   // child -> frame: left maximised or gone

// Form skinning component or skinned control -> child controls: the background behind changed.
inline constexpr unsigned MSG_PARENT_BG_CHANGED = 1284;

// Any window -> skinned form: paint the frame into the device context in wParam. Sent with
// lParam = MSG_PAINT_FRAME_MAGIC; a skinned form answers with the same number.
inline constexpr unsigned MSG_PAINT_FRAME = 48203;
inline constexpr intptr_t MSG_PAINT_FRAME_MAGIC = 16802;

}  // namespace fn
