// The skin data manager on real forms: who receives the change messages, in which order, with
// which parameters, and what a form sees of the manager while it handles them.
#include <gtest/gtest.h>

#include "platform/win/application.h"
#include "platform/win/forms.h"
#include "skin/data/skin_archive.h"
#include "skin/data/skin_data.h"
#include "skin/data/stored_skin.h"
#include "skin/data/zlib_streams.h"

using namespace fn;

namespace {

struct Received {
    String form;
    unsigned message;
    WPARAM wParam;
    LPARAM lParam;
    bool empty, loading;
    size_t objects;
    bool direct;  // told through its component: the form had no window
};

std::vector<Received> received;

bool IsSkinMessage(UINT msg) {
    return msg == MSG_SKIN_BEFORE_CHANGE || msg == MSG_SKIN_CHANGE || msg == MSG_SKIN_AFTER_CHANGE ||
           msg == MSG_STRINGS_CHANGED;
}

void Note(const String& form, unsigned msg, WPARAM wParam, LPARAM lParam, bool direct) {
    auto* sd = reinterpret_cast<TmnSkinData*>(wParam);
    received.push_back({form, msg, wParam, lParam, sd->Empty(), sd->SkinLoading(), sd->SkinObjects().size(), direct});
}

// A form that notes every skin message and, like a skinned element, looks at the sending
// manager through wParam: through its window, or through its component while it has none.
class ProbeForm : public TForm {
    struct Target : TComponent, TmnSkinMessageTarget {
        using TComponent::TComponent;
        void TakeSkinMessage(TmnSkinData* manager, unsigned msg) override {
            Note(Owner()->Name(), msg, reinterpret_cast<WPARAM>(manager), MSG_SKIN_LPARAM, true);
        }
    };

public:
    explicit ProbeForm(const wchar_t* name) : TForm(nullptr) {
        SetName(name);
        new Target(this);
    }
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (IsSkinMessage(msg)) Note(Name(), msg, wParam, lParam, false);
        return TForm::WndProc(msg, wParam, lParam);
    }
};

TStringList Lines(std::wstring_view text) {
    TStringList l;
    l.SetText(text);
    return l;
}

TMemoryStream ArchiveBytes(int version = 3) {
    TSkinArchive a;
    a.Picture.SetSize(40, 30);
    a.Mask.SetSize(40, 30);
    a.ActivePictures.resize(1);
    a.ActivePictures[0].SetSize(8, 8);
    a.Description = Lines(L"[VERSION]\nskinname=Fenster\n[PICTURES]\npicture=p.bmp\nmask=m.bmp\n"
                          L"activepicturescount=1\n0=a.bmp\n[FORMINFO]\nclientrect=4,20,36,26\n"
                          L"[SKINOBJECTS]\ncount=2\n0=Caption:caption\n1=close:stdbutton\n"
                          L"[SKINCONTROLS]\ncount=1\n0=mainmenubar:mainmenubar\n")
                        .Lines();
    TMemoryStream s;
    WriteSkinArchive(s, a);
    if (version != 3) {
        s.SetPosition(0);
        s.WriteInt32(version);
    }
    return s;
}

void Store(TmnCompressedStoredSkin& skin, int version = 3) {
    TMemoryStream archive = ArchiveBytes(version);
    skin.CompressedStream().Clear();
    CompressStream(archive, skin.CompressedStream());
}

std::vector<String> Recipients(unsigned message) {
    std::vector<String> names;
    for (const Received& r : received)
        if (r.message == message) names.push_back(r.form);
    return names;
}

std::vector<unsigned> Messages() {
    std::vector<unsigned> m;
    for (const Received& r : received) m.push_back(r.message);
    return m;
}

class SkinDataOnForms : public ::testing::Test {
protected:
    void SetUp() override {
        Application()->Initialize();
        TmnSkinData::Register();
        TmnCompressedStoredSkin::Register();
        received.clear();
    }
    void TearDown() override { received.clear(); }
};

}  // namespace

