#include "toolkit/WindowChain.h"

#include <algorithm>
#include <cstddef>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace ostrel::tk {
namespace {

struct Link {
  const void* key;
  std::shared_ptr<const ChainedProc> proc;
};
struct Chain {
  WNDPROC first = nullptr;
  std::vector<Link> links;
};

std::map<HWND, Chain>& Chains() {
  static std::map<HWND, Chain> chains;
  return chains;
}

bool Linked(HWND wnd, const Link& link) {
  auto it = Chains().find(wnd);
  if (it == Chains().end()) return false;
  return std::any_of(it->second.links.begin(), it->second.links.end(),
                     [&](const Link& l) { return l.key == link.key && l.proc == link.proc; });
}

LRESULT CallFrom(HWND wnd, WNDPROC first, const std::vector<Link>& links, int index, UINT msg,
                 WPARAM wp, LPARAM lp) {
  while (index >= 0 && !Linked(wnd, links[static_cast<std::size_t>(index)])) --index;
  if (index < 0) return CallWindowProcA(first, wnd, msg, wp, lp);
  const PassOn previous = [=, &links] {
    return CallFrom(wnd, first, links, index - 1, msg, wp, lp);
  };
  return (*links[static_cast<std::size_t>(index)].proc)(wnd, msg, wp, lp, previous);
}

LRESULT CALLBACK ChainProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto it = Chains().find(wnd);
  if (it == Chains().end()) return DefWindowProcA(wnd, msg, wp, lp);
  const WNDPROC first = it->second.first;
  if (msg == WM_NCDESTROY) {
    // The window goes before the parties: they find no chain to leave.
    SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(first));
    Chains().erase(it);
    return CallWindowProcA(first, wnd, msg, wp, lp);
  }
  // A snapshot, which also keeps each procedure alive while it runs: links may go
  // meanwhile.
  const std::vector<Link> links = it->second.links;
  return CallFrom(wnd, first, links, static_cast<int>(links.size()) - 1, msg, wp, lp);
}

}  // namespace

void ChainWindowProc(HWND wnd, const void* key, ChainedProc proc) {
  if (!wnd || !IsWindow(wnd)) return;
  auto it = Chains().find(wnd);
  if (it == Chains().end()) {
    Chain chain;
    chain.first = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(wnd, GWLP_WNDPROC));
    it = Chains().emplace(wnd, chain).first;
    SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChainProc));
  }
  it->second.links.push_back({key, std::make_shared<const ChainedProc>(std::move(proc))});
}

void UnchainWindowProc(HWND wnd, const void* key) {
  auto it = Chains().find(wnd);
  if (it == Chains().end()) return;
  auto& links = it->second.links;
  links.erase(std::remove_if(links.begin(), links.end(), [&](const Link& l) { return l.key == key; }),
              links.end());
  if (!links.empty()) return;
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(wnd, GWLP_WNDPROC)) != &ChainProc) return;
  SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.first));
  Chains().erase(it);
}

}  // namespace ostrel::tk
