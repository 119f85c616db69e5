// Drives the real program as a user would, for what only a real run shows:
// real clicks, the system's open-file dialog, the real message box, files
// dropped from outside through X, and the window at another screen resolution. What the commands do with the paths
// (backups, failures and their texts) is tested in-process by replace_test.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <string>

#include "../native/pe_builder.h"
#include "form1_layout.h"

namespace vantorel::app::test {
namespace {

// The targets are made by the engine tests' builder.
using namespace engine::test;

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

// The Unix name of a file, as an X client names it (Wine's own conversion).
std::string UnixPath(const fs::path& path) {
  using ToUnix = char*(__cdecl*)(LPCWSTR);
  // Through void*: a FARPROC names no real signature.
  auto to_unix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!to_unix) return {};
  char* name = to_unix(path.c_str());
  std::string unix_name = name ? name : "";
  HeapFree(GetProcessHeap(), 0, name);
  return unix_name;
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

void Key(WORD vk) {
  INPUT keys[2]{};
  for (INPUT& in : keys) {
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
  }
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInputs({keys[0], keys[1]});
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

// Sets the screen resolution that Wine gives to programs started from now on,
// and puts the old setting back.
class ScreenResolution {
 public:
  explicit ScreenResolution(DWORD ppi) {
    DWORD size = sizeof old_;
    had_ = RegGetValueW(HKEY_CURRENT_USER, kKey, kValue, RRF_RT_REG_DWORD, nullptr, &old_, &size) == ERROR_SUCCESS;
    RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kValue, REG_DWORD, &ppi, sizeof ppi);
  }
  ~ScreenResolution() {
    if (had_) RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kValue, REG_DWORD, &old_, sizeof old_);
    else RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kValue);
  }
  ScreenResolution(const ScreenResolution&) = delete;
  ScreenResolution& operator=(const ScreenResolution&) = delete;

 private:
  static constexpr wchar_t kKey[] = L"Control Panel\\Desktop";
  static constexpr wchar_t kValue[] = L"LogPixels";
  bool had_ = false;
  DWORD old_ = 0;
};

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    original_ = BuildPe(IconProgram({200, 200})).bytes;
    WriteFileBytes(target_, original_);
    WriteFileBytes(icon_, IconFile({Image(120, 7, 16)}));
  }

  // Starts vantorel.exe and waits for its window.
  void Start() {
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

  void ClickOn(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  }
  void ClickOn(Form1Control id) { ClickOn(Control(id)); }

  // The program's dialog or message box with this caption, once it shows.
  HWND WaitForBox(const wchar_t* caption) {
    Box box{nullptr, process_.dwProcessId};
    EXPECT_TRUE(WaitFor([&] {
      box.hwnd = nullptr;
      EnumWindows(FindBox, reinterpret_cast<LPARAM>(&box));
      return box.hwnd != nullptr;
    })) << "no box \"" << caption << "\"";
    if (box.hwnd) {
      EXPECT_EQ(TextOf(box.hwnd), caption);
    }
    return box.hwnd;
  }

  void ExpectClosed(HWND box) { EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); })) << "the box did not close"; }

  // Presses a browse button and answers the system's open-file dialog: types
  // the path into its file-name field and presses Enter.
  void Browse(Form1Control button, const std::wstring& answer) {
    ClickOn(button);
    HWND dialog = WaitForBox(L"Open File");
    if (!dialog) return;
    SetForegroundWindow(dialog);
    ASSERT_TRUE(WaitFor([&] { return Focus() && IsChild(dialog, Focus()); })) << "no focus in the dialog";
    Type(answer);
    Key(VK_RETURN);
    ExpectClosed(dialog);
  }

  HWND Focus() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(process_.dwThreadId, &info);
    return info.hwndFocus;
  }

  // Presses Replace, reads the message box that answers and closes it with Enter.
  std::wstring ReplaceAndRead() {
    ClickOn(app::kCmdReplace);
    HWND box = WaitForBox(L"Vantorel");
    if (!box) return L"";
    std::wstring text = TextOf(GetDlgItem(box, 0xFFFF));  // the box's text
    SetForegroundWindow(box);
    Key(VK_RETURN);
    ExpectClosed(box);
    return text;
  }

  TempDir dir_;
  // The open-file dialog is the ANSI one: a name it can give back whole.
  fs::path target_ = dir_.path() / "target program.exe";
  fs::path icon_ = dir_.path() / "sun.ico";
  Bytes original_;
  PROCESS_INFORMATION process_{};
  HWND form_ = nullptr;
};

