#pragma once
// Shared by the menu, hint and tray tests under Wine: timers driven by the test (FakeTimers), a
// loaded default skin, plain windows that count the messages they get, and a stand-in menu owner.
#include <windows.h>

#include <map>
#include <memory>
#include <utility>

#include "platform/core/classes.h"
#include "skin/data/skin_data.h"
#include "skin/menus/menu_owner_win.h"
#include "skin/menus/skin_menu_win.h"
#include "tests/platform/win/fake_timers.h"

namespace fn::test {

// Handles every waiting message of this thread.
void Pump();
// The default skin, loaded once from the program's embedded stored skin.
TmnSkinData& FennickSkin();

// A hidden top-level window that counts the messages it receives.
class CountingWindow {
public:
    CountingWindow();
    ~CountingWindow();
    HWND Handle() const { return handle_; }
    int Count(UINT msg) const;
    void Reset();

private:
    HWND handle_;
};

// The smallest owner of a chain: a form window of its own and one TmnSkinMenu.
class TestOwner : public TComponent, public TmnMenuOwner {
public:
    TestOwner() : TComponent(nullptr), menu(new TmnSkinMenu(this, this)) {}
    HWND MenuOwnerWindow() const override { return form.Handle(); }
    TmnSkinMenu& SkinMenu() override { return *menu; }
    TmnSkinData* MenusSkinData() const override { return skin; }
    void StartMenuRouting() override { ++routingStarts; }
    CountingWindow form;
    TmnSkinMenu* menu;  // owned as a component
    TmnSkinData* skin = nullptr;
    int routingStarts = 0;
};

}  // namespace fn::test
