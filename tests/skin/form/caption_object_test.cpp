// The caption object: text position by alignment, the ellipsis before the buttons, the MDI
// child's title, light, shadow and frame, OnCaptionPaint, the activation animation and morph,
// and captions of sizes or skins that used to give negative rectangles.
#include <gtest/gtest.h>

#include <regex>

#include "tests/skin/form/form_test_support.h"

using namespace fn;
using namespace fn::test;

namespace {

class CaptionTest : public ::testing::Test {
protected:
    TmnSkinCaptionObject& Load(const std::wstring& captionBody) {
        std::wstring d = TestDescription();
        if (!captionBody.empty()) d = Replace(d, L"caption1", captionBody);
        owner.skin = LoadSkin(component, TestArchive(d));
        list.Rebuild();
        Layout(200, 60);
        return *list.FirstCaption();
    }
    void Layout(int w, int h) {
        const TmnSkinData& s = *owner.skin;
        list.Layout({s.LeftTopPoint, s.RightTopPoint, s.LeftBottomPoint, s.RightBottomPoint, s.Picture().Width,
                     s.Picture().Height},
                    w, h);
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> t;
        for (const std::string& op : painter.ops)
            if (op.rfind("text", 0) == 0) t.push_back(op);
        return t;
    }
    // Frames drawn while the animation timer runs (0 for an image that is no frame).
    std::vector<std::string> RunAnimation(TmnSkinCaptionObject& c) {
        std::vector<std::string> drawn;
        for (int tick = 0; tick < 100 && owner.Running(TmnObjectTimer::Animate); ++tick) {
            list.AnimateTick();
            painter.ops.clear();
            c.Draw(painter, true);
            const std::string strip = painter.Find("strip 1");
            drawn.push_back(strip.substr(0, strip.find(" 4/10")) + " | " + (Texts().empty() ? "" : Texts().back()));
        }
        return drawn;
    }

    const std::wstring base = L"activepictureindex=-1\nskinrect=16,2,160,28\ntextrect=4,2,140,24\n"
                              L"fontcolor=255\nactivefontcolor=65280\n";
    TComponent component{nullptr};
    TestOwner owner;
    TmnSkinObjectList list{owner};
    RecordingPainter painter;
};

}  // namespace

TEST_F(CaptionTest, TextPositionForEachAlignment) {
    // "Fennick Notizen": 15 characters of 7 pixels, 14 high; area (4,2)-(140,24) of the object at (16,2).
    const struct {
        const wchar_t* alignment;
        int x;
    } cases[] = {{L"taleftjustify", 16 + 4}, {L"tarightjustify", 16 + 140 - 105}, {L"tacenter", 16 + 4 + 68 - 52}};
    for (const auto& c : cases) {
        TmnSkinCaptionObject& caption = Load(base + L"alignment=" + c.alignment + L"\n");
        painter.ops.clear();
        caption.Active = true;
        caption.Draw(painter, false);
        EXPECT_EQ(Texts(), (std::vector<std::string>{"text 0 65280 " + std::to_string(c.x) + ",8 Fennick Notizen"}))
            << c.alignment;
    }
}

TEST_F(CaptionTest, TextEndsInAnEllipsisBeforeTheButtonsAndShowsTheMaximisedChild) {
    TmnSkinCaptionObject& caption = Load(base + L"alignment=taleftjustify\n");
    Layout(150, 60);  // the text area loses 50 pixels: 86 left, room for 12 characters
    caption.Draw(painter, false);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"text 0 255 20,8 Fennick N..."}));

    owner.childCaption = L"Notiz1";
    EXPECT_EQ(caption.CaptionText(), L"Fennick Notizen - [Notiz1]");
    Layout(400, 60);
    painter.ops.clear();
    caption.Draw(painter, false);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"text 0 255 20,8 Fennick Notizen - [Notiz1]"}));

    // An empty caption or an empty text rectangle draws nothing.
    owner.caption.clear();
    owner.childCaption.clear();
    painter.ops.clear();
    caption.Draw(painter, false);
    EXPECT_TRUE(painter.ops.empty());
}

