#include "skin/data/control_records.h"

namespace fn {

namespace {

// A few writers emit keys in another place than the readers take them (and the button
// control writes keys it never reads); VisitFields asks which pass it serves.
bool Writing(TSkinFieldVisitor& v) { return dynamic_cast<TSkinFieldWriter*>(&v) != nullptr; }

}  // namespace

void TSkinUpDownButtons::Visit(TSkinFieldVisitor& v) {
    v.Rect(L"upbuttonrect", UpButtonRect);
    v.Rect(L"activeupbuttonrect", ActiveUpButtonRect);
    v.Rect(L"downupbuttonrect", DownUpButtonRect);
    v.Rect(L"downbuttonrect", DownButtonRect);
    v.Rect(L"activedownbuttonrect", ActiveDownButtonRect);
    v.Rect(L"downdownbuttonrect", DownDownButtonRect);
}

void TmnDataSkinControl::VisitFields(TSkinFieldVisitor& v) {
    v.Index(L"pictureindex", PictureIndex);
    v.Index(L"maskpictureindex", MaskPictureIndex);
    v.Rect(L"skinrect", SkinRect);
}

void TmnDataSkinCustomControl::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinControl::VisitFields(v);
    v.Point(L"lefttoppoint", LeftTopPoint);
    v.Point(L"righttoppoint", RightTopPoint);
    v.Point(L"leftbottompoint", LeftBottomPoint);
    v.Point(L"rightbottompoint", RightBottomPoint);
    v.Rect(L"clientrect", ClientRect);
    v.Bool(L"leftstretch", LeftStretch);
    v.Bool(L"topstretch", TopStretch);
    v.Bool(L"rightstretch", RightStretch);
    v.Bool(L"bottomstretch", BottomStretch);
    v.Bool(L"stretcheffect", StretchEffect);
    v.StretchType(L"stretchtype", StretchType);
}

void TmnDataSkinPanelControl::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinCustomControl::VisitFields(v);
    v.Index(L"bgpictureindex", BgPictureIndex);
    v.Rect(L"captionrect", CaptionRect);
    v.Alignment(L"alignment", Alignment);
    TSkinFontFields::Visit(v);
    v.Rect(L"checkimagerect", CheckImageRect);
    v.Rect(L"uncheckimagerect", UnCheckImageRect);
    v.Rect(L"markframerect", MarkFrameRect);
    v.Rect(L"framerect", FrameRect);
    v.Rect(L"frametextrect", FrameTextRect);
    v.Size(L"frameleftoffset", FrameLeftOffset, 0);
    v.Size(L"framerightoffset", FrameRightOffset, 0);
    v.Rect(L"gripperrect", GripperRect);
    v.Bool(L"grippertransparent", GripperTransparent);
    v.Colour(L"grippertransparentcolor", GripperTransparentColor, 0);
}

void TmnDataSkinExPanelControl::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinCustomControl::VisitFields(v);
    v.Rect(L"rollhskinrect", RollHSkinRect);
    v.Rect(L"rollvskinrect", RollVSkinRect);
    v.Size(L"rollleftoffset", RollLeftOffset, 0);
    v.Size(L"rollrightoffset", RollRightOffset, 0);
    v.Size(L"rolltopoffset", RollTopOffset, 0);
    v.Size(L"rollbottomoffset", RollBottomOffset, 0);
    v.Rect(L"rollvcaptionrect", RollVCaptionRect);
    v.Rect(L"rollhcaptionrect", RollHCaptionRect);
    v.Rect(L"closebuttonrect", CloseButtonRect);
    v.Rect(L"closebuttonactiverect", CloseButtonActiveRect);
    v.Rect(L"closebuttondownrect", CloseButtonDownRect);
    v.Rect(L"hrollbuttonrect", HRollButtonRect);
    v.Rect(L"hrollbuttonactiverect", HRollButtonActiveRect);
    v.Rect(L"hrollbuttondownrect", HRollButtonDownRect);
    v.Rect(L"hrestorebuttonrect", HRestoreButtonRect);
    v.Rect(L"hrestorebuttonactiverect", HRestoreButtonActiveRect);
    v.Rect(L"hrestorebuttondownrect", HRestoreButtonDownRect);
    v.Rect(L"vrollbuttonrect", VRollButtonRect);
    v.Rect(L"vrollbuttonactiverect", VRollButtonActiveRect);
    v.Rect(L"vrollbuttondownrect", VRollButtonDownRect);
    v.Rect(L"vrestorebuttonrect", VRestoreButtonRect);
    v.Rect(L"vrestorebuttonactiverect", VRestoreButtonActiveRect);
    v.Rect(L"vrestorebuttondownrect", VRestoreButtonDownRect);
    v.Rect(L"captionrect", CaptionRect);
    TSkinFontFields::Visit(v);
    v.Bool(L"buttonstransparent", ButtonsTransparent);
    v.Colour(L"buttonstransparentcolor", ButtonsTransparentColor, 0);
}

