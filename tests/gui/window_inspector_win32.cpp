// window-inspector.exe: reports another program's top-level window and its child windows as
// JSON, for the end-to-end tests of icotake-gui.exe. Titles are given as hex bytes (code page
// 936), so that no command line conversion stands between the test and the window.
//
//   window-inspector tree TITLE-HEX [TIMEOUT-MS]   wait for a visible window, print its tree
//   window-inspector gone TITLE-HEX TIMEOUT-MS     wait until no such window exists
//   window-inspector hit TITLE-HEX HITCODE         a screen point of the window where
//                                                  WM_NCHITTEST answers HITCODE (20: close box)
// A control's font and the window's icons are not in the report: asked from another process, Wine
// answers WM_GETFONT and WM_GETICON with 0 (gui_window_tests.exe checks them in its own process).
//
// Exit code 0 on success, 1 when the window did not appear (or go), 2 on bad arguments.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string HexBytes(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char byte : bytes) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 15];
  }
  return hex;
}

bool ParseHex(const char* hex, std::string& bytes) {
  const std::string text(hex);
  if (text.size() % 2 != 0) return false;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    unsigned value = 0;
    if (std::sscanf(text.c_str() + i, "%2x", &value) != 1) return false;
    bytes += static_cast<char>(value);
  }
  return true;
}

// The text through WM_GETTEXT: for another process's edit box GetWindowTextA gives only the
// caption stored at creation.
std::string WindowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return {};
  std::vector<char> buffer(length + 2, '\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                      SMTO_ABORTIFHUNG, 2000, &copied);
  return std::string(buffer.data(), copied);
}

std::string ClassName(HWND window) {
  char name[256] = {};
  const int length = GetClassNameA(window, name, sizeof name);
  return std::string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

struct TitleSearch {
  const std::string* title;
  HWND found;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<TitleSearch*>(parameter);
  if (!IsWindowVisible(window) || WindowText(window) != *search->title) return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindVisibleWindow(const std::string& title) {
  TitleSearch search{&title, nullptr};
  EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(const std::string& title, DWORD timeout) {
  const ULONGLONG end = GetTickCount64() + timeout;
  for (;;) {
    if (HWND window = FindVisibleWindow(title)) return window;
    if (GetTickCount64() >= end) return nullptr;
    Sleep(50);
  }
}

std::string Hex32(ULONG_PTR value) {
  char text[32];
  std::snprintf(text, sizeof text, "\"0x%08lx\"", static_cast<unsigned long>(value));
  return text;
}

std::string Handle(HWND window) {
  char text[32];
  std::snprintf(text, sizeof text, "\"%p\"", static_cast<void*>(window));
  return text;
}

std::string Rect(const RECT& r) {
  char text[96];
  std::snprintf(text, sizeof text, "[%ld, %ld, %ld, %ld]", r.left, r.top, r.right - r.left, r.bottom - r.top);
  return text;
}

std::string Describe(HWND window, HWND parent, HWND focus) {
  RECT outer;
  GetWindowRect(window, &outer);
  RECT relative = outer;  // a control's rectangle in its parent's client area
  if (parent != nullptr) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&relative), 2);
  RECT client;
  GetClientRect(window, &client);
  POINT clientOrigin{0, 0};
  ClientToScreen(window, &clientOrigin);
  OffsetRect(&client, clientOrigin.x, clientOrigin.y);

  std::string json = "{";
  json += "\"handle\": " + Handle(window);
  json += ", \"class\": \"" + ClassName(window) + "\"";
  json += ", \"text\": \"" + HexBytes(WindowText(window)) + "\"";
  json += ", \"rect\": " + Rect(relative);
  json += ", \"screen\": " + Rect(outer);
  json += ", \"client\": " + Rect(client);
  json += ", \"style\": " + Hex32(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)));
  json += ", \"exstyle\": " + Hex32(static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)));
  json += ", \"class_style\": " + Hex32(GetClassLongPtrA(window, GCL_STYLE));
  json += ", \"id\": " + std::to_string(GetDlgCtrlID(window));
  json += ", \"visible\": " + std::string(IsWindowVisible(window) ? "true" : "false");
  json += ", \"enabled\": " + std::string(IsWindowEnabled(window) ? "true" : "false");
  json += ", \"focus\": " + std::string(window == focus ? "true" : "false");
  return json;
}

int PrintTree(HWND top) {
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &thread);
  std::string json = Describe(top, nullptr, thread.hwndFocus);
  json += ", \"active\": " + std::string(thread.hwndActive == top ? "true" : "false");
  json += ", \"screen_size\": [" + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + ", " +
          std::to_string(GetSystemMetrics(SM_CYSCREEN)) + "]";
  json += ", \"children\": [";
  bool first = true;
  // GW_CHILD, then GW_HWNDNEXT: the stacking order, top first.
  for (HWND child = GetWindow(top, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    json += first ? "\n  " : ",\n  ";
    json += Describe(child, top, thread.hwndFocus) + "}";
    first = false;
  }
  json += "]}\n";
  std::fputs(json.c_str(), stdout);
  return 0;
}

// Scans the caption from the right for a point with the hit-test code asked for.
int PrintHitPoint(HWND top, LRESULT code) {
  RECT outer;
  GetWindowRect(top, &outer);
  RECT client;
  GetClientRect(top, &client);
  POINT origin{0, 0};
  ClientToScreen(top, &origin);
  for (LONG y = outer.top; y < origin.y; ++y) {
    for (LONG x = outer.right - 1; x >= outer.left; --x) {
      DWORD_PTR hit = 0;
      SendMessageTimeoutA(top, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 2000, &hit);
      if (static_cast<LRESULT>(hit) == code) {
        // The middle of that run of points on this row, clear of its edges.
        LONG left = x;
        for (;;) {
          SendMessageTimeoutA(top, WM_NCHITTEST, 0, MAKELPARAM(left - 1, y), SMTO_ABORTIFHUNG, 2000, &hit);
          if (static_cast<LRESULT>(hit) != code) break;
          --left;
        }
        std::printf("%ld %ld\n", (left + x) / 2, y + 3);
        return 0;
      }
    }
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string command = argv[1];
  std::string title;
  if (!ParseHex(argv[2], title)) return 2;
  const DWORD timeout = argc > 3 ? static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)) : 0;
  if (command == "tree") {
    HWND top = WaitForWindow(title, timeout);
    return top != nullptr ? PrintTree(top) : 1;
  }
  if (command == "gone") {
    const ULONGLONG end = GetTickCount64() + timeout;
    while (FindVisibleWindow(title) != nullptr) {
      if (GetTickCount64() >= end) return 1;
      Sleep(50);
    }
    return 0;
  }
  if (command == "hit" && argc > 3) {
    HWND top = WaitForWindow(title, 5000);
    return top != nullptr ? PrintHitPoint(top, static_cast<LRESULT>(std::strtol(argv[3], nullptr, 10))) : 1;
  }
  return 2;
}
