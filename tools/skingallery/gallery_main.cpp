// skingallery [--watch] [skin folder | packed skin file]: every skinned element dressed by the
// default skin or the one named; --watch reloads a skin folder whenever its files change.
#include <windows.h>

#include <shellapi.h>

#include "platform/win/application.h"
#include "tools/skingallery/gallery_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace fn;
    Application()->Initialize();
    Application()->SetTitle(L"Skin-Galerie");
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    TGallerySkinSource source;
    bool watch = false;
    bool help = false, unknown = false;
    for (int i = 1; argv && i < argc; ++i) {
        const String arg = argv[i];
        if (arg == L"--watch") watch = true;
        else if (arg == L"--help" || arg == L"-h") help = true;
        else if (arg.size() > 1 && arg[0] == L'-') unknown = true;  // never taken for a skin path
        else source.Path = arg;
    }
    if (argv) ::LocalFree(argv);
    if (help || unknown) {
        static const wchar_t usage[] = L"Aufruf: skingallery [--watch] [Skin-Ordner | gepackter Skin]\n\n"
                                       L"--watch  lädt einen Skin-Ordner neu, sobald sich seine Dateien ändern.";
        ::MessageBoxW(nullptr, usage, L"Skin-Galerie", MB_OK | (help ? MB_ICONINFORMATION : MB_ICONERROR));
        return help ? 0 : 2;
    }
    try {
        TGalleryForm* form = nullptr;
        Application()->CreateForm(form);
        form->Start(source, watch);
    } catch (const Exception& e) {
        Application()->HandleException(e);
        return 1;
    }
    Application()->Run();
    return 0;
}
