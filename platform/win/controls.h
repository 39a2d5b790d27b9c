#pragma once
// Windowed controls: a component with a window handle, a parent, bounds and alignment, and
// a window procedure that dispatches to virtual message handlers behind the window's chain
// of installed handlers (wndproc_hook.h).
#include <windows.h>

#include <memory>
#include <vector>

#include "platform/core/classes.h"
#include "platform/core/form_data.h"
#include "platform/core/graph_types.h"
#include "platform/win/graphics.h"
#include "platform/win/wndproc_hook.h"

namespace fn {

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum class TMouseButton { mbLeft, mbRight, mbMiddle };

class TWinControl : public TComponent {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    HWND Handle();                       // creates the window on first use
    bool HandleAllocated() const { return handle_ != nullptr; }
    // Destroys the window and creates it again in the same place and state, its child
    // controls with it. Installed handlers stay and see the new window's messages.
    virtual void RecreateWnd();
    // The window's chain: handlers installed here see its messages before WndProc, for
    // every window this control will have.
    TWndProcChain& WindowProc() { return *chain_; }
    TWinControl* Parent() const { return parent_; }
    void SetParent(TWinControl* parent);
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TWinControl* Controls(int i) const { return controls_[static_cast<size_t>(i)]; }

    RECT BoundsRect() const { return bounds_; }
    void SetBounds(int left, int top, int width, int height);
    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    int TabOrder() const { return tabOrder_; }
    // Lays out the aligned child controls inside the client area.
    void AlignControls();
    // For a screen of dpi instead of fromDpi: the control's bounds (its edges, so controls that
    // meet keep meeting) and its child controls, then the aligned children laid out again.
    void ChangeScale(int dpi, int fromDpi) override;
    // The part of the client area that aligned children fill (a framed control leaves its frame).
    virtual void AdjustClientRect(RECT& rect) {}
    // What the aligned children left of that part after AlignControls (an MDI frame's client
    // window takes it).
    virtual void RemainingClientRect(const RECT& rest) {}
    void SetFocus();
    bool Focused() const;

    // The text the application's hint shows over the control.
    const String& Hint() const { return hint_; }
    void SetHint(const String& hint) { hint_ = hint; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show) { showHint_ = show; parentShowHint_ = false; }
    // ShowHint follows the parent's while this is set (the default).
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool value) { parentShowHint_ = value; }
    // Whether the hint shows: ShowHint, taken from the parents while ParentShowHint is set.
    bool ShowingHint() const;

    // The control object of a window created by this layer (null for foreign windows).
    static TWinControl* FromHandle(HWND window);

    bool ReadProperty(const String& name, const FormValue& value, TReader& reader) override;
    void ReadChild(TComponent* child) override;

    // Default handling of a message (the window class's own procedure).
    virtual LRESULT DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam);
    // Every message of the window passes here; override and call the base for the rest.
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    struct CreateParams {
        const wchar_t* className = nullptr;  // a registered or system class
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        DWORD exStyle = 0;
        String caption;
        HWND parent = nullptr;
        HMENU menu = nullptr;
    };
    virtual void GetCreateParams(CreateParams& params);
    virtual void CreateWnd();
    // Called once the window exists (children are created after it).
    virtual void HandleCreated() {}
    virtual void HandleDestroyed() {}
    void AttachHandle(HWND window);  // the window's messages go through the chain to WndProc
    // Destroys the window (DestroyWnd) and with it the child controls' windows.
    void DestroyHandle();
    virtual void DestroyWnd();
    // Set while RecreateWnd replaces the window (the old one's WM_DESTROY ends nothing).
    bool Recreating() const { return recreating_; }

    // Where and how the window shows, kept while its handle is made again.
    struct TShowState {
        WINDOWPLACEMENT placement{};
        bool visible = false;
        bool active = false;
    };
    TShowState SaveShowState();  // also takes the current bounds
    void RestoreShowState(const TShowState& state);

    HWND handle_ = nullptr;
    RECT bounds_{0, 0, 0, 0};
    bool visible_ = true;

private:
    // The end of the chain: WndProc, and the bookkeeping when the window goes.
    static LRESULT OwnProc(void* control, UINT msg, WPARAM wParam, LPARAM lParam);
    void UpdateBounds();

    std::shared_ptr<TWndProcChain> chain_;
    bool recreating_ = false;
    TWinControl* parent_ = nullptr;
    std::vector<TWinControl*> controls_;
    TAlign align_ = TAlign::alNone;
    int tabOrder_ = 0;
    String hint_;
    bool showHint_ = false, parentShowHint_ = true;
};

// Registers (once) the window class all forms and plain controls of this layer use.
const wchar_t* LayerWindowClass();

// The program's icon (icon group 1 of the executable) at the system's large or small icon size,
// for the window classes (task bar, Alt+Tab); null when the executable carries none. Shared by
// the system, never destroyed.
HICON ProgramIcon(bool small);

// Registers a window class of the program's own windows (double clicks, the arrow cursor, the
// program's icon) and returns its name; for the class-name functions' one-time registration.
const wchar_t* RegisterProgramWindowClass(const wchar_t* name, WNDPROC proc, HBRUSH background = nullptr);

}  // namespace fn
