#include "app/HotKeys.h"

#include <utility>

#include "app/BusyMark.h"

namespace ostrel {

std::string RefusedHotKeysText(const std::vector<PKeyRec>& refused) {
  std::string text = kHotKeyInUseText;
  text += "\n";
  std::size_t shown = 0;
  for (PKeyRec d : refused) {
    // A box taller than the screen would hide its own OK button.
    if (shown == kRefusedLinesShown) {
      text += "\n... and " + std::to_string(refused.size() - shown) + " more.";
      break;
    }
    const std::string group = TrimText(d->Group.str());
    text += "\n" + (group.empty() ? std::string() : group + ": ") + TrimText(d->Name.str()) +
            " (" + HotKeyName(d->Key, d->KeyMod) + ")";
    ++shown;
  }
  return text;
}

std::optional<THotKeyModifiers> KeyModToModifiers(std::int32_t keyMod) {
  if (keyMod < 0 || keyMod >= static_cast<std::int32_t>(kKeyModCount)) return std::nullopt;
  return kKeyModTable[static_cast<std::size_t>(keyMod)].set;
}

HotKeyRegistry::HotKeyRegistry(MainView& view, HotKeyPort& port,
                               const std::unique_ptr<KeysList>& keys, std::vector<MenuItem>& menu,
                               std::function<void(PKeyRec)> pressed)
    : view_(view), keys_(keys), menu_(menu), pressed_(std::move(pressed)), sysHotKey1_(port) {
  sysHotKey1_.OnHotKey = [this](TSysHotKey&, std::int32_t index) { HotKeyEvent(index); };
}

void HotKeyRegistry::BuildHotKeyList() {
  hotKeyList_.clear();
  hotKeyDefs_.clear();
  sysHotKey1_.SetActive(false);
  sysHotKey1_.Clear();
  sysHotKey1_.SetActive(true);
  std::vector<PKeyRec> refused;
  for (std::size_t i = 0; keys_ && i < keys_->Count(); ++i) {
    PKeyRec d = keys_->At(i);
    if (!d || d->Key <= 0) continue;
    // A key or modifier index outside the tables can only come from a damaged file:
    // such a definition gets no hotkey, but stays listed and runs from the menu.
    std::optional<THotKeyModifiers> mods = KeyModToModifiers(d->KeyMod);
    if (!mods || d->Key >= static_cast<std::int32_t>(kKeyCount)) continue;
    sysHotKey1_.AddHotKey(static_cast<std::uint8_t>(d->Key), *mods);
    hotKeyList_.push_back(keys_->KeyAt(i));
    hotKeyDefs_.push_back(d);
    if (!sysHotKey1_.Entry(sysHotKey1_.Count() - 1).Registered) refused.push_back(d);
  }
  // One box for the whole rebuild, once every registration is in place: menus and
  // hotkeys that run under it find the lists complete. A box already up is not
  // joined by another.
  if (refused.empty() || hotKeyBoxOpen_) return;
  BusyMark box(hotKeyBoxOpen_);
  view_.ShowInfo(RefusedHotKeysText(refused));
}

void HotKeyRegistry::HotKeyEvent(std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= hotKeyDefs_.size()) return;
  pressed_(hotKeyDefs_[static_cast<std::size_t>(index)]);
}

void HotKeyRegistry::SetHotKeysOn(bool on) {
  const char* caption = on ? kHotKeysOffCaption : kHotKeysOnCaption;
  const int tag = on ? kImageHotKeysOff : kImageDefinition;
  if (MenuItem* item = FindCommandItem(menu_, MenuCommand::kHotKeysSwitch)) {
    item->caption = caption;
    item->tag = tag;
  }
  view_.SetHotKeysItem(caption, tag);
  sysHotKey1_.SetActive(on);
}

void HotKeyRegistry::Clear() {
  sysHotKey1_.SetActive(false);
  sysHotKey1_.Clear();
  hotKeyList_.clear();
  hotKeyDefs_.clear();
}

}  // namespace ostrel
