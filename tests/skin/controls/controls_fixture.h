#pragma once
// Test support for the skinned controls under Wine: a small skin built in memory (every
// picture pixel tells its own coordinates), a host form for the controls, and painting a
// control into a bitmap.
#include <gtest/gtest.h>

#include <memory>

#include "platform/win/forms.h"
#include "platform/win/graphics.h"
#include "skin/controls/skin_control_win.h"
#include "skin/data/skin_data.h"

namespace fn::test {

// The colour of pixel (x, y) of the controls picture (index 0).
COLORREF ProbeColor(int x, int y);

// The description of the probe skin; extra lines are appended to the named records' sections
// by giving whole sections that replace the defaults.
String ProbeDescription();

// Loads a skin from a description and the probe pictures.
void LoadProbeSkin(TmnSkinData& data, const String& description);

// A shown form with a skin data manager holding the probe skin. The manager's messages reach
// the controls on the form while the fixture lives.
class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Paints control as it looks now into a new bitmap of its size.
    static std::unique_ptr<TBitmap> Snapshot(TmnSkinControl& control);
    // Sends a mouse message at client point (x, y).
    static LRESULT Mouse(TWinControl& control, UINT msg, int x, int y);

    std::unique_ptr<TForm> form;
    std::unique_ptr<TmnSkinData> skin;

private:
    TSkinMessageSink previous_;
};

}  // namespace fn::test
