#include <windows.h>
#include <objbase.h>
#include <ole2.h>
#include <shlobj.h>
#include <wrl/client.h>

#include "tests/shell_platform.h"

namespace icotake::test {

OleApartment::OleApartment() : initialised_(SUCCEEDED(OleInitialize(nullptr))) {}

OleApartment::~OleApartment() {
  if (initialised_) OleUninitialize();
}

bool RunningUnderWine() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::vector<ShortcutBackend> ShortcutBackends() {
  return {{"reader", LoadShellLinkFile}, {"shell", LoadWin32ShellLink}};
}

bool SaveWithShellLinkObject(const std::string& shortcutPath, const ShortcutSettings& settings) {
  using Microsoft::WRL::ComPtr;
  ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(link.GetAddressOf())))) {
    return false;
  }
  // SetPath answers S_FALSE for a target that does not exist, and stores it all the same.
  if (FAILED(link->SetPath(settings.path.c_str()))) return false;
  if (!settings.arguments.empty() && FAILED(link->SetArguments(settings.arguments.c_str()))) return false;
  if (!settings.workingFolder.empty() && FAILED(link->SetWorkingDirectory(settings.workingFolder.c_str()))) {
    return false;
  }
  if (!settings.iconPath.empty() && FAILED(link->SetIconLocation(settings.iconPath.c_str(), settings.iconIndex))) {
    return false;
  }
  if (settings.showCommand != 0 && FAILED(link->SetShowCmd(settings.showCommand))) return false;
  if (settings.hotKey != 0 && FAILED(link->SetHotkey(settings.hotKey))) return false;
  if (!settings.description.empty() && FAILED(link->SetDescription(settings.description.c_str()))) return false;

  ComPtr<IPersistFile> file;
  if (FAILED(link.As(&file))) return false;
  wchar_t wide[MAX_PATH];
  if (MultiByteToWideChar(CP_ACP, 0, shortcutPath.c_str(), -1, wide, MAX_PATH) == 0) return false;
  return SUCCEEDED(file->Save(wide, TRUE));
}

}  // namespace icotake::test
