// The window-procedure seam with real windows: handlers in front of a window's procedure,
// removed in any order, also while messages run; handle re-creation; foreign windows and the
// MDI client of a frame.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "platform/win/application.h"
#include "platform/win/forms.h"
#include "platform/win/wndproc_hook.h"

using namespace fn;

namespace {

constexpr UINT kAsk = WM_APP + 7;  // answered by the original procedure with 1000 + wParam
std::string g_trace;               // letters of everyone who saw kAsk, in order

LRESULT CALLBACK ProbeClassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kAsk) {
        g_trace += 'O';
        return 1000 + static_cast<LRESULT>(wParam);
    }
    return ::DefWindowProcW(window, msg, wParam, lParam);
}

// A window this layer did not create.
HWND CreateForeignWindow() {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = ProbeClassProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"FnHookProbe";
        return ::RegisterClassExW(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    return ::CreateWindowExW(0, L"FnHookProbe", L"", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

LRESULT Ask(HWND window, WPARAM wParam = 0) {
    g_trace.clear();
    return ::SendMessageW(window, kAsk, wParam, 0);
}

TWndProcHandler Tracer(char letter) {
    return [letter](HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
        if (msg == kAsk) g_trace += letter;
        return next(msg, wParam, lParam);
    };
}

// A control whose own procedure answers kAsk with 500 + wParam.
class TProbeControl : public TWinControl {
public:
    using TWinControl::TWinControl;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kAsk) {
            g_trace += 'W';
            return 500 + static_cast<LRESULT>(wParam);
        }
        return TWinControl::WndProc(msg, wParam, lParam);
    }
};

struct ParentAndChild {
    TForm form{nullptr};
    TProbeControl child{nullptr};
    ParentAndChild() {
        form.SetBounds(40, 30, 300, 200);
        form.Handle();
        child.SetParent(&form);
        child.SetBounds(10, 20, 120, 40);
    }
};

WNDPROC WindowProcOf(HWND window) { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC)); }

}  // namespace

TEST(WndProcHooks, HandlersRunNewestFirstAndTheirRemovalInAnyOrderLeavesTheOriginalProcedure) {
    HWND window = CreateForeignWindow();
    ASSERT_TRUE(window);
    WNDPROC original = WindowProcOf(window);
    std::weak_ptr<TWndProcChain> chain;
    {
        TWndProcHook a, b;
        ASSERT_TRUE(a.Install(window, Tracer('A')));
        ASSERT_TRUE(b.Install(window, Tracer('B')));
        chain = TWndProcChain::Of(window);
        EXPECT_EQ(chain.lock()->HookCount(), 2);
        EXPECT_EQ(Ask(window, 3), 1003);
        EXPECT_EQ(g_trace, "BAO");

        a.Remove();  // the older one first
        EXPECT_EQ(Ask(window, 4), 1004);
        EXPECT_EQ(g_trace, "BO");
        EXPECT_TRUE(b.Installed());
        EXPECT_FALSE(a.Installed());
        b.Remove();
    }
    // The window has its own procedure back and no chain is kept for it.
    EXPECT_EQ(WindowProcOf(window), original);
    EXPECT_TRUE(chain.expired());
    EXPECT_EQ(Ask(window, 5), 1005);
    EXPECT_EQ(g_trace, "O");

    // Hooked again after that, the same way.
    TWndProcHook c;
    ASSERT_TRUE(c.Install(window, Tracer('C')));
    EXPECT_EQ(Ask(window, 6), 1006);
    EXPECT_EQ(g_trace, "CO");
    ::DestroyWindow(window);
}

TEST(WndProcHooks, AHandlerAnswersAMessageItselfOrPassesItOnChanged) {
    ParentAndChild w;
    HWND child = w.child.Handle();
    TWndProcHook inner(w.child.WindowProc(), [](HWND, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
        if (msg == kAsk && wParam == 9) return LRESULT{77};               // answered here
        if (msg == kAsk) return next(msg, wParam * 10, lParam);           // passed on changed
        return next(msg, wParam, lParam);
    });
    TWndProcHook outer(w.child.WindowProc(), Tracer('T'));
    EXPECT_EQ(Ask(child, 9), 77);
    EXPECT_EQ(g_trace, "T");  // neither WndProc nor the original saw it
    EXPECT_EQ(Ask(child, 2), 520);
    EXPECT_EQ(g_trace, "TW");
    // The control's own procedure and the class procedure behind it still do their work.
    w.child.SetBounds(5, 6, 70, 30);
    RECT r;
    ::GetWindowRect(child, &r);
    EXPECT_EQ(r.right - r.left, 70);
    EXPECT_EQ(TWinControl::FromHandle(child), &w.child);
}

