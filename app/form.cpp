#include "app/form.h"

#include <algorithm>
#include <array>
#include <set>

#include "app/program_texts.h"

namespace icotake {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

constexpr std::array kWindowBindings{EventBinding{kWindowCreated, Handler::OnWindowCreated}};
constexpr std::array kSiteButtonBindings{EventBinding{kButtonClicked, Handler::OnOpenSiteClicked}};
constexpr std::array kDropObjectBindings{EventBinding{kFilesDropped, Handler::OnFilesDropped}};
constexpr std::array kExtractButtonBindings{EventBinding{kButtonClicked, Handler::OnExtractClicked}};

// Version 1; AcceptText on, AcceptHtml off, AcceptUrl off, AcceptFiles on.
constexpr std::array<std::uint8_t, 20> kDropObjectProperty{1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0};

constexpr ButtonSettings kPushButton{.defaultButton = false,
                                     .horizontal = HorizontalAlignment::Centre,
                                     .vertical = VerticalAlignment::Centre};

const std::array kMainForm{
    FormEntry{.kind = ControlKind::Window, .name = "", .remark = "",
              .left = 50, .top = 50, .width = 493, .height = 147,
              .flags = kVisible, .focusOrder = 0,
              .text = texts::kWindowTitle, .tag = "", .cursor = Cursor::Arrow,
              .bindings = kWindowBindings,
              .settings = WindowSettings{.fixedDialogFrame = true, .systemMenu = true,
                                         .minimizeBox = false, .maximizeBox = false,
                                         .movable = true, .centred = true, .escCloses = true,
                                         .enterMovesFocus = false, .f1Help = false,
                                         .inTaskbar = true, .alwaysOnTop = false}},
    FormEntry{.kind = ControlKind::Button, .name = texts::kSiteButtonName, .remark = "",
              .left = 368, .top = 72, .width = 112, .height = 48,
              .flags = kVisible | kTabStop, .focusOrder = 0,
              .text = texts::kSiteButton, .tag = "", .cursor = Cursor::Arrow,
              .bindings = kSiteButtonBindings, .settings = kPushButton},
    FormEntry{.kind = ControlKind::Label, .name = texts::kUsageLabelName, .remark = "",
              .left = 56, .top = 72, .width = 264, .height = 48,
              .flags = kVisible, .focusOrder = 0,
              .text = texts::kUsage, .tag = "", .cursor = Cursor::Arrow,
              .bindings = {},
              .settings = LabelSettings{.textColour = kBlack,
                                        .horizontal = HorizontalAlignment::Left,
                                        .vertical = VerticalAlignment::Centre,
                                        .wordWrap = true}},
    FormEntry{.kind = ControlKind::DropTarget, .name = texts::kDropObjectName, .remark = "",
              .left = 8, .top = 64, .width = 48, .height = 64,
              .flags = 0, .focusOrder = 0,
              .text = "", .tag = "", .cursor = Cursor::Arrow,
              .bindings = kDropObjectBindings,
              .settings = DropTargetSettings{.propertyData = kDropObjectProperty}},
    FormEntry{.kind = ControlKind::Button, .name = texts::kExtractButtonName, .remark = "",
              .left = 368, .top = 16, .width = 112, .height = 40,
              .flags = kVisible | kTabStop, .focusOrder = 0,
              .text = texts::kExtractButton, .tag = "", .cursor = Cursor::Arrow,
              .bindings = kExtractButtonBindings, .settings = kPushButton},
    FormEntry{.kind = ControlKind::EditBox, .name = texts::kEditBoxName, .remark = "",
              .left = 8, .top = 16, .width = 352, .height = 40,
              .flags = kVisible | kTabStop, .focusOrder = 0,
              .text = "", .tag = "", .cursor = Cursor::Arrow,
              .bindings = {},
              .settings = EditBoxSettings{.sunkenBorder = true, .textColour = kBlack,
                                          .backgroundColour = kWhite, .multiLine = false,
                                          .readOnly = false, .password = false,
                                          .maximumLength = 0, .hideSelection = true,
                                          .selectionStart = 0, .selectionLength = 0}},
};

bool SettingsMatchKind(const FormEntry& entry) {
  switch (entry.kind) {
    case ControlKind::Window: return entry.As<WindowSettings>() != nullptr;
    case ControlKind::Button: return entry.As<ButtonSettings>() != nullptr;
    case ControlKind::Label: return entry.As<LabelSettings>() != nullptr;
    case ControlKind::EditBox: return entry.As<EditBoxSettings>() != nullptr;
    case ControlKind::DropTarget: return entry.As<DropTargetSettings>() != nullptr;
  }
  return false;
}

// The drop object's four events carry a text, the window's created event and a button's click
// none; a handler is bound only where it gets what it takes.
bool HandlerFitsEvent(ControlKind kind, const EventBinding& binding) {
  switch (binding.handler) {
    case Handler::OnWindowCreated: return kind == ControlKind::Window && binding.event == kWindowCreated;
    case Handler::OnExtractClicked:
    case Handler::OnOpenSiteClicked: return kind == ControlKind::Button && binding.event == kButtonClicked;
    case Handler::OnFilesDropped: return kind == ControlKind::DropTarget && binding.event >= 0 && binding.event <= 3;
  }
  return false;
}

}  // namespace

std::optional<Form> LoadMainForm() {
  const Form form(kMainForm);
  if (!IsWellFormed(form)) return std::nullopt;
  return form;
}

bool IsWellFormed(Form form) {
  if (form.empty() || form.front().kind != ControlKind::Window) return false;
  std::set<std::string_view> names;
  for (std::size_t i = 0; i < form.size(); ++i) {
    const FormEntry& entry = form[i];
    if ((i == 0) != (entry.kind == ControlKind::Window)) return false;
    if (i > 0 && (entry.name.empty() || !names.insert(entry.name).second)) return false;
    if (!SettingsMatchKind(entry)) return false;
    if (entry.width < 0 || entry.height < 0) return false;
    for (const EventBinding& binding : entry.bindings) {
      if (!HandlerFitsEvent(entry.kind, binding)) return false;
    }
  }
  return true;
}

std::vector<std::size_t> FocusOrder(Form form) {
  std::vector<std::size_t> order;
  for (std::size_t i = form.size(); i-- > 1;) {  // later entries first, kept so by the stable sort
    const FormEntry& entry = form[i];
    if (entry.Has(kTabStop) && entry.Has(kVisible) && !entry.Has(kDisabled)) order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return form[a].focusOrder < form[b].focusOrder; });
  return order;
}

std::optional<std::size_t> FindEntry(Form form, std::string_view name) {
  for (std::size_t i = 1; i < form.size(); ++i) {
    if (form[i].name == name) return i;
  }
  return std::nullopt;
}

std::optional<Handler> BoundHandler(const FormEntry& entry, std::int32_t event) {
  for (const EventBinding& binding : entry.bindings) {
    if (binding.event == event) return binding.handler;
  }
  return std::nullopt;
}

}  // namespace icotake
