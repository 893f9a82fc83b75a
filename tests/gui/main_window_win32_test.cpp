// MainWindow inside the test process, on the display that gui_e2e.py gives it: what another process
// cannot see through Wine (a control's font, the window's icons, the program icon resource), the
// event dispatch with a recording handler runner, and the keyboard handling message by message.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/ending.h"
#include "app/handlers_win32.h"
#include "app/main_window_win32.h"
#include "app/program_texts.h"
#include "base/byte_reader.h"

namespace icotake {
namespace {

struct Call {
  Handler handler;
  Text text;
  bool windowVisible;
};

std::vector<Call> calls;

void RecordHandler(MainWindow& window, Handler handler, const Text& text) {
  calls.push_back({handler, text, IsWindowVisible(window.handle()) != 0});
}

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    ASSERT_TRUE(window.Build(GetModuleHandleA(nullptr)));
  }
  HWND Control(std::size_t entry) const { return window.ControlWindow(entry); }

  MainWindow window{*LoadMainForm(), RecordHandler};
};

constexpr std::size_t kSiteButton = 1, kLabel = 2, kDropObject = 3, kExtractButton = 4, kEditBox = 5;

TEST_F(MainWindowTest, CreatedEventRunsOnceBeforeTheWindowShows) {
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].handler, Handler::OnWindowCreated);
  EXPECT_FALSE(calls[0].windowVisible);
  EXPECT_TRUE(IsWindowVisible(window.handle()));
}

TEST_F(MainWindowTest, EveryControlHasTheDefaultGuiFont) {
  const auto font = reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT));
  for (std::size_t entry : {kSiteButton, kLabel, kExtractButton, kEditBox}) {
    EXPECT_EQ(SendMessageA(Control(entry), WM_GETFONT, 0, 0), font) << "entry " << entry;
  }
}

std::pair<int, int> IconSize(HICON icon) {
  ICONINFO info{};
  if (icon == nullptr || !GetIconInfo(icon, &info)) return {0, 0};
  BITMAP bitmap{};
  GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return {bitmap.bmWidth, bitmap.bmHeight};
}

TEST_F(MainWindowTest, ProgramIconAsBigAndSmallIcon) {
  EXPECT_EQ(IconSize(reinterpret_cast<HICON>(SendMessageA(window.handle(), WM_GETICON, ICON_BIG, 0))),
            (std::pair{32, 32}));
  EXPECT_EQ(IconSize(reinterpret_cast<HICON>(SendMessageA(window.handle(), WM_GETICON, ICON_SMALL, 0))),
            (std::pair{16, 16}));
}

TEST(ProgramIcon, ThreeImagesOfSixteenColours) {
  HRSRC found = FindResourceA(nullptr, "DEFAULT_ICON", MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  ASSERT_NE(found, nullptr);
  const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, found)));
  ByteReader reader(Bytes(data, SizeofResource(nullptr, found)));
  reader.Skip(4);
  ASSERT_EQ(reader.U16(), 3);
  for (int size : {16, 32, 48}) {
    EXPECT_EQ(reader.U8(), size);
    EXPECT_EQ(reader.U8(), size);
    EXPECT_EQ(reader.U8(), 16);  // colours
    reader.Skip(3);
    EXPECT_EQ(reader.U16(), 4);  // bits per pixel
    reader.Skip(6);
  }
  EXPECT_TRUE(reader.ok());
}

struct DispatchCase {
  const char* what;
  std::size_t entry;
  std::int32_t event;
  Text text;
  std::optional<Handler> handler;
};

class DispatchTest : public MainWindowTest, public testing::WithParamInterface<DispatchCase> {};

TEST_P(DispatchTest, RunsTheBoundHandlerOnly) {
  const DispatchCase& c = GetParam();
  calls.clear();
  window.RaiseEvent(c.entry, c.event, c.text);
  if (!c.handler) {
    EXPECT_TRUE(calls.empty()) << c.what;
    return;
  }
  ASSERT_EQ(calls.size(), 1u) << c.what;
  EXPECT_EQ(calls[0].handler, *c.handler);
  EXPECT_EQ(calls[0].text, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Events, DispatchTest,
    testing::Values(DispatchCase{"extract clicked", kExtractButton, 0, std::nullopt, Handler::OnExtractClicked},
                    DispatchCase{"site clicked", kSiteButton, 0, std::nullopt, Handler::OnOpenSiteClicked},
                    DispatchCase{"files dropped", kDropObject, 3, MakeText("Z:\\a.exe\r\n"), Handler::OnFilesDropped},
                    DispatchCase{"text dropped: not bound", kDropObject, 0, MakeText("x"), std::nullopt},
                    DispatchCase{"window's other events", 0, 1, std::nullopt, std::nullopt},
                    DispatchCase{"edit box changes", kEditBox, 0, std::nullopt, std::nullopt},
                    DispatchCase{"label", kLabel, 0, std::nullopt, std::nullopt},
                    DispatchCase{"no such entry", 99, 0, std::nullopt, std::nullopt}));

TEST_F(MainWindowTest, ButtonClickRaisesEventZero) {
  calls.clear();
  SendMessageA(Control(kExtractButton), BM_CLICK, 0, 0);
  SendMessageA(Control(kSiteButton), BM_CLICK, 0, 0);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].handler, Handler::OnExtractClicked);
  EXPECT_EQ(calls[1].handler, Handler::OnOpenSiteClicked);
}

