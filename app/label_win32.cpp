#include "app/label_win32.h"

#include "app/control_styles_win32.h"
#include "app/text.h"

namespace icotake {
namespace {

// The label's extra window bytes.
constexpr int kFontSlot = 0;
constexpr int kColourSlot = sizeof(LONG_PTR);
constexpr int kFlagsSlot = 2 * sizeof(LONG_PTR);
constexpr int kExtraBytes = 3 * sizeof(LONG_PTR);

void Paint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (dc == nullptr) return;
  FillRect(dc, &paint.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
  auto font = reinterpret_cast<HFONT>(GetWindowLongPtrA(window, kFontSlot));
  HGDIOBJ oldFont = font != nullptr ? SelectObject(dc, font) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, static_cast<COLORREF>(GetWindowLongPtrA(window, kColourSlot)));
  const int length = GetWindowTextLengthA(window);
  if (length > 0) {
    TextBytes text(static_cast<std::size_t>(length), '\0');
    const int read = GetWindowTextA(window, text.data(), length + 1);
    RECT client;
    GetClientRect(window, &client);
    DrawTextA(dc, text.data(), read, &client, static_cast<UINT>(GetWindowLongPtrA(window, kFlagsSlot)));
  }
  if (oldFont != nullptr) SelectObject(dc, oldFont);
  EndPaint(window, &paint);
}

LRESULT CALLBACK LabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      if (const auto* look = static_cast<const LabelLook*>(create->lpCreateParams)) {
        SetWindowLongPtrA(window, kColourSlot, static_cast<LONG_PTR>(look->textColour));
        SetWindowLongPtrA(window, kFlagsSlot, static_cast<LONG_PTR>(look->drawTextFlags));
      }
      break;
    }
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT fills the background itself
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_SETFONT:
      SetWindowLongPtrA(window, kFontSlot, static_cast<LONG_PTR>(wParam));
      if (LOWORD(lParam) != 0) InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return GetWindowLongPtrA(window, kFontSlot);
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
      InvalidateRect(window, nullptr, TRUE);
      return result;
    }
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool RegisterLabelClass(HINSTANCE instance) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = LabelProc;
  windowClass.cbWndExtra = kExtraBytes;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kLabelClass;
  return RegisterClassExA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace icotake
