// The program's resources as the build makes them: the icon's ten images and
// the hand pointer.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <tuple>
#include <vector>

namespace vantorel::test {
namespace {

HMODULE Self() { return GetModuleHandleW(nullptr); }

const BYTE* Resource(LPCWSTR type, LPCWSTR name, DWORD* size) {
  HRSRC found = FindResourceW(Self(), name, type);
  if (!found) return nullptr;
  *size = SizeofResource(Self(), found);
  return static_cast<const BYTE*>(LockResource(LoadResource(Self(), found)));
}

TEST(Resources, ProgramIconHoldsTenImages) {
  DWORD size = 0;
  const BYTE* group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(1), &size);
  ASSERT_NE(group, nullptr);
  int count = group[4] | group[5] << 8;
  ASSERT_EQ(count, 10);
  ASSERT_EQ(size, 6u + 14u * 10u);
  std::set<std::tuple<int, int>> seen;  // (pixels, bits)
  for (int i = 0; i < count; ++i) {
    const BYTE* e = group + 6 + 14 * i;
    int width = e[0] ? e[0] : 256, height = e[1] ? e[1] : 256;
    EXPECT_EQ(width, height);
    seen.emplace(width, e[6] | e[7] << 8);
  }
  std::set<std::tuple<int, int>> want;
  for (int px : {48, 32, 16}) {
    for (int bits : {4, 8, 32}) want.emplace(px, bits);
  }
  want.emplace(256, 32);
  EXPECT_EQ(seen, want);
  for (int px : {16, 32, 48, 256}) {
    HICON icon = static_cast<HICON>(LoadImageW(Self(), MAKEINTRESOURCEW(1), IMAGE_ICON, px, px, 0));
    EXPECT_NE(icon, nullptr) << px;
    if (icon) DestroyIcon(icon);
  }
}

// Rows of the cursor, top first: 'W' white, 'K' black, '.' see-through.
std::vector<std::string> CursorRows(const BYTE* image) {
  int width = *reinterpret_cast<const LONG*>(image + 4);
  const BYTE* xor_bits = image + 40 + 8;
  const BYTE* and_bits = xor_bits + width / 8 * width;
  std::vector<std::string> rows(width, std::string(width, '.'));
  for (int y = 0; y < width; ++y) {
    int row = width - 1 - y;  // bottom-up
    for (int x = 0; x < width; ++x) {
      bool x_on = xor_bits[row * 4 + x / 8] & (0x80 >> (x % 8));
      bool a_on = and_bits[row * 4 + x / 8] & (0x80 >> (x % 8));
      rows[y][x] = a_on ? (x_on ? '?' : '.') : (x_on ? 'W' : 'K');
    }
  }
  return rows;
}

TEST(Resources, HandCursorIsTwoColoursWithItsHotSpotAtTheCorner) {
  HCURSOR cursor = LoadCursorW(Self(), MAKEINTRESOURCEW(101));
  ASSERT_NE(cursor, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(cursor, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 0u);
  EXPECT_EQ(info.yHotspot, 0u);
  BITMAP mask{};
  GetObjectW(info.hbmMask, sizeof mask, &mask);
  EXPECT_EQ(mask.bmWidth, 32);
  EXPECT_EQ(mask.bmHeight, 64) << "a two-colour cursor keeps its image in the mask";
  EXPECT_EQ(info.hbmColor, nullptr);
  DeleteObject(info.hbmMask);

  // The same cursor as file bytes, which the buttons' stored pointer holds.
  DWORD size = 0;
  const BYTE* file = Resource(RT_RCDATA, MAKEINTRESOURCEW(102), &size);
  ASSERT_NE(file, nullptr);
  ASSERT_GE(size, 22u + 40u + 8u + 256u);
  EXPECT_EQ(file[2], 2);  // a cursor file
  EXPECT_EQ(file[6], 32);
  EXPECT_EQ(file[7], 32);
  EXPECT_EQ(file[10] | file[11] << 8, 0);  // hot spot x
  EXPECT_EQ(file[12] | file[13] << 8, 0);  // hot spot y
  std::vector<std::string> rows = CursorRows(file + 22);
  // A white hand with a black outline; its index finger points up, its tip at
  // about column 6 of the top row.
  EXPECT_EQ(rows[0].find_first_not_of('.'), 5u) << rows[0];
  EXPECT_EQ(rows[0].find_last_not_of('.'), 7u) << rows[0];
  EXPECT_EQ(rows[0].substr(5, 3), "KKK");
  EXPECT_EQ(rows[5].substr(4, 5), "KWWWK");
  size_t white = 0, unknown = 0;
  for (const std::string& r : rows) {
    white += std::count(r.begin(), r.end(), 'W');
    unknown += std::count(r.begin(), r.end(), '?');
  }
  EXPECT_GT(white, 150u);
  EXPECT_EQ(unknown, 0u);
}

}  // namespace
}  // namespace vantorel::test
