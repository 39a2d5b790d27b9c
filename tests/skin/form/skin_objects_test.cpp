// The skin objects with a test owner: creation from the records, placement, hit-testing, the
// button state machine, capture loss, morphing, animation, the mended faults of bad skins.
#include <gtest/gtest.h>

#include "tests/skin/form/form_test_support.h"

using namespace fn;
using namespace fn::test;

namespace {

class SkinObjectsTest : public ::testing::Test {
protected:
    void Load(const std::wstring& description = TestDescription()) {
        owner.skin = LoadSkin(component, TestArchive(description));
        list.Rebuild();
    }
    template <class T>
    T& Get(const wchar_t* name) {
        for (int i = 0; i < list.Count(); ++i)
            if (list[i].IDName == name) return dynamic_cast<T&>(list[i]);
        throw std::runtime_error("no such object");
    }
    int IndexOf(const wchar_t* name) {
        for (int i = 0; i < list.Count(); ++i)
            if (list[i].IDName == name) return i;
        return -1;
    }
    // Moves the mouse onto the named object (or off every object) through hover tracking.
    void HoverOn(const wchar_t* name) {
        if (!name) {
            list.TrackMouse(-1, -1, false);
            return;
        }
        const TSkinRect r = list[IndexOf(name)].ObjectRect;
        list.TrackMouse(r.Left, r.Top, true);
    }
    void Layout(int w, int h) {
        const TmnSkinData& s = *owner.skin;
        list.Layout({s.LeftTopPoint, s.RightTopPoint, s.LeftBottomPoint, s.RightBottomPoint, s.Picture().Width,
                     s.Picture().Height},
                    w, h);
    }
    // Runs the morph timer until it stops itself; returns the ticks.
    int RunMorph() {
        int ticks = 0;
        while (owner.Running(TmnObjectTimer::Morph)) {
            list.MorphTick();
            if (++ticks > 100) break;
        }
        return ticks;
    }

    TComponent component{nullptr};
    TestOwner owner;
    TmnSkinObjectList list{owner};
};

}  // namespace

TEST_F(SkinObjectsTest, RecordsBecomeObjectsOfTheirClassInRecordOrderAndMenuRecordsAreSkipped) {
    Load();
    ASSERT_EQ(list.Count(), 7);
    EXPECT_NE(dynamic_cast<TmnSkinCaptionObject*>(&list[0]), nullptr);
    for (int i : {1, 2, 3}) EXPECT_NE(dynamic_cast<TmnSkinStdButtonObject*>(&list[i]), nullptr);
    TmnActiveSkinObject& button = list[4];
    EXPECT_EQ(typeid(button), typeid(TmnSkinButtonObject));
    EXPECT_NE(dynamic_cast<TmnSkinAnimateObject*>(&list[5]), nullptr);
    TmnActiveSkinObject& user = list[6];
    EXPECT_EQ(typeid(user), typeid(TmnUserObject));
    const wchar_t* names[] = {L"caption1", L"closebutton", L"maxbutton", L"sysmenubutton", L"menubutton", L"logo", L"user1"};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(list[i].IDName, names[i]);
    // Values are copied; ObjectRect starts as SkinRect; a standard button made from a record
    // is skinned.
    auto& close = Get<TmnSkinStdButtonObject>(L"closebutton");
    EXPECT_TRUE(close.SkinSupport);
    EXPECT_EQ(close.ObjectRect, (TSkinRect{184, 4, 196, 16}));
    EXPECT_EQ(close.DownRect, (TSkinRect{0, 24, 12, 36}));
    EXPECT_TRUE(close.Morphing);
    EXPECT_EQ(Get<TmnSkinStdButtonObject>(L"maxbutton").Command, cmMaximize);
    EXPECT_EQ(Get<TmnSkinAnimateObject>(L"logo").CountFrames, 4);

    // No skin: no objects; the unskinned set has the six built-in buttons.
    owner.skin = nullptr;
    list.Rebuild();
    EXPECT_EQ(list.Count(), 0);
    list.CreateUnskinned();
    ASSERT_EQ(list.Count(), 6);
    EXPECT_FALSE(dynamic_cast<TmnSkinStdButtonObject&>(list[0]).SkinSupport);
    EXPECT_EQ(dynamic_cast<TmnSkinStdButtonObject&>(list[5]).Command, cmMinimizeToTray);
}

