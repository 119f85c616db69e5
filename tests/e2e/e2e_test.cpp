// Drives the real program as a user would: the mouse clicks into the fields,
// the keyboard types the paths, the mouse presses Replace, the message box is
// read and closed with Enter, and the files are checked afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "../native/pe_builder.h"
#include "form1_layout.h"
#include "vantorel/backup.h"

namespace vantorel::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using app::Form1Control;

// Waits for a condition with a bounded timeout, letting the other process run.
bool WaitFor(const std::function<bool()>& ready, std::chrono::milliseconds limit = 15s) {
  auto until = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < until) {
    if (ready()) return true;
    Sleep(20);
  }
  return ready();
}

std::wstring WindowsPath(const char* unix_path) {
  std::wstring path = L"Z:";
  for (const char* p = unix_path; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
  return path;
}

std::wstring TextOf(HWND hwnd) {
  wchar_t buffer[1024]{};
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, nullptr);
  return buffer;
}

void SendInputs(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void ClickAt(POINT screen) {
  int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dx = static_cast<LONG>((screen.x * 65535LL + w / 2) / (w - 1));
  move.mi.dy = static_cast<LONG>((screen.y * 65535LL + h / 2) / (h - 1));
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  INPUT down = move, up = move;
  down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
  up.mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  SendInputs({move});
  // Press only once the pointer is there, so the press lands on the control.
  WaitFor(
      [&] {
        POINT at{};
        GetCursorPos(&at);
        return at.x == screen.x && at.y == screen.y;
      },
      2s);
  SendInputs({down, up});
}

void Key(WORD vk, WORD modifier = 0) {
  std::vector<INPUT> keys;
  auto add = [&](WORD k, bool release) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = k;
    in.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
    keys.push_back(in);
  };
  if (modifier) add(modifier, false);
  add(vk, false);
  add(vk, true);
  if (modifier) add(modifier, true);
  SendInputs(keys);
}

void Type(const std::wstring& text) {
  std::vector<INPUT> keys;
  for (wchar_t c : text) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wScan = c;
    in.ki.dwFlags = KEYEVENTF_UNICODE;
    keys.push_back(in);
    in.ki.dwFlags |= KEYEVENTF_KEYUP;
    keys.push_back(in);
  }
  SendInputs(keys);
}

struct Box {
  HWND hwnd = nullptr;
  DWORD process = 0;
};