TEST_F(CaptionTest, LightShadowAndFrameBehindTheTextAndOnCaptionPaintReplacingThemAll) {
    TmnSkinCaptionObject& caption =
        Load(L"activepictureindex=0\nskinrect=16,2,160,28\ntextrect=4,2,140,24\nalignment=taleftjustify\n"
             L"fontcolor=1\nactivefontcolor=2\nlight=1\nlightcolor=3\nactivelightcolor=4\nshadow=1\n"
             L"shadowcolor=5\nactiveshadowcolor=6\nframerect=0,0,36,12\nactiveframerect=36,0,72,12\n"
             L"frametextrect=4,2,32,10\nframeleftoffset=4\nframerightoffset=4\n");
    caption.Active = true;
    owner.caption = L"Abc";  // 21 pixels
    caption.Draw(painter, false);
    // Text area: (4+4, 2+2)-(140+32-36, 24) = (8,4)-(136,24); y = 4 + 10 - 7 = 7; plus the object's (16,2).
    EXPECT_EQ(painter.Find("strip"), "strip 0 (36,0,72,12) 4/4 tile->(20,7,49,19)");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"text 0 4 23,8 Abc", "text 0 6 25,10 Abc", "text 0 2 24,9 Abc"}));

    owner.captionPaint = true;
    painter.ops.clear();
    caption.Draw(painter, false);
    EXPECT_TRUE(painter.ops.empty());
    EXPECT_EQ(owner.captionPaints, 1);

    // The full frame spans the object less the buttons offset on each side.
    owner.captionPaint = false;
    TmnSkinCaptionObject& full =
        Load(L"activepictureindex=0\nskinrect=16,2,160,28\ntextrect=4,2,140,24\nframerect=0,0,36,12\n"
             L"frametextrect=4,2,32,10\nfullframe=1\n");
    painter.ops.clear();
    full.Draw(painter, false);
    EXPECT_EQ(painter.Find("strip"), "strip 0 (0,0,36,12) 0/0 tile->(18,7,158,19)");
}

TEST_F(CaptionTest, TheFramePictureKeepsItsOwnEndsAndTheTextItsFont) {
    TmnSkinCaptionObject& caption =
        Load(L"activepictureindex=0\nskinrect=16,2,160,28\ntextrect=4,2,140,24\nfontname=Tahoma\nfontheight=17\n"
             L"fontstyle=fsbold,fsitalic\nframerect=0,0,36,12\nframetextrect=4,2,32,10\nframeleftoffset=3\n"
             L"framerightoffset=5\n");
    caption.Draw(painter, false);
    EXPECT_NE(painter.Find("strip 0 (0,0,36,12) 3/5 tile"), "");
    const TmnObjectFont font = caption.Font();
    EXPECT_EQ(font.Name, L"Tahoma");
    EXPECT_EQ(font.Height, 17);
    EXPECT_EQ(font.Style, FontStyleBit(fsBold) | FontStyleBit(fsItalic));
}

