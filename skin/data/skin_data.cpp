#include "skin/data/skin_data.h"

#include <algorithm>
#include <mutex>
#include <utility>

#include "platform/core/form_data.h"
#include "skin/data/skin_archive.h"
#include "skin/data/picture_scale.h"
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
    v.Size(L"buttonsoffset", ButtonsOffset, 0);
    v.Bool(L"buttonsinleft", ButtonsInLeft);
    v.Bool(L"mainmenupopupup", MainMenuPopupUp);
    v.Size(L"borderwidth", BorderWidth, 0);
    v.Size(L"formminwidth", FormMinWidth, 0);
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

// ---- decoded skins ----

std::shared_ptr<TmnDecodedSkin> TmnDecodedSkin::WithoutRecords() const {
    auto copy = std::make_shared<TmnDecodedSkin>();
    copy->ActivePictureNames = ActivePictureNames;
    copy->PictureName = PictureName;
    copy->InactivePictureName = InactivePictureName;
    copy->MaskName = MaskName;
    copy->SkinName = SkinName;
    copy->SkinAuthor = SkinAuthor;
    copy->AuthorEMail = AuthorEMail;
    copy->AuthorURL = AuthorURL;
    copy->SkinComments = SkinComments;
    copy->FormInfo = FormInfo;
    copy->PopupWindow = PopupWindow;
    copy->HintWindow = HintWindow;
    copy->SkinColors = SkinColors;
    return copy;
}

namespace {

// Reads one list section ("SKINOBJECTS", "SKINCONTROLS"): a record of each known type, in order.
template <class Records, class Create>
void ReadRecordList(const TMemIniFile& ini, const wchar_t* section, Create create, Records& records) {
    for (std::wstring_view item : RecordListItems(ini, section)) {
        String name, type;
        SplitRecordEntry(item, name, type);
        auto record = create(type, name);
        if (!record) continue;
        records.push_back(std::move(record));
        records.back()->LoadFromIni(ini);
    }
}

void ReadDescription(const TMemIniFile& ini, TmnDecodedSkin& skin) {
    skin.SkinName = ini.ReadString(L"VERSION", L"skinname", L"");
    skin.SkinAuthor = ini.ReadString(L"VERSION", L"skinauthor", L"");
    skin.AuthorEMail = ini.ReadString(L"VERSION", L"authoremail", L"");
    skin.AuthorURL = ini.ReadString(L"VERSION", L"authorurl", L"");
    skin.SkinComments = ini.ReadString(L"VERSION", L"skincomments", L"");

    skin.PictureName = ini.ReadString(L"PICTURES", L"picture", L"");
    skin.InactivePictureName = ini.ReadString(L"PICTURES", L"inactivepicture", L"");
    skin.MaskName = ini.ReadString(L"PICTURES", L"mask", L"");
    ReadNameList(ini, L"PICTURES", L"activepictures", skin.ActivePictureNames);

    skin.FormInfo.LoadFromIni(ini, !skin.MaskName.empty());

    skin.PopupWindow.LoadFromIni(ini);
    skin.HintWindow.LoadFromIni(ini);
    skin.SkinColors.LoadFromIni(ini);

    ReadRecordList(ini, L"SKINOBJECTS", CreateSkinObjectRecord, skin.Objects);
    ReadRecordList(ini, L"SKINCONTROLS", CreateSkinControlRecord, skin.Controls);
}

// The pictures of an archive, located but not decoded.
struct TArchivePictures {
    TBitmapRows Picture, InactivePicture, Mask;
    std::vector<TBitmapRows> ActivePictures;
};

// The pictures at the scale, each decoded straight to its size.
void DecodePictures(const TArchivePictures& rows, const TSkinScale& scale, TmnDecodedPictures& p) {
    p.Picture = ScalePicture(rows.Picture, scale);
    p.InactivePicture = ScalePicture(rows.InactivePicture, scale);
    p.Mask = ScalePicture(rows.Mask, scale);
    p.ActivePictures.clear();
    p.ActivePictures.reserve(rows.ActivePictures.size());
    for (const TBitmapRows& r : rows.ActivePictures) p.ActivePictures.push_back(ScalePicture(r, scale));
}

// Takes every coordinate and length of the records to skin.Dpi; returns the scale, built from
// the records' coordinates and strips and the pictures' sizes.
TSkinScale ScaleRecords(TmnDecodedSkin& skin, const TArchivePictures& rows) {
    auto visitAll = [&skin](TSkinFieldVisitor& v) {
        skin.FormInfo.VisitFrameKeys(v);
        skin.FormInfo.VisitCaptionKeys(v);
        skin.PopupWindow.VisitFields(v);
        skin.HintWindow.VisitFields(v);
        for (auto& r : skin.Objects) r->VisitFields(v);
        for (auto& r : skin.Controls) r->VisitFields(v);
    };
    TSkinScaleBuilder builder(skin.Dpi);
    for (const TBitmapRows* r : {&rows.Picture, &rows.InactivePicture, &rows.Mask})
        builder.AddPictureSize(r->Width(), r->Height());
    for (const TBitmapRows& r : rows.ActivePictures) builder.AddPictureSize(r.Width(), r.Height());
    visitAll(builder);
    const TSkinScale scale = builder.Build();
    if (!scale.Unscaled()) {
        TSkinFieldScaler scaler(scale);
        visitAll(scaler);
    }
    return scale;
}

// Reads the archive into skin at skin.Dpi; false for a newer format. The pictures' rows are
// located first and decoded once the description gives the scale, each straight to its scaled
// size. After an error the pictures located before it stay, unscaled, as does every record read.
bool ReadSkin(TStream& archive, TmnDecodedSkin& skin) {
    int version = 0;
    TArchivePictures rows;
    try {
        if (!ReadArchivePictures(archive, version, rows.Picture, rows.InactivePicture, rows.Mask, rows.ActivePictures))
            return false;
        TMemIniFile ini;
        ReadArchiveDescription(archive, ini);
        ReadDescription(ini, skin);
    } catch (...) {
        DecodePictures(rows, TSkinScale(), *skin.Pictures);
        throw;
    }
    DecodePictures(rows, ScaleRecords(skin, rows), *skin.Pictures);
    return true;
}

// The decoded skins alive in the process, each found by its archive bytes and DPI.
struct TSharedSkins {
    std::mutex lock;
    std::vector<std::weak_ptr<const TmnDecodedSkin>> skins;
};

TSharedSkins& SharedSkins() {
    static TSharedSkins shared;
    return shared;
}

bool SameBytes(const TMemoryStream& a, const TMemoryStream& b) {
    return &a == &b || (a.Length() == b.Length() && std::equal(a.Memory(), a.Memory() + a.Length(), b.Memory()));
}

std::shared_ptr<const TmnDecodedSkin> FindSharedSkin(const TMemoryStream& archive, int dpi) {
    TSharedSkins& shared = SharedSkins();
    std::lock_guard guard(shared.lock);
    std::erase_if(shared.skins, [](const auto& w) { return w.expired(); });
    for (const auto& w : shared.skins)
        if (auto skin = w.lock(); skin && skin->Dpi == dpi && SameBytes(*skin->Archive, archive)) return skin;
    return nullptr;
}

void ShareSkin(const std::shared_ptr<const TmnDecodedSkin>& skin) {
    TSharedSkins& shared = SharedSkins();
    std::lock_guard guard(shared.lock);
    shared.skins.push_back(skin);
}

}  // namespace

