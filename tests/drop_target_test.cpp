// WindowDropTarget driven as OLE drives it, with a data object of our own: the effect answered, the
// formats asked and fetched and their order, the texts of the events, E_FAIL from every Drop, the
// media given back, and the reference count across a registration.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/drop_target.h"
#include "tests/drop_test_objects.h"

namespace icotake {
namespace {

using Microsoft::WRL::ComPtr;
using test::DataCall;
using test::FakeDataObject;
using test::Offer;

constexpr DWORD kCopy = DROPEFFECT_COPY, kMove = DROPEFFECT_MOVE, kLink = DROPEFFECT_LINK;
constexpr DWORD kNone = DROPEFFECT_NONE;
constexpr ControlIdentity kControl = 3;
constexpr POINTL kPoint{120, 45};

struct Raised {
  ControlIdentity control;
  std::int32_t event;
  std::string text;
  friend bool operator==(const Raised&, const Raised&) = default;
};

void PrintTo(const Raised& raised, std::ostream* out) {
  *out << "{control " << raised.control << ", event " << raised.event << ", \"" << raised.text << "\"}";
}

Raised Event(DropEvent event, std::string text) {
  return {kControl, static_cast<std::int32_t>(event), std::move(text)};
}

struct Switches {
  bool text, html, url, files;
};
constexpr Switches kProgram{true, false, false, true};  // the program's own form
constexpr Switches kAll{true, true, true, true};

class OleScope {
 public:
  OleScope() : result_(OleInitialize(nullptr)) {}
  ~OleScope() {
    if (SUCCEEDED(result_)) OleUninitialize();
  }
  HRESULT result() const { return result_; }

 private:
  HRESULT result_;
};

class DropTargetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ole_.result(), S_OK);
    ASSERT_EQ(GetACP(), 936u) << "the tests run in code page 936 (scripts/wine-run)";
    formats_ = RegisterDropFormats();
    ASSERT_NE(formats_.html, 0);
    ASSERT_NE(formats_.url, 0);
    Make(nullptr);
  }
  void TearDown() override { target_.Reset(); }

  void Make(ComPtr<IDropTargetHelper> helper) {
    target_ = WindowDropTarget::Create(std::move(helper));
    ASSERT_NE(target_.Get(), nullptr);
    target_->SetFormats(formats_);
    target_->AttachEventOwner({kControl, [this](ControlIdentity control, std::int32_t event, const Text& text) {
                                 ASSERT_TRUE(text.has_value()) << "an event always carries a text";
                                 raised_.push_back({control, event, std::string(View(text))});
                               }});
    Set(kProgram);
  }

  void Set(Switches s) {
    DropSwitches switches;
    switches.set(DropSwitch::AcceptText, s.text);
    switches.set(DropSwitch::AcceptHtml, s.html);
    switches.set(DropSwitch::AcceptUrl, s.url);
    switches.set(DropSwitch::AcceptFiles, s.files);
    target_->SetSwitches(switches);
  }

  // DragEnter, one DragOver and Drop with the same keys and allowed effects, as one drag.
  struct Outcome {
    DWORD enterEffect, overEffect, dropEffect;
    HRESULT enterResult, dropResult;
  };
  Outcome Drag(FakeDataObject& data, DWORD keys, DWORD allowed) {
    Outcome outcome{};
    DWORD effect = allowed;
    outcome.enterResult = target_->DragEnter(&data, keys, kPoint, &effect);
    outcome.enterEffect = effect;
    effect = allowed;
    EXPECT_EQ(target_->DragOver(keys, kPoint, &effect), S_OK);
    outcome.overEffect = effect;
    effect = allowed;
    outcome.dropResult = target_->Drop(&data, keys, kPoint, &effect);
    outcome.dropEffect = effect;
    return outcome;
  }

  std::vector<DataCall> Fetches(const FakeDataObject& data) const {
    std::vector<DataCall> fetched;
    for (const DataCall& call : data.calls) {
      if (call.method == 'G') fetched.push_back(call);
    }
    return fetched;
  }

  OleScope ole_;
  DropFormats formats_;
  ComPtr<WindowDropTarget> target_;
  std::vector<Raised> raised_;
};

// ChooseDropEffect on its own: every key combination that matters against the allowed effects.
struct EffectCase {
  bool acceptable;
  DWORD keys;
  DWORD allowed;
  DWORD effect;
};

