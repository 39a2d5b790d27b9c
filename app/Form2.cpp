#include "app/Form2.h"

namespace fn {

TForm2::TForm2(TComponent* owner) : TForm(owner) {
    Methods().Add(L"FormCreate", TNotifyEvent([this](TComponent* s) { FormCreate(s); }));
    Methods().Add(L"FormClose", TCloseEvent([this](TComponent* s, TCloseAction& a) { FormClose(s, a); }));
    LoadFromResource(L"TFORM2");
}

void TForm2::FormCreate(TComponent*) { FileName = kUntitled; }

void TForm2::OpenDocument(const String& name) {
    FileName = name;
    SetCaption(ExtractFileName(name));
}

void TForm2::FormClose(TComponent*, TCloseAction& action) { action = TCloseAction::caFree; }

}  // namespace fn
