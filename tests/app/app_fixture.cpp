#include "tests/app/app_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/recent_files.h"
#include "app/recovery.h"
#include "platform/core/streams.h"

namespace fn::test {

int ScriptedDialogs::MessageDlg(const String& text, TMsgDlgType, unsigned, int) {
    messages.push_back(text);
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected message: " << WideToUtf8(text);
        return mrCancel;
    }
    int r = answers.front();
    answers.pop_front();
    return r;
}

bool ScriptedDialogs::Execute(TCommonDialog& dialog) {
    ++executes;
    return onExecute ? onExecute(dialog) : false;
}

TForm1* StartProgram() {
    if (!Form1) {
        // The recent notes of this test run only, in a file of its own, gone at its end.
        static String recent;
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        recent = String(temp) + L"fn_zuletzt_" + IntToStr(::GetCurrentProcessId()) + L".ini";
        ::DeleteFileW(recent.c_str());
        RecentFiles().UseFile(recent);
        std::atexit([] { ::DeleteFileW(recent.c_str()); });
        // The recovery copies too: a folder of this run, emptied and gone at its end.
        static String recovery;
        recovery = String(temp) + L"fn_wiederherstellung_" + IntToStr(::GetCurrentProcessId());
        Recovery().UseFolder(recovery);
        std::atexit([] {
            Recovery().End();
            RemoveFolder(recovery);
        });
        StartApplication();
        Form1->Show();
        Pump();
    }
    return Form1;
}

void Pump() {
    for (int i = 0; i < 3; ++i) Application()->ProcessMessages();
}

std::vector<TForm*> OpenDocuments() {
    std::vector<TForm*> docs;
    for (int i = 0; i < Form1->MDIChildCount(); ++i) docs.push_back(Form1->MDIChildren(i));
    return docs;
}

String TextOf(TRichEdit* edit) {
    String t = edit->Lines().Text();
    while (!t.empty() && (t.back() == L'\r' || t.back() == L'\n')) t.pop_back();
    return t;
}

void Type(TRichEdit* edit, std::wstring_view text) {
    for (wchar_t c : text) {
        if (c == L'\r') ::SendMessageW(edit->Handle(), WM_KEYDOWN, VK_RETURN, 1);
        else ::SendMessageW(edit->Handle(), WM_CHAR, c, 1);
    }
}

void Select(TRichEdit* edit, int start, int length) {
    edit->SetSelStart(start);
    edit->SetSelLength(length);
}

void WriteBytes(const String& path, std::string_view bytes) {
    TFileStream f(path, FileMode::Create);
    f.WriteBuffer(bytes.data(), bytes.size());
    f.Close();
}

std::vector<String> FilesIn(const String& folder) {
    std::vector<String> names;
    WIN32_FIND_DATAW found;
    HANDLE h = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (::FindNextFileW(h, &found));
    ::FindClose(h);
    return names;
}

void RemoveFolder(const String& folder) {
    for (const String& name : FilesIn(folder)) ::DeleteFileW((folder + L"\\" + name).c_str());
    ::RemoveDirectoryW(folder.c_str());
}

std::string ReadBytes(const String& path) {
    auto bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace fn::test
