// The companion mouse-watch library OLWATCH.DLL and the shared block "OLShare.DTA" it
// creates. The library is loaded on first use: without it, mouse activation is simply
// unavailable.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/HookLibraryProtocol.h"

namespace ostrel {

class HookLibraryPort {
 public:
  virtual ~HookLibraryPort() = default;
  // Loads the library if need be and calls DLLATTACH; false when it cannot be loaded.
  virtual bool DllAttach() = 0;
  // Calls DLLDETACH of a loaded library.
  virtual void DllDetach() = 0;
  // OpenFileMappingA(FILE_MAP_WRITE, "OLShare.DTA") and MapViewOfFile of the whole
  // block; the view stays mapped. False when either fails.
  virtual bool MapSharedBlock() = 0;
  // Writes a 32-bit value into the mapped view.
  virtual void WriteShared(std::size_t offset, std::uint32_t value) = 0;
};

}  // namespace ostrel