// ---- manager ----

TmnSkinData::TmnSkinData(TComponent* owner) : TComponent(owner) { Show(std::make_shared<TmnDecodedSkin>()); }

TmnSkinData::~TmnSkinData() { empty_ = true; }

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

void TmnSkinData::ChangeScale(int dpi, int) { SetDpi(dpi); }

bool TmnSkinData::ReadProperty(const String& name, const FormValue& value, TReader& reader) {
    if (SameText(name, L"EnableSkinEffects")) {
        enableSkinEffects_ = value.AsBool();
        return true;
    }
    if (SameText(name, L"CompressedStoredSkin")) {
        // The stored skin loads at the DPI the form is read for.
        auto assign = [this, dpi = reader.Dpi()](TmnCompressedStoredSkin* skin) {
            SetDpi(dpi);
            SetCompressedStoredSkin(skin);
        };
        reader.FixupReference<TmnCompressedStoredSkin>(L"CompressedStoredSkin", value, L"ist kein gespeicherter Skin",
                                                       assign);
        return true;
    }
    if (SameText(name, L"ResourceStrData")) {
        reader.FixupReference<TmnResourceStrData>(L"ResourceStrData", value, L"ist keine Textsammlung",
                                                  [this](TmnResourceStrData* strings) { SetResourceStrData(strings); });
        return true;
    }
    return TComponent::ReadProperty(name, value, reader);
}

const TBitmapData* TmnSkinData::ActivePicture(int index) const {
    if (index < 0 || index >= static_cast<int>(ActivePictures().size())) return nullptr;
    return &ActivePictures()[static_cast<size_t>(index)];
}