TEST_F(SkinObjectsTest, PlacementAtSeveralWindowSizesAndHitTestingAtTheEdges) {
    Load();
    for (int w : {200, 260, 640}) {
        Layout(w, 60 + w / 10);
        const int dx = w - 200;
        EXPECT_EQ(Get<TmnActiveSkinObject>(L"sysmenubutton").ObjectRect, (TSkinRect{4, 4, 16, 16}));
        EXPECT_EQ(Get<TmnActiveSkinObject>(L"closebutton").ObjectRect, (TSkinRect{184 + dx, 4, 196 + dx, 16}));
        EXPECT_EQ(Get<TmnActiveSkinObject>(L"maxbutton").ObjectRect, (TSkinRect{168 + dx, 4, 180 + dx, 16}));
        EXPECT_EQ(Get<TmnActiveSkinObject>(L"caption1").ObjectRect, (TSkinRect{16, 2, 160 + dx, 28}));
        EXPECT_EQ(Get<TmnActiveSkinObject>(L"user1").ObjectRect.Top, 52 + w / 10);
        // Objects cut from the active picture are left to the button strip layout.
        EXPECT_EQ(Get<TmnActiveSkinObject>(L"menubutton").ObjectRect, (TSkinRect{48, 0, 60, 12}));

        const int close = IndexOf(L"closebutton");
        EXPECT_EQ(list.ObjectAt(184 + dx, 4), close);
        EXPECT_EQ(list.ObjectAt(195 + dx, 15), close);
        EXPECT_NE(list.ObjectAt(196 + dx, 10), close);
        EXPECT_NE(list.ObjectAt(190 + dx, 16), close);
        EXPECT_NE(list.ObjectAt(183 + dx, 10), close);
    }
    // The close button overlaps the widened caption: the first in list order wins, and a
    // disabled or hidden object takes no part.
    Layout(200, 60);
    Get<TmnActiveSkinObject>(L"logo").ObjectRect = {60, 30, 80, 50};  // off the system menu button
    EXPECT_EQ(list.ObjectAt(20, 10), IndexOf(L"caption1"));
    auto& sys = Get<TmnActiveSkinObject>(L"sysmenubutton");
    EXPECT_EQ(list.ObjectAt(5, 5), IndexOf(L"sysmenubutton"));
    sys.Enabled = false;
    EXPECT_EQ(list.ObjectAt(5, 5), -1);
    sys.Enabled = true;
    sys.Visible = false;
    EXPECT_EQ(list.ObjectAt(5, 5), -1);
}

