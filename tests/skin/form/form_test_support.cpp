#include "tests/skin/form/form_test_support.h"

#include <algorithm>

namespace fn::test {

std::wstring TestDescription() {
    return L"[VERSION]\nskinname=Probe\n"
           L"[PICTURES]\npicture=main.bmp\ninactivepicture=\nmask=\n"
           L"activepicturescount=2\n0=buttons.bmp\n1=anim.bmp\n"
           L"[FORMINFO]\n"
           L"lefttoppoint=20,30\nrighttoppoint=150,30\nleftbottompoint=20,50\nrightbottompoint=150,50\n"
           L"clientrect=4,30,196,56\nbuttonsoffset=2\nautorenderinginactiveimage=0\ninactiveeffect=iegrayscale\n"
           L"[SKINOBJECTS]\ncount=9\n"
           L"0=caption1:caption\n1=closebutton:stdbutton\n2=maxbutton:stdbutton\n3=sysmenubutton:stdbutton\n"
           L"4=menubutton:button\n5=logo:animate\n6=user1:userobject\n7=MENUITEM:menuitem\n"
           L"8=mbclose:mainmenubarbutton\n"
           L"[caption1]\nactivepictureindex=-1\nskinrect=16,2,160,28\ntextrect=4,2,140,24\n"
           L"alignment=taleftjustify\nfontcolor=255\nactivefontcolor=65280\n"
           L"[closebutton]\nactivepictureindex=0\nskinrect=184,4,196,16\nactiveskinrect=0,12,12,24\n"
           L"downrect=0,24,12,36\ninactiveskinrect=0,36,12,48\ndisableskinrsect=0,48,12,60\nmorphing=1\n"
           L"command=cmclose\n"
           L"[maxbutton]\nactivepictureindex=0\nskinrect=168,4,180,16\nactiveskinrect=12,12,24,24\n"
           L"downrect=12,24,24,36\nmorphing=1\nmorphkind=mkgradient\ncommand=cmmaximize\n"
           L"restorerect=24,0,36,12\nrestoreactiverect=24,12,36,24\nrestoredownrect=24,24,36,36\n"
           L"restoreinactiverect=24,36,36,48\n"
           L"[sysmenubutton]\nactivepictureindex=0\nskinrect=4,4,16,16\nactiveskinrect=36,12,48,24\n"
           L"command=cmsysmenu\n"
           L"[menubutton]\nactivepictureindex=0\nskinrectinapicture=1\nskinrect=48,0,60,12\n"
           L"activeskinrect=48,12,60,24\ndownrect=48,24,60,36\n"
           L"[logo]\nactivepictureindex=1\nskinrectinapicture=1\nskinrect=0,0,20,20\nactiveskinrect=0,0,20,20\n"
           L"countframes=4\ntimerinterval=50\nbuttonstyle=1\ncommand=cmdefault\ndownskinrect=0,20,20,40\n"
           L"[user1]\nskinrect=4,52,16,58\n"
           L"[MENUITEM]\nskinrect=0,0,10,10\n"
           L"[mbclose]\ncommand=cmclose\n";
}

std::wstring Replace(std::wstring text, const std::wstring& section, const std::wstring& body) {
    const std::wstring head = L"[" + section + L"]\n";
    const size_t at = text.find(head);
    if (at == std::wstring::npos) return text + head + body;
    const size_t start = at + head.size();
    size_t end = text.find(L"\n[", start);
    end = end == std::wstring::npos ? text.size() : end + 1;
    return text.replace(start, end - start, body);
}

namespace {

TBitmapData Filled(int w, int h, uint32_t colour) {
    TBitmapData b;
    b.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixel(x, y, colour);
    return b;
}

}  // namespace

TSkinArchive TestArchive(const std::wstring& description) {
    TSkinArchive a;
    a.Picture = Filled(200, 60, MainColour);
    TBitmapData buttons = Filled(72, 60, 0);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 72; ++x) buttons.SetPixel(x, y, CellColour(x / 12, y / 12));
    TBitmapData anim = Filled(80, 40, AnimDownColour);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 80; ++x) anim.SetPixel(x, y, FrameColour(x / 20 + 1));
    a.ActivePictures = {std::move(buttons), std::move(anim)};
    TStringList lines;
    lines.SetText(description);
    a.Description = lines.Lines();
    return a;
}

TmnSkinData* LoadSkin(TComponent& owner, const TSkinArchive& archive) {
    auto* sd = new TmnSkinData(&owner);
    TMemoryStream s;
    WriteSkinArchive(s, archive);
    sd->LoadFromArchive(s);
    return sd;
}

std::string Str(const TSkinRect& r) {
    return "(" + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom) + ")";
}

int RecordingPainter::NewImage(int w, int h) {
    ops.push_back("image " + std::to_string(w) + "x" + std::to_string(h));
    return ++images_;
}

void RecordingPainter::Copy(int target, const TBitmapData& picture, const TSkinRect& src, const TSkinRect& dst) {
    ops.push_back("copy " + std::to_string(target) + " " + std::to_string(picture.Width) + "w" + Str(src) + "->" +
                  Str(dst));
}

void RecordingPainter::Strip(int target, const TBitmapData& picture, const TSkinRect& src, int lo, int ro,
                             bool stretch, const TSkinRect& dst) {
    ops.push_back("strip " + std::to_string(target) + " " + Str(src) + " " + std::to_string(lo) + "/" +
                  std::to_string(ro) + (stretch ? " stretch" : " tile") + "->" + Str(dst));
}

void RecordingPainter::Morph(int normal, int hover, int kind, double k) {
    char buf[64];
    snprintf(buf, sizeof buf, "morph %d %d kind%d %.1f", normal, hover, kind, k);
    ops.push_back(buf);
}

void RecordingPainter::InactiveEffect(int image, int effect) {
    ops.push_back("effect " + std::to_string(image) + " " + std::to_string(effect));
}

void RecordingPainter::DrawImage(int image, int x, int y) {
    ops.push_back("draw " + std::to_string(image) + " at " + std::to_string(x) + "," + std::to_string(y));
}

void RecordingPainter::Text(int target, const TmnObjectFont&, TColor color, int x, int y, const String& text) {
    std::string t;
    for (wchar_t c : text) t += static_cast<char>(c);
    ops.push_back("text " + std::to_string(target) + " " + std::to_string(color) + " " + std::to_string(x) + "," +
                  std::to_string(y) + " " + t);
}

void RecordingPainter::PlainButton(const TSkinRect& dst, TmnPlainLook look, TmnPlainGlyph glyph, bool enabled) {
    ops.push_back("plain " + Str(dst) + " look" + std::to_string(int(look)) + " glyph" + std::to_string(int(glyph)) +
                  (enabled ? "" : " disabled"));
}

std::string RecordingPainter::Find(const std::string& prefix) const {
    for (const std::string& op : ops)
        if (op.rfind(prefix, 0) == 0) return op;
    return "";
}

int RecordingPainter::CountOf(const std::string& prefix) const {
    return static_cast<int>(std::count_if(ops.begin(), ops.end(), [&](const std::string& op) { return op.rfind(prefix, 0) == 0; }));
}

}  // namespace fn::test
