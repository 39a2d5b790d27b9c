// The skin data manager without windows: loading small skins built here, the frame geometry
// rules, the record lists and lookups, the messages and every failure state.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/core/form_data.h"
#include "skin/data/skin_archive.h"
#include "skin/data/skin_data.h"
#include "skin/data/stored_skin.h"
#include "skin/data/zlib_streams.h"

using namespace fn;

namespace {

std::vector<String> Lines(std::wstring_view text) {
    TStringList l;
    l.SetText(text);
    return l.Lines();
}

TBitmapData Picture(int w, int h, uint32_t colour) {
    TBitmapData b;
    b.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixel(x, y, colour);
    return b;
}

const wchar_t* const kDescription =
    L"[VERSION]\n"
    L"skinname=Probe\nskinauthor=Autor\nauthoremail=a@b.c\nauthorurl=http://x\nskincomments=Kommentar\n"
    L"[PICTURES]\n"
    L"picture=main.bmp\ninactivepicture=\nmask=mask.bmp\n"
    L"activepicturescount=2\n0=a.bmp\n1=b.bmp\n"
    L"[FORMINFO]\n"
    L"lefttoppoint=10,30\nrighttoppoint=90,30\nleftbottompoint=10,70\nrightbottompoint=90,70\n"
    L"clientrect=5,29,95,74\nmaskrectarea=5,5,95,78\nbgpictureindex=1\ninactiveeffect=ieinvert\n"
    L"[POPUPWINDOW]\nwindowpictureindex=0\nmaskpictureindex=1\n"
    L"[HINTWINDOW]\nwindowpictureindex=1\nfontname=Tahoma\n"
    L"[SKINCOLORS]\ncbtnface=255\n"
    L"[SKINOBJECTS]\n"
    L"count=5\n0=Caption1:caption\n1=close:stdbutton\n2=Twin:button\n3=MENUITEM:menuitem\n4=Twin:animate\n"
    L"[SKINCONTROLS]\n"
    L"count=4\n0=panel:panel\n1=weird:nosuchtype\n2=mainmenubar:mainmenubar\n3=Panel:button\n"
    L"[Caption1]\nhint=Titel\nskinrect=0,0,80,20\n"
    L"[close]\ncommand=cmclose\n"
    L"[twin]\nskinrect=1,1,5,5\n"
    L"[panel]\nalignment=taleftjustify\n"
    L"[mainmenubar]\nmenubaritem=MENUITEM\n";

TSkinArchive Archive(std::wstring_view description = kDescription) {
    TSkinArchive a;
    a.Picture = Picture(100, 80, 0x808080);
    a.Mask = Picture(100, 80, 0);
    a.ActivePictures = {Picture(20, 10, 0xFF0000), Picture(7, 3, 0x00FF00)};
    a.Description = Lines(description);
    return a;
}

TMemoryStream ArchiveBytes(const TSkinArchive& a) {
    TMemoryStream s;
    WriteSkinArchive(s, a);
    return s;
}

void Store(TmnCompressedStoredSkin& skin, TStream& archive) {
    skin.CompressedStream().Clear();
    CompressStream(archive, skin.CompressedStream());
}

void Store(TmnCompressedStoredSkin& skin, const TSkinArchive& a) {
    TMemoryStream bytes = ArchiveBytes(a);
    Store(skin, bytes);
}

struct Message {
    TmnSkinData* sender;
    unsigned number;
    bool empty, loading;
    size_t objects;
};

class SkinDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = SetSkinMessageSink([this](TmnSkinData& sd, unsigned msg) {
            sent.push_back({&sd, msg, sd.Empty(), sd.SkinLoading(), sd.SkinObjects().size()});
        });
    }
    void TearDown() override { SetSkinMessageSink(std::move(previous_)); }
    TSkinMessageSink previous_;

    std::vector<unsigned> Numbers() const {
        std::vector<unsigned> n;
        for (const Message& m : sent) n.push_back(m.number);
        return n;
    }

    TComponent owner{nullptr};
    std::vector<Message> sent;
};

const std::vector<unsigned> kAllThree = {MSG_SKIN_BEFORE_CHANGE, MSG_SKIN_CHANGE, MSG_SKIN_AFTER_CHANGE};

}  // namespace

