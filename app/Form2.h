#pragma once
// The document window: one MDI child of the main window editing one note.
#include "platform/win/forms.h"

namespace fn {

class TForm2 : public TForm {
public:
    explicit TForm2(TComponent* owner);
    const wchar_t* ClassName() const override { return L"TForm2"; }

    // The note's full path, or the untitled marker.
    String FileName;
    static constexpr const wchar_t* kUntitled = L"ohne Namen";

    void OpenDocument(const String& name);
    void FormCreate(TComponent* sender);
    void FormClose(TComponent* sender, TCloseAction& action);
};

}  // namespace fn
