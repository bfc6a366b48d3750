#include "macro/PasteRuns.h"

#include "macro/MacroTokens.h"
#include "platform/Utf16.h"

namespace ostrel {

namespace {

// The run being gathered: where it starts and ends, its characters, and its text.
struct Gathering {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t characters = 0;
  std::u16string text;
  bool convertible = true;
};

}  // namespace

std::vector<PasteRun> FindPasteRuns(std::string_view macro, CodePagePort& codePage,
                                    std::size_t above) {
  const LeadBytes lead = SystemLeadBytes(codePage);
  std::vector<PasteRun> runs;
  Gathering run;
  // Bytes of the code page waiting to be converted with the ones that follow them.
  std::string pending;
  auto flushBytes = [&] {
    if (pending.empty()) return;
    std::u16string units;
    if (codePage.MultiByteToWideChar(pending, units))
      run.text += units;
    else
      run.convertible = false;
    pending.clear();
  };
  auto close = [&] {
    flushBytes();
    if (run.characters > above && run.convertible)
      runs.push_back(PasteRun{run.begin, run.end, std::move(run.text)});
    run = Gathering{};
  };

  bool ctrl = false, alt = false, shift = false, altNext = false;
  std::size_t pos = 0;
  while (pos < macro.size()) {
    const std::size_t at = pos;
    const MacroToken token = ReadMacroToken(macro, pos, lead);
    const bool braced = macro[at] == '{';
    const bool modifiers = ctrl || alt || shift || altNext;
    bool plain = false;
    switch (token.kind) {
      case MacroTokenKind::kCharacter:
        plain = !braced && !modifiers && token.code >= 0x20 && token.code != 0x7F;
        break;
      case MacroTokenKind::kDoubleByte:
        plain = !braced && !modifiers;
        break;
      case MacroTokenKind::kUnicode:
        plain = !modifiers && token.count == 1;
        break;
      case MacroTokenKind::kCtrl:
        ctrl = !ctrl;
        break;
      case MacroTokenKind::kAlt:
        alt = !alt;
        break;
      case MacroTokenKind::kShift:
        shift = !shift;
        break;
      case MacroTokenKind::kAltNext:
        altNext = true;
        break;
      case MacroTokenKind::kNothing:
      case MacroTokenKind::kNamedKey:
      case MacroTokenKind::kPause:
        break;
    }
    // {@} holds for the next key that is sent, whatever kind it is.
    if (altNext && token.kind != MacroTokenKind::kAltNext &&
        (token.kind == MacroTokenKind::kCharacter || token.kind == MacroTokenKind::kDoubleByte ||
         token.kind == MacroTokenKind::kUnicode || token.kind == MacroTokenKind::kNamedKey))
      altNext = false;
    if (!plain) {
      close();
      continue;
    }
    if (run.characters == 0) run.begin = at;
    run.end = pos;
    ++run.characters;
    if (token.kind == MacroTokenKind::kUnicode) {
      flushBytes();
      AppendUtf16(run.text, token.unicode);
    } else {
      pending.append(macro.substr(at, pos - at));
    }
  }
  close();
  return runs;
}

}  // namespace ostrel
