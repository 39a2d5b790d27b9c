#pragma once
// TmnSkinData, the skin data manager: holds one loaded skin (its pictures, the frame geometry
// of "FORMINFO", the popup, hint and colour records, the object and control record lists)
// and tells the application's forms when the skin changes. Every skinned element refers to a
// manager, tests that it is not Empty, and looks its pictures and records up here.
//
// This unit is portable: loading, lookups and the failure states need no window. The three
// change messages go through SendSkinMessage to the one installed delivery: on Win32,
// skin_data_win.cpp installs delivery to the forms at start-up (the owner form first, then
// every other form in the screen's order, synchronously); a test or tool may install its own.
#include <functional>
#include <memory>
#include <vector>

#include "platform/core/bitmap_data.h"
#include "platform/core/classes.h"
#include "skin/data/control_records.h"
#include "skin/data/object_records.h"
#include "skin/data/resource_strings.h"
#include "skin/data/skin_messages.h"

namespace fn {

class TmnCompressedStoredSkin;

// The frame geometry of a skinned window, one field per "FORMINFO" key.
struct TmnSkinFormInfo {
    TSkinPoint LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint;
    TSkinRect ClientRect;
    int BgPictureIndex = -1;
    int MDIBgPictureIndex = -1;
    bool LeftStretch = false, RightStretch = false, TopStretch = false, BottomStretch = false;
    bool StretchEffect = false;
    TStretchType StretchType = stFull;
    bool MDIBgStretchEffect = false;
    TStretchType MDIBgStretchType = stFull;
    TSkinRect MaskRectArea;
    TSkinPoint HitTestLeftTopPoint, HitTestRightTopPoint, HitTestLeftBottomPoint, HitTestRightBottomPoint;
    TSkinRect ButtonsRect;
    TSkinRect CaptionRect;
    int ButtonsOffset = 0;
    bool ButtonsInLeft = false;
    bool MainMenuPopupUp = false;
    int BorderWidth = 0;
    int FormMinWidth = 0;
    bool MDITabsTransparent = false;
    bool MainMenuBarTransparent = false;
    bool AutoRenderingInactiveImage = false;
    TInactiveEffect InactiveEffect = ieBrightness;

    // Reads "FORMINFO". With a mask (hasMask: the skin names one), the mask area grows to
    // cover the client rectangle and unset hit-test points take their corner points; last,
    // unless the corner points are degenerate, they are moved into the client rectangle.
    void LoadFromIni(const TMemIniFile& ini, bool hasMask);
    // The keys from "lefttoppoint" to the four hit-test points, and from "buttonsrect" to
    // "inactiveeffect", in key order.
    void VisitFrameKeys(TSkinFieldVisitor& v);
    void VisitCaptionKeys(TSkinFieldVisitor& v);
};

class TmnSkinData : public TComponent, public TmnSkinFormInfo {
public:
    explicit TmnSkinData(TComponent* owner);
    ~TmnSkinData() override;
    const wchar_t* ClassName() const override { return L"TmnSkinData"; }

    // Published properties.
    bool EnableSkinEffects() const { return enableSkinEffects_; }
    void SetEnableSkinEffects(bool enable) { enableSkinEffects_ = enable; }
    TmnCompressedStoredSkin* CompressedStoredSkin() const { return storedSkin_; }
    // Outside design time a stored skin is loaded at once; none keeps the loaded skin.
    void SetCompressedStoredSkin(TmnCompressedStoredSkin* skin);
    TmnResourceStrData* ResourceStrData() const { return strings_; }
    // Outside design time sends MSG_STRINGS_CHANGED, also for none.
    void SetResourceStrData(TmnResourceStrData* strings);

    // No skin is loaded: clients draw their unskinned look.
    bool Empty() const { return empty_; }
    bool SkinLoading() const { return loading_; }

