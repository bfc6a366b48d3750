#include "toolkit/Accessible.h"

// The service's class and interface ids are defined in this file alone.
#include <initguid.h>

#include <oleacc.h>

namespace ostrel::tk {

bool SetAccessibleName(HWND control, const std::string& name, LONG child) {
  if (!control) return false;
  const int length = MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, nullptr, 0);
  if (length <= 0) return false;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, wide.data(), length);
  IAccPropServices* service = nullptr;
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IAccPropServices, reinterpret_cast<void**>(&service))) ||
      !service)
    return false;
  const HRESULT set = service->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT),
                                              static_cast<DWORD>(child), PROPID_ACC_NAME,
                                              wide.c_str());
  service->Release();
  return SUCCEEDED(set);
}

}  // namespace ostrel::tk
