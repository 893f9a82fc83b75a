// The drop object with real windows: its hidden child window, its stored switches, one
// registration per drop object, the revocation when the main window goes, and the FatalError for a
// drop object that does not exist. Needs a display (tests/with-xvfb): Wine creates no child
// windows without one.

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "app/fatal_error.h"
#include "app/program_texts.h"
#include "shell/drop_object.h"
#include "tests/drop_test_objects.h"
#include "tests/fixtures.h"

namespace icotake {
namespace {

using test::FakeDataObject;

constexpr DropObjectPlace kFormPlace{8, 64, 48, 64};  // the program's form
constexpr ControlIdentity kControl = 2;

struct Raised {
  ControlIdentity control;
  std::int32_t event;
  std::string text;
  friend bool operator==(const Raised&, const Raised&) = default;
};

std::vector<std::uint8_t> Property(std::uint32_t version, std::int32_t text, std::int32_t html, std::int32_t url,
                                   std::int32_t files) {
  std::vector<std::uint8_t> bytes(kDropPropertySize);
  test::Put32(bytes, 0, version);
  test::Put32(bytes, 4, static_cast<std::uint32_t>(text));
  test::Put32(bytes, 8, static_cast<std::uint32_t>(html));
  test::Put32(bytes, 12, static_cast<std::uint32_t>(url));
  test::Put32(bytes, 16, static_cast<std::uint32_t>(files));
  return bytes;
}

class DropObjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    parent_ = CreateWindowExA(0, "STATIC", "drop object test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 50, 50, 493,
                              147, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr) << "no display? run under tests/with-xvfb";
  }
  void TearDown() override {
    dropObject_.reset();
    if (IsWindow(parent_)) DestroyWindow(parent_);
    OleUninitialize();
  }

  DropObject* Make(Bytes property) {
    dropObject_ = DropObject::Create(parent_, kFormPlace, property,
                                     {kControl, [this](ControlIdentity control, std::int32_t event, const Text& text) {
                                        raised_.push_back({control, event, std::string(View(text))});
                                      }});
    return dropObject_.get();
  }

  // Whether a window is free for a registration: tried with a target of the test's own.
  static bool Registrable(HWND window) {
    const auto probe = WindowDropTarget::Create(nullptr);
    const HRESULT result = RegisterDragDrop(window, probe.Get());
    if (result == S_OK) RevokeDragDrop(window);
    return result == S_OK;
  }

  HWND parent_ = nullptr;
  std::unique_ptr<DropObject> dropObject_;
  std::vector<Raised> raised_;
};

TEST_F(DropObjectTest, ChildWindowIsHiddenAtTheFormsPlace) {
  const auto property = Property(1, 1, 0, 0, 1);
  DropObject* dropObject = Make(property);
  ASSERT_NE(dropObject, nullptr);
  ASSERT_TRUE(dropObject->exists());
  const HWND window = dropObject->window();
  EXPECT_EQ(GetParent(window), parent_);
  EXPECT_EQ(dropObject->parentWindow(), parent_);
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  EXPECT_EQ(style & (WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE), WS_CHILD | WS_CLIPSIBLINGS);
  ShowWindow(parent_, SW_SHOW);
  EXPECT_FALSE(IsWindowVisible(window)) << "never shown, also when the main window is";
  RECT place{};
  GetWindowRect(window, &place);
  MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&place), 2);
  EXPECT_EQ(place.left, 8);
  EXPECT_EQ(place.top, 64);
  EXPECT_EQ(place.right - place.left, 48);
  EXPECT_EQ(place.bottom - place.top, 64);
  EXPECT_EQ(dropObject->registeredWindow(), nullptr);
  EXPECT_TRUE(Registrable(parent_)) << "nothing is registered at creation";
  EXPECT_EQ(test::CountOf(dropObject->target()), 1u);
}

struct PropertyCase {
  const char* name;
  std::vector<std::uint8_t> data;
  bool created;
  std::array<std::int32_t, 4> switches;
};

class DropObjectPropertyTest : public DropObjectTest, public ::testing::WithParamInterface<PropertyCase> {};

