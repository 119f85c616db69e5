// Files dropped on Form1: onto the window, or dragged onto one of its buttons,
// each goes to the path field its name suits.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "form1_fixture.h"
#include "host/data_object.h"

namespace vantorel::app::test {
namespace {

// The files a file manager hands over when they are dropped: a DROPFILES block.
HGLOBAL DroppedFiles(const std::vector<std::wstring>& paths = {L"C:\\icons\\Sun.ICO", L"C:\\apps\\Prögram.exe"}) {
  std::wstring names;
  for (const std::wstring& path : paths) names += path + L'\0';
  names += L'\0';
  HGLOBAL drop = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
  auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
  files->pFiles = sizeof(DROPFILES);
  files->fWide = TRUE;
  memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
  GlobalUnlock(drop);
  return drop;
}

// Drops at once wherever the pointer is.
class DropAtOnce final : public IDropSource {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = iid == IID_IUnknown || iid == IID_IDropSource ? this : nullptr;
    return *out ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override { return ++rounds_ < 3 ? S_OK : DRAGDROP_S_DROP; }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  int rounds_ = 0;
};

TEST_F(Form1Test, FilesDraggedOntoAButtonStillFillTheFields) {
  SetText(kTFile1, L"");
  SetText(kTFile2, L"");
  host::DataObject* data = host::DataObject::Create();
  FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  medium.tymed = TYMED_HGLOBAL;
  medium.hGlobal = DroppedFiles();
  ASSERT_EQ(data->SetData(&format, &medium, TRUE), S_OK);
  RECT r{};
  GetWindowRect(Control(kOpen1), &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  Drain();
  DropAtOnce source;
  DWORD effect = DROPEFFECT_NONE;
  EXPECT_EQ(DoDragDrop(data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect), DRAGDROP_S_DROP);
  data->Release();
  Drain();
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY)) << "read, never moved";
  EXPECT_EQ(Text(kTFile2), L"C:\\icons\\Sun.ICO");
  EXPECT_EQ(Text(kTFile1), L"C:\\apps\\Prögram.exe");
  EXPECT_TRUE(IsWindowEnabled(Control(kCmdReplace)));
}

TEST_F(Form1Test, DroppedFilesGoToTheFieldTheirNameSuits) {
  struct Case {
    std::vector<std::wstring> dropped;
    std::wstring program, icon;
  } cases[] = {
      {{L"C:\\icons\\Sun.ICO", L"C:\\apps\\Prögram.exe"}, L"C:\\apps\\Prögram.exe", L"C:\\icons\\Sun.ICO"},
      // A picture is an icon of every size, never a program.
      {{L"C:\\apps\\Prögram.exe", L"C:\\logos\\Logo.PNG"}, L"C:\\apps\\Prögram.exe", L"C:\\logos\\Logo.PNG"},
  };
  for (const Case& c : cases) {
    SetText(kTFile1, L"");
    SetText(kTFile2, L"");
    ASSERT_FALSE(IsWindowEnabled(Control(kCmdReplace)));
    PostMessageW(form().hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(DroppedFiles(c.dropped)), 0);
    Drain();
    EXPECT_EQ(Text(kTFile2), c.icon);
    EXPECT_EQ(Text(kTFile1), c.program);
    EXPECT_TRUE(IsWindowEnabled(Control(kCmdReplace)));
  }
}

}  // namespace
}  // namespace vantorel::app::test