TEST(WndProcHooks, AHandlerRemovedDuringItsOwnMessageFinishesAndIsFreedAfterwards) {
    HWND window = CreateForeignWindow();
    ASSERT_TRUE(window);
    TWndProcHook inner;
    ASSERT_TRUE(inner.Install(window, Tracer('I')));
    auto owner = std::make_unique<TWndProcHook>();
    auto captured = std::make_shared<int>(0);
    std::weak_ptr<int> watch = captured;
    bool capturesAliveAfterRemoval = false;
    ASSERT_TRUE(owner->Install(window, [&, captured](HWND, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
        if (msg != kAsk) return next(msg, wParam, lParam);
        g_trace += 'S';
        owner.reset();  // the owner goes in the middle of its handler
        capturesAliveAfterRemoval = !watch.expired() && *captured == 0;
        return next(msg, wParam, lParam);
    }));
    captured.reset();
    EXPECT_EQ(Ask(window, 1), 1001);
    EXPECT_EQ(g_trace, "SIO");
    EXPECT_TRUE(capturesAliveAfterRemoval);
    EXPECT_TRUE(watch.expired());  // freed once the message was done
    EXPECT_EQ(Ask(window, 2), 1002);
    EXPECT_EQ(g_trace, "IO");
    ::DestroyWindow(window);
}

TEST(WndProcHooks, AHandlerRemovingAnotherDuringAMessageLeavesTheRestOfTheChainWorking) {
    HWND window = CreateForeignWindow();
    ASSERT_TRUE(window);
    TWndProcHook a, b, c;
    ASSERT_TRUE(a.Install(window, Tracer('A')));
    ASSERT_TRUE(b.Install(window, Tracer('B')));
    // The outermost removes the middle one before passing on: A and the original still answer.
    ASSERT_TRUE(c.Install(window, [&](HWND, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
        if (msg == kAsk) {
            g_trace += 'C';
            b.Remove();
        }
        return next(msg, wParam, lParam);
    }));
    EXPECT_EQ(Ask(window, 1), 1001);
    EXPECT_EQ(g_trace, "CAO");
    EXPECT_EQ(TWndProcChain::Of(window)->HookCount(), 2);

    ::DestroyWindow(window);

    // The innermost removes the outer one that is waiting for it, and a message sent meanwhile
    // (nested) already runs without it.
    window = CreateForeignWindow();
    LRESULT nested = 0;
    TWndProcHook inner, outer;
    ASSERT_TRUE(inner.Install(window, [&](HWND w, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
        if (msg == kAsk && wParam == 2) {
            g_trace += 'i';
            outer.Remove();
            nested = ::SendMessageW(w, kAsk, 3, 0);
        } else if (msg == kAsk) {
            g_trace += 'n';
        }
        return next(msg, wParam, lParam);
    }));
    ASSERT_TRUE(outer.Install(window, Tracer('Y')));
    EXPECT_EQ(Ask(window, 2), 1002);
    EXPECT_EQ(g_trace, "YinOO");
    EXPECT_EQ(nested, 1003);
    EXPECT_FALSE(outer.Installed());
    EXPECT_EQ(Ask(window, 4), 1004);
    EXPECT_EQ(g_trace, "nO");
    ::DestroyWindow(window);
}