TEST_F(SkinDataTest, LoadsEveryPartOfASmallSkinAndAnnouncesItInOrder) {
    auto* skin = new TmnCompressedStoredSkin(&owner);
    Store(*skin, Archive());
    auto* sd = new TmnSkinData(&owner);
    EXPECT_TRUE(sd->Empty());
    EXPECT_FALSE(sd->SkinLoading());
    EXPECT_TRUE(sd->EnableSkinEffects());

    sd->SetCompressedStoredSkin(skin);
    EXPECT_FALSE(sd->Empty());
    EXPECT_FALSE(sd->SkinLoading());
    ASSERT_EQ(Numbers(), kAllThree);
    // Empty is set before the first message, cleared before the second; loading ends before the third.
    EXPECT_TRUE(sent[0].empty && sent[0].loading);
    EXPECT_TRUE(!sent[1].empty && sent[1].loading);
    EXPECT_TRUE(!sent[2].empty && !sent[2].loading);
    for (const Message& m : sent) EXPECT_EQ(m.sender, sd);

    EXPECT_EQ(sd->SkinName(), L"Probe");
    EXPECT_EQ(sd->SkinAuthor(), L"Autor");
    EXPECT_EQ(sd->AuthorEMail(), L"a@b.c");
    EXPECT_EQ(sd->AuthorURL(), L"http://x");
    EXPECT_EQ(sd->SkinComments(), L"Kommentar");
    EXPECT_EQ(sd->PictureName(), L"main.bmp");
    EXPECT_EQ(sd->InactivePictureName(), L"");
    EXPECT_EQ(sd->MaskName(), L"mask.bmp");
    EXPECT_EQ(sd->ActivePictureNames(), (std::vector<String>{L"a.bmp", L"b.bmp"}));

    EXPECT_EQ(sd->Picture().Width, 100);
    EXPECT_TRUE(sd->InactivePicture().Empty());
    EXPECT_EQ(sd->Mask().Height, 80);
    ASSERT_EQ(sd->ActivePictures().size(), 2u);
    EXPECT_EQ(sd->ActivePictures()[1].Width, 7);
    EXPECT_EQ(sd->ActivePicture(0)->Pixel(3, 2), 0xFF0000u);
    EXPECT_EQ(sd->ActivePicture(-1), nullptr);
    EXPECT_EQ(sd->ActivePicture(2), nullptr);

    EXPECT_EQ(sd->BgPictureIndex, 1);
    EXPECT_EQ(sd->MDIBgPictureIndex, -1);
    EXPECT_EQ(sd->InactiveEffect, ieInvert);
    EXPECT_EQ(sd->PopupWindow().WindowPictureIndex, 0);
    EXPECT_EQ(sd->PopupWindow().MaskPictureIndex, 1);
    EXPECT_EQ(sd->HintWindow().FontName, L"Tahoma");
    EXPECT_EQ(sd->HintWindow().FontHeight, 14);
    EXPECT_EQ(sd->SkinColors().cBtnFace, 255);
    EXPECT_EQ(sd->SkinColors().cBtnText, SystemColorRef(18));

    // Records in list order, each of its keyword's class, each having read its own section.
    const auto& objects = sd->SkinObjects();
    ASSERT_EQ(objects.size(), 5u);
    EXPECT_NE(dynamic_cast<TmnDataSkinCaption*>(objects[0].get()), nullptr);
    EXPECT_EQ(objects[0]->Hint, L"Titel");
    EXPECT_EQ(objects[0]->SkinRect, (TSkinRect{0, 0, 80, 20}));
    auto* close = dynamic_cast<TmnDataSkinStdButton*>(objects[1].get());
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->Command, cmClose);
    EXPECT_NE(dynamic_cast<TmnDataSkinMenuItem*>(objects[3].get()), nullptr);
    EXPECT_NE(dynamic_cast<TmnDataSkinAnimate*>(objects[4].get()), nullptr);
    EXPECT_EQ(objects[4]->SkinRect, (TSkinRect{1, 1, 5, 5}));  // sections match ignoring case

    const auto& controls = sd->SkinControls();
    ASSERT_EQ(controls.size(), 3u);  // the unknown type makes no record
    auto* panel = dynamic_cast<TmnDataSkinPanelControl*>(controls[0].get());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->Alignment, taLeftJustify);
    auto* bar = dynamic_cast<TmnDataSkinMainMenuBar*>(controls[1].get());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->MenuBarItem, L"MENUITEM");
    EXPECT_NE(dynamic_cast<TmnDataSkinButtonControl*>(controls[2].get()), nullptr);
}

