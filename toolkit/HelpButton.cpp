#include "toolkit/HelpButton.h"

#include "toolkit/Application.h"
#include "toolkit/Colours.h"

namespace ostrel::tk {

HelpButton::~HelpButton() {
  if (bar_) Application::Get().RemoveHintSource(bar_);
}

HWND HelpButton::Create(HWND parent, HFONT font, int x, int y, int w, int h, int barId,
                        int buttonId, bool flat) {
  const ToolBar bar(CreateWindowExA(
      0, TOOLBARCLASSNAMEA, "",
      WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NODIVIDER | CCS_NOPARENTALIGN |
          (flat ? TBSTYLE_FLAT : 0),
      x, y, w, h, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(barId)),
      Application::Get().Instance(), nullptr));
  if (!bar) return nullptr;
  bar.SetFont(font);
  bar.Prepare();
  if (!glyph_)
    glyph_.Reset(ImageList_LoadImageA(Application::Get().Instance(), "HELPGLYPH", 16, 0,
                                      kImageMask, IMAGE_BITMAP, LR_CREATEDIBSECTION));
  TBBUTTON b{};
  b.idCommand = buttonId;
  b.fsState = TBSTATE_ENABLED;
  b.fsStyle = BTNS_BUTTON;
  if (glyph_) {
    bar.SetImageList(glyph_.get());
    b.iBitmap = 0;
  } else {
    bar.SetBitmapSize(0, 0);
    b.iBitmap = I_IMAGENONE;
    b.fsStyle |= BTNS_SHOWTEXT;
    b.iString = reinterpret_cast<INT_PTR>("?");
  }
  bar.AddButton(b);
  bar.SetButtonSize(w, h);
  // Its hint comes from the application's hint machinery, as every hint of the program.
  bar_ = bar.Handle();
  Application::Get().SetHintSource(bar_, [bar, buttonId](POINT client) {
    return bar.HitTest(client) >= 0 ? Application::HintTarget{buttonId, kHelpButtonHint}
                                    : Application::HintTarget{};
  });
  return bar_;
}

std::string ControlText(HWND control) {
  int n = GetWindowTextLengthA(control);
  std::string text(static_cast<std::size_t>(n > 0 ? n : 0) + 1, '\0');
  n = GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  return text;
}

}  // namespace ostrel::tk
