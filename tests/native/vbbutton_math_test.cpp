// vbButton's colour arithmetic, layout, access key and picture passes: plain
// functions, tested without a window.
#include <gtest/gtest.h>

#include "vbbutton/access_key.h"
#include "vbbutton/color_math.h"
#include "vbbutton/layout.h"
#include "vbbutton/picture_render.h"

namespace vantorel::controls::vb::test {
namespace {

constexpr Rgb24 RGB3(int r, int g, int b) {
  return static_cast<Rgb24>(r) | (static_cast<Rgb24>(g) << 8) | (static_cast<Rgb24>(b) << 16);
}

TEST(VbShift, ClampsAddsAndHalves) {
  struct Case {
    Rgb24 in;
    int delta;
    bool soft;
    bool blue;
    Rgb24 out;
  } cases[] = {
      {RGB3(255, 255, 255), 47, false, false, RGB3(255, 255, 255)},  // white stays white
      {RGB3(0, 0, 0), -64, false, false, RGB3(0, 0, 0)},              // black stays black
      {RGB3(100, 150, 200), 47, false, false, RGB3(147, 197, 247)},
      {RGB3(100, 150, 200), 47, true, false, RGB3(123, 173, 223)},    // SoftBevel: +23
      {RGB3(100, 150, 200), -47, true, false, RGB3(77, 127, 177)},    // halved toward zero: -23
      {RGB3(250, 10, 128), 20, false, false, RGB3(255, 30, 148)},     // each channel capped alone
      {RGB3(250, 10, 128), -20, false, false, RGB3(230, 0, 108)},     // and floored alone
      // Blue in proportion: blue + delta * blue \ 192, toward zero.
      {RGB3(10, 10, 192), 48, false, true, RGB3(58, 58, 240)},
      {RGB3(10, 10, 100), -25, false, true, RGB3(0, 0, 87)},           // -2500 \ 192 = -13
      {RGB3(10, 10, 0), 48, false, true, RGB3(58, 58, 0)},             // no blue stays no blue
      {RGB3(0, 0, 250), 48, false, true, RGB3(48, 48, 255)},           // 250 + 62 capped
  };
  for (const Case& c : cases)
    EXPECT_EQ(Shift(c.in, c.delta, c.soft, c.blue), c.out)
        << std::hex << c.in << " by " << std::dec << c.delta << (c.soft ? " soft" : "") << (c.blue ? " blue" : "");
}

TEST(VbLighten, BlendsTowardWhite) {
  EXPECT_EQ(Lighten(RGB3(0, 0, 0), 176), RGB3(176, 176, 176));
  EXPECT_EQ(Lighten(RGB3(255, 255, 255), 176), RGB3(255, 255, 255));
  // 128 + 127 * 100 \ 255 = 128 + 49; 128 + 127 * 200 \ 255 = 128 + 99.
  EXPECT_EQ(Lighten(RGB3(100, 200, 0), 128), RGB3(177, 227, 128));
}

SchemeSource Source(int scheme) {
  SchemeSource s;
  s.scheme = scheme;
  s.backColor = RGB3(100, 120, 140);
  s.backOver = RGB3(1, 2, 3);
  s.foreColor = RGB3(4, 5, 6);
  s.foreOver = RGB3(7, 8, 9);
  s.mask = RGB3(192, 192, 192);
  s.sysFace = RGB3(212, 208, 200);
  s.sysText = RGB3(0, 0, 1);
  s.sysLight = RGB3(10, 11, 12);
  s.sysHighlight = RGB3(13, 14, 15);
  s.sysShadow = RGB3(16, 17, 18);
  s.sysDarkShadow = RGB3(19, 20, 21);
  s.sysSelection = RGB3(10, 36, 106);
  s.parentBack = RGB3(60, 70, 80);
  s.parentText = RGB3(90, 91, 92);
  return s;
}

TEST(VbColorSet, OwnColoursDeriveTheirShadesFromTheFace) {
  ColorSet c = DeriveColors(Source(2));
  EXPECT_EQ(c.face, RGB3(100, 120, 140));
  EXPECT_EQ(c.hotFace, RGB3(1, 2, 3));
  EXPECT_EQ(c.text, RGB3(4, 5, 6));
  EXPECT_EQ(c.hotText, RGB3(7, 8, 9));
  EXPECT_EQ(c.light, RGB3(131, 151, 171));
  EXPECT_EQ(c.highlight, RGB3(147, 167, 187));
  EXPECT_EQ(c.shadow, RGB3(36, 56, 76));
  EXPECT_EQ(c.darkShadow, RGB3(0, 0, 0));
  EXPECT_EQ(c.selection, RGB3(0, 0, 12));
  EXPECT_EQ(c.selectionLight, c.face);
  EXPECT_EQ(c.raisedFace, RGB3(148, 168, 188));
  EXPECT_EQ(c.mask, RGB3(192, 192, 192));
}

TEST(VbColorSet, SoftBevelHalvesEveryShade) {
  SchemeSource s = Source(2);
  s.soft = true;
  ColorSet c = DeriveColors(s);
  EXPECT_EQ(c.highlight, RGB3(123, 143, 163));  // +47 becomes +23
  EXPECT_EQ(c.light, RGB3(115, 135, 155));      // +31 becomes +15
  EXPECT_EQ(c.shadow, RGB3(68, 88, 108));       // -64 becomes -32
  EXPECT_EQ(c.raisedFace, RGB3(124, 144, 164)); // +48 becomes +24
}

TEST(VbColorSet, FixedGreyParentAndSystemSchemes) {
  ColorSet grey = DeriveColors(Source(3));
  EXPECT_EQ(grey.face, RGB3(192, 192, 192));
  EXPECT_EQ(grey.light, RGB3(223, 223, 223));
  EXPECT_EQ(grey.highlight, RGB3(255, 255, 255));
  EXPECT_EQ(grey.shadow, RGB3(128, 128, 128));
  EXPECT_EQ(grey.darkShadow, 0u);
  EXPECT_EQ(grey.selection, 0x00800000u);
  EXPECT_EQ(grey.selectionLight, 0x00D1ADADu);
  EXPECT_EQ(grey.text, 0u);

  ColorSet parent = DeriveColors(Source(4));
  EXPECT_EQ(parent.face, RGB3(60, 70, 80));
  EXPECT_EQ(parent.hotFace, RGB3(60, 70, 80));
  EXPECT_EQ(parent.text, RGB3(90, 91, 92));
  EXPECT_EQ(parent.highlight, RGB3(107, 117, 127));
  EXPECT_EQ(parent.selectionLight, Lighten(RGB3(10, 36, 106), 176));

  for (int scheme : {1, 0, 5, -1}) {
    ColorSet sys = DeriveColors(Source(scheme));
    EXPECT_EQ(sys.face, RGB3(212, 208, 200)) << scheme;
    EXPECT_EQ(sys.light, RGB3(10, 11, 12)) << scheme;
    EXPECT_EQ(sys.highlight, RGB3(13, 14, 15)) << scheme;
    EXPECT_EQ(sys.shadow, RGB3(16, 17, 18)) << scheme;
    EXPECT_EQ(sys.darkShadow, RGB3(19, 20, 21)) << scheme;
    // 176 + 79 * 10 \ 255, 176 + 79 * 36 \ 255, 176 + 79 * 106 \ 255
    EXPECT_EQ(sys.selectionLight, RGB3(179, 187, 208)) << scheme;
  }
}

TEST(VbColorSet, RaisedFaceMovesBlueInProportionOnlyWhereTheTypeSaysSo) {
  SchemeSource s = Source(2);
  s.backColor = RGB3(100, 100, 96);
  s.blueShades = true;  // type 3
  EXPECT_EQ(DeriveColors(s).raisedFace, RGB3(148, 148, 120));  // 96 + 48 * 96 \ 192
  s.blueShades = false;
  EXPECT_EQ(DeriveColors(s).raisedFace, RGB3(148, 148, 144));
}

TEST(VbGradient, SingleStepRoundsHalvesToEven) {
  // Height 50: the step is exactly 0.5, so odd rows land on halves.
  EXPECT_EQ(GradientOffset(25, 50, 1), 0);   // -0.5
  EXPECT_EQ(GradientOffset(25, 50, 3), -2);  // -1.5
  EXPECT_EQ(GradientOffset(25, 50, 5), -2);  // -2.5
  EXPECT_EQ(GradientOffset(25, 50, 50), -25);
  // Height 32: 25 / 32 = 0.78125 exactly; row 16 gives -12.5.
  EXPECT_EQ(GradientOffset(25, 32, 16), -12);
  EXPECT_EQ(GradientOffset(25, 32, 32), -25);
  // 58 / 32 = 1.8125: row 8 gives -14.5, row 24 gives -43.5.
  EXPECT_EQ(GradientOffset(58, 32, 8), -14);
  EXPECT_EQ(GradientOffset(58, 32, 24), -44);
  // 25 / 3 is not exact in single precision (8.33333301544...): row 3 gives
  // -24.9999990463, which rounds to -25 all the same.
  EXPECT_EQ(GradientOffset(25, 3, 3), -25);
}

TEST(VbLayout, MeasuringBoxLeavesRoomForThePicture) {
  struct Case {
    int position;
    Box box;
  } cases[] = {
      {0, {33, 1, 85, 30}}, {1, {1, 1, 53, 30}}, {2, {1, 17, 85, 30}}, {3, {1, 1, 85, 14}}, {4, {1, 1, 85, 30}},
  };
  for (const Case& c : cases) EXPECT_EQ(MeasuringBox(87, 32, 32, 16, c.position), c.box) << c.position;
}

TEST(VbLayout, CentresWithIntegerDivisionsAndPlacesThePicture) {
  // Position 0, a 40 x 13 caption measured at (33, 1): moved by (87 - 73) \ 2 = 7
  // and (32 - 14) \ 2 = 9.
  Layout l = PlaceCaptionAndPicture(87, 32, 16, 16, 0, {33, 1, 73, 14}, true, true);
  EXPECT_EQ(l.caption, (Box{40, 10, 80, 23}));
  EXPECT_EQ(l.pressedCaption, (Box{41, 11, 81, 24}));
  EXPECT_EQ(l.tw, 40);
  EXPECT_EQ(l.th, 13);
  EXPECT_EQ(l.pictureX, 40 - 16 - 4);
  EXPECT_EQ(l.pictureY, 8);  // (32 - 16) \ 2

  // Position 1: dx = (87 - 41 - 16 - 4) \ 2 = 13; picture right of the caption.
  l = PlaceCaptionAndPicture(87, 32, 16, 16, 1, {1, 1, 41, 14}, true, true);
  EXPECT_EQ(l.caption.left, 14);
  EXPECT_EQ(l.pictureX, l.caption.right + 4);

  // Position 2: above; position 3: below with dy = (h - b - ph - 4) \ 2.
  l = PlaceCaptionAndPicture(87, 60, 16, 16, 2, {1, 17, 41, 30}, true, true);
  EXPECT_EQ(l.caption.top, 17 + 15);
  EXPECT_EQ(l.pictureY, l.caption.top - 16 - 2);
  EXPECT_EQ(l.pictureX, (87 - 16) / 2);
  l = PlaceCaptionAndPicture(87, 60, 16, 16, 3, {1, 1, 41, 14}, true, true);
  EXPECT_EQ(l.caption.top, 1 + (60 - 14 - 16 - 4) / 2);
  EXPECT_EQ(l.pictureY, l.caption.bottom + 2);

  // A caption wider than the control moves left by half the excess, toward zero.
  l = PlaceCaptionAndPicture(20, 32, 0, 0, 4, {1, 1, 25, 14}, true, false);
  EXPECT_EQ(l.caption.left, 1 - 2);  // (20 - 25) \ 2 = -2, not -3

  // Centred (position 4), no caption, or a position outside 0 to 4: the picture
  // goes in the middle.
  for (auto [position, caption] : {std::pair{4, true}, std::pair{0, false}, std::pair{9, true}}) {
    l = PlaceCaptionAndPicture(87, 32, 16, 16, position, {1, 1, 40, 14}, caption, true);
    EXPECT_EQ(l.pictureX, 35) << position;
    EXPECT_EQ(l.pictureY, 8) << position;
  }
}

// The focus box of each type: vbbutton_face_test.cpp (the types are the face table's).
TEST(VbLayout, VisibleCaption) {
  EXPECT_FALSE(HasVisibleCaption(L""));
  EXPECT_FALSE(HasVisibleCaption(L"   "));
  EXPECT_TRUE(HasVisibleCaption(L" a "));
}

TEST(VbAccessKey, AmpersandRules) {
  struct Case {
    const wchar_t* caption;
    wchar_t key;
  } cases[] = {
      {L"", 0},
      {L"&", 0},              // one character
      {L"a&", 0},             // two characters ending in an ampersand
      {L"Save", 0},           // no ampersand
      {L"Save &", 0},         // the first ampersand is the last character
      {L"&&Save", 0},         // a leading doubled pair and nothing else
      {L"Tom && Jerry", 0},   // one doubled pair in the middle
      {L"Open &File", L'f'},  // lower-cased
      {L"&Open", L'o'},
      {L"Tom && &Jerry", L'j'},  // after a pair, the next single ampersand
      {L"A && B &&& C", 0},      // after the pair the next ampersand is doubled again
      {L"A && B &", 0},          // after the pair the next ampersand ends the caption
      {L"&&", 0},
      {L"x&&&y", L'y'},  // the single ampersand right after the pair
  };
  for (const Case& c : cases) EXPECT_EQ(AccessKeyOf(c.caption), c.key) << c.caption;
}

TEST(VbPicture, ModesMaskAndClipping) {
  constexpr std::uint32_t kMask = 0x00C0C0C0;
  constexpr std::uint32_t kFace = 0x00102030;
  PicturePixels pic{3, 1, {kMask, 0x00FF0000, 0x00808081}};  // mask, red, light grey (sum 385)
  auto run = [&](RenderOptions o, int x = 0) {
    std::vector<std::uint32_t> px(4, kFace);
    RenderPicture({px.data(), 4, 1}, pic, x, 0, o);
    return px;
  };
  RenderOptions plain{PictureMode::Plain, 0, true, kMask};
  EXPECT_EQ(run(plain), (std::vector<std::uint32_t>{kFace, 0x00FF0000, 0x00808081, kFace}));
  RenderOptions noMask = plain;
  noMask.useMask = false;
  EXPECT_EQ(run(noMask)[0], kMask) << "without UseMaskColor the mask colour is drawn";

  RenderOptions dark{PictureMode::DarkSilhouette, 0x00000001, true, kMask};
  EXPECT_EQ(run(dark), (std::vector<std::uint32_t>{kFace, 1, kFace, kFace})) << "385 is too light";
  pic.pixels[2] = 0x00808080;  // sum 384: dark enough
  EXPECT_EQ(run(dark)[2], 1u);

  RenderOptions sil{PictureMode::Silhouette, 0x00000002, true, kMask};
  EXPECT_EQ(run(sil), (std::vector<std::uint32_t>{kFace, 2, 2, kFace}));

  // Grey of pure red: round(0.30 * 255) = round(76.5) = 76, halves to even.
  RenderOptions grey{PictureMode::Greyscale, 0, true, kMask};
  EXPECT_EQ(run(grey)[1], 0x004C4C4Cu);
  EXPECT_EQ(GreyLevel(0x00FFFFFF), 254);  // 150.45 + 76 + 28.05
  EXPECT_EQ(GreyLevel(0x0000FF00), 150);  // 0.59 * 255 = 150.45
  EXPECT_EQ(GreyLevel(0), 0);

  // Faded: (2 * picture + under) \ 3 per channel.
  RenderOptions faded{PictureMode::Faded, 0, true, kMask};
  EXPECT_EQ(run(faded)[1], (((2 * 255 + 0x10) / 3) << 16) | ((0x20 / 3) << 8) | (0x30 / 3));

  // Pixels past either edge are skipped.
  EXPECT_EQ(run(noMask, 2), (std::vector<std::uint32_t>{kFace, kFace, kMask, 0x00FF0000}));
  EXPECT_EQ(run(noMask, -2), (std::vector<std::uint32_t>{0x00808080, kFace, kFace, kFace}));
}

}  // namespace
}  // namespace vantorel::controls::vb::test
