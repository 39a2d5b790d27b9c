#include "app/main_window.h"

#include "app/document_window.h"
#include "app/recent_files.h"
#include "app/help_setup.h"
#include "app/recovery.h"
#include "app/running_program.h"
#include "platform/win/application.h"

namespace fn {

TForm1* Form1 = nullptr;

void StartApplication() {
    Application()->Initialize();
    Application()->SetTitle(L"Fennick Notizen");
    Application()->CreateForm(Form1);
}

void RegisterAppClasses() {
    TmnSkinData::Register();
    TmnCompressedStoredSkin::Register();
    TmnMantle::Register();
    TmnSkinMainMenuBar::Register();
}

namespace {
constexpr UINT kUpdateMenuBar = WM_APP + 0x60;
constexpr UINT kOpenHandedOverFiles = WM_APP + 0x61;
constexpr UINT kOfferRecovery = WM_APP + 0x62;
}

TForm1::TForm1(TComponent* owner) : TForm(owner) {
    Methods().Add(L"FormCreate", TNotifyEvent([this](TComponent* s) { FormCreate(s); }));
    Methods().Add(L"FormDestroy", TNotifyEvent([this](TComponent* s) { FormDestroy(s); }));
    Methods().Add(L"FormShow", TNotifyEvent([this](TComponent* s) { FormShow(s); }));
    Methods().Add(L"FormKeyDown", TKeyEvent([this](TComponent* s, WORD& k, TShiftState sh) { FormKeyDown(s, k, sh); }));
    Methods().Add(L"Neu1Click", TNotifyEvent([this](TComponent* s) { Neu1Click(s); }));
    Methods().Add(L"Oeffnen1Click", TNotifyEvent([this](TComponent* s) { Oeffnen1Click(s); }));
    Methods().Add(L"Beenden1Click", TNotifyEvent([this](TComponent* s) { Beenden1Click(s); }));
    if (!Form1) Form1 = this;
    RegisterAppClasses();
    LoadFromResource(L"TFORM1");
}

void TForm1::Loaded() {
    TForm::Loaded();
    MainMenu1 = Field<TMainMenu>(L"MainMenu1");
    Datei1 = Field<TMenuItem>(L"Datei1");
    Neu1 = Field<TMenuItem>(L"Neu1");
    Oeffnen1 = Field<TMenuItem>(L"Oeffnen1");
    N1 = Field<TMenuItem>(L"N1");
    Beenden1 = Field<TMenuItem>(L"Beenden1");
    OpenDialog1 = Field<TOpenDialog>(L"OpenDialog1");
    mnSkinData1 = Field<TmnSkinData>(L"mnSkinData1");
    mnStoredSkin1 = Field<TmnCompressedStoredSkin>(L"mnStoredSkin1");
    mnSkinMainMenuBar1 = Field<TmnSkinMainMenuBar>(L"mnSkinMainMenuBar1");
    mnMantle1 = Field<TmnMantle>(L"mnMantle1");
    RecentFiles().FillMenu(Datei1, Beenden1);
}

void TForm1::UpdateMenuBar() {
    if (IsDestroying() || !mnSkinMainMenuBar1) return;
    const bool show = MDIChildCount() == 0;
    if (mnSkinMainMenuBar1->Visible() == show) return;
    // A menu mode on the bar ends before the bar goes.
    if (!show && mnMantle1 && mnMantle1->InMainMenu()) mnMantle1->MainMenuExit();
    mnSkinMainMenuBar1->SetVisible(show);
}

void TForm1::DocumentClosed() {
    // The closing window still counts until it is destroyed: look once it is.
    if (HandleAllocated()) ::PostMessageW(Handle(), kUpdateMenuBar, 0, 0);
}

LRESULT TForm1::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case kUpdateMenuBar:
        UpdateMenuBar();
        return 0;
    case WM_DROPFILES:
        OpenDroppedFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_COPYDATA:
        if (auto files = HandedOverFiles(*reinterpret_cast<const COPYDATASTRUCT*>(lParam))) {
            // The sending start waits for this answer: open (and show any error) after it.
            handedOver_.push_back(std::move(*files));
            ::PostMessageW(Handle(), kOpenHandedOverFiles, 0, 0);
            return TRUE;
        }
        return FALSE;
    case kOpenHandedOverFiles:
        OpenHandedOverFiles();
        return 0;
    case kOfferRecovery:
        OpenStartNotes(OfferRecovery());
        return 0;
    case WM_TIMER:
        if (wParam != TRecovery::kTimerId) break;
        Recovery().WriteChanged();
        return 0;
    case WM_QUERYENDSESSION:
        return QueryEndSession();
    case WM_ENDSESSION:
        EndSession(wParam != FALSE);
        return 0;
    }
    return TForm::WndProc(msg, wParam, lParam);
}

void TForm1::HandleCreated() {
    TForm::HandleCreated();
    ::DragAcceptFiles(Handle(), TRUE);
    MarkProgramWindow(Handle());
    recoveryTimer_.Start(Handle(), TRecovery::kTimerId, TRecovery::kIntervalMs);
}

void TForm1::HandleDestroyed() {
    recoveryTimer_.Stop();
    if (std::exchange(endBlocked_, false)) ::ShutdownBlockReasonDestroy(Handle());
    UnmarkProgramWindow(Handle());
    TForm::HandleDestroyed();
}

