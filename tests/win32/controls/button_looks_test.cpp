// Whole looks of the main window's button, one hash each with the pixels that
// say why the look is right.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "button_paint_support.h"

namespace vantorel::controls::test {
namespace {

using host::test::Drain;
using host::test::ImageHash;
using host::test::MovePointer;
using host::test::Pixel;
using host::test::TestParent;
using test::kMainBack;
using test::kMainHover;
using test::kMainPressed;
using test::MainButton;
using test::Mix;
using test::Near;

// Whole-image hashes, one per look; they change only on purpose. Every look
// carries the caption "Replace" in Tahoma bold, so the hashes hold only where
// Wine has its own Tahoma fonts (the test scripts give every prefix a copy).
// Beside each hash, pixels that the colour rules fix: a hash says that the look
// did not change, the pins say why it is right.
struct Look {
  const char* name;
  std::function<void(Button*, HWND)> setup;
  std::uint32_t hash;
  std::function<void(Button*)> pins;
};

COLORREF Sys(int index) { return GetSysColor(index); }

void Press(Button* b) { SendMessageW(b->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10)); }

// Pixels of the caption box, with one pixel of room.
RECT AroundCaption(Button* b) {
  const PixelBox& c = b->CaptionBox();
  return RECT{c.left - 2, c.top - 2, c.left + c.width + 2, c.top + c.height + 2};
}

// The effect copy shows one pixel beyond the main text on the sides it is
// offset to.
void ExpectEffectAround(Button* b, COLORREF main, COLORREF effect, int left, int top, int right, int bottom) {
  host::test::Bounds m = host::test::ColourBounds(b, main, AroundCaption(b));
  host::test::Bounds e = host::test::ColourBounds(b, effect, AroundCaption(b));
  ASSERT_FALSE(m.empty());
  ASSERT_FALSE(e.empty());
  EXPECT_EQ(e.left, m.left + left);
  EXPECT_EQ(e.top, m.top + top);
  EXPECT_EQ(e.right, m.right + right);
  EXPECT_EQ(e.bottom, m.bottom + bottom);
}

// Graded captions: every pixel left in the text colour is recoloured by its
// place; `graded` gives the colour for a column and row.
void ExpectGraded(Button* b, COLORREF text, const std::function<COLORREF(int, int)>& graded) {
  const RECT area = AroundCaption(b);
  int matching = 0, ungraded = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) {
      matching += host::test::Pixel(b, x, y) == graded(x, y);
      ungraded += host::test::Pixel(b, x, y) == text;
    }
  EXPECT_GT(matching, 20);
  EXPECT_EQ(ungraded, 0);
}

int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

