// Fakes of the controller's ports that record every call as one line of text, so a
// test can assert the exact order of what the program asked of the platform.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/MainView.h"
#include "components/SysHotKey.h"
#include "components/TrayIcon.h"
#include "platform/HookLibraryPort.h"
#include "platform/ShellPort.h"
#include "platform/SystemPort.h"
#include "platform/WindowPort.h"

namespace ostrel::testing {

class CallLog {
 public:
  std::vector<std::string> calls;
  // When set, only the calls it keeps are recorded: a long run then costs no memory.
  std::function<bool(const std::string&)> keep;
  void Add(std::string call) {
    if (!keep || keep(call)) calls.push_back(std::move(call));
  }
};

class RecordingView : public MainView {
 public:
  explicit RecordingView(CallLog& log) : log_(log) {}
  WindowHandle handle = 500;
  std::string helpText;
  std::string status;
  std::vector<TreeNode> tree;
  std::vector<MenuItem> menu;
  int selected = -1;  // index into `tree`
  bool dispatchTimer = false;
  // Runs inside ProcessMessages, as messages waiting in the queue would.
  std::function<void()> pendingMessages;
  // Runs inside PopupMenu, while the menu is up.
  std::function<void()> whileMenuUp;
  std::vector<MenuItem> macroMenu;
  // Runs inside PopupMacroMenu, while the macro menu is up; says whether a line was chosen.
  std::function<bool()> whileMacroMenuUp;
  // The start-up option boxes by Tag, and the application's bound minimise events.
  std::map<int, bool> options;
  std::function<void()> minimizeEvents;

