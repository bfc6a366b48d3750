#include "macro/MacroSteps.h"

#include "platform/Utf16.h"

namespace ostrel {

std::vector<MacroStep> ReadMacroSteps(std::string_view macro, const LeadBytes& lead) {
  std::vector<MacroStep> steps;
  MacroModifiers in;
  std::size_t pos = 0;
  while (pos < macro.size()) {
    const std::size_t at = pos;
    const MacroToken token = ReadMacroToken(macro, pos, lead);
    MacroStepKind kind = MacroStepKind::kKey;
    switch (token.kind) {
      case MacroTokenKind::kCtrl:
        in.ctrl = !in.ctrl;
        continue;
      case MacroTokenKind::kAlt:
        in.alt = !in.alt;
        continue;
      case MacroTokenKind::kShift:
        in.shift = !in.shift;
        continue;
      case MacroTokenKind::kAltNext:
        in.altNext = true;
        continue;
      case MacroTokenKind::kNothing:
        continue;
      case MacroTokenKind::kPause:
        kind = MacroStepKind::kPause;
        break;
      case MacroTokenKind::kNamedKey:
        kind = MacroStepKind::kKey;
        break;
      case MacroTokenKind::kCharacter:
      case MacroTokenKind::kDoubleByte:
      case MacroTokenKind::kUnicode:
        kind = MacroStepKind::kCharacter;
        break;
    }
    steps.push_back(MacroStep{kind, token, in, at, pos, macro[at] == '{'});
    // {@} holds for the next key or character, sent or not; a pause leaves it pending.
    if (kind != MacroStepKind::kPause) in.altNext = false;
  }
  return steps;
}

namespace {

// Whether a step is plain text that may go by the clipboard.
bool Plain(const MacroStep& step) {
  if (step.kind != MacroStepKind::kCharacter || step.modifiers.Any()) return false;
  switch (step.token.kind) {
    case MacroTokenKind::kCharacter:
      return !step.braced && step.token.code >= 0x20 && step.token.code != 0x7F;
    case MacroTokenKind::kDoubleByte:
      return !step.braced;
    case MacroTokenKind::kUnicode:
      return step.token.count == 1;
    default:
      return false;
  }
}

}  // namespace

std::vector<MacroPaste> FindPastes(std::string_view macro, const std::vector<MacroStep>& steps,
                                   CodePagePort& codePage, std::size_t above) {
  std::vector<MacroPaste> runs;
  MacroPaste run;
  bool gathering = false;
  bool convertible = true;
  // Bytes of the code page waiting to be converted with the ones that follow them.
  std::string pending;
  auto flushBytes = [&] {
    if (pending.empty()) return;
    std::u16string units;
    if (codePage.MultiByteToWideChar(pending, units))
      run.text += units;
    else
      convertible = false;
    pending.clear();
  };
  auto close = [&] {
    flushBytes();
    if (gathering && run.last - run.first > above && convertible) runs.push_back(std::move(run));
    run = MacroPaste{};
    gathering = false;
    convertible = true;
  };
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const MacroStep& step = steps[i];
    const bool plain = Plain(step);
    // A word that leaves no step ({CTRL}, an unknown word...) also ends a run.
    if (gathering && (!plain || steps[i - 1].end != step.begin)) close();
    if (!plain) continue;
    if (!gathering) run.first = i, gathering = true;
    run.last = i + 1;
    if (step.token.kind == MacroTokenKind::kUnicode) {
      flushBytes();
      AppendUtf16(run.text, step.token.unicode);
    } else {
      pending.append(macro.substr(step.begin, step.end - step.begin));
    }
  }
  close();
  return runs;
}

MacroPlan PlanMacro(std::string_view macro, CodePagePort& codePage, bool paste,
                    std::size_t above) {
  MacroPlan plan;
  plan.steps = ReadMacroSteps(macro, SystemLeadBytes(codePage));
  if (paste) plan.pastes = FindPastes(macro, plan.steps, codePage, above);
  return plan;
}

}  // namespace ostrel