TEST(ButtonPaint, HashPerLook) {
  const COLORREF kHighlight = Sys(COLOR_BTNHIGHLIGHT), kShadow = Sys(COLOR_BTNSHADOW), kDark = Sys(COLOR_3DDKSHADOW);
  const Look looks[] = {
      {"main at rest", [](Button*, HWND) {}, 0xB42D2E45,
       [](Button* b) {
         EXPECT_EQ(host::test::Pixel(b, 10, 12), kMainBack);
         EXPECT_EQ(host::test::Pixel(b, 0, 12), 0x8F8F8Eu);
         EXPECT_EQ(host::test::Pixel(b, 1, 12), 0xFFFFFFu);
       }},
      {"main hover", [](Button* b, HWND) { host::test::MovePointer(b->hwnd(), 10, 10); }, 0x547AFBA1,
       [](Button* b) {
         EXPECT_EQ(host::test::Pixel(b, 10, 12), kMainHover);
         EXPECT_EQ(host::test::Pixel(b, 0, 12), 0xB17F3Cu);
       }},
      {"main pressed", [](Button* b, HWND) { Press(b); }, 0xA135696E,
       [](Button* b) {
         EXPECT_EQ(host::test::Pixel(b, 10, 12), kMainPressed);
         EXPECT_EQ(host::test::Pixel(b, 0, 12), 0x5C411Du);
         EXPECT_EQ(host::test::Pixel(b, 1, 12), RGB(115, 176, 207));
       }},
      {"main disabled", [](Button* b, HWND) { b->SetEnabled(false); }, 0x882FED60,
       [](Button* b) {
         EXPECT_EQ(host::test::Pixel(b, 10, 12), 0xF0F0F0u);
         EXPECT_EQ(host::test::Pixel(b, 0, 12), 0xB5B2ADu);
       }},
      {"main drop-down 2", [](Button* b, HWND) { b->SetDropDown(2); }, 0xF91990FB,
       [](Button* b) {
         EXPECT_EQ(host::test::Pixel(b, 68 + 6, 4 + 5), 0u);
         EXPECT_EQ(host::test::Pixel(b, 68 + 9, 4 + 12), 0u);
       }},
      {"style 8",
       [](Button* b, HWND) {
         b->SetButtonStyle(8);
         b->SetBackColor(0x336699);
       },
       0x11213063,
       [](Button* b) {
         // The second fill starts at row 12 in BackColor; the border is BackColor too.
         EXPECT_EQ(host::test::Pixel(b, 10, 12), 0x336699u);
         EXPECT_EQ(host::test::Pixel(b, 0, 12), 0x336699u);
       }},
      {"style 5 hover",
       [](Button* b, HWND) {
         b->SetButtonStyle(5);
         host::test::MovePointer(b->hwnd(), 10, 10);
       },
       0xB1B4421B,
       [](Button* b) {
         EXPECT_EQ(host::test::Pixel(b, 0, 12), 0u) << "style 5's hover border";
         EXPECT_TRUE(Near(host::test::Pixel(b, 10, 1), Mix(0xB6A59F, 0xAC9891, 1 / 25.0)))
             << std::hex << host::test::Pixel(b, 10, 1);
       }},
      {"style 5 pressed",
       [](Button* b, HWND) {
         b->SetButtonStyle(5);
         Press(b);
       },
       0xD3298E17,
       [](Button* b) {
         EXPECT_EQ(host::test::Pixel(b, 0, 12), 0u);
         EXPECT_TRUE(Near(host::test::Pixel(b, 10, 1), Mix(0xAF8C80, 0xA57F71, 1 / 25.0)))
             << std::hex << host::test::Pixel(b, 10, 1);
       }},
      {"style 6 pressed",
       [](Button* b, HWND) {
         b->SetButtonStyle(6);
         Press(b);
       },
       0x0CCA9118,
       [kHighlight](Button* b) {
         EXPECT_EQ(host::test::Pixel(b, 0, 12), 0u);
         EXPECT_EQ(host::test::Pixel(b, 10, 22), kHighlight);
         EXPECT_TRUE(Near(host::test::Pixel(b, 10, 1), Mix(0xE0E6E6, 0xD2DEDD, 1 / 25.0)))
             << std::hex << host::test::Pixel(b, 10, 1);
       }},
      {"mode 4",
       [](Button* b, HWND) {
         b->SetButtonStyle(0);
         b->SetButtonStyleColors(4);
       },
       0x1135C7D7,
       [](Button* b) {
         EXPECT_EQ(host::test::Pixel(b, 10, 12), kMainPressed) << "the second colour in the middle";
         EXPECT_EQ(host::test::Pixel(b, 0, 12), 0x8F8F8Eu) << "style 0 keeps the stored border";
       }},
      {"mode 5",
       [](Button* b, HWND) {
         b->SetButtonStyle(0);
         b->SetButtonStyleColors(5);
       },
       0xFD76768E,
       [](Button* b) {
         EXPECT_EQ(host::test::Pixel(b, 10, 12), kMainBack);
         EXPECT_TRUE(Near(host::test::Pixel(b, 10, 1), Mix(kMainPressed, kMainBack, 1 / 12.0)))
             << std::hex << host::test::Pixel(b, 10, 1);
       }},
      {"mode 6",
       [](Button* b, HWND) {
         b->SetButtonStyle(0);
         b->SetButtonStyleColors(6);
       },
       0x72000DBE, [](Button* b) { EXPECT_EQ(host::test::Pixel(b, 44, 2), kMainPressed); }},
      {"mode 7",
       [](Button* b, HWND) {
         b->SetButtonStyle(0);
         b->SetButtonStyleColors(7);
       },
       0xD67A3C04, [](Button* b) { EXPECT_EQ(host::test::Pixel(b, 44, 2), kMainBack); }},
      {"style 1 pressed",
       [](Button* b, HWND) {
         b->SetButtonStyle(1);
         Press(b);
       },
       0x5AA363D4,
       [=](Button* b) {
         EXPECT_EQ(host::test::Pixel(b, 0, 12), kDark);
         EXPECT_EQ(host::test::Pixel(b, 1, 12), kShadow);
         EXPECT_EQ(host::test::Pixel(b, 88, 12), kHighlight);
       }},
      {"style 1 disabled",
       [](Button* b, HWND) {
         b->SetButtonStyle(1);
         b->SetEnabled(false);
       },
       0x8DF9003B,
       [=](Button* b) {
         EXPECT_EQ(host::test::Pixel(b, 87, 12), kShadow);
         EXPECT_EQ(host::test::Pixel(b, 0, 12), kHighlight);
         EXPECT_EQ(host::test::Pixel(b, 88, 12), kDark);
       }},
      {"style 2 focused",
       [](Button* b, HWND) {
         b->SetButtonStyle(2);
         SetFocus(b->hwnd());
       },
       0x492ED7AA,
       [=](Button* b) {
         EXPECT_EQ(host::test::Pixel(b, 4, 4), 0u);
         EXPECT_EQ(host::test::Pixel(b, 5, 4), RGB(209, 209, 209));
         EXPECT_EQ(host::test::Pixel(b, 0, 12), kHighlight);
       }},
      {"style 3 hover",
       [](Button* b, HWND) {
         b->SetButtonStyle(3);
         host::test::MovePointer(b->hwnd(), 10, 10);
       },
       0xEAE6E7BA,
       [=](Button* b) {
         EXPECT_EQ(host::test::Pixel(b, 0, 12), kHighlight);
         EXPECT_EQ(host::test::Pixel(b, 88, 12), kDark);
       }},
      {"style 4 focused",
       [](Button* b, HWND) {
         b->SetButtonStyle(4);
         SetFocus(b->hwnd());
       },
       0xAC496A5B,
       [=](Button* b) {
         EXPECT_EQ(host::test::Pixel(b, 0, 12), kShadow);
         EXPECT_EQ(host::test::Pixel(b, 1, 12), kHighlight);
         EXPECT_EQ(host::test::Pixel(b, 87, 12), kShadow);
         const PixelBox& c = b->CaptionBox();
         EXPECT_EQ(host::test::Pixel(b, c.left - 3, c.top + 2), 0xCC9999u);
       }},
      {"style 6 focused",
       [](Button* b, HWND) {
         b->SetButtonStyle(6);
         SetFocus(b->hwnd());
       },
       0xB54B1088,
       [](Button* b) {
         EXPECT_EQ(host::test::Pixel(b, 10, 23), RGB(89, 141, 217));
         EXPECT_EQ(host::test::Pixel(b, 1, 12), RGB(129, 169, 226));
       }},
      {"main focused", [](Button* b, HWND) { SetFocus(b->hwnd()); }, 0xA8DB9BC5,
       [](Button* b) {
         EXPECT_EQ(host::test::Pixel(b, 1, 12), RGB(4, 204, 254));
         EXPECT_EQ(host::test::Pixel(b, 10, 12), kMainBack);
       }},
      {"caption raised", [](Button* b, HWND) { b->SetCaptionEffect(1); }, 0xE59FABAC,
       [](Button* b) { ExpectEffectAround(b, 0x000000, 0xFFFFFF, -1, -1, -1, -1); }},
      {"caption outline pressed",
       [](Button* b, HWND) {
         b->SetCaptionEffect(3);
         Press(b);
       },
       0xE2B7CBD4, [](Button* b) { ExpectEffectAround(b, 0x0000FF, 0xFFFFFF, -1, -1, 1, 1); }},
      {"caption graded across", [](Button* b, HWND) { b->SetCaptionStyle(1); }, 0x0448B901,
       [](Button* b) {
         // From ForeColor (black) at x = 0 to ForeColorPressed (red) at x = W.
         ExpectGraded(b, 0x000000, [](int k, int) { return RGB(RoundEven(k * 255.0 / 89), 0, 0); });
       }},
      {"caption graded down hover",
       [](Button* b, HWND) {
         b->SetCaptionStyle(2);
         host::test::MovePointer(b->hwnd(), 10, 10);
       },
       0xAA3CD725,
       [](Button* b) {
         // From ForeColorHover (blue) at y = 0 to ForeColor (black) at y = H.
         ExpectGraded(b, 0xFF0000, [](int, int l) { return RGB(0, 0, 255 + RoundEven(-255.0 / 25 * l)); });
       }},
      {"caption top, picture grey left",
       [](Button* b, HWND) {
         b->SetCaptionAlignment(0);
         b->SetPictureAlignment(1);
         b->SetPictureGray(true);
         b->SetPicture(host::test::SolidPicture(16, 16, 0x00336699));
       },
       0x4D3ADB72,
       [](Button* b) {
         // Left (89 - 16) / 89 + 4 = 4.82 -> 5, top (25 - 16) / 2 = 4.5 -> 4; grey
         // from the red channel, 0x99.
         EXPECT_EQ(host::test::Pixel(b, 5, 4), 0x999999u);
         EXPECT_EQ(host::test::Pixel(b, 20, 19), 0x999999u);
         EXPECT_NE(host::test::Pixel(b, 21, 19), 0x999999u);
       }},
  };
  for (const Look& look : looks) {
    host::test::TestParent parent;
    Button* b = MainButton(parent);
    look.setup(b, parent.hwnd());
    host::test::Drain();
    std::uint32_t h = host::test::ImageHash(b);
    EXPECT_EQ(h, look.hash) << look.name << ": 0x" << std::hex << h;
    SCOPED_TRACE(look.name);
    look.pins(b);
    ReleaseCapture();
  }
}

}  // namespace
}  // namespace vantorel::controls::test
