#pragma once
// Ordered filters in front of an event (the application's messages, a form's shortcuts, the help
// requests). Each installed filter sees the call before the filters installed earlier and passes
// it on through `next`; behind the oldest runs the event's own end (the handler a program
// assigned). A filter is removed by its owner, in any order, also while a call is running: a
// removed filter is skipped at once and freed when no call holds it.
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace fn {

template <class Signature>
class TFilterChain;
template <class Signature>
class TFilterHook;

template <class R, class... Args>
class TFilterChain<R(Args...)> {
public:
    // The rest of the chain behind a filter; valid while the filter that received it runs.
    using TNext = std::function<R(Args...)>;
    using THandler = std::function<R(Args..., const TNext& next)>;

    TFilterChain() : state_(std::make_shared<State>()) {}
    TFilterChain(const TFilterChain&) = delete;
    TFilterChain& operator=(const TFilterChain&) = delete;

    // Runs the filters newest first; last ends the chain.
    R Call(const TNext& last, Args... args) const {
        if (state_->Nodes.empty()) return last(std::forward<Args>(args)...);
        const Run run{state_->Nodes, last};  // the filters of this call stay alive with it
        return CallFrom(run, run.Nodes.size(), std::forward<Args>(args)...);
    }
    // Installed filters.
    int Count() const { return static_cast<int>(state_->Nodes.size()); }

private:
    friend class TFilterHook<R(Args...)>;
    struct Node {
        THandler Handler;
        bool Removed = false;
    };
    struct State {
        std::vector<std::shared_ptr<Node>> Nodes;  // oldest first
    };
    struct Run {
        std::vector<std::shared_ptr<Node>> Nodes;
        const TNext& Last;
    };

    // Runs the filters below position index (newest first), then the end.
    static R CallFrom(const Run& run, size_t index, Args... args) {
        while (index > 0) {
            Node& node = *run.Nodes[--index];
            if (node.Removed) continue;
            const TNext next = [&run, index](Args... a) { return CallFrom(run, index, std::forward<Args>(a)...); };
            return node.Handler(std::forward<Args>(args)..., next);
        }
        return run.Last(std::forward<Args>(args)...);
    }

    std::shared_ptr<State> state_;
};

// Owner of one installed filter: removing it (or destroying the owner) takes the filter out of
// its chain, also when the chain is gone already.
template <class R, class... Args>
class TFilterHook<R(Args...)> {
public:
    using TChain = TFilterChain<R(Args...)>;

    TFilterHook() = default;
    ~TFilterHook() { Remove(); }
    TFilterHook(const TFilterHook&) = delete;
    TFilterHook& operator=(const TFilterHook&) = delete;

    // Installs handler in front of chain (removing what this owner held before).
    void Install(TChain& chain, typename TChain::THandler handler) {
        Remove();
        node_ = std::make_shared<typename TChain::Node>();
        node_->Handler = std::move(handler);
        chain.state_->Nodes.push_back(node_);
        state_ = chain.state_;
    }
    void Remove() {
        if (!node_) return;
        node_->Removed = true;
        if (auto state = state_.lock()) std::erase(state->Nodes, node_);
        node_.reset();
        state_.reset();
    }
    // True while the filter sits in a chain that still exists.
    bool Installed() const { return node_ && !state_.expired(); }

private:
    std::weak_ptr<typename TChain::State> state_;
    std::shared_ptr<typename TChain::Node> node_;
};

}  // namespace fn
