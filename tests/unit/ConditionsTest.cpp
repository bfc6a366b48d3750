#include <gtest/gtest.h>

#include "catalogue/Conditions.h"
#include "catalogue/Programs.h"
#include "fakes/FakePrograms.h"

namespace ostrel {
namespace {

Conditions Only(std::string_view list) {
  return {ProgramScope::kOnly, ParseProgramList(list), false};
}
Conditions Except(std::string_view list) {
  return {ProgramScope::kExcept, ParseProgramList(list), false};
}
const Conditions kGlobal;

TEST(Conditions, ListsAreTrimmedAndKeepEachProgramOnce) {
  EXPECT_EQ(ParseProgramList(" notepad.exe ;;WordPad; NOTEPAD ;"),
            (std::vector<std::string>{"notepad.exe", "WordPad"}));
  EXPECT_EQ(ScopeText(Except("calc")), "all but calc");
}

TEST(Conditions, PreferenceAndMatching) {
  struct Row {
    Conditions c;
    const char* program;
    int preference;
  } rows[] = {
      {Only("notepad.exe;wordpad"), "NOTEPAD.EXE", 2},  // case ignored
      {Only("notepad.exe"), "notepad", 2},              // ".exe" left out either side
      {Only("wordpad"), "WordPad.exe", 2},
      {Only("notepad"), "notepad2.exe", 0},
      {Only("notepad"), "", 0},  // nobody in front
      {Only(""), "notepad.exe", 0},
      {Except("notepad"), "notepad.exe", 0},
      {Except("notepad"), "calc.exe", 1},
      {Except("notepad"), "", 1},
      {kGlobal, "anything.exe", 1},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(Preference(r.c, r.program), r.preference) << ScopeText(r.c) << " / " << r.program;
    EXPECT_EQ(AppliesTo(r.c, r.program), r.preference > 0);
  }
}

TEST(Conditions, OverlapAndItsText) {
  struct Row {
    Conditions a, b;
    bool overlap;
    const char* text;
  } rows[] = {
      {kGlobal, kGlobal, true, ""},
      {kGlobal, Except("notepad"), true, ""},
      {Only("notepad;calc"), Only("Calc.exe"), true, "calc"},
      {Only("notepad"), Only("wordpad"), false, ""},
      {Only("notepad;calc"), kGlobal, false, ""},  // the Only one wins in its programs
      {Except("notepad"), Only("calc"), false, ""},
      {Except("notepad"), Except("calc"), true, ""},
      {Only(""), Only(""), false, ""},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(Overlap(r.a, r.b), r.overlap) << ScopeText(r.a) << " / " << ScopeText(r.b);
    EXPECT_EQ(Overlap(r.b, r.a), r.overlap);
    EXPECT_EQ(OverlapText(r.a, r.b), r.text);
  }
}

TEST(Programs, StoreFrameIsNamedByTheAppInsideAndOpenProgramsOnce) {
  testing::FakePrograms port;
  EXPECT_EQ(ProgramInFront(port), "");
  port.Front(10, 1, "notepad.exe");
  EXPECT_EQ(ProgramInFront(port), "notepad.exe");
  port.Front(20, 2, "ApplicationFrameHost.exe");
  port.children[20] = {21, 22};
  port.processOf[21] = 2;
  port.processOf[22] = 3;
  port.fileOf[3] = "Calculator.exe";
  EXPECT_EQ(ProgramInFront(port), "Calculator.exe");
  port.focus = 30;  // the focus is in yet another app's window inside the frame
  port.processOf[30] = 4;
  port.fileOf[4] = "Mail.exe";
  EXPECT_EQ(ProgramInFront(port), "Mail.exe");
  port.children[20] = {};
  port.focus = 0;
  EXPECT_EQ(ProgramInFront(port), "ApplicationFrameHost.exe");  // an empty frame is the host

  port.visible = {10, 20, 22, 40};
  port.processOf[40] = 1;  // a second Notepad window
  EXPECT_EQ(OpenPrograms(port), (std::vector<std::string>{"ApplicationFrameHost.exe",
                                                          "Calculator.exe", "notepad.exe"}));
}

}  // namespace
}  // namespace ostrel
