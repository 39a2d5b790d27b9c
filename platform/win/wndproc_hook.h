#pragma once
// The one window-procedure seam. A window's chain subclasses it once (GWLP_WNDPROC) and runs
// the installed handlers newest first; each handler answers a message or passes it on through
// `next`. The chain ends in the window's own procedure: the control's WndProc for windows of
// this layer, the procedure saved at subclassing (CallWindowProcW) for any other window.
// Handlers can be installed and removed in any order, also while messages are being handled;
// a removed handler is skipped at once and freed when no message of its chain is running.
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/core/exceptions.h"

namespace fn {

class TWndProcChain;

// The rest of the chain behind a handler: calling it passes the message on (changed or not).
// Valid while the handler that received it runs.
class TWndProcNext {
public:
    LRESULT operator()(UINT msg, WPARAM wParam, LPARAM lParam) const;

private:
    friend class TWndProcChain;
    TWndProcNext(TWndProcChain& chain, HWND window, size_t index) : chain_(chain), window_(window), index_(index) {}
    TWndProcChain& chain_;
    HWND window_;
    size_t index_;  // handlers below this position are the ones still to run
};

// A handler sees every message of the window before the handlers installed earlier and before
// the window's own procedure. It answers the message, or returns next(msg, wParam, lParam);
// WM_NCDESTROY is always passed on (the window's owner lets go of the handle there).
using TWndProcHandler = std::function<LRESULT(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next)>;

class TWndProcChain : public std::enable_shared_from_this<TWndProcChain> {
public:
    // The window's own procedure at the end of the chain (windows of this layer).
    using TOwnProc = LRESULT (*)(void* owner, UINT msg, WPARAM wParam, LPARAM lParam);

    // A chain not attached to a window yet; its owner keeps it across handle re-creation.
    static std::shared_ptr<TWndProcChain> Create(TOwnProc ownProc = nullptr, void* owner = nullptr);
    // The chain of a window of this thread: the one attached, or a new one that stays while
    // handlers are installed (a window this layer did not create). Null for anything else.
    static std::shared_ptr<TWndProcChain> Of(HWND window);

    TWndProcChain(const TWndProcChain&) = delete;
    TWndProcChain& operator=(const TWndProcChain&) = delete;

    // Subclasses window (leaving a previous window first); EInvalidOperation when another
    // chain has it, EOutOfResources when it cannot be subclassed. The chain leaves it at
    // WM_NCDESTROY.
    void Attach(HWND window);
    HWND Window() const { return window_; }
    // The end of the chain stops calling the owner (the owner is going).
    void ClearOwnProc() { ownProc_ = nullptr; owner_ = nullptr; }

    // Installed handlers, removed ones not counted.
    int HookCount() const;
    // The procedure the window had before the chain (the class procedure for a new window).
    LRESULT CallOriginal(UINT msg, WPARAM wParam, LPARAM lParam) const;

private:
    friend class TWndProcNext;
    friend class TWndProcHook;
    struct Node {
        TWndProcHandler handler;
        bool removed = false;
    };
    class TRunning;

    TWndProcChain(TOwnProc ownProc, void* owner) : ownProc_(ownProc), owner_(owner) {}
    static TWndProcChain* Find(HWND window);
    // Leaves the window; its original procedure goes back when the window still has ours.
    void Detach();
    static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT CallFrom(HWND window, size_t index, UINT msg, WPARAM wParam, LPARAM lParam);
    Node* Add(TWndProcHandler handler);
    void Remove(Node* node);
    // Frees removed handlers; a chain made by Of() leaves its window when no handler is left.
    void Tidy();

    std::vector<std::unique_ptr<Node>> nodes_;  // oldest first
    HWND window_ = nullptr;
    WNDPROC original_ = nullptr;
    TOwnProc ownProc_;
    void* owner_;
    bool ownedByWindow_ = false;                // made by Of(): lives while it has handlers
    int running_ = 0;                           // handler calls of this chain in progress
    bool tidying_ = false;
    std::shared_ptr<TWndProcChain> attachedRef_;  // the window keeps its chain while attached
};

// Owner of one installed handler: removing it (or destroying the owner) takes the handler out
// of its chain. Safe at any time: after the window or its chain is gone, inside the handler's
// own message, or inside another handler of the same window.
class TWndProcHook {
public:
    TWndProcHook() = default;
    TWndProcHook(TWndProcChain& chain, TWndProcHandler handler) { Install(chain, std::move(handler)); }
    ~TWndProcHook() { Remove(); }
    TWndProcHook(TWndProcHook&& other) noexcept;
    TWndProcHook& operator=(TWndProcHook&& other) noexcept;
    TWndProcHook(const TWndProcHook&) = delete;
    TWndProcHook& operator=(const TWndProcHook&) = delete;

    // Installs handler in front of the chain (removing what this owner held before).
    void Install(TWndProcChain& chain, TWndProcHandler handler);
    // The same for any window of this thread; false when the window cannot be hooked.
    bool Install(HWND window, TWndProcHandler handler);
    void Remove();
    // True while the handler sits in a chain that still exists.
    bool Installed() const;

private:
    std::weak_ptr<TWndProcChain> chain_;
    TWndProcChain::Node* node_ = nullptr;
};

// Shows an exception that escaped a message handler (the application's handler).
void HandleWindowException(const Exception& e);

}  // namespace fn
