#include "skin/data/object_records.h"

namespace fn {

void TmnDataSkinObject::VisitFields(TSkinFieldVisitor& v) {
    v.Text(L"hint", Hint, L"");
    v.Index(L"activepictureindex", ActivePictureIndex);
    v.Bool(L"skinrectinapicture", SkinRectInAPicture);
    v.Rect(L"skinrect", SkinRect);
    v.Rect(L"activeskinrect", ActiveSkinRect);
    v.Rect(L"inactiveskinrect", InactiveSkinRect);
    v.Bool(L"morphing", Morphing);
    v.MorphKind(L"morphkind", MorphKind);
}

void TmnDataUserObject::VisitFields(TSkinFieldVisitor& v) {
    // Not the inherited keys: only "skinrect" is read and written.
    v.Rect(L"skinrect", SkinRect);
}

void TmnDataSkinButton::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinObject::VisitFields(v);
    v.Rect(L"downrect", DownRect);
    v.Rect(L"disableskinrsect", DisableSkinRsect);
}

void TmnDataSkinStdButton::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinButton::VisitFields(v);
    v.ButtonCommand(L"command", Command);
    v.Rect(L"restorerect", RestoreRect);
    v.Rect(L"restoreactiverect", RestoreActiveRect);
    v.Rect(L"restoredownrect", RestoreDownRect);
    v.Rect(L"restoreinactiverect", RestoreInactiveRect);
}

void TmnDataSkinAnimate::LoadFromIni(const TMemIniFile& ini) {
    TmnDataSkinObject::LoadFromIni(ini);  // every key, through VisitFields
    Morphing = false;
}

void TmnDataSkinAnimate::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinObject::VisitFields(v);
    v.Integer(L"countframes", CountFrames, 1);
    v.Bool(L"cycle", Cycle);
    v.Bool(L"buttonstyle", ButtonStyle);
    v.Integer(L"timerinterval", TimerInterval, 50);
    v.ButtonCommand(L"command", Command);
    v.Rect(L"downskinrect", DownSkinRect);
    v.Rect(L"restorerect", RestoreRect);
    v.Rect(L"restoreactiverect", RestoreActiveRect);
    v.Rect(L"restoredownrect", RestoreDownRect);
    v.Rect(L"restoreinactiverect", RestoreInactiveRect);
    // The frames stand side by side from the active image (and its restore form) on.
    v.Strip(StripBeside(ActiveSkinRect, CountFrames));
    v.Strip(StripBeside(RestoreActiveRect, CountFrames));
}

void TmnDataSkinMenuItem::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinObject::VisitFields(v);
    v.Size(L"itemleftoffset", ItemLeftOffset, 0);
    v.Size(L"itemrightoffset", ItemRightOffset, 0);
    v.Rect(L"dividerrect", DividerRect);
    v.Size(L"dividerleftoffset", DividerLeftOffset, 0);
    v.Size(L"dividerrightoffset", DividerRightOffset, 0);
    v.Rect(L"textrect", TextRect);
    v.Rect(L"imagerect", ImageRect);
    v.Font(FontName, FontHeight, FontStyle, FontColor);
    v.Colour(L"activefontcolor", ActiveFontColor, 0);
    v.Colour(L"unenabledfontcolor", UnenabledFontColor, 0);
    v.Bool(L"stretcheffect", StretchEffect);
    v.Bool(L"inactivestretcheffect", InactiveStretchEffect);
    v.Bool(L"dividerstretcheffect", DividerStretchEffect);
    v.Rect(L"animateskinrect", AnimateSkinRect);
    v.Integer(L"framecount", FrameCount, 0);
    v.Integer(L"animateinterval", AnimateInterval, 25);
    v.Bool(L"inactiveanimation", InactiveAnimation);
    v.Bool(L"useimagecolor", UseImageColor);
    v.Colour(L"imagecolor", ImageColor, 0);
    v.Colour(L"activeimagecolor", ActiveImageColor, 0);
    v.Strip(StripCutting(AnimateSkinRect, FrameCount, SkinRect));
}

