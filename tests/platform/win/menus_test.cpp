// Menu items as the skinned menus read them: radio groups, images, hints, bitmaps and the
// owner-draw event, set in code and read from form data.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "platform/win/actions.h"
#include "platform/win/application.h"
#include "platform/win/forms.h"
#include "platform/win/image_list.h"
#include "platform/win/menus.h"

namespace fn {
namespace {

TMenuItem* AddItem(TMenu& menu, const wchar_t* caption) {
    auto* item = new TMenuItem(&menu);
    item->SetCaption(caption);
    menu.Items()->Add(item);
    return item;
}

TEST(MenuItems, CheckingARadioItemUnchecksTheRestOfItsGroupOnly) {
    TPopupMenu menu(nullptr);
    TMenuItem* left = AddItem(menu, L"Links");
    TMenuItem* centre = AddItem(menu, L"Zentriert");
    TMenuItem* other = AddItem(menu, L"Anderes");
    TMenuItem* plain = AddItem(menu, L"Ohne");
    for (TMenuItem* i : {left, centre, other}) i->SetRadioItem(true);
    left->SetGroupIndex(1);
    centre->SetGroupIndex(1);
    other->SetGroupIndex(2);
    plain->SetGroupIndex(1);
    other->SetChecked(true);
    plain->SetChecked(true);
    left->SetChecked(true);
    centre->SetChecked(true);
    EXPECT_FALSE(left->Checked());
    EXPECT_TRUE(centre->Checked());
    EXPECT_TRUE(other->Checked());
    EXPECT_TRUE(plain->Checked());
    // Making a checked item a radio item settles its group too.
    left->SetChecked(true);
    left->SetRadioItem(false);
    centre->SetChecked(true);
    EXPECT_TRUE(left->Checked());
    left->SetRadioItem(true);
    EXPECT_FALSE(centre->Checked());
}

// The bytes of a w x h 24-bit bitmap file of one colour.
std::vector<uint8_t> BmpFile(int w, int h, COLORREF colour) {
    const int row = (w * 3 + 3) / 4 * 4;
    const uint32_t size = 54 + static_cast<uint32_t>(row * h);
    std::vector<uint8_t> b(size, 0);
    auto put32 = [&](size_t at, uint32_t v) { for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i)); };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, size);
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(w));
    put32(22, static_cast<uint32_t>(h));
    b[26] = 1;
    b[28] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &b[54 + static_cast<size_t>(y * row + x * 3)];
            p[0] = GetBValue(colour);
            p[1] = GetGValue(colour);
            p[2] = GetRValue(colour);
        }
    return b;
}

String Hex(const std::vector<uint8_t>& bytes) {
    String s;
    wchar_t two[3];
    for (uint8_t v : bytes) {
        std::swprintf(two, 3, L"%02X", v);
        s += two;
    }
    return s;
}

TEST(MenuItems, ALinkedActionLendsItsStateAndCommandUntilEitherGoes) {
    TPopupMenu menu(nullptr);
    TMenuItem* left = AddItem(menu, L"Links");
    left->SetRadioItem(true);
    left->SetChecked(true);
    TMenuItem* right = AddItem(menu, L"Rechts");
    right->SetRadioItem(true);
    auto* action = new TAction(nullptr);
    action->SetCaption(L"&Rechts");
    action->SetShortCut(ShortCut('R', ssCtrl));
    action->SetChecked(true);
    right->SetAction(action);
    EXPECT_EQ(right->Caption(), L"&Rechts");
    EXPECT_EQ(right->ShortCut(), ShortCut('R', ssCtrl));
    EXPECT_TRUE(right->Checked());
    EXPECT_FALSE(left->Checked());  // checked through the action: the group follows
    // What the action's update sets, every linked item shows.
    TMenuItem* copy = AddItem(menu, L"");
    copy->SetAction(action);
    action->OnUpdate = [&](TComponent*) { action->SetEnabled(false); };
    right->UpdateAction();
    EXPECT_FALSE(right->Enabled());
    EXPECT_FALSE(copy->Enabled());
    EXPECT_EQ(copy->Caption(), L"&Rechts");
    // A click without an OnClick of its own runs the action; one with runs only its own.
    int executed = 0, clicked = 0;
    action->OnExecute = [&](TComponent*) { ++executed; };
    right->Click();
    copy->OnClick = [&](TComponent*) { ++clicked; };
    copy->Click();
    EXPECT_EQ(executed, 1);
    EXPECT_EQ(clicked, 1);
    // A freed item leaves the action; a freed action leaves its items as they were.
    delete copy;
    action->SetCaption(L"Rechtsbündig");
    EXPECT_EQ(right->Caption(), L"Rechtsbündig");
    delete action;
    EXPECT_EQ(right->Action(), nullptr);
    EXPECT_EQ(right->Caption(), L"Rechtsbündig");
    right->UpdateAction();
    right->Click();
    EXPECT_EQ(executed, 1);
}