TEST_F(EndToEnd, PathsFromTheDialogThenReplaceThenClose) {
  Start();
  Browse(app::kOpen1, target_.wstring());
  EXPECT_TRUE(WaitFor([&] { return TextOf(Control(app::kTFile1)) == target_.wstring(); }))
      << TextOf(Control(app::kTFile1));
  // The icon's path typed into its field.
  ClickOn(app::kTFile2);
  ASSERT_TRUE(WaitFor([&] { return Focus() == Control(app::kTFile2); })) << "no focus in the icon's field";
  Type(icon_.wstring());
  EXPECT_TRUE(WaitFor([&] { return TextOf(Control(app::kTFile2)) == icon_.wstring(); }))
      << TextOf(Control(app::kTFile2));

  EXPECT_EQ(ReplaceAndRead(), L"Change Icon Succesfully");
  Bytes changed = ReadFileBytes(target_);
  EXPECT_NE(changed, original_);
  EXPECT_EQ(changed.size(), original_.size());

  ClickOn(app::kVbButton1);
  EXPECT_EQ(WaitForSingleObject(process_.hProcess, 15000), WAIT_OBJECT_0) << "Close did not end the program";
  DWORD code = 1;
  GetExitCodeProcess(process_.hProcess, &code);
  EXPECT_EQ(code, 0u);
}

// Files dragged from a file manager arrive through X (XDND): Wine turns them
// into the window's own drop, and each lands in the field its name suits.
TEST_F(EndToEnd, FilesDroppedFromOutsideLandInTheirFields) {
  Start();
  POINT at{4, 4};  // the window's own background, left of the first label
  ClientToScreen(form_, &at);
  std::wstring command = L"\"" + WindowsPath(VANTOREL_XDND_DROP) + L"\" " + std::to_wstring(at.x) + L" " +
                         std::to_wstring(at.y);
  for (const fs::path& file : {icon_, target_}) {
    std::string unix_name = UnixPath(file);
    ASSERT_FALSE(unix_name.empty()) << file;
    command += L" \"" + std::wstring(unix_name.begin(), unix_name.end()) + L"\"";
  }
  // A Unix program started from Wine has no Windows process to wait for; the
  // fields tell when the drop arrived.
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION dropper{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &dropper))
      << "cannot start " << VANTOREL_XDND_DROP;
  if (dropper.hProcess) CloseHandle(dropper.hProcess);
  if (dropper.hThread) CloseHandle(dropper.hThread);
  EXPECT_TRUE(WaitFor([&] { return TextOf(Control(app::kTFile2)) == icon_.wstring(); }))
      << TextOf(Control(app::kTFile2));
  EXPECT_TRUE(WaitFor([&] { return TextOf(Control(app::kTFile1)) == target_.wstring(); }))
      << TextOf(Control(app::kTFile1));
}

// At 150 % every length goes from twips to pixels in one rounding, ties to
// even: the browse buttons are 1575 twips = 157.5 px, so 158, and About
// 1095 twips = 109.5 px, so 110. Computed here from the twips.
TEST_F(EndToEnd, AtOneHundredFortyFourDpiEveryLengthIsRoundedOnceFromTwips) {
  constexpr int kPpi = 144;
  {
    ScreenResolution screen(kPpi);
    Start();
  }
  auto pixels = [](int twips) { return static_cast<int>(std::nearbyint(twips * kPpi / 1440.0)); };
  RECT client{};
  GetClientRect(form_, &client);
  EXPECT_EQ(client.right, pixels(app::kForm1ClientWidth));
  EXPECT_EQ(client.bottom, pixels(app::kForm1ClientHeight));
  for (const app::ControlLayout& c : app::kForm1Controls) {
    if (c.kind == app::ControlKind::Label) continue;  // a label may widen to fit its text
    RECT r{};
    GetWindowRect(Control(c.id), &r);
    MapWindowPoints(nullptr, form_, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, pixels(c.left)) << c.name;
    EXPECT_EQ(r.top, pixels(c.top)) << c.name;
    EXPECT_EQ(r.right - r.left, pixels(c.width)) << c.name;
    EXPECT_EQ(r.bottom - r.top, pixels(c.height)) << c.name;
  }
}

}  // namespace
}  // namespace vantorel::app::test
