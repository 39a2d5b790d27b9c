// skingallery [--watch] [--scale 1.5] [skin folder | packed skin file]: every skinned element
// dressed by the default skin or the one named; --watch reloads a skin folder whenever its
// files change; --scale shows the skin and the window at a display scale.
#include <windows.h>

#include <shellapi.h>

#include "platform/core/exceptions.h"
#include "platform/win/application.h"
#include "tools/tool_usage.h"
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
    int dpi = 0;
    for (int i = 1; argv && i < argc; ++i) {
        const String arg = argv[i];
        if (arg == L"--watch") watch = true;
        else if (arg == L"--scale") {
            const auto scaled = i + 1 < argc ? tools::ScaleDpi(WideToUtf8(argv[++i])) : std::nullopt;
            if (scaled) dpi = *scaled;
            else unknown = true;
        }
        else if (arg == L"--help" || arg == L"-h") help = true;
        else if (arg.size() > 1 && arg[0] == L'-') unknown = true;  // never taken for a skin path
        else source.Path = arg;
    }
    if (argv) ::LocalFree(argv);
    if (help || unknown) {
        static const wchar_t usage[] = L"Aufruf: skingallery [--watch] [--scale 1.5] [Skin-Ordner | gepackter Skin]\n\n"
                                       L"--watch  lädt einen Skin-Ordner neu, sobald sich seine Dateien ändern.\n"
                                       L"--scale  zeigt den Skin in einer Anzeigegröße von 1 bis 5 (1,25, 1,5, 2: 125 %, 150 %, 200 %).";
        ::MessageBoxW(nullptr, usage, L"Skin-Galerie", MB_OK | (help ? MB_ICONINFORMATION : MB_ICONERROR));
        return help ? 0 : 2;
    }
    try {
        TGalleryForm* form = nullptr;
        Application()->CreateForm(form);
        form->Start(source, watch, dpi);
    } catch (const Exception& e) {
        Application()->HandleException(e);
        return 1;
    }
    Application()->Run();
    return 0;
}
