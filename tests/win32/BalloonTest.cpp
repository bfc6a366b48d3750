// The balloon hint window on the real desktop: its window, size and shape beside the
// cursor (and twice as large at 192 DPI), the flips at the screen's edges, the 215-pixel
// text limit on the 1024-pixel screen, the shadow's pixels as the screen shows them, and
// no balloon with a button held.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>

#include "components/win32/Balloon.h"
#include "toolkit/Application.h"

namespace ostrel {
namespace {

std::string ClassOf(HWND h) {
  char name[64] = {};
  GetClassNameA(h, name, sizeof name);
  return name;
}

void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    tk::Application::Get().ProcessMessages();
    Sleep(10);
  } while (GetTickCount() - start < ms);
}

// Wine and Windows differ here: see "Where Wine and Windows differ" in docs/WINE.md.
// Puts the cursor at (x, y) and waits until it stays there: Wine may still apply a pointer
// motion of the X server that arrived before the warp.
void PlaceCursor(int x, int y) {
  const DWORD start = GetTickCount();
  for (;;) {
    SetCursorPos(x, y);
    Pump(50);
    POINT p;
    GetCursorPos(&p);
    if ((p.x == x && p.y == y) || GetTickCount() - start > 3000) return;
  }
}

// The text's extent wrapped to `width` in the balloon's font.
SIZE Measure(HFONT font, const std::string& text, int width) {
  RECT r{0, 0, width, 0};
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  DrawTextA(dc, text.c_str(), -1, &r, DT_NOPREFIX | DT_CALCRECT | DT_WORDBREAK);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

bool InRegion(HWND h, int x, int y) {
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  const bool in = GetWindowRgn(h, rgn) != ERROR && PtInRegion(rgn, x, y);
  DeleteObject(rgn);
  return in;
}

// A plain green window under the balloon, so the shadow's pixels can be told apart.
class GreenBackdrop {
 public:
  GreenBackdrop() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = CreateSolidBrush(kGreen);
    wc.lpszClassName = "BalloonTestBackdrop";
    RegisterClassA(&wc);
    hwnd_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE,
                            250, 150, 600, 500, nullptr, nullptr, wc.hInstance, nullptr);
    UpdateWindow(hwnd_);
    Pump(300);
  }
  ~GreenBackdrop() { DestroyWindow(hwnd_); }
  static constexpr COLORREF kGreen = RGB(0, 160, 0);

 private:
  HWND hwnd_;
};

class BalloonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tk::Application::Get().Initialize(GetModuleHandleA(nullptr));
    PlaceCursor(500, 400);
  }
  void TearDown() override {
    tk::Application::Get().CancelHint();
    Pump(50);
  }
  POINT Cursor() {
    POINT p;
    GetCursorPos(&p);
    return p;
  }
};

