#pragma once
// Skin object records: the records of the skin objects listed in "SKINOBJECTS",
// and the three fixed records "POPUPWINDOW", "HINTWINDOW" and "SKINCOLORS". Portable.
// Every field is named after its key; VisitFields lists the keys in the order of the record's key table.
#include <memory>

#include "skin/data/skin_record.h"

namespace fn {

class TmnDataSkinObject : public TmnSkinRecord {
public:
    explicit TmnDataSkinObject(String name) : TmnSkinRecord(std::move(name)) {}
    void VisitFields(TSkinFieldVisitor& v) override;
    const wchar_t* ClassName() const override { return L"TmnDataSkinObject"; }

    String Hint;
    int ActivePictureIndex = -1;
    bool SkinRectInAPicture = false;
    TSkinRect SkinRect;
    TSkinRect ActiveSkinRect;
    TSkinRect InactiveSkinRect;
    bool Morphing = false;
    TMorphKind MorphKind = mkDefault;
};

// Reads and writes "skinrect" alone; the base's other keys keep their initial values.
class TmnDataUserObject : public TmnDataSkinObject {
public:
    using TmnDataSkinObject::TmnDataSkinObject;
    void VisitFields(TSkinFieldVisitor& v) override;
    const wchar_t* ClassName() const override { return L"TmnDataUserObject"; }
};

class TmnDataSkinButton : public TmnDataSkinObject {
public:
    using TmnDataSkinObject::TmnDataSkinObject;
    void VisitFields(TSkinFieldVisitor& v) override;
    const wchar_t* ClassName() const override { return L"TmnDataSkinButton"; }

    TSkinRect DownRect;
    TSkinRect DisableSkinRsect;  // key "disableskinrsect", spelled so
};

class TmnDataSkinStdButton : public TmnDataSkinButton {
public:
    using TmnDataSkinButton::TmnDataSkinButton;
    void VisitFields(TSkinFieldVisitor& v) override;
    const wchar_t* ClassName() const override { return L"TmnDataSkinStdButton"; }

    TButtonCommand Command = cmClose;  // ordinal 0 until the section is read
    TSkinRect RestoreRect;
    TSkinRect RestoreActiveRect;
    TSkinRect RestoreDownRect;
    TSkinRect RestoreInactiveRect;
};

class TmnDataSkinMainMenuBarButton : public TmnDataSkinStdButton {
public:
    using TmnDataSkinStdButton::TmnDataSkinStdButton;
    const wchar_t* ClassName() const override { return L"TmnDataSkinMainMenuBarButton"; }
};

class TmnDataSkinAnimate : public TmnDataSkinObject {
public:
    using TmnDataSkinObject::TmnDataSkinObject;
    // After the inherited keys are read, "morphing" is false: animated objects never morph.
    void LoadFromIni(const TMemIniFile& ini) override;
    void VisitFields(TSkinFieldVisitor& v) override;
    const wchar_t* ClassName() const override { return L"TmnDataSkinAnimate"; }

    int CountFrames = 1;
    bool Cycle = false;
    bool ButtonStyle = false;
    int TimerInterval = 50;
    TButtonCommand Command = cmClose;
    TSkinRect DownSkinRect;
    TSkinRect RestoreRect;
    TSkinRect RestoreActiveRect;
    TSkinRect RestoreDownRect;
    TSkinRect RestoreInactiveRect;
};

class TmnDataSkinMenuItem : public TmnDataSkinObject {
public:
    using TmnDataSkinObject::TmnDataSkinObject;
    void VisitFields(TSkinFieldVisitor& v) override;
    const wchar_t* ClassName() const override { return L"TmnDataSkinMenuItem"; }

    int ItemLeftOffset = 0;
    int ItemRightOffset = 0;
    TSkinRect DividerRect;
    int DividerLeftOffset = 0;
    int DividerRightOffset = 0;
    TSkinRect TextRect;
    TSkinRect ImageRect;
    String FontName = L"Arial";
    int FontHeight = 14;
    TFontStyles FontStyle = 0;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;
    TColor UnenabledFontColor = 0;
    bool StretchEffect = false;
    bool InactiveStretchEffect = false;
    bool DividerStretchEffect = false;
    TSkinRect AnimateSkinRect;
    int FrameCount = 0;
    int AnimateInterval = 25;
    bool InactiveAnimation = false;
    bool UseImageColor = false;
    TColor ImageColor = 0;
    TColor ActiveImageColor = 0;
};

class TmnDataSkinMainMenuItem : public TmnDataSkinObject {
public:
    using TmnDataSkinObject::TmnDataSkinObject;
    void VisitFields(TSkinFieldVisitor& v) override;
    const wchar_t* ClassName() const override { return L"TmnDataSkinMainMenuItem"; }

