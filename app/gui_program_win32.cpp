#include "app/gui_program_win32.h"

#include <ole2.h>

#include <string>
#include <string_view>

#include "app/ending.h"
#include "app/fatal_error.h"
#include "app/form.h"
#include "app/handlers_win32.h"
#include "app/live_windows_win32.h"
#include "app/main_window_win32.h"
#include "app/program_texts.h"

namespace icotake {
namespace {

// What the end (or FatalError) gives back; one GUI thread.
bool oleInitialised = false;
MainWindow* mainWindow = nullptr;

// Steps of the end that FatalError shares: the icon handles, then OLE.
void ReleaseProgram() {
  if (mainWindow != nullptr) DestroyProgramIcons(*mainWindow);
  if (oleInitialised) {
    OleUninitialize();
    oleInitialised = false;
  }
}

// Relative paths typed into the edit box are then resolved against the program's own folder,
// whatever folder the program was started from.
void MakeProgramFolderCurrent() {
  char path[MAX_PATH];
  const DWORD size = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (size == 0 || size >= MAX_PATH) return;  // failed, or cut short
  const std::string_view full(path, size);
  const std::size_t cut = full.rfind('\\');
  if (cut == std::string_view::npos) return;
  std::string folder(full.substr(0, cut));
  // "C:" alone would name the current folder of drive C, not its root.
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';
  SetCurrentDirectoryA(folder.c_str());
}

int RunMessageLoop(MainWindow& window, IdleWork idleWork) {
  SetLoopStarted();
  if (!AnyLiveWindow()) return 0;
  MSG message;
  for (;;) {
    // The idle check: GetMessageA then waits, so an empty queue costs no processor time.
    if (idleWork != nullptr && !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) idleWork();
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);  // WM_QUIT
    if (got == -1) return -1;
    if (window.HandleKeyboard(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace

int RunGuiProgram(HINSTANCE instance, IdleWork idleWork) {
  SetFatalErrorCleanup(ReleaseProgram);
  // 1. Every text comes from the process heap (text_heap_win32.cpp).
  // 2. OLE's single-threaded apartment, for the drop target and the shell-link object.
  if (!oleInitialised) oleInitialised = SUCCEEDED(OleInitialize(nullptr));
  // 3.
  MakeProgramFolderCurrent();
  // 4.
  const std::optional<Form> form = LoadMainForm();
  if (!form) FatalError(texts::kFormNotLoaded);
  // 5.
  MainWindow window(*form, RunHandler);
  mainWindow = &window;
  if (!window.Build(instance)) FatalError(texts::kWindowNotBuilt);
  // 6.
  const int exitCode = RunMessageLoop(window, idleWork);
  // 7. The end: no handler runs from here on.
  RaiseEnding();
  ReleaseProgram();
  mainWindow = nullptr;
  return exitCode;
}

}  // namespace icotake
