// The option stores against the real system: values written through the registry value
// component and read back both through it and through the bare registry calls and the
// "reg" tool; a real shell link made below the user's Programs folder, read back through
// IShellLinkA, and deleted.
#include <gtest/gtest.h>
#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstdio>

#include "app/win32/OstrelForm.h"
#include "components/ProgLink.h"
#include "components/RegFile.h"
#include "platform/Paths.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32ShellLink.h"
#include "toolkit/Application.h"
#include "support/win32/OwnedForm.h"

namespace ostrel {
namespace {

const char* const kTestKey = "Software\\Tessaly\\OstrelTest";

// What "reg query" prints for one value.
std::string RegQuery(const std::string& key, const std::string& value) {
  const std::string cmd = "reg query \"" + key + "\" /v " + value + " 2>&1";
  std::string out;
  if (FILE* p = _popen(cmd.c_str(), "r")) {
    char buf[512];
    while (std::fgets(buf, sizeof buf, p)) out += buf;
    _pclose(p);
  }
  return out;
}

class RegistryStore : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
    reg.RootKey = hkCurrentUser;
    reg.Key = kTestKey;
  }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }
  Win32Registry port;
  TRegFile reg{port};
};

TEST_F(RegistryStore, ValuesWrittenAreWhatTheRegistryHolds) {
  reg.WriteValue("OLMouse", "1");
  reg.WriteValue("Sub\\Flag", "0");

  // Through the bare calls.
  HKEY key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &key), ERROR_SUCCESS);
  char text[16] = {};
  DWORD type = 0, size = sizeof text;
  ASSERT_EQ(RegQueryValueExA(key, "OLMouse", nullptr, &type, reinterpret_cast<BYTE*>(text), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 2u);
  EXPECT_STREQ(text, "1");
  RegCloseKey(key);

  // Through the "reg" tool.
  const std::string path = std::string("HKCU\\") + kTestKey;
  const std::string mouse = RegQuery(path, "OLMouse");
  EXPECT_NE(mouse.find("REG_SZ"), std::string::npos) << mouse;
  EXPECT_NE(mouse.find("1"), std::string::npos) << mouse;
  const std::string flag = RegQuery(path + "\\Sub", "Flag");
  EXPECT_NE(flag.find("REG_SZ"), std::string::npos) << flag;
  EXPECT_NE(flag.find("0"), std::string::npos) << flag;

  // And back through the component.
  EXPECT_EQ(reg.ReadValue("OLMouse"), "1");
  EXPECT_EQ(reg.ReadValue("Sub\\Flag"), "0");
  EXPECT_EQ(reg.ReadValue("Missing"), std::nullopt);
}

TEST_F(RegistryStore, OtherKindsReadAsEmptyAndErrorsCarryTheSystemsCode) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  const char expand[] = "%TEMP%";
  RegSetValueExA(key, "Expand", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(expand),
                 sizeof expand);
  const char multi[] = "a\0b\0";
  RegSetValueExA(key, "Multi", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi), sizeof multi);
  RegCloseKey(key);
  EXPECT_EQ(reg.ReadValue("Expand"), "");
  EXPECT_EQ(reg.ReadValue("Multi"), "");

  reg.RootKey = hkDynData;
  try {
    reg.OpenKey("Anything", false);
    ADD_FAILURE() << "no error";
  } catch (const ERegFileError& e) {
    EXPECT_STREQ(e.what(), "Can't open a Key");
  }
  // A key path the system refuses.
  reg.RootKey = hkCurrentUser;
  reg.Key = "";
  try {
    reg.WriteValue("\\", "x");
  } catch (const ERegFileError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Reg Error: ", 0), 0u) << e.what();
    EXPECT_NE(reg.LastError(), 0u);
  }
}

// The shell link component with the real ports, below the real Programs folder.
class ShellLinkStore : public ::testing::Test {
 protected:
  void SetUp() override { OleInitialize(nullptr); }
  void TearDown() override { OleUninitialize(); }
  Win32Registry registry;
  Win32FileSystem files;
  Win32ShellLink links;
};

