// One copy per session: a second start hands over to the first and ends without
// touching anything; the first shows its window at once, or after its set-up.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/OneCopy.h"
#include "fakes/ControllerHarness.h"

namespace ostrel {
namespace {

using namespace ostrel::testing;

class FakeOneCopy : public OneCopyPort {
 public:
  explicit FakeOneCopy(CallLog& log) : log_(log) {}
  bool markFree = true;
  bool TakeRunningMark() override {
    log_.Add("TakeRunningMark");
    return markFree;
  }
  std::uint32_t ShowRequestMessage() override { return 0xC123; }
  void AllowForeground(WindowHandle wnd) override {
    log_.Add("AllowForeground " + std::to_string(wnd));
  }
  // The first copy's answers, one per request, the last repeated; none: no answer.
  std::vector<std::optional<std::uintptr_t>> answers{kRequestDone};
  std::size_t sent = 0;
  std::optional<std::uintptr_t> SendRequest(WindowHandle wnd, std::uintptr_t id,
                                            const std::string& data, std::uint32_t) override {
    log_.Add("SendRequest " + std::to_string(wnd) + " " + std::to_string(id) + " " + data);
    return answers[std::min(sent++, answers.size() - 1)];
  }
  std::string CurrentFolder() override { return "C:\\Work"; }
  void Tell(const std::string& text) override { log_.Add("Tell " + text); }