TEST_F(SkinObjectsTest, AButtonRunsItsCommandOnlyForAReleaseInsideAfterAPressOnIt) {
    Load();
    Layout(200, 60);
    auto& close = Get<TmnSkinStdButtonObject>(L"closebutton");
    RecordingPainter p;

    HoverOn(L"closebutton");
    EXPECT_TRUE(close.Active);
    EXPECT_TRUE(close.MouseIn);
    EXPECT_TRUE(owner.Running(TmnObjectTimer::Morph));
    EXPECT_TRUE(list.MouseDown(185, 5, 0));  // captures
    EXPECT_TRUE(close.Down);
    close.Draw(p, true);
    EXPECT_EQ(p.Find("copy"), "copy 0 72w(0,24,12,36)->(184,4,196,16)");  // pressed

    // Leaving while pressed: hover look gone, no command; the capture keeps other objects out.
    HoverOn(nullptr);
    EXPECT_FALSE(close.Active);
    EXPECT_TRUE(close.Down);
    list.TrackMouse(170, 5, true);  // over the maximise button while captured
    EXPECT_EQ(list.ActiveObject, -1);
    EXPECT_FALSE(Get<TmnSkinStdButtonObject>(L"maxbutton").Active);
    // Back in: pressed look again; release inside runs the command, posted.
    HoverOn(L"closebutton");
    EXPECT_TRUE(close.Active);
    list.MouseUp(185, 5, 0);
    EXPECT_FALSE(close.Down);
    ASSERT_EQ(owner.actions.size(), 1u);
    EXPECT_EQ(owner.actions[0], TmnWindowAction::Close);
    EXPECT_EQ(list.CaptureObject, -1);

    // Press, leave, release outside: nothing.
    owner.actions.clear();
    list.MouseDown(185, 5, 0);
    HoverOn(nullptr);
    list.MouseUp(-1, -1, 0);
    EXPECT_TRUE(owner.actions.empty());
    EXPECT_FALSE(close.Down);

    // A release that ends no press (the press began elsewhere) runs nothing; nor does the right button.
    HoverOn(L"closebutton");
    close.MouseUp(185, 5, 0);
    list.MouseDown(185, 5, 1);
    list.MouseUp(185, 5, 1);
    EXPECT_TRUE(owner.actions.empty());
    EXPECT_NE(std::find(owner.events.begin(), owner.events.end(), "up closebutton b1"), owner.events.end());
}

TEST_F(SkinObjectsTest, CommandsFollowTheWindowState) {
    Load();
    Layout(200, 60);
    auto press = [&](const wchar_t* name) {
        HoverOn(name);
        list.MouseDown(0, 0, 0);
        list.MouseUp(0, 0, 0);
        HoverOn(nullptr);
        RunMorph();
    };
    press(L"maxbutton");
    owner.state = swsMaximized;
    press(L"maxbutton");
    EXPECT_EQ(owner.actions, (std::vector<TmnWindowAction>{TmnWindowAction::Maximize, TmnWindowAction::Restore}));

    // The maximise button shows its restore images only while maximised.
    RecordingPainter p;
    auto& max = Get<TmnSkinStdButtonObject>(L"maxbutton");
    max.Draw(p, true);
    EXPECT_EQ(p.Find("copy"), "copy 0 72w(24,0,36,12)->(168,4,180,16)");
    owner.active = false;
    p.ops.clear();
    max.Draw(p, true);
    EXPECT_EQ(p.Find("copy"), "copy 0 72w(24,36,36,48)->(168,4,180,16)");
    owner.state = swsNormal;
    p.ops.clear();
    max.Draw(p, true);  // no inactive image of its own: the normal image from the frame picture
    EXPECT_EQ(p.Find("copy"), "copy 0 200w(168,4,180,16)->(168,4,180,16)");

    // A disabled button shows its disabled image and ignores presses.
    auto& close = Get<TmnSkinStdButtonObject>(L"closebutton");
    close.Enabled = false;
    p.ops.clear();
    close.Draw(p, true);
    EXPECT_EQ(p.Find("copy"), "copy 0 72w(0,48,12,60)->(184,4,196,16)");
    close.MouseDown(185, 5, 0);
    EXPECT_FALSE(close.Down);
}

TEST_F(SkinObjectsTest, SystemMenuButtonOpensOnPressAndADoubleClickPostsClose) {
    Load();
    Layout(200, 60);
    auto& sys = Get<TmnSkinStdButtonObject>(L"sysmenubutton");
    HoverOn(L"sysmenubutton");
    list.MouseDown(5, 5, 0);
    ASSERT_EQ(owner.popups.size(), 1u);
    EXPECT_EQ(owner.popups[0], owner.systemMenu);
    // The popup is open: the button stays down through release and leaving, without a morph.
    list.MouseUp(5, 5, 0);
    HoverOn(nullptr);
    EXPECT_TRUE(sys.Down);
    EXPECT_FALSE(sys.MorphPending());
    list.MenuClosed(sys);
    EXPECT_FALSE(sys.Down);

    // Double click: the close is posted, the object stays alive and usable.
    HoverOn(L"sysmenubutton");
    list.MouseDown(5, 5, 0);
    list.DblClick();
    ASSERT_EQ(owner.actions.size(), 1u);
    EXPECT_EQ(owner.actions[0], TmnWindowAction::Close);
    EXPECT_EQ(list.Object(IndexOf(L"sysmenubutton")), &sys);

    // A system menu that has nothing to show leaves the button free to come up again.
    list.MenuClosed(sys);
    owner.popupOpens = false;
    list.MouseDown(5, 5, 0);
    list.MouseUp(5, 5, 0);
    EXPECT_FALSE(sys.Down);
}

