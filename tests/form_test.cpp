#include "app/form.h"

#include <gtest/gtest.h>

#include <array>

#include "shell/drop_switches.h"

namespace icotake {
namespace {

// The window's form as the program's table gives it; texts in code page 936.
struct ExpectedEntry {
  ControlKind kind;
  std::string_view name;
  std::int32_t left, top, width, height;
  std::uint32_t flags;
  std::string_view text;
  std::vector<EventBinding> bindings;
};

const std::vector<ExpectedEntry>& ExpectedForm() {
  static const std::vector<ExpectedEntry> form{
      {ControlKind::Window, "", 50, 50, 493, 147, kVisible,
       "ico\xCC\xE1\xC8\xA1\xB9\xA4\xBE\xDF\xA3\xAC\xC8\xA1\xB3\xF6\xCD\xBC\xB1\xEA",
       {{0, Handler::OnWindowCreated}}},
      {ControlKind::Button, "\xB0\xB4\xC5\xA5" "2", 368, 72, 112, 48, kVisible | kTabStop,
       "\xB4\xF2\xBF\xAAqd583710\xCD\xF8\xD5\xBE", {{0, Handler::OnOpenSiteClicked}}},
      {ControlKind::Label, "\xB1\xEA\xC7\xA9" "1", 56, 72, 264, 48, kVisible,
       "\xD3\xC3\xB7\xA8\xA3\xBA\r\n\xB0\xD1\xCF\xEB\xD2\xAA\xCC\xE1\xC8\xA1\xB5\xC4" "exe\xCE\xC4\xBC\xFE\xCD\xBC"
       "\xB1\xEA\xA3\xAC\xBB\xF2" "exe\xBF\xEC\xBD\xDD\xB7\xBD\xCA\xBD\xCD\xBC\xB1\xEA\r\n\xCD\xCF\xBD\xF8\xC0\xB4"
       "\xB5\xE3\xBB\xF7\xB0\xB4\xC5\xA5\xBC\xB4\xBF\xC9",
       {}},
      {ControlKind::DropTarget, "\xCD\xCF\xB7\xC5\xB6\xD4\xCF\xF3" "1", 8, 64, 48, 64, 0, "",
       {{3, Handler::OnFilesDropped}}},
      {ControlKind::Button, "\xB0\xB4\xC5\xA5" "1", 368, 16, 112, 40, kVisible | kTabStop,
       "\xC8\xA1\xB3\xF6\xCD\xBC\xB1\xEA", {{0, Handler::OnExtractClicked}}},
      {ControlKind::EditBox, "\xB1\xE0\xBC\xAD\xBF\xF2" "2", 8, 16, 352, 40, kVisible | kTabStop, "", {}},
  };
  return form;
}

TEST(MainForm, LoadsAndIsWellFormed) {
  const auto form = LoadMainForm();
  ASSERT_TRUE(form.has_value());
  EXPECT_TRUE(IsWellFormed(*form));
}

TEST(MainForm, EveryEntryAsTheTableGivesIt) {
  const Form form = *LoadMainForm();
  const auto& expected = ExpectedForm();
  ASSERT_EQ(form.size(), expected.size());
  for (std::size_t i = 0; i < form.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "entry " << i);
    const FormEntry& entry = form[i];
    EXPECT_EQ(entry.kind, expected[i].kind);
    EXPECT_EQ(entry.name, expected[i].name);
    EXPECT_EQ(entry.left, expected[i].left);
    EXPECT_EQ(entry.top, expected[i].top);
    EXPECT_EQ(entry.width, expected[i].width);
    EXPECT_EQ(entry.height, expected[i].height);
    EXPECT_EQ(entry.flags, expected[i].flags);
    EXPECT_EQ(entry.text, expected[i].text);
    EXPECT_EQ(entry.focusOrder, 0);
    EXPECT_EQ(entry.remark, "");
    EXPECT_EQ(entry.tag, "");
    EXPECT_EQ(entry.cursor, Cursor::Arrow);
    ASSERT_EQ(entry.bindings.size(), expected[i].bindings.size());
    for (std::size_t b = 0; b < entry.bindings.size(); ++b) {
      EXPECT_EQ(entry.bindings[b].event, expected[i].bindings[b].event);
      EXPECT_EQ(entry.bindings[b].handler, expected[i].bindings[b].handler);
    }
  }
}

TEST(MainForm, KindSettings) {
  const Form form = *LoadMainForm();
  const auto* window = form[0].As<WindowSettings>();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->fixedDialogFrame && window->systemMenu && window->movable && window->centred);
  EXPECT_FALSE(window->minimizeBox || window->maximizeBox);
  EXPECT_TRUE(window->escCloses);
  EXPECT_FALSE(window->enterMovesFocus || window->f1Help || window->alwaysOnTop);
  EXPECT_TRUE(window->inTaskbar);