  WindowHandle MainWindow() override { return handle; }
  void SetHelpText(const std::string& text) override {
    helpText = text;
    log_.Add("helpText");
  }
  void SetShowMainForm(bool show) override {
    log_.Add(std::string("showMainForm ") + (show ? "1" : "0"));
  }
  void SetSetupTimer(bool on) override {
    log_.Add(std::string("setupTimer ") + (on ? "on" : "off"));
  }
  void SetDispatchTimer(bool on) override {
    dispatchTimer = on;
    log_.Add(std::string("dispatchTimer ") + (on ? "on" : "off"));
  }
  void InstallMessageFilter() override { log_.Add("filter"); }
  void SetHintTimes(int pauseMs, int hidePauseMs) override {
    log_.Add("hints " + std::to_string(pauseMs) + " " + std::to_string(hidePauseMs));
  }
  void RestoreConfigWindow() override {
    log_.Add("restore");
    if (minimizeEvents) minimizeEvents();
  }
  // As the toolkit does, minimising and restoring run the bound minimise events.
  void MinimizeApp() override {
    log_.Add("minimize");
    if (minimizeEvents) minimizeEvents();
  }
  void BindMinimizeEvents(std::function<void()> handler) override {
    minimizeEvents = std::move(handler);
    log_.Add("bindMinimize");
  }
  bool OptionChecked(int tag) override { return options[tag]; }
  void SetOptionChecked(int tag, bool checked) override {
    options[tag] = checked;
    log_.Add("check " + std::to_string(tag) + " " + (checked ? "1" : "0"));
  }
  // A click on an option box: the box toggles, then the click handler runs.
  void ClickOption(int tag, const std::function<void(int)>& clickHandler) {
    options[tag] = !options[tag];
    clickHandler(tag);
  }
  void EndProgram() override { log_.Add("end"); }
  void ProcessMessages() override {
    log_.Add("process");
    if (auto run = std::exchange(pendingMessages, nullptr)) run();
  }
  // Runs inside a message box, as what the user does while it is up (its loop handles
  // the program's messages); once per box.
  std::function<void()> whileBoxUp;
  void ShowError(const std::string& text) override {
    log_.Add("error " + text);
    if (auto run = std::exchange(whileBoxUp, nullptr)) run();
  }
  void ShowInfo(const std::string& text) override {
    log_.Add("info " + text);
    if (auto run = std::exchange(whileBoxUp, nullptr)) run();
  }
  // What the user picks in the file dialog; without it the dialog is cancelled.
  std::function<std::string(bool save, const std::string& suggested)> fileChoice;
  std::string AskFileName(bool save, const std::string& suggested) override {
    log_.Add(std::string(save ? "save " : "open ") + suggested);
    return fileChoice ? fileChoice(save, suggested) : std::string();
  }
  void PostRunLater() override { log_.Add("runLater"); }
  void RenderTree(const std::vector<TreeNode>& nodes) override {
    tree = nodes;
    selected = -1;
    log_.Add("tree " + std::to_string(nodes.size()));
  }
  TreeSelection SelectedNode() override {
    if (selected < 0) return {};
    const TreeNode& node = tree[static_cast<std::size_t>(selected)];
    return {true, node.data, node.data ? std::string() : node.text};
  }
  void SelectNode(std::size_t index) override {
    selected = static_cast<int>(index);
    log_.Add("select " + std::to_string(index));
  }
  void DeleteSelectedNode() override {
    if (selected >= 0) tree.erase(tree.begin() + selected);
    selected = -1;
  }
  void SetStatusText(const std::string& text) override { status = text; }
  void RenderMenu(const std::vector<MenuItem>& items) override {
    menu = items;
    log_.Add("menu " + std::to_string(items.size()));
  }
  void SetHotKeysItem(const std::string& caption, int tag) override {
    log_.Add("hotkeysItem " + caption + " " + std::to_string(tag));
  }
  void PopupMenu(ScreenPoint at) override {
    log_.Add("popup " + std::to_string(at.x) + "," + std::to_string(at.y));
    if (whileMenuUp) whileMenuUp();
  }
  void RenderMacroMenu(const std::vector<MenuItem>& items) override {
    macroMenu = items;
    log_.Add("macroMenu " + std::to_string(items.size()));
  }
  bool PopupMacroMenu(const MenuAnchor& anchor) override {
    const ScreenPoint at = anchor.at;
    log_.Add("macroPopup " + std::to_string(at.x) + "," + std::to_string(at.y) +
             (anchor.lineTop != at.y ? " below " + std::to_string(anchor.lineTop) : ""));
    return whileMacroMenuUp && whileMacroMenuUp();
  }

  // What the user does in the function chooser and the hotkey editor; without one the
  // dialog is cancelled.
  std::function<int(std::int32_t& chosen, std::string& name)> chooser;
  std::function<int(TKeyRec& copy, Conditions& conditions, int mode, const KeysList& keys,
                    const TKeyRec* original)>
      editor;
  int RunFunctionChooser(std::int32_t& chosen, std::string& name) override {
    log_.Add("chooser");
    chosen = -1;
    return chooser ? chooser(chosen, name) : mrCancel;
  }
  int RunKeyEditor(TKeyRec& copy, Conditions& conditions, int mode, const KeysList& keys,
                   const TKeyRec* original) override {
    log_.Add("editor " + std::to_string(mode));
    return editor ? editor(copy, conditions, mode, keys, original) : mrCancel;
  }

