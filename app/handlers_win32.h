#pragma once
// The main window's handlers, run by its event dispatch on the GUI thread.

#include "app/main_window_win32.h"

namespace icotake {

// Created event of the window, before it is first shown: where the window is registered as the
// drop object's OLE drop target.
void OnWindowCreated(MainWindow& window);
// FilesDropped of 拖放对象1: the dropped paths go into the edit box as they come.
void OnFilesDropped(MainWindow& window, const Text& paths);
// Click of 按钮1: the extraction driver on the edit box's text, read afresh in every pass.
void OnExtractClicked(MainWindow& window);
// Click of 按钮2: the author's web site in the browser.
void OnOpenSiteClicked(MainWindow& window);

// The HandlerRunner of the program: each Handler to its function above.
void RunHandler(MainWindow& window, Handler handler, const Text& text);

}  // namespace icotake