void TmnDataSkinMainMenuItem::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinObject::VisitFields(v);
    v.Size(L"itemleftoffset", ItemLeftOffset, 0);
    v.Size(L"itemrightoffset", ItemRightOffset, 0);
    v.Rect(L"downrect", DownRect);
    v.Rect(L"textrect", TextRect);
    v.Font(FontName, FontHeight, FontStyle, FontColor);
    v.Colour(L"activefontcolor", ActiveFontColor, 0);
    v.Colour(L"downfontcolor", DownFontColor, 0);
    v.Colour(L"unenabledfontColor", UnenabledFontColor, 0);
    v.Bool(L"stretcheffect", StretchEffect);
    v.Rect(L"animateskinrect", AnimateSkinRect);
    v.Integer(L"framecount", FrameCount, 0);
    v.Integer(L"animateinterval", AnimateInterval, 25);
    v.Bool(L"inactiveanimation", InactiveAnimation);
    v.Strip(StripCutting(AnimateSkinRect, FrameCount, SkinRect));
}

void TmnDataSkinCaption::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinObject::VisitFields(v);
    v.Rect(L"textrect", TextRect);
    v.Font(FontName, FontHeight, FontStyle, FontColor);
    v.Colour(L"activefontcolor", ActiveFontColor, 0);
    v.Alignment(L"alignment", Alignment);
    v.Bool(L"light", Light);
    v.Colour(L"lightcolor", LightColor, 0);
    v.Colour(L"activelightcolor", ActiveLightColor, 0);
    v.Bool(L"shadow", Shadow);
    v.Colour(L"shadowcolor", ShadowColor, 0);
    v.Colour(L"activeshadowcolor", ActiveShadowColor, 0);
    v.Rect(L"framerect", FrameRect);
    v.Rect(L"activeframerect", ActiveFrameRect);
    v.Rect(L"frametextrect", FrameTextRect);
    v.Size(L"frameleftoffset", FrameLeftOffset, 0);
    v.Size(L"framerightoffset", FrameRightOffset, 0);
    v.Bool(L"stretcheffect", StretchEffect);
    v.Rect(L"animateskinrect", AnimateSkinRect);
    v.Integer(L"framecount", FrameCount, 0);
    v.Integer(L"animateinterval", AnimateInterval, 25);
    v.Bool(L"inactiveanimation", InactiveAnimation);
    v.Bool(L"fullframe", FullFrame);
    v.Strip(StripCutting(AnimateSkinRect, FrameCount, SkinRect));
}

namespace {
struct ObjectType {
    const wchar_t* keyword;
    std::unique_ptr<TmnDataSkinObject> (*create)(const String& name);
};
template <class R>
std::unique_ptr<TmnDataSkinObject> Make(const String& name) {
    return std::make_unique<R>(name);
}
// The object type table of the description format, in its order.
const ObjectType kObjectTypes[] = {
    {L"menuitem", Make<TmnDataSkinMenuItem>},
    {L"mainmenubaritem", Make<TmnDataSkinMainMenuBarItem>},
    {L"stdbutton", Make<TmnDataSkinStdButton>},
    {L"mainmenubarbutton", Make<TmnDataSkinMainMenuBarButton>},
    {L"button", Make<TmnDataSkinButton>},
    {L"caption", Make<TmnDataSkinCaption>},
    {L"animate", Make<TmnDataSkinAnimate>},
    {L"userobject", Make<TmnDataUserObject>},
};
}  // namespace

std::unique_ptr<TmnDataSkinObject> CreateSkinObjectRecord(std::wstring_view type, const String& name) {
    for (const auto& t : kObjectTypes)
        if (type == t.keyword) return t.create(name);
    return nullptr;
}