TEST(MenuItems, FormDataGivesImagesHintsRadioItemsAndBitmaps) {
    Application()->Initialize();
    TForm form(nullptr);
    form.LoadFromText(L"object MenuHost: TForm\n"
                      L"  Caption = 'Menüs'\n"
                      L"  object ImageList1: TImageList\n"
                      L"    Width = 12\n"
                      L"    Height = 10\n"
                      L"  end\n"
                      L"  object PopupMenu1: TPopupMenu\n"
                      L"    Images = ImageList1\n"
                      L"    object Links1: TMenuItem\n"
                      L"      Caption = '&Links'\n"
                      L"      Hint = 'Richtet den Absatz links aus'\n"
                      L"      ImageIndex = 3\n"
                      L"      RadioItem = True\n"
                      L"      GroupIndex = 4\n"
                      L"      Checked = True\n"
                      L"      Bitmap.Data = {" + Hex(BmpFile(3, 2, RGB(200, 10, 20))) + L"}\n"
                      L"    end\n"
                      L"  end\n"
                      L"end\n");
    auto* menu = form.Field<TPopupMenu>(L"PopupMenu1");
    auto* images = form.Field<TImageList>(L"ImageList1");
    EXPECT_EQ(menu->Images(), images);
    EXPECT_EQ(images->Width(), 12);
    EXPECT_EQ(images->Height(), 10);
    TMenuItem* item = menu->Items()->Items(0);
    EXPECT_EQ(item->Hint(), L"Richtet den Absatz links aus");
    EXPECT_EQ(item->ImageIndex(), 3);
    EXPECT_TRUE(item->RadioItem());
    EXPECT_EQ(item->GroupIndex(), 4);
    EXPECT_TRUE(item->Checked());
    ASSERT_TRUE(item->HasBitmap());
    EXPECT_EQ(item->Bitmap().Width(), 3);
    EXPECT_EQ(item->Bitmap().Height(), 2);
    EXPECT_EQ(::GetPixel(item->Bitmap().Canvas().Handle(), 1, 1), RGB(200, 10, 20));
    // The list going clears the menu's reference.
    delete images;
    EXPECT_EQ(menu->Images(), nullptr);
}

TEST(MenuItems, AMalformedBitmapIsAReadErrorNotACrash) {
    Application()->Initialize();
    std::vector<uint8_t> cut = BmpFile(4, 4, RGB(1, 2, 3));
    cut.resize(60);
    for (const String& data : {Hex(cut), String(L"424D")}) {
        TForm form(nullptr);
        EXPECT_ANY_THROW(form.LoadFromText(L"object MenuHost: TForm\n"
                                           L"  object PopupMenu1: TPopupMenu\n"
                                           L"    object Item1: TMenuItem\n"
                                           L"      Bitmap.Data = {" + data + L"}\n"
                                           L"    end\n"
                                           L"  end\n"
                                           L"end\n"));
    }
}

}  // namespace
}  // namespace fn
