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
    // Switched off, or for no program at all: the key stays free for others.
    const Conditions& c = keys_->ConditionsAt(i);
    if (c.hotkeyOff || (c.scope == ProgramScope::kOnly && c.programs.empty())) continue;
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

void HotKeyRegistry::HotKeyEvent(std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= sharers_.size()) return;
  const auto at = static_cast<std::size_t>(index);
  const Sharers& s = sharers_[at];
  // Only global definitions: the first is meant for every program, and asking which is
  // in front would only slow the press.
  PKeyRec chosen = s.restricted ? Choose(at, ProgramInFront(programs_)) : s.defs.front();
  if (chosen)
    pressed_(chosen);
  else
    systemHotKeys_.PassOn(at);
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
}

void HotKeyRegistry::Clear() {
  systemHotKeys_.SetActive(false);
  systemHotKeys_.Clear();
  hotKeyList_.clear();
  sharers_.clear();
}

}  // namespace ostrel