  for (std::size_t i : {1u, 4u}) {
    const auto* button = form[i].As<ButtonSettings>();
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(button->defaultButton);
    EXPECT_EQ(button->horizontal, HorizontalAlignment::Centre);
    EXPECT_EQ(button->vertical, VerticalAlignment::Centre);
  }

  const auto* label = form[2].As<LabelSettings>();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->textColour, (Rgb{0, 0, 0}));
  EXPECT_EQ(label->horizontal, HorizontalAlignment::Left);
  EXPECT_EQ(label->vertical, VerticalAlignment::Centre);
  EXPECT_TRUE(label->wordWrap);

  const auto* drop = form[3].As<DropTargetSettings>();
  ASSERT_NE(drop, nullptr);
  EXPECT_EQ(drop->propertyData.size(), kDropPropertySize);
  const auto switches = LoadDropSwitches(drop->propertyData);
  ASSERT_TRUE(switches.has_value());
  EXPECT_EQ(switches->values, (std::array<std::int32_t, 4>{1, 0, 0, 1}));  // text and files accepted

  const auto* edit = form[5].As<EditBoxSettings>();
  ASSERT_NE(edit, nullptr);
  EXPECT_TRUE(edit->sunkenBorder);
  EXPECT_EQ(edit->textColour, (Rgb{0, 0, 0}));
  EXPECT_EQ(edit->backgroundColour, (Rgb{255, 255, 255}));
  EXPECT_FALSE(edit->multiLine || edit->readOnly || edit->password);
  EXPECT_EQ(edit->maximumLength, 0);
  EXPECT_TRUE(edit->hideSelection);
  EXPECT_EQ(edit->selectionStart, 0);
  EXPECT_EQ(edit->selectionLength, 0);
}

TEST(MainForm, TabVisitsEditBoxThenExtractThenSiteButton) {
  const Form form = *LoadMainForm();
  EXPECT_EQ(FocusOrder(form), (std::vector<std::size_t>{5, 4, 1}));
}

TEST(MainForm, FindsEntriesByName) {
  const Form form = *LoadMainForm();
  EXPECT_EQ(FindEntry(form, "\xB1\xE0\xBC\xAD\xBF\xF2" "2"), 5u);
  EXPECT_EQ(FindEntry(form, "\xCD\xCF\xB7\xC5\xB6\xD4\xCF\xF3" "1"), 3u);
  EXPECT_EQ(FindEntry(form, ""), std::nullopt);  // the window has no name to find it by
  EXPECT_EQ(FindEntry(form, "\xB0\xB4\xC5\xA5" "3"), std::nullopt);
}

TEST(MainForm, BoundHandlerOnlyForBoundEvents) {
  const Form form = *LoadMainForm();
  EXPECT_EQ(BoundHandler(form[4], kButtonClicked), Handler::OnExtractClicked);
  EXPECT_EQ(BoundHandler(form[1], kButtonClicked), Handler::OnOpenSiteClicked);
  EXPECT_EQ(BoundHandler(form[3], kFilesDropped), Handler::OnFilesDropped);
  EXPECT_EQ(BoundHandler(form[3], 0), std::nullopt);  // dropped text: not bound
  EXPECT_EQ(BoundHandler(form[0], 1), std::nullopt);
  EXPECT_EQ(BoundHandler(form[5], 0), std::nullopt);
}