TEST_F(MainWindowTest, EditBoxTextRoundTripAndAbsentWhenEmpty) {
  EXPECT_EQ(window.ReadEditBoxText(texts::kEditBoxName), std::nullopt);
  const std::string path = "Z:\\\xD7\xC0\xC3\xE6\\a.exe";  // 桌面 in code page 936
  window.SetEditBoxText(texts::kEditBoxName, MakeText(path));
  EXPECT_EQ(window.ReadEditBoxText(texts::kEditBoxName), MakeText(path));
  window.SetEditBoxText(texts::kEditBoxName, std::nullopt);  // absent counts as empty
  EXPECT_EQ(window.ReadEditBoxText(texts::kEditBoxName), std::nullopt);
}

TEST_F(MainWindowTest, FilesDroppedReplacesTheEditBoxText) {
  window.SetEditBoxText(texts::kEditBoxName, MakeText("typed"));
  RunHandler(window, Handler::OnFilesDropped, MakeText("Z:\\a.exe\r\nZ:\\b.dll\r\n"));
  EXPECT_EQ(window.ReadEditBoxText(texts::kEditBoxName), MakeText("Z:\\a.exe\r\nZ:\\b.dll\r\n"));
  EXPECT_TRUE(IsWindowVisible(Control(kExtractButton)));
}

MSG KeyDown(HWND target, WPARAM key) {
  MSG message{};
  message.hwnd = target;
  message.message = WM_KEYDOWN;
  message.wParam = key;
  return message;
}

TEST_F(MainWindowTest, TabCyclesThroughTheFocusOrder) {
  SetFocus(Control(kEditBox));
  for (std::size_t expected : {kExtractButton, kSiteButton, kEditBox, kExtractButton}) {
    EXPECT_TRUE(window.HandleKeyboard(KeyDown(GetFocus(), VK_TAB)));
    EXPECT_EQ(GetFocus(), Control(expected));
  }
}

TEST_F(MainWindowTest, EnterAndF1DoNothing) {
  SetFocus(Control(kEditBox));
  calls.clear();
  EXPECT_FALSE(window.HandleKeyboard(KeyDown(Control(kEditBox), VK_RETURN)));  // the box may see it
  EXPECT_TRUE(window.HandleKeyboard(KeyDown(Control(kEditBox), VK_F1)));
  EXPECT_TRUE(calls.empty());
  EXPECT_TRUE(IsWindow(window.handle()));
  EXPECT_EQ(GetFocus(), Control(kEditBox));
}

TEST_F(MainWindowTest, KeysOfOtherWindowsAreNotTouched) {
  HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  EXPECT_FALSE(window.HandleKeyboard(KeyDown(other, VK_TAB)));
  EXPECT_FALSE(window.HandleKeyboard(KeyDown(other, VK_ESCAPE)));
  EXPECT_TRUE(IsWindow(window.handle()));
  DestroyWindow(other);
}

TEST_F(MainWindowTest, EscapeClosesFromAnyControl) {
  EXPECT_TRUE(window.HandleKeyboard(KeyDown(Control(kSiteButton), VK_ESCAPE)));
  EXPECT_EQ(window.handle(), nullptr);  // destroyed with its controls
}

TEST_F(MainWindowTest, FocusReturnsToTheLastFocusedControl) {
  SetFocus(Control(kSiteButton));
  SendMessageA(window.handle(), WM_ACTIVATE, WA_INACTIVE, 0);
  SetFocus(window.handle());  // WM_SETFOCUS passes it on
  EXPECT_EQ(GetFocus(), Control(kSiteButton));
}

// Ending cannot be lowered again, so this runs in a process of its own.
TEST(MainWindowDeathTest, NoHandlerRunsWhileEnding) {
  EXPECT_EXIT(
      {
        MainWindow window(*LoadMainForm(), RecordHandler);
        if (!window.Build(GetModuleHandleA(nullptr))) std::_Exit(2);
        calls.clear();
        RaiseEnding();
        SendMessageA(window.ControlWindow(kExtractButton), BM_CLICK, 0, 0);
        window.RaiseEvent(kDropObject, 3, MakeText("Z:\\a.exe"));
        std::_Exit(calls.empty() ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace icotake
