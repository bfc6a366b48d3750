// The hotkey editor's dialog as its logic sees it: controls as plain values, the user's
// answers to the platform's dialogs queued in advance, and a log of what was shown.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "components/SysHotKey.h"
#include "dialogs/KeyEditor.h"

namespace ostrel::testing {

class FakeEditorView : public KeyEditorView {
 public:
  std::string caption;
  std::vector<std::string> groups;
  std::map<int, std::string> texts;
  std::map<int, int> selections;
  // As the form starts: every function-specific control hidden.
  std::map<int, bool> visible{{ecName, true}, {ecGroup, true}, {ecKeylist, true}, {ecKm, true}};
  std::map<int, bool> enabled, checked;
  std::string info;
  std::vector<std::string> errors;
  std::deque<std::optional<std::string>> folderAnswers, fileAnswers;
  std::vector<std::string> dialogs;  // "folder", "file <filter>", "macros <path>"
  // The programs' "..." list as last shown, and the user's pick from it.
  std::vector<std::string> programList;
  std::optional<std::string> programPick;
  std::vector<int> helpRequests;
  int closedOk = 0;
  std::vector<int> focused;  // FocusControl, in order
  // Hotkeys (MOD_* flags, virtual-key code) the system refuses, and every trial made.
  std::vector<std::pair<unsigned, unsigned>> systemTaken, trials;

  void SetCaption(const std::string& text) override { caption = text; }
  void SetGroupItems(const std::vector<std::string>& items) override { groups = items; }
  void SetText(EditorControl c, const std::string& text) override { texts[c] = text; }
  std::string Text(EditorControl c) override { return texts[c]; }
  // Like the pick-only combo boxes: an index outside the list selects nothing.
  void SetSelection(EditorControl c, int index) override {
    const std::size_t count =
        c == ecKeylist ? kKeyCount : c == ecScope ? std::size(kScopeItems) : kKeyModCount;
    selections[c] = index >= 0 && static_cast<std::size_t>(index) < count ? index : -1;
  }
  int Selection(EditorControl c) override { return selections.count(c) ? selections[c] : -1; }
  void SetVisible(EditorControl c, bool on) override { visible[c] = on; }
  bool Visible(EditorControl c) override { return visible[c]; }
  void SetEnabled(EditorControl c, bool on) override { enabled[c] = on; }
  void SetChecked(EditorControl c, bool on) override { checked[c] = on; }
  bool Checked(EditorControl c) override { return checked[c]; }
  void SetInfo(const std::string& text) override { info = text; }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  void FocusControl(EditorControl c) override { focused.push_back(c); }
  bool TryHotKey(unsigned modFlags, unsigned vk) override {
    trials.emplace_back(modFlags, vk);
    for (const auto& taken : systemTaken)
      if (taken == std::make_pair(modFlags, vk)) return false;
    return true;
  }
  std::optional<std::string> BrowseForFolder() override {
    dialogs.push_back("folder");
    return Next(folderAnswers);
  }
  std::optional<std::string> OpenFile(const std::string& filter) override {
    dialogs.push_back("file " + filter);
    return Next(fileAnswers);
  }
  std::optional<std::string> PickProgram(const std::vector<std::string>& programs) override {
    programList = programs;
    return programPick;
  }
  void EditMacroList(const std::string& path) override { dialogs.push_back("macros " + path); }
  void RequestHelp(int context) override { helpRequests.push_back(context); }
  void CloseOk() override { ++closedOk; }

 private:
  static std::optional<std::string> Next(std::deque<std::optional<std::string>>& answers) {
    if (answers.empty()) return std::nullopt;
    auto a = answers.front();
    answers.pop_front();
    return a;
  }
};

}  // namespace ostrel::testing
