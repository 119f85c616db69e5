// The Replace command as the window runs it: the backup, the engine, and every
// message the user reads.
#include <gtest/gtest.h>

#include "../../native/pe_builder.h"
#include "../../native/picture_support.h"
#include "app_test_support.h"
#include "errors/system_message.h"
#include "text.h"
#include "vantorel/engine.h"

namespace vantorel::app::test {
namespace {

namespace fs = std::filesystem;
using namespace vantorel::engine;
// Targets are made by the engine tests' builder.
using namespace vantorel::engine::test;

constexpr UINT kInfo = MB_OK | MB_ICONINFORMATION;
constexpr UINT kError = MB_OK | MB_ICONERROR;
constexpr UINT kWarning = MB_OK | MB_ICONEXCLAMATION;

class ReplaceTest : public SharedFormTest {
 protected:
  void SetUp() override {
    ASSERT_NE(form().hwnd(), nullptr);
    original_ = BuildPe(IconProgram({200, 200})).bytes;
    WriteFileBytes(target_, original_);
    WriteFileBytes(icon_, IconFile({Image(120, 7, 16)}));
  }

  void Fill(const fs::path& target, const fs::path& icon, bool backup) {
    SetText(kTFile1, target.wstring());
    SetText(kTFile2, icon.wstring());
    SendMessageW(Control(kCheck1), BM_SETCHECK, backup ? BST_CHECKED : BST_UNCHECKED, 0);
  }

  void PressReplace() { Click(kCmdReplace); }

  std::vector<fs::path> Files() {
    std::vector<fs::path> names;
    for (const auto& e : fs::directory_iterator(dir_.path())) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  // The fixed sentences, then the system's reason on a line of its own.
  void ExpectBackupFailure(const fs::path& backup) {
    const std::wstring fixed = L"Error: Change Icon Failed.\r\nCould not create the backup file " + backup.wstring() +
                               L". The target was not changed.\r\n";
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text.rfind(fixed, 0), 0u) << Narrow(ui.shown[0].text);
    EXPECT_GT(ui.shown[0].text.size(), fixed.size()) << "the reason follows";
    EXPECT_EQ(ui.shown[0].type, kError);
  }

  void ExpectOneMessage(const std::wstring& text, UINT type) {
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, text);
    EXPECT_EQ(ui.shown[0].caption, L"Vantorel");
    EXPECT_EQ(ui.shown[0].type, type);
    EXPECT_EQ(ui.shown[0].owner, form().hwnd());
  }

