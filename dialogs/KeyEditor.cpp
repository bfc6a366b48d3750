#include "dialogs/KeyEditor.h"

#include "catalogue/FunCatalogue.h"
#include "catalogue/HelpTexts.h"
#include "catalogue/Programs.h"
#include "components/SysHotKey.h"

namespace ostrel {
namespace {

constexpr std::size_t kNameWidth = 40;
constexpr std::size_t kGroupWidth = 10;
constexpr std::size_t kTextWidth = 255;
constexpr const char* kAllFiles = "All files|*.*";

bool SameTextIgnoringCase(const std::string& a, const std::string& b, CollateFn collate) {
  return collate ? collate(a, b) == 0 : a == b;
}

// The catalogue row of the definition's type; nullptr for a type outside it, which
// shows no function-specific control and has no "..." action.
const FunTypeInfo* TypeOf(const TKeyRec& d) { return FindFunType(d.FunType); }

bool TakesKeystrokes(const TKeyRec& d) {
  const FunTypeInfo* type = TypeOf(d);
  return type && type->target == TargetField::kKeystrokes;
}

}  // namespace

std::string EnteredKeyText(const std::string& group, const std::string& name,
                           const LeadBytes& lead) {
  return TrimText(lead.Cut(TrimText(group), kGroupWidth)) + kKeySeparator +
         TrimText(lead.Cut(TrimText(name), kNameWidth));
}

KeyEditor::KeyEditor(KeyEditorView& view, FileSystem& files, std::string dataDir)
    : view_(view), files_(files), dataDir_(std::move(dataDir)) {}

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
  view_.SetText(TakesKeystrokes(d) ? ecKeystrokes : ecTarget, TrimText(d.Target.str()));
  // Kept whatever the type, so that they survive an edit unchanged.
  view_.SetText(ecDir, TrimText(d.Dir.str()));
  view_.SetText(ecParms, TrimText(d.Parms.str()));

  // The function-specific controls, as the type's row lays them out.
  const FunTypeInfo* type = TypeOf(d);
  const TargetField target = type ? type->target : TargetField::kNone;
  const bool parmsAndDir = type && type->parmsAndDir;
  view_.SetVisible(ecTargetLabel, target != TargetField::kNone);
  view_.SetVisible(ecTarget, target == TargetField::kText);
  view_.SetVisible(ecTargetButton, type && type->browse != BrowseKind::kNone);
  view_.SetVisible(ecKeystrokes, target == TargetField::kKeystrokes);
  for (EditorControl c : {ecParmsLabel, ecParms, ecDirLabel, ecDir, ecDirButton})
    view_.SetVisible(c, parmsAndDir);
  if (target != TargetField::kNone) {
    view_.SetText(ecTargetLabel, std::string(type->targetLabel));
    if (!type->prefill.empty() && TrimText(view_.Text(ecTarget)).empty())
      view_.SetText(ecTarget, std::string(type->prefill));
  }

  // Setting the row's controls reports each change; the clash is looked at once, after.
  const Conditions c = DefinitionConditions ? *DefinitionConditions : Conditions{};
  showing_ = true;
  view_.SetSelection(ecScope, static_cast<int>(c.scope));
  view_.SetText(ecPrograms, ProgramListText(c.programs));
  view_.SetChecked(ecHotkeyOff, c.hotkeyOff);
  // Only the kinds that start a program or open a file have the launch row.
  const bool launches = TakesLaunchOptions(d.FunType);
  for (EditorControl e : {ecIfRunningLabel, ecIfRunning, ecShowLabel, ecShow, ecElevated})
    view_.SetVisible(e, launches);
  view_.SetSelection(ecIfRunning, static_cast<int>(c.launch.ifRunning));
  view_.SetSelection(ecShow, static_cast<int>(c.launch.show));
  view_.SetChecked(ecElevated, c.launch.elevated);
  shownAbbreviation_ = ShownAbbreviation(c.abbreviation.text, CodePage);
  view_.SetText(ecAbbreviation, shownAbbreviation_);
  view_.SetChecked(ecImmediate, c.abbreviation.immediate);
  showing_ = false;
  ProgramsChanged();
}

