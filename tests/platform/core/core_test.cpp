#include <gtest/gtest.h>

#include "platform/core/files.h"
#include "platform/core/form_data.h"
#include "platform/core/streams.h"

using namespace fn;

TEST(SysUtils, StrToIntAcceptsDecimalAndHexAndRaisesGermanError) {
    EXPECT_EQ(StrToInt(L" 42 "), 42);
    EXPECT_EQ(StrToInt(L"-7"), -7);
    EXPECT_EQ(StrToInt(L"$FF"), 255);
    EXPECT_EQ(StrToInt(L"$FF000005"), static_cast<int>(0xFF000005u));
    EXPECT_EQ(StrToInt(L"-2147483648"), INT32_MIN);
    try {
        StrToInt(L"12a");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"'12a' ist kein gültiger Integerwert");
    }
    EXPECT_THROW(StrToInt(L"2147483648"), EConvertError);
    EXPECT_THROW(StrToInt(L""), EConvertError);
}

TEST(SysUtils, FileNamePartsUseEitherSeparator) {
    EXPECT_EQ(ExtractFileName(L"C:\\Notizen\\brief.txt"), L"brief.txt");
    EXPECT_EQ(ExtractFilePath(L"C:\\Notizen\\brief.txt"), L"C:\\Notizen\\");
    EXPECT_EQ(ExtractFilePath(L"C:\\x.exe"), L"C:\\");
    EXPECT_EQ(ExtractFileName(L"a/b/c.ini"), L"c.ini");
    EXPECT_EQ(ExtractFileExt(L"a.b\\c"), L"");
    EXPECT_EQ(Format(L"Datei %s kann nicht geöffnet werden. %s", {L"x", L"y"}), L"Datei x kann nicht geöffnet werden. y");
}

TEST(Text, DecodesBomsUtf8AndWindows1252) {
    const uint8_t ascii[] = {'a', 0x01, 'Z', 0x7F};
    EXPECT_EQ(DecodeText(ascii, sizeof ascii), String(L"a\x01Z\x7F"));
    const uint8_t utf8[] = {'G', 0xC3, 0xBC, 't'};
    EXPECT_EQ(DecodeText(utf8, sizeof utf8), L"Güt");
    const uint8_t bom[] = {0xEF, 0xBB, 0xBF, 0xC3, 0xA4};
    EXPECT_EQ(DecodeText(bom, sizeof bom), L"ä");
    const uint8_t utf16[] = {0xFF, 0xFE, 0xF6, 0x00, 'x', 0x00};
    EXPECT_EQ(DecodeText(utf16, sizeof utf16), L"öx");
    const uint8_t cp1252[] = {'M', 0xFC, 'h', 0x80};
    EXPECT_EQ(DecodeText(cp1252, sizeof cp1252), L"Müh\x20AC");
    TStringList l;
    l.SetText(L"a\r\nb\rc\nd");
    ASSERT_EQ(l.Count(), 4);
    EXPECT_EQ(l[2], L"c");
}

TEST(Streams, MemoryStreamReadsWritesAndReportsShortReads) {
    TMemoryStream m;
    m.WriteInt32(3);
    m.WriteByte(1);
    EXPECT_EQ(m.Size(), 5);
    m.SetPosition(0);
    EXPECT_EQ(m.ReadInt32(), 3);
    EXPECT_EQ(m.ReadByte(), 1);
    try {
        m.ReadByte();
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), L"Stream-Lesefehler");
    }
}

TEST(Streams, MemoryStreamGrowsWithZeroBytes) {
    TMemoryStream m;
    m.WriteByte(7);
    m.SetSize(4);
    EXPECT_EQ(m.Bytes(), (std::vector<uint8_t>{7, 0, 0, 0}));
    m.SetPosition(6);  // past the end: the gap reads as zeros
    m.WriteByte(9);
    EXPECT_EQ(m.Bytes(), (std::vector<uint8_t>{7, 0, 0, 0, 0, 0, 9}));
    m.SetSizeUnfilled(2);  // cutting keeps what was there
    EXPECT_EQ(m.Bytes(), (std::vector<uint8_t>{7, 0}));
    EXPECT_EQ(m.Position(), 2);
}

TEST(Streams, MissingFileRaisesOpenErrorNamingTheFile) {
    try {
        TFileStream f(L"/nonexistent/dir/x.txt", FileMode::OpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find(L"Datei /nonexistent/dir/x.txt kann nicht geöffnet werden."), String::npos);
    }
}

namespace {
// A component with a reference, an event and a nested child, as forms have.
struct Item : TComponent {
    using TComponent::TComponent;
    String caption;
    TComponent* ref = nullptr;
    Item* typed = nullptr;
    std::function<void()> onClick;
    std::vector<TComponent*> children;
    bool loadingSeenAtRef = false;
    std::vector<uint8_t> data;
    int size = 0;
    bool ReadProperty(const String& name, const FormValue& v, TReader& r) override {
        if (name == L"Caption") { caption = v.AsString(); return true; }
        if (name == L"Ref") {
            r.FixupReference(v, [this](TComponent* c) { ref = c; loadingSeenAtRef = IsLoading(); if (c) FreeNotification(c); });
            return true;
        }
        if (name == L"Typed") {
            r.FixupReference<Item>(name, v, L"ist kein Eintrag", [this](Item* i) { typed = i; });
            return true;
        }
        if (name == L"OnClick") { onClick = r.Method<std::function<void()>>(v); return true; }
        if (name == L"Data") { data = v.bytes; return true; }
        if (name == L"Size") { size = r.Scaled(v); return true; }
        if (name == L"Scaled") { v.AsBool(); return true; }
        return false;
    }
    void ReadChild(TComponent* c) override { children.push_back(c); }
    void Notification(TComponent* c, Operation op) override {
        TComponent::Notification(c, op);
        if (op == Operation::Remove && c == ref) ref = nullptr;
    }
};
}  // namespace

