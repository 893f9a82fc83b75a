#include "app/control_styles_win32.h"

namespace icotake {
namespace {

// Styles that every control shares, and those that come from its flags.
DWORD ChildStyle(const FormEntry& entry) {
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  if (entry.Has(kTabStop)) style |= WS_TABSTOP;
  if (entry.Has(kDisabled)) style |= WS_DISABLED;
  return style;
}

WindowCreation ForWindow(const FormEntry& entry, const WindowSettings& settings) {
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
  if (!settings.fixedDialogFrame) style |= WS_THICKFRAME;
  if (settings.systemMenu) style |= WS_SYSMENU;
  if (settings.minimizeBox) style |= WS_MINIMIZEBOX;
  if (settings.maximizeBox) style |= WS_MAXIMIZEBOX;
  if (entry.Has(kDisabled)) style |= WS_DISABLED;
  DWORD exStyle = 0;
  if (settings.alwaysOnTop) exStyle |= WS_EX_TOPMOST;
  if (!settings.inTaskbar) exStyle |= WS_EX_TOOLWINDOW;
  return {kMainWindowClass, style, exStyle};
}

WindowCreation ForButton(const FormEntry& entry, const ButtonSettings& settings) {
  DWORD style = ChildStyle(entry) | BS_MULTILINE;
  style |= settings.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  switch (settings.horizontal) {
    case HorizontalAlignment::Left: style |= BS_LEFT; break;
    case HorizontalAlignment::Centre: style |= BS_CENTER; break;
    case HorizontalAlignment::Right: style |= BS_RIGHT; break;
  }
  switch (settings.vertical) {
    case VerticalAlignment::Top: style |= BS_TOP; break;
    case VerticalAlignment::Centre: style |= BS_VCENTER; break;
    case VerticalAlignment::Bottom: style |= BS_BOTTOM; break;
  }
  return {"BUTTON", style, 0};
}

WindowCreation ForEditBox(const FormEntry& entry, const EditBoxSettings& settings) {
  DWORD style = ChildStyle(entry) | ES_LEFT;
  style |= settings.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL : ES_AUTOHSCROLL;
  if (settings.readOnly) style |= ES_READONLY;
  if (settings.password) style |= ES_PASSWORD;
  if (!settings.hideSelection) style |= ES_NOHIDESEL;
  return {"EDIT", style, settings.sunkenBorder ? static_cast<DWORD>(WS_EX_CLIENTEDGE) : 0};
}

}  // namespace

WindowCreation CreationFor(const FormEntry& entry) {
  if (const auto* window = entry.As<WindowSettings>()) return ForWindow(entry, *window);
  if (const auto* button = entry.As<ButtonSettings>()) return ForButton(entry, *button);
  if (const auto* edit = entry.As<EditBoxSettings>()) return ForEditBox(entry, *edit);
  if (entry.As<LabelSettings>() != nullptr) return {kLabelClass, ChildStyle(entry), 0};
  return {kDropObjectClass, ChildStyle(entry), 0};
}

UINT LabelDrawTextFlags(const LabelSettings& settings) {
  UINT flags = DT_NOCLIP;
  switch (settings.horizontal) {
    case HorizontalAlignment::Left: flags |= DT_LEFT; break;
    case HorizontalAlignment::Centre: flags |= DT_CENTER; break;
    case HorizontalAlignment::Right: flags |= DT_RIGHT; break;
  }
  switch (settings.vertical) {
    case VerticalAlignment::Top: flags |= DT_TOP; break;
    case VerticalAlignment::Centre: flags |= DT_VCENTER; break;
    case VerticalAlignment::Bottom: flags |= DT_BOTTOM; break;
  }
  // DrawTextA honours the vertical alignment only on a single line.
  flags |= settings.wordWrap ? DT_WORDBREAK : DT_SINGLELINE;
  return flags;
}

}  // namespace icotake
