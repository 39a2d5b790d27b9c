#include "app/program_folders.h"

#include <windows.h>
#include <initguid.h>
#include <knownfolders.h>
#include <shlobj.h>

namespace fn {

namespace {

// The folder of any length (the older folder call fills a buffer of MAX_PATH).
String ProgramFolderIn(REFKNOWNFOLDERID base) {
    PWSTR folder = nullptr;
    const bool found = SUCCEEDED(::SHGetKnownFolderPath(base, 0, nullptr, &folder));
    String path = found ? String(folder) + L"\\Fennick Notizen" : String();
    ::CoTaskMemFree(folder);
    return path;
}

}  // namespace

String RoamingProgramFolder() { return ProgramFolderIn(FOLDERID_RoamingAppData); }
String LocalProgramFolder() { return ProgramFolderIn(FOLDERID_LocalAppData); }

}  // namespace fn