TEST(FormData, CreatesInOrderResolvesReferencesAfterReadingAndCallsLoaded) {
    RegisterComponentClass(L"TItem", [](TComponent* o) { return new Item(o); });
    Item root(nullptr);
    int clicks = 0;
    TMethodTable methods;
    methods.Add(L"ItemClick", std::function<void()>([&] { ++clicks; }));
    ReadFormData(&root, LR"(object Root: TItem
  Caption = 'Fennick ' +
    'Notizen'
  object A: TItem
    Ref = B
    OnClick = ItemClick
    object A1: TItem
      Caption = 'it''s'
    end
  end
  object B: TItem
    Data = {03 00 0a}
  end
end)", &methods);
    ASSERT_EQ(root.ComponentCount(), 3);
    EXPECT_EQ(root.Components(0)->Name(), L"A");
    EXPECT_EQ(root.Components(1)->Name(), L"A1");
    EXPECT_EQ(root.caption, L"Fennick Notizen");
    auto* a = static_cast<Item*>(root.FindComponent(L"A"));
    auto* b = static_cast<Item*>(root.FindComponent(L"b"));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->ref, b);
    EXPECT_TRUE(a->loadingSeenAtRef);
    EXPECT_FALSE(a->IsLoading());
    ASSERT_EQ(a->children.size(), 1u);
    EXPECT_EQ(static_cast<Item*>(a->children[0])->caption, L"it's");
    EXPECT_EQ(b->data, (std::vector<uint8_t>{3, 0, 10}));
    a->onClick();
    EXPECT_EQ(clicks, 1);
    delete b;  // removal notification clears the reference
    EXPECT_EQ(a->ref, nullptr);
}

namespace {
struct NotAnItem : TComponent {
    using TComponent::TComponent;
};
}  // namespace

TEST(FormData, ATypedReferenceTakesOnlyItsClass) {
    RegisterComponentClass(L"TItem", [](TComponent* o) { return new Item(o); });
    RegisterComponentClass(L"TNotAnItem", [](TComponent* o) { return new NotAnItem(o); });
    Item root(nullptr);
    ReadFormData(&root, L"object Root: TItem\n  Typed = B\n  object B: TItem\n  end\nend", nullptr);
    EXPECT_EQ(root.typed, root.FindComponent(L"B"));
    ReadFormData(&root, L"object Root: TItem\n  Typed = nil\nend", nullptr);
    EXPECT_EQ(root.typed, nullptr);
    Item other(nullptr);
    try {
        ReadFormData(&other, L"object Root: TItem\n  Typed = C\n  object C: TNotAnItem\n  end\nend", nullptr);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), L"Typed: C ist kein Eintrag");
    }
    EXPECT_EQ(other.typed, nullptr);
}

TEST(FormData, MalformedDataNamesTheLine) {
    Item root(nullptr);
    try {
        ReadFormData(&root, L"object R: TItem\n  Caption = 'open\nend", nullptr);
        FAIL();
    } catch (const EFormDataError& e) {
        EXPECT_NE(e.Message().find(L"Zeile 2"), String::npos);
    }
    EXPECT_THROW(ReadFormData(&root, L"object R: TItem\n  Unknown = 1\nend", nullptr), EFormDataError);
    EXPECT_THROW(ReadFormData(&root, L"object R: TItem\n  object X: TNoSuchClass\n  end\nend", nullptr), EFormDataError);
}

TEST(FormData, AScaledFormReadsItsPixelsForTheDotsPerInchGivenWhereverScaledStands) {
    RegisterComponentClass(L"TItem", [](TComponent* o) { return new Item(o); });
    auto sizes = [](const wchar_t* scaled, int dpi) {
        Item root(nullptr);
        ReadFormData(&root, String(L"object Root: TItem\n  Size = 11\n") + scaled +
                                L"  object A: TItem\n    Size = -11\n  end\n  object B: TItem\n    Size = 7\n  end\nend",
                     nullptr, dpi);
        return std::vector<int>{root.size, static_cast<Item*>(root.FindComponent(L"A"))->size,
                                static_cast<Item*>(root.FindComponent(L"B"))->size};
    };
    // Halves round away from zero, alike for a length and a font's negative height.
    EXPECT_EQ(sizes(L"  Scaled = True\n", 120), (std::vector<int>{14, -14, 9}));
    EXPECT_EQ(sizes(L"  Scaled = True\n", 144), (std::vector<int>{17, -17, 11}));
    EXPECT_EQ(sizes(L"  Scaled = True\n", 192), (std::vector<int>{22, -22, 14}));
    EXPECT_EQ(sizes(L"  Scaled = False\n", 192), (std::vector<int>{11, -11, 7}));
    EXPECT_EQ(sizes(L"", 192), (std::vector<int>{11, -11, 7}));
    // Back from one screen to another, as a window moved between them.
    EXPECT_EQ(ScaledForDpi(22, 96, 192), 11);
    EXPECT_EQ(ScaledForDpi(17, 120, 144), 14);
    EXPECT_EQ(ScaledForDpi(-21, 96, 192), -11);
}