BOOL CALLBACK FindBox(HWND hwnd, LPARAM param) {
  auto* box = reinterpret_cast<Box*>(param);
  wchar_t cls[16]{};
  GetClassNameW(hwnd, cls, 16);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == box->process && IsWindowVisible(hwnd) && wcscmp(cls, L"#32770") == 0) {
    box->hwnd = hwnd;
    return FALSE;
  }
  return TRUE;
}

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    original_ = BuildPe(IconProgram({200, 200})).bytes;
    WriteFileBytes(target_, original_);
    WriteFileBytes(icon_, IconFile({Image(120, 7, 16)}));

    std::wstring command = L"\"" + WindowsPath(VANTOREL_EXE) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &process_))
        << "cannot start " << VANTOREL_EXE;
    ASSERT_TRUE(WaitFor([&] {
      form_ = FindWindowW(L"Vantorel.Form1", L"Vantorel 1.1");
      return form_ && IsWindowVisible(form_);
    })) << "the window did not appear";
    WaitForInputIdle(process_.hProcess, 10000);
    SetForegroundWindow(form_);
  }

  void TearDown() override {
    if (process_.hProcess) {
      if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 1);
      CloseHandle(process_.hProcess);
      CloseHandle(process_.hThread);
    }
  }

  HWND Control(Form1Control id) { return GetDlgItem(form_, id); }

  void ClickOn(Form1Control id) {
    RECT r{};
    GetWindowRect(Control(id), &r);
    ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  }

  // Clicks into a field, selects what it holds and types over it.
  void TypeInto(Form1Control id, const std::wstring& text) {
    ClickOn(id);
    ASSERT_TRUE(WaitFor([&] { return GetFocusOf() == Control(id); })) << "no focus in field " << id;
    // The classic edit field has no select-all key: Home, then Shift+End.
    Key(VK_HOME);
    Key(VK_END, VK_SHIFT);
    Key(VK_DELETE);
    Type(text);
    ASSERT_TRUE(WaitFor([&] { return TextOf(Control(id)) == text; })) << "typed text did not arrive in field " << id;
  }

  HWND GetFocusOf() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(process_.dwThreadId, &info);
    return info.hwndFocus;
  }

  // Presses Replace, reads the message box that answers and closes it with Enter.
  std::wstring ReplaceAndRead(const wchar_t* caption = L"Vantorel") {
    ClickOn(app::kCmdReplace);
    Box box{nullptr, process_.dwProcessId};
    EXPECT_TRUE(WaitFor([&] {
      box.hwnd = nullptr;
      EnumWindows(FindBox, reinterpret_cast<LPARAM>(&box));
      return box.hwnd != nullptr;
    })) << "no message box";
    if (!box.hwnd) return L"";
    EXPECT_EQ(TextOf(box.hwnd), caption);
    std::wstring text = TextOf(GetDlgItem(box.hwnd, 0xFFFF));  // the box's text
    SetForegroundWindow(box.hwnd);
    Key(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box.hwnd); })) << "the box did not close";
    return text;
  }

  TempDir dir_;
  fs::path target_ = dir_.path() / fs::path(L"Zielprogramm \u00E9\u0416.exe");
  fs::path icon_ = dir_.path() / fs::path(L"Sonne.ico");
  Bytes original_;
  PROCESS_INFORMATION process_{};
  HWND form_ = nullptr;
};

TEST_F(EndToEnd, ReplaceWithBackupThenAgainThenAFailureThenClose) {
  ASSERT_EQ(SendMessageW(Control(app::kCheck1), BM_GETCHECK, 0, 0), BST_CHECKED) << "the backup box starts ticked";
  TypeInto(app::kTFile1, target_.wstring());
  TypeInto(app::kTFile2, icon_.wstring());

  EXPECT_EQ(ReplaceAndRead(), L"Change Icon Succesfully");
  const fs::path backup = Backup_Path(target_);
  EXPECT_EQ(ReadFileBytes(backup), original_);
  Bytes changed = ReadFileBytes(target_);
  EXPECT_NE(changed, original_);
  EXPECT_EQ(changed.size(), original_.size());

  // Again: same result, and the backup still holds the original.
  EXPECT_EQ(ReplaceAndRead(), L"Change Icon Succesfully");
  EXPECT_EQ(ReadFileBytes(backup), original_);
  EXPECT_EQ(ReadFileBytes(target_), changed);

  // An icon that is not there: the failure box names it, nothing changes.
  fs::path missing = dir_.path() / "missing.ico";
  TypeInto(app::kTFile2, missing.wstring());
  EXPECT_EQ(ReplaceAndRead(), L"Error: Change Icon Failed.\r\nFailed to open " + missing.wstring() +
                                  L". Make sure file is not in use by another program.");
  EXPECT_EQ(ReadFileBytes(target_), changed);

  // An emptied field disables Replace.
  TypeInto(app::kTFile2, L"");
  EXPECT_FALSE(IsWindowEnabled(Control(app::kCmdReplace)));

  ClickOn(app::kVbButton1);
  EXPECT_EQ(WaitForSingleObject(process_.hProcess, 15000), WAIT_OBJECT_0) << "Close did not end the program";
  DWORD code = 1;
  GetExitCodeProcess(process_.hProcess, &code);
  EXPECT_EQ(code, 0u);
}

}  // namespace
}  // namespace vantorel::test