 private:
  CallLog& log_;
};

// A desktop of a few windows, each visible or not, with an owner, a style, a thread and a
// process, a last active pop-up, and whether it still exists; a foreground window, a focus
// window, and the cursor.
class FakeWindows : public WindowPort {
 public:
  explicit FakeWindows(CallLog& log) : log_(log) {}
  struct Window {
    bool visible = true;
    WindowHandle owner = 0;
    std::uint32_t style = kWsSysMenu;
    std::uint32_t thread = 7;
    std::uint32_t process = 70;
    WindowHandle popup = 0;     // GetLastActivePopup's answer; 0: the window itself
    bool exists = true;         // false once destroyed
    bool unicode = true;        // IsWindowUnicode
    bool refusesPosts = false;  // every post to it fails, as to a window with higher rights
    std::string title{};
  };
  std::map<std::string, WindowHandle> classes;
  std::map<WindowHandle, Window> windows;  // in z-order, as EnumWindows reports them
  std::vector<WindowHandle> zOrder;        // when set, EnumWindows follows it instead
  WindowHandle foreground = 0;
  WindowHandle focus = 0;
  ScreenPoint cursor{};
  bool attachSucceeds = true;
  // When set, SetForegroundWindow succeeds only for these.
  std::vector<WindowHandle> refuseForeground;
  // Run after every posted message (PostMessageA, PostMessageW) is logged, as the
  // receiving window would react.
  using PostHook = std::function<void(WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t)>;
  PostHook onPost, onPostW;
  // Runs inside SetActiveWindow after it is logged (e.g. to move the focus).
  std::function<void(WindowHandle)> onActivate;

  WindowHandle FindWindowByClass(const std::string& cls) override {
    log_.Add("FindWindow " + cls);
    auto it = classes.find(cls);
    return it == classes.end() ? 0 : it->second;
  }
  bool IsWindowVisible(WindowHandle w) override { return windows[w].visible; }
  bool ShowWindow(WindowHandle w, int cmd) override {
    log_.Add("ShowWindow " + std::to_string(w) + " " + std::to_string(cmd));
    windows[w].visible = cmd != kSwHide && cmd != kSwMinimize;
    return true;
  }
  bool SetForegroundWindow(WindowHandle w) override {
    log_.Add("SetForegroundWindow " + std::to_string(w));
    for (WindowHandle r : refuseForeground)
      if (r == w) return false;
    foreground = w;
    return true;
  }
  WindowHandle GetForegroundWindow() override { return foreground; }
  WindowHandle GetDesktopWindow() override { return 1; }
  void EnumWindows(const std::function<bool(WindowHandle)>& each) override {
    std::vector<WindowHandle> order = zOrder;
    if (order.empty())
      for (auto& [w, info] : windows) order.push_back(w);
    for (WindowHandle w : order)
      if (!each(w)) return;
  }
  WindowHandle GetWindowOwner(WindowHandle w) override { return windows[w].owner; }
  std::uint32_t GetWindowStyle(WindowHandle w) override { return windows[w].style; }
  bool PostMessageA(WindowHandle w, std::uint32_t msg, std::uintptr_t wp,
                    std::intptr_t lp) override {
    return Post("PostMessage ", onPost, w, msg, wp, lp);
  }
  bool PostMessageW(WindowHandle w, std::uint32_t msg, std::uintptr_t wp,
                    std::intptr_t lp) override {
    return Post("PostMessageW ", onPostW, w, msg, wp, lp);
  }
  bool IsWindowUnicode(WindowHandle w) override { return windows[w].unicode; }
  std::string GetWindowTextA(WindowHandle w) override { return windows[w].title; }
  std::uint32_t GetWindowThread(WindowHandle w) override {
    return w && windows[w].exists ? windows[w].thread : 0;
  }
  bool AttachThreadInput(std::uint32_t from, std::uint32_t to, bool attach) override {
    log_.Add("AttachThreadInput " + std::to_string(from) + " " + std::to_string(to) + " " +
             (attach ? "1" : "0"));
    return attachSucceeds;
  }
  WindowHandle GetFocus() override { return focus; }
  ScreenPoint GetCursorPos() override { return cursor; }
  // The caret of each thread; a window's client area starts at its `origins` entry.
  std::map<std::uint32_t, CaretPlace> carets;
  std::map<WindowHandle, ScreenPoint> origins;
  CaretPlace GetGUIThreadCaret(std::uint32_t thread) override { return carets[thread]; }
  ScreenPoint ClientToScreen(WindowHandle w, ScreenPoint p) override {
    return ScreenPoint{p.x + origins[w].x, p.y + origins[w].y};
  }
  std::uint32_t GetWindowProcess(WindowHandle w) override {
    return IsWindow(w) ? windows[w].process : 0;
  }
  WindowHandle GetLastActivePopup(WindowHandle w) override {
    auto it = windows.find(w);
    if (it == windows.end() || !it->second.exists) return 0;
    return it->second.popup ? it->second.popup : w;
  }
  bool IsWindow(WindowHandle w) override {
    auto it = windows.find(w);
    return w != 0 && it != windows.end() && it->second.exists;
  }
  WindowHandle SetActiveWindow(WindowHandle w) override {
    log_.Add("SetActiveWindow " + std::to_string(w));
    if (onActivate) onActivate(w);
    return 0;
  }
  // Repainting: each window paints after `paintPolls` looks at its update region.
  int paintPolls = 0;
  std::map<WindowHandle, int> unpainted;
  // Runs when a window has painted, that is when it has handled what was waiting for it.
  std::function<void(WindowHandle)> onPainted;
  bool InvalidateRect(WindowHandle w, int, int, int, int) override {
    unpainted[w] = paintPolls;
    return true;
  }
  bool GetUpdateRect(WindowHandle w) override {
    auto it = unpainted.find(w);
    if (it == unpainted.end()) return false;
    if (it->second-- > 0) return true;
    unpainted.erase(it);
    if (onPainted) onPainted(w);
    return false;
  }

