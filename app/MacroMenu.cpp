// Keystroke macros: a definition's target typed into the window in front, and the macro
// menu of a list file, popped up at that window's caret.
#include "app/BusyMark.h"
#include "app/OstrelController.h"
#include "macro/ListFile.h"
#include "macro/SendKeys.h"

namespace ostrel {

std::string RefusedTargetText(const std::string& title, const LeadBytes& lead) {
  const std::string before = "Ostrel could not type into \"", after = "\".";
  return before + lead.Cut(title, kBalloonTextLimit - before.size() - after.size()) + after;
}

std::string SwitchedTargetText(const std::string& title, const LeadBytes& lead) {
  const std::string before = "Ostrel stopped typing into \"",
                    after = "\": another program came in front.";
  return before + lead.Cut(title, kBalloonTextLimit - before.size() - after.size()) + after;
}

void OstrelController::RunMacro(const std::string& text, WindowHandle target) {
  // Whatever else goes wrong inside a macro ends it quietly; a target that refuses the
  // keys is told, or the user would take the half-typed text for all of it.
  // So is a macro stopped because the user brought another program in front: the rest
  // was not typed anywhere.
  try {
    ClipboardPort* clipboard = options_.PasteLong() ? p_.clipboard : nullptr;
    const MacroWay way = options_.SendInput() ? MacroWay::kInput : MacroWay::kPosted;
    // {CLIPBOARD} reads the clipboard whether or not long text is pasted.
    const PlaceholderSources placeholders{p_.clock, p_.clipboard, &p_.system};
    const MacroEnd end = SendKeys(MacroPorts{p_.windows, p_.system, p_.keyboard, p_.codePage,
                                             clipboard, p_.input, placeholders},
                                  text, target, way);
    if (end != MacroEnd::kRefused && end != MacroEnd::kSwitched) return;
    const std::string title = p_.windows.GetWindowTextA(target);
    const LeadBytes lead = SystemLeadBytes(p_.codePage);
    trayIcon_.ShowBalloon(end == MacroEnd::kRefused ? RefusedTargetText(title, lead)
                                                    : SwitchedTargetText(title, lead));
  } catch (...) {
  }
}

namespace {

// The macro of one line: the text after its first "=", none without one.
std::string LineMacro(const std::string& line) {
  const std::size_t eq = line.find('=');
  return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

}  // namespace

std::vector<MenuItem> OstrelController::MacroMenuItems(const std::vector<std::string>& lines,
                                                       std::uint32_t list) {
  std::vector<MenuItem> items;
  for (std::size_t at = 0; at < lines.size(); ++at)
    if (!LineMacro(lines[at]).empty())
      items.push_back(
          CommandItem(ListItemName(lines[at]), 0, {MenuCommand::kMacro, nullptr, at, list}));
  items.push_back(CommandItem("-", 0, {}));
  items.push_back(CommandItem("Quit", 0, {}));
  return items;
}

MenuAnchor OstrelController::MacroMenuAnchor(WindowHandle front) {
  // Just below the line the user writes on: the caret of the window in front, which its
  // thread reports even to another program; the pointer where there is none.
  if (front && front != desktopWnd_) {
    const CaretPlace caret = p_.windows.GetGUIThreadCaret(p_.windows.GetWindowThread(front));
    if (caret.window && p_.windows.IsWindowVisible(caret.window)) {
      const ScreenPoint top =
          p_.windows.ClientToScreen(caret.window, {caret.rect.left, caret.rect.top});
      const ScreenPoint bottom =
          p_.windows.ClientToScreen(caret.window, {caret.rect.left, caret.rect.bottom});
      return MenuAnchor{bottom, top.y};
    }
  }
  const ScreenPoint pointer = p_.windows.GetCursorPos();
  return MenuAnchor{pointer, pointer.y};
}

bool OstrelController::SendKeysMenu(const std::string& target) {
  // A choice still on its way from the menu of the list before finds another list.
  macroList_.clear();
  ++macroListNumber_;
  const std::string path = dataDir_ + target;
  if (!p_.files.Exists(path)) return false;
  ListFileLoad load = LoadListFile(p_.files, path);
  if (!load.error.empty()) {
    p_.view.ShowError(load.error);
    return false;
  }
  macroList_ = std::move(load.lines);
  // The window the line is for: the one in front, or the one the OstrelMenu opened over
  // when the menu is run from there (the foreground may not be back on it yet).
  const WindowHandle front = menuTarget_ ? menuTarget_ : p_.windows.GetForegroundWindow();
  const bool handBack = front != 0 && front != desktopWnd_ && front != p_.view.MainWindow();
  macroMenuTarget_ = handBack ? front : 0;
  const MenuAnchor anchor = MacroMenuAnchor(front);
  p_.view.RenderMacroMenu(MacroMenuItems(macroList_, macroListNumber_));
  p_.system.Sleep(timings_.settleMs);
  p_.view.ProcessMessages();
  // The menu is worked from the keyboard too, so the program comes to the front while
  // it is up; the window that was in front gets the foreground back before a choice
  // arrives and types into it.
  mouseLink_.BringMainToFront(p_.windows.GetForegroundWindow());
  // A menu closed soon after opening with no choice, as a click still on its way can close
  // it, is put up again, a few times at most.
  bool chosen = false;
  for (std::uint32_t shown = 1;; ++shown) {
    const std::uint64_t start = p_.system.TickCount();
    chosen = p_.view.PopupMacroMenu(anchor);
    if (chosen || shown >= timings_.macroMenuShowsAtMost) break;
    p_.system.Sleep(timings_.settleMs);
    if (p_.system.TickCount() - start >= timings_.macroMenuRepopMs) break;
  }
  if (!handBack) return chosen;
  p_.windows.SetForegroundWindow(front);
  // The switch completes in the other program's own time; a choice waiting in the queue
  // must not type before it has.
  for (std::uint32_t waited = 0;
       waited < timings_.foregroundWaitMs && p_.windows.GetForegroundWindow() != front;
       waited += timings_.foregroundPollMs)
    p_.system.Sleep(timings_.foregroundPollMs);
  return chosen;
}

void OstrelController::SendKeysMenuClick(const MenuChoice& choice) {
  // The item types its own line, whatever names the others share with it; one of a menu
  // built from an earlier list, or of a list since cleared, types nothing, as its
  // position no longer names its line.
  const bool current = choice.list == macroListNumber_ && choice.line < macroList_.size();
  const std::string macro = current ? LineMacro(macroList_[choice.line]) : std::string();
  // Typing pumps messages: a hotkey pressed meanwhile is dropped, as during any action.
  BusyMark busy(dispatchBusy_);
  // The window the menu was shown for, while it is there; else the one in front.
  const WindowHandle target = macroMenuTarget_ && p_.windows.IsWindow(macroMenuTarget_)
                                  ? macroMenuTarget_
                                  : p_.windows.GetForegroundWindow();
  // The window has just got the foreground back, and gives the focus to its control
  // only when it gets to it: let it catch up first, or the first key can land on the
  // frame window and be lost.
  WaitForIdle(MacroPorts{p_.windows, p_.system, p_.keyboard, p_.codePage}, target);
  RunMacro(macro, target);
}

}  // namespace ostrel