TEST_F(ShellLinkStore, ALinkIsMadeFoundReadBackAndDeleted) {
  TProgLink link(registry, files, links);
  std::optional<std::string> programs = link.ProgramsFolder();
  ASSERT_TRUE(programs) << "no Programs value in the user's Shell Folders key";
  const std::string folder = *programs + "\\OstrelTest";
  const std::string path = folder + "\\Probe.lnk";
  DeleteFileA(path.c_str());

  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  link.SourceName = exe;
  link.LinkName = "OstrelTest\\Probe.lnk";
  link.Parameters = " --probe ";
  EXPECT_FALSE(link.LinkExists());
  EXPECT_TRUE(link.CreateLink());
  EXPECT_TRUE(link.LinkExists());
  EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);

  IShellLinkA* shellLink = nullptr;
  ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IShellLinkA, reinterpret_cast<void**>(&shellLink))));
  IPersistFile* file = nullptr;
  shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  ASSERT_NE(file, nullptr);
  WCHAR wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
  EXPECT_TRUE(SUCCEEDED(file->Load(wide, STGM_READ)));
  char target[MAX_PATH] = {}, dir[MAX_PATH] = {}, args[MAX_PATH] = {}, desc[MAX_PATH] = {};
  shellLink->GetPath(target, MAX_PATH, nullptr, 0);
  shellLink->GetWorkingDirectory(dir, MAX_PATH);
  shellLink->GetArguments(args, MAX_PATH);
  shellLink->GetDescription(desc, MAX_PATH);
  file->Release();
  shellLink->Release();
  EXPECT_STRCASEEQ(target, exe);
  EXPECT_STRCASEEQ(dir, FolderOf(exe).c_str());
  EXPECT_STREQ(args, " --probe ");
  EXPECT_STREQ(desc, "No description available");
  // The show command as the file holds it (the header's ShowCommand field): Wine 8's
  // link object reports 1 after loading whatever the file says.
  // Wine and Windows differ here: see "Where Wine and Windows differ" in docs/WINE.md.
  HANDLE h =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  BYTE header[0x4C] = {};
  DWORD got = 0;
  ReadFile(h, header, sizeof header, &got, nullptr);
  CloseHandle(h);
  ASSERT_EQ(got, sizeof header);
  EXPECT_EQ(header[0x3C], SW_SHOWMAXIMIZED);

  link.DeleteLink();
  EXPECT_FALSE(link.LinkExists());
  EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
  RemoveDirectoryA(folder.c_str());
}

// A link that cannot be saved says so: its folder cannot be made (two levels missing), or
// its path does not fit MAX_PATH (cut, it would land elsewhere).
TEST_F(ShellLinkStore, ALinkThatIsNotSavedIsReportedAsSuch) {
  TProgLink link(registry, files, links);
  ASSERT_TRUE(link.ProgramsFolder());
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  link.SourceName = exe;
  link.LinkName = "OstrelMissing\\Deeper\\Probe.lnk";
  EXPECT_FALSE(link.CreateLink());
  EXPECT_FALSE(link.LinkExists());
  link.LinkName = std::string(MAX_PATH, 'x') + ".lnk";
  EXPECT_FALSE(link.CreateLink());
  ShellLinkData data;
  data.path = exe;
  EXPECT_FALSE(links.SaveShellLink(std::string(MAX_PATH + 10, 'y'), data));
  EXPECT_FALSE(links.SaveShellLink("", data));
}

// The option boxes of the real window: a set does not run the click handler, a click does.
TEST(OptionBoxes, SettingIsQuietAndClickingRunsTheHandler) {
  OleInitialize(nullptr);
  tk::Application::Get().Initialize(GetModuleHandleA(nullptr));
  {
    testing::OwnedForm form;
    tk::Application::Get().SetMainForm(&form);
    HWND mouse = GetDlgItem(form.Handle(), idOLMouse);
    // The values go to a key of the test's own.
    form.Controller().Options().SetOptionsKey();
    form.Controller().Options().OptionStore().Key = kTestKey;
    // Not attached yet: a click handler run would attach the library.
    form.SetOptionChecked(obOLMouse, true);
    EXPECT_TRUE(form.OptionChecked(obOLMouse));
    EXPECT_EQ(SendMessageA(mouse, BM_GETCHECK, 0, 0), BST_CHECKED);
    form.SetOptionChecked(obOLMouse, false);
    EXPECT_FALSE(form.Controller().HookAttached());
    SendMessageA(mouse, BM_CLICK, 0, 0);  // checks the box: mouse activation off
    EXPECT_TRUE(form.OptionChecked(obOLMouse));
    EXPECT_FALSE(form.Controller().HookAttached());
    SendMessageA(mouse, BM_CLICK, 0, 0);  // unchecks it: the library is attached
    EXPECT_FALSE(form.OptionChecked(obOLMouse));
    EXPECT_TRUE(form.Controller().HookAttached());
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTestKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    char text[4] = {};
    DWORD size = sizeof text;
    RegQueryValueExA(key, "OLMouse", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    EXPECT_STREQ(text, "0");
    form.Controller().Mouse().DetachTheDll();
    form.Controller().SetTerminating(true);
  }
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTestKey);
  RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
  tk::Application::Get().SetMainForm(nullptr);
  OleUninitialize();
}

}  // namespace
}  // namespace ostrel
