#include "app/control_styles_win32.h"

#include <gtest/gtest.h>

#include <string>

namespace icotake {
namespace {

struct StyleCase {
  std::size_t entry;
  const char* className;
  DWORD style;
  DWORD exStyle;
};

class ControlStylesTest : public testing::TestWithParam<StyleCase> {};

TEST_P(ControlStylesTest, CreationOfEachEntry) {
  const Form form = *LoadMainForm();
  const StyleCase& expected = GetParam();
  const WindowCreation creation = CreationFor(form[expected.entry]);
  EXPECT_EQ(std::string(creation.className), expected.className);
  EXPECT_EQ(creation.style, expected.style) << std::hex << creation.style;
  EXPECT_EQ(creation.exStyle, expected.exStyle) << std::hex << creation.exStyle;
  EXPECT_EQ(creation.style & WS_VISIBLE, 0u);  // shown only after the created event
}

INSTANTIATE_TEST_SUITE_P(
    MainForm, ControlStylesTest,
    testing::Values(
        // The window: a fixed dialog frame with a system menu, no minimise or maximise box.
        StyleCase{0, kMainWindowClass, WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 0},
        StyleCase{1, "BUTTON",
                  WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_MULTILINE | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER, 0},
        StyleCase{2, kLabelClass, WS_CHILD | WS_CLIPSIBLINGS, 0},
        StyleCase{3, kDropObjectClass, WS_CHILD | WS_CLIPSIBLINGS, 0},
        StyleCase{4, "BUTTON",
                  WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_MULTILINE | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER, 0},
        StyleCase{5, "EDIT", WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE}));

TEST(ControlStyles, TheValuesThemselves) {
  const Form form = *LoadMainForm();
  EXPECT_EQ(CreationFor(form[0]).style, 0x02C80000u);
  EXPECT_EQ(CreationFor(form[1]).style, 0x44012F00u);
  EXPECT_EQ(CreationFor(form[5]).style, 0x44010080u);
  EXPECT_EQ(CreationFor(form[5]).exStyle, 0x00000200u);
}

struct LabelFlagsCase {
  LabelSettings settings;
  UINT flags;
};

class LabelFlagsTest : public testing::TestWithParam<LabelFlagsCase> {};

TEST_P(LabelFlagsTest, DrawTextFlags) { EXPECT_EQ(LabelDrawTextFlags(GetParam().settings), GetParam().flags); }

INSTANTIATE_TEST_SUITE_P(
    Settings, LabelFlagsTest,
    testing::Values(
        // The usage label: left, word wrap, centred (no effect with wrapping), no clipping.
        LabelFlagsCase{{{0, 0, 0}, HorizontalAlignment::Left, VerticalAlignment::Centre, true}, 0x114},
        LabelFlagsCase{{{0, 0, 0}, HorizontalAlignment::Right, VerticalAlignment::Top, true},
                       DT_RIGHT | DT_TOP | DT_WORDBREAK | DT_NOCLIP},
        LabelFlagsCase{{{0, 0, 0}, HorizontalAlignment::Centre, VerticalAlignment::Bottom, false},
                       DT_CENTER | DT_BOTTOM | DT_SINGLELINE | DT_NOCLIP}));

TEST(LabelFlags, TheUsageLabelsOwn) {
  const Form form = *LoadMainForm();
  EXPECT_EQ(LabelDrawTextFlags(*form[2].As<LabelSettings>()), 0x114u);
}

}  // namespace
}  // namespace icotake
