#include "macro/PasteRuns.h"

#include "macro/MacroSteps.h"

namespace ostrel {

std::vector<PasteRun> FindPasteRuns(std::string_view macro, CodePagePort& codePage,
                                    std::size_t above) {
  const std::vector<MacroStep> steps = ReadMacroSteps(macro, SystemLeadBytes(codePage));
  std::vector<PasteRun> runs;
  for (MacroPaste& paste : FindPastes(macro, steps, codePage, above))
    runs.push_back(PasteRun{steps[paste.first].begin, steps[paste.last - 1].end,
                            std::move(paste.text)});
  return runs;
}

}  // namespace ostrel