TEST_F(CaptionTest, ActivationPlaysTheFramesWithTheOldColoursThenShowsTheActiveImage) {
    TmnSkinCaptionObject& caption =
        Load(L"activepictureindex=1\nskinrect=16,2,160,28\ntextrect=4,2,140,24\nalignment=taleftjustify\n"
             L"fontcolor=255\nactivefontcolor=65280\nactiveskinrect=0,20,80,40\nanimateskinrect=0,0,80,20\n"
             L"framecount=4\nanimateinterval=10\n");
    EXPECT_EQ(caption.FrameCount, 4);
    EXPECT_EQ(caption.AnimateInterval, 25);
    owner.active = false;
    list.SetCaptionState(false);
    owner.active = true;
    list.SetCaptionState(true);
    EXPECT_EQ(caption.CurrentFrame, 1);
    const std::vector<std::string> drawn = RunAnimation(caption);
    // Frames 2..4 follow frame 1 with the inactive colour; then the active image with the active colour.
    ASSERT_GE(drawn.size(), 4u);
    // The frames are widened by the corner points (ends of 4 and 10 pixels).
    EXPECT_EQ(drawn[0], "strip 1 (20,0,40,20) | text 1 255 4,6 Fennick Notizen");
    EXPECT_EQ(drawn[1], "strip 1 (40,0,60,20) | text 1 255 4,6 Fennick Notizen");
    EXPECT_EQ(drawn[2], "strip 1 (60,0,80,20) | text 1 255 4,6 Fennick Notizen");
    EXPECT_EQ(drawn[3], "strip 1 (0,20,80,40) | text 1 65280 4,6 Fennick Notizen");
    EXPECT_FALSE(owner.Running(TmnObjectTimer::Animate));

    // Becoming inactive without "inactiveanimation": the inactive look at once.
    owner.active = false;
    list.SetCaptionState(true);
    EXPECT_EQ(caption.CurrentFrame, 0);
    painter.ops.clear();
    caption.Draw(painter, true);
    EXPECT_EQ(painter.Find("strip 1"), "strip 1 (16,2,160,28) 4/10 tile->(0,0,144,26)");  // the frame picture's
    EXPECT_EQ(Texts(), (std::vector<std::string>{"text 1 255 4,6 Fennick Notizen"}));
    list.AnimateTick();  // nothing to run back: the timer stops

    // Desktop animations off: no frames at all.
    owner.animation = false;
    owner.active = true;
    list.SetCaptionState(true);
    EXPECT_FALSE(owner.Running(TmnObjectTimer::Animate));
    EXPECT_EQ(caption.CurrentFrame, caption.FrameCount + 1);
}

TEST_F(CaptionTest, InactiveAnimationRunsBackAndEveryAnimationEnds) {
    TmnSkinCaptionObject& caption =
        Load(L"activepictureindex=1\nskinrect=16,2,160,28\ntextrect=4,2,140,24\nactiveskinrect=0,20,80,40\n"
             L"animateskinrect=0,0,80,20\nframecount=100000\nanimateinterval=-5\ninactiveanimation=1\n");
    EXPECT_EQ(caption.FrameCount, 80);  // one-pixel frames at most
    list.SetCaptionState(true);          // active
    RunAnimation(caption);
    EXPECT_EQ(caption.CurrentFrame, 81);
    owner.active = false;
    list.SetCaptionState(true);
    EXPECT_EQ(caption.CurrentFrame, 80);
    RunAnimation(caption);
    EXPECT_EQ(caption.CurrentFrame, 0);
    EXPECT_FALSE(owner.Running(TmnObjectTimer::Animate));

    // A frame count of 0 or less, or no active picture: no animation.
    for (const wchar_t* body : {L"activepictureindex=1\nskinrect=16,2,160,28\nanimateskinrect=0,0,80,20\nframecount=-4\n",
                                L"activepictureindex=5\nskinrect=16,2,160,28\nanimateskinrect=0,0,80,20\nframecount=4\n"}) {
        TmnSkinCaptionObject& c = Load(body);
        EXPECT_FALSE(c.AnimationEnabled());
        owner.active = true;
        list.SetCaptionState(true);
        EXPECT_FALSE(owner.Running(TmnObjectTimer::Animate));
        owner.active = false;
    }
}

