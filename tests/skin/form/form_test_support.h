#pragma once
// Test doubles of the skin objects' surroundings: an owner that records what the objects ask
// of it, a painter that records what they draw, and a small skin built in memory whose pictures
// are cut into coloured cells (so a pixel tells which cell was drawn).
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "skin/data/skin_archive.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_object_list.h"

namespace fn::test {

// The colour (0x00RRGGBB) of the 12 x 12 cell (cx, cy) of the button picture.
inline uint32_t CellColour(int cx, int cy) {
    return (uint32_t(20 + 30 * cx) << 16) | (uint32_t(20 + 30 * cy) << 8) | 0x99u;
}
inline constexpr uint32_t MainColour = 0x808080;
// Animation frames of 20 x 20 side by side, frame k coloured FrameColour(k); the row below holds
// the pressed image.
inline uint32_t FrameColour(int k) { return 0x102030u * uint32_t(k); }
inline constexpr uint32_t AnimDownColour = 0xE0E0E0;

// A description with the sections of the test skin; extra lines are appended to it (later
// sections of the same name are not read, so tests replace object sections through Replace).
std::wstring TestDescription();
// The description with one section's body replaced.
std::wstring Replace(std::wstring text, const std::wstring& section, const std::wstring& body);

TSkinArchive TestArchive(const std::wstring& description);
// A manager loaded with the archive (owned by owner).
TmnSkinData* LoadSkin(TComponent& owner, const TSkinArchive& archive);

class TestOwner : public TmnSkinObjectOwner {
public:
    TmnSkinData* skin = nullptr;
    bool active = true;
    TmnSkinWindowState state = swsNormal;
    bool rolledUp = false, showIcon = false, alwaysTray = false, animation = true;
    String caption = L"Fennick Notizen", childCaption;
    bool captionPaint = false;
    bool popupOpens = true;
    TMenuItem* systemMenu = reinterpret_cast<TMenuItem*>(0x1000);

    std::vector<TmnActiveSkinObject*> redraws;
    std::vector<TmnWindowAction> actions;
    std::vector<std::string> events;
    std::vector<TMenuItem*> popups;
    std::set<TmnObjectTimer> timers;
    int captionPaints = 0, userPaints = 0, icons = 0;

    TmnSkinData* SkinData() const override { return skin; }
    bool IsFormActive() const override { return active; }
    TmnSkinWindowState SkinWindowState() const override { return state; }
    bool RolledUp() const override { return rolledUp; }
    bool ShowIcon() const override { return showIcon; }
    bool AlwaysMinimizeToTray() const override { return alwaysTray; }
    bool ClientAreaAnimation() const override { return animation; }
    String CaptionText() const override { return caption; }
    String MaximizedChildCaption() const override { return childCaption; }
    uint8_t DefCaptionCharSet() const override { return 1; }
    void RedrawObject(TmnActiveSkinObject& o) override { redraws.push_back(&o); }
    void DrawFormIcon(TmnObjectPainter&, int, int) override { ++icons; }
    bool HasCaptionPaint() const override { return captionPaint; }
    void CaptionPaint(TmnObjectPainter&, int, const TSkinRect&, bool) override { ++captionPaints; }
    void PaintEvent(const String&, TmnObjectPainter&, const TSkinRect&) override { ++userPaints; }
    void MouseDownEvent(const String& id, int, int, const TSkinRect&, int b) override { Log("down", id, b); }
    void MouseUpEvent(const String& id, int, int, const TSkinRect&, int b) override { Log("up", id, b); }
    void MouseMoveEvent(const String& id, int, int, const TSkinRect&) override { Log("move", id); }
    void MouseEnterEvent(const String& id) override { Log("enter", id); }
    void MouseLeaveEvent(const String& id) override { Log("leave", id); }
    void PostWindowAction(TmnWindowAction a) override { actions.push_back(a); }
    TMenuItem* SystemMenuItem() override { return systemMenu; }
    bool OpenPopup(TmnActiveSkinObject&, TMenuItem* item, const TSkinRect&) override {
        popups.push_back(item);
        return popupOpens;
    }
    void StartTimer(TmnObjectTimer t) override { timers.insert(t); }
    void StopTimer(TmnObjectTimer t) override { timers.erase(t); }
    bool Running(TmnObjectTimer t) const { return timers.count(t) != 0; }

private:
    void Log(const char* what, const String& id, int button = 0) {
        std::string s = what;
        s += ' ';
        for (wchar_t c : id) s += static_cast<char>(c);
        if (button) s += " b" + std::to_string(button);
        events.push_back(s);
    }
};

// Records the drawing: one line per operation.
class RecordingPainter : public TmnObjectPainter {
public:
    std::vector<std::string> ops;
    int charWidth = 7, textHeight = 14;

    TCanvas* Canvas(int) override { return nullptr; }
    int NewImage(int w, int h) override;
    void ReleaseImages() override { ops.push_back("release"); images_ = 0; }
    void Copy(int target, const TBitmapData& picture, const TSkinRect& src, const TSkinRect& dst) override;
    void Strip(int target, const TBitmapData& picture, const TSkinRect& src, int lo, int ro, bool stretch,
               const TSkinRect& dst) override;
    void Morph(int normal, int hover, int kind, double k) override;
    void InactiveEffect(int image, int effect) override;
    void DrawImage(int image, int x, int y) override;
    TmnTextSize MeasureText(const TmnObjectFont&, const String& text) override {
        return {charWidth * static_cast<int>(text.size()), textHeight};
    }
    void Text(int target, const TmnObjectFont& font, TColor color, int x, int y, const String& text) override;
    void PlainButton(const TSkinRect& dst, TmnPlainLook look, TmnPlainGlyph glyph, bool enabled) override;

    // The first operation that starts with prefix, or "".
    std::string Find(const std::string& prefix) const;
    int CountOf(const std::string& prefix) const;

private:
    int images_ = 0;
};

std::string Str(const TSkinRect& r);

}  // namespace fn::test