TEST_F(SkinDataTest, LookupsUseExactCaseAndFindTheFirstOfTwo) {
    TmnSkinData sd(nullptr);
    TMemoryStream bytes = ArchiveBytes(Archive());
    sd.LoadFromArchive(bytes);
    EXPECT_EQ(sd.GetObjectIndex(L"MENUITEM"), 3);
    EXPECT_EQ(sd.GetObjectIndex(L"menuitem"), -1);
    EXPECT_EQ(sd.GetObjectIndex(L"Twin"), 2);
    EXPECT_EQ(sd.GetObjectIndex(L"twin"), -1);
    EXPECT_EQ(sd.GetObjectIndex(L""), -1);
    EXPECT_EQ(sd.GetControlIndex(L"mainmenubar"), 1);
    EXPECT_EQ(sd.GetControlIndex(L"panel"), 0);
    EXPECT_EQ(sd.GetControlIndex(L"Panel"), 2);
    EXPECT_EQ(sd.GetControlIndex(L"weird"), -1);
    EXPECT_EQ(sd.GetControlIndex(L"Caption1"), -1);  // objects and controls are separate lists
}

TEST_F(SkinDataTest, AReloadReplacesTheSkinAndTheOldRecordsAreSeenOnlyBeforeTheChange) {
    auto* skin = new TmnCompressedStoredSkin(&owner);
    Store(*skin, Archive());
    TmnSkinData sd(&owner);
    sd.SetCompressedStoredSkin(skin);
    sent.clear();
    Store(*skin, Archive(L"[VERSION]\n[PICTURES]\n[FORMINFO]\n[SKINOBJECTS]\ncount=1\n0=only:userobject\n[SKINCONTROLS]\n"));
    sd.LoadFromCompressedStoredSkin(*skin);
    ASSERT_EQ(Numbers(), kAllThree);
    EXPECT_EQ(sent[0].objects, 5u);  // the old records are still listed while the forms let go
    EXPECT_EQ(sent[1].objects, 1u);
    EXPECT_EQ(sd.SkinName(), L"");
    EXPECT_TRUE(sd.ActivePictureNames().empty());
    EXPECT_EQ(sd.ActivePictures().size(), 2u);  // the archive still carries two pictures
    EXPECT_TRUE(sd.SkinControls().empty());
}

TEST_F(SkinDataTest, EmptyOrMissingRecordListsStillLoad) {
    for (const wchar_t* lists : {L"[SKINOBJECTS]\ncount=0\n0=a:caption\n[SKINCONTROLS]\n",
                                 L"[SKINOBJECTS]\n0=a:caption\n[SKINCONTROLS]\ncount=-3\n0=p:panel\n",
                                 L"[SKINOBJECTS]\ncount=zwei\n0=a:caption\n[SKINCONTROLS]\n"}) {
        TmnSkinData sd(nullptr);
        TMemoryStream bytes = ArchiveBytes(Archive(String(L"[VERSION]\n[PICTURES]\n[FORMINFO]\n") + lists));
        sd.LoadFromArchive(bytes);
        EXPECT_FALSE(sd.Empty());
        EXPECT_TRUE(sd.SkinObjects().empty());
        EXPECT_TRUE(sd.SkinControls().empty());
    }
}

TEST_F(SkinDataTest, RecordListItemsAreReadByIndexUpToTheCountWhateverItClaims) {
    TmnSkinData sd(nullptr);
    TMemoryStream bytes = ArchiveBytes(Archive(
        L"[VERSION]\n[PICTURES]\n[FORMINFO]\n"
        L"[SKINOBJECTS]\ncount=2147483647\n"
        L"5=e:caption\n1=b:caption\n007=x:caption\n1=dup:caption\n-1=m:caption\n 2 = c:button \n0=noType\n"
        L"3=:caption\n4=g:caption:extra\n"
        L"[SKINCONTROLS]\ncount=2\n0=p0:panel\n2=p2:panel\n1=p1:bevel\n"));
    sd.LoadFromArchive(bytes);  // an absurd count neither hangs nor allocates
    std::vector<String> names;
    for (const auto& r : sd.SkinObjects()) names.push_back(r->SectionName);
    // Index order, first of a repeated key, names keep their case; "007", "-1", a missing type
    // and an unknown type ("caption:extra") create nothing.
    EXPECT_EQ(names, (std::vector<String>{L"b", L"c", L"", L"e"}));
    ASSERT_EQ(sd.SkinControls().size(), 2u);
    EXPECT_EQ(sd.SkinControls()[0]->SectionName, L"p0");
    EXPECT_EQ(sd.SkinControls()[1]->SectionName, L"p1");  // "2" is beyond the count
}

