// TBrowseFolder: the shell's folder-selection dialog (SHBrowseForFolder), with a folder
// pre-selected, the selection's path in the status line, one optional button of our own
// and the chosen folder's path as the result. The rules that need no window are in
// components/BrowseFolder.h.
//
//   TBrowseFolder b(editorWindow);
//   b.SetFlags({bfFileSysDirsOnly});
//   b.SetDirectory(current);
//   if (b.Execute()) use(b.Directory());
//
// The dialog needs COM on the calling thread (OleInitialize).
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <exception>
#include <functional>
#include <string>

#include "components/BrowseFolder.h"
#include "toolkit/Gdi.h"
#include "toolkit/Subclass.h"

namespace ostrel {

class TBrowseFolder {
 public:
  using TBrowserInitializedEvent = std::function<void(TBrowseFolder& sender, HWND dialogHandle)>;
  // `directory` is empty when the item is not a file-system folder.
  using TSelectionChangedEvent =
      std::function<void(TBrowseFolder& sender, HWND dialogHandle, LPCITEMIDLIST itemIdList,
                         const std::string& directory)>;
  using TCustomButtonClickEvent = std::function<void(TBrowseFolder& sender, HWND dialogHandle)>;

  // `owner`: the window the dialog belongs to unless the host sets one (SetOwnerWindow).
  explicit TBrowseFolder(HWND owner = nullptr);
  TBrowseFolder(const TBrowseFolder&) = delete;
  TBrowseFolder& operator=(const TBrowseFolder&) = delete;

  // On entry the folder to pre-select; after a confirmed Execute the chosen folder.
  const std::string& Directory() const { return directory_; }
  void SetDirectory(const std::string& directory) { directory_ = directory; }
  // Shown above the folder tree.
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }
  TBrowseInfoFlagSet Flags() const { return flags_; }
  void SetFlags(TBrowseInfoFlagSet flags) { flags_ = flags; }
  // Show the selected path (shortened) in the status line; the dialog has one only
  // with bfStatusText.
  bool ShowPathInStatusArea() const { return showPathInStatusArea_; }
  void SetShowPathInStatusArea(bool show) { showPathInStatusArea_ = show; }
  TSHFolders RootFolder() const { return rootFolder_; }
  void SetRootFolder(TSHFolders root) { rootFolder_ = root; }
  bool CustomButtonVisible() const { return customButtonVisible_; }
  void SetCustomButtonVisible(bool visible) { customButtonVisible_ = visible; }
  bool CustomButtonEnabled() const { return customButtonEnabled_; }
  // Also enables or disables the button while the dialog shows it.
  void SetCustomButtonEnabled(bool enabled);
  const std::string& CustomButtonCaption() const { return customButtonCaption_; }
  // Also retitles the button while the dialog shows it.
  void SetCustomButtonCaption(const std::string& caption);
  int CustomButtonWidth() const { return customButtonWidth_; }
  // 0 or less stores 75.
  void SetCustomButtonWidth(int width) { customButtonWidth_ = CustomButtonWidthFor(width); }
  // The custom button is enabled and disabled together with OK.
  bool SyncCustomButton() const { return syncCustomButton_; }
  void SetSyncCustomButton(bool sync) { syncCustomButton_ = sync; }

  TBrowserInitializedEvent OnInitialized;
  TSelectionChangedEvent OnSelectionChanged;
  TCustomButtonClickEvent OnCustomButtonClick;

  // The owner the host chooses; it wins over the constructor's when it is a window.
  HWND OwnerWindow() const { return hostOwner_; }
  void SetOwnerWindow(HWND owner) { hostOwner_ = owner; }

  // Shows the dialog modally. True when the user confirmed a folder (Directory() is its
  // path); false when cancelled (Directory() unchanged) or when the dialog is already
  // open. An exception thrown by an event handler cancels the dialog and comes out of
  // Execute once the dialog is gone.
  bool Execute();

  // While the dialog is open: the dialog, the custom button (or null), and the path of
  // the current selection (empty for an item that is not a file-system folder).
  HWND DialogHandle() const { return dialog_; }
  HWND CustomButton() const { return button_; }
  const std::string& Selection() const { return selection_; }
  // The display name and image index the dialog gave for the last chosen item.
  const std::string& DisplayName() const { return displayName_; }
  int ImageIndex() const { return imageIndex_; }

 private:
  // The dialog's callback (BFFCALLBACK), with the component as its data.
  static int CALLBACK Callback(HWND dialog, UINT msg, LPARAM lParam, LPARAM data);

  HWND ResolveOwner() const;
  void Initialized(HWND dialog);
  void SelectionChangedTo(HWND dialog, LPCITEMIDLIST item);
  // Runs a step inside the dialog's callbacks, catching what it throws.
  void Guarded(HWND dialog, const std::function<void()>& step);
  void CreateCustomButton();
  void FitCustomButton(UINT dpi);
  // The dialog's messages while a custom button exists: its click, and its DPI.
  LRESULT DialogMessage(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

  std::string directory_;
  std::string title_;
  TBrowseInfoFlagSet flags_;
  bool showPathInStatusArea_ = false;
  TSHFolders rootFolder_ = foDesktopExpanded;
  bool customButtonVisible_ = false;
  bool customButtonEnabled_ = true;
  std::string customButtonCaption_;
  int customButtonWidth_ = kDefaultCustomButtonWidth;
  bool syncCustomButton_ = false;

  HWND owner_ = nullptr;
  HWND hostOwner_ = nullptr;
  bool running_ = false;
  HWND dialog_ = nullptr;
  HWND button_ = nullptr;
  // The custom button's font; it lives until the dialog (and the button) are gone.
  tk::GdiObject<HFONT> buttonFont_;
  std::string selection_;
  std::string displayName_;
  int imageIndex_ = 0;
  std::exception_ptr failure_;
  // In front of the shell's dialog while it shows our button; goes first, before the
  // members it calls.
  tk::Subclass dialogSubclass_;
};

}  // namespace ostrel