    int ItemLeftOffset = 0;
    int ItemRightOffset = 0;
    TSkinRect DownRect;
    TSkinRect TextRect;
    String FontName = L"Arial";
    int FontHeight = 14;
    TFontStyles FontStyle = 0;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;
    TColor DownFontColor = 0;
    TColor UnenabledFontColor = 0;  // key "unenabledfontColor"
    bool StretchEffect = false;
    TSkinRect AnimateSkinRect;
    int FrameCount = 0;
    int AnimateInterval = 25;
    bool InactiveAnimation = false;
};

class TmnDataSkinMainMenuBarItem : public TmnDataSkinMainMenuItem {
public:
    using TmnDataSkinMainMenuItem::TmnDataSkinMainMenuItem;
    const wchar_t* ClassName() const override { return L"TmnDataSkinMainMenuBarItem"; }
};

class TmnDataSkinCaption : public TmnDataSkinObject {
public:
    using TmnDataSkinObject::TmnDataSkinObject;
    void VisitFields(TSkinFieldVisitor& v) override;
    const wchar_t* ClassName() const override { return L"TmnDataSkinCaption"; }

    TSkinRect TextRect;
    String FontName = L"Arial";
    int FontHeight = 14;
    TFontStyles FontStyle = 0;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;
    TAlignment Alignment = taCenter;
    bool Light = false;
    TColor LightColor = 0;
    TColor ActiveLightColor = 0;
    bool Shadow = false;
    TColor ShadowColor = 0;
    TColor ActiveShadowColor = 0;
    TSkinRect FrameRect;
    TSkinRect ActiveFrameRect;
    TSkinRect FrameTextRect;
    int FrameLeftOffset = 0;
    int FrameRightOffset = 0;
    bool StretchEffect = false;
    TSkinRect AnimateSkinRect;
    int FrameCount = 0;
    int AnimateInterval = 25;
    bool InactiveAnimation = false;
    bool FullFrame = false;
};

// Creates the object record for a "SKINOBJECTS" type keyword (exact case), or null when the
// keyword is not in the object type table.
std::unique_ptr<TmnDataSkinObject> CreateSkinObjectRecord(std::wstring_view type, const String& name);
// The type keyword that creates a record of this class ("" for a plain TmnDataSkinObject or
// TmnDataSkinMainMenuItem, which no keyword creates).
const wchar_t* SkinObjectTypeKeyword(const TmnDataSkinObject& record);

// The fixed records. They read their fixed section; SaveToIni writes it back (for tools and
// tests; the program only reads them).
class TmnDataSkinPopupWindow : public TmnSkinRecord {
public:
    TmnDataSkinPopupWindow() : TmnSkinRecord(L"POPUPWINDOW") {}
    void VisitFields(TSkinFieldVisitor& v) override;
    const wchar_t* ClassName() const override { return L"TmnDataSkinPopupWindow"; }

    int WindowPictureIndex = -1;
    int MaskPictureIndex = -1;
    TSkinPoint LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint;
    TSkinRect ItemsRect;
    TColor ScrollMarkerColor = 0;
    TColor ScrollMarkerActiveColor = 0;
    bool LeftStretch = false, RightStretch = false, TopStretch = false, BottomStretch = false;
    bool StretchEffect = false;
    TStretchType StretchType = stFull;
};

class TmnDataSkinHintWindow : public TmnSkinRecord {
public:
    TmnDataSkinHintWindow() : TmnSkinRecord(L"HINTWINDOW") {}
    void VisitFields(TSkinFieldVisitor& v) override;
    const wchar_t* ClassName() const override { return L"TmnDataSkinHintWindow"; }

    int WindowPictureIndex = -1;
    int MaskPictureIndex = -1;
    TSkinPoint LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint;
    TSkinRect ClientRect;
    String FontName = L"Arial";
    int FontHeight = 12;  // 12 until a skin is read; the key's default is 14
    TFontStyles FontStyle = 0;
    TColor FontColor = 0;
    bool LeftStretch = false, RightStretch = false, TopStretch = false, BottomStretch = false;
    bool StretchEffect = false;
    TStretchType StretchType = stFull;
};

class TmnSkinColors : public TmnSkinRecord {
public:
    TmnSkinColors() : TmnSkinRecord(L"SKINCOLORS") {}
    void VisitFields(TSkinFieldVisitor& v) override;
    const wchar_t* ClassName() const override { return L"TmnSkinColors"; }
    // Puts the eight system colour references in place.
    void SetDefaultColors();

    // The defaults: references to clBtnFace, clBtnText, clWindow, clWindowText, clHighlight,
    // clHighlightText, clBtnHighlight, clBtnShadow (top byte 0xFF, the system colour index).
    static constexpr TColor DefaultBtnFace = SystemColorRef(15);        // -16777201
    static constexpr TColor DefaultBtnText = SystemColorRef(18);        // -16777198
    static constexpr TColor DefaultWindow = SystemColorRef(5);          // -16777211
    static constexpr TColor DefaultWindowText = SystemColorRef(8);      // -16777208
    static constexpr TColor DefaultHighLight = SystemColorRef(13);      // -16777203
    static constexpr TColor DefaultHighLightText = SystemColorRef(14);  // -16777202
    static constexpr TColor DefaultBtnHighLight = SystemColorRef(20);   // -16777196
    static constexpr TColor DefaultBtnShadow = SystemColorRef(16);      // -16777200

    TColor cBtnFace = 0, cBtnText = 0, cWindow = 0, cWindowText = 0;
    TColor cHighLight = 0, cHighLightText = 0, cBtnHighLight = 0, cBtnShadow = 0;
};

}  // namespace fn