TEST_F(CaptionTest, CrossFadeOfTheCaptionAppliesTheInactiveEffectWhenTheSkinAsks) {
    std::wstring d = Replace(TestDescription(), L"caption1",
                             L"activepictureindex=0\nskinrect=16,2,160,28\ntextrect=4,2,140,24\n"
                             L"activeskinrect=0,0,72,24\nmorphing=1\nmorphkind=mkpush\n");
    d = Replace(d, L"FORMINFO",
                L"lefttoppoint=20,30\nrighttoppoint=150,30\nleftbottompoint=20,50\nrightbottompoint=150,50\n"
                L"clientrect=4,30,196,56\nautorenderinginactiveimage=1\ninactiveeffect=iegrayscale\n");
    owner.skin = LoadSkin(component, TestArchive(d));
    list.Rebuild();
    Layout(200, 60);
    TmnSkinCaptionObject& caption = *list.FirstCaption();
    owner.active = false;
    list.SetCaptionState(true);
    caption.MorphFactor = 0.6;  // fading out
    caption.Draw(painter, true);
    // Both images are widened by the corner points (4 and 10 pixel ends), the text on each.
    EXPECT_EQ(painter.Find("strip 1"), "strip 1 (16,2,160,28) 4/10 tile->(0,0,144,26)");
    EXPECT_EQ(painter.Find("strip 2"), "strip 2 (0,0,72,24) 4/10 tile->(0,0,144,26)");
    EXPECT_EQ(painter.Find("morph"), "morph 1 2 kind6 0.6");
    EXPECT_EQ(painter.Find("effect"), "effect 1 2");
    EXPECT_EQ(painter.Find("draw"), "draw 1 at 16,2");
    // The rest of the fade: at most five ticks.
    caption.StartMorph();
    int ticks = 0;
    while (owner.Running(TmnObjectTimer::Morph) && ticks < 20) list.MorphTick(), ++ticks;
    EXPECT_EQ(caption.MorphFactor, 0.0);
    EXPECT_LE(ticks, 5);
}

TEST_F(CaptionTest, NarrowWindowsAndSkinsWithoutCaptionGiveNoNegativeSizes) {
    TmnSkinCaptionObject& caption =
        Load(L"activepictureindex=1\nskinrect=16,2,160,28\ntextrect=4,2,140,24\nactiveskinrect=0,20,80,40\n"
             L"animateskinrect=0,0,80,20\nframecount=4\nframerect=0,0,20,10\nframetextrect=2,2,18,8\nfullframe=1\n");
    const std::regex size("image (-?\\d+)x(-?\\d+)"), rect("\\((-?\\d+),(-?\\d+),(-?\\d+),(-?\\d+)\\)");
    for (int w : {199, 120, 40, 10, 0, -20}) {
        Layout(w, 20);
        for (bool active : {false, true}) {
            owner.active = active;
            caption.Active = active;
            for (int frame : {0, 2}) {
                caption.CurrentFrame = frame;
                for (double k : {0.0, 0.4, 1.0}) {
                    caption.MorphFactor = k;
                    painter.ops.clear();
                    caption.Draw(painter, true);
                    for (const std::string& op : painter.ops) {
                        std::smatch m;
                        if (std::regex_search(op, m, size)) {
                            EXPECT_GT(std::stoi(m[1]), 0) << op;
                            EXPECT_GT(std::stoi(m[2]), 0) << op;
                        }
                        for (auto it = std::sregex_iterator(op.begin(), op.end(), rect); it != std::sregex_iterator(); ++it)
                            EXPECT_LT(std::stoi((*it)[1]), std::stoi((*it)[3])) << "w " << w << ": " << op;
                    }
                }
            }
        }
    }
    // Absurd coordinates from a skin: every sum stays in range (the host build runs this under
    // the undefined-behaviour sanitizer).
    TmnSkinCaptionObject& wild =
        Load(L"activepictureindex=0\nskinrect=-2000000000,0,2000000000,28\n"
             L"textrect=-2000000000,-5,2000000000,2000000000\nframerect=0,0,36,12\n"
             L"frametextrect=2000000000,-2000000000,-2000000000,2000000000\nframeleftoffset=2000000000\n"
             L"alignment=tacenter\nlight=1\nshadow=1\n");
    for (int w : {200, 100000}) {
        Layout(w, 60);
        for (bool active : {false, true}) {
            wild.Active = active;
            painter.ops.clear();
            wild.Draw(painter, true);
        }
    }

    // No caption record at all: the list has no caption and the activation has nothing to do.
    owner.skin = LoadSkin(component, TestArchive(Replace(TestDescription(), L"SKINOBJECTS",
                                                         L"count=1\n0=closebutton:stdbutton\n")));
    list.Rebuild();
    EXPECT_EQ(list.FirstCaption(), nullptr);
    list.SetCaptionState(true);
    EXPECT_TRUE(owner.timers.empty());
}
