#include "skin/data/skin_data.h"

#include <algorithm>
#include <utility>

#include "platform/core/form_data.h"
#include "skin/data/skin_archive.h"
#include "skin/data/stored_skin.h"

namespace fn {

namespace {

TSkinMessageSink& Sink() {
    static TSkinMessageSink sink;
    return sink;
}

// A record list item key: a decimal index without sign or leading zeros.
bool ItemIndex(std::wstring_view key, int& index) {
    if (key.empty() || key.size() > 10 || (key.size() > 1 && key[0] == L'0')) return false;
    long long value = 0;
    for (wchar_t c : key) {
        if (c < L'0' || c > L'9') return false;
        value = value * 10 + (c - L'0');
    }
    if (value > INT32_MAX) return false;
    index = static_cast<int>(value);
    return true;
}

// The items "0" up to "count" less one of a record list, in index order, each with the value
// found for its key. Missing items create no record, so instead of counting up to the
// section's (untrusted) count this walks the entries that exist; the result is the same.
std::vector<std::wstring_view> RecordListItems(const TMemIniFile& ini, std::wstring_view section) {
    const int count = ini.ReadInteger(section, L"count", 0);
    const auto entries = ini.SectionEntries(section);
    std::vector<std::pair<int, std::wstring_view>> found;
    if (count < 1 || entries.empty()) return {};
    for (const TMemIniFile::Entry& e : entries) {
        int index;
        if (e.hasValue && ItemIndex(e.key, index) && index < count) found.emplace_back(index, e.value);
    }
    // In index order; of two entries with one key the first wins.
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    found.erase(std::unique(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
                found.end());
    std::vector<std::wstring_view> items;
    for (const auto& f : found) items.push_back(f.second);
    return items;
}

}  // namespace

// ---- frame geometry ----

void TmnSkinFormInfo::VisitFrameKeys(TSkinFieldVisitor& v) {
    v.Point(L"lefttoppoint", LeftTopPoint);
    v.Point(L"righttoppoint", RightTopPoint);
    v.Point(L"leftbottompoint", LeftBottomPoint);
    v.Point(L"rightbottompoint", RightBottomPoint);
    v.Rect(L"clientrect", ClientRect);
    v.Index(L"bgpictureindex", BgPictureIndex);
    v.Index(L"mdibgpictureindex", MDIBgPictureIndex);
    v.Bool(L"leftstretch", LeftStretch);
    v.Bool(L"rightstretch", RightStretch);
    v.Bool(L"topstretch", TopStretch);
    v.Bool(L"bottomstretch", BottomStretch);
    v.Bool(L"stretcheffect", StretchEffect);
    v.StretchType(L"stretchtype", StretchType);
    v.Bool(L"mdibgstretcheffect", MDIBgStretchEffect);
    v.StretchType(L"mdibgstretchtype", MDIBgStretchType);
    v.Rect(L"maskrectarea", MaskRectArea);
    v.Point(L"hittestlefttoppoint", HitTestLeftTopPoint);
    v.Point(L"hittestrighttoppoint", HitTestRightTopPoint);
    v.Point(L"hittestleftbottompoint", HitTestLeftBottomPoint);
    v.Point(L"hittestrightbottompoint", HitTestRightBottomPoint);
}

void TmnSkinFormInfo::VisitCaptionKeys(TSkinFieldVisitor& v) {
    v.Rect(L"buttonsrect", ButtonsRect);
    v.Rect(L"captionrect", CaptionRect);
    v.Integer(L"buttonsoffset", ButtonsOffset, 0);
    v.Bool(L"buttonsinleft", ButtonsInLeft);
    v.Bool(L"mainmenupopupup", MainMenuPopupUp);
    v.Integer(L"borderwidth", BorderWidth, 0);
    v.Integer(L"formminwidth", FormMinWidth, 0);
    v.Bool(L"mditabstransparent", MDITabsTransparent);
    v.Bool(L"mainmenubartransparent", MainMenuBarTransparent);
    v.Bool(L"autorenderinginactiveimage", AutoRenderingInactiveImage);
    v.InactiveEffect(L"inactiveeffect", InactiveEffect);
}

void TmnSkinFormInfo::LoadFromIni(const TMemIniFile& ini, bool hasMask) {
    TSkinFieldReader reader(ini, L"FORMINFO");
    VisitFrameKeys(reader);
    if (hasMask) {
        // The mask shapes at least the whole client area.
        if (MaskRectArea.IsEmpty()) {
            MaskRectArea = ClientRect;
        } else {
            MaskRectArea.Left = std::min(MaskRectArea.Left, ClientRect.Left);
            MaskRectArea.Top = std::min(MaskRectArea.Top, ClientRect.Top);
            MaskRectArea.Right = std::max(MaskRectArea.Right, ClientRect.Right);
            MaskRectArea.Bottom = std::max(MaskRectArea.Bottom, ClientRect.Bottom);
        }
        auto defaultTo = [](TSkinPoint& hitTest, const TSkinPoint& corner) {
            if (hitTest.IsUnset()) hitTest = corner;
        };
        defaultTo(HitTestLeftTopPoint, LeftTopPoint);
        defaultTo(HitTestRightTopPoint, RightTopPoint);
        defaultTo(HitTestLeftBottomPoint, LeftBottomPoint);
        defaultTo(HitTestRightBottomPoint, RightBottomPoint);
    }
    VisitCaptionKeys(reader);
    // The nine frame parts never reach into the client rectangle: corner points move onto it.
    if (RightBottomPoint.X != LeftTopPoint.X && RightBottomPoint.Y != LeftTopPoint.Y) {
        const TSkinRect& c = ClientRect;
        LeftTopPoint = {std::max(LeftTopPoint.X, c.Left), std::max(LeftTopPoint.Y, c.Top)};
        RightTopPoint = {std::min(RightTopPoint.X, c.Right), std::max(RightTopPoint.Y, c.Top)};
        LeftBottomPoint = {std::max(LeftBottomPoint.X, c.Left), std::min(LeftBottomPoint.Y, c.Bottom)};
        RightBottomPoint = {std::min(RightBottomPoint.X, c.Right), std::min(RightBottomPoint.Y, c.Bottom)};
    }
}

// ---- manager ----

TmnSkinData::TmnSkinData(TComponent* owner) : TComponent(owner) {}

TmnSkinData::~TmnSkinData() {
    empty_ = true;
    ClearRecords();
}

void TmnSkinData::SetCompressedStoredSkin(TmnCompressedStoredSkin* skin) {
    SetReference(storedSkin_, skin);
    if (!skin) return;
    if (!IsDesigning()) LoadFromCompressedStoredSkin(*skin);
}

void TmnSkinData::SetResourceStrData(TmnResourceStrData* strings) {
    SetReference(strings_, strings);
    if (!IsDesigning()) SendSkinMessage(MSG_STRINGS_CHANGED);
}

void TmnSkinData::Notification(TComponent* component, Operation operation) {
    TComponent::Notification(component, operation);
    if (operation != Operation::Remove) return;
    ReleaseReference(storedSkin_, component);
    ReleaseReference(strings_, component);
}

bool TmnSkinData::ReadProperty(const String& name, const FormValue& value, TReader& reader) {
    if (SameText(name, L"EnableSkinEffects")) {
        enableSkinEffects_ = value.AsBool();
        return true;
    }
    if (SameText(name, L"CompressedStoredSkin")) {
        reader.FixupReference(value, [this](TComponent* c) {
            auto* skin = dynamic_cast<TmnCompressedStoredSkin*>(c);
            if (c && !skin) throw EReadError(L"CompressedStoredSkin: " + c->Name() + L" ist kein gespeicherter Skin");
            SetCompressedStoredSkin(skin);
        });
        return true;
    }
    if (SameText(name, L"ResourceStrData")) {
        reader.FixupReference(value, [this](TComponent* c) {
            auto* strings = dynamic_cast<TmnResourceStrData*>(c);
            if (c && !strings) throw EReadError(L"ResourceStrData: " + c->Name() + L" ist keine Textsammlung");
            SetResourceStrData(strings);
        });
        return true;
    }
    return TComponent::ReadProperty(name, value, reader);
}

const TBitmapData* TmnSkinData::ActivePicture(int index) const {
    if (index < 0 || index >= static_cast<int>(activePictures_.size())) return nullptr;
    return &activePictures_[static_cast<size_t>(index)];
}

int TmnSkinData::GetObjectIndex(std::wstring_view name) const {
    for (size_t i = 0; i < objects_.size(); ++i)
        if (objects_[i]->SectionName == name) return static_cast<int>(i);
    return -1;
}

int TmnSkinData::GetControlIndex(std::wstring_view name) const {
    for (size_t i = 0; i < controls_.size(); ++i)
        if (controls_[i]->SectionName == name) return static_cast<int>(i);
    return -1;
}

void TmnSkinData::SendSkinMessage(unsigned message) {
    if (Sink()) Sink()(*this, message);
}

void TmnSkinData::ClearRecords() {
    objects_.clear();
    controls_.clear();
    activePictures_.clear();
    popupWindow_.WindowPictureIndex = -1;
    hintWindow_.WindowPictureIndex = -1;
    activePictureNames_.clear();
    skinColors_.SetDefaultColors();
}

void TmnSkinData::ClearAll() {
    ClearRecords();
    picture_.Clear();
    mask_.Clear();
    inactivePicture_.Clear();
    pictureName_.clear();
    maskName_.clear();
    empty_ = true;
}

void TmnSkinData::LoadFromCompressedStoredSkin(TmnCompressedStoredSkin& skin) {
    if (skin.IsEmpty()) return;
    empty_ = true;
    loading_ = true;
    SendSkinMessage(MSG_SKIN_BEFORE_CHANGE);
    ClearAll();
    // Kept alive here: a handler of the load's messages may unpack another skin.
    const std::shared_ptr<const TMemoryStream> unpacked = skin.Unpacked();
    TBytesStream archive(unpacked->Memory(), unpacked->Length());
    ReadArchive(archive);
}

void TmnSkinData::LoadFromArchive(TStream& archive) {
    empty_ = true;
    loading_ = true;
    SendSkinMessage(MSG_SKIN_BEFORE_CHANGE);
    ClearAll();
    archive.SetPosition(0);
    ReadArchive(archive);
}

void TmnSkinData::ReadArchive(TStream& archive) {
    int version = 0;
    // A newer format leaves the manager cleared and loading.
    if (!ReadArchivePictures(archive, version, picture_, inactivePicture_, mask_, activePictures_)) return;

    TMemIniFile ini;
    ReadArchiveDescription(archive, ini);
    ReadDescription(ini);

    empty_ = false;
    SendSkinMessage(MSG_SKIN_CHANGE);
    loading_ = false;
    SendSkinMessage(MSG_SKIN_AFTER_CHANGE);
}

void TmnSkinData::ReadDescription(const TMemIniFile& ini) {
    skinName_ = ini.ReadString(L"VERSION", L"skinname", L"");
    skinAuthor_ = ini.ReadString(L"VERSION", L"skinauthor", L"");
    authorEMail_ = ini.ReadString(L"VERSION", L"authoremail", L"");
    authorURL_ = ini.ReadString(L"VERSION", L"authorurl", L"");
    skinComments_ = ini.ReadString(L"VERSION", L"skincomments", L"");

    pictureName_ = ini.ReadString(L"PICTURES", L"picture", L"");
    inactivePictureName_ = ini.ReadString(L"PICTURES", L"inactivepicture", L"");
    maskName_ = ini.ReadString(L"PICTURES", L"mask", L"");
    ReadNameList(ini, L"PICTURES", L"activepictures", activePictureNames_);

    TmnSkinFormInfo::LoadFromIni(ini, !maskName_.empty());

    popupWindow_.LoadFromIni(ini);
    hintWindow_.LoadFromIni(ini);
    skinColors_.LoadFromIni(ini);

    ReadObjectList(ini);
    ReadControlList(ini);
}

void TmnSkinData::ReadObjectList(const TMemIniFile& ini) {
    for (std::wstring_view item : RecordListItems(ini, L"SKINOBJECTS")) {
        String name, type;
        SplitRecordEntry(item, name, type);
        auto record = CreateSkinObjectRecord(type, name);
        if (!record) continue;
        objects_.push_back(std::move(record));
        objects_.back()->LoadFromIni(ini);
    }
}

void TmnSkinData::ReadControlList(const TMemIniFile& ini) {
    for (std::wstring_view item : RecordListItems(ini, L"SKINCONTROLS")) {
        String name, type;
        SplitRecordEntry(item, name, type);
        auto record = CreateSkinControlRecord(type, name);
        if (!record) continue;
        controls_.push_back(std::move(record));
        controls_.back()->LoadFromIni(ini);
    }
}

TSkinMessageSink SetSkinMessageSink(TSkinMessageSink sink) { return std::exchange(Sink(), std::move(sink)); }

String SkinLibraryText(const TmnSkinData* skinData, std::wstring_view key) {
    if (skinData && skinData->ResourceStrData()) return skinData->ResourceStrData()->GetResStr(key);
    return BuiltInSkinText(key);
}

uint8_t SkinLibraryCharSet(const TmnSkinData* skinData, uint8_t ownCharSet) {
    if (skinData && skinData->ResourceStrData()) return skinData->ResourceStrData()->CharSet();
    return ownCharSet;
}

void TmnSkinData::Register() {
    RegisterComponentClass(L"TmnSkinData", [](TComponent* owner) { return new TmnSkinData(owner); });
}

}  // namespace fn