void TmnDataSkinControlBar::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinCustomControl::VisitFields(v);
    v.Rect(L"itemrect", ItemRect);
    v.Index(L"bgpictureindex", BgPictureIndex);
    v.Rect(L"hgriprect", HGripRect);
    v.Rect(L"vgriprect", VGripRect);
    v.Size(L"gripoffset1", GripOffset1, 0);
    v.Size(L"gripoffset2", GripOffset2, 0);
    const bool writing = Writing(v);
    if (!writing) v.Bool(L"itemstretcheffect", ItemStretchEffect);
    v.Size(L"itemoffset1", ItemOffset1, 3);
    v.Size(L"itemoffset2", ItemOffset2, 3);
    if (writing) v.Bool(L"itemstretcheffect", ItemStretchEffect);
    v.Bool(L"itemtransparent", ItemTransparent);
    v.Colour(L"itemtransparentcolor", ItemTransparentColor, 0);
    v.Bool(L"griptransparent", GripTransparent);
    v.Colour(L"griptransparentcolor", GripTransparentColor, 0);
}

void TmnDataSkinScrollBoxControl::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinCustomControl::VisitFields(v);
    v.Index(L"bgpictureindex", BgPictureIndex);
}

void TmnDataSkinLabelControl::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinCustomControl::VisitFields(v);
    TSkinFontFields::Visit(v);
}

void TmnDataSkinSplitterControl::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinCustomControl::VisitFields(v);
    v.Rect(L"gripperrect", GripperRect);
    v.Bool(L"grippertransparent", GripperTransparent);
    v.Colour(L"grippertransparentcolor", GripperTransparentColor, 0);
}

void TmnDataSkinGaugeControl::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinCustomControl::VisitFields(v);
    v.Rect(L"progressarea", ProgressArea);
    v.Rect(L"progressrect", ProgressRect);
    v.Size(L"beginoffset", BeginOffset, 0);
    v.Size(L"endoffset", EndOffset, 0);
    v.Bool(L"vertical", Vertical);
    TSkinFontFields::Visit(v);
    v.Bool(L"progresstransparent", ProgressTransparent);
    v.Colour(L"progresstransparentcolor", ProgressTransparentColor, 0);
    v.Bool(L"progressstretch", ProgressStretch);
}

void TmnDataSkinTrackBarControl::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinCustomControl::VisitFields(v);
    v.Rect(L"activeskinrect", ActiveSkinRect);
    v.Rect(L"trackarea", TrackArea);
    v.Rect(L"buttonrect", ButtonRect);
    v.Rect(L"activebuttonrect", ActiveButtonRect);
    v.Bool(L"vertical", Vertical);
    v.Bool(L"buttontransparent", ButtonTransparent);
    v.Colour(L"buttontransparentcolor", ButtonTransparentColor, 0);
}

void TmnDataSkinScrollBarControl::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinCustomControl::VisitFields(v);
    v.Rect(L"trackarea", TrackArea);
    TSkinUpDownButtons::Visit(v);
    v.Rect(L"thumbrect", ThumbRect);
    v.Rect(L"activethumbrect", ActiveThumbRect);
    v.Rect(L"downthumbrect", DownThumbRect);
    v.Size(L"thumboffset1", ThumbOffset1, 0);
    v.Size(L"thumboffset2", ThumbOffset2, 0);
    v.Bool(L"thumbtransparent", ThumbTransparent);
    v.Colour(L"thumbtransparentcolor", ThumbTransparentColor, 0);
    v.Rect(L"glyphrect", GlyphRect);
    v.Rect(L"activeglyphrect", ActiveGlyphRect);
    v.Rect(L"downglyphrect", DownGlyphRect);
}

