// Program start-up of the notes editor.
#include <windows.h>

#include "app/main_window.h"
#include "platform/win/application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace fn;
    try {
        StartApplication();
    } catch (const Exception& e) {
        Application()->HandleException(e);
        return 1;
    }
    Application()->Run();
    return 0;
}
