// A window with the menus page alone, to look at it before the gallery program takes the page
// in. Arguments: a skin folder or its skin.ini (else the default skin); "--show" opens the menu,
// a sub-menu and a hint at start so a screenshot shows them, "--show-long" the long menu.
#include <string>

#include "platform/win/application.h"
#include "platform/win/forms.h"
#include "skin/data/skin_data.h"
#include "skin/data/stored_skin.h"
#include "tools/skingallery/menus_page.h"

using namespace fn;

namespace {

TMenusPage* shownPage = nullptr;
bool showLong = false;

// Once the window has settled: the menu, its sub-menu and a hint, as a person would open them.
void CALLBACK ShowEverything(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    if (showLong) {
        shownPage->OpenLongMenu();
        shownPage->Tray().SetIconVisible(true);
        return;
    }
    shownPage->OpenMainMenu();
    shownPage->OpenSubMenu();
    Application()->ProcessMessages();
    shownPage->ShowHintAt(4);
}

constexpr const wchar_t* kForm = LR"(object MenusPageDemo: TForm
  Caption = 'Galerie: Menüs und Hinweise'
  ClientWidth = 520
  ClientHeight = 360
  object mnSkinData1: TmnSkinData
    CompressedStoredSkin = mnStoredSkin1
  end
  object mnStoredSkin1: TmnCompressedStoredSkin
    FileName = 'skin.ini'
    CompressedData = @FENNICK_SKIN
  end
end
)";

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    bool show = false;
    String skinPath;
    for (int i = 1; i < argc; ++i) {
        String a = argv[i];
        if (a == L"--show") show = true;
        else if (a == L"--show-long") show = showLong = true;
        else skinPath = a;
    }
    ::LocalFree(argv);

    Application()->Initialize();
    Application()->SetTitle(L"Galerie");
    TmnSkinData::Register();
    TmnCompressedStoredSkin::Register();
    TForm* form = nullptr;
    Application()->CreateForm(form);
    form->LoadFromText(kForm);
    auto* skin = dynamic_cast<TmnSkinData*>(form->FindComponent(L"mnSkinData1"));
    if (!skinPath.empty()) {
        if (skinPath.size() < 4 || skinPath.substr(skinPath.size() - 4) != L".ini") skinPath += L"\\skin.ini";
        auto* stored = new TmnCompressedStoredSkin(form);
        stored->LoadFromSkinFile(skinPath);
        skin->SetCompressedStoredSkin(stored);
    }
    auto* page = new TMenusPage(form);
    page->SetParent(form);
    page->SetAlign(TAlign::alClient);
    page->SetSkinData(skin);
    form->Show();
    page->Handle();
    if (show) {
        shownPage = page;
        ::SetTimer(nullptr, 0, 1500, &ShowEverything);
    }
    Application()->Run();
    return 0;
}
