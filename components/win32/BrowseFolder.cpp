#include "components/win32/BrowseFolder.h"

#include <exception>
#include <memory>
#include <utility>

#include "toolkit/Application.h"
#include "toolkit/Controls.h"
#include "toolkit/Dpi.h"
#include "toolkit/Form.h"

namespace ostrel {

namespace {

// An item identifier list from the shell, given back to the task allocator.
struct ItemListFree {
  void operator()(ITEMIDLIST* item) const { CoTaskMemFree(item); }
};
using ItemList = std::unique_ptr<ITEMIDLIST, ItemListFree>;

// The file-system path of an item; false when it has none.
bool PathOf(LPCITEMIDLIST item, std::string& path) {
  char buf[MAX_PATH + 1] = {};
  if (!item || !SHGetPathFromIDListA(item, buf)) {
    path.clear();
    return false;
  }
  path = buf;
  return true;
}

bool DirectoryExists(const std::string& path) {
  return !path.empty() && IsDirectoryAttributes(GetFileAttributesA(path.c_str()));
}

HWND MainWindow() {
  tk::Form* main = tk::Application::Get().MainForm();
  return main ? main->Handle() : nullptr;
}

}  // namespace

TBrowseFolder::TBrowseFolder(HWND owner) : owner_(owner) {
  directory_.reserve(MAX_PATH);
  displayName_.reserve(MAX_PATH);
}

void TBrowseFolder::SetCustomButtonEnabled(bool enabled) {
  customButtonEnabled_ = enabled;
  if (button_ && IsWindow(button_)) EnableWindow(button_, enabled);
}

void TBrowseFolder::SetCustomButtonCaption(const std::string& caption) {
  customButtonCaption_ = caption;
  if (button_ && IsWindow(button_)) SetWindowTextA(button_, caption.c_str());
}

HWND TBrowseFolder::ResolveOwner() const {
  if (hostOwner_ && IsWindow(hostOwner_)) return hostOwner_;
  if (owner_ && IsWindow(owner_)) return owner_;
  return MainWindow();
}

bool TBrowseFolder::Execute() {
  if (running_) return false;
  running_ = true;
  failure_ = nullptr;
  const HWND owner = ResolveOwner();

  ItemList root;
  const int folderId = SpecialFolderId(rootFolder_);
  if (folderId != kNoRootFolder) {
    LPITEMIDLIST item = nullptr;
    // A root the system does not know leaves the whole namespace as the tree.
    if (SUCCEEDED(SHGetSpecialFolderLocation(MainWindow(), folderId, &item))) root.reset(item);
  }

  char displayName[MAX_PATH] = {};
  BROWSEINFOA info{};
  info.hwndOwner = owner;
  info.pidlRoot = root.get();
  info.pszDisplayName = displayName;
  info.lpszTitle = title_.c_str();
  info.ulFlags = flags_.DialogFlags();
  info.lpfn = &TBrowseFolder::Callback;
  info.lParam = reinterpret_cast<LPARAM>(this);
  info.iImage = 0;

  ItemList chosen(SHBrowseForFolderA(&info));

  // The dialog is gone, its button with it; our subclass left it as it went.
  dialog_ = nullptr;
  button_ = nullptr;
  buttonFont_.Reset();
  running_ = false;

  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
  if (!chosen) return false;
  PathOf(chosen.get(), selection_);
  directory_ = selection_;
  displayName_ = displayName;
  imageIndex_ = info.iImage;
  return true;
}

int CALLBACK TBrowseFolder::Callback(HWND dialog, UINT msg, LPARAM lParam, LPARAM data) {
  auto* self = reinterpret_cast<TBrowseFolder*>(data);
  if (!self) return 0;
  switch (msg) {
    case BFFM_INITIALIZED:
      self->Guarded(dialog, [&] { self->Initialized(dialog); });
      break;
    case BFFM_SELCHANGED:
      self->Guarded(dialog, [&] {
        self->SelectionChangedTo(dialog, reinterpret_cast<LPCITEMIDLIST>(lParam));
      });
      break;
    default:
      break;
  }
  return 0;
}

void TBrowseFolder::Guarded(HWND dialog, const std::function<void()>& step) {
  // An exception must not unwind through the system's dialog code: the dialog is
  // cancelled and Execute throws it once the dialog is gone.
  if (failure_) return;
  try {
    step();
  } catch (...) {
    failure_ = std::current_exception();
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  }
}

void TBrowseFolder::Initialized(HWND dialog) {
  dialog_ = dialog;
  RECT fg, dlg;
  const HWND foreground = GetForegroundWindow();
  if (foreground && foreground != dialog && GetWindowRect(foreground, &fg) &&
      GetWindowRect(dialog, &dlg)) {
    const BrowsePoint at =
        DialogPlacement({fg.left, fg.top, fg.right, fg.bottom}, dlg.right - dlg.left);
    SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (DirectoryExists(directory_)) {
    SendMessageA(dialog, kBffmSetSelectionA, TRUE, reinterpret_cast<LPARAM>(directory_.c_str()));
  }
  if (customButtonVisible_) CreateCustomButton();
  if (OnInitialized) OnInitialized(*this, dialog);
}

void TBrowseFolder::SelectionChangedTo(HWND dialog, LPCITEMIDLIST item) {
  std::string path;
  const bool hasPath = PathOf(item, path);
  const SelectionUpdate update =
      SelectionChanged(hasPath, path, showPathInStatusArea_, syncCustomButton_);
  selection_ = update.selection;
  if (update.sendStatus) {
    SendMessageA(dialog, kBffmSetStatusTextA, 0,
                 reinterpret_cast<LPARAM>(update.statusText.c_str()));
  }
  SendMessageA(dialog, kBffmEnableOk, 0, update.enableOk ? TRUE : FALSE);
  // Some dialogs (Wine's) set OK by their own rule after this callback returns; the
  // posted copy comes after that and has the last word.
  // Wine and Windows differ here: see "Where Wine and Windows differ" in docs/WINE.md.
  PostMessageA(dialog, kBffmEnableOk, 0, update.enableOk ? TRUE : FALSE);
  if (update.syncCustomButton) SetCustomButtonEnabled(update.enableOk);
  if (OnSelectionChanged) OnSelectionChanged(*this, dialog, item, selection_);
}

void TBrowseFolder::CreateCustomButton() {
  button_ = CreateWindowExA(0, "BUTTON", customButtonCaption_.c_str(),
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0, 0, 0,
                            dialog_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCustomButtonId)),
                            GetModuleHandleA(nullptr), nullptr);
  if (!button_) return;
  FitCustomButton(tk::WindowDpi(dialog_));
  EnableWindow(button_, customButtonEnabled_);
  dialogSubclass_.Attach<&TBrowseFolder::DialogMessage>(dialog_, this);
}

// The shell's dialog is laid out for its screen's DPI; the button's place, size and font
// are in 96-DPI units.
void TBrowseFolder::FitCustomButton(UINT dpi) {
  SetWindowPos(button_, nullptr, tk::Scale(kCustomButtonLeft, dpi), tk::Scale(kCustomButtonTop, dpi),
               tk::Scale(customButtonWidth_, dpi), tk::Scale(kCustomButtonHeight, dpi),
               SWP_NOZORDER | SWP_NOACTIVATE);
  tk::GdiObject<HFONT> font(tk::CreateUiFont(8, false, dpi));
  tk::Control(button_).SetFont(font.get(), true);
  buttonFont_ = std::move(font);
}

LRESULT TBrowseFolder::DialogMessage(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND && LOWORD(wParam) == kCustomButtonId) {
    if (OnCustomButtonClick) Guarded(dialog, [&] { OnCustomButtonClick(*this, dialog); });
    return 0;
  }
  const LRESULT result = tk::Subclass::Next(dialog, msg, wParam, lParam);
  if (msg == WM_DPICHANGED && button_ && IsWindow(button_)) FitCustomButton(HIWORD(wParam));
  return result;
}

}  // namespace ostrel