void TmnDataSkinUpDownControl::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinCustomControl::VisitFields(v);
    TSkinUpDownButtons::Visit(v);
}

void TmnDataSkinUpDownControl::ClearFrame() {
    LeftTopPoint = RightTopPoint = LeftBottomPoint = RightBottomPoint = TSkinPoint{};
    ClientRect = TSkinRect{};
}

void TmnDataSkinUpDownControl::LoadFromIni(const TMemIniFile& ini) {
    TmnDataSkinCustomControl::LoadFromIni(ini);
    ClearFrame();
}

void TmnDataSkinUpDownControl::SaveToIni(TMemIniFile& ini) {
    ClearFrame();
    TmnDataSkinCustomControl::SaveToIni(ini);
}

void TmnDataSkinSpinEditControl::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinCustomControl::VisitFields(v);
    v.Rect(L"activeskinrect", ActiveSkinRect);
    TSkinFontFields::Visit(v);
    v.Colour(L"activefontcolor", ActiveFontColor, 0);
    v.Colour(L"disabledfontcolor", DisabledFontColor, 0);
    TSkinUpDownButtons::Visit(v);
}

void TmnDataSkinEditControl::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinCustomControl::VisitFields(v);
    v.Rect(L"activeskinrect", ActiveSkinRect);
    TSkinFontFields::Visit(v);
    v.Colour(L"disabledfontcolor", DisabledFontColor, 0);
    v.Colour(L"activefontcolor", ActiveFontColor, 0);
    v.Rect(L"buttonrect", ButtonRect);
    v.Rect(L"activebuttonrect", ActiveButtonRect);
    v.Rect(L"downbuttonrect", DownButtonRect);
    v.Rect(L"unenabledbuttonrect", UnEnabledButtonRect);
}

void TmnDataSkinMemoControl::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinEditControl::VisitFields(v);
    v.Colour(L"bgcolor", BgColor, 0);
    v.Colour(L"activebgcolor", ActiveBgColor, 0);
}

void TmnDataSkinListBox::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinCustomControl::VisitFields(v);
    v.Rect(L"itemrect", ItemRect);
    v.Rect(L"activeitemrect", ActiveItemRect);
    v.Rect(L"focusitemrect", FocusItemRect);
    v.Size(L"itemleftoffset", ItemLeftOffset, 0);
    v.Size(L"itemrightoffset", ItemRightOffset, 0);
    v.Rect(L"itemtextrect", ItemTextRect);
    TSkinFontFields::Visit(v);
    v.Colour(L"activefontcolor", ActiveFontColor, 0);
    v.Colour(L"focusfontcolor", FocusFontColor, 0);
    v.Rect(L"captionrect", CaptionRect);
    v.Text(L"captionfontname", CaptionFontName, L"Arial");
    v.Size(L"captionfontheight", CaptionFontHeight, 14);
    v.FontStyles(L"captionfontstyle", CaptionFontStyle);
    v.Colour(L"captionfontcolor", CaptionFontColor, 0);
    TSkinUpDownButtons::Visit(v);
    v.Rect(L"checkbuttonrect", CheckButtonRect);
    v.Rect(L"activecheckbuttonrect", ActiveCheckButtonRect);
    v.Rect(L"downcheckbuttonrect", DownCheckButtonRect);
    v.Text(L"vscrollbarname", VScrollBarName, L"vscrollbar");
    v.Text(L"hscrollbarname", HScrollBarName, L"hscrollbar");
    v.Text(L"bothhscrollbarname", BothHScrollBarName, L"bothhscrollbar");
    v.Bool(L"showfocus", ShowFocus);
}

void TmnDataSkinCheckListBox::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinListBox::VisitFields(v);
    v.Rect(L"itemcheckrect", ItemCheckRect);
    if (Writing(v)) {
        v.Rect(L"uncheckimagerect", UnCheckImageRect);
        v.Rect(L"checkimagerect", CheckImageRect);
    } else {
        v.Rect(L"checkimagerect", CheckImageRect);
        v.Rect(L"uncheckimagerect", UnCheckImageRect);
    }
}