  TempDir dir_;
  // Names outside any one code page: the window passes UTF-16 all the way.
  fs::path target_ = dir_.path() / fs::path(L"Prögram \u0416\u4E2D.exe");
  fs::path icon_ = dir_.path() / fs::path(L"Sonne \u263C.ico");
  fs::path backup_ = BackupPath(target_);
  Bytes original_;
};

TEST_F(ReplaceTest, FirstReplaceMakesTheBackupThenChangesTheTarget) {
  Fill(target_, icon_, true);
  PressReplace();
  ExpectOneMessage(L"Change Icon Succesfully", kInfo);
  EXPECT_EQ(ReadFileBytes(backup_), original_);
  EXPECT_NE(ReadFileBytes(target_), original_);
  EXPECT_EQ(ReadFileBytes(target_).size(), original_.size());
  ASSERT_EQ(ui.changed.size(), 1u);
  EXPECT_EQ(ui.changed[0], target_);
  // The fields, the box and the button stay as they were.
  EXPECT_EQ(Text(kTFile1), target_.wstring());
  EXPECT_EQ(SendMessageW(Control(kCheck1), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(IsWindowEnabled(Control(kCmdReplace)));
}

TEST_F(ReplaceTest, AnExistingBackupIsNeverOverwritten) {
  Fill(target_, icon_, true);
  PressReplace();
  Bytes changed = ReadFileBytes(target_);
  // Second press: the backup still holds the target as it was before the first.
  PressReplace();
  EXPECT_EQ(ReadFileBytes(backup_), original_);
  EXPECT_EQ(ReadFileBytes(target_), changed);
  ASSERT_EQ(ui.shown.size(), 2u);
  EXPECT_EQ(ui.shown[1].text, L"Change Icon Succesfully");

  // A file of that name from elsewhere is kept as well, and the replacement runs.
  WriteFileBytes(target_, original_);
  WriteFileBytes(backup_, Bytes{'m', 'i', 'n', 'e'});
  PressReplace();
  EXPECT_EQ(ReadFileBytes(backup_), (Bytes{'m', 'i', 'n', 'e'}));
  EXPECT_EQ(ReadFileBytes(target_), changed);
}

// A picture typed into the icon field is an icon of every size: each icon
// gets the image of its own, and the group entries describe them.
TEST_F(ReplaceTest, APictureGivesEachIconItsOwnSize) {
  PeOptions o;
  for (uint16_t id = 1; id <= 3; ++id) o.resources.push_back({3, id, 1033, Bytes(12000, uint8_t(id))});
  o.resources.push_back({14, 1, 1033, SizedGroup({{16, 32, 1}, {32, 32, 2}, {48, 32, 3}})});
  BuiltPe pe = BuildPe(o);
  WriteFileBytes(target_, pe.bytes);
  fs::path picture = dir_.path() / L"Logo.png";
  WriteFileBytes(picture, WritePng(Flat(300, 200, 6, 8, false, {30, 60, 90, 255})));
  Fill(target_, picture, false);
  PressReplace();
  ExpectOneMessage(L"Change Icon Succesfully", kInfo);
  Bytes after = ReadFileBytes(target_);
  std::vector<int> sides;
  for (int i = 0; i < 3; ++i) sides.push_back(after[pe.data_offset[3] + 6 + 14 * i]);
  EXPECT_EQ(sides, (std::vector<int>{16, 32, 48}));
}

TEST_F(ReplaceTest, UntickedBoxTouchesNothingButTheTarget) {
  Fill(target_, icon_, false);
  PressReplace();
  ExpectOneMessage(L"Change Icon Succesfully", kInfo);
  std::vector<fs::path> expected{icon_.filename(), target_.filename()};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Files(), expected);
}

TEST_F(ReplaceTest, ABackupThatCannotBeMadeStopsTheReplacement) {
  // The target is held open by another program, so it cannot be copied.
  HANDLE held = CreateFileW(target_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Fill(target_, icon_, true);
  PressReplace();
  CloseHandle(held);
  // Only the backup's failure: the engine was not asked, or it would have
  // reported that it could not open the target.
  ExpectBackupFailure(backup_);
  EXPECT_FALSE(fs::exists(backup_));
  EXPECT_EQ(ReadFileBytes(target_), original_);
  EXPECT_TRUE(ui.changed.empty());
  EXPECT_TRUE(IsWindow(form().hwnd()));

  // A target that is not there has no backup either.
  ui.shown.clear();
  fs::path missing = dir_.path() / "missing.exe";
  Fill(missing, icon_, true);
  PressReplace();
  ExpectBackupFailure(BackupPath(missing));

  // A directory named like the backup is no backup: nothing is changed.
  ui.shown.clear();
  fs::create_directory(backup_);
  Fill(target_, icon_, true);
  PressReplace();
  ExpectBackupFailure(backup_);
  EXPECT_EQ(ReadFileBytes(target_), original_);
}

TEST_F(ReplaceTest, EngineFailuresAreShownWithTheirText) {
  fs::path text_file = dir_.path() / fs::path(L"notes \u00E9.txt");
  WriteFileBytes(text_file, Bytes(100, 'n'));
  fs::path no_icon = dir_.path() / "none.ico";
  // A signed program: its certificate table is not empty.
  fs::path signed_program = dir_.path() / L"Signiert é.exe";
  BuiltPe pe = BuildPe(IconProgram({200, 200}));
  Put32(pe.bytes, pe.optional_header + 96 + 8 * 4, static_cast<uint32_t>(pe.bytes.size()));
  Put32(pe.bytes, pe.optional_header + 96 + 8 * 4 + 4, 0x100);
  pe.bytes.resize(pe.bytes.size() + 0x100, 0x30);
  WriteFileBytes(signed_program, pe.bytes);
  struct Case {
    fs::path target, icon;
    std::wstring failure;
  } cases[] = {
      {target_, no_icon,
       L"Failed to open " + no_icon.wstring() + L". Make sure file is not in use by another program. " +
           Wide(SystemMessage(ERROR_FILE_NOT_FOUND))},
      {text_file, icon_, text_file.wstring() + L" is not a valid Win32 executable."},
      {target_, text_file, text_file.wstring() + L" is not a valid icon resource file."},
      {signed_program, icon_,
       signed_program.wstring() + L" is signed: changing it would invalidate its signature. The program was not "
                                  L"changed. To change it anyway, use vantorel-cli with --allow-signed, then sign "
                                  L"the program again."},
  };
  for (const Case& c : cases) {
    ui.shown.clear();
    Fill(c.target, c.icon, c.target == signed_program);
    PressReplace();
    ExpectOneMessage(L"Error: Change Icon Failed.\r\n" + c.failure, kError);
  }
  EXPECT_EQ(ReadFileBytes(signed_program), pe.bytes);
  EXPECT_FALSE(fs::exists(BackupPath(signed_program))) << "refused before the backup";
  EXPECT_EQ(ReadFileBytes(target_), original_);
  EXPECT_TRUE(ui.changed.empty());
}

TEST_F(ReplaceTest, EmptyPathsReachTheEngineWhenNoBackupIsAsked) {
  // At start no text has changed yet, so Replace may be pressed with both
  // fields empty.
  FormFixture fresh;
  SendMessageW(fresh.Control(kCheck1), BM_SETCHECK, BST_UNCHECKED, 0);
  fresh.Click(kCmdReplace);
  ASSERT_EQ(fresh.ui.shown.size(), 1u);
  // The fixed sentence, then the system's reason: no name is no path.
  EXPECT_EQ(fresh.ui.shown[0].text,
            L"Error: Change Icon Failed.\r\nFailed to open . Make sure file is not in use by another program. " +
                Wide(SystemMessage(ERROR_PATH_NOT_FOUND)));
  EXPECT_EQ(fresh.ui.shown[0].type, kError);
}

TEST_F(ReplaceTest, SpaceOnTheFocusedReplaceRunsIt) {
  Fill(target_, icon_, false);
  SetFocus(Control(kCmdReplace));
  PostMessageW(Control(kCmdReplace), WM_KEYDOWN, VK_SPACE, 0x00390001);
  PostMessageW(Control(kCmdReplace), WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001u));
  Drain();
  ExpectOneMessage(L"Change Icon Succesfully", kInfo);
}

TEST_F(ReplaceTest, EngineWarningsComeFirstAsExclamationBoxes) {
  BuiltPe pe = BuildPe(IconProgram({200}));
  Put16(pe.bytes, pe.e_lfanew + 6, 820);  // a section table that runs past the file
  WriteFileBytes(target_, pe.bytes);
  Fill(target_, icon_, false);
  PressReplace();
  ASSERT_EQ(ui.shown.size(), 2u);
  EXPECT_EQ(ui.shown[0].caption, Wide(ProgramName() + " - Subscript out of range"));
  EXPECT_EQ(ui.shown[0].type, kWarning);
  EXPECT_FALSE(ui.shown[0].text.empty());
  EXPECT_EQ(ui.shown[1].text,
            L"Error: Change Icon Failed.\r\n" + target_.wstring() +
                L" does not contain a valid resource tree.  File may be corrupt.");
  EXPECT_EQ(ui.shown[1].type, kError);
  EXPECT_EQ(ReadFileBytes(target_), pe.bytes);
}

}  // namespace
}  // namespace vantorel::app::test
