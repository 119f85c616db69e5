// A contact sheet of the twelve face shapes: one row per shape and size (48 and
// 49 pixels), one column per style 1 to 7 and state (normal, hover, pressed,
// focused, disabled). Each cell is a Button driven into its state and copied
// from its backing image through its window region, so what lies outside the
// region shows the sheet's backdrop as the parent would on screen.
// Usage: shape_sheet OUTPUT.bmp
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "button_face_states.h"
#include "host/dib_image.h"
#include "host/gdi_guards.h"

using namespace vantorel::controls;
namespace host = vantorel::host;

namespace {

constexpr int kSizes[] = {48, 49};
constexpr int kCell = 56;  // pixels per cell, the face and a margin
constexpr int kLabelW = 118;
constexpr int kHeaderH = 34;
// Grey-blue, so that white highlights and the band outside a region show.
constexpr std::uint32_t kBackdrop = 0x00B0BECC;
constexpr const wchar_t* kShapeNames[12] = {L"rectangle",      L"rounded",       L"ellipse",        L"diamond",
                                            L"triangle up",    L"triangle left", L"triangle right", L"triangle down",
                                            L"arrow up",       L"arrow left",    L"arrow right",    L"arrow down"};
using test::State;
constexpr State kStates[] = {State::Rest, State::Hover, State::Pressed, State::Focused, State::Disabled};
constexpr const wchar_t* kStateNames[] = {L"normal", L"hover", L"pressed", L"focused", L"disabled"};

// The sheet's pixels: a top-down 32-bit image that GDI draws the labels into.
class Sheet {
 public:
  Sheet(int width, int height)
      : width_(width),
        height_(height),
        image_(width, height),
        font_(CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma")),
        selectedFont_(image_.dc(), font_.get()) {
    bits_ = image_.bits();
    for (int i = 0; i < width * height; ++i) bits_[i] = kBackdrop;
    SetBkMode(image_.dc(), TRANSPARENT);
  }

  void Label(int x, int y, const std::wstring& text) {
    TextOutW(image_.dc(), x, y, text.c_str(), static_cast<int>(text.size()));
  }

  // Copies the control's image to (x, y), only where its window region (if
  // any) lets it show.
  void Place(Button* b, int x, int y) {
    GdiFlush();
    host::Surface& s = b->surface();
    const std::uint32_t* px = s.Pixels();
    host::GdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    const bool clipped = GetWindowRgn(b->hwnd(), region.get()) != ERROR;
    for (int py = 0; py < s.ScaleHeight(); ++py)
      for (int qx = 0; qx < s.ScaleWidth(); ++qx)
        if (!clipped || PtInRegion(region.get(), qx, py))
          bits_[static_cast<std::size_t>(y + py) * width_ + x + qx] = px[py * s.ScaleWidth() + qx] & 0x00FFFFFF;
  }

  bool Save(const wchar_t* path) const {
    GdiFlush();
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width_;
    info.biHeight = height_;  // bottom-up, which every reader takes
    info.biPlanes = 1;
    info.biBitCount = 32;
    const DWORD bytes = static_cast<DWORD>(width_) * height_ * 4;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + bytes;
    FILE* f = _wfopen(path, L"wb");
    if (!f) return false;
    bool ok = std::fwrite(&file, sizeof file, 1, f) == 1 && std::fwrite(&info, sizeof info, 1, f) == 1;
    for (int y = height_ - 1; ok && y >= 0; --y)
      ok = std::fwrite(bits_ + static_cast<std::size_t>(y) * width_, 4, width_, f) == static_cast<size_t>(width_);
    return std::fclose(f) == 0 && ok;
  }

 private:
  int width_, height_;
  host::DibImage image_;
  host::GdiObject<HFONT> font_;
  host::ScopedSelect selectedFont_;
  std::uint32_t* bits_ = nullptr;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fputs("usage: shape_sheet OUTPUT.bmp\n", stderr);
    return 2;
  }
  host::test::TestParent stage(300, 300);
  const int columns = 7 * 5;
  const int rows = 12 * 2;
  Sheet sheet(kLabelW + columns * kCell + 8, kHeaderH + rows * kCell + 8);
  for (int style = 1; style <= 7; ++style) {
    const int x0 = kLabelW + (style - 1) * 5 * kCell;
    sheet.Label(x0 + 2, 2, L"style " + std::to_wstring(style));
    for (int s = 0; s < 5; ++s) sheet.Label(x0 + s * kCell + 2, 17, kStateNames[s]);
  }
  for (int shape = 0; shape < 12; ++shape) {
    for (int z = 0; z < 2; ++z) {
      const int size = kSizes[z];
      const int y = kHeaderH + (shape * 2 + z) * kCell;
      sheet.Label(4, y + 12, std::to_wstring(shape) + L" " + kShapeNames[shape]);
      sheet.Label(4, y + 26, std::to_wstring(size) + L" x " + std::to_wstring(size));
      for (int style = 1; style <= 7; ++style) {
        for (int s = 0; s < 5; ++s) {
          // With the styles' own backgrounds (ButtonStyleColors 1, a new Button's).
          Button* b = test::Face(stage.hwnd(), shape, style, size, size, kStates[s], 1);
          sheet.Place(b, kLabelW + ((style - 1) * 5 + s) * kCell + 2, y + 2);
          test::Dispose(b);
        }
      }
    }
  }
  if (!sheet.Save(argv[1])) {
    std::fputs("shape_sheet: cannot write the picture\n", stderr);
    return 1;
  }
  return 0;
}