void TmnDataSkinComboBox::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinCustomControl::VisitFields(v);
    v.Rect(L"activeskinrect", ActiveSkinRect);
    v.Rect(L"itemrect", ItemRect);
    v.Rect(L"activeitemrect", ActiveItemRect);
    v.Rect(L"focusitemrect", FocusItemRect);
    v.Size(L"itemleftoffset", ItemLeftOffset, 0);
    v.Size(L"itemrightoffset", ItemRightOffset, 0);
    v.Rect(L"itemtextrect", ItemTextRect);
    TSkinFontFields::Visit(v);
    v.Colour(L"focusfontcolor", FocusFontColor, 0);
    v.Colour(L"activefontcolor", ActiveFontColor, 0);
    const bool writing = Writing(v);
    if (!writing) v.Text(L"listboxname", ListBoxName, L"");
    v.Rect(L"buttonrect", ButtonRect);
    v.Rect(L"activebuttonrect", ActiveButtonRect);
    v.Rect(L"downbuttonrect", DownButtonRect);
    v.Rect(L"unenabledbuttonrect", UnEnabledButtonRect);
    if (writing) v.Text(L"listboxname", ListBoxName, L"");
    v.Bool(L"itemstretcheffect", ItemStretchEffect);
    v.Bool(L"focusitemstretcheffect", FocusItemStretchEffect);
    v.Bool(L"showfocus", ShowFocus);
}

void TmnDataSkinCheckRadioControl::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinCustomControl::VisitFields(v);
    TSkinFontFields::Visit(v);
    const bool writing = Writing(v);
    if (writing) v.Colour(L"framefontcolor", FrameFontColor, 0);
    v.Colour(L"activefontcolor", ActiveFontColor, 0);
    v.Colour(L"unenabledfontcolor", UnEnabledFontColor, 0);
    if (!writing) v.Colour(L"framefontcolor", FrameFontColor, 0);
    v.Rect(L"activeskinrect", ActiveSkinRect);
    v.Rect(L"checkimagearea", CheckImageArea);
    v.Rect(L"textarea", TextArea);
    v.Rect(L"checkimagerect", CheckImageRect);
    v.Rect(L"uncheckimagerect", UnCheckImageRect);
    v.Rect(L"activecheckimagerect", ActiveCheckImageRect);
    v.Rect(L"activeuncheckimagerect", ActiveUnCheckImageRect);
    v.Rect(L"unenabledcheckimagerect", UnEnabledCheckImageRect);
    v.Rect(L"unenableduncheckimagerect", UnEnabledUnCheckImageRect);
    v.Bool(L"morphing", Morphing);
    v.MorphKind(L"morphkind", MorphKind);
}

void TmnDataSkinButtonControl::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinCustomControl::VisitFields(v);
    TSkinFontFields::Visit(v);
    v.Colour(L"activefontcolor", ActiveFontColor, 0);
    v.Colour(L"downfontcolor", DownFontColor, 0);
    v.Colour(L"disabledfontcolor", DisabledFontColor, 0);
    v.Rect(L"activeskinrect", ActiveSkinRect);
    v.Rect(L"downskinrect", DownSkinRect);
    v.Rect(L"disabledskinrect", DisabledSkinRect);
    v.Bool(L"morphing", Morphing);
    v.MorphKind(L"morphkind", MorphKind);
    v.Rect(L"animateskinrect", AnimateSkinRect);
    v.Integer(L"framecount", FrameCount, 0);
    v.Integer(L"animateinterval", AnimateInterval, 25);
    v.Bool(L"showfocus", ShowFocus);
    v.Strip(StripCutting(AnimateSkinRect, FrameCount, SkinRect));
    if (Writing(v)) {
        v.Rect(L"menumarkerflatrect", MenuMarkerFlatRect);
        v.Rect(L"menumarkerrect", MenuMarkerRect);
        v.Rect(L"menumarkeractiverect", MenuMarkerActiveRect);
        v.Rect(L"menumarkerdownrect", MenuMarkerDownRect);
        v.Colour(L"menumarkertransparentcolor", MenuMarkerTransparentColor, 0);
    }
}

