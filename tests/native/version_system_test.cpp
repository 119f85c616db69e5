// What the system itself reads from a changed program: every version string
// of every table and the fixed numbers through GetFileVersionInfoW and
// VerQueryValueW, and the manifest through FindResourceW. Windows build only,
// run under Wine.
#include <windows.h>

#include "add_sizes_support.h"
#include "test_support.h"
#include "vantorel/program_resources.h"

namespace vantorel::engine::test {
namespace {

std::wstring Wide(const std::string& utf8) {
  std::wstring w(utf8.size(), L'\0');
  w.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(),
                                                   static_cast<int>(w.size()))));
  return w;
}

// The system's view of the program's version resource.
struct SystemVersion {
  std::vector<BYTE> block;
  std::wstring Value(const std::wstring& table, const std::wstring& key) {
    LPVOID value = nullptr;
    UINT length = 0;
    std::wstring path = L"\\StringFileInfo\\" + table + L"\\" + key;
    if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || !value) return L"(none)";
    return std::wstring(static_cast<const wchar_t*>(value));
  }
  std::string FileVersion() {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<LPVOID*>(&fixed), &length) || !fixed) return "(none)";
    char text[64];
    std::snprintf(text, sizeof text, "%lu.%lu.%lu.%lu", fixed->dwFileVersionMS >> 16, fixed->dwFileVersionMS & 0xFFFF,
                  fixed->dwFileVersionLS >> 16, fixed->dwFileVersionLS & 0xFFFF);
    return text;
  }
};

bool ReadSystemVersion(const std::filesystem::path& program, SystemVersion& v) {
  DWORD handle = 0, size = GetFileVersionInfoSizeW(program.c_str(), &handle);
  v.block.assign(size, 0);
  return size && GetFileVersionInfoW(program.c_str(), 0, size, v.block.data());
}

// The manifest the loader would take, as text.
std::string SystemManifest(const std::filesystem::path& program) {
  HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return "(not loaded)";
  std::string text = "(none)";
  if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
    const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
    text.assign(data, SizeofResource(module, found));
  }
  FreeLibrary(module);
  return text;
}

TEST(SystemReadsBack, EveryStringTheFixedNumberAndTheLevel) {
  struct Case {
    const char* what;
    bool add_sizes;
    std::string value;
  } cases[] = {
      {"a program without a version resource or manifest", false, "Vantorel Ltd"},
      {"with --add-sizes as one change", true, "Ünïcode ✓"},
      {"a long value", false, std::string(2000, 'v')},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const auto program = dir / "app.exe";
    WriteFileBytes(program, BuildPe(IconProgram({744})).bytes);
    WriteFileBytes(dir / "new.ico", IconFile({{32, 32, 16, 1, 4, Bytes(744, 7)}}));
    ResourceEdit edit;
    edit.version_strings = {{"CompanyName", c.value}, {"Comments", "second"}};
    std::string why;
    edit.file_version.emplace();
    ASSERT_TRUE(ParseVersionNumber("2.3.4.5", *edit.file_version, why));
    edit.execution_level = "requireAdministrator";
    ResourceEditReport report;
    IconChangeReport icons;
    const int32_t result =
        c.add_sizes ? ChangeIconAndResources(dir / "new.ico", IconMode::kAddSizes, program, edit, icons, report, why)
                    : EditProgramResources(program, edit, report, why);
    ASSERT_EQ(result, kSuccess) << c.what << ": " << why;
    // A second run changes the string the first added, in every table.
    edit = {};
    edit.version_strings = {{"Comments", "changed"}};
    ASSERT_EQ(EditProgramResources(program, edit, report, why), kSuccess) << c.what << ": " << why;

    SystemVersion v;
    ASSERT_TRUE(ReadSystemVersion(program, v)) << c.what;
    EXPECT_EQ(v.Value(L"000004b0", L"CompanyName"), Wide(c.value)) << c.what;
    EXPECT_EQ(v.Value(L"000004b0", L"Comments"), L"changed") << c.what;
    EXPECT_EQ(v.Value(L"000004b0", L"FileVersion"), L"2.3.4.5") << c.what;
    EXPECT_EQ(v.FileVersion(), "2.3.4.5") << c.what;
    EXPECT_NE(SystemManifest(program).find("level=\"requireAdministrator\""), std::string::npos) << c.what;
  }
}

}  // namespace
}  // namespace vantorel::engine::test
