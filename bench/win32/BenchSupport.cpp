#include "bench/win32/BenchSupport.h"

#include <algorithm>
#include <cstdio>

#include "components/SysHotKey.h"
#include "support/win32/OstrelLaunch.h"
#include "toolkit/Application.h"
#include "support/win32/OwnedForm.h"

namespace ostrel::bench {

// ---------------------------------------------------------------------------------------
// Clock, statistics, table

double NowMs() {
  static const double perMs = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / perMs;
}

Summary Summarise(std::vector<double> samples) {
  Summary s;
  s.n = samples.size();
  if (samples.empty()) return s;
  std::sort(samples.begin(), samples.end());
  const std::size_t mid = samples.size() / 2;
  s.median = samples.size() % 2 ? samples[mid] : (samples[mid - 1] + samples[mid]) / 2;
  s.min = samples.front();
  s.max = samples.back();
  return s;
}

void PrintHeader() {
  std::printf("%-52s %4s %10s %10s %10s  %s\n", "measure (ms)", "n", "median", "min", "max",
              "target");
}

void PrintRow(const char* name, const std::vector<double>& samples, const char* target) {
  Summary s = Summarise(samples);
  std::printf("%-52s %4zu %10.3f %10.3f %10.3f  %s\n", name, s.n, s.median, s.min, s.max, target);
  std::fflush(stdout);
}

void Note(const std::string& line) {
  std::printf("  %s\n", line.c_str());
  std::fflush(stdout);
}

bool Fail(const std::string& why) {
  std::fprintf(stderr, "ostrel_bench: FAILED: %s\n", why.c_str());
  std::fflush(stderr);
  return false;
}

// ---------------------------------------------------------------------------------------
// Files beside the program

std::string ExeFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s = path;
  return s.substr(0, s.find_last_of("\\/") + 1);
}

bool WriteKeysFile(const std::string& path, const std::vector<TKeyRec>& recs) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(recs.data(), sizeof(TKeyRec), recs.size(), f) == recs.size();
  return std::fclose(f) == 0 && ok;
}

std::string KeysFileBytes(const std::vector<TKeyRec>& recs) {
  return std::string(reinterpret_cast<const char*>(recs.data()), recs.size() * sizeof(TKeyRec));
}

void RemoveKeysFiles(const std::string& folder) {
  for (const char* name :
       {"Keys.fil", "Keys.fil.bak", "Keys.fil.new", "Keys.ini", "Keys.ini.bak", "Keys.ini.new"})
    DeleteFileA((folder + name).c_str());
}

long long FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

TKeyRec Definition(std::int32_t funType, const std::string& name, const std::string& group,
                   std::int32_t key, std::int32_t keyMod) {
  TKeyRec rec = NewKeyRec(funType);
  rec.Name.assign(name);
  rec.Group.assign(group);
  rec.Key = key;
  rec.KeyMod = keyMod;
  return rec;
}

// ---------------------------------------------------------------------------------------
// Hotkey combinations

unsigned FlagsOf(std::int32_t keyMod) { return ModifierFlags(*KeyModToModifiers(keyMod)); }

bool Registrable(const Combo& c) {
  constexpr int kProbeId = 0xBEEF;
  if (!RegisterHotKey(nullptr, kProbeId, FlagsOf(c.keyMod), kKeyTable[c.key].code)) return false;
  UnregisterHotKey(nullptr, kProbeId);
  return true;
}

// Plain keys, Shift alone, Alt alone and
// Win are left out (the desktop or the window manager may hold them), and so are keys
// the system reserves in some combinations: Cancel (Ctrl+Break), Tab, Escape, Delete, F12.
std::vector<Combo> PickCombos(std::size_t count, std::size_t& refused) {
  std::vector<Combo> out;
  refused = 0;
  for (std::int32_t keyMod : {6, 4, 5, 3, 2}) {
    // Keys only: the mouse's indexes are no registration.
    for (std::int32_t key = 1; key < kMiddleButton; ++key) {
      if (out.size() == count) return out;
      const std::uint8_t vk = kKeyTable[key].code;
      if (vk == VK_CANCEL || vk == VK_TAB || vk == VK_ESCAPE || vk == VK_DELETE || vk == VK_F12)
        continue;
      if (Registrable({key, keyMod}))
        out.push_back({key, keyMod});
      else
        ++refused;
    }
  }
  return out;
}

// ---------------------------------------------------------------------------------------
// Message boxes and the message loop

