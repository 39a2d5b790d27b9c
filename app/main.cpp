// Program start-up of the notes editor.
#include <windows.h>

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/running_program.h"
#include "platform/win/application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace fn;
    std::vector<String> files = NoteFilesFromCommandLine(::GetCommandLineW());
    // A later start hands its files (or its wish for a new note) to the running program and
    // ends; when that program does not answer in time, this start runs on its own.
    TRunningProgram running;
    if (running.Another() && HandOverToRunningProgram(files)) return 0;
    try {
        StartApplication();
        Form1->StartFiles = std::move(files);
    } catch (const Exception& e) {
        Application()->HandleException(e);
        return 1;
    }
    Application()->Run();
    return 0;
}
