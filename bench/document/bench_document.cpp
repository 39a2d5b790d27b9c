// Times loading and saving a 20 MB plain-text note and a 5 MB rich-text note through the
// document window (OpenDocument, Save) and, in the same run, a bare rich-edit control of the
// same class and styles streaming the same file bytes in and the same rich text out.
//
//   scripts/wine-run build/win/bin/bench_document.exe [repetitions]
//
// FN_BENCH_SMOKE=1: one run on notes of 64 KB and 16 KB.
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <cstring>
#include <string>

#include "app/main_window.h"
#include "bench/smoke.h"
#include "app/document_window.h"
#include "bench/document/bench_program.h"
#include "platform/win/application.h"
#include "platform/win/dialogs.h"

using namespace fn;
using namespace fn::bench;

namespace {

void WriteFile(const String& path, const std::string& bytes) {
    TFileStream f(path, FileMode::Create);
    f.WriteBuffer(bytes.data(), bytes.size());
    f.Close();
}

DWORD CALLBACK ReadHandle(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
    DWORD n = 0;
    BOOL ok = ::ReadFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(count), &n, nullptr);
    *done = static_cast<LONG>(n);
    return ok ? 0 : 1;
}

DWORD CALLBACK WriteHandle(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
    DWORD n = 0;
    BOOL ok = ::WriteFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(count), &n, nullptr);
    *done = static_cast<LONG>(n);
    return ok ? 0 : 1;
}

// The bare control: same class, styles, size and font as the document window's, no layer between.
class BareControl {
public:
    BareControl(HWND host, HFONT font) {
        ::LoadLibraryW(L"Msftedit.dll");
        RECT r;
        ::GetClientRect(host, &r);
        edit_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"RICHEDIT50W", L"",
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                                  0, 0, r.right, r.bottom, host, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::SendMessageW(edit_, EM_EXLIMITTEXT, 0, 0x7FFFFFF0);
        ::SendMessageW(edit_, EM_SETTARGETDEVICE, 0, 1);
        ::SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    ~BareControl() { ::DestroyWindow(edit_); }

    void Load(const String& path, UINT format) {
        HANDLE f = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        EDITSTREAM es{reinterpret_cast<DWORD_PTR>(f), 0, ReadHandle};
        ::SendMessageW(edit_, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&es));
        ::CloseHandle(f);
    }

    void Save(const String& path) {
        HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        EDITSTREAM es{reinterpret_cast<DWORD_PTR>(f), 0, WriteHandle};
        ::SendMessageW(edit_, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&es));
        ::CloseHandle(f);
    }

    int Length() const { return ::GetWindowTextLengthW(edit_); }

private:
    HWND edit_ = nullptr;
};

struct Figures {
    double load = 1e300, save = 1e300;
};

void Report(const char* what, const Figures& doc, const Figures& bare) {
    std::printf("%-24s load: document window %8.1f ms   bare control %8.1f ms   ratio %.3f\n", what, doc.load, bare.load,
                doc.load / bare.load);
    std::printf("%-24s save: document window %8.1f ms   bare control %8.1f ms   ratio %.3f\n", what, doc.save, bare.save,
                doc.save / bare.save);
}

// Returns false when either side saved nothing.
bool Measure(const char* what, const String& source, UINT bareFormat, const String& folder, int repetitions) {
    Figures doc, bare;
    String docOut = folder + L"doc_out.txt", bareOut = folder + L"bare_out.txt";
    for (int i = 0; i < repetitions; ++i) {
        {
            auto* form = new TForm2(Form1);
            Application()->ProcessMessages();
            doc.load = std::min(doc.load, Milliseconds([&] { form->OpenDocument(source); }));
            form->FileName = docOut;
            doc.save = std::min(doc.save, Milliseconds([&] { form->Speichern1Click(form); }));
            delete form;
        }
        {
            auto* host = new TForm2(Form1);  // the same kind of MDI child hosts the bare control
            Application()->ProcessMessages();
            ::ShowWindow(host->RichEdit1->Handle(), SW_HIDE);
            const TFontDesc& f = host->RichEdit1->Font();
            HFONT font = ::CreateFontW(f.height, 0, 0, 0, FW_NORMAL, 0, 0, 0, static_cast<BYTE>(f.charset), OUT_DEFAULT_PRECIS,
                                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, f.name.c_str());
            BareControl control(host->Handle(), font);
            bare.load = std::min(bare.load, Milliseconds([&] { control.Load(source, bareFormat); }));
            bare.save = std::min(bare.save, Milliseconds([&] { control.Save(bareOut); }));
            delete host;
            ::DeleteObject(font);
        }
    }
    Report(what, doc, bare);
    const size_t docBytes = ReadFileBytes(docOut).size(), bareBytes = ReadFileBytes(bareOut).size();
    std::printf("%-24s output: document window %lld bytes, bare control %lld bytes\n", what,
                static_cast<long long>(docBytes), static_cast<long long>(bareBytes));
    return docBytes > 0 && bareBytes > 0;
}

int Run(int repetitions, bool smoke) {
    ConsoleDialogs dialogs;
    StartProgram(dialogs);

    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    String folder = String(temp) + L"fn_bench_document\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    String plain = folder + L"note20mb.txt", rich = folder + L"note5mb.rtf";
    // Windows-1252 bytes: the bare control reads them in the system code page, so both sides hold
    // the same text.
    WriteFile(plain, EncodeWindows1252(PlainNote(smoke ? 64u << 10 : 20u << 20)));
    WriteFile(rich, RichNote(smoke ? 16u << 10 : 5u << 20));
    std::printf("best of %d runs%s\n", repetitions, smoke ? " (smoke run: 64 KB and 16 KB notes)" : "");
    bool ok = Measure(smoke ? "64 KB plain text" : "20 MB plain text", plain, SF_TEXT, folder, repetitions);
    ok = Measure(smoke ? "16 KB rich text" : "5 MB rich text", rich, SF_RTF, folder, repetitions) && ok;
    for (const wchar_t* name : {L"note20mb.txt", L"note5mb.rtf", L"doc_out.txt", L"bare_out.txt"}) ::DeleteFileW((folder + name).c_str());
    ::RemoveDirectoryW(folder.c_str());
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) { return fn::bench::RunBenchmark("bench_document", argc, argv, 3, Run); }