void TmnDataSkinMenuButtonControl::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinButtonControl::VisitFields(v);
    v.Rect(L"trackbuttonrect", TrackButtonRect);
}

void TmnDataSkinMainMenuBar::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinControl::VisitFields(v);
    v.Rect(L"itemsrect", ItemsRect);
    v.Text(L"menubaritem", MenuBarItem, L"");
    v.Text(L"closebutton", CloseButton, L"");
    v.Text(L"minbutton", MinButton, L"");
    v.Text(L"maxbutton", MaxButton, L"");
    v.Text(L"sysmenubutton", SysMenuButton, L"");
    v.Colour(L"trackmarkcolor", TrackMarkColor, 0);
    v.Colour(L"trackmarkactivecolor", TrackMarkActiveColor, 0);
    v.Bool(L"stretcheffect", StretchEffect);
    v.Bool(L"itemtransparent", ItemTransparent);
}

void TmnDataSkinTabControl::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinControl::VisitFields(v);
    v.Rect(L"tabrect", TabRect);
    v.Rect(L"activetabrect", ActiveTabRect);
    v.Rect(L"focustabrect", FocusTabRect);
    v.Rect(L"mouseintabrect", MouseInTabRect);
    v.Rect(L"clientrect", ClientRect);
    v.Index(L"bgpictureindex", BgPictureIndex);
    v.Point(L"lefttoppoint", LeftTopPoint);
    v.Point(L"righttoppoint", RightTopPoint);
    v.Point(L"leftbottompoint", LeftBottomPoint);
    v.Point(L"rightbottompoint", RightBottomPoint);
    v.Size(L"tableftoffset", TabLeftOffset, 0);
    v.Size(L"tabrightoffset", TabRightOffset, 0);
    v.Rect(L"tabsbgrect", TabsBgRect);
    v.Bool(L"tabstretcheffect", TabStretchEffect);
    v.Bool(L"leftstretch", LeftStretch);
    v.Bool(L"topstretch", TopStretch);
    v.Bool(L"rightstretch", RightStretch);
    v.Bool(L"bottomstretch", BottomStretch);
    v.Bool(L"stretcheffect", StretchEffect);
    v.StretchType(L"stretchtype", StretchType);
    TSkinFontFields::Visit(v);
    v.Colour(L"activefontcolor", ActiveFontColor, 0);
    v.Colour(L"focusfontcolor", FocusFontColor, 0);
    v.Colour(L"mouseinfontcolor", MouseInFontColor, 0);
    v.Text(L"updown", UpDown, L"");
    v.Bool(L"showfocus", ShowFocus);
    v.Size(L"focusoffsetx", FocusOffsetX, 0);
    v.Size(L"focusoffsety", FocusOffsetY, 0);
}

void TmnDataSkinGridControl::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinControl::VisitFields(v);
    v.Rect(L"fixedcellrect", FixedCellRect);
    v.Rect(L"selectcellrect", SelectCellRect);
    v.Rect(L"focuscellrect", FocusCellRect);
    v.Size(L"fixedcellleftoffset", FixedCellLeftOffset, 0);
    v.Size(L"fixedcellrightoffset", FixedCellRightOffset, 0);
    v.Rect(L"fixedcelltextrect", FixedCellTextRect);
    v.Size(L"cellleftoffset", CellLeftOffset, 0);
    v.Size(L"cellrightoffset", CellRightOffset, 0);
    v.Rect(L"celltextrect", CellTextRect);
    v.Colour(L"linescolor", LinesColor, 0);
    v.Colour(L"bgcolor", BgColor, 0);
    TSkinFontFields::Visit(v);
    v.Colour(L"selectfontcolor", SelectFontColor, 0);
    v.Colour(L"focusfontcolor", FocusFontColor, 0);
    v.Text(L"fixedfontname", FixedFontName, L"Arial");
    v.Size(L"fixedfontheight", FixedFontHeight, 14);
    v.FontStyles(L"fixedfontstyle", FixedFontStyle);
    v.Colour(L"fixedfontcolor", FixedFontColor, 0);
    v.Bool(L"cellstretcheffect", CellStretchEffect);
    v.Bool(L"fixedcellstretcheffect", FixedCellStretchEffect);
    v.Bool(L"showfocus", ShowFocus);
}

