#pragma once
// The usage label's own window class: text drawn with DrawTextA over the dialog face colour.

#include <windows.h>

#include "app/form.h"

namespace icotake {

bool RegisterLabelClass(HINSTANCE instance);

// What a label keeps besides its text: given through CreateWindowExA's creation parameter.
struct LabelLook {
  COLORREF textColour;
  UINT drawTextFlags;
};

}  // namespace icotake
