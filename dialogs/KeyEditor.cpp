#include "dialogs/KeyEditor.h"

#include "catalogue/FunCatalogue.h"
#include "catalogue/HelpTexts.h"
#include "components/SysHot.h"
#include "platform/Paths.h"

namespace ostrel {
namespace {

constexpr std::size_t kNameWidth = 40;
constexpr std::size_t kGroupWidth = 10;
constexpr std::size_t kTextWidth = 255;
constexpr const char* kAllFiles = "All files|*.*";

std::string Cut(const std::string& text, std::size_t n) { return text.substr(0, n); }

bool SameTextIgnoringCase(const std::string& a, const std::string& b, CollateFn collate) {
  return collate ? collate(a, b) == 0 : a == b;
}

// Which of the function-specific controls a type shows. The target box is the label,
// the edit box and its "..." button.
struct FieldLayout {
  bool targetLabel = false;
  bool target = false;
  bool targetButton = false;
  bool keystrokes = false;
  bool parmsAndDir = false;
};

FieldLayout LayoutFor(std::int32_t funType) {
  switch (funType) {
    case ftExploreFolder:
    case ftOpenFolder:
    case ftOpenFile:
    case ftSendKeysMenu:
      return {true, true, true, false, false};
    case ftRunProgram:
      return {true, true, true, false, true};
    case ftSendKeys:
      return {true, false, false, true, false};
    default:
      break;
  }
  if (funType >= ftBrowseFile && funType <= ftTelnet) return {true, true, false, false, false};
  return {};
}

}  // namespace

std::string HotKeyName(int key, int keyMod) {
  if (key <= 0 || key >= static_cast<int>(kKeyCount) || keyMod < 0 ||
      keyMod >= static_cast<int>(kKeyModCount))
    return {};
  const std::string name(kKeyNames[static_cast<std::size_t>(key)]);
  if (keyMod == 0) return name;
  return std::string(kKeyModTable[static_cast<std::size_t>(keyMod)].text) + "+" + name;
}

std::string EnteredKeyText(const std::string& group, const std::string& name) {
  return TrimText(Cut(TrimText(group), kGroupWidth)) + kKeySeparator +
         TrimText(Cut(TrimText(name), kNameWidth));
}

std::string FreeListFileName(FileSystem& files, const std::string& dir) {
  int n = 1;
  while (n < 1001 && files.Exists(dir + "SendKeyList_" + std::to_string(n) + ".skl")) ++n;
  return "SendKeyList_" + std::to_string(n) + ".skl";
}

KeyEditor::KeyEditor(KeyEditorView& view, FileSystem& files, const std::string& exePath)
    : view_(view), files_(files), programDir_(FolderOf(exePath)) {}

void KeyEditor::FormShow() {
  if (!Definition) return;
  const TKeyRec& d = *Definition;

  // The blank entry stands for "no group"; each group is listed once, whatever its case.
  std::vector<std::string> groups{" "};
  const CollateFn collate = Keys ? Keys->Collation() : nullptr;
  for (std::size_t i = 0; Keys && i < Keys->Count(); ++i) {
    const PKeyRec rec = Keys->At(i);
    if (!rec) continue;
    std::string g = TrimText(rec->Group.str());
    if (g.empty()) continue;
    bool listed = false;
    for (const auto& have : groups) listed = listed || SameTextIgnoringCase(have, g, collate);
    if (!listed) groups.push_back(g);
  }
  view_.SetGroupItems(groups);

  view_.SetCaption("Configure: " + FunTypeName(&d));
  view_.SetText(ecName, TrimText(d.Name.str()));
  view_.SetText(ecGroup, TrimText(d.Group.str()));
  view_.SetSelection(ecKeylist, d.Key);
  view_.SetSelection(ecKm, d.KeyMod);
  view_.SetText(d.FunType == ftSendKeys ? ecKeystrokes : ecTarget, TrimText(d.Target.str()));
  // Kept whatever the type, so that they survive an edit unchanged.
  view_.SetText(ecDir, TrimText(d.Dir.str()));
  view_.SetText(ecParms, TrimText(d.Parms.str()));

  const FieldLayout layout = LayoutFor(d.FunType);
  view_.SetVisible(ecTargetLabel, layout.targetLabel);
  view_.SetVisible(ecTarget, layout.target);
  view_.SetVisible(ecTargetButton, layout.targetButton);
  view_.SetVisible(ecKeystrokes, layout.keystrokes);
  for (EditorControl c : {ecParmsLabel, ecParms, ecDirLabel, ecDir, ecDirButton})
    view_.SetVisible(c, layout.parmsAndDir);
  if (const FunTypeInfo* info = FindFunType(d.FunType); info && layout.targetLabel) {
    view_.SetText(ecTargetLabel, std::string(info->targetLabel));
    if (!info->prefill.empty() && TrimText(view_.Text(ecTarget)).empty())
      view_.SetText(ecTarget, std::string(info->prefill));
  }
  HotKeyChanged();
}

void KeyEditor::OLKeyNameEnter(int tag) {
  if (tag < ecName || tag > ecDirButton) return;
  infoTag_ = tag;
  ShowInfo();
}

void KeyEditor::ShowInfo() {
  std::string text = infoTag_ < 0 ? std::string() : std::string(HelpText(infoTag_ + 30));
  if (!clash_.empty()) text = clash_ + (text.empty() ? std::string() : "\r\n\r\n" + text);
  view_.SetInfo(text);
}

void KeyEditor::HotKeyChanged() {
  const int key = view_.Selection(ecKeylist);
  const int mod = view_.Selection(ecKm);
  const std::string name = HotKeyName(key, mod);
  std::string clash;
  for (std::size_t i = 0; !name.empty() && Keys && i < Keys->Count() && clash.empty(); ++i) {
    const PKeyRec rec = Keys->At(i);
    if (!rec || rec == Original || rec->Key != key || rec->KeyMod != mod) continue;
    const std::string group = TrimText(rec->Group.str());
    clash = name + " is already the HotKey of \"" + TrimText(rec->Name.str()) + "\"" +
            (group.empty() ? "" : " in the group \"" + group + "\"") + ".";
  }
  // The definition being edited holds its own hotkey already: no trial for that one.
  const bool own = Original && Original->Key == key && Original->KeyMod == mod;
  if (!name.empty() && clash.empty() && !own &&
      !view_.TryHotKey(ModifierFlags(kKeyModTable[static_cast<std::size_t>(mod)].set),
                       kKeyTable[static_cast<std::size_t>(key)]))
    clash = name + " is taken by another program or by the system.";
  if (clash == clash_) return;
  clash_ = clash;
  ShowInfo();
}

bool KeyEditor::Validate(int editMode) {
  // After each message the focus goes where the fault is, ready to be typed over.
  if (TrimText(view_.Text(ecName)).empty()) {
    view_.ShowError("You must enter a HotKey name.");
    view_.FocusControl(ecName);
    return false;
  }
  // Added or updated, no two definitions may share a key text: the list keeps only one
  // of them. An update may keep its own.
  if (Keys) {
    const std::string key = EnteredKeyText(view_.Text(ecGroup), view_.Text(ecName));
    const std::ptrdiff_t at = Keys->Find(key);
    const bool taken = at != KeysList::npos &&
                       (editMode == kEditAdd || Keys->At(static_cast<std::size_t>(at)) != Original);
    if (taken) {
      view_.ShowError("Cannot add, That HotKey name already exists.");
      view_.FocusControl(ecName);
      return false;
    }
  }
  if (view_.Visible(ecTarget) && TrimText(view_.Text(ecTarget)).empty()) {
    view_.ShowError(view_.Text(ecTargetLabel) + " not specified.");
    view_.FocusControl(ecTarget);
    return false;
  }
  return true;
}

void KeyEditor::Button1Click() {
  if (!Definition || !Validate(EditMode)) return;
  TKeyRec& d = *Definition;
  d.Name.assign(Cut(TrimText(view_.Text(ecName)), kNameWidth));
  d.Group.assign(Cut(TrimText(view_.Text(ecGroup)), kGroupWidth));
  d.Key = view_.Selection(ecKeylist);
  d.KeyMod = view_.Selection(ecKm);
  // Keystrokes are stored as typed: leading and trailing blanks may be part of a macro.
  const std::string target =
      d.FunType == ftSendKeys ? view_.Text(ecKeystrokes) : TrimText(view_.Text(ecTarget));
  d.Target.assign(Cut(target, kTextWidth));
  d.Reserved = 1;
  d.Parms.assign(Cut(TrimText(view_.Text(ecParms)), kTextWidth));
  d.Dir.assign(Cut(TrimText(view_.Text(ecDir)), kTextWidth));
  d.ShowOnMenu = 1;
  view_.CloseOk();
}

void KeyEditor::FunTargetBClick(int tag) {
  if (!Definition) return;
  switch (Definition->FunType) {
    case ftSendKeysMenu:
      if (view_.Text(ecTarget).empty()) view_.SetText(ecTarget, FreeListFileName(files_, programDir_));
      view_.EditMacroList(programDir_ + view_.Text(ecTarget));
      return;
    case ftExploreFolder:
    case ftOpenFolder:
      if (auto folder = view_.BrowseForFolder(); folder && tag == ecTargetButton)
        view_.SetText(ecTarget, *folder);
      return;
    case ftOpenFile:
      if (auto file = view_.OpenFile(kAllFiles)) view_.SetText(ecTarget, *file);
      return;
    case ftRunProgram:
      if (tag == ecDirButton) {
        if (auto folder = view_.BrowseForFolder()) view_.SetText(ecDir, *folder);
      } else if (auto file = view_.OpenFile(kAllFiles)) {
        view_.SetText(ecTarget, *file);
      }
      return;
    default:
      return;
  }
}

void KeyEditor::ToolbarButton977Click() { view_.RequestHelp(kEditorHelpContext); }

}  // namespace ostrel