TEST_F(SkinDataTest, AnEmptyStoredSkinChangesNothingAndSendsNothing) {
    auto* skin = new TmnCompressedStoredSkin(&owner);
    Store(*skin, Archive());
    TmnSkinData sd(&owner);
    sd.SetCompressedStoredSkin(skin);
    sent.clear();
    TmnCompressedStoredSkin empty(nullptr);
    sd.SetCompressedStoredSkin(&empty);
    EXPECT_TRUE(sent.empty());
    EXPECT_FALSE(sd.Empty());
    EXPECT_EQ(sd.SkinObjects().size(), 5u);
    // Setting none keeps the loaded skin too.
    sd.SetCompressedStoredSkin(nullptr);
    EXPECT_TRUE(sent.empty());
    EXPECT_FALSE(sd.Empty());
}

TEST_F(SkinDataTest, ANewerArchiveVersionLeavesTheManagerClearedAndLoading) {
    auto* skin = new TmnCompressedStoredSkin(&owner);
    Store(*skin, Archive());
    TmnSkinData sd(&owner);
    sd.SetCompressedStoredSkin(skin);
    sent.clear();

    TMemoryStream bytes = ArchiveBytes(Archive());
    bytes.SetPosition(0);
    bytes.WriteInt32(4);
    Store(*skin, bytes);
    EXPECT_NO_THROW(sd.LoadFromCompressedStoredSkin(*skin));
    EXPECT_EQ(Numbers(), std::vector<unsigned>{MSG_SKIN_BEFORE_CHANGE});
    EXPECT_TRUE(sd.Empty());
    EXPECT_TRUE(sd.SkinLoading());
    EXPECT_TRUE(sd.SkinObjects().empty());
    EXPECT_TRUE(sd.SkinControls().empty());
    EXPECT_TRUE(sd.ActivePictures().empty());
    EXPECT_TRUE(sd.Picture().Empty());
    EXPECT_TRUE(sd.Mask().Empty());
    EXPECT_EQ(sd.PictureName(), L"");
    EXPECT_EQ(sd.MaskName(), L"");
    EXPECT_EQ(sd.PopupWindow().WindowPictureIndex, -1);
    EXPECT_EQ(sd.PopupWindow().MaskPictureIndex, 1);  // only the picture index is reset
    EXPECT_EQ(sd.HintWindow().WindowPictureIndex, -1);
    EXPECT_EQ(sd.SkinColors().cBtnFace, SystemColorRef(15));
    EXPECT_EQ(sd.GetObjectIndex(L"MENUITEM"), -1);

    // A later good skin loads normally from that state.
    Store(*skin, Archive());
    sd.LoadFromCompressedStoredSkin(*skin);
    EXPECT_FALSE(sd.Empty());
    EXPECT_FALSE(sd.SkinLoading());
}

TEST_F(SkinDataTest, ReadErrorsPropagateAndLeaveWhatWasReadInLoadingState) {
    // A malformed rectangle in the fourth object's section: three records and all pictures
    // stay; the failing record was already listed; no control was read.
    {
        TmnSkinData sd(nullptr);
        String text = kDescription;
        text += L"[MENUITEM]\nskinrect=1,2,3\n";
        TMemoryStream bytes = ArchiveBytes(Archive(text));
        try {
            sd.LoadFromArchive(bytes);
            FAIL() << "no error";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), L"'' ist kein gültiger Integerwert");
        }
        EXPECT_EQ(Numbers(), std::vector<unsigned>{MSG_SKIN_BEFORE_CHANGE});
        EXPECT_TRUE(sd.Empty());
        EXPECT_TRUE(sd.SkinLoading());
        EXPECT_EQ(sd.SkinObjects().size(), 4u);
        EXPECT_TRUE(sd.SkinControls().empty());
        EXPECT_EQ(sd.ActivePictures().size(), 2u);
        EXPECT_EQ(sd.SkinName(), L"Probe");
    }
    sent.clear();
    // A broken frame geometry value stops before any record list.
    {
        TmnSkinData sd(nullptr);
        TMemoryStream bytes = ArchiveBytes(Archive(L"[VERSION]\n[PICTURES]\n[FORMINFO]\nclientrect=1,,3,4\n"
                                                   L"[SKINOBJECTS]\ncount=1\n0=a:caption\n[SKINCONTROLS]\n"));
        EXPECT_THROW(sd.LoadFromArchive(bytes), EConvertError);
        EXPECT_TRUE(sd.Empty() && sd.SkinLoading());
        EXPECT_TRUE(sd.SkinObjects().empty());
    }
    // A damaged picture: the main picture read before it stays.
    {
        sent.clear();
        TmnSkinData sd(nullptr);
        TMemoryStream bytes = ArchiveBytes(Archive());
        TMemoryStream head;
        WriteArchiveFlaggedPicture(head, Picture(100, 80, 0x808080));
        bytes.Memory()[4 + head.Size() + 2] = 'X';  // the mask's "BM" (after the inactive flag)
        try {
            sd.LoadFromArchive(bytes);
            FAIL() << "no error";
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(e.Message(), L"Bitmap ist ungültig");
        }
        EXPECT_EQ(sd.Picture().Width, 100);
        EXPECT_TRUE(sd.Empty() && sd.SkinLoading());
        EXPECT_EQ(Numbers(), std::vector<unsigned>{MSG_SKIN_BEFORE_CHANGE});
    }
    // An archive cut inside its pictures, and one with nothing but a version.
    for (size_t keep : {size_t(3), size_t(4), size_t(5), size_t(200)}) {
        sent.clear();
        TmnSkinData sd(nullptr);
        TMemoryStream whole = ArchiveBytes(Archive());
        TMemoryStream cut;
        cut.WriteBuffer(whole.Memory(), keep);
        EXPECT_ANY_THROW(sd.LoadFromArchive(cut)) << keep;
        EXPECT_TRUE(sd.Empty() && sd.SkinLoading());
        EXPECT_EQ(Numbers(), std::vector<unsigned>{MSG_SKIN_BEFORE_CHANGE});
    }
}

