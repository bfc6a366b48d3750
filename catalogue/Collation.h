// How key texts are ordered and matched. On Windows the order is the user locale's
// case-insensitive collation (CompareStringA); the portable collation below stands in
// for it off Windows. Both put the group separator 0x0B ahead of every letter and
// digit, so ungrouped definitions come first and each group forms one run.
#pragma once

#include <string_view>

namespace ostrel {

// Returns a negative number, zero or a positive number, like CompareStringA - 2.
using CollateFn = int (*)(std::string_view a, std::string_view b);

// Case-insensitive; control characters < blanks and punctuation < digits < letters.
// Letters compare by their upper-case form (ASCII and the Windows-1252 accented
// letters), other bytes by their code; a proper prefix comes first.
int PortableCollate(std::string_view a, std::string_view b);

}  // namespace ostrel
