#pragma once
// Skin control records: one class per skinned control kind, each reading its own section of
// the skin description. The fields are named after their keys and listed in VisitFields in
// key order, inherited keys first; where a writer emits a key elsewhere than the reader reads
// it, VisitFields says so. Portable.
#include <memory>
#include <span>

#include "skin/data/skin_record.h"

namespace fn {

// Base of every control record: the control's picture, mask and normal image.
class TmnDataSkinControl : public TmnSkinRecord {
public:
    explicit TmnDataSkinControl(String name) : TmnSkinRecord(std::move(name)) {}
    const wchar_t* ClassName() const override { return L"TmnDataSkinControl"; }
    void VisitFields(TSkinFieldVisitor& v) override;

    int PictureIndex = -1;
    int MaskPictureIndex = -1;
    TSkinRect SkinRect;
};

// Controls drawn as a nine-part frame.
class TmnDataSkinCustomControl : public TmnDataSkinControl {
public:
    using TmnDataSkinControl::TmnDataSkinControl;
    const wchar_t* ClassName() const override { return L"TmnDataSkinCustomControl"; }
    void VisitFields(TSkinFieldVisitor& v) override;

    TSkinPoint LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint;
    TSkinRect ClientRect;
    bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
    bool StretchEffect = false;
    TStretchType StretchType = stFull;
};

// The font group of many records; FontHeight starts at 12 or 14 as the record says.
struct TSkinFontFields {
    String FontName = L"Arial";
    int FontHeight = 14;
    TFontStyles FontStyle = 0;
    TColor FontColor = 0;
    void Visit(TSkinFieldVisitor& v) { v.Font(FontName, FontHeight, FontStyle, FontColor); }
};

// The up and down buttons of scroll bars, up-downs, spin edits and list box captions.
struct TSkinUpDownButtons {
    TSkinRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect;
    TSkinRect DownButtonRect, ActiveDownButtonRect, DownDownButtonRect;
    void Visit(TSkinFieldVisitor& v);
};

inline constexpr TColor clFuchsiaTransparent = 0xFF00FF;

// ---- nine-part controls ----

class TmnDataSkinPanelControl : public TmnDataSkinCustomControl, public TSkinFontFields {
public:
    explicit TmnDataSkinPanelControl(String name) : TmnDataSkinCustomControl(std::move(name)) { FontHeight = 12; }
    const wchar_t* ClassName() const override { return L"TmnDataSkinPanelControl"; }
    void VisitFields(TSkinFieldVisitor& v) override;

    int BgPictureIndex = -1;
    TSkinRect CaptionRect;
    TAlignment Alignment = taCenter;
    TSkinRect CheckImageRect, UnCheckImageRect, MarkFrameRect, FrameRect, FrameTextRect;
    int FrameLeftOffset = 0, FrameRightOffset = 0;
    TSkinRect GripperRect;
    bool GripperTransparent = false;
    TColor GripperTransparentColor = clFuchsiaTransparent;
};

class TmnDataSkinExPanelControl : public TmnDataSkinCustomControl, public TSkinFontFields {
public:
    explicit TmnDataSkinExPanelControl(String name) : TmnDataSkinCustomControl(std::move(name)) { FontHeight = 12; }
    const wchar_t* ClassName() const override { return L"TmnDataSkinExPanelControl"; }
    void VisitFields(TSkinFieldVisitor& v) override;

    TSkinRect RollHSkinRect, RollVSkinRect;
    int RollLeftOffset = 0, RollRightOffset = 0, RollTopOffset = 0, RollBottomOffset = 0;
    TSkinRect RollVCaptionRect, RollHCaptionRect;
    TSkinRect CloseButtonRect, CloseButtonActiveRect, CloseButtonDownRect;
    TSkinRect HRollButtonRect, HRollButtonActiveRect, HRollButtonDownRect;
    TSkinRect HRestoreButtonRect, HRestoreButtonActiveRect, HRestoreButtonDownRect;
    TSkinRect VRollButtonRect, VRollButtonActiveRect, VRollButtonDownRect;
    TSkinRect VRestoreButtonRect, VRestoreButtonActiveRect, VRestoreButtonDownRect;
    TSkinRect CaptionRect;
    bool ButtonsTransparent = false;
    TColor ButtonsTransparentColor = clFuchsiaTransparent;
};

class TmnDataSkinControlBar : public TmnDataSkinCustomControl {
public:
    using TmnDataSkinCustomControl::TmnDataSkinCustomControl;
    const wchar_t* ClassName() const override { return L"TmnDataSkinControlBar"; }
    void VisitFields(TSkinFieldVisitor& v) override;

