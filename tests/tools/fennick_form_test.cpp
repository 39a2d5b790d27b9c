// The packed default skin as the program carries it: the RCDATA resource FENNICK_SKIN named by
// a window's form data loads into that window's skin data manager while the form is read.
#include <gtest/gtest.h>

#include "platform/win/application.h"
#include "platform/win/forms.h"
#include "skin/data/skin_data.h"
#include "skin/data/stored_skin.h"
#include "skins/fennick/fennick_skin_form.h"

namespace fn {
namespace {

TEST(FennickOnAForm, EachFormLoadsTheEmbeddedSkinAndBothShareOneDecodedCopy) {
    Application()->Initialize();
    TmnSkinData::Register();
    TmnCompressedStoredSkin::Register();
    TForm first(nullptr), second(nullptr);
    first.LoadFromText(test::kFennickSkinForm);
    second.LoadFromText(test::kFennickSkinForm);

    auto* stored = dynamic_cast<TmnCompressedStoredSkin*>(first.FindComponent(L"mnStoredSkin1"));
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->FileName(), L"skin.ini");
    ASSERT_FALSE(stored->IsEmpty());
    EXPECT_LT(stored->CompressedStream().Bytes().size(), 64u * 1024u);

    auto* a = dynamic_cast<TmnSkinData*>(first.FindComponent(L"mnSkinData1"));
    auto* b = dynamic_cast<TmnSkinData*>(second.FindComponent(L"mnSkinData1"));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    ASSERT_FALSE(a->Empty());
    EXPECT_FALSE(a->SkinLoading());
    EXPECT_EQ(a->SkinName(), L"Fennick");
    EXPECT_GE(a->GetObjectIndex(L"caption1"), 0);
    EXPECT_GE(a->GetObjectIndex(L"MENUITEM"), 0);
    EXPECT_GE(a->GetControlIndex(L"mainmenubar"), 0);
    // Two managers of one stored skin share one decoded copy.
    ASSERT_FALSE(b->Empty());
    EXPECT_EQ(&a->Picture(), &b->Picture());
    EXPECT_TRUE(a->Picture() == b->Picture());
    EXPECT_EQ(a->SkinObjects().size(), b->SkinObjects().size());
}

}  // namespace
}  // namespace fn