TEST_F(SkinDataOnForms, TheOwnerFormHearsFirstThenEveryOtherFormInScreenOrder) {
    ProbeForm a(L"A"), b(L"B"), c(L"C");
    a.Handle();
    c.Handle();
    ASSERT_FALSE(b.HandleAllocated());
    auto* skin = new TmnCompressedStoredSkin(&b);
    Store(*skin);
    auto* sd = new TmnSkinData(&b);
    sd->SetCompressedStoredSkin(skin);

    EXPECT_FALSE(b.HandleAllocated());  // not made for the messages: told directly
    EXPECT_TRUE(received[0].direct);
    EXPECT_FALSE(received[1].direct);
    const std::vector<String> order = {L"B", L"A", L"C"};
    EXPECT_EQ(Recipients(MSG_SKIN_BEFORE_CHANGE), order);
    EXPECT_EQ(Recipients(MSG_SKIN_CHANGE), order);
    EXPECT_EQ(Recipients(MSG_SKIN_AFTER_CHANGE), order);
    // Each message reaches every form before the next one is sent.
    EXPECT_EQ(Messages(), (std::vector<unsigned>{1225, 1225, 1225, 1226, 1226, 1226, 1227, 1227, 1227}));
    for (const Received& r : received) {
        EXPECT_EQ(r.wParam, reinterpret_cast<WPARAM>(sd));
        EXPECT_EQ(r.lParam, 1000);
    }
    // What a form sees of the manager while it handles each message.
    EXPECT_TRUE(received[0].empty && received[0].loading);
    EXPECT_TRUE(!received[3].empty && received[3].loading);
    EXPECT_EQ(received[3].objects, 2u);
    EXPECT_TRUE(!received[6].empty && !received[6].loading);

    // A second load: the forms still see the old records at the before-change message.
    received.clear();
    sd->LoadFromCompressedStoredSkin(*skin);
    ASSERT_EQ(received.size(), 9u);
    EXPECT_EQ(received[0].objects, 2u);
    EXPECT_TRUE(received[0].empty);
}

TEST_F(SkinDataOnForms, AManagerOwnedByNoFormReachesEveryFormInOrder) {
    ProbeForm a(L"A"), b(L"B");
    TComponent holder(nullptr);
    auto* skin = new TmnCompressedStoredSkin(&holder);
    Store(*skin);
    auto* sd = new TmnSkinData(&holder);
    sd->SetCompressedStoredSkin(skin);
    EXPECT_EQ(Recipients(MSG_SKIN_CHANGE), (std::vector<String>{L"A", L"B"}));
    EXPECT_FALSE(a.HandleAllocated() || b.HandleAllocated());

    received.clear();
    sd->SetResourceStrData(nullptr);
    EXPECT_EQ(Recipients(MSG_STRINGS_CHANGED), (std::vector<String>{L"A", L"B"}));
    EXPECT_EQ(received[0].lParam, 1000);
}

TEST_F(SkinDataOnForms, ABrokenSkinSendsOnlyTheBeforeChangeMessage) {
    ProbeForm a(L"A");
    auto* skin = new TmnCompressedStoredSkin(&a);
    auto* sd = new TmnSkinData(&a);
    Store(*skin, 4);
    sd->SetCompressedStoredSkin(skin);
    EXPECT_EQ(Messages(), std::vector<unsigned>{MSG_SKIN_BEFORE_CHANGE});
    EXPECT_TRUE(sd->Empty() && sd->SkinLoading());

    received.clear();
    Store(*skin);
    skin->CompressedStream().SetSize(12);  // cut inside the pictures
    EXPECT_ANY_THROW(sd->LoadFromCompressedStoredSkin(*skin));
    EXPECT_EQ(Messages(), std::vector<unsigned>{MSG_SKIN_BEFORE_CHANGE});
    EXPECT_TRUE(sd->Empty() && sd->SkinLoading());
}

TEST_F(SkinDataOnForms, AFormCreatedFromItsFormDataIsSkinnedWhileItIsCreated) {
    ProbeForm earlier(L"Earlier");
    TMemoryStream archive = ArchiveBytes();
    TMemoryStream compressed;
    CompressStream(archive, compressed);
    String text = L"object Created: TForm\n"
                  L"  Caption = 'Probe'\n"
                  L"  object mnSkinData1: TmnSkinData\n"
                  L"    EnableSkinEffects = True\n"
                  L"    CompressedStoredSkin = mnStoredSkin1\n"
                  L"  end\n"
                  L"  object mnStoredSkin1: TmnCompressedStoredSkin\n"
                  L"    FileName = 'skin.ini'\n"
                  L"    CompressedData = " +
                  FormDataBinary(compressed.Bytes(), L"      ") + L"\n  end\nend\n";
    ProbeForm created(L"");
    created.LoadFromText(text);
    EXPECT_EQ(Recipients(MSG_SKIN_BEFORE_CHANGE), (std::vector<String>{L"Created", L"Earlier"}));
    EXPECT_EQ(Recipients(MSG_SKIN_AFTER_CHANGE), (std::vector<String>{L"Created", L"Earlier"}));
    auto* sd = dynamic_cast<TmnSkinData*>(created.FindComponent(L"mnSkinData1"));
    ASSERT_NE(sd, nullptr);
    EXPECT_EQ(received.front().wParam, reinterpret_cast<WPARAM>(sd));
    EXPECT_FALSE(sd->Empty());
    EXPECT_EQ(sd->SkinName(), L"Fenster");
    EXPECT_EQ(sd->GetControlIndex(L"mainmenubar"), 0);
}