class ChooseDropEffectTest : public ::testing::TestWithParam<EffectCase> {};

TEST_P(ChooseDropEffectTest, AnswersTheRuleEffect) {
  const EffectCase& c = GetParam();
  DWORD effect = c.allowed;
  const bool answer = ChooseDropEffect(c.acceptable, c.keys, effect);
  EXPECT_EQ(effect, c.effect) << "keys " << c.keys << " allowed " << c.allowed;
  EXPECT_EQ(answer, c.effect != kNone);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ChooseDropEffectTest,
    ::testing::Values(
        // Data not acceptable: none, whatever is allowed and held.
        EffectCase{false, 0, kCopy | kMove | kLink, kNone}, EffectCase{false, MK_CONTROL, kCopy, kNone},
        EffectCase{false, MK_SHIFT, kMove, kNone},
        // No key: copy, else move, else link.
        EffectCase{true, 0, kCopy | kMove | kLink, kCopy}, EffectCase{true, 0, kCopy, kCopy},
        EffectCase{true, 0, kMove | kLink, kMove}, EffectCase{true, 0, kMove, kMove},
        EffectCase{true, 0, kLink, kLink}, EffectCase{true, 0, kNone, kNone},
        EffectCase{true, 0, 0x80000000u, kNone},  // DROPEFFECT_SCROLL alone
        // Ctrl asks for a copy.
        EffectCase{true, MK_CONTROL, kCopy | kMove | kLink, kCopy}, EffectCase{true, MK_CONTROL, kMove, kNone},
        EffectCase{true, MK_CONTROL, kMove | kLink, kNone}, EffectCase{true, MK_CONTROL, kLink, kNone},
        // Shift asks for a move.
        EffectCase{true, MK_SHIFT, kCopy | kMove | kLink, kMove}, EffectCase{true, MK_SHIFT, kMove, kMove},
        EffectCase{true, MK_SHIFT, kCopy | kLink, kNone}, EffectCase{true, MK_SHIFT, kLink, kNone},
        // Ctrl with Shift asks for a link, which is never given.
        EffectCase{true, MK_CONTROL | MK_SHIFT, kCopy | kMove | kLink, kNone},
        EffectCase{true, MK_CONTROL | MK_SHIFT, kLink, kNone},
        // Buttons and Alt do not count.
        EffectCase{true, MK_LBUTTON, kCopy | kMove, kCopy}, EffectCase{true, MK_RBUTTON | MK_ALT, kLink, kLink},
        EffectCase{true, MK_LBUTTON | MK_SHIFT | MK_ALT, kCopy | kMove, kMove},
        EffectCase{true, MK_MBUTTON | MK_CONTROL, kCopy, kCopy},
        EffectCase{true, MK_LBUTTON | MK_CONTROL | MK_SHIFT | MK_ALT, kLink, kNone}));

// Whole drags: switches x offered formats x keys x allowed effects.
struct DragCase {
  const char* name;
  Switches switches;
  std::vector<CLIPFORMAT> offered;  // CF_TEXT gets "text", CF_HDROP one file "C:\a.exe"
  DWORD keys;
  DWORD allowed;
  DWORD effect;
  std::vector<DropEvent> events;
};

class DragTableTest : public DropTargetTest, public ::testing::WithParamInterface<DragCase> {};

TEST_P(DragTableTest, AnswersTheEffectAndRaisesTheEvents) {
  const DragCase& c = GetParam();
  Set(c.switches);
  std::vector<Offer> offers;
  for (CLIPFORMAT format : c.offered) {
    offers.push_back({format, format == CF_HDROP ? test::DropFilesBlock({"C:\\a.exe"}) : std::string("text")});
  }
  FakeDataObject data(offers);
  const Outcome outcome = Drag(data, c.keys, c.allowed);
  EXPECT_EQ(outcome.enterResult, S_OK);
  EXPECT_EQ(outcome.enterEffect, c.effect);
  EXPECT_EQ(outcome.overEffect, c.effect);
  EXPECT_EQ(outcome.dropEffect, c.effect);
  EXPECT_EQ(outcome.dropResult, E_FAIL);
  std::vector<Raised> expected;
  for (DropEvent event : c.events) {
    expected.push_back(Event(event, event == DropEvent::FilesDropped ? "C:\\a.exe" : "text"));
  }
  EXPECT_EQ(raised_, expected);
  EXPECT_EQ(data.mediaReleased, data.mediaHandedOut);
  EXPECT_TRUE(data.requestsAsExpected);
  if (c.effect == kNone) {
    EXPECT_TRUE(Fetches(data).empty()) << "nothing is fetched for a refused drop";
  }
}