    TSkinRect ItemRect;
    int BgPictureIndex = -1;
    TSkinRect HGripRect, VGripRect;
    int GripOffset1 = 0, GripOffset2 = 0;
    bool ItemStretchEffect = false;
    int ItemOffset1 = 0, ItemOffset2 = 0;  // a missing key reads as 3
    bool ItemTransparent = false;
    TColor ItemTransparentColor = 0;
    bool GripTransparent = false;
    TColor GripTransparentColor = 0;
};

class TmnDataSkinScrollBoxControl : public TmnDataSkinCustomControl {
public:
    using TmnDataSkinCustomControl::TmnDataSkinCustomControl;
    const wchar_t* ClassName() const override { return L"TmnDataSkinScrollBoxControl"; }
    void VisitFields(TSkinFieldVisitor& v) override;

    int BgPictureIndex = -1;
};

class TmnDataSkinLabelControl : public TmnDataSkinCustomControl, public TSkinFontFields {
public:
    explicit TmnDataSkinLabelControl(String name) : TmnDataSkinCustomControl(std::move(name)) { FontHeight = 12; }
    const wchar_t* ClassName() const override { return L"TmnDataSkinLabelControl"; }
    void VisitFields(TSkinFieldVisitor& v) override;
};

class TmnDataSkinSplitterControl : public TmnDataSkinCustomControl {
public:
    using TmnDataSkinCustomControl::TmnDataSkinCustomControl;
    const wchar_t* ClassName() const override { return L"TmnDataSkinSplitterControl"; }
    void VisitFields(TSkinFieldVisitor& v) override;

    TSkinRect GripperRect;
    bool GripperTransparent = false;
    TColor GripperTransparentColor = clFuchsiaTransparent;
};

class TmnDataSkinGaugeControl : public TmnDataSkinCustomControl, public TSkinFontFields {
public:
    using TmnDataSkinCustomControl::TmnDataSkinCustomControl;
    const wchar_t* ClassName() const override { return L"TmnDataSkinGaugeControl"; }
    void VisitFields(TSkinFieldVisitor& v) override;

    TSkinRect ProgressArea, ProgressRect;
    int BeginOffset = 0, EndOffset = 0;
    bool Vertical = false;
    bool ProgressTransparent = false;
    TColor ProgressTransparentColor = clFuchsiaTransparent;
    bool ProgressStretch = false;
};

class TmnDataSkinTrackBarControl : public TmnDataSkinCustomControl {
public:
    using TmnDataSkinCustomControl::TmnDataSkinCustomControl;
    const wchar_t* ClassName() const override { return L"TmnDataSkinTrackBarControl"; }
    void VisitFields(TSkinFieldVisitor& v) override;

    TSkinRect ActiveSkinRect, TrackArea, ButtonRect, ActiveButtonRect;
    bool Vertical = false;
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = clFuchsiaTransparent;
};

class TmnDataSkinScrollBarControl : public TmnDataSkinCustomControl, public TSkinUpDownButtons {
public:
    using TmnDataSkinCustomControl::TmnDataSkinCustomControl;
    const wchar_t* ClassName() const override { return L"TmnDataSkinScrollBarControl"; }
    void VisitFields(TSkinFieldVisitor& v) override;

