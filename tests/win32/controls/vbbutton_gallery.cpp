// A window of vbButtons: every type (rows) by the four colour schemes (columns),
// each in six looks: normal, hot, pressed / disabled, focused, default. Every
// button is live: hover, press, focus and the check-box cell work as in use.
// Run with a number of seconds to have it close itself.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "gallery_window.h"
#include "vbbutton/vbbutton.h"

using namespace vantorel::controls;
namespace host = vantorel::host;

namespace {

constexpr int kButtonW = 80;  // pixels
constexpr int kButtonH = 26;
constexpr int kGapX = 3;
constexpr int kGapY = 3;
constexpr int kLabelW = 96;
constexpr int kHeaderH = 46;
constexpr int kSchemeW = 3 * (kButtonW + kGapX) + 12;
constexpr int kRowH = 2 * (kButtonH + kGapY) + 6;
constexpr int kTypes = 14;

constexpr const wchar_t* kTypeNames[kTypes] = {
    L"1 framed bevel", L"2 standard", L"3 gradient", L"4 rounded", L"5 flat light", L"6 soft bevel", L"7 flat",
    L"8 hot border",   L"9 highlight", L"10 picture",  L"11 transparent", L"12 hot bevel", L"13 oval", L"14 panel",
};
constexpr const wchar_t* kSchemeNames[4] = {L"1 system", L"2 own colours", L"3 grey", L"4 parent's colours"};
constexpr const wchar_t* kLookNames[6] = {L"normal", L"hot", L"pressed", L"disabled", L"focused", L"default"};

// A 16 x 16 picture on the mask colour: a blue diamond with a dark edge and a
// yellow centre, so masking, greyscale and silhouettes all show.
host::PictureRef SamplePicture() {
  host::WindowDc screen;
  host::GdiObject<HBITMAP> bmp(CreateCompatibleBitmap(screen.get(), 16, 16));
  {
    host::MemoryDc mem(screen.get());
    host::ScopedSelect selected(mem.get(), bmp.get());
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        int d = std::abs(x - 7) + std::abs(y - 7);
        COLORREF c = d > 7 ? RGB(192, 192, 192) : d == 7 ? RGB(0, 0, 96) : d < 3 ? RGB(255, 220, 0) : RGB(40, 110, 230);
        SetPixelV(mem.get(), x, y, c);
      }
  }
  return host::Picture::FromBitmap(bmp.get());
}

host::HostPlacement At(HWND parent, int x, int y, bool isDefault) {
  host::HostPlacement p = host::test::GalleryPlacement(parent, x, y, kButtonW, kButtonH, L"vbButton");
  p.ambient.displayAsDefault = isDefault;
  return p;
}

void MakeCell(HWND win, const host::PictureRef& pic, int type, int scheme, int look) {
  int x = kLabelW + (scheme - 1) * kSchemeW + (look % 3) * (kButtonW + kGapX);
  int y = kHeaderH + (type - 1) * kRowH + (look / 3) * (kButtonH + kGapY);
  vbButton* b = vbButton::Create(At(win, x, y, look == 5));
  b->DisableRefresh();
  b->SetColorScheme(scheme);
  if (scheme == 2) {
    b->SetBackColor(0x00F1B39A);
    b->SetBackOver(0x00F8D9CC);
    b->SetForeColor(0x00602000);
    b->SetForeOver(0x000030C0);
  }
  b->SetCaption(type == 9 && look == 0 ? L"&Check" : L"&Open");
  b->SetPictureNormal(pic);
  b->SetSpecialEffect(type == 6 ? 1 : 0);
  b->SetCheckBoxBehaviour(type == 9 && look == 0);
  b->SetButtonType(type);
  b->Refresh();
  switch (look) {
    case 1: b->ShowAs(true, false); break;
    case 2: b->Draw(vb::kLookPressed, true); break;
    case 3: b->SetEnabled(false); break;
    case 4: b->ShowAs(true, true); break;
    default: break;
  }
}

void PaintLabels(HDC dc) {
  auto text = [&](int x, int y, const wchar_t* s) { TextOutW(dc, x, y, s, lstrlenW(s)); };
  for (int s = 0; s < 4; ++s) {
    int x = kLabelW + s * kSchemeW;
    text(x + 2, 2, kSchemeNames[s]);
    // Each column's upper-row look, and below it in grey its lower-row look.
    for (int l = 0; l < 3; ++l) {
      SetTextColor(dc, RGB(0, 0, 0));
      text(x + l * (kButtonW + kGapX) + 2, 17, kLookNames[l]);
      SetTextColor(dc, RGB(110, 110, 110));
      text(x + l * (kButtonW + kGapX) + 2, 29, kLookNames[l + 3]);
    }
    SetTextColor(dc, RGB(0, 0, 0));
  }
  text(6, 4, L"type \\ scheme");
  for (int t = 0; t < kTypes; ++t) text(6, kHeaderH + t * kRowH + kButtonH - 6, kTypeNames[t]);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR args, int) {
  // A patterned background, so the transparent type shows what it copies.
  static const host::test::GalleryWindow kGallery{L"VantorelVbGallery",
                                                  L"vbButton gallery",
                                                  {kLabelW + 4 * kSchemeW, kHeaderH + kTypes * kRowH},
                                                  CreateHatchBrush(HS_DIAGCROSS, RGB(200, 215, 235)),
                                                  PaintLabels};
  HWND win = host::test::MakeGalleryWindow(kGallery, instance);
  // Every cell is made before the window shows, so the first picture of it is
  // the whole sheet.
  host::PictureRef pic = SamplePicture();
  for (int type = 1; type <= kTypes; ++type)
    for (int scheme = 1; scheme <= 4; ++scheme)
      for (int look = 0; look < 6; ++look) MakeCell(win, pic, type, scheme, look);
  return host::test::RunGallery(win, args);
}
