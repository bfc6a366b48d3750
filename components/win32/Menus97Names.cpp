#include "components/win32/Menus97Names.h"

#include "components/MenuItemNames.h"

namespace ostrel {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 text is handed over as it is");

ULONG_PTR TMenuItemNames97::Name(HMENU menu, int pos, std::string_view text) {
  std::unique_ptr<Block>& block = blocks_[{menu, pos}];
  if (!block) block = std::make_unique<Block>();
  const std::u16string spoken = SpokenMenuText(text, codePage_);
  block->text.assign(reinterpret_cast<const wchar_t*>(spoken.data()), spoken.size());
  block->info.dwMSAASignature = MSAA_MENU_SIG;
  block->info.cchWText = static_cast<DWORD>(block->text.size());
  block->info.pszWText = block->text.data();
  const auto address = reinterpret_cast<ULONG_PTR>(&block->info);
  addresses_.insert(address);
  return address;
}

void TMenuItemNames97::Clear() {
  addresses_.clear();
  blocks_.clear();
}

}  // namespace ostrel