    const std::vector<std::unique_ptr<TmnDataSkinObject>>& SkinObjects() const { return objects_; }
    const std::vector<std::unique_ptr<TmnDataSkinControl>>& SkinControls() const { return controls_; }
    const TBitmapData& Picture() const { return picture_; }
    const TBitmapData& InactivePicture() const { return inactivePicture_; }
    const TBitmapData& Mask() const { return mask_; }
    const std::vector<TBitmapData>& ActivePictures() const { return activePictures_; }
    // The active picture of a picture index, or null for -1 and any index outside the list.
    const TBitmapData* ActivePicture(int index) const;
    const std::vector<String>& ActivePictureNames() const { return activePictureNames_; }
    const String& PictureName() const { return pictureName_; }
    const String& InactivePictureName() const { return inactivePictureName_; }
    const String& MaskName() const { return maskName_; }
    const String& SkinName() const { return skinName_; }
    const String& SkinAuthor() const { return skinAuthor_; }
    const String& AuthorEMail() const { return authorEMail_; }
    const String& AuthorURL() const { return authorURL_; }
    const String& SkinComments() const { return skinComments_; }
    const TmnDataSkinPopupWindow& PopupWindow() const { return popupWindow_; }
    const TmnDataSkinHintWindow& HintWindow() const { return hintWindow_; }
    const TmnSkinColors& SkinColors() const { return skinColors_; }

    // Position of the first record whose section name equals name with exact case, or -1.
    int GetObjectIndex(std::wstring_view name) const;
    int GetControlIndex(std::wstring_view name) const;

    // Unpacks and reads a stored skin; nothing happens when it is empty. Errors of the archive
    // or the description propagate and leave the manager Empty and SkinLoading.
    void LoadFromCompressedStoredSkin(TmnCompressedStoredSkin& skin);
    // The same from an uncompressed archive, read from the stream's start.
    void LoadFromArchive(TStream& archive);

    void SendSkinMessage(unsigned message);
    // Frees the records and active pictures; resets the popup and hint picture indexes, the
    // active picture names and the skin colours.
    void ClearRecords();
    // ClearRecords, then empties the three pictures, the picture and mask names; Empty.
    void ClearAll();

    void Notification(TComponent* component, Operation operation) override;
    bool ReadProperty(const String& name, const FormValue& value, TReader& reader) override;
    // Registers the class for form data ("TmnSkinData").
    static void Register();

private:
    void ReadArchive(TStream& archive);
    void ReadDescription(const TMemIniFile& ini);
    void ReadObjectList(const TMemIniFile& ini);
    void ReadControlList(const TMemIniFile& ini);

    bool enableSkinEffects_ = true;
    TmnCompressedStoredSkin* storedSkin_ = nullptr;
    TmnResourceStrData* strings_ = nullptr;
    bool empty_ = true;
    bool loading_ = false;
    std::vector<std::unique_ptr<TmnDataSkinObject>> objects_;
    std::vector<std::unique_ptr<TmnDataSkinControl>> controls_;
    TBitmapData picture_, inactivePicture_, mask_;
    std::vector<TBitmapData> activePictures_;
    std::vector<String> activePictureNames_;
    String pictureName_, inactivePictureName_, maskName_;
    String skinName_, skinAuthor_, authorEMail_, authorURL_, skinComments_;
    TmnDataSkinPopupWindow popupWindow_;
    TmnDataSkinHintWindow hintWindow_;
    TmnSkinColors skinColors_;
};

// The delivery of every message a manager sends. Returns the delivery it replaces, so a test
// can put the forms' delivery back; with none installed the messages go nowhere.
using TSkinMessageSink = std::function<void(TmnSkinData& sender, unsigned message)>;
TSkinMessageSink SetSkinMessageSink(TSkinMessageSink sink);

// The library text of key for an element whose manager is skinData (which may be null): the
// manager's string component when it has one, else the built-in text. The character set
// likewise: the string component's, else the element's own.
String SkinLibraryText(const TmnSkinData* skinData, std::wstring_view key);
uint8_t SkinLibraryCharSet(const TmnSkinData* skinData, uint8_t ownCharSet);

}  // namespace fn
