#pragma once
// How a form entry becomes a window: its class, styles and extended styles, and for a label the
// flags that it draws its text with. Pure functions of the entry's settings.

#include <windows.h>

#include "app/form.h"
#include "shell/drop_object.h"  // kDropObjectClass

namespace icotake {

inline constexpr char kMainWindowClass[] = "IcotakeMainWindow";
inline constexpr char kLabelClass[] = "IcotakeLabel";

struct WindowCreation {
  const char* className;
  DWORD style;  // without WS_VISIBLE: every window is created hidden and shown later
  DWORD exStyle;
};

WindowCreation CreationFor(const FormEntry& entry);

// DT_ flags for a label's DrawTextA: the alignments, and word breaks or a single line.
UINT LabelDrawTextFlags(const LabelSettings& settings);

inline COLORREF ToColorRef(Rgb colour) { return RGB(colour.red, colour.green, colour.blue); }

}  // namespace icotake
