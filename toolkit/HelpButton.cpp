#include "toolkit/HelpButton.h"

#include "toolkit/Application.h"

namespace ostrel::tk {

HelpButton::~HelpButton() {
  if (bar_) Application::Get().RemoveHintSource(bar_);
  if (glyph_) ImageList_Destroy(glyph_);
}

HWND HelpButton::Create(HWND parent, HFONT font, int x, int y, int w, int h, int barId,
                        int buttonId, bool flat) {
  HWND bar = CreateWindowExA(
      0, TOOLBARCLASSNAMEA, "",
      WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NODIVIDER | CCS_NOPARENTALIGN |
          (flat ? TBSTYLE_FLAT : 0),
      x, y, w, h, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(barId)),
      Application::Get().Instance(), nullptr);
  if (!bar) return nullptr;
  SendMessageA(bar, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  if (!glyph_)
    glyph_ = ImageList_LoadImageA(Application::Get().Instance(), "HELPGLYPH", 16, 0,
                                  RGB(255, 0, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION);
  TBBUTTON b{};
  b.idCommand = buttonId;
  b.fsState = TBSTATE_ENABLED;
  b.fsStyle = BTNS_BUTTON;
  if (glyph_) {
    SendMessageA(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(glyph_));
    b.iBitmap = 0;
  } else {
    SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    b.iBitmap = I_IMAGENONE;
    b.fsStyle |= BTNS_SHOWTEXT;
    b.iString = reinterpret_cast<INT_PTR>("?");
  }
  SendMessageA(bar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&b));
  SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(w, h));
  // Its hint comes from the application's hint machinery, as every hint of the program.
  bar_ = bar;
  Application::Get().SetHintSource(bar, [bar, buttonId](POINT client) {
    const LRESULT at = SendMessageA(bar, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&client));
    return at >= 0 ? Application::HintTarget{buttonId, kHelpButtonHint} : Application::HintTarget{};
  });
  return bar;
}

std::string ControlText(HWND control) {
  int n = GetWindowTextLengthA(control);
  std::string text(static_cast<std::size_t>(n > 0 ? n : 0) + 1, '\0');
  n = GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  return text;
}

}  // namespace ostrel::tk