const wchar_t* SkinObjectTypeKeyword(const TmnDataSkinObject& record) {
    std::wstring_view cls = record.ClassName();
    if (cls == L"TmnDataSkinMenuItem") return L"menuitem";
    if (cls == L"TmnDataSkinMainMenuBarItem") return L"mainmenubaritem";
    if (cls == L"TmnDataSkinStdButton") return L"stdbutton";
    if (cls == L"TmnDataSkinMainMenuBarButton") return L"mainmenubarbutton";
    if (cls == L"TmnDataSkinButton") return L"button";
    if (cls == L"TmnDataSkinCaption") return L"caption";
    if (cls == L"TmnDataSkinAnimate") return L"animate";
    if (cls == L"TmnDataUserObject") return L"userobject";
    return L"";
}

void TmnDataSkinPopupWindow::VisitFields(TSkinFieldVisitor& v) {
    v.Index(L"windowpictureindex", WindowPictureIndex);
    v.Index(L"maskpictureindex", MaskPictureIndex);
    v.Point(L"lefttoppoint", LeftTopPoint);
    v.Point(L"righttoppoint", RightTopPoint);
    v.Point(L"leftbottompoint", LeftBottomPoint);
    v.Point(L"rightbottompoint", RightBottomPoint);
    v.Rect(L"itemsrect", ItemsRect);
    v.Colour(L"scrollmarkercolor", ScrollMarkerColor, 0);
    v.Colour(L"scrollmarkeractivecolor", ScrollMarkerActiveColor, 0);
    v.Bool(L"leftstretch", LeftStretch);
    v.Bool(L"rightstretch", RightStretch);
    v.Bool(L"topstretch", TopStretch);
    v.Bool(L"bottomstretch", BottomStretch);
    v.Bool(L"stretcheffect", StretchEffect);
    v.StretchType(L"stretchtype", StretchType);
}

void TmnDataSkinHintWindow::VisitFields(TSkinFieldVisitor& v) {
    v.Index(L"windowpictureindex", WindowPictureIndex);
    v.Index(L"maskpictureindex", MaskPictureIndex);
    v.Point(L"lefttoppoint", LeftTopPoint);
    v.Point(L"righttoppoint", RightTopPoint);
    v.Point(L"leftbottompoint", LeftBottomPoint);
    v.Point(L"rightbottompoint", RightBottomPoint);
    v.Rect(L"clientrect", ClientRect);
    v.Font(FontName, FontHeight, FontStyle, FontColor);
    v.Bool(L"leftstretch", LeftStretch);
    v.Bool(L"rightstretch", RightStretch);
    v.Bool(L"topstretch", TopStretch);
    v.Bool(L"bottomstretch", BottomStretch);
    v.Bool(L"stretcheffect", StretchEffect);
    v.StretchType(L"stretchtype", StretchType);
}

void TmnSkinColors::SetDefaultColors() {
    cBtnFace = DefaultBtnFace;
    cBtnText = DefaultBtnText;
    cWindow = DefaultWindow;
    cWindowText = DefaultWindowText;
    cHighLight = DefaultHighLight;
    cHighLightText = DefaultHighLightText;
    cBtnHighLight = DefaultBtnHighLight;
    cBtnShadow = DefaultBtnShadow;
}

void TmnSkinColors::VisitFields(TSkinFieldVisitor& v) {
    v.Colour(L"cbtnface", cBtnFace, DefaultBtnFace);
    v.Colour(L"cbtntext", cBtnText, DefaultBtnText);
    v.Colour(L"cwindow", cWindow, DefaultWindow);
    v.Colour(L"cwindowtext", cWindowText, DefaultWindowText);
    v.Colour(L"chighlight", cHighLight, DefaultHighLight);
    v.Colour(L"chighlighttext", cHighLightText, DefaultHighLightText);
    v.Colour(L"cbtnhighlight", cBtnHighLight, DefaultBtnHighLight);
    v.Colour(L"cbtnshadow", cBtnShadow, DefaultBtnShadow);
}

}  // namespace fn