TEST_F(SkinDataTest, CorruptCompressedDataRaisesTheDecompressionError) {
    auto* skin = new TmnCompressedStoredSkin(&owner);
    Store(*skin, Archive());
    skin->CompressedStream().Memory()[10] ^= 0x55;
    skin->CompressedStream().Memory()[11] ^= 0x55;
    TmnSkinData sd(&owner);
    EXPECT_THROW(sd.SetCompressedStoredSkin(skin), EZlibError);
    EXPECT_EQ(sd.CompressedStoredSkin(), skin);
    EXPECT_TRUE(sd.Empty() && sd.SkinLoading());
    EXPECT_EQ(Numbers(), std::vector<unsigned>{MSG_SKIN_BEFORE_CHANGE});
}

TEST(SkinFormInfo, WithAMaskTheMaskAreaCoversTheClientRectangle) {
    auto read = [](std::wstring_view keys, bool hasMask) {
        TMemIniFile ini;
        ini.SetText(String(L"[FORMINFO]\nclientrect=5,29,141,74\n") + String(keys));
        TmnSkinFormInfo f;
        f.LoadFromIni(ini, hasMask);
        return f;
    };
    EXPECT_EQ(read(L"maskrectarea=5,5,141,78\n", true).MaskRectArea, (TSkinRect{5, 5, 141, 78}));
    EXPECT_EQ(read(L"maskrectarea=10,40,100,50\n", true).MaskRectArea, (TSkinRect{5, 29, 141, 74}));
    EXPECT_EQ(read(L"maskrectarea=0,0,150,60\n", true).MaskRectArea, (TSkinRect{0, 0, 150, 74}));
    EXPECT_EQ(read(L"", true).MaskRectArea, (TSkinRect{5, 29, 141, 74}));
    EXPECT_EQ(read(L"maskrectarea=50,50,50,90\n", true).MaskRectArea, (TSkinRect{5, 29, 141, 74}));  // empty
    // Without a mask the area stays as read.
    EXPECT_EQ(read(L"maskrectarea=10,40,100,50\n", false).MaskRectArea, (TSkinRect{10, 40, 100, 50}));
    EXPECT_TRUE(read(L"", false).MaskRectArea.IsEmpty());
}

