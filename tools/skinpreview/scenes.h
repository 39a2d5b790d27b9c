#pragma once
// The preview's pictures of a loaded skin: the window frame at any size and in every button
// state, the inactive frame, morph midpoints, a popup menu, a hint and the main menu bar. Each
// is painted the way the skinned elements paint themselves, with the skin painter's plans and
// the effects bitmap, on a plain backdrop where the window's region leaves it uncovered.
#include <vector>

#include "skin/data/skin_data.h"
#include "tools/skinpreview/canvas.h"
#include "tools/skinpreview/text.h"

namespace fn::preview {

enum class ButtonLook { Normal, Hover, Pressed };

struct FrameState {
    int width = 0, height = 0;  // 0: the frame picture's own size
    bool active = true;
    ButtonLook look = ButtonLook::Normal;
    String caption = L"Fennick Notizen";
    bool mdiFrame = true;  // the client shows the MDI background
};

struct MenuEntry {
    String caption;  // "-" for a separator
    String shortcut = {};
    bool enabled = true;
    bool checked = false;
    bool subMenu = false;
};

class SkinPreview {
public:
    SkinPreview(const TmnSkinData& skin, TextRenderer& text);

    Image Frame(const FrameState& state);
    // Each morphing object: normal image, the blend at factor 0.5 by its morph kind, hover image.
    Image MorphMidpoints();
    Image PopupMenu(const std::vector<MenuEntry>& entries, int selected);
    Image Hint(const String& text);
    // The bar with one hot and one opened item; with child buttons as for a maximised document.
    Image MenuBar(int width, const std::vector<String>& items, int hot, int down, bool childButtons);
    // The control records: a panel with a checked caption, a status bar with its grip, the MDI
    // tabs (normal, active, under the mouse), push buttons in three states and the up-downs.
    Image Controls();

    static constexpr Colour Backdrop{96, 110, 126};

private:
    struct Object;
    std::vector<Object> LayoutObjects(int dx, int dy);
    TSkinRect MapByCorners(const TSkinRect& r, int dx, int dy) const;
    void DrawObject(Image& target, int offsetY, const Object& o, bool active, ButtonLook look);
    void DrawCaption(Image& target, int offsetY, const Object& o, bool active, const String& caption);
    // Cuts img to a region made of the rectangle inner and the four mask strips of a resized
    // nine-part mask; pixels outside show the backdrop.
    void ApplyFrameMask(Image& img, const Image& mask, const TFrameGeometry& g, const TFrameGeometry& n,
                        const TSkinRect& inner);
    FontSpec Font(const String& name, int height, TFontStyles style) const { return {name, height, style}; }
    // A nine-part control record built to w x h from one of its images.
    Image NinePart(const TmnDataSkinCustomControl& c, const TSkinRect& source, int w, int h);
    template <class T>
    const T* Control(const wchar_t* name) const {
        const int i = skin_.GetControlIndex(name);
        return i < 0 ? nullptr : dynamic_cast<const T*>(skin_.SkinControls()[i].get());
    }

    const TmnSkinData& skin_;
    TextRenderer& text_;
    Image picture_, mask_;
    std::vector<Image> active_;
};

}  // namespace fn::preview