Conditions KeyEditor::EnteredConditions() {
  Conditions c;
  const int scope = view_.Selection(ecScope);
  if (scope == static_cast<int>(ProgramScope::kOnly)) c.scope = ProgramScope::kOnly;
  if (scope == static_cast<int>(ProgramScope::kExcept)) c.scope = ProgramScope::kExcept;
  // Names left in the box while "All" is chosen mean nothing, and are not stored.
  if (c.scope != ProgramScope::kAll) c.programs = ParseProgramList(view_.Text(ecPrograms));
  c.hotkeyOff = view_.Checked(ecHotkeyOff);
  // A kind without the row keeps what it had.
  if (DefinitionConditions) c.launch = DefinitionConditions->launch;
  if (Definition && TakesLaunchOptions(Definition->FunType)) {
    const int running = view_.Selection(ecIfRunning), show = view_.Selection(ecShow);
    c.launch.ifRunning = running == 1   ? IfRunning::kActivate
                         : running == 2 ? IfRunning::kToggle
                                        : IfRunning::kStart;
    c.launch.show = show >= 1 && show <= 3 ? static_cast<ShowState>(show) : ShowState::kDefault;
    c.launch.elevated = view_.Checked(ecElevated);
  }
  // Matching case is set in Keys.ini only, and kept.
  if (DefinitionConditions) c.abbreviation.matchCase = DefinitionConditions->abbreviation.matchCase;
  // Left as shown, it stays as stored: the code page may lack some of its characters.
  const std::string entered = TrimText(view_.Text(ecAbbreviation));
  c.abbreviation.text = DefinitionConditions && entered == shownAbbreviation_
                            ? DefinitionConditions->abbreviation.text
                            : StoredAbbreviation(entered, CodePage);
  c.abbreviation.immediate = view_.Checked(ecImmediate);
  return c;
}

void KeyEditor::ProgramsChanged() {
  if (showing_) return;
  const bool listed = EnteredConditions().scope != ProgramScope::kAll;
  view_.SetEnabled(ecPrograms, listed);
  view_.SetEnabled(ecProgramsButton, listed);
  HotKeyChanged();
}

void KeyEditor::ProgramsButtonClick() {
  std::vector<std::string> open;
  if (Programs) open = OpenPrograms(*Programs);
  const std::optional<std::string> pick = view_.PickProgram(open);
  if (!pick) return;
  std::vector<std::string> names = ParseProgramList(view_.Text(ecPrograms));
  if (NamesProgram(names, *pick)) return;
  names.push_back(*pick);
  view_.SetText(ecPrograms, ProgramListText(names));
  ProgramsChanged();
}

void KeyEditor::OLKeyNameEnter(int tag) {
  if (!IsEditorInput(tag)) return;
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
  const Conditions mine = EnteredConditions();
  std::string clash;
  // A switched-off hotkey is never registered: it clashes with nothing.
  if (!name.empty() && !mine.hotkeyOff) {
    // Ostrel registers a combination once for all the definitions switched on that share
    // it (the one being edited among them): a trial would then be refused by our own
    // registration, though the key is shared, not taken.
    bool ours = false;
    for (std::size_t i = 0; Keys && i < Keys->Count() && clash.empty(); ++i) {
      const PKeyRec rec = Keys->At(i);
      const Conditions& theirs = Keys->ConditionsAt(i);
      if (!rec || rec->Key != key || rec->KeyMod != mod || theirs.hotkeyOff) continue;
      ours = true;
      if (rec == Original || !Overlap(mine, theirs)) continue;
      const std::string group = TrimText(rec->Group.str());
      const std::string shared = OverlapText(mine, theirs);
      clash = name + " is already the HotKey of \"" + TrimText(rec->Name.str()) + "\"" +
              (group.empty() ? "" : " in the group \"" + group + "\"") +
              (shared.empty() ? "" : " for " + shared) + ".";
    }
    // Nothing registers a button or the wheel: no other program can hold one.
    if (clash.empty() && !ours && !IsMouseKey(key) &&
        !view_.TryHotKey(ModifierFlags(kKeyModTable[static_cast<std::size_t>(mod)].set),
                         kKeyTable[static_cast<std::size_t>(key)].code))
      clash = name + " is taken by another program or by the system.";
  }
  if (clash.empty() && !mine.abbreviation.text.empty()) clash = AbbreviationClash(mine);
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
    const std::string key = EnteredKeyText(view_.Text(ecGroup), view_.Text(ecName), Lead);
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
  // A plain left or right click taken would leave the user without a mouse. Switched
  // off, such a hotkey is kept (a file may hold one) and never taken.
  const int mod = view_.Selection(ecKm);
  if (mod >= 0 && mod < static_cast<int>(kKeyModCount) && !view_.Checked(ecHotkeyOff) &&
      IsUsersClick(view_.Selection(ecKeylist), kKeyModTable[static_cast<std::size_t>(mod)].set)) {
    view_.ShowError(kUsersClickText);
    view_.FocusControl(ecKm);
    return false;
  }
  // "Only in" no program would never run by its hotkey, "All but" none is "All": either
  // is a row left half filled in.
  const Conditions c = EnteredConditions();
  if (c.scope != ProgramScope::kAll && c.programs.empty()) {
    view_.ShowError("Enter the programs' file names (like notepad.exe), separated by \";\".");
    view_.FocusControl(ecPrograms);
    return false;
  }
  if (const std::string problem = AbbreviationProblem(c.abbreviation.text); !problem.empty()) {
    view_.ShowError(problem);
    view_.FocusControl(ecAbbreviation);
    return false;
  }
  return true;
}

