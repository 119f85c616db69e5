// Pictures that must be refused before anything is written: damaged, cut
// short, sizes out of bounds, image data that inflates past its size.
#include <zlib.h>

#include "pictures/picture.h"
#include "picture_support.h"
#include "test_support.h"

namespace vantorel::engine::test {
namespace {

uint32_t Get32Be(const Bytes& b, size_t at) {
  return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 | b[at + 3];
}

Bytes Good() { return WritePng(Flat(16, 16, 6, 8, false, {9, 8, 7, 255})); }

// The PNG with its IHDR's width and height replaced (CRC kept right).
Bytes Declaring(uint32_t width, uint32_t height, Bytes png = Good()) {
  for (int i = 0; i < 4; ++i) {
    png[16 + i] = static_cast<uint8_t>(width >> (24 - 8 * i));
    png[20 + i] = static_cast<uint8_t>(height >> (24 - 8 * i));
  }
  uint32_t crc = static_cast<uint32_t>(crc32(0, png.data() + 12, 17));
  for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
  return png;
}

// A square RGBA picture (1 x 1: 5 bytes of image data) whose IDAT inflates to
// 16 MiB of zeros: a few kilobytes of file; `damaged`, its stream's check
// value at the very end is wrong.
Bytes Bomb(int side = 1, bool damaged = false) {
  PngLayout s = Flat(side, side, 6, 8, false, {0, 0, 0, 0});
  Bytes png = WritePng(s);
  Bytes zeros(16 << 20, 0);
  uLongf size = compressBound(static_cast<uLong>(zeros.size()));
  Bytes idat(size);
  compress2(idat.data(), &size, zeros.data(), static_cast<uLong>(zeros.size()), 9);
  idat.resize(size);
  if (damaged) idat.back() ^= 0xFF;
  Bytes out(png.begin(), png.begin() + 33);  // signature and IHDR
  Bytes chunk = {0, 0, 0, 0, 'I', 'D', 'A', 'T'};
  Put32(chunk, 0, 0);
  for (int i = 0; i < 4; ++i) chunk[i] = static_cast<uint8_t>(idat.size() >> (24 - 8 * i));
  chunk.insert(chunk.end(), idat.begin(), idat.end());
  uint32_t crc = static_cast<uint32_t>(crc32(0, chunk.data() + 4, static_cast<uInt>(idat.size() + 4)));
  for (int i = 0; i < 4; ++i) chunk.push_back(static_cast<uint8_t>(crc >> (24 - 8 * i)));
  out.insert(out.end(), chunk.begin(), chunk.end());
  out.insert(out.end(), png.end() - 12, png.end());  // IEND
  return out;
}

Bytes Flipped(size_t at) {
  Bytes png = Good();
  png[at] ^= 0x40;
  return png;
}

struct Hostile {
  const char* name;
  Bytes png;
  const char* why;  // part of the failure text
};

std::vector<Hostile> Cases() {
  Bytes good = Good();
  Bytes idat_data_crc_ok = good;
  // A byte of the compressed data changed, its CRC made right again: only
  // zlib's own checks find it.
  size_t idat = 33 + 8;
  idat_data_crc_ok[idat + 4] ^= 0xFF;
  uint32_t length = Get32(Bytes{good[36], good[35], good[34], good[33]}, 0);
  uint32_t crc = static_cast<uint32_t>(crc32(0, idat_data_crc_ok.data() + 37, length + 4));
  for (int i = 0; i < 4; ++i) idat_data_crc_ok[37 + 4 + length + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
  return {
      {"signature_only", Bytes(good.begin(), good.begin() + 8), "cannot be read"},
      {"cut_in_idat", Bytes(good.begin(), good.begin() + 50), "is cut short"},
      {"no_iend", Bytes(good.begin(), good.end() - 12), "is cut short: it ends before its IEND chunk"},
      {"crc_error_in_idat", Flipped(idat + 2), "has a damaged chunk IDAT: its CRC is wrong"},
      {"crc_error_in_ihdr", Flipped(20), "cannot be read"},
      {"crc_error_in_iend", Flipped(good.size() - 1), "has a damaged chunk IEND: its CRC is wrong"},
      {"damaged_deflate", idat_data_crc_ok, "holds damaged compressed image data"},
      {"zero_by_zero", Declaring(0, 0), "declares 0 x 0 pixels: it has no pixels"},
      {"zero_wide", Declaring(0, 16), "declares 0 x 16 pixels: it has no pixels"},
      {"huge", Declaring(100000, 100000), "declares 100000 x 100000 pixels, more than the 16777216 pixels"},
      {"over_the_pixel_count", Declaring(4097, 4096), "declares 4097 x 4096 pixels, more than"},
      {"over_a_side", Declaring(16385, 1), "declares 16385 x 1 pixels, more than"},
      // At the limit: let through to the structure check, which finds the data short.
      {"at_the_limit", Declaring(4096, 4096), "is cut short: its image data ends early"},
      {"bomb", Bomb(), "inflates to more image data than its size needs"},
      // Stopped as soon as it passes its size, long before the damage.
      {"bomb_damaged_at_its_end", Bomb(1, true), "inflates to more image data than its size needs"},
      // Large enough to be decoded while it is checked: the decoder, held to
      // what a sound file needs, runs out of memory; the check's reason is given.
      {"bomb_decoded_while_checked", Bomb(512), "inflates to more image data than its size needs"},
  };
}

TEST(HostilePictures, RefusedWithTheirReasonAndNothingMade) {
  for (const Hostile& c : Cases()) {
    Bytes ico;
    std::string failure;
    Warnings warnings;
    EXPECT_EQ(PictureIconFile(c.png, "bad.png", {}, ico, failure, warnings.sink()), kPictureUnreadable) << c.name;
    EXPECT_EQ(failure.rfind("the picture cannot be read: bad.png ", 0), 0u) << c.name << ": " << failure;
    EXPECT_NE(failure.find(c.why), std::string::npos) << c.name << ": " << failure;
    EXPECT_TRUE(ico.empty()) << c.name;
  }
}

// The PNG with its tRNS chunk cut to its first `keep` entries, or dropped.
Bytes CutTrns(Bytes png, uint32_t keep) {
  size_t at = 8;
  while (std::string(png.begin() + at + 4, png.begin() + at + 8) != "tRNS") at += Get32Be(png, at) + 12;
  uint32_t length = Get32Be(png, at);
  png.erase(png.begin() + at + 8 + keep, png.begin() + at + 12 + length);  // the rest, and the CRC
  if (keep == 0) {
    png.erase(png.begin() + at, png.begin() + at + 8);
    return png;
  }
  uint32_t crc = static_cast<uint32_t>(crc32(0, png.data() + at + 4, keep + 4));
  png.insert(png.begin() + at + 8 + keep, {uint8_t(crc >> 24), uint8_t(crc >> 16), uint8_t(crc >> 8), uint8_t(crc)});
  for (int i = 0; i < 4; ++i) png[at + i] = static_cast<uint8_t>(keep >> (24 - 8 * i));
  return png;
}

// A pixel may name an entry past the palette, which a PNG writer never does:
// it comes out black and wholly transparent, whatever the decoder's memory
// held, and the palette's own entries keep their colour and alpha. The last
// index given fills the rest of a picture large enough that its image data
// passes through the memory the decoder's palette table then takes.
TEST(HostilePictures, APixelNamingNoPaletteEntryIsTransparent) {
  const Rgba a{200, 10, 10, 255}, b{10, 200, 10, 128}, c{1, 2, 250, 255}, none{0, 0, 0, 0};
  struct Case {
    const char* name;
    uint8_t depth;
    std::vector<Rgba> palette;
    uint32_t trns;  // entries its tRNS keeps
    std::vector<uint16_t> indices;
    std::vector<Rgba> expected;
  } cases[] = {
      {"two of four", 2, {a, b}, 2, {0, 1, 3, 2}, {a, b, none, none}},
      {"no tRNS", 2, {a, b}, 0, {1, 2}, {{10, 200, 10, 255}, none}},
      {"a tRNS shorter than the palette", 2, {b, a, c}, 1, {0, 2, 3}, {b, c, none}},
      {"one of 256", 8, {a}, 1, {0, 200, 255}, {a, none, none}},
  };
  for (const Case& t : cases) {
    PngLayout layout{256, 256, 3, t.depth, false, t.indices, t.palette};
    layout.samples.resize(256 * 256, t.indices.back());
    Bytes png = CutTrns(WritePng(layout), t.trns);
    Picture picture;
    std::string why;
    ASSERT_EQ(DecodePicture(png, picture, why), 0) << t.name << ": " << why;
    for (size_t i : {size_t{0}, size_t{1}, t.expected.size() - 1, size_t{256 * 256 - 1}}) {
      const uint8_t* p = &picture.pixels[4 * i];
      EXPECT_EQ((Rgba{p[0], p[1], p[2], p[3]}), t.expected[std::min(i, t.expected.size() - 1)]) << t.name << ", " << i;
    }
  }
}

// A file larger than any picture may be is refused before it is read; one
// of the largest size allowed goes on to be read.
TEST(HostilePictures, FileSizeLimitIsABoundary) {
  EXPECT_EQ(FileSizeFault(kMaxPictureFileBytes), "");
  EXPECT_EQ(FileSizeFault(kMaxPictureFileBytes + 1), "is larger than 256 MiB, more than a picture may be");
}

// Given as the icon of a mode, or to MakeIconFile: the same failure, and
// neither the target nor any output file is touched.
TEST(HostilePictures, NoModeWritesAnything) {
  TempDir dir;
  BuiltPe pe = BuildPe(IconProgram({800, 800}));
  for (const Hostile& c : Cases()) {
    WriteFileBytes(dir / "bad.png", c.png);
    WriteFileBytes(dir / "app.exe", pe.bytes);
    std::string failure;
    AllSizesReport report;
    EXPECT_EQ(ChangeIconAllSizes(dir / "bad.png", dir / "app.exe", report, failure), kPictureUnreadable) << c.name;
    EXPECT_EQ(Change_Icon(dir / "bad.png", dir / "app.exe", failure), kPictureUnreadable) << c.name;
    EXPECT_EQ(failure.rfind("the picture cannot be read: ", 0), 0u) << failure;
    EXPECT_EQ(ReadFileBytes(dir / "app.exe"), pe.bytes) << c.name;
    EXPECT_EQ(MakeIconFile(dir / "bad.png", dir / "out.ico", {}, false, failure), kPictureUnreadable) << c.name;
    EXPECT_FALSE(std::filesystem::exists(dir / "out.ico")) << c.name;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2) << "no temporary file left";
}

}  // namespace
}  // namespace vantorel::engine::test
