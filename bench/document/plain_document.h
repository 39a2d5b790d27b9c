#pragma once
// The document window's form data as the program carries it, and the same window without its
// skin components, for benchmarks that set the skinned window beside the plain one.
#include <windows.h>

#include <set>
#include <string>

#include "app/document_window.h"
#include "platform/win/dialogs.h"
#include "platform/win/forms.h"

namespace fn::bench {

inline String DocumentFormData() {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC res = ::FindResourceW(module, L"TFORM2", reinterpret_cast<LPCWSTR>(RT_RCDATA));
    HGLOBAL data = res ? ::LoadResource(module, res) : nullptr;
    if (!data) throw EReadError(L"the document window's form data is missing");
    return Utf8ToWide(std::string_view(static_cast<const char*>(::LockResource(data)), ::SizeofResource(module, res)));
}

// The form data without the named objects (each block from its "object Name:" line to the
// "end" at the same indentation) and without the properties that refer to them.
inline String WithoutObjects(const String& text, const std::set<String>& names) {
    String out;
    size_t skipIndent = String::npos;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find(L'\n', start);
        end = end == String::npos ? text.size() : end + 1;
        const std::wstring_view line(text.data() + start, end - start);
        const size_t indent = line.find_first_not_of(L' ');
        start = end;
        if (skipIndent != String::npos) {
            if (indent == skipIndent && line.substr(indent).starts_with(L"end")) skipIndent = String::npos;
            continue;
        }
        if (indent == String::npos) {
            out.append(line);
            continue;
        }
        const std::wstring_view body = line.substr(indent);
        if (body.starts_with(L"object ")) {
            const std::wstring_view rest = body.substr(7);
            if (names.count(String(rest.substr(0, rest.find(L':'))))) {
                skipIndent = indent;
                continue;
            }
        }
        if (const size_t eq = body.find(L" = "); eq != String::npos) {
            std::wstring_view value = body.substr(eq + 3);
            while (!value.empty() && (value.back() == L'\n' || value.back() == L'\r')) value.remove_suffix(1);
            if (names.count(String(value))) continue;
        }
        out.append(line);
    }
    return out;
}

// The document window without its skin: same class name, same form data minus the skin
// components, the same work in FormCreate. The other handlers are bound so that the form data
// reads as it stands; none of them runs while a window opens.
class TPlainDocument : public TForm {
public:
    TPlainDocument(TComponent* owner, const String& formData) : TForm(owner) {
        auto& m = Methods();
        m.Add(L"FormCreate", TNotifyEvent([this](TComponent*) {
                  FileName = TForm2::kUntitled;
                  auto* save = static_cast<TSaveDialog*>(FindComponent(L"SaveDialog1"));
                  save->Filter = L"Text Files (*.txt)|*.txt|Alle Files(*.*)|*.*";
                  save->DefaultExt = L"txt";
              }));
        m.Add(L"FormClose", TCloseEvent([](TComponent*, TCloseAction& a) { a = TCloseAction::caFree; }));
        m.Add(L"FormCloseQuery", TCloseQueryEvent([](TComponent*, bool&) {}));
        m.Add(L"FormKeyDown", TKeyEvent([](TComponent*, WORD&, TShiftState) {}));
        for (const wchar_t* name : {L"Neu2Click", L"Oeffnen1Click", L"Schliessen1Click", L"Speichern1Click",
                                    L"Speichernals1Click", L"Drucken1Click", L"Druckereinrichten1Click", L"Beenden1Click",
                                    L"Bearbeiten1Click", L"AusschneidenClick", L"KopierenClick", L"EinfuegenClick",
                                    L"Loeschen1Click", L"Allesauswaehlen1Click", L"AusrichtenClick", L"Zeilenumbruch1Click",
                                    L"Font1Click", L"Neben1Click", L"HinterClick", L"Hilfe1Click", L"Rueckgaengig1Click",
                                    L"Wiederholen1Click", L"Suchen1Click", L"Weitersuchen1Click", L"Vorherigessuchen1Click",
                                    L"Ersetzen1Click"})
            m.Add(name, TNotifyEvent([](TComponent*) {}));
        LoadFromText(formData);
    }
    const wchar_t* ClassName() const override { return L"TForm2"; }
    String FileName;
};

}  // namespace fn::bench