 private:
  bool Post(const char* name, const PostHook& hook, WindowHandle w, std::uint32_t msg,
            std::uintptr_t wp, std::intptr_t lp) {
    log_.Add(name + std::to_string(w) + " " + std::to_string(msg) + " " + std::to_string(wp) + " " +
             std::to_string(lp));
    if (hook) hook(w, msg, wp, lp);
    return !windows[w].refusesPosts;
  }

  CallLog& log_;
};

class FakeSystem : public SystemPort {
 public:
  explicit FakeSystem(CallLog& log) : log_(log) {}
  std::string exePath = "C:\\Program Files\\Ostrel\\Ostrel.exe";
  std::string ModuleFileName() override { return exePath; }
  std::string appData = "C:\\Users\\Ann\\AppData\\Roaming";
  std::string AppDataFolder() override { return appData; }
  std::map<std::string, std::string> environment;
  std::optional<std::string> EnvironmentVariable(const std::string& name) override {
    auto it = environment.find(name);
    return it == environment.end() ? std::nullopt : std::optional<std::string>(it->second);
  }
  std::uint32_t CurrentThreadId() override { return 42; }
  std::uint64_t now = 100000;
  void Sleep(std::uint32_t ms) override {
    log_.Add("Sleep " + std::to_string(ms));
    now += ms;
  }
  std::uint64_t TickCount() override { return now; }
  void TerminateProcess(std::uint32_t code) override {
    log_.Add("TerminateProcess " + std::to_string(code));
  }

 private:
  CallLog& log_;
};

class FakeShell : public ShellPort {
 public:
  explicit FakeShell(CallLog& log) : log_(log) {}
  // Runs inside the call, as messages the shell pumps while it works would.
  std::function<void()> during;
  // The error code every call returns (0: started), the programs that open files, and
  // the system's sentences by code.
  std::uint32_t error = 0;
  std::map<std::string, std::string> executables;
  std::map<std::uint32_t, std::string> errorTexts;
  std::uint32_t ShellExecuteA(WindowHandle owner, const char* verb, const std::string& file,
                              const std::string& parameters, const std::string& directory,
                              int show) override {
    log_.Add("Shell " + std::to_string(owner) + " " + (verb ? verb : "<default>") + " [" + file +
             "] [" + parameters + "] [" + directory + "] " + std::to_string(show));
    if (auto run = std::exchange(during, nullptr)) run();
    return error;
  }
  std::string FindExecutableA(const std::string& file, const std::string&) override {
    auto it = executables.find(file);
    return it == executables.end() ? std::string() : it->second;
  }
  std::string ErrorText(std::uint32_t code) override { return errorTexts[code]; }

