#pragma once
// TmnSkinData, the skin data manager: holds one loaded skin (its pictures, the frame geometry
// of "FORMINFO", the popup, hint and colour records, the object and control record lists)
// and tells the application's forms when the skin changes. Every skinned element refers to a
// manager, tests that it is not Empty, and looks its pictures and records up here.
//
// A manager shows its skin at its DPI (SetDpi; 96 unscaled): the records' coordinates, lengths
// and the pictures are in device pixels. Managers that hold the same stored skin at the same
// DPI share one immutable decoded skin (TmnDecodedSkin), freed with the last of them; a manager
// whose pictures are written (WritablePicture and the like) first takes its own copy of them.
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
#include "skin/data/skin_cache.h"
#include "skin/data/skin_messages.h"
#include "skin/data/skin_scale.h"

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
    friend bool operator==(const TmnSkinFormInfo&, const TmnSkinFormInfo&) = default;
};

// The pictures of a decoded skin.
struct TmnDecodedPictures {
    TBitmapData Picture, InactivePicture, Mask;
    std::vector<TBitmapData> ActivePictures;
};

// One skin as read from its archive and scaled for one DPI. Immutable once read: every manager
// that holds the same archive bytes at the same DPI shares it.
struct TmnDecodedSkin {
    std::shared_ptr<const TMemoryStream> Archive;  // the bytes it was read from
    int Dpi = SkinBaseDpi;
    std::shared_ptr<TmnDecodedPictures> Pictures = std::make_shared<TmnDecodedPictures>();
    std::vector<String> ActivePictureNames;
    String PictureName, InactivePictureName, MaskName;
    String SkinName, SkinAuthor, AuthorEMail, AuthorURL, SkinComments;
    TmnSkinFormInfo FormInfo;
    TmnDataSkinPopupWindow PopupWindow;
    TmnDataSkinHintWindow HintWindow;
    TmnSkinColors SkinColors;
    std::vector<std::unique_ptr<TmnDataSkinObject>> Objects;
    std::vector<std::unique_ptr<TmnDataSkinControl>> Controls;
    // What windows derive from this skin, shared by every manager that shows it unchanged.
    mutable TmnSkinCache Cache;

    // A copy of everything but the records and pictures (no archive, no DPI).
    std::shared_ptr<TmnDecodedSkin> WithoutRecords() const;
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

    const std::vector<std::unique_ptr<TmnDataSkinObject>>& SkinObjects() const { return skin_->Objects; }
    const std::vector<std::unique_ptr<TmnDataSkinControl>>& SkinControls() const { return skin_->Controls; }
    const TBitmapData& Picture() const { return pictures_->Picture; }
    const TBitmapData& InactivePicture() const { return pictures_->InactivePicture; }
    const TBitmapData& Mask() const { return pictures_->Mask; }
    const std::vector<TBitmapData>& ActivePictures() const { return pictures_->ActivePictures; }
    // The pictures to write: the first write gives this manager its own copy, so managers
    // sharing the skin keep theirs. A later load or DPI change replaces the copy.
    TBitmapData& WritablePicture() { return OwnPictures().Picture; }
    TBitmapData& WritableInactivePicture() { return OwnPictures().InactivePicture; }
    TBitmapData& WritableMask() { return OwnPictures().Mask; }
    std::vector<TBitmapData>& WritableActivePictures() { return OwnPictures().ActivePictures; }
    // The active picture of a picture index, or null for -1 and any index outside the list.
    const TBitmapData* ActivePicture(int index) const;
    const std::vector<String>& ActivePictureNames() const { return skin_->ActivePictureNames; }
    const String& PictureName() const { return skin_->PictureName; }
    const String& InactivePictureName() const { return skin_->InactivePictureName; }
    const String& MaskName() const { return skin_->MaskName; }
    const String& SkinName() const { return skin_->SkinName; }
    const String& SkinAuthor() const { return skin_->SkinAuthor; }
    const String& AuthorEMail() const { return skin_->AuthorEMail; }
    const String& AuthorURL() const { return skin_->AuthorURL; }
    const String& SkinComments() const { return skin_->SkinComments; }
    const TmnDataSkinPopupWindow& PopupWindow() const { return skin_->PopupWindow; }
    const TmnDataSkinHintWindow& HintWindow() const { return skin_->HintWindow; }
    const TmnSkinColors& SkinColors() const { return skin_->SkinColors; }

    // The display scale: dots per inch, 96 unscaled (the default), kept within 96..480. A
    // change shows the loaded skin scaled for the new DPI and is announced as a skin change
    // (MSG_SKIN_BEFORE_CHANGE, MSG_SKIN_CHANGE, MSG_SKIN_AFTER_CHANGE); a load uses the DPI set.
    void SetDpi(int dpi);
    int Dpi() const { return dpi_; }
    // The decoded skin shown (shared with every manager of the same skin and DPI).
    const std::shared_ptr<const TmnDecodedSkin>& DecodedSkin() const { return skin_; }
    // The decoded skin's cache while this manager shows that skin as it is (no picture
    // written, the frame geometry as read); else null, and what a window derives stays its own.
    TmnSkinCache* SharedCache() const;

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
    // The owner form moved to a screen of other dots per inch: the skin follows (SetDpi).
    void ChangeScale(int dpi, int fromDpi) override;
    // Registers the class for form data ("TmnSkinData").
    static void Register();

private:
    void BeginLoad();
    // Shows the archive's skin at the manager's DPI: the shared one, else read (and scaled)
    // here and shared once complete. Announces the change when the skin is complete.
    void ShowArchive(const std::shared_ptr<const TMemoryStream>& archive);
    void Show(std::shared_ptr<const TmnDecodedSkin> skin);
    // Replaces the shown skin by a copy without records (and without pictures unless kept).
    void Clear(bool keepPictures);
    TmnDecodedPictures& OwnPictures();

    bool enableSkinEffects_ = true;
    TmnCompressedStoredSkin* storedSkin_ = nullptr;
    TmnResourceStrData* strings_ = nullptr;
    bool empty_ = true;
    bool loading_ = false;
    int dpi_ = SkinBaseDpi;
    std::shared_ptr<const TMemoryStream> archive_;  // what the shown skin was read from
    std::shared_ptr<const TmnDecodedSkin> skin_;
    std::shared_ptr<const TmnDecodedPictures> pictures_;  // the skin's, or ownPictures_
    std::shared_ptr<TmnDecodedPictures> ownPictures_;      // set once a picture is written
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