TEST(SkinFormInfo, WithAMaskUnsetHitTestPointsTakeTheirCornerPoints) {
    const wchar_t* keys =
        L"[FORMINFO]\nlefttoppoint=10,30\nrighttoppoint=130,31\nleftbottompoint=11,70\nrightbottompoint=131,71\n"
        L"clientrect=5,29,141,74\n"
        L"hittestlefttoppoint=3,4\nhittestrighttoppoint=0,9\nhittestleftbottompoint=9,0\n";
    TMemIniFile ini;
    ini.SetText(keys);
    TmnSkinFormInfo masked, plain;
    masked.LoadFromIni(ini, true);
    plain.LoadFromIni(ini, false);
    EXPECT_EQ(masked.HitTestLeftTopPoint, (TSkinPoint{3, 4}));        // set: stays
    EXPECT_EQ(masked.HitTestRightTopPoint, (TSkinPoint{130, 31}));    // x 0: unset
    EXPECT_EQ(masked.HitTestLeftBottomPoint, (TSkinPoint{11, 70}));   // y 0: unset
    EXPECT_EQ(masked.HitTestRightBottomPoint, (TSkinPoint{131, 71})); // missing
    EXPECT_EQ(plain.HitTestLeftTopPoint, (TSkinPoint{3, 4}));
    EXPECT_EQ(plain.HitTestRightTopPoint, (TSkinPoint{0, 9}));
    EXPECT_EQ(plain.HitTestRightBottomPoint, TSkinPoint{});
    // The hit-test points take the corners as read, before these move into the client area.
    EXPECT_EQ(masked.LeftTopPoint, (TSkinPoint{10, 30}));
}

TEST(SkinFormInfo, CornerPointsMoveIntoTheClientRectangleUnlessDegenerate) {
    auto read = [](std::wstring_view corners) {
        TMemIniFile ini;
        ini.SetText(String(L"[FORMINFO]\nclientrect=20,30,120,80\n") + String(corners));
        TmnSkinFormInfo f;
        f.LoadFromIni(ini, false);
        return f;
    };
    // Outside on every side: each moves onto the nearest client edge.
    TmnSkinFormInfo f = read(L"lefttoppoint=5,6\nrighttoppoint=150,7\nleftbottompoint=8,95\nrightbottompoint=140,99\n");
    EXPECT_EQ(f.LeftTopPoint, (TSkinPoint{20, 30}));
    EXPECT_EQ(f.RightTopPoint, (TSkinPoint{120, 30}));
    EXPECT_EQ(f.LeftBottomPoint, (TSkinPoint{20, 80}));
    EXPECT_EQ(f.RightBottomPoint, (TSkinPoint{120, 80}));
    // Inside: unchanged.
    f = read(L"lefttoppoint=25,35\nrighttoppoint=100,40\nleftbottompoint=30,70\nrightbottompoint=110,75\n");
    EXPECT_EQ(f.LeftTopPoint, (TSkinPoint{25, 35}));
    EXPECT_EQ(f.RightTopPoint, (TSkinPoint{100, 40}));
    EXPECT_EQ(f.LeftBottomPoint, (TSkinPoint{30, 70}));
    EXPECT_EQ(f.RightBottomPoint, (TSkinPoint{110, 75}));
    // Same x, or same y, of the right-bottom and left-top points: all stay as read.
    for (const wchar_t* degenerate :
         {L"lefttoppoint=5,6\nrighttoppoint=150,7\nleftbottompoint=8,95\nrightbottompoint=5,99\n",
          L"lefttoppoint=5,6\nrighttoppoint=150,7\nleftbottompoint=8,95\nrightbottompoint=140,6\n"}) {
        f = read(degenerate);
        EXPECT_EQ(f.LeftTopPoint, (TSkinPoint{5, 6}));
        EXPECT_EQ(f.RightTopPoint, (TSkinPoint{150, 7}));
        EXPECT_EQ(f.LeftBottomPoint, (TSkinPoint{8, 95}));
    }
}

TEST(SkinFormInfo, ThroughTheManagerTheMaskNameDecides) {
    auto load = [](const wchar_t* pictures) {
        auto sd = std::make_unique<TmnSkinData>(nullptr);
        TMemoryStream bytes = ArchiveBytes(Archive(
            String(L"[VERSION]\n[PICTURES]\n") + pictures +
            L"[FORMINFO]\nclientrect=5,29,141,74\nmaskrectarea=10,40,100,50\nlefttoppoint=10,30\n"
            L"rightbottompoint=130,70\n[SKINOBJECTS]\n[SKINCONTROLS]\n"));
        sd->LoadFromArchive(bytes);
        return sd;
    };
    auto masked = load(L"mask=m.bmp\n");
    EXPECT_EQ(masked->MaskRectArea, (TSkinRect{5, 29, 141, 74}));
    EXPECT_EQ(masked->HitTestLeftTopPoint, (TSkinPoint{10, 30}));
    // The archive carries a mask picture, but the description names none.
    auto unmasked = load(L"mask=\n");
    EXPECT_EQ(unmasked->MaskRectArea, (TSkinRect{10, 40, 100, 50}));
    EXPECT_EQ(unmasked->HitTestLeftTopPoint, TSkinPoint{});
}