int TmnSkinData::GetObjectIndex(std::wstring_view name) const {
    for (size_t i = 0; i < SkinObjects().size(); ++i)
        if (SkinObjects()[i]->SectionName == name) return static_cast<int>(i);
    return -1;
}

int TmnSkinData::GetControlIndex(std::wstring_view name) const {
    for (size_t i = 0; i < SkinControls().size(); ++i)
        if (SkinControls()[i]->SectionName == name) return static_cast<int>(i);
    return -1;
}

void TmnSkinData::SendSkinMessage(unsigned message) {
    if (Sink()) Sink()(*this, message);
}

void TmnSkinData::Show(std::shared_ptr<const TmnDecodedSkin> skin) {
    skin_ = std::move(skin);
    pictures_ = skin_->Pictures;
    ownPictures_.reset();
    static_cast<TmnSkinFormInfo&>(*this) = skin_->FormInfo;
}

TmnSkinCache* TmnSkinData::SharedCache() const {
    if (empty_ || ownPictures_ || static_cast<const TmnSkinFormInfo&>(*this) != skin_->FormInfo) return nullptr;
    return &skin_->Cache;
}

TmnDecodedPictures& TmnSkinData::OwnPictures() {
    if (!ownPictures_) {
        ownPictures_ = std::make_shared<TmnDecodedPictures>(*pictures_);
        pictures_ = ownPictures_;
    }
    return *ownPictures_;
}

void TmnSkinData::Clear(bool keepPictures) {
    auto cleared = skin_->WithoutRecords();
    cleared->PopupWindow.WindowPictureIndex = -1;
    cleared->HintWindow.WindowPictureIndex = -1;
    cleared->ActivePictureNames.clear();
    cleared->SkinColors.SetDefaultColors();
    if (keepPictures) {
        cleared->Pictures->Picture = pictures_->Picture;
        cleared->Pictures->InactivePicture = pictures_->InactivePicture;
        cleared->Pictures->Mask = pictures_->Mask;
    } else {
        cleared->PictureName.clear();
        cleared->MaskName.clear();
    }
    Show(std::move(cleared));
}

void TmnSkinData::ClearRecords() { Clear(true); }

void TmnSkinData::ClearAll() {
    Clear(false);
    archive_.reset();
    empty_ = true;
}

void TmnSkinData::BeginLoad() {
    empty_ = true;
    loading_ = true;
    SendSkinMessage(MSG_SKIN_BEFORE_CHANGE);
    ClearAll();
}

void TmnSkinData::LoadFromCompressedStoredSkin(TmnCompressedStoredSkin& skin) {
    if (skin.IsEmpty()) return;
    BeginLoad();
    // Kept alive by the skin read from it: a handler of the load's messages may unpack another.
    ShowArchive(skin.Unpacked());
}

void TmnSkinData::LoadFromArchive(TStream& archive) {
    BeginLoad();
    auto bytes = std::make_shared<TMemoryStream>();
    archive.SetPosition(0);
    bytes->CopyFrom(archive, 0);
    ShowArchive(bytes);
}

void TmnSkinData::SetDpi(int dpi) {
    dpi = ClampSkinDpi(dpi);
    if (dpi == dpi_) return;
    dpi_ = dpi;
    if (empty_ || loading_ || !archive_) return;  // the next load uses it
    empty_ = true;
    loading_ = true;
    SendSkinMessage(MSG_SKIN_BEFORE_CHANGE);
    ShowArchive(std::shared_ptr<const TMemoryStream>(archive_));
}

void TmnSkinData::ShowArchive(const std::shared_ptr<const TMemoryStream>& archive) {
    archive_ = archive;
    if (auto shared = FindSharedSkin(*archive, dpi_)) {
        Show(std::move(shared));
    } else {
        // Read into a copy of the cleared state, shown while it fills: after an error what
        // was read before it stays visible, as the manager is left loading.
        auto skin = skin_->WithoutRecords();
        skin->Archive = archive;
        skin->Dpi = dpi_;
        Show(skin);
        try {
            TBytesStream bytes(archive->Memory(), archive->Length());
            if (!ReadSkin(bytes, *skin)) return;  // a newer format leaves the manager cleared and loading
        } catch (...) {
            Show(skin);
            throw;
        }
        Show(skin);
        ShareSkin(skin);
    }
    empty_ = false;
    SendSkinMessage(MSG_SKIN_CHANGE);
    loading_ = false;
    SendSkinMessage(MSG_SKIN_AFTER_CHANGE);
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
