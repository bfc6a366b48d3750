// The controller wired to a recording fake of every port, all logging into one CallLog.
#pragma once

#include <algorithm>

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "app/OstrelController.h"
#include "fakes/FakeClipboard.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeCodePage.h"
#include "fakes/FakeKeyboard.h"
#include "fakes/FakePrograms.h"
#include "fakes/MemoryFiles.h"
#include "fakes/OptionPorts.h"
#include "fakes/RecordingPorts.h"
#include "fakes/Records.h"

namespace ostrel::testing {

inline const std::string kKeysPath = "C:\\Program Files\\Ostrel\\Keys.fil";
inline const std::string kProgramsFolder = "C:\\Users\\me\\Start Menu\\Programs";
inline const std::string kStartupLink = kProgramsFolder + "\\Startup\\Ostrel.lnk";

struct Harness {
  CallLog log;
  RecordingView view{log};
  MemoryFileSystem files;
  FakeWindows windows{log};
  FakeSystem system{log};
  FakeShell shell{log};
  FakeHotKeys hotkeys{log};
  FakeTray tray{log};
  FakeHook hook{log};
  FakeKeyboard keyboard{log};
  FakeCodePage codePage;
  FakeRegistry registry = WithProgramsFolder(log);
  FakeShellLinks links{log, files};
  FakeClipboard clipboard;
  FakePrograms programs;
  FakeClock clock;
  OstrelController ctl{{view, files, windows, system, shell, hotkeys, tray, hook, keyboard,
                        codePage, PortableCollate, registry, links, programs, &clipboard, nullptr,
                        &clock}};

  static FakeRegistry WithProgramsFolder(CallLog& log) {
    FakeRegistry r(log);
    r.SetString(kShellFolders, "Programs", kProgramsFolder);
    return r;
  }

  void Start() {
    ctl.FormCreate();
    ctl.DelayedSetup();
  }
  // Starts with these definitions in Keys.fil; the log is cleared afterwards.
  void StartWith(const std::vector<TKeyRec>& recs) {
    std::string bytes;
    for (const TKeyRec& r : recs) bytes += Bytes(r);
    if (!bytes.empty()) files.files[kKeysPath] = bytes;
    Start();
    log.calls.clear();
  }
  PKeyRec Def(const std::string& group, const std::string& name) {
    std::ptrdiff_t at = ctl.Keys()->Find(group + kKeySeparator + name);
    return at == KeysList::npos ? nullptr : ctl.Keys()->At(static_cast<std::size_t>(at));
  }
  // Chooses the first top-level item of the rendered OstrelMenu with this caption, as the
  // view hands it back.
  void Choose(const std::string& caption) {
    auto it = std::find_if(view.menu.begin(), view.menu.end(),
                           [&](const MenuItem& m) { return m.caption == caption; });
    ASSERT_NE(it, view.menu.end()) << "no item " << caption;
    ctl.MenuClick(it->choice);
  }
  // The log line of a pause of the program's, by its name in Timings.
  std::string Pause(std::uint32_t Timings::*delay) const {
    return "Sleep " + std::to_string(ctl.Timings().*delay);
  }
  // The logged calls that start with one of the prefixes, in order.
  std::vector<std::string> Calls(std::initializer_list<const char*> prefixes) const {
    std::vector<std::string> out;
    for (const std::string& c : log.calls)
      if (std::any_of(prefixes.begin(), prefixes.end(),
                      [&](const char* p) { return c.rfind(p, 0) == 0; }))
        out.push_back(c);
    return out;
  }
};

inline TKeyRec WithKey(TKeyRec rec, std::int32_t key, std::int32_t keyMod = 0) {
  rec.Key = key;
  rec.KeyMod = keyMod;
  return rec;
}

}  // namespace ostrel::testing
