#pragma once
// Forms: top-level windows created from their form data, in the styles normal, MDI frame and
// MDI child, with the events and close protocol of the class library; the screen object.
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/core/filter_chain.h"
#include "platform/core/form_data.h"
#include "platform/win/controls.h"
#include "platform/win/menus.h"

namespace fn {

enum class TFormStyle { fsNormal, fsMDIForm, fsMDIChild };
enum class TPosition { poDesigned, poScreenCenter, poDefault };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
// The platform frame a form asks for; the skin library reads it to decide whether a form may be
// sized and how tall its built-in caption is.
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
// The platform frame's caption buttons (bits of BorderIcons). Scoped, since the skin library's
// own border icons use the same names.
struct TBorderIcon {
    enum : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
};

using TCloseEvent = std::function<void(TComponent* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TComponent* sender, bool& canClose)>;
using TKeyEvent = std::function<void(TComponent* sender, WORD& key, TShiftState shift)>;

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;
    const wchar_t* ClassName() const override { return L"TForm"; }

    // Reads the form data stored as RCDATA resource `resourceName` (UTF-8 text), creates the
    // window, runs OnCreate, and shows the form when its Visible is set.
    void LoadFromResource(const wchar_t* resourceName);
    // The same from text (tests, tools).
    void LoadFromText(std::wstring_view text);

    TFormStyle FormStyle() const { return formStyle_; }
    // The dots per inch the form's pixel sizes are for: a Scaled form's screen's, else 96.
    int Dpi() const { return dpi_; }
    bool Scaled() const { return scaled_; }
    // Scales a Scaled form, its components and its documents for a screen of dpi; the window
    // takes the rectangle the system suggests, or else keeps its place and scales its size.
    void ChangeDpi(int dpi, const RECT* suggested = nullptr);
    // The form's font and stored client size, and its controls (not its bounds: see ChangeDpi).
    void ChangeScale(int dpi, int fromDpi) override;
    const String& Caption() const { return caption_; }
    void SetCaption(const String& caption);
    bool KeyPreview() const { return keyPreview_; }
    unsigned BorderIcons() const { return borderIcons_; }
    // Takes effect when the window is next created (RecreateWnd).
    void SetBorderIcons(unsigned icons) { borderIcons_ = icons; }
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    // Takes effect when the window is next created (RecreateWnd).
    void SetBorderStyle(TFormBorderStyle style) { borderStyle_ = style; }
    TPosition Position() const { return position_; }
    int HelpContext() const { return helpContext_; }
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu);
    // The menu item under which an MDI frame lists its document windows; null for none.
    TMenuItem* WindowMenu() const { return windowMenu_; }
    void SetWindowMenu(TMenuItem* item);
    const TFontDesc& Font() const { return font_; }
    TColor Color() const { return color_; }
    void SetClientSize(int width, int height);

    void Show();
    void Hide();
    // Asks the close query (for an MDI frame: every child's first), then runs OnClose and acts.
    void Close();
    // True when every close query (children first for an MDI frame) allows closing.
    virtual bool CloseQuery();
    // Destroys the form after the current message has been handled.
    void Release();

    // MDI frame operations.
    HWND ClientHandle() const { return mdiClient_; }
    // The MDI client window's chain: handlers installed here see the client's messages, for
    // every client window the frame will have.
    TWndProcChain& ClientWindowProc() { return *clientChain_; }
    // The document windows inside this frame's MDI client, hidden ones included; not those
    // being released or destroyed.
    int MDIChildCount() const;
    TForm* MDIChildren(int index) const;
    // For a document window, the frame whose MDI client holds it; null for other forms.
    TForm* ParentFrame() const;
    TForm* ActiveMDIChild() const;
    void Tile();
    void Cascade();
    enum TMDIStep { Forward, Backward };
    // Activates the next (or previous) MDI child after the active one.
    void Next(TMDIStep step = Forward);

    // Key handling while a message is dispatched: KeyPreview forms see keys first.
    virtual void KeyDown(WORD& key, TShiftState shift);
    // Shortcut routing: the shortcut filters (skin components), then OnShortCut, then the
    // form's Menu.
    virtual bool IsShortCut(WORD key, TShiftState shift);
    std::function<bool(WORD key, TShiftState shift)> OnShortCut;
    // A filter returns true when it used the key, or passes it on through next.
    using TShortCutFilters = TFilterChain<bool(WORD key, TShiftState shift)>;
    TShortCutFilters& ShortCutFilters() { return shortCutFilters_; }

    TNotifyEvent OnCreate, OnShow, OnDestroy, OnActivate, OnDeactivate, OnResize;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TKeyEvent OnKeyDown;

    bool ReadProperty(const String& name, const FormValue& value, TReader& reader) override;
    void Notification(TComponent* component, Operation operation) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // An MDI frame takes its document windows along into the new client window.
    void RecreateWnd() override;

protected:
    // Handlers that the form data's events may name.
    TMethodTable& Methods() { return methods_; }
    void CreateWnd() override;
    void GetCreateParams(CreateParams& params) override;
    void HandleCreated() override;
    void HandleDestroyed() override;
    void DestroyWnd() override;
    // An MDI frame's client window fills what the aligned controls leave.
    void RemainingClientRect(const RECT& rest) override;

private:
    // The frame a new MDI child is made in: the main form when it is an MDI frame, else the
    // first MDI frame among the screen's forms; null when there is none.
    static TForm* MDIFrameForChild();
    void DoClose(TCloseAction& action);
    // The control that takes the form's focus: the visible child with the lowest tab order.
    TWinControl* FirstFocusControl() const;
    void ApplyPosition();
    // Another visible document of this one's MDI client has its top-left corner within distance
    // of (x, y) (client coordinates).
    bool DocumentNear(int x, int y, int distance) const;
    void ContextMenu(LPARAM lParam);

    TMethodTable methods_;
    TFormStyle formStyle_ = TFormStyle::fsNormal;
    TPosition position_ = TPosition::poDesigned;
    String caption_;
    bool keyPreview_ = false;
    unsigned borderIcons_ = TBorderIcon::biSystemMenu | TBorderIcon::biMinimize | TBorderIcon::biMaximize;
    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    int helpContext_ = 0;
    TColor color_ = clBtnFace;
    TFontDesc font_;
    TMainMenu* menu_ = nullptr;
    TShortCutFilters shortCutFilters_;
    TPopupMenu* popupMenu_ = nullptr;
    TMenuItem* windowMenu_ = nullptr;
    int clientWidth_ = -1, clientHeight_ = -1;
    bool scaled_ = false;
    int dpi_ = 96;
    bool shown_ = false;
    bool releasing_ = false;
    bool HoldsMDIChild(const TForm& form) const;
    HWND mdiClient_ = nullptr;
    std::shared_ptr<TWndProcChain> clientChain_ = TWndProcChain::Create();
};

// The forms of the application in creation order.
class TScreen {
public:
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TForm* Forms(int index) const { return forms_[static_cast<size_t>(index)]; }
    TForm* ActiveForm() const;
    // The control that had the keyboard focus last (kept while the program is in the
    // background), or null.
    TWinControl* ActiveControl() const { return activeControl_; }

private:
    friend class TForm;
    friend class TWinControl;
    std::vector<TForm*> forms_;
    TWinControl* activeControl_ = nullptr;
};

TScreen* Screen();

// The form that contains window (its nearest form ancestor), or null.
TForm* GetParentForm(HWND window);

}  // namespace fn
