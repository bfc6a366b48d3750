// KeysList: the sorted list of (key text, definition) that owns every definition.
// Ordered and searched under one collation; adding a key text that is already present
// (ignoring case) replaces that entry's definition instead of adding a second entry.
// Each entry also holds the definition's conditions (programs, hotkey off), which travel
// with it through every change of the list.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/Collation.h"
#include "catalogue/Conditions.h"
#include "catalogue/KeyRec.h"

namespace ostrel {

class KeysList {
 public:
  static constexpr std::ptrdiff_t npos = -1;

  explicit KeysList(CollateFn collate) : collate_(collate) {}

  std::size_t Count() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }
  const std::string& KeyAt(std::size_t i) const { return entries_.at(i).key; }
  PKeyRec At(std::size_t i) const { return entries_.at(i).rec.get(); }
  const Conditions& ConditionsAt(std::size_t i) const { return entries_.at(i).conditions; }
  void SetConditions(std::size_t i, Conditions c) { entries_.at(i).conditions = std::move(c); }
  // The conditions of this very definition; global and on when it is not in the list.
  const Conditions& ConditionsOf(const TKeyRec* rec) const;

  // Binary search, ignoring case; npos when absent.
  std::ptrdiff_t Find(const std::string& key) const;
  // Position of this very definition (compared by reference); npos when absent.
  std::ptrdiff_t IndexOf(const TKeyRec* rec) const;

  // Inserts at the sorted position, or hands `rec` and `conditions` to the entry already
  // holding an equal key text, freeing the definition it held. Returns the entry's position.
  std::size_t Add(const std::string& key, std::unique_ptr<TKeyRec> rec,
                  Conditions conditions = {});
  void Delete(std::size_t i);
  void Clear() { entries_.clear(); }

  // Recomputes every key text from its definition and sorts the whole list again;
  // run after definitions were changed in place. Equal key texts stay side by side.
  void Rekey();

  CollateFn Collation() const { return collate_; }

 private:
  struct Entry {
    std::string key;
    std::unique_ptr<TKeyRec> rec;
    Conditions conditions;
  };
  std::size_t LowerBound(const std::string& key) const;

  CollateFn collate_;
  std::vector<Entry> entries_;
};

}  // namespace ostrel
