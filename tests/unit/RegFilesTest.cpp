#include <gtest/gtest.h>

#include <cstring>

#include "components/RegFiles.h"
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

  Variant Read(const std::string& name) {
    Variant v = Variant::String("untouched");
    reg.ReadValue(name, v);
    return v;
  }
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
  reg.WriteValue("OLMouse", Variant::String("1"));
  reg.WriteValue("Sub\\Val", Variant::String("s"));
  reg.WriteValue("One\\Two\\Val", Variant::String("t"));
  reg.WriteValue("One\\\\Two", Variant::String("u"));
  reg.WriteValue("\\Lead", Variant::String("v"));
  EXPECT_EQ(registry.Text(kFull, "OLMouse"), "1");
  EXPECT_EQ(registry.Text(kFull + "\\Sub", "Val"), "s");
  EXPECT_EQ(registry.Text(kFull + "\\One\\Two", "Val"), "t");
  EXPECT_EQ(registry.Text(kFull, "One\\\\Two"), "u");
  EXPECT_EQ(registry.Text(kFull, "Lead"), "v");
  EXPECT_EQ(Read("One\\Two\\Val"), Variant::String("t"));
  EXPECT_EQ(registry.openHandles, 0);
}

TEST_F(RegFileTest, EveryWritableKindHasItsRegistryFormAndComesBack) {
  reg.WriteValue("s", Variant::String("1"));
  const FakeRegistry::Value* s = registry.Find(kFull, "s");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->type, kRegSz);
  EXPECT_EQ(s->data, (std::vector<std::uint8_t>{'1', 0}));

  reg.WriteValue("i", Variant::Integer(7));
  EXPECT_EQ(registry.Find(kFull, "i")->type, kRegDword);
  EXPECT_EQ(registry.Find(kFull, "i")->data, (std::vector<std::uint8_t>{7, 0, 0, 0}));
  EXPECT_EQ(Read("i"), Variant::Integer(7));

  // A 16-bit integer is stored as a 32-bit one and comes back as such.
  reg.WriteValue("w", Variant::Smallint(-2));
  EXPECT_EQ(registry.Find(kFull, "w")->data, (std::vector<std::uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(Read("w"), Variant::Integer(-2));

  // A Boolean as an integer: -1 for true.
  reg.WriteValue("b", Variant::Boolean(true));
  EXPECT_EQ(Read("b"), Variant::Integer(-1));
  reg.WriteValue("b", Variant::Boolean(false));
  EXPECT_EQ(Read("b"), Variant::Integer(0));

  reg.WriteValue("d", Variant::Double(2.5));
  const FakeRegistry::Value* d = registry.Find(kFull, "d");
  EXPECT_EQ(d->type, kRegBinary);
  ASSERT_EQ(d->data.size(), 16u);
  EXPECT_EQ(d->data[0], 5);
  EXPECT_EQ(d->data[1], 0);
  double payload;
  std::memcpy(&payload, d->data.data() + 8, 8);
  EXPECT_EQ(payload, 2.5);
  EXPECT_EQ(Read("d"), Variant::Double(2.5));

  for (const Variant& v : {Variant::Single(-0.375f), Variant::Currency(123456789),
                           Variant::Date(45000.75), Variant::Double(1e-300)}) {
    reg.WriteValue("r", v);
    EXPECT_EQ(registry.Find(kFull, "r")->data.size(), 16u);
    EXPECT_EQ(registry.Find(kFull, "r")->data[0], v.Type());
    EXPECT_EQ(Read("r"), v) << v.Type();
  }
  EXPECT_EQ(registry.openHandles, 0);
}

TEST_F(RegFileTest, KindsThatCannotBeStoredAreRefusedAfterTheKeyIsMade) {
  for (const Variant& v : {Variant(), Variant::Null(), Variant::Other(0x2003), Variant::Other(9)}) {
    EXPECT_EQ(ErrorOf([&] { reg.WriteValue("x", v); }), "Invalid variant type") << v.Type();
  }
  EXPECT_TRUE(registry.HasKey(kFull));
  EXPECT_EQ(registry.Find(kFull, "x"), nullptr);
  EXPECT_EQ(registry.openHandles, 0);
}

TEST_F(RegFileTest, FailuresRaiseTheirCodeAndKeepItAsLastError) {
  registry.failSet = kErrorAccessDenied;
  EXPECT_EQ(ErrorOf([&] { reg.WriteValue("x", Variant::Integer(1)); }), "Reg Error: 00000005");
  EXPECT_EQ(reg.LastError(), 5u);
  EXPECT_EQ(registry.openHandles, 0);  // closed although the write failed

  registry.failCreate = static_cast<std::int32_t>(0x8007000Eu);
  EXPECT_EQ(ErrorOf([&] { Read("x"); }), "Reg Error: 8007000E");
  EXPECT_EQ(reg.LastError(), 0x8007000Eu);

  // A query that fails after the size was known.
  reg.WriteValue("x", Variant::Integer(1));
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

TEST_F(RegFileTest, MissingAndUnreadableValuesReadAsNullOrEmpty) {
  // Missing: null, and the key path is made on the way.
  EXPECT_EQ(Read("Deep\\Missing"), Variant::Null());
  EXPECT_TRUE(registry.HasKey(kFull + "\\Deep"));

  registry.SetRaw(kFull, "zero", kRegSz, {});
  EXPECT_EQ(Read("zero"), Variant::Null());

  registry.SetString(kFull, "expand", "%TEMP%", kRegExpandSz);
  registry.SetRaw(kFull, "multi", kRegMultiSz, {'a', 0, 'b', 0, 0});
  registry.SetRaw(kFull, "short", kRegBinary, std::vector<std::uint8_t>(15, 1));
  registry.SetRaw(kFull, "halfdword", kRegDword, {1, 2});
  // A stored record of a string kind would refer to memory of its writer.
  std::vector<std::uint8_t> stringRecord(16, 0x41);
  stringRecord[0] = 0x00;
  stringRecord[1] = 0x01;
  registry.SetRaw(kFull, "stringrecord", kRegBinary, stringRecord);
  for (const char* name : {"expand", "multi", "short", "halfdword", "stringrecord"})
    EXPECT_EQ(Read(name), Variant()) << name;

  // Text stops at its first zero; one without a zero is taken whole.
  registry.SetRaw(kFull, "embedded", kRegSz, {'a', 'b', 0, 'c', 0});
  registry.SetRaw(kFull, "unterminated", kRegSz, {'x', 'y'});
  EXPECT_EQ(Read("embedded"), Variant::String("ab"));
  EXPECT_EQ(Read("unterminated"), Variant::String("xy"));
  EXPECT_EQ(registry.openHandles, 0);
}

TEST_F(RegFileTest, ARootThatRefusesFullAccessFailsEvenToRead) {
  registry.readOnlyRoots.insert("HKLM");
  EXPECT_EQ(ErrorOf([&] { Read("OLMouse"); }), "Reg Error: 00000005");
  EXPECT_EQ(ErrorOf([&] { reg.WriteValue("OLMouse", Variant::String("1")); }),
            "Reg Error: 00000005");
}

TEST(VariantText, OnlyStringsAndIntegersEqualAText) {
  EXPECT_TRUE(Variant::String("1").EqualsText("1"));
  EXPECT_FALSE(Variant::String("1 ").EqualsText("1"));
  EXPECT_TRUE(Variant::Integer(1).EqualsText("1"));
  EXPECT_TRUE(Variant::Smallint(-3).EqualsText("-3"));
  EXPECT_FALSE(Variant::Null().EqualsText("1"));
  EXPECT_FALSE(Variant().EqualsText(""));
  EXPECT_FALSE(Variant::Double(1).EqualsText("1"));
}

}  // namespace
}  // namespace ostrel
