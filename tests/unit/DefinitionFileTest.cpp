#include <gtest/gtest.h>

#include "catalogue/DefinitionFile.h"
#include "catalogue/RecordStream.h"
#include "fakes/MemoryFiles.h"
#include "fakes/Records.h"

namespace ostrel {
namespace {

using testing::Bytes;
using testing::FromBytes;
using testing::MakeRec;
using testing::MemoryFileSystem;

const std::string kFile = "C:\\Ostrel\\Keys.fil";

std::vector<std::string> Names(const KeysList& list) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < list.Count(); ++i) names.push_back(list.At(i)->Name.str());
  return names;
}

std::vector<std::string> NamesInFile(const std::string& bytes) {
  std::vector<std::string> names;
  for (std::size_t at = 0; at + 844 <= bytes.size(); at += 844)
    names.push_back(FromBytes(bytes, at).Name.str());
  return names;
}

class DefinitionFileTest : public ::testing::Test {
 protected:
  MemoryFileSystem fs;
  KeysList list{PortableCollate};
  DefinitionFile file{fs, kFile};

  void Lay(std::initializer_list<TKeyRec> recs, const std::string& tail = "") {
    std::string bytes;
    for (const TKeyRec& r : recs) bytes += Bytes(r);
    fs.files[kFile] = bytes + tail;
  }
  void LoadAndSave() {
    file.Load(list);
    list.Rekey();
    file.Save(list);
  }
};

TEST_F(DefinitionFileTest, MissingFileLoadsNothingAndSavingNothingWritesNoFile) {
  LoadOutcome out = file.Load(list);
  EXPECT_EQ(list.Count(), 0u);
  EXPECT_FALSE(out.Damaged());
  file.Save(list);
  EXPECT_FALSE(fs.Exists(kFile));
  EXPECT_TRUE(fs.log.empty());
}

TEST_F(DefinitionFileTest, RecordsOutOfOrderAreRewrittenInKeyTextOrderByteForByte) {
  TKeyRec web = MakeRec("Web", "Net", 11, "http://example.org");
  web.Key = 23;
  web.KeyMod = 6;
  TKeyRec agenda = MakeRec("Agenda", "", 3, "C:\\agenda.txt");
  agenda.gap1[1] = 0x5A;  // gap bytes are carried along as they were
  TKeyRec mail = MakeRec("Mail", "Net", 13, "mailto:a@b.c");
  Lay({web, mail, agenda});
  LoadOutcome out = file.Load(list);
  EXPECT_EQ(out.records, 3u);
  EXPECT_FALSE(out.Damaged());
  list.Rekey();
  file.Save(list);
  const std::string& bytes = fs.files[kFile];
  ASSERT_EQ(bytes.size(), 3u * 844);
  EXPECT_EQ(bytes.substr(0, 844), Bytes(agenda));
  EXPECT_EQ(bytes.substr(844, 844), Bytes(mail));
  EXPECT_EQ(bytes.substr(1688, 844), Bytes(web));
  EXPECT_FALSE(fs.Exists(StagingName(file.FileName())));
  EXPECT_FALSE(fs.Exists(file.BackupName()));
}

TEST_F(DefinitionFileTest, LaterOfTwoKeysEqualIgnoringCaseSurvives) {
  Lay({MakeRec("Web", "Net", 11, "first"), MakeRec("Agenda"), MakeRec("WEB", "NET", 11, "second")});
  LoadAndSave();
  EXPECT_EQ(list.Count(), 2u);
  std::vector<std::string> names = NamesInFile(fs.files[kFile]);
  EXPECT_EQ(names, (std::vector<std::string>{"Agenda", "WEB"}));
  EXPECT_EQ(FromBytes(fs.files[kFile], 844).Target.str(), "second");
}

TEST_F(DefinitionFileTest, OversizedLengthBytesAreCutToTheirFields) {
  TKeyRec bad = MakeRec("Broken", "Grp", 1, "t");
  std::memset(bad.Name.chars, 'B', sizeof bad.Name.chars);
  bad.Name.len = 255;
  bad.Group.len = 11;
  Lay({bad, MakeRec("Fine")});
  LoadOutcome out = file.Load(list);
  EXPECT_EQ(out.clampedLengths, 2u);
  EXPECT_TRUE(out.error.empty());
  EXPECT_NE(out.notice.find("Keys.fil.bak"), std::string::npos);
  ASSERT_EQ(list.Count(), 2u);
  TKeyRec* loaded = list.At(1);
  EXPECT_EQ(loaded->Name.len, 40);
  EXPECT_EQ(loaded->Name.str(), std::string(40, 'B'));
  EXPECT_EQ(loaded->Group.str(), std::string("Grp\0\0\0\0\0\0\0", 10));
  // The damaged original is kept before the first save.
  std::string original = fs.files[kFile];
  list.Rekey();
  file.Save(list);
  EXPECT_EQ(fs.files[kFile + ".bak"], original);
  EXPECT_EQ(FromBytes(fs.files[kFile], 844).Name.len, 40);
}

