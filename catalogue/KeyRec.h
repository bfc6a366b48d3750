// One hotkey definition, byte for byte the 844-byte record stored in Keys.fil.
// The in-memory record has the file's layout, so reading and writing a record is a
// plain copy; every string is a counted ANSI "short string" whose length byte may
// come from a damaged file, so readers go through ShortString::str(), which never
// looks past the field's capacity.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ostrel {

static_assert(std::endian::native == std::endian::little,
              "the record layout is little-endian and copied as it stands");

template <std::size_t Capacity>
struct ShortString {
  static_assert(Capacity > 0 && Capacity <= 255);
  static constexpr std::size_t capacity = Capacity;

  std::uint8_t len;
  char chars[Capacity];

  // The value, never longer than the capacity whatever the length byte says.
  std::string str() const {
    std::size_t n = len < Capacity ? len : Capacity;
    return std::string(chars, n);
  }
  // Stores the first Capacity bytes of `value`; unused bytes become zeros.
  void assign(std::string_view value) {
    std::size_t n = value.size() < Capacity ? value.size() : Capacity;
    len = static_cast<std::uint8_t>(n);
    for (std::size_t i = 0; i < Capacity; ++i) chars[i] = i < n ? value[i] : '\0';
  }
  // Cuts a length byte that claims more than the field holds; true if it did.
  bool clamp() {
    if (len <= Capacity) return false;
    len = static_cast<std::uint8_t>(Capacity);
    return true;
  }
};

struct TKeyRec {
  ShortString<40> Name;
  std::uint8_t gap1[3];
  std::int32_t Key;     // key index 0..132, 0 = no hotkey
  std::int32_t KeyMod;  // modifier-combination index 0..15
  ShortString<10> Group;
  std::uint8_t gap2[1];
  std::int32_t FunType;  // function type id 1..20
  ShortString<255> Target;
  ShortString<255> Parms;
  ShortString<255> Dir;
  std::int32_t ShowOnMenu;  // non-zero: listed on the OstrelMenu
  std::int32_t Reserved;    // written as 1, never interpreted
};
using PKeyRec = TKeyRec*;

inline constexpr std::size_t kKeyRecSize = 844;

static_assert(sizeof(TKeyRec) == kKeyRecSize);
static_assert(alignof(TKeyRec) == 4);
static_assert(offsetof(TKeyRec, Name) == 0);
static_assert(offsetof(TKeyRec, gap1) == 41);
static_assert(offsetof(TKeyRec, Key) == 44);
static_assert(offsetof(TKeyRec, KeyMod) == 48);
static_assert(offsetof(TKeyRec, Group) == 52);
static_assert(offsetof(TKeyRec, gap2) == 63);
static_assert(offsetof(TKeyRec, FunType) == 64);
static_assert(offsetof(TKeyRec, Target) == 68);
static_assert(offsetof(TKeyRec, Parms) == 324);
static_assert(offsetof(TKeyRec, Dir) == 580);
static_assert(offsetof(TKeyRec, ShowOnMenu) == 836);
static_assert(offsetof(TKeyRec, Reserved) == 840);

// A new definition: empty strings, no hotkey, on the menu, Reserved 1, every
// other byte zero.
TKeyRec NewKeyRec(std::int32_t funType = 0);

// Copies field by field (Name cut to 40, Group to 10), as the editor's working copy
// and its write-back do.
void CopyKeyRec(const TKeyRec& from, TKeyRec& to);

// Removes leading and trailing characters with codes below 33.
std::string TrimText(std::string_view text);

// The separator between group and name in a key text.
inline constexpr char kKeySeparator = '\x0B';

// Trim(Group) + 0x0B + Trim(Name): identifies a definition in KeysList.
std::string KeyText(const TKeyRec& rec);

}  // namespace ostrel
