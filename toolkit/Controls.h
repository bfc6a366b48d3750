// The child controls the program's windows are built from, as small classes with typed
// methods, and owners for the handles those windows hold. A control class wraps a window
// that its parent owns: copying one copies a name, not the control. The owners are
// move-only and free their handle as they go, so no window frees one by hand.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>

#include "toolkit/Colours.h"
#include "toolkit/Gdi.h"

namespace ostrel::tk {

struct DestroyImageList {
  void operator()(HIMAGELIST h) const { ImageList_Destroy(h); }
};

using ImageListOwner = Owner<HIMAGELIST, DestroyImageList>;
using ostrel::IconOwner;
using ostrel::MenuOwner;
using BrushOwner = GdiObject<HBRUSH>;
using FontOwner = GdiObject<HFONT>;
using BitmapOwner = GdiObject<HBITMAP>;

// Any child control.
class Control {
 public:
  Control() = default;
  explicit Control(HWND hwnd) : hwnd_(hwnd) {}
  HWND Handle() const { return hwnd_; }
  explicit operator bool() const { return hwnd_ != nullptr; }

  std::string Text() const;
  void SetText(const std::string& text) const { SetWindowTextA(hwnd_, text.c_str()); }
  // With `redraw` the control repaints in it at once.
  void SetFont(HFONT font, bool redraw = false) const;
  // Off while many items go in; on again repaints the whole control.
  void SetRedraw(bool on) const;
  // The focus, with the text selected where the control has a selection (an edit).
  void FocusAndSelect() const;

 protected:
  LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
    return SendMessageA(hwnd_, msg, wp, lp);
  }

 private:
  HWND hwnd_ = nullptr;
};

class Edit : public Control {
 public:
  using Control::Control;
  void SetReadOnly(bool readOnly) const;
};

// A label or a picture.
class Static : public Control {
 public:
  using Control::Control;
  void SetIcon(HICON icon) const;
};

// Positions are 0-based; -1 is "none", in and out.
class ComboBox : public Control {
 public:
  using Control::Control;
  void Clear() const;
  int AddString(const std::string& text) const;
  void SetItemData(int index, LPARAM data) const;
  // -1 selects nothing and empties the box's text.
  void SetSelection(int index) const;
  int SelectedIndex() const;
};

class ListBox : public Control {
 public:
  using Control::Control;
  void Clear() const;
  int AddString(const std::string& text) const;
  void SetItemHeight(int height) const;
  void SetSelection(int index) const;
  int SelectedIndex() const;
};

class TreeView : public Control {
 public:
  using Control::Control;
  void SetIndent(int pixels) const;
  void SetImageList(HIMAGELIST images) const;
  // A new last child of `parent` (TVI_ROOT for a top-level item) that carries `data`.
  HTREEITEM InsertItem(HTREEITEM parent, const std::string& text, int image, int selectedImage,
                       LPARAM data) const;
  // The selected item, or null.
  HTREEITEM Selected() const;
  void Select(HTREEITEM item) const;
  std::optional<LPARAM> ItemData(HTREEITEM item) const;
  void DeleteItem(HTREEITEM item) const;
  void Clear() const { DeleteItem(TVI_ROOT); }
};

class ToolBar : public Control {
 public:
  using Control::Control;
  // Once, before any button goes in.
  void Prepare() const;
  void SetExtendedStyle(DWORD style) const;
  void SetImageList(HIMAGELIST images) const;
  void SetBitmapSize(int w, int h) const;
  void SetButtonSize(int w, int h) const;
  void AddButton(const TBBUTTON& button) const;
  void AutoSize() const;
  SIZE MaxSize() const;
  // The button under a point of the bar's client area: its position, or -1.
  int HitTest(POINT client) const;
  // The command of the button at `position`, 0 for none.
  int CommandAt(int position) const;

  // Whether `window` is a tool bar.
  static bool Is(HWND window);
  // A tool bar that has the focus shows it by its hot (raised) button: -1 for none.
  int HotItem() const;
  void SetHotItem(int position) const;
  // Moves the hot button `step` buttons on, over separators and buttons that cannot be
  // clicked; from none, to the first (or last) that can. Returns the hot button, or -1.
  int StepHotItem(int step) const;
  // Arrows move along the bar, Enter and Space click its hot button (sent to the bar's
  // parent as a click would be). False for any other key.
  bool HandleKey(WPARAM key) const;

 private:
  bool Clickable(int position, TBBUTTON& button) const;
};

// The teal pane of white text that tells the user what a window or a field is for. It
// owns the brush it is painted with; the window hands it WM_CTLCOLORSTATIC. In high
// contrast it takes the system's window colours instead (toolkit/Colours.h).
class InfoPane : public Edit {
 public:
  static constexpr COLORREF kBackground = kTeal;
  static constexpr COLORREF kForeground = RGB(255, 255, 255);

  InfoPane() = default;
  // Paints the read-only edit `edit` from now on.
  explicit InfoPane(HWND edit);
  InfoPane(InfoPane&&) noexcept = default;
  InfoPane& operator=(InfoPane&&) noexcept = default;

  // True, with the brush in `result`, when the message asks this pane's colours.
  bool Colour(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) const;
  HBRUSH Brush() const { return brush_.get(); }

 private:
  BrushOwner brush_;
};

}  // namespace ostrel::tk