TEST_F(DefinitionFileTest, NoticeNamesEveryKindOfRepair) {
  TKeyRec bad = MakeRec("Broken");
  bad.Target.len = 255;  // fits: not damage
  bad.Name.len = 41;
  Lay({bad}, Bytes(MakeRec("Tail")).substr(0, 10));
  LoadOutcome out = file.Load(list);
  EXPECT_EQ(out.clampedLengths, 1u);
  EXPECT_TRUE(out.fragment);
  EXPECT_NE(out.notice.find("completed with zeros"), std::string::npos);
  EXPECT_NE(out.notice.find("1 of its texts"), std::string::npos);
  EXPECT_TRUE(out.error.empty());
}

TEST_F(DefinitionFileTest, ReadsThatReturnLittleAtATimeStillMakeWholeRecords) {
  Lay({MakeRec("A"), MakeRec("B")});
  fs.readChunk = 7;
  LoadOutcome out = file.Load(list);
  EXPECT_FALSE(out.Damaged());
  EXPECT_EQ(Names(list), (std::vector<std::string>{"A", "B"}));
}

TEST_F(DefinitionFileTest, TrailingFragmentIsCompletedWithZeros) {
  TKeyRec partial = MakeRec("Half", "G", 2, "target");
  Lay({MakeRec("Whole")}, Bytes(partial).substr(0, 70));
  LoadOutcome out = file.Load(list);
  EXPECT_TRUE(out.fragment);
  EXPECT_EQ(out.records, 2u);
  ASSERT_EQ(list.Count(), 2u);
  TKeyRec* half = list.At(list.Find("G\x0BHalf"));
  EXPECT_EQ(half->FunType, 2);
  EXPECT_EQ(half->Target.len, 6);  // the length byte made it, the characters did not
  EXPECT_EQ(half->Target.str(), std::string("t\0\0\0\0\0", 6));
  EXPECT_EQ(half->ShowOnMenu, 0);
  EXPECT_EQ(half->Reserved, 0);
  std::string original = fs.files[kFile];
  list.Rekey();
  file.Save(list);
  EXPECT_EQ(fs.files[kFile].size(), 2u * 844);
  EXPECT_EQ(fs.files[kFile + ".bak"], original);
}

TEST_F(DefinitionFileTest, FileHeldForAMomentIsOpenedOnALaterAttempt) {
  std::vector<std::uint32_t> pauses;
  DefinitionFile patient{fs, kFile, [&](std::uint32_t ms) { pauses.push_back(ms); }};
  Lay({MakeRec("A"), MakeRec("B")});
  fs.heldFor[kFile] = 20;  // the last attempt gets it
  LoadOutcome out = patient.Load(list);
  EXPECT_FALSE(out.Damaged());
  EXPECT_EQ(Names(list), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(pauses, std::vector<std::uint32_t>(20, 100));

  KeysList again{PortableCollate};
  fs.heldFor[kFile] = 21;
  EXPECT_TRUE(patient.Load(again).openFailed);
  EXPECT_EQ(fs.openAttempts, 21 + 21);
}

// After a load that read less than the file holds, nothing is stored until the
// definitions change; the first change keeps the original first, and a backup that is
// already there is never replaced.
TEST_F(DefinitionFileTest, IncompleteLoadLeavesTheFileAloneUntilAChange) {
  Lay({MakeRec("A"), MakeRec("B")});
  const std::string original = fs.files[kFile];
  fs.files[kFile + ".bak"] = "older";
  fs.unreadable.insert(kFile);
  LoadOutcome out = file.Load(list);
  EXPECT_TRUE(out.openFailed);
  EXPECT_EQ(out.error.rfind("Cannot open file C:\\Ostrel\\Keys.fil\r\n", 0), 0u);
  EXPECT_NE(out.error.find("first kept as C:\\Ostrel\\Keys.fil.bak1."), std::string::npos);
  EXPECT_EQ(list.Count(), 0u);
  file.Save(list);  // the rebuild after loading: no delete, no backup
  EXPECT_TRUE(fs.log.empty());

  // Still held when the user adds one: no backup, so the file is left alone.
  list.Add("\x0B" "C", std::make_unique<TKeyRec>(MakeRec("C")));
  try {
    file.Save(list);
    FAIL() << "save went ahead without a backup";
  } catch (const EFileError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot create file C:\\Ostrel\\Keys.fil.bak1\r\n", 0),
              0u);
  }
  EXPECT_EQ(fs.files[kFile], original);
  fs.unreadable.clear();
  file.Save(list);
  EXPECT_EQ(fs.files[kFile + ".bak1"], original);
  EXPECT_EQ(fs.files[kFile + ".bak"], "older");
  EXPECT_EQ(NamesInFile(fs.files[kFile]), std::vector<std::string>{"C"});
  EXPECT_FALSE(file.BackupPending());

  // A read that breaks part-way, twice: each change keeps its own original.
  for (const char* kept : {".bak2", ".bak3"}) {
    KeysList part{PortableCollate};
    const std::string before = fs.files[kFile];
    fs.readFailsAfter = 100;
    out = file.Load(part);
    fs.readFailsAfter = -1;
    EXPECT_TRUE(out.readFailed);
    EXPECT_EQ(out.error.rfind("Cannot read file C:\\Ostrel\\Keys.fil", 0), 0u);
    part.Rekey();
    file.Save(part);
    EXPECT_EQ(fs.files[kFile], before);
    part.Add("\x0B" "D", std::make_unique<TKeyRec>(MakeRec("D")));
    file.Save(part);
    EXPECT_EQ(fs.files[kFile + kept], before);
    EXPECT_EQ(NamesInFile(fs.files[kFile]), std::vector<std::string>{"D"});
  }
  EXPECT_EQ(fs.files[kFile + ".bak"], "older");
  EXPECT_EQ(fs.files[kFile + ".bak1"], original);
}

