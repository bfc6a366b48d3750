#include "macro/ClipboardPaste.h"

#include <gtest/gtest.h>

#include "fakes/FakeClipboard.h"
#include "fakes/FakeKeyboard.h"
#include "fakes/RecordingPorts.h"

namespace ostrel {
namespace {

using testing::CallLog;
using testing::FakeClipboard;
using testing::FakeKeyboard;
using testing::FakeSystem;
using Contents = std::vector<std::pair<std::uint32_t, std::string>>;

constexpr std::uint32_t kHtml = 0xC0A0;  // a registered format of another program
const std::string kText16("h\0i\0\0\0", 6), kLocale("\x09\x04\0\0", 4), kDrop("C:\\a\0\0", 6);

struct Keeping {
  CallLog log;
  FakeSystem system{log};
  FakeKeyboard keyboard{log};
  FakeClipboard clipboard;
  ClipboardKeeper keeper{clipboard, system, keyboard};
};

TEST(ClipboardKeeper, SavesEveryFormatItCanAndPutsItBackByteForByte) {
  Keeping k;
  // Text with the formats Windows made from it, a bitmap and its DIBs, a file list and
  // another program's own format.
  k.clipboard.entries = {{kCfUnicodeText, kText16}, {kCfLocale, kLocale}, {kCfText, "hi"},
                         {kCfBitmap, std::nullopt},  {kCfDib, "DIB"},        {kCfDibV5, "DIBV5"},
                         {kCfHdrop, kDrop},          {kHtml, "<b>x</b>"}};
  ASSERT_TRUE(k.keeper.Place(u"ab\u00e9"));
  // The run as Unicode text on request, and the three history formats as a 32-bit zero.
  const std::string zero(4, '\0');
  EXPECT_EQ(k.clipboard.Contents(), (Contents{{kCfUnicodeText, "<handle>"},
                                              {0xC000, zero}, {0xC001, zero}, {0xC002, zero}}));
  EXPECT_FALSE(k.keeper.WaitTaken());  // not asked for: the limit ends the wait
  EXPECT_EQ(k.clipboard.Read(kCfUnicodeText), std::string("a\0b\0\xe9\0\0\0", 8));
  EXPECT_TRUE(k.keeper.WaitTaken());

  // A second paste saves nothing again; the clipboard comes back after the last.
  ASSERT_TRUE(k.keeper.Place(u"cd"));
  k.clipboard.Read(kCfUnicodeText);
  k.keeper.Restore();
  EXPECT_EQ(k.clipboard.Contents(),
            (Contents{{kCfUnicodeText, kText16}, {kCfLocale, kLocale}, {kCfDib, "DIB"},
                      {kCfHdrop, kDrop}, {kHtml, "<b>x</b>"}}));
  // An empty clipboard is left empty.
  Keeping empty;
  ASSERT_TRUE(empty.keeper.Place(u"x"));
  empty.keeper.Restore();
  EXPECT_TRUE(empty.clipboard.entries.empty());
}

TEST(ClipboardKeeper, WhatAnotherProgramWritesMeanwhileStays) {
  Keeping k;
  k.clipboard.Write(kHtml, "mine");
  ASSERT_TRUE(k.keeper.Place(u"one"));
  k.clipboard.Write(kCfText, "theirs");
  k.keeper.Restore();
  EXPECT_EQ(k.clipboard.Contents(), (Contents{{kCfText, "theirs"}}));

  // Written between two pastes, it is what goes back after the last.
  Keeping twice;
  twice.clipboard.Write(kHtml, "mine");
  ASSERT_TRUE(twice.keeper.Place(u"one"));
  twice.clipboard.Read(kCfUnicodeText);
  twice.clipboard.Write(kCfText, "theirs");
  ASSERT_TRUE(twice.keeper.Place(u"two"));
  twice.keeper.Restore();
  EXPECT_EQ(twice.clipboard.Contents(), (Contents{{kCfText, "theirs"}}));
}

TEST(ClipboardKeeper, ABusyOrRefusingClipboardIsLeftAsItWas) {
  // Held by another program for about a second: the run is typed instead.
  Keeping busy;
  busy.clipboard.Write(kHtml, "mine");
  busy.clipboard.busyOpens = 1000;
  const std::uint64_t start = busy.system.now;
  EXPECT_FALSE(busy.keeper.Place(u"text"));
  EXPECT_GE(busy.system.now - start, 1000u);
  EXPECT_LT(busy.system.now - start, 1100u);
  const int opens = busy.clipboard.opens;
  busy.keeper.Restore();
  EXPECT_EQ(busy.clipboard.opens, opens);  // nothing of ours to put back
  EXPECT_EQ(busy.clipboard.Contents(), (Contents{{kHtml, "mine"}}));

  // Let go of within the second, it is taken.
  Keeping brief;
  brief.clipboard.busyOpens = 20;
  EXPECT_TRUE(brief.keeper.Place(u"text"));

  // Emptied, then refused the text: what it held goes straight back.
  Keeping refused;
  refused.clipboard.Write(kHtml, "mine");
  refused.clipboard.refuseOnRequest = true;
  EXPECT_FALSE(refused.keeper.Place(u"text"));
  EXPECT_EQ(refused.clipboard.Contents(), (Contents{{kHtml, "mine"}}));
}

}  // namespace
}  // namespace ostrel
