#include "platform/win32/Win32ShellLink.h"

#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <memory>

namespace ostrel {

namespace {

struct ComRelease {
  void operator()(IUnknown* p) const { p->Release(); }
};
template <typename T>
using ComPtr = std::unique_ptr<T, ComRelease>;

}  // namespace

bool Win32ShellLink::CreateDirectoryA(const std::string& path) {
  return ::CreateDirectoryA(path.c_str(), nullptr) != 0;
}

bool Win32ShellLink::SaveShellLink(const std::string& linkPath, const ShellLinkData& link) {
  IShellLinkA* made = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&made))) ||
      !made)
    return false;
  ComPtr<IShellLinkA> shellLink(made);
  IPersistFile* persist = nullptr;
  shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist));
  // Released before the shell link object.
  ComPtr<IPersistFile> file(persist);
  shellLink->SetPath(link.path.c_str());
  shellLink->SetDescription(link.description.c_str());
  shellLink->SetArguments(link.arguments.c_str());
  shellLink->SetWorkingDirectory(link.workingDirectory.c_str());
  shellLink->SetShowCmd(link.showCmd);
  if (!file) return true;
  WCHAR wide[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH);
  file->Save(wide, TRUE);
  return true;
}

}  // namespace ostrel