TEST_P(DropObjectPropertyTest, LoadsTheSwitchesOrIsNotCreated) {
  DropObject* dropObject = Make(GetParam().data);
  ASSERT_EQ(dropObject != nullptr, GetParam().created);
  if (dropObject == nullptr) {
    // Nothing is left behind on the window.
    EXPECT_EQ(GetWindow(parent_, GW_CHILD), nullptr);
    return;
  }
  EXPECT_EQ(dropObject->GetSwitch(DropSwitch::AcceptText), GetParam().switches[0]);
  EXPECT_EQ(dropObject->GetSwitch(DropSwitch::AcceptHtml), GetParam().switches[1]);
  EXPECT_EQ(dropObject->GetSwitch(DropSwitch::AcceptUrl), GetParam().switches[2]);
  EXPECT_EQ(dropObject->GetSwitch(DropSwitch::AcceptFiles), GetParam().switches[3]);
}

INSTANTIATE_TEST_SUITE_P(
    Properties, DropObjectPropertyTest,
    ::testing::Values(PropertyCase{"TheProgramsOwn", Property(1, 1, 0, 0, 1), true, {1, 0, 0, 1}},
                      PropertyCase{"AbsentLeavesAllOff", {}, true, {0, 0, 0, 0}},
                      PropertyCase{"OtherValuesKept", Property(1, 0, 5, -1, 0), true, {0, 5, -1, 0}},
                      PropertyCase{"VersionTwoRefused", Property(2, 1, 0, 0, 1), false, {}},
                      PropertyCase{"CutShortRefused", std::vector<std::uint8_t>{1, 0, 0, 0, 1}, false, {}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(DropObjectTest, RegistersOnceAndRevokesWhenTheWindowGoes) {
  const auto property = Property(1, 1, 0, 0, 1);
  DropObject* dropObject = Make(property);
  ASSERT_NE(dropObject, nullptr);
  WindowDropTarget* target = dropObject->target();
  target->AddRef();  // the test's own, to watch the count after the drop object is gone

  EXPECT_TRUE(RegisterDropWindow(dropObject, parent_));
  EXPECT_EQ(dropObject->registeredWindow(), parent_);
  EXPECT_GT(test::CountOf(target), 2u);
  EXPECT_FALSE(Registrable(parent_));

  const ULONG registered = test::CountOf(target);
  EXPECT_FALSE(RegisterDropWindow(dropObject, parent_)) << "once per drop object";
  EXPECT_EQ(test::CountOf(target), registered) << "and nothing registered again";

  DestroyWindow(parent_);
  EXPECT_FALSE(dropObject->exists());
  EXPECT_EQ(dropObject->target(), nullptr);
  EXPECT_EQ(test::CountOf(target), 1u) << "OLE's and the drop object's references are back";

  // A late call from whoever still holds the target raises nothing.
  FakeDataObject data({{CF_HDROP, test::DropFilesBlock({"f"})}});
  DWORD effect = DROPEFFECT_COPY;
  target->DragEnter(&data, 0, {0, 0}, &effect);
  effect = DROPEFFECT_COPY;
  EXPECT_EQ(target->Drop(&data, 0, {0, 0}, &effect), E_FAIL);
  EXPECT_TRUE(raised_.empty());
  EXPECT_EQ(target->Release(), 0u);
}

TEST_F(DropObjectTest, AFailedFirstRegistrationSpendsTheDropObject) {
  const auto property = Property(1, 1, 0, 0, 1);
  DropObject* dropObject = Make(property);
  ASSERT_NE(dropObject, nullptr);
  bool onOtherThread = true;
  // OLE is not initialised on a new thread, so RegisterDragDrop fails there.
  std::thread([&] { onOtherThread = RegisterDropWindow(dropObject, parent_); }).join();
  EXPECT_FALSE(onOtherThread);
  EXPECT_EQ(dropObject->registeredWindow(), parent_) << "the handle stays stored";
  EXPECT_FALSE(RegisterDropWindow(dropObject, parent_));
  EXPECT_TRUE(Registrable(parent_)) << "nothing was registered";
  EXPECT_EQ(test::CountOf(dropObject->target()), 1u);
}

TEST_F(DropObjectTest, AnInvalidWindowFailsWithoutAMessage) {
  const auto property = Property(1, 1, 0, 0, 1);
  DropObject* dropObject = Make(property);
  ASSERT_NE(dropObject, nullptr);
  EXPECT_FALSE(RegisterDropWindow(dropObject, reinterpret_cast<HWND>(0x7FF0)));
  EXPECT_FALSE(RegisterDropWindow(dropObject, parent_));
  EXPECT_EQ(test::CountOf(dropObject->target()), 1u);
}

TEST_F(DropObjectTest, DestroyingTheDropObjectAloneRevokesItsWindow) {
  const auto property = Property(1, 1, 0, 0, 1);
  DropObject* dropObject = Make(property);
  ASSERT_NE(dropObject, nullptr);
  const HWND child = dropObject->window();
  ASSERT_TRUE(RegisterDropWindow(dropObject, parent_));
  dropObject_.reset();
  EXPECT_FALSE(IsWindow(child));
  EXPECT_TRUE(IsWindow(parent_));
  EXPECT_TRUE(Registrable(parent_));
}

TEST_F(DropObjectTest, ARegistrationOfAnotherWindowEndsWithTheDropObjectToo) {
  const auto property = Property(1, 1, 0, 0, 1);
  DropObject* dropObject = Make(property);
  ASSERT_NE(dropObject, nullptr);
  const HWND other = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  ASSERT_TRUE(RegisterDropWindow(dropObject, other));
  WindowDropTarget* target = dropObject->target();
  target->AddRef();
  DestroyWindow(parent_);
  EXPECT_TRUE(Registrable(other));
  EXPECT_EQ(target->Release(), 0u);
  DestroyWindow(other);
}

TEST_F(DropObjectTest, SwitchesWrittenAsPropertiesReachTheTarget) {
  const auto property = Property(1, 1, 0, 0, 1);
  DropObject* dropObject = Make(property);
  ASSERT_NE(dropObject, nullptr);
  WindowDropTarget* target = dropObject->target();
  FakeDataObject files({{CF_HDROP, test::DropFilesBlock({"f"})}});

  dropObject->SetSwitch(DropSwitch::AcceptFiles, 0);
  EXPECT_EQ(dropObject->GetSwitch(DropSwitch::AcceptFiles), 0);
  DWORD effect = DROPEFFECT_COPY;
  target->DragEnter(&files, 0, {0, 0}, &effect);
  EXPECT_EQ(effect, DROPEFFECT_NONE);

  dropObject->SetSwitch(DropSwitch::AcceptFiles, 9);
  EXPECT_EQ(dropObject->GetSwitch(DropSwitch::AcceptFiles), 9);
  effect = DROPEFFECT_COPY;
  target->DragEnter(&files, 0, {0, 0}, &effect);
  EXPECT_EQ(effect, DROPEFFECT_COPY);
  effect = DROPEFFECT_COPY;
  EXPECT_EQ(target->Drop(&files, 0, {0, 0}, &effect), E_FAIL);
  EXPECT_EQ(raised_, (std::vector<Raised>{{kControl, 3, "f"}}));
}

TEST_F(DropObjectTest, TheRegisteredFormatsAreTheNamedOnes) {
  const auto property = Property(1, 0, 1, 1, 0);
  DropObject* dropObject = Make(property);
  ASSERT_NE(dropObject, nullptr);
  const auto url = static_cast<CLIPFORMAT>(RegisterClipboardFormatA("UniformResourceLocator"));
  const auto html = static_cast<CLIPFORMAT>(RegisterClipboardFormatA("HTML Format"));
  FakeDataObject data({{url, "http://example.com/"}, {html, "<i>x</i>"}});
  DWORD effect = DROPEFFECT_COPY;
  dropObject->target()->DragEnter(&data, 0, {0, 0}, &effect);
  effect = DROPEFFECT_COPY;
  dropObject->target()->Drop(&data, 0, {0, 0}, &effect);
  EXPECT_EQ(raised_, (std::vector<Raised>{{kControl, 1, "<i>x</i>"}, {kControl, 2, "http://example.com/"}}));
}

bool ExitedWithMinusOne(int status) { return status == -1; }

TEST_F(DropObjectTest, RegisteringADropObjectThatDoesNotExistIsAFatalError) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        test::ReportAndCloseErrorBox();
        RegisterDropWindow(nullptr, parent_);
      },
      ExitedWithMinusOne, test::ErrorBoxPattern(texts::kNoSuchWindow));
}

TEST_F(DropObjectTest, RegisteringADropObjectWhoseWindowIsGoneIsAFatalError) {
  const auto property = Property(1, 1, 0, 0, 1);
  DropObject* dropObject = Make(property);
  ASSERT_NE(dropObject, nullptr);
  DestroyWindow(parent_);
  ASSERT_FALSE(dropObject->exists());
  const HWND another = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EXIT(
      {
        test::ReportAndCloseErrorBox();
        RegisterDropWindow(dropObject, another);
      },
      ExitedWithMinusOne, test::ErrorBoxPattern(texts::kNoSuchWindow));
  DestroyWindow(another);
}

}  // namespace
}  // namespace icotake
