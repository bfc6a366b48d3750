#include "catalogue/KeysList.h"

#include <algorithm>
#include <stdexcept>

namespace ostrel {

std::size_t KeysList::LowerBound(const std::string& key) const {
  auto it = std::lower_bound(
      entries_.begin(), entries_.end(), key,
      [this](const Entry& e, const std::string& k) { return collate_(e.key, k) < 0; });
  return static_cast<std::size_t>(it - entries_.begin());
}

std::ptrdiff_t KeysList::Find(const std::string& key) const {
  std::size_t i = LowerBound(key);
  if (i < entries_.size() && collate_(entries_[i].key, key) == 0)
    return static_cast<std::ptrdiff_t>(i);
  return npos;
}

std::ptrdiff_t KeysList::IndexOf(const TKeyRec* rec) const {
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].rec.get() == rec) return static_cast<std::ptrdiff_t>(i);
  return npos;
}

const Conditions& KeysList::ConditionsOf(const TKeyRec* rec) const {
  static const Conditions kPlain;
  std::ptrdiff_t i = IndexOf(rec);
  return i == npos ? kPlain : entries_[static_cast<std::size_t>(i)].conditions;
}

std::size_t KeysList::Add(const std::string& key, std::unique_ptr<TKeyRec> rec,
                          Conditions conditions) {
  if (!rec) throw std::invalid_argument("KeysList::Add without a definition");
  // A file we wrote is already in order: appending is then the common case.
  if (entries_.empty() || collate_(entries_.back().key, key) < 0) {
    entries_.push_back(Entry{key, std::move(rec), std::move(conditions)});
    return entries_.size() - 1;
  }
  std::size_t i = LowerBound(key);
  if (i < entries_.size() && collate_(entries_[i].key, key) == 0) {
    entries_[i].rec = std::move(rec);
    entries_[i].conditions = std::move(conditions);
    return i;
  }
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(i),
                  Entry{key, std::move(rec), std::move(conditions)});
  return i;
}

void KeysList::Delete(std::size_t i) {
  if (i >= entries_.size()) throw std::out_of_range("KeysList::Delete");
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
}

void KeysList::Rekey() {
  for (Entry& e : entries_) e.key = KeyText(*e.rec);
  std::stable_sort(entries_.begin(), entries_.end(),
                   [this](const Entry& a, const Entry& b) { return collate_(a.key, b.key) < 0; });
}

}  // namespace ostrel
