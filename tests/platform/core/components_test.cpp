// References between components (each reference its own link, interface slots matched by their
// component) and ordered filter chains whose filters leave in any order, also mid-call.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/core/classes.h"
#include "platform/core/filter_chain.h"

namespace fn {
namespace {

class Partner {
public:
    virtual ~Partner() = default;
};

struct Holder : TComponent, Partner {
    using TComponent::TComponent;
    TComponent* first = nullptr;
    TComponent* second = nullptr;
    TInterfaceRef<Partner> partner;
    void Notification(TComponent* c, Operation op) override {
        TComponent::Notification(c, op);
        if (op != Operation::Remove) return;
        ReleaseReference(first, c);
        ReleaseReference(second, c);
        ReleaseReference(partner, c);
    }
};

TEST(Components, EveryReferenceKeepsItsOwnLinkUntilItsTargetGoes) {
    Holder a(nullptr), b(nullptr);
    auto* c = new Holder(nullptr);
    a.SetReference(a.first, c);
    a.SetReference(a.second, c);
    a.SetReference(a.partner, c);
    b.SetReference(b.first, c);
    c->SetReference(c->first, &b);
    a.SetReference(a.first, nullptr);    // one of a's slots on c let go
    c->SetReference(c->first, nullptr);  // c lets go of b; b still refers to c
    delete c;
    EXPECT_EQ(a.second, nullptr);
    EXPECT_EQ(a.partner.Get(), nullptr);  // matched by its component while c is half gone
    EXPECT_EQ(b.first, nullptr);
}

using Chain = TFilterChain<int(int)>;
using Hook = TFilterHook<int(int)>;

TEST(FilterChain, FiltersRunNewestFirstAndLeaveInAnyOrderEvenMidCall) {
    Chain chain;
    std::string log;
    const Chain::TNext last = [&](int x) {
        log += '.';
        return x;
    };
    auto a = std::make_unique<Hook>(), b = std::make_unique<Hook>(), c = std::make_unique<Hook>();
    a->Install(chain, [&](int x, const Chain::TNext& next) { log += 'a'; return next(x + 1); });
    b->Install(chain, [&](int x, const Chain::TNext& next) { log += 'b'; return next(x * 2); });
    c->Install(chain, [&](int x, const Chain::TNext& next) {
        log += 'c';
        a.reset();  // an older filter leaves while the call runs: skipped at once
        c.reset();  // and this one frees its own owner
        return next(x + 10);
    });
    EXPECT_EQ(chain.Call(last, 1), 22);
    EXPECT_EQ(log, "cb.");
    EXPECT_EQ(chain.Count(), 1);

    // A filter whose chain went first leaves quietly.
    Hook late;
    {
        Chain gone;
        late.Install(gone, [](int x, const Chain::TNext&) { return x; });
        EXPECT_TRUE(late.Installed());
    }
    EXPECT_FALSE(late.Installed());
    late.Remove();
}

}  // namespace
}  // namespace fn