    TSkinRect TrackArea;
    TSkinRect ThumbRect, ActiveThumbRect, DownThumbRect;
    int ThumbOffset1 = 0, ThumbOffset2 = 0;
    bool ThumbTransparent = false;
    TColor ThumbTransparentColor = clFuchsiaTransparent;
    TSkinRect GlyphRect, ActiveGlyphRect, DownGlyphRect;
};

// An up-down never has a nine-part frame: its corner points and client rectangle stay
// cleared after reading and are written cleared, whatever the section holds.
class TmnDataSkinUpDownControl : public TmnDataSkinCustomControl, public TSkinUpDownButtons {
public:
    using TmnDataSkinCustomControl::TmnDataSkinCustomControl;
    const wchar_t* ClassName() const override { return L"TmnDataSkinUpDownControl"; }
    void VisitFields(TSkinFieldVisitor& v) override;
    void LoadFromIni(const TMemIniFile& ini) override;
    void SaveToIni(TMemIniFile& ini) override;

private:
    void ClearFrame();
};

class TmnDataSkinSpinEditControl : public TmnDataSkinCustomControl, public TSkinFontFields, public TSkinUpDownButtons {
public:
    explicit TmnDataSkinSpinEditControl(String name) : TmnDataSkinCustomControl(std::move(name)) { FontHeight = 12; }
    const wchar_t* ClassName() const override { return L"TmnDataSkinSpinEditControl"; }
    void VisitFields(TSkinFieldVisitor& v) override;

    TSkinRect ActiveSkinRect;
    TColor ActiveFontColor = 0, DisabledFontColor = 0;
};

class TmnDataSkinEditControl : public TmnDataSkinCustomControl, public TSkinFontFields {
public:
    explicit TmnDataSkinEditControl(String name) : TmnDataSkinCustomControl(std::move(name)) { FontHeight = 12; }
    const wchar_t* ClassName() const override { return L"TmnDataSkinEditControl"; }
    void VisitFields(TSkinFieldVisitor& v) override;

    TSkinRect ActiveSkinRect;
    TColor DisabledFontColor = 0, ActiveFontColor = 0;
    TSkinRect ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
};

class TmnDataSkinMemoControl : public TmnDataSkinEditControl {
public:
    using TmnDataSkinEditControl::TmnDataSkinEditControl;
    const wchar_t* ClassName() const override { return L"TmnDataSkinMemoControl"; }
    void VisitFields(TSkinFieldVisitor& v) override;

    TColor BgColor = 0, ActiveBgColor = 0;
};

class TmnDataSkinListBox : public TmnDataSkinCustomControl, public TSkinFontFields, public TSkinUpDownButtons {
public:
    using TmnDataSkinCustomControl::TmnDataSkinCustomControl;
    const wchar_t* ClassName() const override { return L"TmnDataSkinListBox"; }
    void VisitFields(TSkinFieldVisitor& v) override;

    TSkinRect ItemRect, ActiveItemRect, FocusItemRect;
    int ItemLeftOffset = 0, ItemRightOffset = 0;
    TSkinRect ItemTextRect;
    TColor ActiveFontColor = 0, FocusFontColor = 0;
    TSkinRect CaptionRect;
    String CaptionFontName = L"Arial";
    int CaptionFontHeight = 14;
    TFontStyles CaptionFontStyle = 0;
    TColor CaptionFontColor = 0;
    TSkinRect CheckButtonRect, ActiveCheckButtonRect, DownCheckButtonRect;
    // Names of the scroll bar records; empty until a section is read.
    String VScrollBarName, HScrollBarName, BothHScrollBarName;
    bool ShowFocus = false;
};

class TmnDataSkinCheckListBox : public TmnDataSkinListBox {
public:
    using TmnDataSkinListBox::TmnDataSkinListBox;
    const wchar_t* ClassName() const override { return L"TmnDataSkinCheckListBox"; }
    void VisitFields(TSkinFieldVisitor& v) override;

    TSkinRect ItemCheckRect, CheckImageRect, UnCheckImageRect;
};

class TmnDataSkinComboBox : public TmnDataSkinCustomControl, public TSkinFontFields {
public:
    using TmnDataSkinCustomControl::TmnDataSkinCustomControl;
    const wchar_t* ClassName() const override { return L"TmnDataSkinComboBox"; }
    void VisitFields(TSkinFieldVisitor& v) override;