using E = DropEvent;
INSTANTIATE_TEST_SUITE_P(
    Table, DragTableTest,
    ::testing::Values(
        DragCase{"OneFileCopied", kProgram, {CF_HDROP}, 0, kCopy | kMove | kLink, kCopy, {E::FilesDropped}},
        DragCase{"OneFileFromWinesXdnd", kProgram, {CF_HDROP}, MK_LBUTTON, kCopy, kCopy, {E::FilesDropped}},
        DragCase{"TextCopied", kProgram, {CF_TEXT}, 0, kCopy, kCopy, {E::TextDropped}},
        DragCase{"TextThenFiles", kProgram, {CF_HDROP, CF_TEXT}, 0, kCopy, kCopy, {E::TextDropped, E::FilesDropped}},
        DragCase{"CtrlShiftRefuses", kProgram, {CF_HDROP}, MK_CONTROL | MK_SHIFT, kCopy | kMove | kLink, kNone, {}},
        DragCase{"CtrlOnMoveOnlyRefuses", kProgram, {CF_HDROP}, MK_CONTROL, kMove, kNone, {}},
        DragCase{"ShiftMoves", kProgram, {CF_HDROP}, MK_SHIFT, kCopy | kMove, kMove, {E::FilesDropped}},
        DragCase{"ShiftOnCopyOnlyRefuses", kProgram, {CF_HDROP}, MK_SHIFT, kCopy, kNone, {}},
        DragCase{"LinkOnlyLinks", kProgram, {CF_HDROP}, 0, kLink, kLink, {E::FilesDropped}},
        DragCase{"NothingAllowed", kProgram, {CF_HDROP}, 0, kNone, kNone, {}},
        DragCase{"NoSwitchedOnFormat", kProgram, {CF_UNICODETEXT, CF_BITMAP}, 0, kCopy, kNone, {}},
        DragCase{"FilesSwitchedOff", {true, false, false, false}, {CF_HDROP}, 0, kCopy, kNone, {}},
        DragCase{"TextSwitchedOff", {false, false, false, true}, {CF_TEXT}, 0, kCopy, kNone, {}},
        DragCase{"TextOnlyTakesNoFiles", {true, false, false, false}, {CF_TEXT, CF_HDROP}, 0, kCopy, kCopy,
                 {E::TextDropped}},
        DragCase{"AllSwitchesOff", {false, false, false, false}, {CF_TEXT, CF_HDROP}, 0, kCopy, kNone, {}},
        DragCase{"AllOnCtrlCopies", kAll, {CF_TEXT, CF_HDROP}, MK_CONTROL, kCopy | kMove, kCopy,
                 {E::TextDropped, E::FilesDropped}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(DropTargetTest, DragEnterAsksTextFilesUrlHtmlInThatOrder) {
  Set(kAll);
  FakeDataObject nothing({});
  DWORD effect = kCopy;
  EXPECT_EQ(target_->DragEnter(&nothing, 0, kPoint, &effect), S_OK);
  EXPECT_EQ(effect, kNone);
  EXPECT_FALSE(target_->dataAcceptable());
  const std::vector<DataCall> expected{{'Q', CF_TEXT}, {'Q', CF_HDROP}, {'Q', formats_.url}, {'Q', formats_.html}};
  EXPECT_EQ(nothing.calls, expected);
  EXPECT_TRUE(nothing.requestsAsExpected);
}

TEST_F(DropTargetTest, DragEnterAsksOnlySwitchedOnFormatsAndStopsAtTheFirstYes) {
  Set({false, true, true, false});
  FakeDataObject html({{formats_.html, "x"}});
  DWORD effect = kCopy;
  target_->DragEnter(&html, 0, kPoint, &effect);
  EXPECT_EQ(html.calls, (std::vector<DataCall>{{'Q', formats_.url}, {'Q', formats_.html}}));
  EXPECT_EQ(effect, kCopy);

  Set(kAll);
  FakeDataObject files({{CF_HDROP, test::DropFilesBlock({})}, {formats_.url, "u"}});
  effect = kCopy;
  target_->DragEnter(&files, 0, kPoint, &effect);
  EXPECT_EQ(files.calls, (std::vector<DataCall>{{'Q', CF_TEXT}, {'Q', CF_HDROP}}));
  EXPECT_TRUE(target_->dataAcceptable());
}

TEST_F(DropTargetTest, OnlySOkFromQueryGetDataCounts) {
  Set(kAll);
  FakeDataObject hesitant({{CF_TEXT, "t", S_FALSE}, {CF_HDROP, "", DV_E_TYMED}, {formats_.html, "h", S_OK}});
  DWORD effect = kCopy;
  target_->DragEnter(&hesitant, 0, kPoint, &effect);
  EXPECT_EQ(hesitant.calls.size(), 4u);
  EXPECT_EQ(effect, kCopy);

  FakeDataObject refusing({{CF_TEXT, "t", S_FALSE}, {CF_HDROP, "", E_UNEXPECTED}});
  effect = kCopy;
  target_->DragEnter(&refusing, 0, kPoint, &effect);
  EXPECT_EQ(effect, kNone);
}

TEST_F(DropTargetTest, DropDeliversTextHtmlUrlFilesInThatOrder) {
  Set(kAll);
  FakeDataObject data({{CF_TEXT, "plain"},
                       {formats_.url, "http://example.com/"},
                       {CF_HDROP, test::DropFilesBlock({"C:\\a.exe", "C:\\b.dll"})}});
  const Outcome outcome = Drag(data, 0, kCopy);
  EXPECT_EQ(outcome.dropResult, E_FAIL);
  EXPECT_EQ(outcome.dropEffect, kCopy);
  EXPECT_EQ(raised_, (std::vector<Raised>{Event(E::TextDropped, "plain"), Event(E::UrlDropped, "http://example.com/"),
                                          Event(E::FilesDropped, "C:\\a.exe\r\nC:\\b.dll\r\n")}));
  // Before CF_TEXT the data object is asked for HTML; then HTML itself, the address, the files.
  EXPECT_EQ(Fetches(data), (std::vector<DataCall>{{'G', formats_.html},
                                                  {'G', CF_TEXT},
                                                  {'G', formats_.html},
                                                  {'G', formats_.url},
                                                  {'G', CF_HDROP}}));
  EXPECT_EQ(data.mediaHandedOut, 3);
  EXPECT_EQ(data.mediaReleased, 3);
}

TEST_F(DropTargetTest, HtmlBlocksPlainTextWhetherAcceptedOrNot) {
  const std::string html = "Version:0.9\r\n<b>bold</b>";
  for (const bool acceptHtml : {false, true}) {
    SCOPED_TRACE(acceptHtml ? "AcceptHtml on" : "AcceptHtml off");
    raised_.clear();
    Set({true, acceptHtml, false, true});
    FakeDataObject data({{CF_TEXT, "bold"}, {formats_.html, html}});
    const Outcome outcome = Drag(data, 0, kCopy);
    EXPECT_EQ(outcome.dropEffect, kCopy) << "copy is answered all the same";
    EXPECT_EQ(outcome.dropResult, E_FAIL);
    const std::vector<Raised> expected =
        acceptHtml ? std::vector<Raised>{Event(E::HtmlDropped, html)} : std::vector<Raised>{};
    EXPECT_EQ(raised_, expected);
    for (const DataCall& call : data.calls) EXPECT_NE(call, (DataCall{'G', CF_TEXT}));
    EXPECT_EQ(data.mediaReleased, data.mediaHandedOut);
    EXPECT_EQ(data.mediaHandedOut, acceptHtml ? 2 : 1);
  }
}

TEST_F(DropTargetTest, HtmlThatCannotBeRenderedLeavesPlainText) {
  Set(kProgram);
  FakeDataObject data({{CF_TEXT, "words"}, {formats_.html, "<p>", S_OK, /*renders=*/false}});
  Drag(data, 0, kCopy);
  EXPECT_EQ(raised_, (std::vector<Raised>{Event(E::TextDropped, "words")}));
  EXPECT_EQ(Fetches(data), (std::vector<DataCall>{{'G', formats_.html}, {'G', CF_TEXT}, {'G', CF_HDROP}}));
}

struct HtmlCase {
  const char* name;
  std::string utf8;
  std::string ansi;  // code page 936
};

class HtmlConversionTest : public DropTargetTest, public ::testing::WithParamInterface<HtmlCase> {};

TEST_P(HtmlConversionTest, BecomesAnsiWithPlainSpaces) {
  Set({false, true, false, false});
  FakeDataObject data({{formats_.html, GetParam().utf8}});
  Drag(data, 0, kCopy);
  EXPECT_EQ(raised_, (std::vector<Raised>{Event(E::HtmlDropped, GetParam().ansi)}));
  EXPECT_EQ(data.mediaReleased, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, HtmlConversionTest,
    ::testing::Values(
        HtmlCase{"HeaderLinesKept", "Version:0.9\r\nStartHTML:0000000105\r\n<html>x</html>",
                 "Version:0.9\r\nStartHTML:0000000105\r\n<html>x</html>"},
        HtmlCase{"NoBreakSpacesBecomeSpaces", "a\xC2\xA0" "b\xC2\xA0\xC2\xA0" "c&nbsp;", "a b  c&nbsp;"},
        HtmlCase{"NoBreakSpaceAtBothEnds", "\xC2\xA0x\xC2\xA0", " x "},
        HtmlCase{"ChineseToCodePage936", "<p>\xE6\xA1\x8C\xE9\x9D\xA2\xC2\xA0\xE5\x9B\xBE\xE6\xA0\x87</p>",
                 "<p>\xD7\xC0\xC3\xE6 \xCD\xBC\xB1\xEA</p>"},
        HtmlCase{"NoAnsiFormIsTheDefaultCharacter", "\xE0\xB8\x81|\xF0\x9F\x98\x80|", "?|??|"},
        HtmlCase{"IllFormedUtf8IsReplaced", "a\xFF" "b", "a?b"},
        HtmlCase{"UpToTheFirstNul", std::string("kept\0dropped", 12), "kept"},
        HtmlCase{"Empty", std::string(1, '\0'), ""}),
    [](const auto& row) { return std::string(row.param.name); });

struct FileListCase {
  const char* name;
  std::string block;
  std::string text;
};

class FileListTest : public DropTargetTest, public ::testing::WithParamInterface<FileListCase> {};

TEST_P(FileListTest, BuildsTheTextOfFilesDropped) {
  FakeDataObject data({{CF_HDROP, GetParam().block}});
  const Outcome outcome = Drag(data, 0, kCopy);
  EXPECT_EQ(outcome.dropResult, E_FAIL);
  EXPECT_EQ(raised_, (std::vector<Raised>{Event(E::FilesDropped, GetParam().text)}));
  EXPECT_EQ(data.mediaHandedOut, 1);
  EXPECT_EQ(data.mediaReleased, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, FileListTest,
    ::testing::Values(
        FileListCase{"NoFileIsTheEmptyText", test::DropFilesBlock({}), ""},
        FileListCase{"OneFileAlone", test::DropFilesBlock({"Z:\\tmp\\notepad.exe"}), "Z:\\tmp\\notepad.exe"},
        FileListCase{"TwoFilesEachWithALineBreak", test::DropFilesBlock({"C:\\a.exe", "D:\\b c\\d.lnk"}),
                     "C:\\a.exe\r\nD:\\b c\\d.lnk\r\n"},
        FileListCase{"ThreeFilesInSourceOrder", test::DropFilesBlock({"c", "a", "b"}), "c\r\na\r\nb\r\n"},
        FileListCase{"WideNamesInCodePage936", test::DropFilesBlockWide({u"C:\\\u684C\u9762\\x.exe"}),
                     "C:\\\xD7\xC0\xC3\xE6\\x.exe"},
        FileListCase{"LongPath", test::DropFilesBlock({std::string(3000, 'p')}), std::string(3000, 'p')}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(DropTargetTest, FileListThatCannotBeWalkedRaisesNothing) {
  std::string noEnd = test::DropFilesBlock({"C:\\a.exe"});
  noEnd.resize(noEnd.size() - 2);  // both NULs gone: DragQueryFile would read past the block
  std::string offsetOutside = test::DropFilesBlock({"x"});
  offsetOutside[0] = '\x7F';
  for (const std::string& block : {noEnd, offsetOutside, std::string("short")}) {
    FakeDataObject data({{CF_TEXT, "t"}, {CF_HDROP, block}});
    Drag(data, 0, kCopy);
    EXPECT_EQ(data.mediaReleased, data.mediaHandedOut);
  }
  EXPECT_EQ(raised_, (std::vector<Raised>(3, Event(E::TextDropped, "t"))));
}

TEST_F(DropTargetTest, TextIsReadUpToTheFirstNulAndNeverPastTheBlock) {
  FakeDataObject data({{CF_TEXT, std::string("one\0two", 7)}});
  Drag(data, 0, kCopy);
  FakeDataObject unterminated({{CF_TEXT, "abc"}});
  Drag(unterminated, 0, kCopy);
  FakeDataObject empty({{CF_TEXT, std::string(1, '\0')}});
  Drag(empty, 0, kCopy);
  FakeDataObject noMemory({{CF_TEXT, ""}});  // a block of 0 bytes, which cannot be locked
  Drag(noMemory, 0, kCopy);
  EXPECT_EQ(noMemory.mediaReleased, 1);
  EXPECT_EQ(raised_, (std::vector<Raised>{Event(E::TextDropped, "one"), Event(E::TextDropped, "abc"),
                                          Event(E::TextDropped, "")}));
}

TEST_F(DropTargetTest, AFormatThatFailsAtDropTimeLeavesTheOthers) {
  Set(kAll);
  FakeDataObject data({{CF_TEXT, "t", S_OK, /*renders=*/false},
                       {formats_.url, "u", S_OK, /*renders=*/false},
                       {CF_HDROP, test::DropFilesBlock({"f"})}});
  Drag(data, 0, kCopy);
  EXPECT_EQ(raised_, (std::vector<Raised>{Event(E::FilesDropped, "f")}));
  EXPECT_EQ(data.mediaReleased, 1);
}

TEST_F(DropTargetTest, AMediumOtherThanGlobalMemoryIsGivenBackUnread) {
  Set(kAll);
  FakeDataObject data({{CF_TEXT, "t"}, {CF_HDROP, test::DropFilesBlock({"f"})}, {formats_.url, "u"}});
  data.rendersStreams = true;
  const Outcome outcome = Drag(data, 0, kCopy);
  EXPECT_EQ(outcome.dropResult, E_FAIL);
  EXPECT_TRUE(raised_.empty());
  EXPECT_EQ(data.mediaHandedOut, 3);  // text, url, files; "HTML Format" is not offered
  EXPECT_EQ(data.mediaReleased, 3);
}

TEST_F(DropTargetTest, DropWithoutDragEnterOrAfterDragLeaveRaisesNothing) {
  FakeDataObject data({{CF_HDROP, test::DropFilesBlock({"f"})}});
  DWORD effect = kCopy;
  EXPECT_EQ(target_->Drop(&data, 0, kPoint, &effect), E_FAIL);
  EXPECT_EQ(effect, kNone);

  effect = kCopy;
  target_->DragEnter(&data, 0, kPoint, &effect);
  EXPECT_EQ(effect, kCopy);
  EXPECT_EQ(target_->DragLeave(), S_OK);
  EXPECT_FALSE(target_->dataAcceptable());
  effect = kCopy;
  EXPECT_EQ(target_->DragOver(0, kPoint, &effect), S_OK);
  EXPECT_EQ(effect, kNone);
  effect = kCopy;
  EXPECT_EQ(target_->Drop(&data, 0, kPoint, &effect), E_FAIL);
  EXPECT_EQ(effect, kNone);
  EXPECT_TRUE(raised_.empty());
  EXPECT_TRUE(Fetches(data).empty());
}

TEST_F(DropTargetTest, DropLeavesDataAcceptableForTheNextDragEnterToSet) {
  FakeDataObject data({{CF_HDROP, test::DropFilesBlock({"f"})}});
  Drag(data, 0, kCopy);
  EXPECT_TRUE(target_->dataAcceptable());
  FakeDataObject other({{CF_BITMAP, ""}});
  DWORD effect = kCopy;
  target_->DragEnter(&other, 0, kPoint, &effect);
  EXPECT_FALSE(target_->dataAcceptable());
}

TEST_F(DropTargetTest, DragOverAsksNoFormatAgain) {
  FakeDataObject data({{CF_HDROP, test::DropFilesBlock({"f"})}});
  DWORD effect = kCopy;
  target_->DragEnter(&data, 0, kPoint, &effect);
  const std::size_t asked = data.calls.size();
  for (const DWORD keys : std::initializer_list<DWORD>{0, MK_SHIFT, MK_CONTROL | MK_SHIFT, MK_CONTROL}) {
    effect = kCopy | kMove;
    target_->DragOver(keys, kPoint, &effect);
  }
  EXPECT_EQ(effect, kCopy);
  EXPECT_EQ(data.calls.size(), asked);
}

TEST_F(DropTargetTest, SwitchesWrittenDuringADragCountFromTheDropOn) {
  FakeDataObject data({{CF_TEXT, "t"}, {CF_HDROP, test::DropFilesBlock({"f"})}});
  DWORD effect = kCopy;
  target_->DragEnter(&data, 0, kPoint, &effect);
  Set({false, false, false, true});
  effect = kCopy;
  EXPECT_EQ(target_->Drop(&data, 0, kPoint, &effect), E_FAIL);
  EXPECT_EQ(raised_, (std::vector<Raised>{Event(E::FilesDropped, "f")}));
}

TEST_F(DropTargetTest, NullArgumentsAreRefusedWithoutACrash) {
  DWORD effect = kCopy;
  EXPECT_EQ(target_->DragEnter(nullptr, 0, kPoint, &effect), S_OK);
  EXPECT_EQ(effect, kNone);
  FakeDataObject data({{CF_HDROP, test::DropFilesBlock({"f"})}});
  EXPECT_EQ(target_->DragEnter(&data, 0, kPoint, nullptr), E_INVALIDARG);
  EXPECT_EQ(target_->DragOver(0, kPoint, nullptr), E_INVALIDARG);
  EXPECT_EQ(target_->Drop(&data, 0, kPoint, nullptr), E_FAIL);
  effect = kCopy;
  target_->DragEnter(&data, 0, kPoint, &effect);
  effect = kCopy;
  EXPECT_EQ(target_->Drop(nullptr, 0, kPoint, &effect), E_FAIL);
  EXPECT_TRUE(raised_.empty());
}

TEST_F(DropTargetTest, TheDragImageObjectSeesEachCallWithTheEffectAsReceived) {
  test::FakeDragImageObject helper;
  Make(&helper);
  const HWND window = reinterpret_cast<HWND>(0x1234);
  target_->SetTargetWindow(window);
  FakeDataObject data({{CF_HDROP, test::DropFilesBlock({"f"})}});
  DWORD effect = kMove | kLink;
  target_->DragEnter(&data, MK_CONTROL, kPoint, &effect);
  EXPECT_EQ(effect, kNone);
  effect = kCopy | kMove;
  target_->DragOver(MK_SHIFT, {7, 8}, &effect);
  EXPECT_EQ(effect, kMove);
  target_->DragLeave();
  effect = kCopy;
  target_->DragEnter(&data, 0, kPoint, &effect);
  effect = kLink;
  target_->Drop(&data, 0, {9, 10}, &effect);
  EXPECT_EQ(effect, kLink);

  ASSERT_EQ(helper.calls.size(), 5u);
  EXPECT_EQ(helper.calls[0].method, "DragEnter");
  EXPECT_EQ(helper.calls[0].window, window);
  EXPECT_EQ(helper.calls[0].data, &data);
  EXPECT_EQ(helper.calls[0].point.x, kPoint.x);
  EXPECT_EQ(helper.calls[0].point.y, kPoint.y);
  EXPECT_EQ(helper.calls[0].effect, kMove | kLink);
  EXPECT_EQ(helper.calls[1].method, "DragOver");
  EXPECT_EQ(helper.calls[1].point.x, 7);
  EXPECT_EQ(helper.calls[1].effect, kCopy | kMove);
  EXPECT_EQ(helper.calls[2].method, "DragLeave");
  EXPECT_EQ(helper.calls[3].method, "DragEnter");
  EXPECT_EQ(helper.calls[4].method, "Drop");
  EXPECT_EQ(helper.calls[4].data, &data);
  EXPECT_EQ(helper.calls[4].point.y, 10);
  EXPECT_EQ(helper.calls[4].effect, kLink);
  EXPECT_EQ(raised_, (std::vector<Raised>{Event(E::FilesDropped, "f")}));

  target_.Reset();
  EXPECT_EQ(helper.references, 1) << "the target gives its reference back when it goes";
}

TEST_F(DropTargetTest, TheShellsDragImageObjectIsOptionalAndWorks) {
  ComPtr<IDropTargetHelper> helper = CreateDragImageObject();
  Make(helper);  // Wine has one; without it the target works the same (all other tests)
  FakeDataObject data({{CF_HDROP, test::DropFilesBlock({"f"})}});
  const Outcome outcome = Drag(data, 0, kCopy);
  EXPECT_EQ(outcome.dropEffect, kCopy);
  EXPECT_EQ(raised_, (std::vector<Raised>{Event(E::FilesDropped, "f")}));
  EXPECT_GE(data.references, 1);
}

TEST_F(DropTargetTest, QueryInterfaceAnswersIUnknownAndIDropTargetOnly) {
  EXPECT_EQ(test::CountOf(target_.Get()), 1u);
  void* object = reinterpret_cast<void*>(0xDEADBEEF);
  EXPECT_EQ(target_->QueryInterface(IID_IDropTarget, &object), S_OK);
  EXPECT_EQ(object, static_cast<IDropTarget*>(target_.Get()));
  EXPECT_EQ(test::CountOf(target_.Get()), 2u);
  object = reinterpret_cast<void*>(0xDEADBEEF);
  EXPECT_EQ(target_->QueryInterface(IID_IUnknown, &object), S_OK);
  EXPECT_EQ(object, static_cast<IDropTarget*>(target_.Get()));
  EXPECT_EQ(target_->Release(), 2u);
  EXPECT_EQ(target_->Release(), 1u);
  for (const IID& iid : {IID_IDataObject, IID_IDropSource, IID_IDropTargetHelper, IID_IClassFactory}) {
    object = reinterpret_cast<void*>(0xDEADBEEF);
    EXPECT_EQ(target_->QueryInterface(iid, &object), static_cast<HRESULT>(0x80004002));
    EXPECT_EQ(object, nullptr);
  }
  EXPECT_EQ(target_->QueryInterface(IID_IDropTarget, nullptr), E_POINTER);
  EXPECT_EQ(test::CountOf(target_.Get()), 1u);
  EXPECT_EQ(target_->AddRef(), 2u);
  EXPECT_EQ(target_->Release(), 1u);
}

TEST_F(DropTargetTest, RegisterAndRevokeGiveTheCountBack) {
  const HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  for (int round = 0; round < 3; ++round) {
    EXPECT_EQ(test::CountOf(target_.Get()), 1u);
    ASSERT_EQ(RegisterDragDrop(window, target_.Get()), S_OK);
    EXPECT_GT(test::CountOf(target_.Get()), 1u) << "OLE holds a reference while registered";
    EXPECT_EQ(RegisterDragDrop(window, target_.Get()), DRAGDROP_E_ALREADYREGISTERED);
    ASSERT_EQ(RevokeDragDrop(window), S_OK);
    EXPECT_EQ(test::CountOf(target_.Get()), 1u);
  }
  DestroyWindow(window);
}

TEST_F(DropTargetTest, DetachedTargetRaisesNothingAndDropsItsDragImageObject) {
  test::FakeDragImageObject helper;
  Make(&helper);
  EXPECT_EQ(helper.references, 2);
  target_->Detach();
  EXPECT_EQ(helper.references, 1);
  FakeDataObject data({{CF_HDROP, test::DropFilesBlock({"f"})}});
  const Outcome outcome = Drag(data, 0, kCopy);
  EXPECT_EQ(outcome.dropResult, E_FAIL);
  EXPECT_TRUE(raised_.empty());
  EXPECT_TRUE(helper.calls.empty());
  EXPECT_EQ(data.mediaReleased, data.mediaHandedOut);
}

TEST_F(DropTargetTest, AHandlerThatEndsTheDropObjectEndsTheDropSafely) {
  Set(kAll);
  // The handler of the first event lets the drop object go, as closing the window would.
  WindowDropTarget* target = target_.Detach();
  target->AttachEventOwner({kControl, [&](ControlIdentity control, std::int32_t event, const Text& text) {
                              raised_.push_back({control, event, std::string(View(text))});
                              target->Detach();
                              target->Release();
                            }});
  FakeDataObject data({{CF_TEXT, "t"}, {formats_.url, "u"}, {CF_HDROP, test::DropFilesBlock({"f"})}});
  DWORD effect = kCopy;
  target->DragEnter(&data, 0, kPoint, &effect);
  target->AddRef();  // OLE's reference for the call, as a registration holds it
  effect = kCopy;
  EXPECT_EQ(target->Drop(&data, 0, kPoint, &effect), E_FAIL);
  EXPECT_EQ(raised_, (std::vector<Raised>{Event(E::TextDropped, "t")}));
  EXPECT_EQ(target->Release(), 0u);
  EXPECT_EQ(data.mediaReleased, data.mediaHandedOut);
}

}  // namespace
}  // namespace icotake
