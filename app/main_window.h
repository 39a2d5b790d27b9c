#pragma once
// The main window: the MDI frame of the notes editor with the file commands new, open, exit;
// it opens the files named on the command line, dropped onto it or handed over by a later start.
#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "platform/win/dialogs.h"
#include "platform/win/forms.h"
#include "platform/win/window_timer.h"
#include "skin/data/skin_data.h"
#include "skin/data/stored_skin.h"
#include "skin/form/main_menu_bar_win.h"
#include "skin/form/mantle_win.h"

namespace fn {

class TForm1 : public TForm {
public:
    explicit TForm1(TComponent* owner);
    ~TForm1() override;
    const wchar_t* ClassName() const override { return L"TForm1"; }

    TMainMenu* MainMenu1 = nullptr;
    TMenuItem *Datei1 = nullptr, *Neu1 = nullptr, *Oeffnen1 = nullptr, *N1 = nullptr, *Beenden1 = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    TmnSkinData* mnSkinData1 = nullptr;
    TmnCompressedStoredSkin* mnStoredSkin1 = nullptr;
    TmnSkinMainMenuBar* mnSkinMainMenuBar1 = nullptr;
    TmnMantle* mnMantle1 = nullptr;

    // Shows the main window's own menu bar while no document window is open, so that new and
    // open stay reachable; hides it while any is open, so it never repeats a document's menu.
    void UpdateMenuBar();

    void FormCreate(TComponent* sender);
    void FormDestroy(TComponent* sender);
    void FormShow(TComponent* sender);
    void FormKeyDown(TComponent* sender, WORD& key, TShiftState shift);
    void Neu1Click(TComponent* sender);
    void Oeffnen1Click(TComponent* sender);
    void Beenden1Click(TComponent* sender);

    // A document window is going: the own menu bar is looked at once it is gone.
    void DocumentClosed();
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Files named on the command line: opened, each in its own note, instead of the untitled
    // note when the window first shows.
    std::vector<String> StartFiles;
    // Opens each file in a new note; a file that cannot be read shows its error and the
    // others still open.
    void OpenFiles(const std::vector<String>& files);
    // Opens the files dropped onto this window or a note, and ends the drop.
    void OpenDroppedFiles(HDROP drop);

    // After an abnormal end: asks once whether to restore the notes of recovery copies found
    // of programs that are gone, and opens them. True when notes were restored.
    bool OfferRecovery();

protected:
    void Loaded() override;
    void HandleCreated() override;
    void HandleDestroyed() override;

private:
    // Writes the notes' recovery copies every 30 seconds.
    TWindowTimer recoveryTimer_;
    // The session's end was agreed to by the close query: the notes were saved or given up.
    bool endAgreed_ = false;
    bool endBlocked_ = false;
    LRESULT QueryEndSession();
    // The files named at the start, or an untitled note when there are none and no note was
    // restored.
    void OpenStartNotes(bool restored);
    void EndSession(bool ending);
    // Files that a later start of the program handed over, opened once its message returned.
    std::vector<std::vector<String>> handedOver_;
    void OpenHandedOverFiles();
};

extern TForm1* Form1;

// The program's start-up without its message loop: the application initialised and titled,
// and the main window made. The entry point runs the loop next; tests and benchmarks show the
// window and handle its messages themselves.
void StartApplication();

// Registers the skin library's components that the windows' form data names (each window
// does so before reading its form data).
void RegisterAppClasses();

}  // namespace fn
