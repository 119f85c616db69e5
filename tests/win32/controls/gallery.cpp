// A window of Buttons in every style, theme and background mode, for looking at.
// Run with a number of seconds to have it close itself.
#include <windows.h>

#include <string>
#include <vector>

#include "gallery_window.h"
#include "test_support.h"

using namespace vantorel::controls;
namespace host = vantorel::host;

namespace {

constexpr int kCellW = 96;   // pixels
constexpr int kCellH = 32;
constexpr int kLeft = 120;
constexpr int kTop = 30;
constexpr int kModesY = kTop + 8 * kCellH + 10;
constexpr int kStatesY = kModesY + kCellH;
constexpr int kDropY = kStatesY + 2 * kCellH + 8;  // the shaped samples are 60 pixels high
constexpr int kMainY = kDropY + kCellH;

host::HostPlacement At(HWND parent, int x, int y, int w = 89, int h = 25) {
  return host::test::GalleryPlacement(parent, x, y, w, h, L"Button");
}

void PaintLabels(HDC dc) {
  auto text = [&](int x, int y, const std::wstring& s) { TextOutW(dc, x, y, s.c_str(), static_cast<int>(s.size())); };
  for (int theme = 0; theme <= 8; ++theme) text(kLeft + theme * kCellW, kTop - 18, L"theme " + std::to_wstring(theme));
  for (int style = 1; style <= 8; ++style) text(8, kTop + (style - 1) * kCellH + 6, L"style " + std::to_wstring(style));
  text(8, kModesY + 6, L"modes 0-7");
  text(8, kStatesY + 6, L"states, shapes");
  text(8, kDropY + 6, L"drop-down 1-3");
  text(8, kMainY + 6, L"main window");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR args, int) {
  static const host::test::GalleryWindow kGallery{
      L"VantorelGallery", L"Button gallery", {1000, 480}, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), PaintLabels};
  HWND win = host::test::MakeGalleryWindow(kGallery, instance);

  for (int style = 1; style <= 8; ++style) {
    for (int theme = 0; theme <= 8; ++theme) {
      Button* b = Button::Create(At(win, kLeft + theme * kCellW, kTop + (style - 1) * kCellH));
      b->SetButtonStyle(style);
      b->SetButtonTheme(theme);
      b->SetCaption(L"s" + std::to_wstring(style) + L" t" + std::to_wstring(theme));
    }
  }
  for (int mode = 0; mode <= 7; ++mode) {
    Button* b = Button::Create(At(win, kLeft + mode * kCellW, kModesY));
    b->SetButtonStyle(0);
    b->SetButtonTheme(2);
    b->SetButtonStyleColors(mode);
    b->SetDropDown(mode == 0 ? 3 : 0);  // something to see through the transparent one
  }
  // States of the main window's look (toggled on, disabled), a flat style-0 face,
  // and faces made square by their shape.
  host::PropertyBag on = test::MainWindowBag(L"on");
  Button* toggled = Button::Create(At(win, kLeft, kStatesY), &on);
  toggled->SetButtonType(1);
  toggled->SetValue(true);
  host::PropertyBag off = test::MainWindowBag(L"disabled");
  Button::Create(At(win, kLeft + kCellW, kStatesY), &off)->SetEnabled(false);
  Button* flat = Button::Create(At(win, kLeft + 2 * kCellW, kStatesY));
  flat->SetButtonStyle(0);
  flat->SetBackColor(0x00C0FFC0);
  Button* shape = Button::Create(At(win, kLeft + 3 * kCellW, kStatesY, 60, 60));
  shape->SetButtonStyle(7);
  shape->SetButtonShape(4);
  Button* shape8 = Button::Create(At(win, kLeft + 4 * kCellW, kStatesY, 60, 60));
  shape8->SetButtonStyle(8);
  shape8->SetBackColor(0x00D07030);
  shape8->SetButtonShape(2);

  for (int d = 1; d <= 3; ++d) {
    host::PropertyBag bag = test::MainWindowBag(L"drop");
    Button::Create(At(win, kLeft + (d - 1) * kCellW, kDropY), &bag)->SetDropDown(d);
  }
  struct Main {
    const wchar_t* caption;
    int width;
  };
  int x = kLeft;
  std::vector<Button*> mains;
  for (Main m : {Main{L"Replace", 89}, Main{L"Close", 89}, Main{L"About", 73}, Main{L"Open File (.exe)", 105},
                 Main{L"Open File (.ico)", 105}}) {
    host::PropertyBag bag = test::MainWindowBag(m.caption, m.width);
    Button* b = Button::Create(At(win, x, kMainY, m.width), &bag);
    mains.push_back(b);
    x += m.width + 8;
  }

  // The first main-window button focused, the pointer resting on the second.
  return host::test::RunGallery(win, args, [&] {
    SetFocus(mains[0]->hwnd());
    host::test::PlacePointer(mains[1]->hwnd(), 20, 10);
  });
}
