#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "components/RegFile.h"
#include "fakes/OptionPorts.h"

namespace ostrel {
namespace {

using namespace ostrel::testing;

const std::string kBase = "Software\\Tessaly\\Ostrel\\1.0";
const std::string kFull = "HKLM\\" + kBase;

class RegFileTest : public ::testing::Test {
 protected:
  RegFileTest() {
    reg.RootKey = hkLocalMachine;
    reg.Key = kBase;
  }
  CallLog log;
  FakeRegistry registry{log};
  TRegFile reg{registry};

  std::optional<std::string> Read(const std::string& name) { return reg.ReadValue(name); }
  // The message of the ERegFileError that `f` raises, or "" when it raises none.
  template <typename F>
  static std::string ErrorOf(F f) {
    try {
      f();
    } catch (const ERegFileError& e) {
      return e.what();
    }
    return "";
  }
};

TEST(SplitValueName, LastSingleBackslashSeparatesKeyAndName) {
  auto check = [](const std::string& in, const std::string& key, const std::string& name) {
    ValueNameParts p = SplitValueName(in);
    EXPECT_EQ(p.keyPart, key) << in;
    EXPECT_EQ(p.name, name) << in;
  };
  check("OLMouse", "", "OLMouse");
  check("Sub\\Val", "\\Sub", "Val");
  check("One\\Two\\Val", "\\One\\Two", "Val");
  // A doubled backslash belongs to the name, both characters kept.
  check("One\\\\Two", "", "One\\\\Two");
  check("A\\B\\\\C", "\\A", "B\\\\C");
  // Three in a row: the pair nearest the end is skipped, the first one separates.
  check("A\\\\\\B", "\\A", "\\\\B");
  // A single backslash in front of the name alone: the base key's own value.
  check("\\Val", "", "Val");
  check("", "", "");
  check("Val\\", "\\Val", "");
}

TEST_F(RegFileTest, NamesReachTheKeysTheirKeyPartsName) {
  reg.WriteValue("OLMouse", "1");
  reg.WriteValue("Sub\\Val", "s");
  reg.WriteValue("One\\Two\\Val", "t");
  reg.WriteValue("One\\\\Two", "u");
  reg.WriteValue("\\Lead", "v");
  EXPECT_EQ(registry.Text(kFull, "OLMouse"), "1");
  EXPECT_EQ(registry.Text(kFull + "\\Sub", "Val"), "s");
  EXPECT_EQ(registry.Text(kFull + "\\One\\Two", "Val"), "t");
  EXPECT_EQ(registry.Text(kFull, "One\\\\Two"), "u");
  EXPECT_EQ(registry.Text(kFull, "Lead"), "v");
  EXPECT_EQ(Read("One\\Two\\Val"), "t");
  // Stored as REG_SZ with its zero.
  const FakeRegistry::Value* mouse = registry.Find(kFull, "OLMouse");
  ASSERT_NE(mouse, nullptr);
  EXPECT_EQ(mouse->type, kRegSz);
  EXPECT_EQ(mouse->data, (std::vector<std::uint8_t>{'1', 0}));
  EXPECT_EQ(registry.openHandles, 0);
}

TEST_F(RegFileTest, FailuresRaiseTheirCodeAndKeepItAsLastError) {
  registry.failSet = kErrorAccessDenied;
  EXPECT_EQ(ErrorOf([&] { reg.WriteValue("x", "1"); }), "Reg Error: 00000005");
  EXPECT_EQ(reg.LastError(), 5u);
  EXPECT_EQ(registry.openHandles, 0);  // closed although the write failed

  registry.failCreate = static_cast<std::int32_t>(0x8007000Eu);
  EXPECT_EQ(ErrorOf([&] { Read("x"); }), "Reg Error: 8007000E");
  EXPECT_EQ(reg.LastError(), 0x8007000Eu);

  // A query that fails after the size was known.
  reg.WriteValue("x", "1");
  EXPECT_EQ(reg.LastError(), 0u);
  registry.SetString(kFull, "y", "abc");
  reg.OpenKey(kBase, false);
  std::uint32_t type = 0;
  EXPECT_EQ(reg.GetDataSize("y", type), 4);
  EXPECT_EQ(type, kRegSz);
  std::uint8_t small[2];
  std::uint32_t size = sizeof small;
  EXPECT_EQ(ErrorOf([&] { reg.ReadData("y", small, size); }), "Reg Error: 000000EA");
  EXPECT_EQ(reg.GetDataSize("missing", type), -1);

  registry.failClose = 6;
  EXPECT_EQ(ErrorOf([&] { reg.CloseKey(); }), "Reg Error: 00000006");
  EXPECT_EQ(reg.CurrentKey(), 0u);
  EXPECT_EQ(registry.openHandles, 0);
}

TEST_F(RegFileTest, OpenKeyOnlyOpensWhenAskedOrWhenItCannotCreate) {
  EXPECT_FALSE(reg.OpenKey("Software\\Nowhere", true));
  EXPECT_FALSE(registry.HasKey("HKLM\\Software\\Nowhere"));
  EXPECT_TRUE(reg.OpenKey("Software\\Nowhere", false));
  EXPECT_TRUE(registry.HasKey("HKLM\\Software\\Nowhere"));
  reg.CloseKey();

  reg.RootKey = hkDynData;
  EXPECT_EQ(ErrorOf([&] { reg.OpenKey("Anything", false); }), "Can't open a Key");
  EXPECT_FALSE(reg.OpenKey("Anything", true));
  reg.RootKey = hkCurrentUser;
  EXPECT_TRUE(reg.OpenKey("", false));  // the root itself
  reg.CloseKey();
  EXPECT_EQ(registry.openHandles, 0);
  EXPECT_EQ(TRegFile(registry).RootKey, hkCurrentUser);
}

TEST_F(RegFileTest, MissingAndOtherValuesReadAsNoneOrTheirText) {
  // Missing: none, and the key path is made on the way.
  EXPECT_EQ(Read("Deep\\Missing"), std::nullopt);
  EXPECT_TRUE(registry.HasKey(kFull + "\\Deep"));

  registry.SetRaw(kFull, "zero", kRegSz, {});
  EXPECT_EQ(Read("zero"), std::nullopt);

  registry.SetString(kFull, "expand", "%TEMP%", kRegExpandSz);
  registry.SetRaw(kFull, "multi", kRegMultiSz, {'a', 0, 'b', 0, 0});
  registry.SetRaw(kFull, "short", kRegBinary, std::vector<std::uint8_t>(15, 1));
  registry.SetRaw(kFull, "record", kRegBinary, std::vector<std::uint8_t>(16, 1));
  registry.SetRaw(kFull, "halfdword", kRegDword, {1, 2});
  for (const char* name : {"expand", "multi", "short", "record", "halfdword"})
    EXPECT_EQ(Read(name), "") << name;
  // A number set by hand reads as its decimal form.
  registry.SetRaw(kFull, "one", kRegDword, {1, 0, 0, 0});
  registry.SetRaw(kFull, "minus", kRegDword, {0xFE, 0xFF, 0xFF, 0xFF});
  EXPECT_EQ(Read("one"), "1");
  EXPECT_EQ(Read("minus"), "-2");

  // Text stops at its first zero; one without a zero is taken whole.
  registry.SetRaw(kFull, "embedded", kRegSz, {'a', 'b', 0, 'c', 0});
  registry.SetRaw(kFull, "unterminated", kRegSz, {'x', 'y'});
  EXPECT_EQ(Read("embedded"), "ab");
  EXPECT_EQ(Read("unterminated"), "xy");
  EXPECT_EQ(registry.openHandles, 0);
}

TEST_F(RegFileTest, ARootThatRefusesFullAccessFailsEvenToRead) {
  registry.readOnlyRoots.insert("HKLM");
  EXPECT_EQ(ErrorOf([&] { Read("OLMouse"); }), "Reg Error: 00000005");
  EXPECT_EQ(ErrorOf([&] { reg.WriteValue("OLMouse", "1"); }), "Reg Error: 00000005");
}

}  // namespace
}  // namespace ostrel
