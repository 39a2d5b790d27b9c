#include "tests/skin/controls/controls_fixture.h"

#include <objbase.h>

#include "platform/win/application.h"
#include "skin/data/skin_archive.h"

namespace fn::test {

namespace {

TBitmapData Picture(int w, int h, uint32_t (*colour)(int, int)) {
    TBitmapData b;
    b.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixel(x, y, colour(x, y));
    return b;
}

uint32_t ProbeRgb(int x, int y) { return (static_cast<uint32_t>(x * 3 % 256) << 16) | (static_cast<uint32_t>(y * 4 % 256) << 8) | 77u; }

// The mask: black (inside) left half, white right half.
uint32_t MaskRgb(int x, int) { return x < 10 ? 0x000000 : 0xFFFFFF; }

// The up-down picture: normal images grey, active images blue, pressed images red.
uint32_t UpDownRgb(int, int y) { return y < 20 ? 0xC0C0C0 : y < 40 ? 0x0000FF : 0xFF0000; }

}  // namespace

COLORREF ProbeColor(int x, int y) {
    const uint32_t c = ProbeRgb(x, y);
    return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}

String ProbeDescription() {
    return L"[VERSION]\nskinname=Probe\n"
           L"[PICTURES]\npicture=\ninactivepicture=\nmask=\nactivepicturescount=3\n0=c.bmp\n1=m.bmp\n2=u.bmp\n"
           L"[FORMINFO]\n[SKINCOLORS]\n[SKINOBJECTS]\ncount=0\n"
           L"[SKINCONTROLS]\ncount=12\n0=nine:scrollbox\n1=fixed:scrollbox\n2=hstrip:scrollbox\n3=vstrip:scrollbox\n"
           L"4=masked:scrollbox\n5=stdlabel:stdlabel\n6=nopicture:scrollbox\n7=hupdown:updown\n8=panel:panel\n"
           L"9=statusbar:panel\n10=stretchy:scrollbox\n11=dot:panel\n"
           L"[nine]\npictureindex=0\nskinrect=0,0,30,30\nlefttoppoint=6,8\nrighttoppoint=24,8\n"
           L"leftbottompoint=6,22\nrightbottompoint=24,22\nclientrect=6,8,24,22\n"
           L"[fixed]\npictureindex=0\nskinrect=30,0,50,12\n"
           L"[hstrip]\npictureindex=0\nskinrect=0,30,40,40\nlefttoppoint=10,0\nrighttoppoint=30,0\n"
           L"[vstrip]\npictureindex=0\nskinrect=40,30,50,60\nlefttoppoint=0,6\nleftbottompoint=0,20\n"
           L"[masked]\npictureindex=0\nmaskpictureindex=1\nskinrect=50,12,70,22\n"
           L"[stdlabel]\nfontcolor=255\n"
           L"[nopicture]\npictureindex=7\nskinrect=0,0,30,30\n"
           L"[hupdown]\npictureindex=2\nskinrect=0,0,40,20\nupbuttonrect=20,0,40,20\nactiveupbuttonrect=20,20,40,40\n"
           L"downupbuttonrect=20,40,40,60\ndownbuttonrect=0,0,20,20\nactivedownbuttonrect=0,20,20,40\n"
           L"downdownbuttonrect=0,40,20,60\n"
           L"[panel]\npictureindex=0\nskinrect=0,0,30,30\nlefttoppoint=6,8\nrighttoppoint=24,8\n"
           L"leftbottompoint=6,22\nrightbottompoint=24,22\nclientrect=6,8,24,22\ncaptionrect=4,0,26,8\n"
           L"checkimagerect=60,0,66,6\nuncheckimagerect=70,0,76,6\n"
           L"[statusbar]\npictureindex=0\nskinrect=0,0,30,30\nlefttoppoint=6,8\nrighttoppoint=24,8\n"
           L"leftbottompoint=6,22\nrightbottompoint=24,22\nclientrect=6,8,24,22\ngripperrect=50,40,60,50\n"
           L"[stretchy]\npictureindex=0\nskinrect=0,0,30,30\nlefttoppoint=6,8\nrighttoppoint=24,8\n"
           L"leftbottompoint=6,22\nrightbottompoint=24,22\nclientrect=6,8,24,22\nstretcheffect=1\n"
           L"[dot]\npictureindex=0\nskinrect=0,0,30,30\nlefttoppoint=6,8\nrighttoppoint=24,8\n"
           L"leftbottompoint=6,22\nrightbottompoint=24,22\nclientrect=12,12,13,13\n";
}

void LoadProbeSkin(TmnSkinData& data, const String& description) {
    TSkinArchive a;
    a.ActivePictures = {Picture(80, 60, ProbeRgb), Picture(20, 10, MaskRgb), Picture(40, 60, UpDownRgb)};
    TStringList lines;
    lines.SetText(description);
    a.Description = lines.Lines();
    TMemoryStream bytes;
    WriteSkinArchive(bytes, a);
    bytes.SetPosition(0);
    data.LoadFromArchive(bytes);
}

void ControlsTest::SetUp() {
    ::CoInitialize(nullptr);  // accessible objects are marshalled through COM
    Application()->Initialize();
    form = std::make_unique<TForm>(nullptr);
    form->LoadFromText(L"object ControlsProbe: TForm\n  Left = 10\n  Top = 10\n  Width = 600\n  Height = 400\n  Caption = 'Probe'\nend\n");
    ::ShowWindow(form->Handle(), SW_SHOWNOACTIVATE);
    skin = std::make_unique<TmnSkinData>(nullptr);
    previous_ = SetSkinMessageSink([this](TmnSkinData& sender, unsigned message) {
        if (form) NotifySkinControls(form.get(), message, &sender);
    });
    LoadProbeSkin(*skin, ProbeDescription());
    ASSERT_FALSE(skin->Empty());
}

void ControlsTest::TearDown() {
    SetSkinMessageSink(std::move(previous_));
    form.reset();
    skin.reset();
    ::CoUninitialize();
}

std::unique_ptr<TBitmap> ControlsTest::Snapshot(TmnSkinControl& control) {
    auto b = std::make_unique<TBitmap>(control.Width(), control.Height());
    control.PaintTo(b->Canvas().Handle());
    return b;
}

LRESULT ControlsTest::Mouse(TWinControl& control, UINT msg, int x, int y) {
    return ::SendMessageW(control.Handle(), msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
}

}  // namespace fn::test