 private:
  CallLog& log_;
};

struct OneCopy : ::testing::Test {
  CallLog log;
  FakeOneCopy copy{log};
  FakeWindows windows{log};
  FakeSystem system{log};
};

TEST_F(OneCopy, TheFirstCopyRunsAndLooksForNoOther) {
  EXPECT_TRUE(ClaimOnlyCopy(copy, windows, system).goOn);
  EXPECT_EQ(log.calls, std::vector<std::string>{"TakeRunningMark"});
  // Also with a request, which it carries out itself once set up.
  EXPECT_TRUE(ClaimOnlyCopy(copy, windows, system, {StartRequest::kImport, "C:\\a.fil"}).goOn);
}

TEST_F(OneCopy, ASecondCopyAsksTheFirstForItsWindowAndEnds) {
  copy.markFree = false;
  windows.classes[kMainWindowClass] = 600;
  const StartOutcome outcome = ClaimOnlyCopy(copy, windows, system);
  EXPECT_FALSE(outcome.goOn);
  EXPECT_EQ(outcome.exitCode, 0);
  EXPECT_EQ(log.calls,
            (std::vector<std::string>{"TakeRunningMark", "FindWindow TOstrelForm",
                                      "AllowForeground 600", "PostMessage 600 49443 0 0"}));
}

TEST_F(OneCopy, ASecondCopyWaitsBrieflyForTheFirstsWindow) {
  copy.markFree = false;
  int looks = 0;
  // The first copy's window appears at the fourth look.
  struct Appearing : FakeWindows {
    using FakeWindows::FakeWindows;
    int* looks = nullptr;
    WindowHandle FindWindowByClass(const std::string& cls) override {
      return ++*looks >= 4 ? 600 : FakeWindows::FindWindowByClass(cls);
    }
  } late{log};
  late.looks = &looks;
  EXPECT_FALSE(ClaimOnlyCopy(copy, late, system).goOn);
  EXPECT_EQ(looks, 4);
  EXPECT_EQ(log.calls.back(), "PostMessage 600 49443 0 0");

  // Without a window in time it gives up within the wait, and posts nothing.
  log.calls.clear();
  const std::uint64_t start = system.now;
  EXPECT_FALSE(ClaimOnlyCopy(copy, windows, system).goOn);
  const Timings t;
  EXPECT_GE(system.now - start, t.firstCopyWaitMs);
  EXPECT_LT(system.now - start, t.firstCopyWaitMs + t.firstCopyPollMs + 1);
  for (const std::string& c : log.calls) EXPECT_EQ(c.find("PostMessage"), std::string::npos) << c;
}

// A second start hands its import or export to the first and ends with what became
// of it; a usage request shows its box whatever runs.
TEST_F(OneCopy, ASecondCopyHandsItsRequestOverAndEndsWithItsOutcome) {
  copy.markFree = false;
  windows.classes[kMainWindowClass] = 600;
  const StartRequest exportTo{StartRequest::kExport, "C:\\Backup\\all.fil"};
  const std::string send =
      "SendRequest 600 " + std::to_string(kExportRequestId) + " C:\\Backup\\all.fil";
  const struct {
    std::vector<std::optional<std::uintptr_t>> answers;
    std::size_t sends;
    int exitCode;
  } cases[] = {
      {{kRequestDone}, 1, 0},
      {{kRequestFailed}, 1, 1},
      {{std::nullopt}, 1, 1},  // no answer within the limit
      {{kRequestNotReady, kRequestNotReady, kRequestDone}, 3, 0},
  };
  for (const auto& c : cases) {
    log.calls.clear();
    copy.answers = c.answers;
    copy.sent = 0;
    const StartOutcome outcome = ClaimOnlyCopy(copy, windows, system, exportTo);
    EXPECT_FALSE(outcome.goOn);
    EXPECT_EQ(outcome.exitCode, c.exitCode);
    EXPECT_EQ(copy.sent, c.sends);
    EXPECT_EQ(log.calls[2], "AllowForeground 600");
    EXPECT_EQ(log.calls[3], send);
  }
  // A first copy that never gets ready is given up on after the set-up wait.
  copy.answers = {kRequestNotReady};
  const std::uint64_t start = system.now;
  EXPECT_EQ(ClaimOnlyCopy(copy, windows, system, exportTo).exitCode, 1);
  EXPECT_GE(system.now - start, Timings{}.requestSetupWaitMs);
  // No first copy's window: the request is lost, and the exit code says so.
  windows.classes.clear();
  EXPECT_EQ(ClaimOnlyCopy(copy, windows, system, {StartRequest::kImport, "C:\\a.fil"}).exitCode, 1);

  log.calls.clear();
  const StartOutcome usage = ClaimOnlyCopy(copy, windows, system, {StartRequest::kUsage, ""});
  EXPECT_EQ(usage.exitCode, 2);
  EXPECT_EQ(log.calls, std::vector<std::string>{std::string("Tell ") + kUsageText});
}

TEST(CommandLine, ImportOrExportOfAFullPath) {
  using K = StartRequest::Kind;
  const struct {
    const char* line;
    const char* folder;
    K kind;
    const char* path;
  } cases[] = {
      {"", "C:\\Work", K::kNone, ""},
      {"notes.txt", "C:\\Work", K::kNone, ""},  // no switch: ignored, as always
      {"/import C:\\Sets\\a.fil", "C:\\Work", K::kImport, "C:\\Sets\\a.fil"},
      {"-EXPORT \"My Sets\\a b.fil\"", "C:\\Work", K::kExport, "C:\\Work\\My Sets\\a b.fil"},
      {"/Import a.fil", "C:\\", K::kImport, "C:\\a.fil"},
      {"/import \\\\srv\\share\\a.fil", "C:\\Work", K::kImport, "\\\\srv\\share\\a.fil"},
      {"/import \\a.fil", "D:\\Work", K::kImport, "D:\\a.fil"},
      {"/import D:a.fil", "d:\\Work", K::kImport, "d:\\Work\\a.fil"},
      {"/import", "C:\\Work", K::kUsage, ""},
      {"/import a.fil b.fil", "C:\\Work", K::kUsage, ""},
      {"/restore a.fil", "C:\\Work", K::kUsage, ""},
  };
  for (const auto& c : cases) {
    const StartRequest r = ParseCommandLine(c.line, c.folder);
    EXPECT_EQ(r.kind, c.kind) << c.line;
    EXPECT_EQ(r.path, c.path) << c.line;
  }
}

// A later start's request as the running copy reads it: only the bytes it was given, the
// path ending at a NUL if one comes first; anything else is refused.
TEST(HandedRequest, ReadsOnlyTheBytesGivenAndRefusesWhatIsNoRequest) {
  using K = StartRequest::Kind;
  // Past each case's size lie bytes that must never be read into the path.
  const std::string buffer = std::string("C:\\a.fil") + '\0' + "C:\\past.fil";
  const std::string tooLong(kMaxRequestPath + 1, 'x');
  const struct {
    std::uintptr_t id;
    const char* data;
    std::size_t size;
    std::optional<K> kind;  // none: refused
    std::string path;
  } cases[] = {
      {kImportRequestId, buffer.data(), 8, K::kImport, "C:\\a.fil"},   // no terminator, as sent
      {kExportRequestId, buffer.data(), 12, K::kExport, "C:\\a.fil"},  // ends at the NUL
      {kExportRequestId, buffer.data(), 4, K::kExport, "C:\\a"},       // cut short: its bytes only
      {kImportRequestId, buffer.data(), 0, std::nullopt, ""},          // no path
      {kImportRequestId, buffer.data() + 8, 5, std::nullopt, ""},      // a NUL first: no path
      {kImportRequestId, nullptr, 8, std::nullopt, ""},
      {kImportRequestId, tooLong.data(), tooLong.size(), std::nullopt, ""},
      {0x4F4C5831, buffer.data(), 8, std::nullopt, ""},  // unknown kind
  };
  for (const auto& c : cases) {
    const std::optional<StartRequest> r = ReadStartRequest(c.id, c.data, c.size);
    ASSERT_EQ(r.has_value(), c.kind.has_value()) << c.size;
    if (!r) continue;
    EXPECT_EQ(r->kind, *c.kind);
    EXPECT_EQ(r->path, c.path);
  }
}

class ShowRequest : public ::testing::Test, public Harness {};

TEST_F(ShowRequest, ARequestDuringTheSetUpOverridesTheHideOption) {
  registry.SetString(kMachineOptions, "OLTaskbar", "1");
  files.files[kKeysPath] = Bytes(MakeRec("A"));
  ctl.FormCreate();
  ctl.AnotherCopyStarted();
  EXPECT_TRUE(Calls({"restore"}).empty());  // nothing to show yet
  ctl.DelayedSetup();
  EXPECT_TRUE(view.options[obOlTaskBar]);
  EXPECT_TRUE(Calls({"minimize"}).empty());
  EXPECT_EQ(Calls({"restore"}).size(), 1u);
}

// A command line's import waits for the set-up and runs after the answer; an export asked
// for during the set-up is asked again, afterwards it is written before the answer.
TEST_F(ShowRequest, ACommandLinesRequestIsCarriedOutOnceSetUp) {
  files.files["C:\\Sets\\A.fil"] = Bytes(MakeRec("Came", "In"));
  ctl.FormCreate();
  EXPECT_EQ(ctl.StartRequestArrived({StartRequest::kExport, "C:\\Out.fil"}), kRequestNotReady);
  EXPECT_EQ(ctl.StartRequestArrived({StartRequest::kImport, "C:\\Sets\\A.fil"}), kRequestDone);
  EXPECT_TRUE(Calls({"runLater"}).empty());
  ctl.DelayedSetup();
  EXPECT_EQ(Calls({"runLater"}).size(), 1u);
  EXPECT_EQ(Def("In", "Came"), nullptr);  // not before the view's own turn
  ctl.RunLater();
  EXPECT_NE(Def("In", "Came"), nullptr);
  EXPECT_EQ(ctl.StartRequestArrived({StartRequest::kExport, "C:\\Out.fil"}), kRequestDone);
  EXPECT_EQ(files.files["C:\\Out.fil"], files.files[kKeysPath]);
  files.uncreatable = {"Q:\\No\\Out.fil", "Q:\\No\\Out.fil.new"};
  EXPECT_EQ(ctl.StartRequestArrived({StartRequest::kExport, "Q:\\No\\Out.fil"}), kRequestFailed);
}

// Export takes the selected group (a group node, or a definition's), every definition
// when nothing or a definition of no group is selected, and suggests its file's name.
TEST_F(ShowRequest, ExportTakesTheSelectedGroupAndNamesItsFile) {
  StartWith({MakeRec("Mail", "Net"), MakeRec("Calc", "Tools"), MakeRec("Edit", "Tools"),
             MakeRec("Top"), MakeRec("Odd", "Q/R")});
  view.fileChoice = [](bool save, const std::string&) { return save ? "C:\\Out.fil" : ""; };
  auto node = [&](const std::string& text) {
    for (std::size_t i = 0; i < view.tree.size(); ++i)
      if (view.tree[i].text == text) return static_cast<int>(i);
    return -1;
  };
  const struct {
    const char* selected;  // none: nothing selected
    const char* dialog;
    std::size_t records;
  } cases[] = {{"Tools", "save Tools.fil", 2},
               {"Mail", "save Net.fil", 1},
               {"Top", "save Ostrel.fil", 5},
               {nullptr, "save Ostrel.fil", 5},
               {"Q/R", "save Q_R.fil", 1}};
  for (const auto& c : cases) {
    log.calls.clear();
    files.files.erase("C:\\Out.fil");
    view.selected = c.selected ? node(c.selected) : -1;
    ctl.ExportClick();
    EXPECT_EQ(Calls({"save "}), std::vector<std::string>{c.dialog});
    EXPECT_EQ(files.files["C:\\Out.fil"].size(), c.records * sizeof(TKeyRec)) << c.dialog;
  }
  // Cancelled: nothing is written; Import's open dialog cancelled imports nothing.
  view.fileChoice = nullptr;
  files.files.erase("C:\\Out.fil");
  ctl.ExportClick();
  ctl.ImportClick();
  EXPECT_EQ(files.files.count("C:\\Out.fil"), 0u);
  EXPECT_EQ(log.calls.back(), "open ");
  EXPECT_EQ(ctl.Keys()->Count(), 5u);
}

}  // namespace
}  // namespace ostrel
