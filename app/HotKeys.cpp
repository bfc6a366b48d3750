#include "app/HotKeys.h"

#include <algorithm>
#include <map>
#include <utility>

#include "app/BusyMark.h"
#include "catalogue/Programs.h"

namespace ostrel {

std::string DefinitionLines(const std::vector<const TKeyRec*>& defs) {
  std::string text;
  std::size_t shown = 0;
  for (const TKeyRec* d : defs) {
    // A box taller than the screen would hide its own OK button.
    if (shown == kRefusedLinesShown) {
      text += "\n... and " + std::to_string(defs.size() - shown) + " more.";
      break;
    }
    const std::string group = TrimText(d->Group.str());
    // A definition without a hotkey (one skipped at an import) is named alone.
    const std::string key = HotKeyName(d->Key, d->KeyMod);
    text += "\n" + (group.empty() ? std::string() : group + ": ") + TrimText(d->Name.str()) +
            (key.empty() ? std::string() : " (" + key + ")");
    ++shown;
  }
  return text;
}

std::string RefusedHotKeysText(const std::vector<PKeyRec>& refused) {
  return std::string(kHotKeyInUseText) + "\n" +
         DefinitionLines(std::vector<const TKeyRec*>(refused.begin(), refused.end()));
}

std::optional<THotKeyModifiers> KeyModToModifiers(std::int32_t keyMod) {
  if (keyMod < 0 || keyMod >= static_cast<std::int32_t>(kKeyModCount)) return std::nullopt;
  return kKeyModTable[static_cast<std::size_t>(keyMod)].set;
}

std::vector<PKeyRec> SwitchOffUsersClicks(KeysList& keys) {
  std::vector<PKeyRec> off;
  for (std::size_t i = 0; i < keys.Count(); ++i) {
    const PKeyRec d = keys.At(i);
    const std::optional<THotKeyModifiers> mods = d ? KeyModToModifiers(d->KeyMod) : std::nullopt;
    if (!mods || !IsUsersClick(d->Key, *mods) || keys.ConditionsAt(i).hotkeyOff) continue;
    Conditions c = keys.ConditionsAt(i);
    c.hotkeyOff = true;
    keys.SetConditions(i, std::move(c));
    off.push_back(d);
  }
  return off;
}

std::string UsersClicksText(const std::vector<PKeyRec>& off) {
  return std::string(
             "These hotkeys are switched off: the left and right buttons need Ctrl, "
             "Alt or Win among the modifiers.\n") +
         DefinitionLines(std::vector<const TKeyRec*>(off.begin(), off.end()));
}

namespace {

// Two definitions on one hotkey that a press could not tell apart for some program: the
// earlier one would always win there.
bool Tie(const Conditions& a, const Conditions& b) {
  const bool aOnly = a.scope == ProgramScope::kOnly, bOnly = b.scope == ProgramScope::kOnly;
  if (aOnly != bOnly) return false;
  return !aOnly || Overlap(a, b);
}

}  // namespace

HotKeyRegistry::HotKeyRegistry(MainView& view, HotKeyPort& port, ProgramPort& programs,
                               const std::unique_ptr<KeysList>& keys, std::vector<MenuItem>& menu,
                               std::function<void(PKeyRec)> pressed)
    : view_(view),
      programs_(programs),
      keys_(keys),
      menu_(menu),
      pressed_(std::move(pressed)),
      systemHotKeys_(port) {
  systemHotKeys_.OnHotKey = [this](TSysHotKey&, std::int32_t index) { HotKeyEvent(index); };
  systemHotKeys_.OnMouseHotKey = [this](TSysHotKey&, std::int32_t index, int runs) {
    return MouseHotKeyEvent(index, runs);
  };
}

void HotKeyRegistry::BuildHotKeyList() {
  hotKeyList_.clear();
  sharers_.clear();
  systemHotKeys_.SetActive(false);
  systemHotKeys_.Clear();
  systemHotKeys_.SetActive(true);
  std::vector<PKeyRec> refused;
  std::map<std::pair<std::int32_t, THotKeyModifiers>, std::size_t> idOf;
  for (std::size_t i = 0; keys_ && i < keys_->Count(); ++i) {
    PKeyRec d = keys_->At(i);
    if (!d || d->Key <= 0) continue;
    // A key or modifier index outside the tables can only come from a damaged file:
    // such a definition gets no hotkey, but stays listed and runs from the menu.
    std::optional<THotKeyModifiers> mods = KeyModToModifiers(d->KeyMod);
    if (!mods || d->Key >= static_cast<std::int32_t>(kKeyCount)) continue;
    // Switched off, for no program at all, or the user's own click: the key stays free.
    const Conditions& c = keys_->ConditionsAt(i);
    if (c.hotkeyOff || (c.scope == ProgramScope::kOnly && c.programs.empty()) ||
        IsUsersClick(d->Key, *mods))
      continue;
    auto [at, added] = idOf.try_emplace({d->Key, *mods}, sharers_.size());
    if (added) {
      systemHotKeys_.AddHotKey(static_cast<std::uint8_t>(d->Key), *mods);
      sharers_.emplace_back();
      // Another program holds the combination: told once, by its first definition.
      if (!systemHotKeys_.Entry(at->second).Registered) refused.push_back(d);
    }
    Sharers& s = sharers_[at->second];
    if (!added && systemHotKeys_.Entry(at->second).Registered &&
        std::any_of(s.conditions.begin(), s.conditions.end(),
                    [&c](const Conditions& e) { return Tie(e, c); }))
      refused.push_back(d);
    s.defs.push_back(d);
    s.conditions.push_back(c);
    s.restricted = s.restricted || c.scope != ProgramScope::kAll;
    hotKeyList_.push_back(keys_->KeyAt(i));
  }
  if (Changed) Changed();
  // One box for the whole rebuild, once every registration is in place: menus and
  // hotkeys that run under it find the lists complete. A box already up is not
  // joined by another.
  if (refused.empty() || hotKeyBoxOpen_) return;
  BusyMark box(hotKeyBoxOpen_);
  view_.ShowInfo(RefusedHotKeysText(refused));
}

PKeyRec HotKeyRegistry::Choose(std::size_t index, std::string_view program) const {
  if (index >= sharers_.size()) return nullptr;
  const Sharers& s = sharers_[index];
  PKeyRec best = nullptr;
  int bestPreference = 0;
  // Ties keep the first in list order.
  for (std::size_t i = 0; i < s.defs.size(); ++i) {
    const int p = Preference(s.conditions[i], program);
    if (p > bestPreference) best = s.defs[i], bestPreference = p;
  }
  return best;
}

PKeyRec HotKeyRegistry::ChooseInFront(std::size_t index) const {
  const Sharers& s = sharers_[index];
  // Only global definitions: the first is meant for every program, and asking which is
  // in front would only slow the press.
  return s.restricted ? Choose(index, ProgramInFront(programs_)) : s.defs.front();
}

void HotKeyRegistry::HotKeyEvent(std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= sharers_.size()) return;
  const auto at = static_cast<std::size_t>(index);
  if (PKeyRec chosen = ChooseInFront(at))
    pressed_(chosen);
  else
    systemHotKeys_.PassOn(at);
}

bool HotKeyRegistry::MouseHotKeyEvent(std::int32_t index, int runs) {
  if (index < 0 || static_cast<std::size_t>(index) >= sharers_.size()) return false;
  const PKeyRec chosen = ChooseInFront(static_cast<std::size_t>(index));
  if (!chosen) return false;
  for (int i = 0; i < runs; ++i) pressed_(chosen);
  return true;
}

void HotKeyRegistry::SetHotKeysOn(bool on) {
  const char* caption = on ? kHotKeysOffCaption : kHotKeysOnCaption;
  const int tag = on ? kImageHotKeysOff : kImageDefinition;
  if (MenuItem* item = FindCommandItem(menu_, MenuCommand::kHotKeysSwitch)) {
    item->caption = caption;
    item->tag = tag;
  }
  view_.SetHotKeysItem(caption, tag);
  systemHotKeys_.SetActive(on);
  if (Changed) Changed();
}

void HotKeyRegistry::Clear() {
  systemHotKeys_.SetActive(false);
  systemHotKeys_.Clear();
  hotKeyList_.clear();
  sharers_.clear();
  if (Changed) Changed();
}

}  // namespace ostrel