TEST_F(SkinDataTest, StringComponentChangesAreAnnouncedAndReferencesDropWithTheirTarget) {
    auto* strings = new TmnResourceStrData(&owner);
    auto* skin = new TmnCompressedStoredSkin(&owner);
    Store(*skin, Archive());
    TmnSkinData sd(&owner);
    sd.SetResourceStrData(strings);
    sd.SetResourceStrData(nullptr);
    EXPECT_EQ(Numbers(), (std::vector<unsigned>{MSG_STRINGS_CHANGED, MSG_STRINGS_CHANGED}));
    sd.SetResourceStrData(strings);
    sd.SetCompressedStoredSkin(skin);
    delete strings;
    delete skin;
    EXPECT_EQ(sd.ResourceStrData(), nullptr);
    EXPECT_EQ(sd.CompressedStoredSkin(), nullptr);
    EXPECT_FALSE(sd.Empty());  // the loaded skin stays

    // While designing: no message and no load.
    sent.clear();
    TmnSkinData designed(nullptr);
    designed.SetDesigning(true);
    TmnCompressedStoredSkin other(nullptr);
    Store(other, Archive());
    designed.SetCompressedStoredSkin(&other);
    designed.SetResourceStrData(nullptr);
    EXPECT_TRUE(sent.empty());
    EXPECT_TRUE(designed.Empty());
    designed.SetCompressedStoredSkin(nullptr);
}

TEST_F(SkinDataTest, LibraryTextsComeFromTheStringComponentOrTheBuiltIns) {
    EXPECT_EQ(SkinLibraryText(nullptr, skinstr::CLOSEBUTTON_HINT), L"Schließen");
    TmnSkinData sd(nullptr);
    EXPECT_EQ(SkinLibraryText(&sd, skinstr::MI_ROLLUPCAPTION), L"&Zuklappen");
    EXPECT_EQ(SkinLibraryCharSet(&sd, 238), 238);
    TmnResourceStrData strings(nullptr);
    sd.SetResourceStrData(&strings);
    EXPECT_EQ(SkinLibraryText(&sd, skinstr::MI_ROLLUPCAPTION), L"Ro&llUp");
    EXPECT_EQ(SkinLibraryCharSet(&sd, 238), 1);
    TStringList lines;
    lines.Add(L"MI_CLOSECAPTION=&Zu");
    strings.SetResStrings(lines);
    strings.SetCharSet(204);
    EXPECT_EQ(SkinLibraryText(&sd, skinstr::MI_CLOSECAPTION), L"&Zu");
    EXPECT_EQ(SkinLibraryText(&sd, skinstr::CLOSEBUTTON_HINT), L"");  // no fallback to the built-in
    EXPECT_EQ(SkinLibraryCharSet(&sd, 0), 204);
    sd.SetResourceStrData(nullptr);
}

TEST_F(SkinDataTest, FormDataLoadsTheStoredSkinWhenReferencesAreResolved) {
    TMemoryStream archive = ArchiveBytes(Archive());
    TMemoryStream compressed;
    CompressStream(archive, compressed);
    TmnSkinData::Register();
    TmnCompressedStoredSkin::Register();
    String text = L"object Form1: TForm1\n"
                  L"  object mnSkinData1: TmnSkinData\n"
                  L"    EnableSkinEffects = False\n"
                  L"    CompressedStoredSkin = mnStoredSkin1\n"
                  L"  end\n"
                  L"  object mnStoredSkin1: TmnCompressedStoredSkin\n"
                  L"    FileName = 'skin.ini'\n"
                  L"    CompressedData = " +
                  FormDataBinary(compressed.Bytes(), L"      ") +
                  L"\n"
                  L"  end\n"
                  L"end\n";
    TComponent root(nullptr);
    root.SetName(L"Form1");
    ReadFormData(&root, text, nullptr);
    auto* sd = dynamic_cast<TmnSkinData*>(root.FindComponent(L"mnSkinData1"));
    ASSERT_NE(sd, nullptr);
    EXPECT_FALSE(sd->EnableSkinEffects());
    // The stored skin is read after the manager, yet the manager finds it filled.
    EXPECT_EQ(sd->CompressedStoredSkin(), root.FindComponent(L"mnStoredSkin1"));
    EXPECT_FALSE(sd->Empty());
    EXPECT_EQ(sd->SkinObjects().size(), 5u);
    EXPECT_EQ(Numbers(), kAllThree);

    TComponent other(nullptr);
    other.SetName(L"Form1");
    EXPECT_THROW(ReadFormData(&other,
                              L"object Form1: TForm1\n  object mnSkinData1: TmnSkinData\n"
                              L"    CompressedStoredSkin = Form1\n  end\nend\n",
                              nullptr),
                 EReadError);
}

