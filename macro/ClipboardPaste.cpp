#include "macro/ClipboardPaste.h"

#include <algorithm>

#include "macro/MacroTimings.h"

namespace ostrel {

namespace {

// Windows makes each format of a group from whichever of them a program put there, and
// lists the one put there first. Only that one is kept: the others come back by
// themselves, as they were made from it.
int SynthesisGroup(std::uint32_t format) {
  switch (format) {
    case kCfText:
    case kCfOemText:
    case kCfUnicodeText:
      return 1;
    case kCfBitmap:
    case kCfDib:
    case kCfDibV5:
      return 2;
    case kCfMetafilePict:
    case kCfEnhMetafile:
      return 3;
    default:
      return 0;
  }
}

// The text as CF_UNICODETEXT holds it: UTF-16, little-endian, ending in a NUL.
std::string UnicodeTextBytes(const std::u16string& text) {
  std::string bytes;
  bytes.reserve(text.size() * 2 + 2);
  for (char16_t u : text) {
    bytes += static_cast<char>(u & 0xFF);
    bytes += static_cast<char>(u >> 8);
  }
  bytes.append(2, '\0');
  return bytes;
}

// The history formats say "no" as a 32-bit zero.
const std::string kZero32(4, '\0');

}  // namespace

ClipboardKeeper::ClipboardKeeper(ClipboardPort& clipboard, SystemPort& system,
                                 KeyboardPort& keyboard)
    : clip_(clipboard), system_(system), keyboard_(keyboard) {}

ClipboardKeeper::~ClipboardKeeper() {
  try {
    Restore();
  } catch (...) {
  }
}

// Another program may hold the clipboard while it asks us for a format we placed, so
// our messages are processed while we wait.
bool ClipboardKeeper::OpenWithin(std::uint32_t limitMs) {
  const std::uint64_t start = system_.TickCount();
  while (!clip_.Open()) {
    if (system_.TickCount() - start >= limitMs) return false;
    keyboard_.ProcessMessages();
    system_.Sleep(kClipboardOpenPollMs);
  }
  return true;
}

bool ClipboardKeeper::Place(const std::u16string& text) {
  if (!OpenWithin(kClipboardOpenRetryMs)) return false;
  // What another program wrote after our last paste is the user's clipboard now.
  if (!saved_ || !(ours_ && StillOurs())) Save();
  saved_ = true;
  const std::string bytes = UnicodeTextBytes(text);
  if (!PutText(bytes)) {
    // Half written: the clipboard goes back to what it held.
    PutBack();
    clip_.Close();
    ours_ = false;
    return false;
  }
  clip_.Close();
  placed_ = bytes;
  ours_ = true;
  sequence_ = clip_.SequenceNumber();
  return true;
}

bool ClipboardKeeper::PutText(const std::string& bytes) {
  if (!clip_.Empty() || !clip_.SetDataOnRequest(kCfUnicodeText, bytes)) return false;
  if (!exclude_) exclude_ = clip_.RegisterFormat(kExcludeFromMonitorsFormat);
  // A format the system refuses to register is left out: the text still pastes.
  if (exclude_ && !clip_.SetData(exclude_, kZero32)) return false;
  for (const char* name : {kCanIncludeInHistoryFormat, kCanUploadToCloudFormat})
    if (const std::uint32_t format = clip_.RegisterFormat(name))
      if (!clip_.SetData(format, kZero32)) return false;
  return true;
}

bool ClipboardKeeper::WaitTaken() {
  const std::uint64_t start = system_.TickCount();
  while (clip_.RenderRequests() == 0) {
    if (system_.TickCount() - start >= kPasteTakenLimitMs) return false;
    keyboard_.ProcessMessages();
    system_.Sleep(kYieldMs);
  }
  return true;
}

void ClipboardKeeper::Restore() {
  if (!ours_) return;
  ours_ = false;
  if (!OpenWithin(kClipboardRestoreRetryMs)) return;
  if (StillOurs()) PutBack();
  clip_.Close();
}

// The sequence number moves with every change, our own rendering of the text included;
// so when it has moved, the clipboard is still ours while it holds our mark and our text.
bool ClipboardKeeper::StillOurs() {
  if (clip_.SequenceNumber() == sequence_) return true;
  const std::vector<std::uint32_t> formats = clip_.Formats();
  if (!exclude_ || std::find(formats.begin(), formats.end(), exclude_) == formats.end())
    return false;
  // The system may hand the text back in a block rounded up beyond it.
  const std::optional<std::string> text = clip_.Data(kCfUnicodeText);
  return text && text->size() >= placed_.size() && text->compare(0, placed_.size(), placed_) == 0;
}

// Every format held in memory, in the clipboard's order, but those that Windows makes
// from another of the same group, and those held as other handles (bitmaps, palettes,
// metafiles), which Data cannot copy: a bitmap comes back from its DIB.
void ClipboardKeeper::Save() {
  formats_.clear();
  bool groupKept[4] = {};
  for (std::uint32_t format : clip_.Formats()) {
    const int group = SynthesisGroup(format);
    if (groupKept[group] && group != 0) continue;
    std::optional<std::string> bytes = clip_.Data(format);
    if (!bytes) continue;
    groupKept[group] = true;
    formats_.emplace_back(format, std::move(*bytes));
  }
}

void ClipboardKeeper::PutBack() {
  if (!clip_.Empty()) return;
  for (const auto& [format, bytes] : formats_) clip_.SetData(format, bytes);
}

}  // namespace ostrel
