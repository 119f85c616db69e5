// OpenDlg: the record it hands the system, what it makes of the answer, and
// the real dialog under the real comdlg32.
#include <gtest/gtest.h>

#include "../../native/pe_builder.h"
#include "app_test_support.h"
#include "mod_opendlg.h"

#include <dlgs.h>

namespace vantorel::app::test {
namespace {

// Targets are made by the engine tests' builder.
using namespace vantorel::engine::test;

// What the stand-in saw of the record, and how it answers.
struct Call {
  OPENFILENAMEW record{};
  std::vector<std::wstring> filter_list;
  std::wstring file_buffer, title_buffer;
  std::wstring answer;
  bool give_up = false;
};
Call* g_call = nullptr;

std::wstring Buffer(const wchar_t* p, DWORD n) { return p ? std::wstring(p, n) : L"<null>"; }

BOOL WINAPI StandIn(OPENFILENAMEW* ofn) {
  g_call->record = *ofn;
  g_call->filter_list.clear();
  for (const wchar_t* p = ofn->lpstrFilter; p && *p; p += wcslen(p) + 1) g_call->filter_list.emplace_back(p);
  g_call->file_buffer = Buffer(ofn->lpstrFile, ofn->nMaxFile);
  g_call->title_buffer = Buffer(ofn->lpstrFileTitle, ofn->nMaxFileTitle);
  if (g_call->give_up) {
    ofn->lpstrFile[0] = L'x';
    return FALSE;
  }
  wcscpy(ofn->lpstrFile, g_call->answer.c_str());
  return TRUE;
}

class OpenDlgTest : public ::testing::Test {
 protected:
  void SetUp() override { g_call = &call_; }
  void TearDown() override { g_call = nullptr; }
  Call call_;
};

TEST_F(OpenDlgTest, RecordIsTheOlderLayoutFilledAsTheDialogExpects) {
  std::wstring filter = L"Application (.exe)|*.exe";
  HWND owner = reinterpret_cast<HWND>(0x1234);
  call_.answer = L"C:\\a.exe";
  OpenDlg(owner, filter, StandIn);
  const OPENFILENAMEW& r = call_.record;
  EXPECT_EQ(r.lStructSize, 76u);
  EXPECT_EQ(r.hwndOwner, owner);
  EXPECT_EQ(r.hInstance, GetModuleHandleW(nullptr));
  EXPECT_EQ(call_.filter_list, (std::vector<std::wstring>{L"Application (.exe)", L"*.exe"}));
  EXPECT_EQ(r.lpstrCustomFilter, nullptr);
  EXPECT_EQ(r.nMaxCustFilter, 0u);
  EXPECT_EQ(r.nFilterIndex, 0u);
  EXPECT_EQ(r.nMaxFile, 255u);
  EXPECT_EQ(call_.file_buffer, std::wstring(254, L' ') + L'\0');
  EXPECT_EQ(r.nMaxFileTitle, 255u);
  EXPECT_EQ(call_.title_buffer, std::wstring(254, L' ') + L'\0');
  ASSERT_NE(r.lpstrInitialDir, nullptr);
  EXPECT_EQ(r.lpstrInitialDir[0], L'\0');
  EXPECT_STREQ(r.lpstrTitle, L"Open File");
  EXPECT_EQ(r.Flags, 0u);
  EXPECT_EQ(r.lpstrDefExt, nullptr);
  EXPECT_EQ(r.lCustData, 0);
  EXPECT_EQ(r.lpfnHook, nullptr);
  EXPECT_EQ(r.lpTemplateName, nullptr);
  // The caller's filter comes back converted.
  EXPECT_EQ(filter, std::wstring(L"Application (.exe)") + L'\0' + L"*.exe");
}

TEST_F(OpenDlgTest, EveryPairOfTheFilterBecomesTwoStringsAndASecondCallChangesNothing) {
  std::wstring filter = L"Icon (.ico)|*.ico|All|*.*";
  OpenDlg(nullptr, filter, StandIn);
  const std::vector<std::wstring> pairs{L"Icon (.ico)", L"*.ico", L"All", L"*.*"};
  EXPECT_EQ(call_.filter_list, pairs);
  OpenDlg(nullptr, filter, StandIn);
  EXPECT_EQ(call_.filter_list, pairs);
}

TEST_F(OpenDlgTest, AnswerIsTrimmedOfBlanksAndFailureIsEmpty) {
  std::wstring filter = L"Icon (.ico)|*.ico";
  call_.answer = L"  C:\\my icons\\a b.ico   ";
  EXPECT_EQ(OpenDlg(nullptr, filter, StandIn), L"C:\\my icons\\a b.ico");
  call_.answer = std::wstring(254, L'z');
  EXPECT_EQ(OpenDlg(nullptr, filter, StandIn), std::wstring(254, L'z'));
  call_.answer = L"    ";
  EXPECT_EQ(OpenDlg(nullptr, filter, StandIn), L"");
  call_.give_up = true;
  EXPECT_EQ(OpenDlg(nullptr, filter, StandIn), L"");
}

// ---- the system's dialog ----------------------------------------------------

// Runs inside the dialog's own message loop: finds the dialog, looks at its
// file-type list, and answers as a user would. Any box the dialog raises
// afterwards is recorded and closed; a dialog that is still up after a few
// seconds is cancelled, so the test fails instead of hanging.
struct DialogAnswer {
  std::wstring file;  // empty: press Cancel
  int type_count = -1, type_selected = -1;
  std::wstring type_text;
  std::vector<std::wstring> boxes;  // texts of boxes the dialog showed after the answer
  HWND dialog = nullptr;
  int ticks = 0;
};
DialogAnswer* g_answer = nullptr;

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM found) {
  wchar_t cls[16]{};
  GetClassNameW(hwnd, cls, 16);
  if (IsWindowVisible(hwnd) && wcscmp(cls, L"#32770") == 0) {
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK StaticText(HWND hwnd, LPARAM text) {
  wchar_t cls[16]{};
  GetClassNameW(hwnd, cls, 16);
  if (_wcsicmp(cls, L"Static") == 0 && GetWindowTextLengthW(hwnd) > 0) {
    wchar_t buffer[512]{};
    GetWindowTextW(hwnd, buffer, 512);
    *reinterpret_cast<std::wstring*>(text) += buffer;
  }
  return TRUE;
}

void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR, DWORD) {
  DialogAnswer& a = *g_answer;
  ++a.ticks;
  HWND top = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&top));
  if (!top) return;
  if (a.ticks > 200) {
    PostMessageW(top, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  if (!a.dialog) {
    a.dialog = top;
    HWND types = GetDlgItem(top, cmb1);
    a.type_count = static_cast<int>(SendMessageW(types, CB_GETCOUNT, 0, 0));
    a.type_selected = static_cast<int>(SendMessageW(types, CB_GETCURSEL, 0, 0));
    wchar_t text[64]{};
    SendMessageW(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
    a.type_text = text;
    if (a.file.empty()) {
      PostMessageW(top, WM_COMMAND, IDCANCEL, 0);
    } else {
      SetDlgItemTextW(top, cmb13, a.file.c_str());
      PostMessageW(top, WM_COMMAND, IDOK, 0);
    }
  } else if (top != a.dialog && IsWindowEnabled(top)) {
    std::wstring text;
    EnumChildWindows(top, StaticText, reinterpret_cast<LPARAM>(&text));
    a.boxes.push_back(text);
    PostMessageW(top, WM_COMMAND, IDOK, 0);
  }
}

std::wstring RunDialog(DialogAnswer& answer, const wchar_t* filter_text) {
  g_answer = &answer;
  UINT_PTR timer = SetTimer(nullptr, 0, 25, AnswerDialog);
  std::wstring filter = filter_text;
  std::wstring result = OpenDlg(nullptr, filter);
  KillTimer(nullptr, timer);
  g_answer = nullptr;
  return result;
}

TEST(OpenDlgSystem, ChoosingAFileGivesItsFullPath) {
  TempDir dir;
  std::filesystem::path file = dir.path() / std::filesystem::path(L"Zielprogramm \u00FC.exe");
  WriteFileBytes(file, Bytes(10, 'z'));
  DialogAnswer answer;
  answer.file = file.wstring();
  EXPECT_EQ(RunDialog(answer, L"Application (.exe)|*.exe"), file.wstring());
  EXPECT_EQ(answer.type_count, 1);
  EXPECT_EQ(answer.type_selected, 0);
  EXPECT_EQ(answer.type_text, L"Application (.exe)");
}

TEST(OpenDlgSystem, CancelGivesAnEmptyPath) {
  DialogAnswer answer;
  EXPECT_EQ(RunDialog(answer, L"Icon (.ico)|*.ico"), L"");
  EXPECT_NE(answer.dialog, nullptr);
  EXPECT_EQ(answer.type_count, 1);
}

TEST(OpenDlgSystem, APathLongerThanTheBufferGivesAnEmptyPath) {
  DialogAnswer answer;
  // 256 characters: more than the buffer holds, less than MAX_PATH (longer
  // names overrun a fixed buffer inside Wine's dialog).
  answer.file = L"C:\\" + std::wstring(249, L'a') + L".exe";
  ASSERT_EQ(answer.file.size(), 256u);
  EXPECT_EQ(RunDialog(answer, L"Application (.exe)|*.exe"), L"");
  EXPECT_NE(answer.dialog, nullptr);
  for (const std::wstring& box : answer.boxes) ADD_FAILURE() << "box: " << Narrow(box);
}

}  // namespace
}  // namespace vantorel::app::test
