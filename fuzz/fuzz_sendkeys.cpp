// Any macro, typed into a small fake desktop that misbehaves as the first bytes say: the
// focus moving, missing or in another thread, the target going away mid-macro, the key
// state refused, a window refusing the keys, a platform call failing; read in a single-
// byte code page or in 932 (Japanese), into an ANSI or a Unicode window. Reading never
// runs past the text or stops inside a double-byte character, every posted message
// carries well-formed parameters, and whatever happens the key state is restored and
// the input states are parted.
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "fakes/FakeCodePage.h"
#include "fakes/FakeKeyboard.h"
#include "fakes/RecordingPorts.h"
#include "macro/MacroTokens.h"
#include "macro/SendKeys.h"

using namespace ostrel;
using namespace ostrel::testing;

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

constexpr WindowHandle kTarget = 100, kEdit = 101, kEdit2 = 102, kDialog = 110, kOther = 200;
constexpr int kPostBudget = 300;  // then a post fails, ending huge repeat counts

void CheckPost(std::uint32_t msg, std::uintptr_t wp, std::intptr_t lp) {
  auto l = static_cast<std::uint64_t>(lp);
  Check(l <= 0xFFFFFFFFu && wp <= 0xFF);
  Check((l & 0x01000000) == 0);  // never an extended key
  std::uint32_t top = static_cast<std::uint32_t>(l >> 29);
  switch (msg) {
    case 0x100:  // WM_KEYDOWN
    case 0x102:  // WM_CHAR
      Check(top == 0 && (l & 0xFFFF) == 1);
      break;
    case 0x101:  // WM_KEYUP
      Check(top == 6 && (l & 0xFFFF) == 1);
      break;
    case 0x104:  // WM_SYSKEYDOWN
      Check(top == 1 && (l & 0xFFFF) == 1);
      break;
    case 0x105:  // WM_SYSKEYUP: the key's with context, the Alt key's without
      Check((top == 7 || (top == 6 && wp == 0x12)) && (l & 0xFFFF) == 1);
      break;
    default:
      Check(false);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const std::uint8_t flags = data[0], disappearAfter = data[1], refuse = data[2];
  std::string text(reinterpret_cast<const char*>(data + 3), size - 3);

  // The reader alone: every token moves forward and stays inside the text; in code page
  // 932 it ends between two characters.
  const bool cp932 = (refuse & 0x08) != 0;
  const LeadBytes lead = cp932 ? LeadBytes::Of(IsLead932) : LeadBytes();
  std::vector<bool> boundary(text.size() + 1, false);
  for (std::size_t pos = 0; pos < text.size(); pos += lead.CharSize(text, pos)) boundary[pos] = true;
  boundary[text.size()] = true;
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t before = pos;
    MacroToken t = ReadMacroToken(text, pos, lead);
    Check(pos > before && pos <= text.size() && boundary[pos]);
    if (t.kind == MacroTokenKind::kCharacter && text[before] == '{')
      Check(!(t.code >= 'a' && t.code <= 'z'));
    if (t.kind == MacroTokenKind::kCharacter) Check(!lead.IsLead(t.code));
    if (t.kind == MacroTokenKind::kDoubleByte) Check(lead.IsLead(t.code) && t.trail >= 0x40);
    if (t.kind == MacroTokenKind::kUnicode)
      Check(t.unicode > 0 && t.unicode <= 0x10FFFF && (t.unicode < 0xD800 || t.unicode > 0xDFFF));
  }

  // Only the calls checked below are kept: a slow input shows as slow, not out of memory.
  CallLog log;
  log.keep = [](const std::string& call) { return call.rfind("AttachThreadInput ", 0) == 0; };
  FakeWindows windows(log);
  FakeSystem system(log);
  FakeKeyboard keyboard(log);
  keyboard.logSets = false;
  FakeCodePage codePage;
  codePage.codePage932 = cp932;
  windows.windows[kEdit].unicode = (refuse & 0x10) != 0;
  windows.windows[kEdit2].refusesPosts = (refuse & 0x20) != 0;
  for (WindowHandle w : {kTarget, kEdit, kEdit2, kDialog}) {
    windows.windows[w].thread = 9;
    windows.windows[w].process = 90;
  }
  windows.windows[kOther].thread = 5;
  windows.focus = flags & 0x10 ? 0 : flags & 0x20 ? kOther : kEdit;
  if (flags & 0x80) windows.windows[kTarget].popup = kDialog;
  if (flags & 0x40) windows.onActivate = [&](WindowHandle) { windows.focus = kEdit; };
  keyboard.refuseSets = refuse & 7;
  keyboard.refuseAllSets = (flags & 0x08) != 0;
  KeyState before{};
  for (std::size_t i = 0; i < before.size(); ++i)
    before[i] = static_cast<std::uint8_t>(i * 37 + refuse);
  keyboard.state = before;
  // The user may still hold some of the modifiers when the macro ends, or have let go.
  constexpr std::uint8_t kModifiers[] = {0x10, 0x11, 0x12, 0xA0, 0xA1, 0xA2,
                                         0xA3, 0xA4, 0xA5, 0x5B, 0x5C};
  for (std::size_t i = 0; i < std::size(kModifiers); ++i)
    if ((disappearAfter >> (i % 8)) & 1) keyboard.held[kModifiers[i]] = true;

  int posts = 0;
  bool refused = false;
  windows.onPostW = [&](WindowHandle w, std::uint32_t msg, std::uintptr_t wp, std::intptr_t lp) {
    // Only characters go as UTF-16, and only to a Unicode window.
    Check(msg == 0x102 && wp <= 0xFFFF && lp == 1 && windows.IsWindowUnicode(w));
    refused = refused || windows.windows[w].refusesPosts;
    if (++posts >= kPostBudget) throw std::runtime_error("queue full");
  };
  windows.onPost = [&](WindowHandle w, std::uint32_t msg, std::uintptr_t wp, std::intptr_t lp) {
    refused = refused || (windows.windows[w].refusesPosts && windows.IsWindow(w));
    CheckPost(msg, wp, lp);
    Check(w != 0);
    if (++posts >= kPostBudget) throw std::runtime_error("queue full");
    if ((flags & 0x02) && posts == disappearAfter) windows.windows[kTarget].exists = false;
    if ((flags & 0x01) && msg == 0x100 && (wp == 0x09 || wp == 0x0D))
      windows.focus = windows.focus == kEdit ? kEdit2 : windows.focus == kEdit2 ? 0 : kEdit;
  };

  const MacroEnd end = SendKeys(MacroPorts{windows, system, keyboard, codePage}, text, kTarget);
  // Refused only where a window that was there refused a key.
  if (end == MacroEnd::kRefused) Check(refused);

  // Restored, but for a modifier shown down that the user has let go: that one comes
  // back up, so it cannot stick in the target. Where the system refused the last write,
  // nothing the macro set may have stayed. Parted as often as joined, the parting last.
  KeyState expected = before;
  if (keyboard.lastSetTaken)
    for (std::uint8_t vk : kModifiers)
      if (!keyboard.held[vk]) expected[vk] &= 0x7F;
  Check(keyboard.state == expected);
  int joins = 0, parts = 0;
  std::string last;
  for (const std::string& c : log.calls)
    if (c.rfind("AttachThreadInput ", 0) == 0) {
      (c.back() == '1' ? joins : parts)++;
      last = c;
    }
  Check(joins >= 1 && joins == parts && last == "AttachThreadInput 42 9 0");
  return 0;
}
