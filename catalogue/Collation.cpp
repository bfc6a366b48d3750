#include "catalogue/Collation.h"

#include <array>
#include <cstdint>

namespace ostrel {
namespace {

// Upper-case form in Windows-1252: ASCII letters and the accented letters
// 0xE0..0xFE (except the division sign) fold onto 0xC0..0xDE.
constexpr unsigned char FoldCase(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
  return c;
}

constexpr bool IsLetter(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || c == 0x8A ||
         c == 0x8C || c == 0x8E || c == 0x9F;
}

// A weight whose high byte is the character class and low byte the folded code.
constexpr std::uint16_t Weight(unsigned char raw) {
  unsigned char c = FoldCase(raw);
  unsigned cls;
  if (c < 32)
    cls = 0;
  else if (c >= '0' && c <= '9')
    cls = 2;
  else if (IsLetter(c))
    cls = 3;
  else
    cls = 1;
  return static_cast<std::uint16_t>(cls << 8 | c);
}

constexpr std::array<std::uint16_t, 256> MakeWeights() {
  std::array<std::uint16_t, 256> w{};
  for (unsigned c = 0; c < 256; ++c) w[c] = Weight(static_cast<unsigned char>(c));
  return w;
}
constexpr std::array<std::uint16_t, 256> kWeights = MakeWeights();

}  // namespace

int PortableCollate(std::string_view a, std::string_view b) {
  std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    std::uint16_t wa = kWeights[static_cast<unsigned char>(a[i])];
    std::uint16_t wb = kWeights[static_cast<unsigned char>(b[i])];
    if (wa != wb) return wa < wb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace ostrel