TEST(WndProcHooks, HandlersStayWhenTheHandleIsRecreatedAndSeeTheNewWindow) {
    ParentAndChild w;
    HWND oldForm = w.form.Handle(), oldChild = w.child.Handle();
    ::ShowWindow(oldForm, SW_SHOWNOACTIVATE);
    w.child.SetVisible(false);
    HWND seenByFormHook = nullptr;
    TWndProcHook formHook(w.form.WindowProc(), [&](HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
        if (msg == kAsk) seenByFormHook = window;
        return next(msg, wParam, lParam);
    });
    TWndProcHook childHook(w.child.WindowProc(), Tracer('H'));
    RECT formBefore;
    ::GetWindowRect(oldForm, &formBefore);

    w.form.RecreateWnd();

    HWND newForm = w.form.Handle(), newChild = w.child.Handle();
    EXPECT_FALSE(::IsWindow(oldForm));
    EXPECT_FALSE(::IsWindow(oldChild));
    ASSERT_TRUE(::IsWindow(newForm));
    ASSERT_TRUE(::IsWindow(newChild));
    EXPECT_EQ(::GetParent(newChild), newForm);
    EXPECT_EQ(w.form.WindowProc().Window(), newForm);
    // Place and visibility of both windows are kept.
    RECT formAfter, childAfter;
    ::GetWindowRect(newForm, &formAfter);
    EXPECT_EQ(formAfter.left, formBefore.left);
    EXPECT_EQ(formAfter.bottom, formBefore.bottom);
    ::GetWindowRect(newChild, &childAfter);
    ::MapWindowPoints(nullptr, newForm, reinterpret_cast<POINT*>(&childAfter), 2);
    EXPECT_EQ(childAfter.left, 10);
    EXPECT_EQ(childAfter.bottom, 60);
    EXPECT_TRUE(::IsWindowVisible(newForm));
    EXPECT_FALSE(::GetWindowLongW(newChild, GWL_STYLE) & WS_VISIBLE);
    // The hooks see the new windows' messages.
    EXPECT_EQ(Ask(newChild, 1), 501);
    EXPECT_EQ(g_trace, "HW");
    ::SendMessageW(newForm, kAsk, 0, 0);
    EXPECT_EQ(seenByFormHook, newForm);
    EXPECT_EQ(w.form.WindowProc().HookCount(), 1);
    EXPECT_EQ(w.child.WindowProc().HookCount(), 1);

    // A hidden window stays hidden.
    ::ShowWindow(newForm, SW_HIDE);
    w.form.RecreateWnd();
    EXPECT_FALSE(::IsWindowVisible(w.form.Handle()));
    EXPECT_EQ(Ask(w.child.Handle(), 2), 502);
    EXPECT_EQ(g_trace, "HW");
}

TEST(WndProcHooks, RecreatingTheWindowInsideItsOwnMessageIsSafe) {
    ParentAndChild w;
    HWND old = w.child.Handle();
    LRESULT passedOn = -1;
    TWndProcHook hook(w.child.WindowProc(), [&](HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
        if (msg != kAsk || wParam != 1) return next(msg, wParam, lParam);
        w.child.RecreateWnd();
        passedOn = next(msg, wParam, lParam);  // its window is gone: nobody answers
        return LRESULT{5};
    });
    EXPECT_EQ(Ask(old, 1), 5);
    EXPECT_EQ(passedOn, 0);
    EXPECT_EQ(g_trace, "");
    EXPECT_NE(w.child.Handle(), old);
    EXPECT_EQ(Ask(w.child.Handle(), 2), 502);
}

TEST(WndProcHooks, RemovalAfterTheWindowOrItsControlIsGoneIsSafe) {
    // A foreign window: its chain goes with it, and the hook saw its last message.
    HWND window = CreateForeignWindow();
    bool sawNcDestroy = false;
    TWndProcHook foreign;
    ASSERT_TRUE(foreign.Install(window, [&](HWND w, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
        if (msg == WM_NCDESTROY) sawNcDestroy = true;
        return next(msg, wParam, lParam);
    }));
    ::DestroyWindow(window);
    EXPECT_TRUE(sawNcDestroy);
    EXPECT_FALSE(foreign.Installed());
    foreign.Remove();
    EXPECT_FALSE(foreign.Install(window, Tracer('X')));  // no such window any more

    // A control's window: the hook waits for the next window of the control.
    auto w = std::make_unique<ParentAndChild>();
    TWndProcHook onChild(w->child.WindowProc(), Tracer('C'));
    ::DestroyWindow(w->child.Handle());
    EXPECT_FALSE(w->child.HandleAllocated());
    EXPECT_TRUE(onChild.Installed());
    EXPECT_EQ(Ask(w->child.Handle(), 1), 501);
    EXPECT_EQ(g_trace, "CW");
    // The control itself goes: the hook is out with its chain.
    TWndProcHook onForm(w->form.WindowProc(), Tracer('F'));
    w.reset();
    EXPECT_FALSE(onChild.Installed());
    EXPECT_FALSE(onForm.Installed());
    onChild.Remove();
}

