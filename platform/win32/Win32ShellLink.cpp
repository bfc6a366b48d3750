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
  // The path first: one that does not fit, or does not convert, is no link at all (a
  // cut path would save the link somewhere else).
  WCHAR wide[MAX_PATH] = {};
  if (linkPath.empty() ||
      MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH) == 0)
    return false;
  IShellLinkA* made = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&made))) ||
      !made)
    return false;
  ComPtr<IShellLinkA> shellLink(made);
  IPersistFile* persist = nullptr;
  if (FAILED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) ||
      !persist)
    return false;
  // Released before the shell link object.
  ComPtr<IPersistFile> file(persist);
  if (FAILED(shellLink->SetPath(link.path.c_str())) ||
      FAILED(shellLink->SetDescription(link.description.c_str())) ||
      FAILED(shellLink->SetArguments(link.arguments.c_str())) ||
      FAILED(shellLink->SetWorkingDirectory(link.workingDirectory.c_str())) ||
      FAILED(shellLink->SetShowCmd(link.showCmd)))
    return false;
  return SUCCEEDED(file->Save(wide, TRUE));
}

}  // namespace ostrel