TEST_F(SkinObjectsTest, LosingTheCaptureReleasesAPressedObjectWithoutItsCommand) {
    Load();
    Layout(200, 60);
    auto& close = Get<TmnSkinStdButtonObject>(L"closebutton");
    HoverOn(L"closebutton");
    list.MouseDown(185, 5, 0);
    list.CaptureLost();
    EXPECT_FALSE(close.Down);
    EXPECT_FALSE(close.Active);
    EXPECT_EQ(list.CaptureObject, -1);
    list.MouseUp(185, 5, 0);  // the late release finds no captured object
    EXPECT_TRUE(owner.actions.empty());
    // Tracking brings the hover back.
    HoverOn(L"closebutton");
    EXPECT_TRUE(close.Active);

    // The same for a pressed animation.
    auto& logo = Get<TmnSkinAnimateObject>(L"logo");
    logo.ObjectRect = {60, 30, 80, 50};
    HoverOn(L"logo");
    list.MouseDown(61, 31, 0);
    EXPECT_TRUE(logo.Pressed);
    list.CaptureLost();
    EXPECT_FALSE(logo.Pressed);
    EXPECT_TRUE(owner.popups.empty());
}

TEST_F(SkinObjectsTest, MorphRunsFiveTicksEachWayThenTheTimerStops) {
    Load();
    Layout(200, 60);
    auto& close = Get<TmnSkinStdButtonObject>(L"closebutton");
    RecordingPainter p;
    HoverOn(L"closebutton");
    list.MorphTick();
    close.Draw(p, true);
    EXPECT_EQ(p.Find("morph"), "morph 1 2 kind0 0.2");
    EXPECT_EQ(p.Find("copy 1"), "copy 1 200w(184,4,196,16)->(0,0,12,12)");  // normal from the frame picture
    EXPECT_EQ(p.Find("copy 2"), "copy 2 72w(0,12,12,24)->(0,0,12,12)");     // hover from the active picture
    EXPECT_EQ(RunMorph(), 5);  // four more steps and the tick that finds nothing to do
    EXPECT_EQ(close.MorphFactor, 1.0);
    p.ops.clear();
    close.Draw(p, false);
    EXPECT_EQ(p.Find("copy"), "copy 0 72w(0,12,12,24)->(184,4,196,16)");

    HoverOn(nullptr);
    EXPECT_EQ(RunMorph(), 6);
    EXPECT_EQ(close.MorphFactor, 0.0);
    p.ops.clear();
    close.Draw(p, false);  // the frame shows the normal image already
    EXPECT_TRUE(p.ops.empty());

    // Desktop animations off: the fade jumps to its end without the timer.
    owner.animation = false;
    HoverOn(L"closebutton");
    EXPECT_FALSE(owner.Running(TmnObjectTimer::Morph));
    EXPECT_EQ(close.MorphFactor, 1.0);
    HoverOn(nullptr);
    EXPECT_EQ(close.MorphFactor, 0.0);

    // Skin effects off: no morphing at all.
    owner.animation = true;
    owner.skin->SetEnableSkinEffects(false);
    HoverOn(L"closebutton");
    EXPECT_FALSE(owner.Running(TmnObjectTimer::Morph));
    EXPECT_FALSE(close.MorphEnabled());
}

