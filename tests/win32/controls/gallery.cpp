// A window of Buttons in every style, theme and background mode, for looking at.
// Run with a number of seconds to have it close itself.
#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "button/button.h"
#include "host/gdi_guards.h"

using namespace vantorel::controls;

namespace {

constexpr int kCellW = 96;   // pixels
constexpr int kCellH = 32;
constexpr int kLeft = 120;
constexpr int kTop = 30;
constexpr int kModesY = kTop + 8 * kCellH + 10;
constexpr int kStatesY = kModesY + kCellH;
constexpr int kDropY = kStatesY + 2 * kCellH + 8;  // the shaped samples are 60 pixels high
constexpr int kMainY = kDropY + kCellH;

HostPlacement At(HWND parent, int x, int y, int w = 89, int h = 25) {
  HostPlacement p;
  p.parent = parent;
  p.left = x * 15;
  p.top = y * 15;
  p.width = w * 15;
  p.height = h * 15;
  p.ambient.displayName = L"Button";
  p.ambient.font = FontDesc{L"Tahoma", 8.25, 400, false, false, false, 0};
  return p;
}

PropertyBag MainWindowValues(const wchar_t* caption, int widthPx) {
  std::wstring text = L"_extentx = i32 " + std::to_wstring(widthPx * 2540 / 96 + 1) +
                      L"\n_extenty = i32 661\n"
                      L"buttonstyle = i32 7\nbuttontheme = i32 1\n"
                      L"backcolor = i32 0x00F1B39A\nbackcolorpressed = i32 0x00FAE6DD\n"
                      L"backcolorhover = i32 0x00FDF7F4\nbordercolor = i32 0x008F8F8E\n"
                      L"bordercolorpressed = i32 0x005C411D\nbordercolorhover = i32 0x00B17F3C\n"
                      L"caption = str \"" + std::wstring(caption) + L"\"\n"
                      L"font = font \"Tahoma\" 8.25 700 0 0 0 0\n";
  std::wstring error;
  return *BagFromText(text, &error);
}

LRESULT CALLBACK GalleryProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER: DestroyWindow(hwnd); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      {
        SetBkMode(dc, TRANSPARENT);
        ScopedSelect font(dc, GetStockObject(DEFAULT_GUI_FONT));
        auto text = [&](int x, int y, const std::wstring& s) { TextOutW(dc, x, y, s.c_str(), static_cast<int>(s.size())); };
        for (int theme = 0; theme <= 8; ++theme) text(kLeft + theme * kCellW, kTop - 18, L"theme " + std::to_wstring(theme));
        for (int style = 1; style <= 8; ++style) text(8, kTop + (style - 1) * kCellH + 6, L"style " + std::to_wstring(style));
        text(8, kModesY + 6, L"modes 0-7");
        text(8, kStatesY + 6, L"states, shapes");
        text(8, kDropY + 6, L"drop-down 1-3");
        text(8, kMainY + 6, L"main window");
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    default: return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR args, int) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = GalleryProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"VantorelGallery";
  RegisterClassExW(&wc);
  HWND win = CreateWindowExW(WS_EX_CONTROLPARENT, wc.lpszClassName, L"Button gallery",
                             WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 1020, 560, nullptr, nullptr, instance,
                             nullptr);

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
  PropertyBag on = MainWindowValues(L"on", 89);
  Button* toggled = Button::Create(At(win, kLeft, kStatesY), &on);
  toggled->SetButtonType(1);
  toggled->SetValue(true);
  PropertyBag off = MainWindowValues(L"disabled", 89);
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
    PropertyBag bag = MainWindowValues(L"drop", 89);
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
    PropertyBag bag = MainWindowValues(m.caption, m.width);
    Button* b = Button::Create(At(win, x, kMainY, m.width), &bag);
    mains.push_back(b);
    x += m.width + 8;
  }

  ShowWindow(win, SW_SHOW);
  UpdateWindow(win);
  // The first main-window button focused, the pointer resting on the second.
  SetFocus(mains[0]->hwnd());
  POINT over{20, 10};
  ClientToScreen(mains[1]->hwnd(), &over);
  SetCursorPos(over.x, over.y);
  int seconds = args && *args ? _wtoi(args) : 0;
  if (seconds > 0) SetTimer(win, 1, static_cast<UINT>(seconds) * 1000, nullptr);
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    if (TranslateAccessKey(m) || IsDialogMessageW(win, &m)) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return 0;
}
