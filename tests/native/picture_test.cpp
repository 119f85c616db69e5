// A PNG picture made into an icon: every colour type, the pixels of every
// size against the picture, and the picture taken where an icon file is.
#include <cmath>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#endif

#include "all_sizes_support.h"
#include "pictures/picture.h"
#include "picture_support.h"

namespace vantorel::engine::test {
namespace {

Bytes Made(const Bytes& png, const std::vector<int>& sizes = {}, Warnings* warnings = nullptr) {
  Bytes ico;
  std::string failure;
  EXPECT_EQ(PictureIconFile(png, "logo.png", sizes, ico, failure, warnings ? warnings->sink() : WarningSink{}), 0)
      << failure;
  return ico;
}

// Where a picture of width x height lands in a square of `size`: the longer
// side fills it, the other keeps the proportion, centred.
struct Placed {
  int x, y, width, height;
  bool Inside(int px, int py) const { return px >= x && px < x + width && py >= y && py < y + height; }
};
Placed Place(int width, int height, int size) {
  int longer = std::max(width, height);
  int w = static_cast<int>(std::lround(double(width) * size / longer));
  int h = static_cast<int>(std::lround(double(height) * size / longer));
  return {(size - w) / 2, (size - h) / 2, w, h};
}

struct ColourCase {
  const char* name;
  uint8_t colour_type, depth;
  bool interlaced;
  Rgba colour;  // what the picture shows, as 8-bit RGBA
  int width = 40, height = 30;
};

class EveryColourType : public ::testing::TestWithParam<ColourCase> {};

// A flat colour stays that colour at every size, the picture (40 x 30 unless
// the case says) centred on transparency; the images are the standard sizes,
// smallest first, the 256 one a PNG, the others DIBs.
TEST_P(EveryColourType, FlatColourAtEverySizeCentred) {
  const ColourCase& c = GetParam();
  Bytes ico = Made(WritePng(Flat(c.width, c.height, c.colour_type, c.depth, c.interlaced, c.colour)));
  std::vector<ReadImage> images = ReadIcon(ico);
  const std::vector<int> sizes = {16, 20, 24, 32, 40, 48, 64, 256};
  ASSERT_EQ(images.size(), sizes.size());
  for (size_t i = 0; i < sizes.size(); ++i) {
    const ReadImage& image = images[i];
    int size = sizes[i];
    ASSERT_EQ(image.width, size);
    EXPECT_EQ(image.bits, 32);
    EXPECT_EQ(image.png, size == 256);
    Placed placed = Place(c.width, c.height, size);
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        Rgba got = image.pixels[static_cast<size_t>(y * size + x)];
        Rgba want = placed.Inside(x, y) ? c.colour : Rgba{0, 0, 0, 0};
        ASSERT_EQ(got, want) << size << " px, at " << x << "," << y;
        if (!image.png) {
          ASSERT_EQ(image.mask[static_cast<size_t>(y * size + x)], want[3] == 0);
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, EveryColourType,
    ::testing::Values(ColourCase{"rgba8", 6, 8, false, {200, 100, 50, 255}},
                      ColourCase{"rgba8_half_alpha", 6, 8, false, {200, 100, 50, 128}},
                      ColourCase{"rgba16", 6, 16, false, {17, 230, 99, 200}},
                      ColourCase{"rgb8", 2, 8, false, {1, 128, 254, 255}},
                      ColourCase{"rgb16_interlaced", 2, 16, true, {90, 45, 180, 255}},
                      ColourCase{"grey1", 0, 1, false, {255, 255, 255, 255}},
                      ColourCase{"grey4_interlaced", 0, 4, true, {0, 0, 0, 255}},
                      ColourCase{"grey8", 0, 8, false, {77, 77, 77, 255}},
                      ColourCase{"grey16", 0, 16, false, {180, 180, 180, 255}},
                      ColourCase{"grey_alpha8", 4, 8, false, {60, 60, 60, 90}},
                      ColourCase{"grey_alpha16_interlaced", 4, 16, true, {240, 240, 240, 250}},
                      ColourCase{"palette8", 3, 8, false, {10, 200, 30, 255}},
                      ColourCase{"palette2_transparent", 3, 2, false, {250, 20, 20, 64}},
                      ColourCase{"palette4_interlaced", 3, 4, true, {33, 66, 99, 255}},
                      ColourCase{"rgba8_interlaced", 6, 8, true, {5, 6, 7, 255}},
                      // Large enough for the small sizes to be filtered from box-reduced copies; sides that
                      // leave the last box of each reduction part-filled.
                      ColourCase{"rgba8_half_alpha_reduced", 6, 8, false, {200, 100, 50, 128}, 1001, 667},
                      ColourCase{"rgba8_thin_reduced", 6, 8, false, {200, 100, 50, 128}, 3001, 101}),
    [](const auto& p) { return std::string(p.param.name); });

// Opaque red beside transparent black: with the colours weighted by alpha,
// no pixel of the edge takes in the black, at any size down or up. A plain
// filter of straight RGBA would darken it.
TEST(PictureResampling, OpaqueEdgeOnTransparencyHasNoDarkFringe) {
  for (int side : {64, 10, 301}) {
    std::vector<Rgba> pixels;
    for (int y = 0; y < side; ++y) {
      for (int x = 0; x < side; ++x) pixels.push_back(x < side / 2 ? Rgba{255, 0, 0, 255} : Rgba{0, 0, 0, 0});
    }
    for (const ReadImage& image : ReadIcon(Made(StbPng(side, side, pixels)))) {
      bool partial = false;
      for (const Rgba& p : image.pixels) {
        if (p[3] == 0) continue;
        partial |= p[3] < 255;
        ASSERT_EQ(p, (Rgba{255, 0, 0, p[3]})) << image.width << " px from " << side;
      }
      EXPECT_TRUE(partial || image.width % 2 == 0) << "an edge is there to fringe";
    }
  }
}

// A 1-pixel checkerboard of black and white is half the light: scaled down,
// it shows the sRGB code of 0.5 linear (about 188), not the average of the
// codes (127.5) that filtering code values would give. A cubic filter leaves
// a trace of the pattern (its taps on odd and even pixels do not weigh quite
// alike): a few codes, far from 60.
TEST(PictureResampling, CheckerboardAveragesInLinearLight) {
  std::vector<Rgba> pixels;
  for (int y = 0; y < 128; ++y) {
    for (int x = 0; x < 128; ++x) {
      uint8_t v = (x + y) % 2 ? 255 : 0;
      pixels.push_back({v, v, v, 255});
    }
  }
  double want = SrgbCode(0.5);
  for (const ReadImage& image : ReadIcon(Made(StbPng(128, 128, pixels), {16, 24, 32, 48, 64}))) {
    for (const Rgba& p : image.pixels) {
      ASSERT_NEAR(p[0], want, 4) << image.width << " px";
      ASSERT_EQ(p[0], p[1]);
      ASSERT_EQ(p[3], 255);
    }
  }
}

// The sizes asked for, sorted and each once; the picture smaller than some
// of them is scaled up with one note naming those sizes.
TEST(PictureSizes, AskedSizesSmallestFirstAndScalingUpNoted) {
  struct Case {
    int side;
    std::vector<int> asked, made;
    const char* note;  // empty: no note
  } cases[] = {
      {100, {48, 16, 256, 16}, {16, 48, 256}, "logo.png is 100 x 100 pixels, smaller than the icon's 256-pixel image, "
                                              "which is scaled up from it and may look soft."},
      {10, {}, {16, 20, 24, 32, 40, 48, 64, 256}, "the icon's 16, 20, 24, 32, 40, 48, 64, 256-pixel images, which are"},
      {300, {}, {16, 20, 24, 32, 40, 48, 64, 256}, ""},
      {7, {7, 1}, {1, 7}, ""},
  };
  for (const Case& c : cases) {
    Warnings warnings;
    std::vector<ReadImage> images =
        ReadIcon(Made(WritePng(Flat(c.side, c.side, 6, 8, false, {1, 2, 3, 255})), c.asked, &warnings));
    std::vector<int> made;
    for (const ReadImage& image : images) made.push_back(image.width);
    EXPECT_EQ(made, c.made) << c.side;
    if (*c.note == 0) {
      EXPECT_TRUE(warnings.seen.empty()) << c.side;
    } else {
      ASSERT_EQ(warnings.seen.size(), 1u) << c.side;
      EXPECT_NE(warnings.seen[0].second.find(c.note), std::string::npos) << warnings.seen[0].second;
    }
  }
  for (int wrong : {0, 257, -16}) {
    Bytes ico;
    std::string failure;
    EXPECT_EQ(PictureIconFile(WritePng(Flat(8, 8, 6, 8, false, {1, 2, 3, 255})), "logo.png", {16, wrong}, ico,
                              failure, {}),
              kSubscriptOutOfRange);
    EXPECT_TRUE(ico.empty());
  }
}

// A DIB's rows are bottom-up, its height counts the mask too, and each mask
// row is padded to 32 bits: sizes that are not a multiple of 32 show it.
TEST(PictureImages, DibLayoutAndMask) {
  std::vector<Rgba> pixels(24 * 24, Rgba{0, 0, 0, 0});
  pixels[0] = {10, 20, 30, 255};          // top left
  pixels[24 * 24 - 1] = {40, 50, 60, 255};  // bottom right
  Bytes ico = Made(StbPng(24, 24, pixels), {24});
  ASSERT_EQ(Get16(ico, 4), 1);
  const uint8_t* dib = ico.data() + Get32(ico, 18);
  EXPECT_EQ(Get32(ico, 14), 40u + 24 * 24 * 4 + 24 * 4) << "header, colour, mask rows of 4 bytes";
  Bytes header(dib, dib + 40);
  EXPECT_EQ(Get32(header, 0), 40u);
  EXPECT_EQ(Get32(header, 4), 24u);
  EXPECT_EQ(Get32(header, 8), 48u);
  EXPECT_EQ(Get16(header, 12), 1);
  EXPECT_EQ(Get16(header, 14), 32);
  EXPECT_EQ(Get32(header, 16), 0u) << "BI_RGB";
  // The first stored row is the bottom one: its last pixel is the picture's bottom right, BGRA.
  const uint8_t* bottom_right = dib + 40 + 23 * 4;
  EXPECT_EQ((Rgba{bottom_right[0], bottom_right[1], bottom_right[2], bottom_right[3]}), (Rgba{60, 50, 40, 255}));
  const uint8_t* mask = dib + 40 + 24 * 24 * 4;
  EXPECT_EQ(mask[0], 0xFF) << "bottom row: transparent but its last pixel";
  EXPECT_EQ(mask[2], 0xFE);
  EXPECT_EQ(mask[23 * 4], 0x7F) << "top row: its first pixel is opaque";
}

// Every mode takes the picture where it takes an icon file: --all-sizes
// gives each icon the image of its size, the same bytes MakeIconFile writes.
TEST(PictureAsIcon, EveryModeTakesAPictureForItsIcon) {
  TempDir dir;
  Bytes png = WritePng(Flat(64, 64, 6, 8, false, {10, 20, 30, 255}));
  WriteFileBytes(dir / "logo.ico", png);  // a picture by its signature, whatever its name
  WriteFileBytes(dir / "real.png", IconFile({Image(744, 3, 48)}));
  EXPECT_TRUE(IsPictureFile(dir / "logo.ico"));
  EXPECT_FALSE(IsPictureFile(dir / "real.png"));
  EXPECT_FALSE(IsPictureFile(dir / "missing.png"));

  std::string failure;
  ASSERT_EQ(MakeIconFile(dir / "logo.ico", dir / "made.ico", {}, false, failure), 0) << failure;
  std::vector<IconImage> made = Images(ReadFileBytes(dir / "made.ico"));
  ASSERT_EQ(made.size(), 8u);

  PeOptions o;
  for (uint16_t id = 1; id <= 4; ++id) o.resources.push_back({3, id, 1033, Bytes(20000, uint8_t(id))});
  o.resources.push_back({14, 1, 1033, SizedGroup({{16, 32, 1}, {32, 32, 2}, {48, 32, 3}, {0, 32, 4}})});
  BuiltPe pe = BuildPe(o);
  WriteFileBytes(dir / "app.exe", pe.bytes);
  AllSizesReport report;
  ASSERT_EQ(ChangeIconAllSizes(dir / "logo.ico", dir / "app.exe", report, failure), 0) << failure;
  const size_t wanted[] = {0, 3, 5, 7};  // 16, 32, 48 and 256 among the made images
  ASSERT_EQ(report.icons.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(report.icons[i].image, int(wanted[i]) + 1);
    Bytes after = ReadFileBytes(dir / "app.exe");
    const Bytes& image = made[wanted[i]].bytes;
    EXPECT_TRUE(std::equal(image.begin(), image.end(), after.begin() + report.icons[i].file_offset));
  }
  // --add-sizes gives the group the sizes it lacks too: all eight.
  WriteFileBytes(dir / "app.exe", pe.bytes);
  AddSizesReport added;
  ASSERT_EQ(ChangeIconAddSizes(dir / "logo.ico", dir / "app.exe", added, failure), 0) << failure;
  EXPECT_EQ(added.icons.size() + added.added.size(), 8u);
  // Change_Icon, the window's mode, has no first image to take from a
  // picture: each icon gets its own size, as with --all-sizes.
  WriteFileBytes(dir / "app.exe", pe.bytes);
  ASSERT_EQ(ChangeIconAllSizes(dir / "logo.ico", dir / "app.exe", report, failure), 0) << failure;
  Bytes all_sizes = ReadFileBytes(dir / "app.exe");
  WriteFileBytes(dir / "app.exe", pe.bytes);
  ASSERT_EQ(Change_Icon(dir / "logo.ico", dir / "app.exe", failure), 0) << failure;
  EXPECT_EQ(ReadFileBytes(dir / "app.exe"), all_sizes);
}

TEST(PictureAsIcon, MakeIconFileKeepsWhatIsThere) {
  TempDir dir;
  WriteFileBytes(dir / "logo.png", WritePng(Flat(20, 20, 2, 8, false, {1, 2, 3, 255})));
  WriteFileBytes(dir / "out.ico", Bytes(5, 'x'));
  std::string failure;
  EXPECT_EQ(MakeIconFile(dir / "logo.png", dir / "out.ico", {16}, false, failure), kOutputExists);
  EXPECT_EQ(ReadFileBytes(dir / "out.ico"), Bytes(5, 'x'));
  ASSERT_EQ(MakeIconFile(dir / "logo.png", dir / "out.ico", {16}, true, failure), 0) << failure;
  EXPECT_EQ(ReadIcon(ReadFileBytes(dir / "out.ico")).size(), 1u);
  EXPECT_EQ(MakeIconFile(dir / "logo.png", dir / "logo.png", {16}, true, failure), kOutputFailed);
  EXPECT_EQ(ReadIcon(ReadFileBytes(dir / "out.ico")).size(), 1u);
  EXPECT_TRUE(IsPictureFile(dir / "logo.png")) << "the picture is kept";
  EXPECT_EQ(MakeIconFile(dir / "out.ico", dir / "other.ico", {}, false, failure), kPictureUnreadable);
  EXPECT_EQ(failure.rfind("the picture cannot be read: ", 0), 0u) << failure;
  EXPECT_EQ(MakeIconFile(dir / "missing.png", dir / "other.ico", {}, false, failure), kOpenFailed);
  EXPECT_FALSE(std::filesystem::exists(dir / "other.ico"));
}

#ifndef _WIN32
// icoutils reads the made icon file as the icon files it knows.
TEST(PictureAsIcon, IcotoolListsEveryImage) {
  TempDir dir;
  WriteFileBytes(dir / "logo.png", WritePng(Flat(300, 200, 6, 8, false, {1, 2, 3, 200})));
  std::string failure;
  ASSERT_EQ(MakeIconFile(dir / "logo.png", dir / "made.ico", {}, false, failure), 0) << failure;
  std::FILE* list = popen(("icotool -l '" + (dir / "made.ico").string() + "' 2>&1").c_str(), "r");
  ASSERT_NE(list, nullptr);
  std::string out;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, list)) out += buffer;
  ASSERT_EQ(pclose(list), 0) << out;
  std::string want;
  int index = 1;
  for (int size : {16, 20, 24, 32, 40, 48, 64, 256}) {
    want += "--icon --index=" + std::to_string(index++) + " --width=" + std::to_string(size) + " --height=" +
            std::to_string(size) + " --bit-depth=32 --palette-size=0\n";
  }
  EXPECT_EQ(out, want);
}
#endif

#ifdef _WIN32
// The system's own loader reads every image of the made icon file, and draws
// each as its pixels say: alpha-blended over the background.
TEST(PictureAsIcon, SystemDrawsEverySizeAsTheFileHoldsIt) {
  TempDir dir;
  std::vector<Rgba> pixels;
  for (int y = 0; y < 96; ++y) {
    for (int x = 0; x < 96; ++x) pixels.push_back({uint8_t(x * 2), uint8_t(y * 2), 90, uint8_t(x < 48 ? 255 : y * 2)});
  }
  Bytes ico = Made(StbPng(96, 96, pixels));
  WriteFileBytes(dir / "made.ico", ico);
  const Rgba background = {40, 140, 220, 255};
  for (const ReadImage& image : ReadIcon(ico)) {
    int size = image.width;
    HICON icon = static_cast<HICON>(LoadImageW(nullptr, (dir / "made.ico").wstring().c_str(), IMAGE_ICON, size, size,
                                               LR_LOADFROMFILE));
    ASSERT_NE(icon, nullptr) << size;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    auto* px = static_cast<uint8_t*>(bits);
    for (int i = 0; i < size * size; ++i) {
      px[4 * i] = background[2];
      px[4 * i + 1] = background[1];
      px[4 * i + 2] = background[0];
    }
    EXPECT_TRUE(DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL));
    GdiFlush();
    for (int i = 0; i < size * size; ++i) {
      const Rgba& p = image.pixels[static_cast<size_t>(i)];
      for (int c = 0; c < 3; ++c) {
        double want = (p[c] * p[3] + background[c] * (255.0 - p[3])) / 255;
        ASSERT_NEAR(px[4 * i + 2 - c], want, 2) << size << " px, pixel " << i << ", channel " << c;
      }
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    DestroyIcon(icon);
  }
}
#endif

}  // namespace
}  // namespace vantorel::engine::test