std::string KeyEditor::AbbreviationClash(const Conditions& mine) const {
  for (std::size_t i = 0; Keys && i < Keys->Count(); ++i) {
    const PKeyRec rec = Keys->At(i);
    const Conditions& theirs = Keys->ConditionsAt(i);
    if (!rec || rec == Original || !AbbreviationsClash(mine, theirs)) continue;
    const std::string group = TrimText(rec->Group.str());
    const std::string shared = OverlapText(mine, theirs);
    return ShownAbbreviation(mine.abbreviation.text, CodePage) +
           " is already the abbreviation of \"" + TrimText(rec->Name.str()) + "\"" +
           (group.empty() ? "" : " in the group \"" + group + "\"") +
           (shared.empty() ? "" : " for " + shared) + ".";
  }
  return {};
}

void KeyEditor::OkClick() {
  if (!Definition || !Validate(EditMode)) return;
  TKeyRec& d = *Definition;
  auto Cut = [this](const std::string& text, std::size_t n) { return Lead.Cut(text, n); };
  d.Name.assign(Cut(TrimText(view_.Text(ecName)), kNameWidth));
  d.Group.assign(Cut(TrimText(view_.Text(ecGroup)), kGroupWidth));
  d.Key = view_.Selection(ecKeylist);
  d.KeyMod = view_.Selection(ecKm);
  // Keystrokes are stored as typed: leading and trailing blanks may be part of a macro.
  const std::string target =
      TakesKeystrokes(d) ? view_.Text(ecKeystrokes) : TrimText(view_.Text(ecTarget));
  d.Target.assign(Cut(target, kTextWidth));
  d.Reserved = 1;
  d.Parms.assign(Cut(TrimText(view_.Text(ecParms)), kTextWidth));
  d.Dir.assign(Cut(TrimText(view_.Text(ecDir)), kTextWidth));
  d.ShowOnMenu = 1;
  if (DefinitionConditions) *DefinitionConditions = EnteredConditions();
  view_.CloseOk();
}

void KeyEditor::BrowseClick(int tag) {
  if (!Definition) return;
  const FunTypeInfo* type = TypeOf(*Definition);
  if (!type) return;
  // The working folder's button always browses for a folder.
  if (tag == ecDirButton && type->parmsAndDir) {
    if (auto folder = view_.BrowseForFolder()) view_.SetText(ecDir, *folder);
    return;
  }
  switch (type->browse) {
    case BrowseKind::kNone:
      return;
    case BrowseKind::kFolder:
      if (auto folder = view_.BrowseForFolder(); folder && tag == ecTargetButton)
        view_.SetText(ecTarget, *folder);
      return;
    case BrowseKind::kFile:
      if (auto file = view_.OpenFile(kAllFiles)) view_.SetText(ecTarget, *file);
      return;
    case BrowseKind::kMacroList:
      if (view_.Text(ecTarget).empty()) view_.SetText(ecTarget, FreeListFileName(files_, dataDir_));
      view_.EditMacroList(dataDir_ + view_.Text(ecTarget));
      return;
  }
}

void KeyEditor::HelpClick() { view_.RequestHelp(kMainHelpContext); }

}  // namespace ostrel
