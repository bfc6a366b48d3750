// The names of a banner menu's owner-drawn items for assistive technology. An
// owner-drawn item has no text a screen reader can find unless its item data starts with
// the structure Windows defines for this (MSAAMENUINFO: a signature, the length and the
// text in UTF-16), so every item the component draws carries a block of this class as
// its item data, with MSAAMENUINFO at the address handed over. The component keeps the
// blocks and knows its own items by their addresses alone: data of another instance or
// of the host is compared, never followed. A block lives until Clear, which the
// component calls once its items are string items again.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "platform/CodePagePort.h"

// MinGW's oleacc.h lacks these; the values are the platform's.
#ifndef MSAA_MENU_SIG
#define MSAA_MENU_SIG 0xAA0DF00DL
typedef struct tagMSAAMENUINFO {
  DWORD dwMSAASignature;
  DWORD cchWText;  // characters, without the terminating zero
  LPWSTR pszWText;
} MSAAMENUINFO, *LPMSAAMENUINFO;
#endif

namespace ostrel {

class TMenuItemNames97 {
 public:
  explicit TMenuItemNames97(CodePagePort& codePage) : codePage_(codePage) {}
  TMenuItemNames97(const TMenuItemNames97&) = delete;
  TMenuItemNames97& operator=(const TMenuItemNames97&) = delete;

  // The item data naming the item at `pos` of `menu`, whose string is `text` (ANSI). An
  // item named before keeps its block, with the text brought up to date.
  ULONG_PTR Name(HMENU menu, int pos, std::string_view text);
  // Whether `data` is one of this instance's blocks.
  bool Owns(ULONG_PTR data) const { return data && addresses_.count(data) != 0; }
  void Clear();

 private:
  struct Block {
    MSAAMENUINFO info;
    std::wstring text;
  };
  CodePagePort& codePage_;
  std::map<std::pair<HMENU, int>, std::unique_ptr<Block>> blocks_;
  std::unordered_set<ULONG_PTR> addresses_;
};

}  // namespace ostrel