TEST_F(SkinObjectsTest, ButtonStyleAnimationRunsForwardStopsOnTheLastFrameAndRunsBackAfterLeaving) {
    Load();
    auto& logo = Get<TmnSkinAnimateObject>(L"logo");
    logo.ObjectRect = {60, 30, 80, 50};
    EXPECT_EQ(logo.FrameInterval, 50);
    HoverOn(L"logo");
    EXPECT_TRUE(owner.Running(TmnObjectTimer::Animate));
    std::vector<int> frames;
    for (int tick = 0; tick < 40 && owner.Running(TmnObjectTimer::Animate); ++tick) {
        list.AnimateTick();
        frames.push_back(logo.CurrentFrame);
    }
    // Interval 50: a frame every second tick of the 25 ms timer; stops on frame 4.
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 2, 3, 3, 4, 4}));
    EXPECT_FALSE(owner.Running(TmnObjectTimer::Animate));
    RecordingPainter p;
    logo.Draw(p, true);
    EXPECT_EQ(p.Find("copy"), "copy 0 80w(60,0,80,20)->(60,30,80,50)");

    HoverOn(nullptr);
    frames.clear();
    for (int tick = 0; tick < 40 && owner.Running(TmnObjectTimer::Animate); ++tick) {
        list.AnimateTick();
        frames.push_back(logo.CurrentFrame);
    }
    EXPECT_EQ(frames.back(), 1);
    EXPECT_FALSE(logo.Active);
    EXPECT_FALSE(owner.Running(TmnObjectTimer::Animate));

    // Pressed: the down image; a release inside opens its menu (command cmdefault with a menu).
    logo.MenuItem = reinterpret_cast<TMenuItem*>(0x2000);
    HoverOn(L"logo");
    list.MouseDown(61, 31, 0);
    p.ops.clear();
    logo.Draw(p, true);
    EXPECT_EQ(p.Find("copy"), "copy 0 80w(0,20,20,40)->(60,30,80,50)");
    list.MouseUp(61, 31, 0);
    EXPECT_TRUE(logo.MenuOpen);
    ASSERT_EQ(owner.popups.size(), 1u);
    list.MenuClosed(logo);
    EXPECT_FALSE(logo.MenuOpen);
    EXPECT_FALSE(logo.Forward);
    EXPECT_EQ(logo.CurrentFrame, 4);
}

TEST_F(SkinObjectsTest, CyclingAnimationWrapsAndAnAnimationWithoutFramesEndsAtOnce) {
    std::wstring d = TestDescription();
    d = Replace(d, L"logo",
                L"activepictureindex=1\nskinrectinapicture=1\nskinrect=0,0,20,20\nactiveskinrect=0,0,20,20\n"
                L"countframes=3\ntimerinterval=0\ncycle=1\nbuttonstyle=1\n");
    Load(d);
    auto& logo = Get<TmnSkinAnimateObject>(L"logo");
    EXPECT_EQ(logo.FrameInterval, 25);  // raised to one tick
    logo.ObjectRect = {60, 30, 80, 50};
    HoverOn(L"logo");
    std::vector<int> frames;
    for (int tick = 0; tick < 7; ++tick) {
        list.AnimateTick();
        frames.push_back(logo.CurrentFrame);
    }
    EXPECT_EQ(frames, (std::vector<int>{2, 3, 1, 2, 3, 1, 2}));

    // Frame counts the picture cannot hold are clamped; 0 or less switches the animation off.
    for (const wchar_t* count : {L"countframes=1000000\n", L"countframes=0\n", L"countframes=-3\n"}) {
        d = Replace(TestDescription(), L"logo",
                    std::wstring(L"activepictureindex=1\nskinrectinapicture=1\nskinrect=0,0,20,20\n"
                                 L"activeskinrect=0,0,20,20\nbuttonstyle=1\ncycle=1\n") + count);
        Load(d);
        auto& l = Get<TmnSkinAnimateObject>(L"logo");
        EXPECT_EQ(l.CountFrames, count[12] == L'1' ? 4 : 0);
        l.ObjectRect = {60, 30, 80, 50};
        HoverOn(nullptr);
        HoverOn(L"logo");
        int ticks = 0;
        while (owner.Running(TmnObjectTimer::Animate) && ticks < 1000) {
            list.AnimateTick();
            ++ticks;
            // Every frame drawn lies inside the picture.
            RecordingPainter p;
            l.Draw(p, true);
            for (const std::string& op : p.ops) EXPECT_EQ(op.find("(80,"), std::string::npos) << op;
        }
        if (l.CountFrames == 0) {
            EXPECT_FALSE(owner.Running(TmnObjectTimer::Animate));
        }
    }
}