TEST(WndProcHooks, TheOwnerRemovesItsHandlerWhenItIsDestroyedOrReused) {
    HWND window = CreateForeignWindow();
    WNDPROC original = WindowProcOf(window);
    {
        TWndProcHook scoped;
        ASSERT_TRUE(scoped.Install(window, Tracer('S')));
        EXPECT_NE(WindowProcOf(window), original);
        TWndProcHook moved = std::move(scoped);  // ownership moves, the handler stays
        EXPECT_FALSE(scoped.Installed());
        EXPECT_TRUE(moved.Installed());
        EXPECT_EQ(Ask(window), 1000);
        EXPECT_EQ(g_trace, "SO");
    }
    EXPECT_EQ(WindowProcOf(window), original);
    EXPECT_EQ(Ask(window), 1000);
    EXPECT_EQ(g_trace, "O");

    // Installing again through the same owner replaces its handler.
    TWndProcHook hook;
    ASSERT_TRUE(hook.Install(window, Tracer('1')));
    ASSERT_TRUE(hook.Install(window, Tracer('2')));
    EXPECT_EQ(Ask(window), 1000);
    EXPECT_EQ(g_trace, "2O");
    EXPECT_EQ(TWndProcChain::Of(window)->HookCount(), 1);
    ::DestroyWindow(window);
}

TEST(WndProcHooks, AnExceptionInAHandlerGoesToTheApplicationAndTheChainGoesOn) {
    Application()->Initialize();
    std::vector<String> shown;
    Application()->OnException = [&](const Exception& e) { shown.push_back(e.Message()); };
    HWND window = CreateForeignWindow();
    TWndProcHook keep, throwing;
    ASSERT_TRUE(keep.Install(window, Tracer('K')));
    ASSERT_TRUE(throwing.Install(window, [&](HWND, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
        if (msg == kAsk) {
            throwing.Remove();
            throw EInvalidOperation(L"Fehler im Handler");
        }
        return next(msg, wParam, lParam);
    }));
    EXPECT_EQ(Ask(window), 0);
    EXPECT_EQ(shown, std::vector<String>{L"Fehler im Handler"});
    EXPECT_EQ(TWndProcChain::Of(window)->HookCount(), 1);
    EXPECT_EQ(Ask(window), 1000);
    EXPECT_EQ(g_trace, "KO");
    Application()->OnException = nullptr;
    ::DestroyWindow(window);
}

TEST(WndProcHooks, WindowsOfAnotherThreadAreNotHooked) {
    HWND other = nullptr;
    HANDLE made = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread thread([&] {
        other = CreateForeignWindow();
        ::SetEvent(made);
        ::WaitForSingleObject(done, INFINITE);
        ::DestroyWindow(other);
    });
    ::WaitForSingleObject(made, INFINITE);
    TWndProcHook hook;
    EXPECT_FALSE(hook.Install(other, Tracer('X')));
    EXPECT_FALSE(hook.Install(nullptr, Tracer('X')));
    EXPECT_EQ(TWndProcChain::Of(other), nullptr);
    ::SetEvent(done);
    thread.join();
    ::CloseHandle(made);
    ::CloseHandle(done);
}

TEST(WndProcHooks, InstallingAndRemovingManyTimesLeavesNothingBehind) {
    HWND window = CreateForeignWindow();
    WNDPROC original = WindowProcOf(window);
    ParentAndChild w;
    auto probe = std::make_shared<int>(0);
    for (int i = 0; i < 20000; ++i) {
        TWndProcHook onForeign, onControl;
        ASSERT_TRUE(onForeign.Install(window, [probe](HWND, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
            return next(msg, wParam, lParam);
        }));
        onControl.Install(w.child.WindowProc(), [probe](HWND, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
            return next(msg, wParam, lParam);
        });
        if (i % 2) onForeign.Remove();  // the rest leave by their owners' destructors
    }
    EXPECT_EQ(probe.use_count(), 1);  // every handler freed
    EXPECT_EQ(WindowProcOf(window), original);
    // No chain is left registered for the window: a new one may take it.
    auto fresh = TWndProcChain::Create();
    EXPECT_NO_THROW(fresh->Attach(window));
    EXPECT_EQ(w.child.WindowProc().HookCount(), 0);
    EXPECT_EQ(Ask(w.child.Handle(), 1), 501);
    ::DestroyWindow(window);
}

