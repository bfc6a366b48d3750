// The clipboard's part in pasting long text: the user's clipboard is saved before a
// macro's first paste, each pasted run is put there for the target to ask for, and the
// user's clipboard goes back after the last paste, byte for byte, unless another program
// has written to it meanwhile. The keys that make the target paste are the engine's
// (macro/SendKeys.cpp). Delays: macro/MacroTimings.h.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/ClipboardPort.h"
#include "platform/KeyboardPort.h"
#include "platform/SystemPort.h"

namespace ostrel {

// Names of the formats that keep text out of the clipboard history and the cloud
// clipboard, and away from programs that watch the clipboard.
inline constexpr const char* kExcludeFromMonitorsFormat = "ExcludeClipboardContentFromMonitorProcessing";
inline constexpr const char* kCanIncludeInHistoryFormat = "CanIncludeInClipboardHistory";
inline constexpr const char* kCanUploadToCloudFormat = "CanUploadToCloudClipboard";

class ClipboardKeeper {
 public:
  ClipboardKeeper(ClipboardPort& clipboard, SystemPort& system, KeyboardPort& keyboard);
  // Puts the user's clipboard back if a paste is still on it. Never throws.
  ~ClipboardKeeper();
  ClipboardKeeper(const ClipboardKeeper&) = delete;
  ClipboardKeeper& operator=(const ClipboardKeeper&) = delete;

  // Puts `text` on the clipboard as Unicode text, handed over when the target asks for
  // it, with the history formats. The first call saves the user's clipboard, and a later
  // one again when another program has written since. False when the clipboard could
  // not be had or written: then it holds what it held before, and the run is typed.
  bool Place(const std::u16string& text);
  // Processes messages until the text placed last has been asked for; false when it was
  // not within kPasteTakenLimitMs.
  bool WaitTaken();
  // Puts the saved clipboard back, unless another program wrote meanwhile: then what it
  // wrote stays. Does nothing while no text of ours is on the clipboard.
  void Restore();

 private:
  bool OpenWithin(std::uint32_t limitMs);
  // While open: whether the clipboard still holds the text we placed last.
  bool StillOurs();
  // While open: the formats a program can be given back (see the .cpp).
  void Save();
  // While open: the saved formats, or nothing for an empty clipboard.
  void PutBack();
  bool PutText(const std::string& bytes);

  ClipboardPort& clip_;
  SystemPort& system_;
  KeyboardPort& keyboard_;
  bool saved_ = false;
  std::vector<std::pair<std::uint32_t, std::string>> formats_;
  // Our text is on the clipboard (placed and not yet put back).
  bool ours_ = false;
  std::string placed_;           // the bytes of the text placed last
  std::uint32_t sequence_ = 0;   // the clipboard's sequence number after we placed it
  std::uint32_t exclude_ = 0;    // the registered number of kExcludeFromMonitorsFormat
};

}  // namespace ostrel