TEST_F(SkinObjectsTest, PictureIndexesOutsideTheListLeaveTheObjectWithoutActiveImages) {
    for (const wchar_t* index : {L"-1", L"-7", L"2", L"99"}) {
        std::wstring d = Replace(TestDescription(), L"closebutton",
                                 std::wstring(L"activepictureindex=") + index +
                                     L"\nskinrect=184,4,196,16\nactiveskinrect=0,12,12,24\ndownrect=0,24,12,36\n"
                                     L"inactiveskinrect=0,36,12,48\ndisableskinrsect=0,48,12,60\nmorphing=1\n");
        d = Replace(d, L"maxbutton",
                    std::wstring(L"activepictureindex=") + index +
                        L"\nskinrectinapicture=1\nskinrect=12,0,24,12\nactiveskinrect=12,12,24,24\n"
                        L"command=cmmaximize\nrestorerect=24,0,36,12\n");
        Load(d);
        Layout(200, 60);
        auto& close = Get<TmnSkinStdButtonObject>(L"closebutton");
        EXPECT_EQ(close.ActivePicture, nullptr) << index;
        EXPECT_TRUE(close.ActiveSkinRect.IsEmpty());
        EXPECT_TRUE(close.DownRect.IsEmpty());
        EXPECT_TRUE(close.InActiveSkinRect.IsEmpty());
        EXPECT_TRUE(close.DisableSkinRect.IsEmpty());
        EXPECT_FALSE(close.Morphing);
        // Every state draws from the frame picture or nothing.
        RecordingPainter p;
        HoverOn(L"closebutton");
        list.MouseDown(185, 5, 0);
        owner.active = false;
        close.Draw(p, true);
        close.Enabled = false;
        close.Draw(p, true);
        owner.active = true;
        for (const std::string& op : p.ops) EXPECT_EQ(op.rfind("copy 0 200w", 0), 0u) << op;
        list.MouseUp(185, 5, 0);

        // A button cut from the missing picture falls back to the built-in look.
        auto& max = Get<TmnSkinStdButtonObject>(L"maxbutton");
        max.ObjectRect = {168, 4, 180, 16};
        owner.state = swsMaximized;
        p.ops.clear();
        max.Draw(p, true);
        EXPECT_EQ(p.ops, (std::vector<std::string>{"plain (168,4,180,16) look0 glyph3"}));
        owner.state = swsNormal;
    }
    // Rectangles reaching outside the picture count as empty too.
    Load(Replace(TestDescription(), L"closebutton",
                 L"activepictureindex=0\nskinrect=184,4,196,16\nactiveskinrect=70,12,82,24\nmorphing=1\n"));
    EXPECT_TRUE(Get<TmnSkinStdButtonObject>(L"closebutton").ActiveSkinRect.IsEmpty());
    EXPECT_FALSE(Get<TmnSkinStdButtonObject>(L"closebutton").Morphing);
}