TEST_F(SkinDataTest, TheDefaultSkinLoadsCompletely) {
    const char* root = std::getenv("FN_SOURCE_DIR");
    ASSERT_NE(root, nullptr) << "FN_SOURCE_DIR names the source folder";
    const String folder = Utf8ToWide(root) + L"/skins/fennick/";
    TmnCompressedStoredSkin skin(nullptr);
    skin.LoadFromSkinFile(folder + L"skin.ini");
    ASSERT_FALSE(skin.IsEmpty());
    TmnSkinData sd(nullptr);
    sd.LoadFromCompressedStoredSkin(skin);
    EXPECT_FALSE(sd.Empty());
    EXPECT_EQ(Numbers(), kAllThree);

    // Every list item of the description became a record of its keyword's class, in order.
    TMemIniFile ini(folder + L"skin.ini");
    const int objects = ini.ReadInteger(L"SKINOBJECTS", L"count", 0);
    ASSERT_EQ(sd.SkinObjects().size(), static_cast<size_t>(objects));
    for (int i = 0; i < objects; ++i) {
        String name, type;
        SplitRecordEntry(ini.ReadString(L"SKINOBJECTS", IntToStr(i), L""), name, type);
        EXPECT_EQ(sd.SkinObjects()[i]->SectionName, name);
        EXPECT_EQ(SkinObjectTypeKeyword(*sd.SkinObjects()[i]), type);
        EXPECT_EQ(sd.GetObjectIndex(name), i);
    }
    const int controls = ini.ReadInteger(L"SKINCONTROLS", L"count", 0);
    ASSERT_EQ(sd.SkinControls().size(), static_cast<size_t>(controls));
    for (int i = 0; i < controls; ++i) {
        String name, type;
        SplitRecordEntry(ini.ReadString(L"SKINCONTROLS", IntToStr(i), L""), name, type);
        EXPECT_EQ(sd.SkinControls()[i]->SectionName, name);
        EXPECT_STREQ(sd.SkinControls()[i]->ClassName(), CreateSkinControlRecord(type, name)->ClassName());
    }
    EXPECT_GE(sd.GetControlIndex(L"mainmenubar"), 0);
    EXPECT_EQ(sd.GetObjectIndex(L"menuitem"), -1);
    EXPECT_GE(sd.GetObjectIndex(L"MENUITEM"), 0);

    // The pictures are the files the description names, in the archive's order.
    TBitmapData file;
    file.LoadFromFile(folder + sd.PictureName());
    EXPECT_EQ(sd.Picture(), file);
    file.LoadFromFile(folder + sd.MaskName());
    EXPECT_EQ(sd.Mask(), file);
    EXPECT_TRUE(sd.InactivePicture().Empty());
    ASSERT_EQ(sd.ActivePictures().size(), sd.ActivePictureNames().size());
    for (size_t i = 0; i < sd.ActivePictures().size(); ++i) {
        file.LoadFromFile(folder + sd.ActivePictureNames()[i]);
        EXPECT_EQ(sd.ActivePictures()[i], file) << WideToUtf8(sd.ActivePictureNames()[i]);
    }

    // The frame geometry is usable as it stands: mask area over the client area, hit-test
    // points set, corner points inside the client rectangle.
    const TSkinRect& c = sd.ClientRect;
    EXPECT_FALSE(c.IsEmpty());
    EXPECT_TRUE(sd.MaskRectArea.Left <= c.Left && sd.MaskRectArea.Top <= c.Top && sd.MaskRectArea.Right >= c.Right &&
                sd.MaskRectArea.Bottom >= c.Bottom);
    for (const TSkinPoint* p : {&sd.HitTestLeftTopPoint, &sd.HitTestRightTopPoint, &sd.HitTestLeftBottomPoint,
                                &sd.HitTestRightBottomPoint})
        EXPECT_FALSE(p->IsUnset());
    for (const TSkinPoint* p : {&sd.LeftTopPoint, &sd.RightTopPoint, &sd.LeftBottomPoint, &sd.RightBottomPoint})
        EXPECT_TRUE(p->X >= c.Left && p->X <= c.Right && p->Y >= c.Top && p->Y <= c.Bottom);
    EXPECT_NE(sd.ActivePicture(sd.BgPictureIndex), nullptr);
}
