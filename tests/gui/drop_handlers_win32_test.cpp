// The program's own handlers with the real drop object, inside the test process: the window is an
// OLE drop target once it is built, dropped files land in the edit box, a dropped text changes
// nothing, closing the window revokes the registration, and a drop object that does not exist
// stops the program in OnWindowCreated.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/form.h"
#include "app/handlers_win32.h"
#include "app/main_window_win32.h"
#include "app/program_texts.h"
#include "tests/drop_test_objects.h"

namespace icotake {
namespace {

using test::FakeDataObject;

class DropHandlersTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    window_ = std::make_unique<MainWindow>(*LoadMainForm(), RunHandler);
    ASSERT_TRUE(window_->Build(GetModuleHandleA(nullptr)));
    dropObject_ = window_->FindDropObject(texts::kDropObjectName);
    ASSERT_NE(dropObject_, nullptr);
  }
  void TearDown() override {
    window_.reset();
    OleUninitialize();
  }

  // What OLE does with the registered target for a drag that ends over the window.
  DWORD DragAndDrop(FakeDataObject& data, DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE) {
    WindowDropTarget* target = dropObject_->target();
    DWORD effect = allowed;
    EXPECT_EQ(target->DragEnter(&data, MK_LBUTTON, {300, 400}, &effect), S_OK);
    effect = allowed;
    EXPECT_EQ(target->Drop(&data, 0, {300, 400}, &effect), E_FAIL);
    EXPECT_EQ(data.mediaReleased, data.mediaHandedOut);
    return effect;
  }

  Text EditText() const { return window_->ReadEditBoxText(texts::kEditBoxName); }

  std::unique_ptr<MainWindow> window_;
  DropObject* dropObject_ = nullptr;
};

TEST_F(DropHandlersTest, OnWindowCreatedRegistersTheWindow) {
  EXPECT_EQ(dropObject_->registeredWindow(), window_->handle());
  const auto probe = WindowDropTarget::Create(nullptr);
  EXPECT_EQ(RegisterDragDrop(window_->handle(), probe.Get()), DRAGDROP_E_ALREADYREGISTERED);
  EXPECT_FALSE(RegisterDropWindow(dropObject_, window_->handle())) << "once per drop object";
}

TEST_F(DropHandlersTest, DroppedFilesReplaceTheEditBoxText) {
  window_->SetEditBoxText(texts::kEditBoxName, MakeText("typed"));
  const std::string one = "Z:\\tmp\\\xBC\xC7\xCA\xC2\xB1\xBE.exe";  // 记事本 in code page 936
  FakeDataObject single({{CF_HDROP, test::DropFilesBlock({one})}});
  EXPECT_EQ(DragAndDrop(single), static_cast<DWORD>(DROPEFFECT_COPY));
  EXPECT_EQ(EditText(), MakeText(one));

  FakeDataObject two({{CF_HDROP, test::DropFilesBlock({"Z:\\a.exe", "Z:\\b.lnk"})}});
  EXPECT_EQ(DragAndDrop(two, DROPEFFECT_MOVE), static_cast<DWORD>(DROPEFFECT_MOVE));
  EXPECT_EQ(EditText(), MakeText("Z:\\a.exe\r\nZ:\\b.lnk\r\n"));

  FakeDataObject none({{CF_HDROP, test::DropFilesBlock({})}});
  DragAndDrop(none);
  EXPECT_EQ(EditText(), std::nullopt) << "an empty list empties the box";
  EXPECT_TRUE(IsWindowVisible(window_->ControlWindow(texts::kExtractButtonName)));
}

TEST_F(DropHandlersTest, DroppedTextChangesNothing) {
  window_->SetEditBoxText(texts::kEditBoxName, MakeText("keep"));
  FakeDataObject text({{CF_TEXT, "some words"}});
  EXPECT_EQ(DragAndDrop(text), static_cast<DWORD>(DROPEFFECT_COPY)) << "taken, but its event is not bound";
  FakeDataObject html({{CF_TEXT, "words"}, {static_cast<CLIPFORMAT>(RegisterClipboardFormatA("HTML Format")), "<b>"}});
  DragAndDrop(html);
  FakeDataObject unicode({{CF_UNICODETEXT, std::string("w\0\0\0", 4)}});  // what Wine offers for text
  EXPECT_EQ(DragAndDrop(unicode), static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(EditText(), MakeText("keep"));
}

TEST_F(DropHandlersTest, ClosingTheWindowRevokesTheRegistration) {
  WindowDropTarget* target = dropObject_->target();
  target->AddRef();
  SendMessageA(window_->handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(window_->handle(), nullptr);
  EXPECT_EQ(window_->FindDropObject(texts::kDropObjectName), nullptr);
  EXPECT_EQ(test::CountOf(target), 1u) << "OLE's and the drop object's references are back";
  EXPECT_EQ(target->Release(), 0u);
}

bool ExitedWithMinusOne(int status) { return status == -1; }

// The form with the drop object's stored data refused (a later version): the drop object is not
// created, and registering it is the FatalError of a control that does not exist.
TEST(DropHandlersDeathTest, ADropObjectThatDoesNotExistStopsTheProgram) {
  static constexpr std::uint8_t kVersion2[20] = {2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0};
  const Form form = *LoadMainForm();
  std::vector<FormEntry> entries(form.begin(), form.end());
  entries[*FindEntry(form, texts::kDropObjectName)].settings = DropTargetSettings{kVersion2};
  EXPECT_EXIT(
      {
        OleInitialize(nullptr);
        test::ReportAndCloseErrorBox();
        MainWindow window(Form(entries), RunHandler);
        window.Build(GetModuleHandleA(nullptr));
      },
      ExitedWithMinusOne, test::ErrorBoxPattern(texts::kNoSuchWindow));
}

}  // namespace
}  // namespace icotake
