#include "platform/win/wndproc_hook.h"

#include <algorithm>
#include <new>
#include <unordered_map>
#include <utility>

namespace fn {

namespace {
// The chain of each subclassed window of this thread. Looked up on every message, so it is kept
// here rather than in a window property, which would be a call into the system each time.
// Never freed: windows may still get messages while the program's statics are destroyed.
std::unordered_map<HWND, TWndProcChain*>& Chains() {
    thread_local auto* chains = new std::unordered_map<HWND, TWndProcChain*>;
    return *chains;
}
}  // namespace

// Counts a call into the chain; the outermost one frees the handlers removed meanwhile.
class TWndProcChain::TRunning {
public:
    explicit TRunning(TWndProcChain& chain) : chain_(chain) { ++chain_.running_; }
    ~TRunning() {
        if (--chain_.running_ == 0) chain_.Tidy();
    }
    TRunning(const TRunning&) = delete;
    TRunning& operator=(const TRunning&) = delete;

private:
    TWndProcChain& chain_;
};

LRESULT TWndProcNext::operator()(UINT msg, WPARAM wParam, LPARAM lParam) const {
    return chain_.CallFrom(window_, index_, msg, wParam, lParam);
}

std::shared_ptr<TWndProcChain> TWndProcChain::Create(TOwnProc ownProc, void* owner) {
    return std::shared_ptr<TWndProcChain>(new TWndProcChain(ownProc, owner));
}

std::shared_ptr<TWndProcChain> TWndProcChain::Of(HWND window) {
    // Only windows of this thread can be subclassed (and answered) from here.
    if (!window || ::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId()) return nullptr;
    if (TWndProcChain* chain = Find(window)) return chain->shared_from_this();
    std::shared_ptr<TWndProcChain> chain = Create();
    chain->ownedByWindow_ = true;
    chain->Attach(window);
    return chain;
}

TWndProcChain* TWndProcChain::Find(HWND window) {
    const auto& chains = Chains();
    const auto found = chains.find(window);
    return found == chains.end() ? nullptr : found->second;
}

void TWndProcChain::Attach(HWND window) {
    if (window == window_) return;
    TWndProcChain* other = Find(window);
    if (other && other != this) throw EInvalidOperation(L"Das Fenster hat bereits eine Fensterprozedur-Kette");
    Detach();
    if (!window) return;
    Chains()[window] = this;
    auto previous = ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc));
    if (!previous) {
        Chains().erase(window);
        throw EOutOfResources(L"Fensterprozedur kann nicht ersetzt werden");
    }
    original_ = reinterpret_cast<WNDPROC>(previous);
    window_ = window;
    attachedRef_ = shared_from_this();
}

void TWndProcChain::Detach() {
    if (!window_) return;
    HWND window = std::exchange(window_, nullptr);
    // Someone who subclassed the window after us still calls us; then our procedure stays
    // and answers with DefWindowProc (only happens to a window that is being destroyed).
    if (::GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Proc))
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    Chains().erase(window);
    original_ = nullptr;
    std::shared_ptr<TWndProcChain> last = std::move(attachedRef_);  // may free the chain on return
}

int TWndProcChain::HookCount() const {
    return static_cast<int>(std::count_if(nodes_.begin(), nodes_.end(), [](const auto& n) { return !n->removed; }));
}

LRESULT TWndProcChain::CallOriginal(UINT msg, WPARAM wParam, LPARAM lParam) const {
    if (!window_) return 0;
    return ::CallWindowProcW(original_ ? original_ : ::DefWindowProcW, window_, msg, wParam, lParam);
}

LRESULT CALLBACK TWndProcChain::Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWndProcChain* found = Find(window);
    if (!found) return ::DefWindowProcW(window, msg, wParam, lParam);
    std::shared_ptr<TWndProcChain> chain = found->shared_from_this();  // alive until this message is done
    LRESULT result = 0;
    // Exceptions never cross the system's frames: the application's handler shows them.
    try {
        result = chain->CallFrom(window, chain->nodes_.size(), msg, wParam, lParam);
    } catch (const Exception& e) {
        HandleWindowException(e);
    } catch (const std::bad_alloc&) {
        HandleWindowException(EOutOfResources(L"Zu wenig Arbeitsspeicher"));
    }
    if (msg == WM_NCDESTROY && chain->window_ == window) chain->Detach();
    return result;
}

LRESULT TWndProcChain::CallFrom(HWND window, size_t index, UINT msg, WPARAM wParam, LPARAM lParam) {
    TRunning running(*this);
    // Newest first; handlers installed meanwhile sit above index, removed ones are skipped.
    for (size_t i = std::min(index, nodes_.size()); i > 0; --i) {
        Node& node = *nodes_[i - 1];
        if (!node.removed) return node.handler(window, msg, wParam, lParam, TWndProcNext(*this, window, i - 1));
    }
    // The window this message was for has gone while it was handled (a handler re-created it).
    if (window != window_) return 0;
    if (ownProc_) return ownProc_(owner_, msg, wParam, lParam);
    return CallOriginal(msg, wParam, lParam);
}

TWndProcChain::Node* TWndProcChain::Add(TWndProcHandler handler) {
    nodes_.push_back(std::make_unique<Node>(Node{std::move(handler)}));
    return nodes_.back().get();
}

void TWndProcChain::Remove(Node* node) {
    node->removed = true;
    if (running_ == 0) Tidy();
}

void TWndProcChain::Tidy() {
    if (tidying_) return;
    // A handler's captures may own hooks whose removal lands here again: those are only marked.
    tidying_ = true;
    while (std::erase_if(nodes_, [](const auto& n) { return n->removed; }) > 0) {}
    tidying_ = false;
    if (ownedByWindow_ && nodes_.empty() && window_ &&
        ::GetWindowLongPtrW(window_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Proc))
        Detach();  // may free this chain
}

TWndProcHook::TWndProcHook(TWndProcHook&& other) noexcept
    : chain_(std::move(other.chain_)), node_(std::exchange(other.node_, nullptr)) {}

TWndProcHook& TWndProcHook::operator=(TWndProcHook&& other) noexcept {
    if (this != &other) {
        Remove();
        chain_ = std::move(other.chain_);
        node_ = std::exchange(other.node_, nullptr);
    }
    return *this;
}

void TWndProcHook::Install(TWndProcChain& chain, TWndProcHandler handler) {
    // The new handler goes in before the old one leaves, so a chain made for a foreign
    // window never drops to no handlers (and leaves its window) in between.
    TWndProcChain::Node* node = chain.Add(std::move(handler));
    Remove();
    chain_ = chain.weak_from_this();
    node_ = node;
}

bool TWndProcHook::Install(HWND window, TWndProcHandler handler) {
    std::shared_ptr<TWndProcChain> chain = TWndProcChain::Of(window);
    if (!chain) {
        Remove();
        return false;
    }
    Install(*chain, std::move(handler));
    return true;
}

void TWndProcHook::Remove() {
    TWndProcChain::Node* node = std::exchange(node_, nullptr);
    std::shared_ptr<TWndProcChain> chain = std::exchange(chain_, {}).lock();
    if (node && chain) chain->Remove(node);
}

bool TWndProcHook::Installed() const { return node_ && !chain_.expired(); }

}  // namespace fn