TEST_F(SkinObjectsTest, EveryPathThatFreesTheObjectsStopsTheirTimers) {
    Load();
    Layout(200, 60);
    HoverOn(L"closebutton");
    owner.StartTimer(TmnObjectTimer::Mouse);
    Get<TmnSkinAnimateObject>(L"logo").MenuClosed();
    ASSERT_TRUE(owner.Running(TmnObjectTimer::Morph));
    ASSERT_TRUE(owner.Running(TmnObjectTimer::Animate));
    // A new skin set straight away (no before-change message): the rebuild stops them first.
    list.Rebuild();
    EXPECT_TRUE(owner.timers.empty());
    EXPECT_EQ(list.ActiveObject, -1);

    HoverOn(L"closebutton");
    owner.skin = nullptr;  // skin removed
    list.Rebuild();
    EXPECT_TRUE(owner.timers.empty());
    EXPECT_EQ(list.Count(), 0);

    {
        TestOwner other;
        other.skin = LoadSkin(component, TestArchive(TestDescription()));
        auto gone = std::make_unique<TmnSkinObjectList>(other);
        gone->Rebuild();
        gone->TrackMouse(185, 5, true);
        ASSERT_FALSE(other.timers.empty());
        gone.reset();  // the owner destroyed
        EXPECT_TRUE(other.timers.empty());
    }
}

TEST_F(SkinObjectsTest, ActivationResetsHoverStatesAndBorderIconsDecideVisibilityAndHints) {
    Load();
    Layout(200, 60);
    owner.active = false;  // no hover tracking in an inactive window
    HoverOn(L"closebutton");
    EXPECT_EQ(list.ActiveObject, -1);
    EXPECT_FALSE(Get<TmnActiveSkinObject>(L"closebutton").Active);
    owner.active = true;
    HoverOn(L"closebutton");
    list.MorphTick();
    auto& logo = Get<TmnSkinAnimateObject>(L"logo");
    logo.CurrentFrame = 3;
    logo.Active = true;
    list.ResetHoverStates();
    EXPECT_FALSE(Get<TmnActiveSkinObject>(L"closebutton").Active);
    EXPECT_EQ(Get<TmnActiveSkinObject>(L"closebutton").MorphFactor, 0.0);
    EXPECT_EQ(logo.CurrentFrame, 1);
    EXPECT_FALSE(logo.Active);

    list.ApplyBorderIcons(BorderIconBit(biSystemMenu), false, nullptr);
    EXPECT_FALSE(Get<TmnActiveSkinObject>(L"maxbutton").Enabled);
    EXPECT_TRUE(Get<TmnActiveSkinObject>(L"maxbutton").Visible);  // part of the frame picture
    EXPECT_TRUE(Get<TmnActiveSkinObject>(L"closebutton").Enabled);
    EXPECT_FALSE(logo.Visible);  // a custom object with no one to show it
    list.ApplyBorderIcons(DefaultBorderIcons, false, [](const String& id) { return id == L"logo"; });
    EXPECT_TRUE(logo.Visible);
    list.ApplyBorderIcons(DefaultBorderIcons, true, nullptr);
    EXPECT_FALSE(Get<TmnActiveSkinObject>(L"closebutton").Enabled);
    EXPECT_FALSE(logo.Visible);  // cut from the active picture
    EXPECT_TRUE(Get<TmnActiveSkinObject>(L"caption1").Enabled);

    list.ApplyDefaultHints();
    EXPECT_EQ(Get<TmnActiveSkinObject>(L"closebutton").Hint, L"Schließen");
    EXPECT_EQ(Get<TmnActiveSkinObject>(L"maxbutton").Hint, L"Maximieren");
    EXPECT_EQ(Get<TmnActiveSkinObject>(L"sysmenubutton").Hint, L"System Menue");
    EXPECT_EQ(logo.Hint, L"");
    // With a string store, its texts.
    auto* strings = new TmnResourceStrData(&component);
    owner.skin->SetResourceStrData(strings);
    list.ApplyDefaultHints();
    EXPECT_EQ(Get<TmnActiveSkinObject>(L"closebutton").Hint, strings->GetResStr(L"CLOSEBUTTON_HINT"));
    EXPECT_EQ(Get<TmnActiveSkinObject>(L"menubutton").Hint, L"");
}