// Focus order rules on small forms of their own.
FormEntry Control(std::uint32_t flags, std::int32_t focusOrder, std::string_view name) {
  return FormEntry{.kind = ControlKind::Button, .name = name, .remark = "", .left = 0, .top = 0,
                   .width = 10, .height = 10, .flags = flags, .focusOrder = focusOrder, .text = "",
                   .tag = "", .cursor = Cursor::Arrow, .bindings = {},
                   .settings = ButtonSettings{false, HorizontalAlignment::Centre, VerticalAlignment::Centre}};
}

FormEntry Window() {
  FormEntry window = Control(kVisible, 0, "");
  window.kind = ControlKind::Window;
  window.settings = WindowSettings{};
  return window;
}

struct FocusCase {
  const char* what;
  std::vector<FormEntry> form;
  std::vector<std::size_t> order;
};

class FocusOrderTest : public testing::TestWithParam<FocusCase> {};

TEST_P(FocusOrderTest, Order) {
  EXPECT_EQ(FocusOrder(GetParam().form), GetParam().order) << GetParam().what;
}

constexpr std::uint32_t kTab = kVisible | kTabStop;

INSTANTIATE_TEST_SUITE_P(
    Rules, FocusOrderTest,
    testing::Values(
        FocusCase{"equal keys: later entries first", {Window(), Control(kTab, 0, "a"), Control(kTab, 0, "b")}, {2, 1}},
        FocusCase{"smaller key first", {Window(), Control(kTab, 2, "a"), Control(kTab, 1, "b"), Control(kTab, 3, "c")}, {2, 1, 3}},
        FocusCase{"negative keys count", {Window(), Control(kTab, 0, "a"), Control(kTab, -1, "b")}, {2, 1}},
        FocusCase{"hidden, disabled and non-tab-stop entries left out",
                  {Window(), Control(kTabStop, 0, "a"), Control(kTab | kDisabled, 0, "b"), Control(kVisible, 0, "c"),
                   Control(kTab, 0, "d")},
                  {4}},
        FocusCase{"no controls", {Window()}, {}}));

struct MalformedCase {
  const char* what;
  std::vector<FormEntry> form;
};

class MalformedFormTest : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedFormTest, IsRejected) { EXPECT_FALSE(IsWellFormed(GetParam().form)) << GetParam().what; }

const std::array kClickedOpensSite{EventBinding{kButtonClicked, Handler::OnOpenSiteClicked}};
const std::array kClickedRunsCreated{EventBinding{kButtonClicked, Handler::OnWindowCreated}};
const std::array kEvent5Dropped{EventBinding{5, Handler::OnFilesDropped}};

FormEntry WithBindings(FormEntry entry, std::span<const EventBinding> bindings) {
  entry.bindings = bindings;
  return entry;
}

FormEntry WithKind(FormEntry entry, ControlKind kind) {
  entry.kind = kind;
  return entry;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, MalformedFormTest,
    testing::Values(
        MalformedCase{"empty", {}},
        MalformedCase{"no window first", {Control(kTab, 0, "a")}},
        MalformedCase{"a second window", {Window(), Window()}},
        MalformedCase{"two controls of one name", {Window(), Control(kTab, 0, "a"), Control(kTab, 0, "a")}},
        MalformedCase{"a control without a name", {Window(), Control(kTab, 0, "")}},
        MalformedCase{"settings of another kind", {Window(), WithKind(Control(kTab, 0, "a"), ControlKind::EditBox)}},
        MalformedCase{"a handler on an event that gives it nothing to work on",
                      {Window(), WithBindings(Control(kTab, 0, "a"), kClickedRunsCreated)}},
        MalformedCase{"a drop handler on a button", {Window(), WithBindings(Control(kTab, 0, "a"), kEvent5Dropped)}},
        MalformedCase{"a click handler on the window", {WithBindings(Window(), kClickedOpensSite)}}));

}  // namespace
}  // namespace icotake