// The MDI frame is the application's main form; one per test program.
class MdiClientHooks : public ::testing::Test {
protected:
    static TForm* Frame() {
        static TForm* frame = [] {
            Application()->Initialize();
            TForm* f = nullptr;
            Application()->CreateForm(f);
            f->LoadFromText(L"object Frame: TForm\n  Caption = 'Rahmen'\n  FormStyle = fsMDIForm\n"
                            L"  Left = 20\n  Top = 20\n  Width = 500\n  Height = 400\n  Visible = True\n  Menu = MainMenu1\n"
                            L"  object MainMenu1: TMainMenu\n    object Datei1: TMenuItem\n      Caption = '&Datei'\n"
                            L"    end\n  end\nend\n");
            return f;
        }();
        return frame;
    }
    static TForm* NewDocument(const wchar_t* caption) {
        auto* doc = new TForm(Application());
        doc->LoadFromText(String(L"object Doc: TForm\n  FormStyle = fsMDIChild\n  Caption = '") + caption +
                          L"'\n  Width = 200\n  Height = 150\n  Visible = True\nend\n");
        return doc;
    }
};

TEST_F(MdiClientHooks, TheClientOfAFrameIsHookedAndKeepsItsHooksWhenTheFrameIsRecreated) {
    TForm* frame = Frame();
    HWND client = frame->ClientHandle();
    ASSERT_TRUE(client);
    EXPECT_EQ(TWndProcChain::Of(client).get(), &frame->ClientWindowProc());
    int creates = 0;
    HWND seen = nullptr;
    TWndProcHook hook(frame->ClientWindowProc(), [&](HWND window, UINT msg, WPARAM wParam, LPARAM lParam, const TWndProcNext& next) {
        if (msg == WM_MDICREATE) ++creates;
        if (msg == kAsk) {
            seen = window;
            return LRESULT{42};
        }
        return next(msg, wParam, lParam);
    });
    TForm* first = NewDocument(L"Eins");
    TForm* second = NewDocument(L"Zwei");
    EXPECT_EQ(creates, 2);  // the client's own work went through the hook
    EXPECT_EQ(frame->MDIChildCount(), 2);
    EXPECT_EQ(frame->ActiveMDIChild(), second);
    EXPECT_EQ(::SendMessageW(client, kAsk, 0, 0), 42);
    ::SendMessageW(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(first->Handle()), 0);
    ::SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(first->Handle()), 0);

    frame->RecreateWnd();

    HWND newClient = frame->ClientHandle();
    ASSERT_TRUE(newClient);
    EXPECT_FALSE(::IsWindow(client));
    EXPECT_EQ(::SendMessageW(newClient, kAsk, 0, 0), 42);
    EXPECT_EQ(seen, newClient);
    EXPECT_EQ(creates, 4);  // both documents were made again in the new client
    ASSERT_EQ(frame->MDIChildCount(), 2);
    EXPECT_EQ(::GetParent(first->Handle()), newClient);
    EXPECT_EQ(frame->ActiveMDIChild(), first);
    EXPECT_TRUE(::IsZoomed(first->Handle()));
    EXPECT_TRUE(::IsWindowVisible(second->Handle()));
    // The menu bar came along (it is the menu component's, not the old window's).
    EXPECT_TRUE(::IsMenu(frame->Menu()->Handle()));
    EXPECT_EQ(::GetMenu(frame->Handle()), frame->Menu()->Handle());
    EXPECT_FALSE(Application()->Terminated());
    MSG quit;
    EXPECT_FALSE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));  // the main form was only replaced

    hook.Remove();
    EXPECT_EQ(::SendMessageW(newClient, kAsk, 0, 0), 0);  // the client's own procedure again
    delete first;
    delete second;
    EXPECT_EQ(frame->MDIChildCount(), 0);
}