TEST_F(BalloonTest, BalloonBesideTheCursorIsDisabledTopmostInactiveAndShapedWithItsShadow) {
  ASSERT_EQ(Cursor().x, 500);
  TBalloonHint hint;
  HWND front = GetForegroundWindow();
  TBalloonHintWindow balloon;
  balloon.ActivateHint(RECT{}, "Add");
  HWND h = balloon.Handle();
  ASSERT_TRUE(IsWindowVisible(h));
  EXPECT_EQ(ClassOf(h), "TBalloonHintWindow");
  const LONG_PTR style = GetWindowLongPtrA(h, GWL_STYLE);
  EXPECT_EQ(style & (WS_POPUP | WS_DISABLED | WS_BORDER | WS_CAPTION), WS_POPUP | WS_DISABLED);
  EXPECT_TRUE(GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_NE(GetForegroundWindow(), h);
  EXPECT_EQ(GetForegroundWindow(), front);
  EXPECT_NE(GetActiveWindow(), h);

  const int d = 8;
  const SIZE text = Measure(balloon.FontInUse(), "Add", 215);
  RECT r;
  GetWindowRect(h, &r);
  const int w = r.right - r.left, ht = r.bottom - r.top;
  EXPECT_EQ(w, text.cx + d + 33);
  EXPECT_EQ(ht, text.cy + d + 38);
  EXPECT_EQ(balloon.CurrentPosition(), bpAboveRight);
  EXPECT_EQ(r.left, 500);
  EXPECT_EQ(r.bottom, 400);
  EXPECT_EQ(balloon.FillColor(), tk::Application::Get().hintColor);
  EXPECT_EQ(balloon.OutlineColor(), GetSysColor(COLOR_WINDOWFRAME));

  // The region: body, the tail down to d pixels above the cursor, the shadow d further.
  EXPECT_TRUE(InRegion(h, w / 2, (ht - d - 19) / 2));
  EXPECT_TRUE(InRegion(h, 3, ht - d - 2));          // the tail's tip
  EXPECT_TRUE(InRegion(h, 3 + d, ht - 2));          // the shadow's tip
  EXPECT_TRUE(InRegion(h, w - 2, (ht - d - 19) / 2 + d));  // the shadow beside the body
  EXPECT_FALSE(InRegion(h, 1, 1));                  // left of the body, above the tail
  EXPECT_FALSE(InRegion(h, w - 1, 0));              // a rounded corner

  // One letter: the narrowest balloon, for the tail's sake.
  balloon.ActivateHint(RECT{}, "A");
  GetWindowRect(h, &r);
  EXPECT_EQ(r.right - r.left, 59);

  // Opening on a screen of 192 DPI: the same text in a balloon about twice as large, its
  // frame exactly twice.
  struct At192 : TBalloonHintWindow {
    UINT DpiAt(POINT) const override { return 192; }
  } large;
  const std::string text2 = "Add new key";
  balloon.ActivateHint(RECT{}, text2);
  GetWindowRect(h, &r);
  const SIZE size96{r.right - r.left, r.bottom - r.top};
  large.ActivateHint(RECT{}, text2);
  const SIZE measured2 = Measure(large.FontInUse(), text2, 256 - 2 * (d + 33));
  GetWindowRect(large.Handle(), &r);
  EXPECT_EQ(r.right - r.left, measured2.cx + 2 * (d + 33));
  EXPECT_EQ(r.bottom - r.top, measured2.cy + 2 * (d + 38));
  EXPECT_NEAR(r.right - r.left, 2 * size96.cx, size96.cx / 10);
  EXPECT_NEAR(r.bottom - r.top, 2 * size96.cy, size96.cy / 10);
}

TEST_F(BalloonTest, FlipsAtTheEdgesAndWrapsLongTextAt215PixelsOnA1024PixelScreen) {
  ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  TBalloonHint hint;
  TBalloonHintWindow balloon;
  RECT r;
  PlaceCursor(1023, 400);
  balloon.ActivateHint(RECT{}, "Update an existing Hot Key");
  GetWindowRect(balloon.Handle(), &r);
  EXPECT_EQ(balloon.CurrentPosition(), bpAboveLeft);
  EXPECT_EQ(r.right, 1023);
  EXPECT_EQ(r.bottom, 400);

  PlaceCursor(500, 3);
  balloon.ActivateHint(RECT{}, "Update an existing Hot Key");
  GetWindowRect(balloon.Handle(), &r);
  EXPECT_EQ(balloon.CurrentPosition(), bpBelowRight);
  EXPECT_EQ(r.left, 501);
  EXPECT_EQ(r.top, 4);

  PlaceCursor(1023, 3);
  balloon.ActivateHint(RECT{}, "Update");
  EXPECT_EQ(balloon.CurrentPosition(), bpBelowLeft);

  std::string text;
  for (int i = 0; i < 12; ++i) text += "This is the Help button... ";
  for (POINT at : {POINT{500, 600}, POINT{40, 600}, POINT{1000, 600}}) {
    PlaceCursor(at.x, at.y);
    balloon.ActivateHint(RECT{}, text);
    GetWindowRect(balloon.Handle(), &r);
    const SIZE wrapped = Measure(balloon.FontInUse(), text, 215);
    EXPECT_LE(wrapped.cx, 215);
    EXPECT_GT(wrapped.cx, 150);
    EXPECT_EQ(r.right - r.left, wrapped.cx + 41) << at.x;
    EXPECT_EQ(r.bottom - r.top, wrapped.cy + 46) << at.x;
    EXPECT_LE(r.right - r.left, 256);
  }
}

TEST_F(BalloonTest, NoBalloonWhileAMouseButtonIsHeld) {
  TBalloonHint hint;
  TBalloonHintWindow balloon;
  BYTE keys[256], held[256];
  ASSERT_TRUE(GetKeyboardState(keys));
  for (int vk : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON}) {
    std::copy(keys, keys + 256, held);
    held[vk] = 0x80;
    ASSERT_TRUE(SetKeyboardState(held));
    ASSERT_LT(GetKeyState(vk), 0);
    balloon.ActivateHint(RECT{}, "Add");
    EXPECT_FALSE(IsWindowVisible(balloon.Handle())) << vk;
  }
  SetKeyboardState(keys);
  balloon.ActivateHint(RECT{}, "Add");
  EXPECT_TRUE(IsWindowVisible(balloon.Handle()));
}