void BoxWatch::Run() {
  while (!stop_) {
    for (HWND box = FindWindowExA(nullptr, nullptr, "#32770", nullptr); box;
         box = FindWindowExA(nullptr, box, "#32770", nullptr)) {
      if (GetWindowThreadProcessId(box, nullptr) != uiThread_ || !IsWindowVisible(box)) continue;
      char text[512] = {};
      GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // a message box's text
      if (!seen_) text_ = text;
      seen_ = true;
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    Sleep(100);
  }
}

bool PumpUntil(const std::function<bool()>& done, double timeoutMs) {
  const double end = NowMs() + timeoutMs;
  for (;;) {
    tk::Application::Get().ProcessMessages();
    if (done()) return true;
    const double left = end - NowMs();
    if (left <= 0) return false;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left) + 1, QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
  }
}

void PumpFor(double ms) {
  PumpUntil([] { return false; }, ms);
}

LiveForm::LiveForm() : form_(std::make_unique<testing::OwnedForm>()) {
  tk::Application::Get().SetMainForm(form_.get());
}

LiveForm::~LiveForm() {
  form_->Controller().SetTerminating(true);
  form_.reset();
  tk::Application::Get().SetMainForm(nullptr);
  tk::Application::Get().onMessage = nullptr;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

namespace {
constexpr const char* kOptionsKey = "Software\\Tessaly\\Ostrel\\1.0";
const HKEY kOptionRoots[2] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};
}  // namespace

StoredOption::StoredOption(std::string name) : name_(std::move(name)) {
  for (int i = 0; i < 2; ++i) {
    char value[8] = {};
    DWORD size = sizeof value;
    had_[i] = RegGetValueA(kOptionRoots[i], kOptionsKey, name_.c_str(), RRF_RT_REG_SZ, nullptr,
                           value, &size) == ERROR_SUCCESS;
    old_[i] = value;
  }
}

StoredOption::~StoredOption() {
  for (int i = 0; i < 2; ++i)
    if (had_[i])
      Set(i, old_[i]);
    else
      RegDeleteKeyValueA(kOptionRoots[i], kOptionsKey, name_.c_str());
}

bool StoredOption::Store(bool on) { return Set(0, on ? "1" : "0") && Set(1, on ? "1" : "0"); }

bool StoredOption::Set(int root, const std::string& value) {
  return RegSetKeyValueA(kOptionRoots[root], kOptionsKey, name_.c_str(), REG_SZ, value.c_str(),
                         static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

std::size_t RegisteredCount(TOstrelForm& form) {
  TSysHotKey& hk = form.Controller().SystemHotKeys();
  std::size_t n = 0;
  for (std::size_t i = 0; i < hk.Count(); ++i) n += hk.Entry(i).Registered ? 1 : 0;
  return n;
}

// ---------------------------------------------------------------------------------------
// Keys and Notepad

void PressKey(std::uint8_t vk, unsigned modFlags) {
  std::vector<INPUT> in;
  auto add = [&](WORD key, DWORD flags) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = key;
    i.ki.dwFlags = flags;
    in.push_back(i);
  };
  const std::pair<unsigned, WORD> mods[] = {
      {MOD_CONTROL, VK_CONTROL}, {MOD_ALT, VK_MENU}, {MOD_SHIFT, VK_SHIFT}};
  for (auto [flag, key] : mods)
    if (modFlags & flag) add(key, 0);
  add(vk, 0);
  add(vk, KEYEVENTF_KEYUP);
  for (auto [flag, key] : mods)
    if (modFlags & flag) add(key, KEYEVENTF_KEYUP);
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

std::size_t EditLength(HWND edit) {
  DWORD_PTR n = 0;
  SendMessageTimeoutW(edit, WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, 5000, &n);
  return n;
}

std::wstring EditText(HWND edit) {
  DWORD_PTR n = EditLength(edit);
  std::wstring buf(n + 1, L'\0');
  SendMessageTimeoutW(edit, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()),
                      SMTO_BLOCK, 5000, &n);
  buf.resize(n);
  return buf;
}

Notepad::Notepad() {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  std::string cmd = "notepad.exe";
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_))
    return;
  WaitForInputIdle(pi_.hProcess, 10000);
  for (int i = 0; i < 100 && !window; ++i) {
    window = VisibleWindowOf(pi_.dwProcessId, "Notepad");
    if (!window) Sleep(100);
  }
  edit = window ? FindWindowExA(window, nullptr, "Edit", nullptr) : nullptr;
  if (edit) SetForegroundWindow(window);
}

Notepad::~Notepad() {
  if (!pi_.hProcess) return;
  TerminateProcess(pi_.hProcess, 0);
  WaitForSingleObject(pi_.hProcess, 5000);
  CloseHandle(pi_.hThread);
  CloseHandle(pi_.hProcess);
}

void Notepad::Clear() {
  SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""), SMTO_BLOCK, 5000, nullptr);
}

double Notepad::Until(std::size_t length, double t0, double limitMs) {
  while (EditLength(edit) < length && NowMs() - t0 < limitMs) Sleep(1);
  return NowMs() - t0;
}

}  // namespace ostrel::bench