void TForm1::OpenFiles(const std::vector<String>& files) {
    for (const String& file : files) {
        // A file open already is not edited in two windows: its window comes forward.
        if (TForm2* open = TForm2::WindowOf(file)) {
            open->BringForward();
            RecentFiles().Note(open->FileName);
            continue;
        }
        auto* document = new TForm2(this);
        UpdateMenuBar();
        try {
            document->OpenDocument(file);
        } catch (const Exception& e) {
            Application()->HandleException(e);
        }
    }
}

void TForm1::OpenDroppedFiles(HDROP drop) {
    std::vector<String> files;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        String name(::DragQueryFileW(drop, i, nullptr, 0), L'\0');
        if (name.empty()) continue;
        name.resize(::DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size() + 1)));
        // Folders dropped along with files are no notes.
        const DWORD attributes = ::GetFileAttributesW(name.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        files.push_back(std::move(name));
    }
    ::DragFinish(drop);
    OpenFiles(files);
}

void TForm1::OpenHandedOverFiles() {
    auto pending = std::exchange(handedOver_, {});
    for (const auto& files : pending) {
        if (files.empty()) Neu1Click(this);
        else OpenFiles(files);
    }
    if (::IsIconic(Handle())) ::ShowWindow(Handle(), SW_RESTORE);
    ::SetForegroundWindow(Handle());
}

void TForm1::FormCreate(TComponent*) { SetUpHelp(); }

void TForm1::FormDestroy(TComponent*) {
    ReleaseHelp();
    // A normal end: the notes were saved or given up.
    Recovery().End();
}

LRESULT TForm1::QueryEndSession() {
    endAgreed_ = false;
    bool modified = false;
    for (int i = 0; i < MDIChildCount(); ++i)
        if (auto* note = dynamic_cast<TForm2*>(MDIChildren(i))) modified = modified || note->RichEdit1->Modified();
    if (!modified) {
        endAgreed_ = true;
        return TRUE;
    }
    // The notes are safe before anyone is asked: the session may end while the question waits.
    Recovery().WriteChanged();
    if (!endBlocked_) endBlocked_ = ::ShutdownBlockReasonCreate(Handle(), texts::ShutdownReason) != FALSE;
    endAgreed_ = CloseQuery();
    return endAgreed_ ? TRUE : FALSE;
}

void TForm1::EndSession(bool ending) {
    if (std::exchange(endBlocked_, false)) ::ShutdownBlockReasonDestroy(Handle());
    if (!ending) {
        endAgreed_ = false;
        return;
    }
    // The process ends without the windows closing: a note the user chose to give up is no
    // copy to offer next time; a session ending without the user's answer keeps every change.
    if (std::exchange(endAgreed_, false)) Recovery().End();
    else Recovery().WriteChanged();
}

TForm1::~TForm1() {
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::FormShow(TComponent*) {
    // Only the main window stands for the program in the task bar.
    ::ShowWindow(Application()->Handle(), SW_HIDE);
    // Copies left by a program gone are offered once the window shows, the question over it.
    const TFoundRecovery found = Recovery().FindOrphans();
    if (!found.Copies.empty() && HandleAllocated()) {
        ::PostMessageW(Handle(), kOfferRecovery, 0, 0);
        return;
    }
    // Nothing to offer: what programs gone left besides (their lock files) goes.
    TRecovery::Remove(found);
    OpenStartNotes(false);
}

void TForm1::OpenStartNotes(bool restored) {
    if (!StartFiles.empty()) OpenFiles(std::exchange(StartFiles, {}));
    else if (!restored) Neu1Click(this);
}

bool TForm1::OfferRecovery() {
    const TFoundRecovery found = Recovery().FindOrphans();
    if (found.Copies.empty()) {
        TRecovery::Remove(found);
        return false;
    }
    String names;
    for (const TFoundCopy& copy : found.Copies) names += copy.Record.Caption + L"\n";
    int answer;
    {
        TDialogButtonCaptions captions(texts::RecoveryRestore, texts::RecoveryDiscard);
        answer = MessageDlg(Format(texts::RecoveryQuestion, {names}), TMsgDlgType::mtConfirmation, mbYes | mbNo, 0);
    }
    if (answer == mrNo) TRecovery::Remove(found);
    if (answer != mrYes) return false;
    for (const TFoundCopy& copy : found.Copies) {
        auto* note = new TForm2(this);
        UpdateMenuBar();
        note->Restore(copy.Record);
    }
    // The restored notes have copies of this program before the old ones go.
    if (Recovery().WriteChanged()) TRecovery::Remove(found);
    return true;
}

void TForm1::Neu1Click(TComponent*) {
    new TForm2(this);
    UpdateMenuBar();
}

void TForm1::Oeffnen1Click(TComponent*) {
    OpenDialog1->Filter = kNoteFilter;
    OpenDialog1->DefaultExt = kNoteExtension;
    if (!OpenDialog1->Execute()) return;
    OpenFiles({OpenDialog1->FileName});
}

void TForm1::Beenden1Click(TComponent*) { Close(); }

void TForm1::FormKeyDown(TComponent*, WORD& key, TShiftState) {
    if (key == VK_ESCAPE) Close();
}

}  // namespace fn