// The shadow as the screen shows it: every second pixel darkened; the body in the fill
// colour the host set.
TEST_F(BalloonTest, ShadowIsDitheredOnTheScreen) {
  GreenBackdrop backdrop;
  TBalloonHint hint;
  hint.SetColor(RGB(250, 240, 200));
  TBalloonHintWindow balloon;
  HDC screen = GetDC(nullptr);
  balloon.ActivateHint(RECT{}, "Add a new Hot Key  and OstrelMenu Command");
  Pump(300);
  RECT r;
  GetWindowRect(balloon.Handle(), &r);
  // Beside the body's right edge, in the shadow: a checkerboard of black and green.
  const int y = r.top + (r.bottom - r.top) / 2, x = r.right - 4;
  const bool evenFirst = ((x - r.left + y - r.top) & 1) == 0;
  EXPECT_EQ(GetPixel(screen, x, y), evenFirst ? RGB(0, 0, 0) : GreenBackdrop::kGreen);
  EXPECT_EQ(GetPixel(screen, x + 1, y), evenFirst ? GreenBackdrop::kGreen : RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(screen, x, y + 1), evenFirst ? GreenBackdrop::kGreen : RGB(0, 0, 0));
  // Inside the body, away from the text: the fill colour.
  EXPECT_EQ(GetPixel(screen, r.left + 18, r.top + 4), RGB(250, 240, 200));
  ReleaseDC(nullptr, screen);
}

// A window whose whole area carries a hint, with the cursor resting in its middle: the
// application's hint machinery shows the hint there after the pause.
class HintHost {
 public:
  HintHost() {
    hwnd_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "",
                            WS_POPUP | WS_VISIBLE | SS_NOTIFY,  // hit by the mouse
                            300, 300, 200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    tk::Application::Get().SetHintSource(hwnd_, [](POINT) {
      return tk::Application::HintTarget{1, "Add a new Hot Key  and OstrelMenu Command"};
    });
    UpdateWindow(hwnd_);
  }
  ~HintHost() {
    tk::Application::Get().RemoveHintSource(hwnd_);
    DestroyWindow(hwnd_);
  }
  // Rests the mouse in the middle; true once the application shows the hint.
  bool Rest(DWORD timeoutMs = 3000) {
    PlaceCursor(400, 350);
    PostMessageA(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(100, 50));
    const DWORD start = GetTickCount();
    while (!tk::Application::Get().HintShowing() && GetTickCount() - start < timeoutMs) Pump(10);
    return tk::Application::Get().HintShowing();
  }
  void Move(int x) { PostMessageA(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(x, 50)); }
  HWND Handle() const { return hwnd_; }

 private:
  HWND hwnd_;
};

class HintMachinery : public BalloonTest {
 protected:
  void SetUp() override {
    BalloonTest::SetUp();
    app.hintPause = 300;
    app.hintHidePause = 10000;
  }
  void TearDown() override {
    BalloonTest::TearDown();
    app.hintPause = 500;
    app.hintHidePause = 2500;
  }
  tk::Application& app = tk::Application::Get();
};

TEST_F(HintMachinery, RestingShowsABalloonAfterThePauseAndInactiveGivesThePlainHintBack) {
  TBalloonHint hint;
  HintHost host;
  const DWORD start = GetTickCount();
  ASSERT_TRUE(host.Rest());
  EXPECT_GE(GetTickCount() - start, 250u);
  HWND balloon = FindWindowA("TBalloonHintWindow", nullptr);
  ASSERT_NE(balloon, nullptr);
  EXPECT_EQ(balloon, app.Hint()->Handle());
  EXPECT_TRUE(IsWindowVisible(balloon));
  RECT r;
  GetWindowRect(balloon, &r);
  EXPECT_EQ(r.left, 400);
  EXPECT_EQ(r.bottom, 350);

  // Moving on within the same part keeps it; a click ends it.
  host.Move(101);
  Pump(50);
  EXPECT_TRUE(IsWindowVisible(balloon));
  PostMessageA(host.Handle(), WM_LBUTTONDOWN, 0, 0);
  Pump(50);
  EXPECT_FALSE(IsWindowVisible(balloon));

  hint.SetActive(false);
  EXPECT_EQ(FindWindowA("TBalloonHintWindow", nullptr), nullptr);
  host.Move(150);
  ASSERT_TRUE(host.Rest());
  HWND plain = app.Hint()->Handle();
  EXPECT_EQ(ClassOf(plain), "THintWindow");
  EXPECT_TRUE(IsWindowVisible(plain));
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(plain, rgn), ERROR);
  DeleteObject(rgn);

  // After the hide pause it goes, and stays away while the mouse rests on the same part.
  app.CancelHint();
  app.hintHidePause = 200;
  ASSERT_TRUE(host.Rest());
  Pump(500);
  EXPECT_FALSE(IsWindowVisible(plain));
  host.Move(151);
  Pump(500);
  EXPECT_FALSE(IsWindowVisible(plain));
}

}  // namespace
}  // namespace ostrel
