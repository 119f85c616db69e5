// The program's resources as the build makes them: the icon's ten images, the
// hand pointer, the version record and the application manifest.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "vantorel/version.h"

namespace vantorel::app::test {
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

// vantorel.exe itself, its resources loaded as data.
class ProgramFile : public ::testing::Test {
 protected:
  static std::wstring Path() {
    std::wstring path = L"Z:";
    for (const char* p = VANTOREL_EXE; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return path;
  }

  void SetUp() override {
    module_ = LoadLibraryExW(Path().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module_, nullptr) << VANTOREL_EXE;
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }

  std::string ResourceText(LPCWSTR type, LPCWSTR name) {
    HRSRC found = FindResourceW(module_, name, type);
    if (!found) return {};
    auto* bytes = static_cast<const char*>(LockResource(LoadResource(module_, found)));
    return bytes ? std::string(bytes, SizeofResource(module_, found)) : std::string();
  }

  HMODULE module_ = nullptr;
};

// The system reads the manifest with the program's first resource of type 24
// and number 1; a manifest it cannot parse stops the program from starting.
TEST_F(ProgramFile, ManifestAsksForSystemDpiAwarenessAndNamesTheSupportedSystems) {
  std::string manifest = ResourceText(MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1));
  ASSERT_FALSE(manifest.empty()) << "no manifest";

  // Parsed by the system's own loader: the settings as it sees them.
  std::wstring path = Path();
  ACTCTXW request{};
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = path.c_str();
  request.lpResourceName = MAKEINTRESOURCEW(1);
  HANDLE context = CreateActCtxW(&request);
  ASSERT_NE(context, INVALID_HANDLE_VALUE) << "the system rejects the manifest: " << GetLastError();
  auto setting = [&](const wchar_t* space, const wchar_t* name) {
    wchar_t value[64]{};
    SIZE_T written = 0;
    if (!QueryActCtxSettingsW(0, context, space, name, value, 64, &written)) return std::wstring(L"(none)");
    return std::wstring(value);
  };
  // dpiAware for Windows Vista to 10 1511, dpiAwareness for later ones, each
  // in the namespace of the release that brought it.
  EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"), L"true");
  EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"), L"system");
  ReleaseActCtx(context);

  // Windows Vista, 7, 8, 8.1, and 10 and 11: the identifiers the system
  // compares in the compatibility section.
  EXPECT_NE(manifest.find("<compatibility xmlns=\"urn:schemas-microsoft-com:compatibility.v1\">"), std::string::npos);
  for (const char* id : {"e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                         "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
                         "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"}) {
    EXPECT_NE(manifest.find("<supportedOS Id=\"{" + std::string(id) + "}\"/>"), std::string::npos) << id;
  }
  EXPECT_NE(manifest.find("version=\"" VANTOREL_VERSION ".0\""), std::string::npos) << "the project's version";
  EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\""), std::string::npos);
}

// The version record carries the project's one version number.
TEST_F(ProgramFile, VersionRecordCarriesTheProjectVersion) {
  std::wstring path = Path();
  DWORD ignored = 0;
  std::vector<BYTE> record(GetFileVersionInfoSizeW(path.c_str(), &ignored));
  ASSERT_FALSE(record.empty());
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(record.size()), record.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
  EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(VANTOREL_VERSION_MAJOR << 16 | VANTOREL_VERSION_MINOR));
  EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(VANTOREL_VERSION_PATCH << 16));
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  auto text = [&](const wchar_t* name) {
    wchar_t* value = nullptr;
    UINT length = 0;
    std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(record.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) return std::wstring();
    return std::wstring(value);
  };
  EXPECT_EQ(text(L"ProductVersion"), L"" VANTOREL_VERSION);
  EXPECT_EQ(text(L"FileVersion"), L"" VANTOREL_VERSION L".0");
  EXPECT_EQ(text(L"ProductName"), L"Vantorel");
}

}  // namespace
}  // namespace vantorel::app::test