void TmnDataSkinTreeView::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinControl::VisitFields(v);
    TSkinFontFields::Visit(v);
    v.Colour(L"bgcolor", BgColor, 0);
}

void TmnDataSkinListView::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinControl::VisitFields(v);
    TSkinFontFields::Visit(v);
    v.Colour(L"bgcolor", BgColor, 0);
}

void TmnDataSkinRichEdit::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinControl::VisitFields(v);
    TSkinFontFields::Visit(v);
    v.Colour(L"bgcolor", BgColor, 0);
}

void TmnDataSkinStdLabelControl::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinControl::VisitFields(v);
    TSkinFontFields::Visit(v);
    v.Colour(L"activefontcolor", ActiveFontColor, 0xFF0000);
}

void TmnDataSkinSlider::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinControl::VisitFields(v);
    v.Colour(L"bgcolor", BgColor, 0);
    v.Rect(L"hrulerrect", HRulerRect);
    v.Rect(L"hthumbrect", HThumbRect);
    v.Rect(L"vrulerrect", VRulerRect);
    v.Rect(L"vthumbrect", VThumbRect);
    v.Size(L"edgesize", EdgeSize, 0);
    v.Colour(L"pointscolor", PointsColor, 0);
}

void TmnDataSkinBevel::VisitFields(TSkinFieldVisitor& v) {
    TmnDataSkinControl::VisitFields(v);
    v.Colour(L"lightcolor", LightColor, 0);
    v.Colour(L"darkcolor", DarkColor, 0);
}

namespace {

template <class T>
std::unique_ptr<TmnDataSkinControl> Make(String name) {
    return std::make_unique<T>(std::move(name));
}

constexpr TSkinControlType kControlTypes[] = {
    {L"panel", Make<TmnDataSkinPanelControl>},
    {L"expanel", Make<TmnDataSkinExPanelControl>},
    {L"menubutton", Make<TmnDataSkinMenuButtonControl>},
    {L"button", Make<TmnDataSkinButtonControl>},
    {L"checkradio", Make<TmnDataSkinCheckRadioControl>},
    {L"gauge", Make<TmnDataSkinGaugeControl>},
    {L"splitter", Make<TmnDataSkinSplitterControl>},
    {L"trackbar", Make<TmnDataSkinTrackBarControl>},
    {L"label", Make<TmnDataSkinLabelControl>},
    {L"stdlabel", Make<TmnDataSkinStdLabelControl>},
    {L"updown", Make<TmnDataSkinUpDownControl>},
    {L"grid", Make<TmnDataSkinGridControl>},
    {L"tab", Make<TmnDataSkinTabControl>},
    {L"mainmenubar", Make<TmnDataSkinMainMenuBar>},
    {L"controlbar", Make<TmnDataSkinControlBar>},
    {L"memo", Make<TmnDataSkinMemoControl>},
    {L"edit", Make<TmnDataSkinEditControl>},
    {L"checklistbox", Make<TmnDataSkinCheckListBox>},
    {L"listbox", Make<TmnDataSkinListBox>},
    {L"combobox", Make<TmnDataSkinComboBox>},
    {L"scrollbar", Make<TmnDataSkinScrollBarControl>},
    {L"spinedit", Make<TmnDataSkinSpinEditControl>},
    {L"scrollbox", Make<TmnDataSkinScrollBoxControl>},
    {L"treeview", Make<TmnDataSkinTreeView>},
    {L"bevel", Make<TmnDataSkinBevel>},
    {L"slider", Make<TmnDataSkinSlider>},
    {L"listview", Make<TmnDataSkinListView>},
    {L"richedit", Make<TmnDataSkinRichEdit>},
};

}  // namespace

std::span<const TSkinControlType> SkinControlTypes() { return kControlTypes; }

std::unique_ptr<TmnDataSkinControl> CreateSkinControlRecord(std::wstring_view type, String name) {
    for (const TSkinControlType& t : kControlTypes)
        if (t.keyword == type) return t.create(std::move(name));
    return nullptr;
}

}  // namespace fn
