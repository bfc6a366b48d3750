// One running copy per user session. A second start finds the first, asks it to show
// its configuration window and ends before it touches anything: Keys.fil, the registry,
// the shared block and the notification area all stay the first copy's. A start that
// asks for an import or an export hands that to the first copy instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "app/Timings.h"
#include "platform/OneCopyPort.h"
#include "platform/SystemPort.h"
#include "platform/WindowPort.h"

namespace ostrel {

// The first copy's main window is found by its class.
inline constexpr const char* kMainWindowClass = "TOstrelForm";

// What a start asks for on its command line.
struct StartRequest {
  enum Kind { kNone, kImport, kExport, kUsage };
  Kind kind = kNone;
  std::string path;  // a full path, for kImport and kExport
};

// The box a start shows for a command line it does not understand.
inline constexpr const char* kUsageText =
    "Ostrel understands these command lines:\n\n"
    "Ostrel.exe /import <file>\n"
    "      adds the definitions of <file> to yours\n"
    "Ostrel.exe /export <file>\n"
    "      writes every definition to <file>\n\n"
    "A running Ostrel does the work; if none runs, this one starts and does it.";

// The command line after the program's name: "/import <file>" or "/export <file>" (the
// switch in any case, "-" for "/"; the file may be quoted), made a full path against
// `currentFolder`. Nothing asks for nothing; a switch without a file, an unknown switch
// or more words ask for the usage box. Words that are no switch are left alone, as they
// always were.
StartRequest ParseCommandLine(const std::string& commandLine, const std::string& currentFolder);

// `path` as a full path: kept when it names its drive and root ("C:\x", "\\server\x"),
// else taken against `currentFolder` (a root-relative "\x" against its drive).
std::string FullPath(const std::string& path, const std::string& currentFolder);

// The request a start hands to the running copy, in WM_COPYDATA's dwData, and the
// running copy's answers.
inline constexpr std::uintptr_t kImportRequestId = 0x4F4C4931;  // "OLI1"
inline constexpr std::uintptr_t kExportRequestId = 0x4F4C4531;  // "OLE1"
inline constexpr std::uintptr_t kRequestFailed = 0;
inline constexpr std::uintptr_t kRequestDone = 1;      // an export written, an import taken
inline constexpr std::uintptr_t kRequestNotReady = 2;  // still setting up: ask again

// The longest path a request carries (the system's own limit for a path).
inline constexpr std::size_t kMaxRequestPath = 32767;

// What the running copy reads of a request handed over (WM_COPYDATA's dwData, data and
// size): the kind from `id`, the path from the `size` bytes at `data` (up to the first
// NUL, if any), never a byte more. None for an unknown id, no data, or a path that is
// empty or longer than kMaxRequestPath: such a request is refused.
std::optional<StartRequest> ReadStartRequest(std::uintptr_t id, const void* data, std::size_t size);

// What this start does next: go on as the running copy, or end with `exitCode`.
struct StartOutcome {
  bool goOn = true;
  int exitCode = 0;
};

// A usage request shows its box and ends with exit code 2, whatever runs. Otherwise
// this start goes on when it is the only copy; else it hands `request` (or, with none,
// the show request) to the first copy and ends: with exit code 0 when the first copy
// took it (an export: wrote the file), 1 when it refused it or did not answer, or when
// no first copy's window was found within the wait of `timings` (0 for a plain start,
// which had nothing to hand over).
StartOutcome ClaimOnlyCopy(OneCopyPort& copy, WindowPort& windows, SystemPort& system,
                           const StartRequest& request = {}, const Timings& timings = {});

}  // namespace ostrel
