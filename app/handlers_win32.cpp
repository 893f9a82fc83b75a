#include "app/handlers_win32.h"

#include "app/extract_driver.h"
#include "app/program_texts.h"
#include "shell/web_address.h"

namespace icotake {

void OnWindowCreated(MainWindow& window) {
  // A failed registration goes unnoticed: the window then takes no drops, and a path can still be
  // typed into the edit box.
  RegisterDropWindow(window.FindDropObject(texts::kDropObjectName), window.handle());
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