 private:
  CallLog& log_;
};

// The window system's hotkey table: a combination is held by one id at a time, and
// `taken` lists combinations ("flags vk") that another program holds.
class FakeHotKeys : public HotKeyPort {
 public:
  explicit FakeHotKeys(CallLog& log) : log_(log) {}
  std::map<int, std::string> held;  // id -> "flags vk"
  std::vector<std::string> taken;
  bool RegisterHotKey(int id, unsigned flags, unsigned vk) override {
    std::string combo = std::to_string(flags) + " " + std::to_string(vk);
    log_.Add("RegisterHotKey " + std::to_string(id) + " " + combo);
    for (const std::string& t : taken)
      if (t == combo) return false;
    for (auto& [otherId, c] : held)
      if (c == combo) return false;
    held[id] = combo;
    return true;
  }
  bool UnregisterHotKey(int id) override {
    log_.Add("UnregisterHotKey " + std::to_string(id));
    return held.erase(id) > 0;
  }
  void PassOn(int id, unsigned flags, unsigned vk, std::uint32_t) override {
    log_.Add("PassOn " + std::to_string(id) + " " + std::to_string(flags) + " " +
             std::to_string(vk));
  }
  bool mouseHooked = false;
  bool HookMouse(bool on) override {
    log_.Add(on ? "HookMouse on" : "HookMouse off");
    return mouseHooked = on;
  }
  void MaskModifierRelease() override { log_.Add("MaskModifierRelease"); }

 private:
  CallLog& log_;
};

// The notification area: it holds the icon or not; while `refuse` is set it takes no call
// (no shell yet), and `restartShell` loses the icon as a new shell would.
class FakeTray : public NotifyIconPort {
 public:
  explicit FakeTray(CallLog& log) : log_(log) {}
  static constexpr std::uint32_t kTaskbarCreated = 0xC0DE;
  bool shown = false;
  bool refuse = false;
  bool retryTimer = false;
  WindowHandle Handle() override { return 900; }
  bool ShellNotifyIcon(int op, const NotifyIconData& r) override {
    log_.Add("NotifyIcon " + std::to_string(op) + " " +
             (r.uFlags & kNifInfo ? "balloon " + r.szInfo : r.szTip));
    if (refuse) return false;
    if (op == kNimAdd) {
      if (shown) return false;
      shown = true;
    }
    if (op == kNimModify) return shown;
    if (op == kNimDelete) shown = false;
    return true;
  }
  void PostToolTipRefresh() override { log_.Add("PostToolTipRefresh"); }
  ScreenPoint CursorPos() override { return {}; }
  std::uint32_t TaskbarCreatedMessage() override { return kTaskbarCreated; }
  void SetRetryTimer(bool on) override {
    retryTimer = on;
    log_.Add(std::string("trayRetry ") + (on ? "on" : "off"));
  }
  void RestartShell() { shown = false; }

 private:
  CallLog& log_;
};

class FakeHook : public HookLibraryPort {
 public:
  explicit FakeHook(CallLog& log) : log_(log) {}
  bool blockExists = true;
  std::map<std::size_t, std::uint32_t> written;
  bool DllAttach() override {
    log_.Add("DLLATTACH");
    return true;
  }
  void DllDetach() override { log_.Add("DLLDETACH"); }
  bool MapSharedBlock() override {
    log_.Add("MapSharedBlock");
    return blockExists;
  }
  void WriteShared(std::size_t offset, std::uint32_t value) override {
    written[offset] = value;
    log_.Add("WriteShared " + std::to_string(offset) + " " + std::to_string(value));
  }

 private:
  CallLog& log_;
};

}  // namespace ostrel::testing
