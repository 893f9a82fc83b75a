#include "app/handlers_win32.h"

#include "app/extract_driver.h"
#include "app/program_texts.h"
#include "shell/web_address.h"

namespace icotake {

void OnWindowCreated(MainWindow& window) {
  // Registering window.handle() as the OLE drop target of 拖放对象1 (RegisterDropWindow, with the
  // drop target in shell/) belongs here; until it comes the window takes no drops, and a path is
  // typed into the edit box.
  static_cast<void>(window);
}

void OnFilesDropped(MainWindow& window, const Text& paths) {
  window.SetControlVisible(texts::kExtractButtonName);
  window.SetEditBoxText(texts::kEditBoxName, paths);
}

void OnExtractClicked(MainWindow& window) {
  OnExtractClicked([&window] { return window.ReadEditBoxText(texts::kEditBoxName); });
}

void OnOpenSiteClicked(MainWindow&) { OpenWebAddress(texts::kAuthorWebSite); }

void RunHandler(MainWindow& window, Handler handler, const Text& text) {
  switch (handler) {
    case Handler::OnWindowCreated: OnWindowCreated(window); return;
    case Handler::OnFilesDropped: OnFilesDropped(window, text); return;
    case Handler::OnExtractClicked: OnExtractClicked(window); return;
    case Handler::OnOpenSiteClicked: OnOpenSiteClicked(window); return;
  }
}

}  // namespace icotake