TEST_F(DefinitionFileTest, FailedWritesLeaveTheOldFileWhole) {
  Lay({MakeRec("A"), MakeRec("B")});
  LoadAndSave();
  std::string saved = fs.files[kFile];
  list.Add(
      "\x0B"
      "C",
      std::make_unique<TKeyRec>(MakeRec("C")));

  fs.diskSpace = 844 + 10;  // full disk part-way through the second record
  EXPECT_THROW(file.Save(list), EFileError);
  EXPECT_EQ(fs.files[kFile], saved);
  EXPECT_FALSE(fs.Exists(StagingName(file.FileName())));

  fs.diskSpace = -1;
  fs.commitFails = true;
  EXPECT_THROW(file.Save(list), EFileError);
  EXPECT_EQ(fs.files[kFile], saved);

  fs.commitFails = false;
  fs.replaceFails = true;
  EXPECT_THROW(file.Save(list), EFileError);
  EXPECT_EQ(fs.files[kFile], saved);
  EXPECT_FALSE(fs.Exists(StagingName(file.FileName())));

  fs.replaceFails = false;
  fs.uncreatable.insert(StagingName(file.FileName()));
  try {
    file.Save(list);
    FAIL();
  } catch (const EFileError& e) {
    EXPECT_STREQ(e.what(), "Cannot create file C:\\Ostrel\\Keys.fil");
  }
  EXPECT_EQ(fs.files[kFile], saved);

  // The definitions were never dropped: the next save that can write stores all three.
  fs.uncreatable.clear();
  file.Save(list);
  EXPECT_EQ(NamesInFile(fs.files[kFile]), (std::vector<std::string>{"A", "B", "C"}));
}

TEST_F(DefinitionFileTest, SaveWritesBesideThenReplaces) {
  list.Add(
      "\x0B"
      "A",
      std::make_unique<TKeyRec>(MakeRec("A")));
  file.Save(list);
  EXPECT_EQ(fs.log, (std::vector<std::string>{"create " + kFile + ".new",
                                              "replace " + kFile + ".new " + kFile}));
  list.Delete(0);
  file.Save(list);
  EXPECT_FALSE(fs.Exists(kFile));
  fs.files[kFile] = "x";
  fs.undeletable.insert(kFile);
  EXPECT_THROW(file.Save(list), EFileError);
}

TEST(RecordStream, OpenErrorsNameTheFullPath) {
  MemoryFileSystem fs;
  try {
    TRecordStream s(fs, "C:\\x\\Keys.fil", fmOpenRead);
    FAIL();
  } catch (const EFileError& e) {
    EXPECT_STREQ(e.what(), "Cannot open file C:\\x\\Keys.fil");
  }
  fs.uncreatable.insert("C:\\x\\Keys.fil");
  EXPECT_THROW(TRecordStream(fs, "C:\\x\\Keys.fil", fmCreate), EFileError);
}

}  // namespace
}  // namespace ostrel