    TSkinRect ActiveSkinRect;
    TSkinRect ItemRect, ActiveItemRect, FocusItemRect;
    int ItemLeftOffset = 0, ItemRightOffset = 0;
    TSkinRect ItemTextRect;
    TColor FocusFontColor = 0, ActiveFontColor = 0;
    String ListBoxName;
    TSkinRect ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
    bool ItemStretchEffect = false, FocusItemStretchEffect = false;
    bool ShowFocus = false;
};

class TmnDataSkinCheckRadioControl : public TmnDataSkinCustomControl, public TSkinFontFields {
public:
    explicit TmnDataSkinCheckRadioControl(String name) : TmnDataSkinCustomControl(std::move(name)) { FontHeight = 12; }
    const wchar_t* ClassName() const override { return L"TmnDataSkinCheckRadioControl"; }
    void VisitFields(TSkinFieldVisitor& v) override;

    TColor ActiveFontColor = 0, UnEnabledFontColor = 0, FrameFontColor = 0;
    TSkinRect ActiveSkinRect, CheckImageArea, TextArea;
    TSkinRect CheckImageRect, UnCheckImageRect;
    TSkinRect ActiveCheckImageRect, ActiveUnCheckImageRect;
    TSkinRect UnEnabledCheckImageRect, UnEnabledUnCheckImageRect;
    bool Morphing = false;
    TMorphKind MorphKind = mkDefault;
};

// Buttons, tool buttons and the size grip.
class TmnDataSkinButtonControl : public TmnDataSkinCustomControl, public TSkinFontFields {
public:
    explicit TmnDataSkinButtonControl(String name) : TmnDataSkinCustomControl(std::move(name)) { FontHeight = 12; }
    const wchar_t* ClassName() const override { return L"TmnDataSkinButtonControl"; }
    void VisitFields(TSkinFieldVisitor& v) override;

    TColor ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
    TSkinRect ActiveSkinRect, DownSkinRect, DisabledSkinRect;
    bool Morphing = false;
    TMorphKind MorphKind = mkDefault;
    TSkinRect AnimateSkinRect;
    int FrameCount = 0;
    int AnimateInterval = 25;
    bool ShowFocus = false;
    // Written with the record but never read back: they keep these values.
    TSkinRect MenuMarkerFlatRect, MenuMarkerRect, MenuMarkerActiveRect, MenuMarkerDownRect;
    TColor MenuMarkerTransparentColor = 0;
};

class TmnDataSkinMenuButtonControl : public TmnDataSkinButtonControl {
public:
    using TmnDataSkinButtonControl::TmnDataSkinButtonControl;
    const wchar_t* ClassName() const override { return L"TmnDataSkinMenuButtonControl"; }
    void VisitFields(TSkinFieldVisitor& v) override;

    TSkinRect TrackButtonRect;
};

// ---- plain controls ----

class TmnDataSkinMainMenuBar : public TmnDataSkinControl {
public:
    using TmnDataSkinControl::TmnDataSkinControl;
    const wchar_t* ClassName() const override { return L"TmnDataSkinMainMenuBar"; }
    void VisitFields(TSkinFieldVisitor& v) override;

    TSkinRect ItemsRect;
    String MenuBarItem;  // object record that draws the items
    String CloseButton, MinButton, MaxButton, SysMenuButton;  // object records of the child's buttons
    TColor TrackMarkColor = 0, TrackMarkActiveColor = 0;
    bool StretchEffect = false;
    bool ItemTransparent = false;
};

class TmnDataSkinTabControl : public TmnDataSkinControl, public TSkinFontFields {
public:
    using TmnDataSkinControl::TmnDataSkinControl;
    const wchar_t* ClassName() const override { return L"TmnDataSkinTabControl"; }
    void VisitFields(TSkinFieldVisitor& v) override;

    TSkinRect TabRect, ActiveTabRect, FocusTabRect, MouseInTabRect;
    TSkinRect ClientRect;
    int BgPictureIndex = -1;
    TSkinPoint LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint;
    int TabLeftOffset = 0, TabRightOffset = 0;
    TSkinRect TabsBgRect;
    bool TabStretchEffect = false;
    bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
    bool StretchEffect = false;
    TStretchType StretchType = stFull;
    TColor ActiveFontColor = 0, FocusFontColor = 0, MouseInFontColor = 0;
    String UpDown;  // up-down record that scrolls the tabs
    bool ShowFocus = false;
    int FocusOffsetX = 0, FocusOffsetY = 0;
};

class TmnDataSkinGridControl : public TmnDataSkinControl, public TSkinFontFields {
public:
    using TmnDataSkinControl::TmnDataSkinControl;
    const wchar_t* ClassName() const override { return L"TmnDataSkinGridControl"; }
    void VisitFields(TSkinFieldVisitor& v) override;

