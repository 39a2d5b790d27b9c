// Program start-up of the notes editor.
#include <windows.h>

#include "app/main_window.h"
#include "platform/win/application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace fn;
    Application()->Initialize();
    Application()->SetTitle(L"Fennick Notizen");
    try {
        Application()->CreateForm(Form1);
    } catch (const Exception& e) {
        Application()->HandleException(e);
        return 1;
    }
    Application()->Run();
    return 0;
}