    TSkinRect FixedCellRect, SelectCellRect, FocusCellRect;
    int FixedCellLeftOffset = 0, FixedCellRightOffset = 0;
    TSkinRect FixedCellTextRect;
    int CellLeftOffset = 0, CellRightOffset = 0;
    TSkinRect CellTextRect;
    TColor LinesColor = 0, BgColor = 0;
    TColor SelectFontColor = 0, FocusFontColor = 0;
    String FixedFontName = L"Arial";
    int FixedFontHeight = 14;
    TFontStyles FixedFontStyle = 0;
    TColor FixedFontColor = 0;
    bool CellStretchEffect = false, FixedCellStretchEffect = false;
    bool ShowFocus = false;
};

// Tree views, list views and rich edits: a font and a background colour that starts white
// (a missing key still reads as 0).
class TmnDataSkinTreeView : public TmnDataSkinControl, public TSkinFontFields {
public:
    using TmnDataSkinControl::TmnDataSkinControl;
    const wchar_t* ClassName() const override { return L"TmnDataSkinTreeView"; }
    void VisitFields(TSkinFieldVisitor& v) override;
    TColor BgColor = 0xFFFFFF;
};

class TmnDataSkinListView : public TmnDataSkinControl, public TSkinFontFields {
public:
    using TmnDataSkinControl::TmnDataSkinControl;
    const wchar_t* ClassName() const override { return L"TmnDataSkinListView"; }
    void VisitFields(TSkinFieldVisitor& v) override;
    TColor BgColor = 0xFFFFFF;
};

class TmnDataSkinRichEdit : public TmnDataSkinControl, public TSkinFontFields {
public:
    using TmnDataSkinControl::TmnDataSkinControl;
    const wchar_t* ClassName() const override { return L"TmnDataSkinRichEdit"; }
    void VisitFields(TSkinFieldVisitor& v) override;
    TColor BgColor = 0xFFFFFF;
};

class TmnDataSkinStdLabelControl : public TmnDataSkinControl, public TSkinFontFields {
public:
    explicit TmnDataSkinStdLabelControl(String name) : TmnDataSkinControl(std::move(name)) { FontHeight = 12; }
    const wchar_t* ClassName() const override { return L"TmnDataSkinStdLabelControl"; }
    void VisitFields(TSkinFieldVisitor& v) override;

    TColor ActiveFontColor = 0xFF0000;
};

class TmnDataSkinSlider : public TmnDataSkinControl {
public:
    using TmnDataSkinControl::TmnDataSkinControl;
    const wchar_t* ClassName() const override { return L"TmnDataSkinSlider"; }
    void VisitFields(TSkinFieldVisitor& v) override;

    TColor BgColor = 0;
    TSkinRect HRulerRect, HThumbRect, VRulerRect, VThumbRect;
    int EdgeSize = 0;
    TColor PointsColor = 0;
};

class TmnDataSkinBevel : public TmnDataSkinControl {
public:
    using TmnDataSkinControl::TmnDataSkinControl;
    const wchar_t* ClassName() const override { return L"TmnDataSkinBevel"; }
    void VisitFields(TSkinFieldVisitor& v) override;

    TColor LightColor = 0, DarkColor = 0;
};

// ---- the type keywords of "SKINCONTROLS" ----

struct TSkinControlType {
    std::wstring_view keyword;  // compared with exact case
    std::unique_ptr<TmnDataSkinControl> (*create)(String name);
};
std::span<const TSkinControlType> SkinControlTypes();

// A new record of the class that the type keyword names, or null for any other text.
std::unique_ptr<TmnDataSkinControl> CreateSkinControlRecord(std::wstring_view type, String name);

}  // namespace fn
