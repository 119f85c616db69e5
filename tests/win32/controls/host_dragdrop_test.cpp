// Drag and drop through the platform's own DoDragDrop: a Button as the target of
// a drag made by the test, and a Button as the source of a drag onto a window of
// the test.
#include <gtest/gtest.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "host/data_object.h"
#include "host/drop_target.h"
#include "test_support.h"

namespace vantorel::controls::test {
namespace {

using host::test::Drain;
using host::test::Placement;
using host::test::PointerAt;
using host::test::TestParent;
using test::MainButton;
using Log = std::vector<std::wstring>;

FORMATETC TextFormat(TYMED tymed = TYMED_HGLOBAL) { return FORMATETC{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, static_cast<DWORD>(tymed)}; }

void PutText(IDataObject* data, const std::wstring& text) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  auto* to = static_cast<wchar_t*>(GlobalLock(memory));
  std::copy(text.c_str(), text.c_str() + text.size() + 1, to);
  GlobalUnlock(memory);
  FORMATETC format = TextFormat();
  STGMEDIUM medium{};
  medium.tymed = TYMED_HGLOBAL;
  medium.hGlobal = memory;
  ASSERT_EQ(data->SetData(&format, &medium, TRUE), S_OK);
}

std::wstring GetText(IDataObject* data) {
  FORMATETC format = TextFormat();
  STGMEDIUM medium{};
  if (!data || FAILED(data->GetData(&format, &medium))) return L"(none)";
  std::wstring text = static_cast<const wchar_t*>(GlobalLock(medium.hGlobal));
  GlobalUnlock(medium.hGlobal);
  ReleaseStgMedium(&medium);
  return text;
}

// The drag source of the test: continues for a few rounds, then drops, or
// moves the pointer away first and then cancels.
class ScriptedSource final : public IDropSource {
 public:
  ScriptedSource(int rounds, HWND leaveTo = nullptr) : rounds_(rounds), leaveTo_(leaveTo) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDropSource) {
      *out = this;
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override {
    ++calls_;
    if (calls_ == rounds_ && leaveTo_) {
      host::test::PlacePointer(leaveTo_, 5, 5);
    }
    if (calls_ < rounds_ + (leaveTo_ ? 3 : 0)) return S_OK;
    return leaveTo_ ? DRAGDROP_S_CANCEL : DRAGDROP_S_DROP;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  int rounds_;
  HWND leaveTo_;
  int calls_ = 0;
};

// Records the target-side events; takes copies of text while over, copy on drop.
void RecordTargetEvents(Button* b, Log& log) {
  b->events.OLEDragOver = [&log](IDataObject*& data, std::int32_t& effect, std::int16_t& button, std::int16_t&,
                                 float& x, float& y, std::int16_t& state) {
    log.push_back(L"OLEDragOver state " + std::to_wstring(state) + L" effect " + std::to_wstring(effect) +
                  L" button " + std::to_wstring(button) + L" at " + std::to_wstring(static_cast<int>(x)) + L"," +
                  std::to_wstring(static_cast<int>(y)) + L" " + GetText(data));
    effect = DROPEFFECT_COPY;
  };
  b->events.OLEDragDrop = [&log](IDataObject*& data, std::int32_t& effect, std::int16_t&, std::int16_t&, float& x,
                                 float& y) {
    log.push_back(L"OLEDragDrop at " + std::to_wstring(static_cast<int>(x)) + L"," +
                  std::to_wstring(static_cast<int>(y)) + L" " + GetText(data));
    effect = DROPEFFECT_COPY;
  };
}

TEST(HostDragDrop, ADropOnAButtonRaisesDragOverAndDragDropWithTheSourcesData) {
  host::test::TestParent parent;
  Button* b = MainButton(parent);
  Log log;
  RecordTargetEvents(b, log);
  host::DataObject* data = host::DataObject::Create();
  PutText(data, L"from the test");
  host::test::PointerAt(b->hwnd(), 20, 10);
  ScriptedSource source(3);
  DWORD effect = DROPEFFECT_NONE;
  EXPECT_EQ(DoDragDrop(data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect), DRAGDROP_S_DROP);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
  data->Release();
  ASSERT_GE(log.size(), 2u);
  // Effect comes in as none; positions are in twips (15 per pixel).
  EXPECT_EQ(log.front(), L"OLEDragOver state 0 effect 0 button 0 at 300,150 from the test");
  for (std::size_t i = 1; i + 1 < log.size(); ++i)
    EXPECT_EQ(log[i], L"OLEDragOver state 2 effect 0 button 0 at 300,150 from the test");
  EXPECT_EQ(log.back(), L"OLEDragDrop at 300,150 from the test");
}

TEST(HostDragDrop, LeavingAButtonIsReportedAndNothingIsDropped) {
  host::test::TestParent parent;
  Button* b = MainButton(parent);
  Log log;
  RecordTargetEvents(b, log);
  host::DataObject* data = host::DataObject::Create();
  PutText(data, L"passing by");
  host::test::PointerAt(b->hwnd(), 20, 10);
  ScriptedSource source(3, parent.hwnd());
  DWORD effect = DROPEFFECT_NONE;
  EXPECT_EQ(DoDragDrop(data, &source, DROPEFFECT_COPY, &effect), DRAGDROP_S_CANCEL);
  data->Release();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log.back().substr(0, 28), L"OLEDragOver state 1 effect 0");
  for (const std::wstring& line : log) EXPECT_EQ(line.find(L"OLEDragDrop"), std::wstring::npos);
}

TEST(HostDragDrop, AButtonWithoutHandlersRefusesTheDrop) {
  host::test::TestParent parent;
  Button* b = MainButton(parent);
  host::DataObject* data = host::DataObject::Create();
  PutText(data, L"unwanted");
  host::test::PointerAt(b->hwnd(), 20, 10);
  ScriptedSource source(2);
  DWORD effect = DROPEFFECT_COPY;
  DoDragDrop(data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
  // A source that moves files deletes them on a reported move: none is reported.
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  data->Release();
}

TEST(HostDragDrop, TheEffectIsWhatTheControlWantsAndTheSourceAllowsChosenByTheKeys) {
  struct Row {
    std::int32_t wanted;
    DWORD allowed, keys, expected;
  };
  const Row rows[] = {
      {DROPEFFECT_COPY, DROPEFFECT_COPY | DROPEFFECT_MOVE, 0, DROPEFFECT_COPY},
      {DROPEFFECT_COPY, DROPEFFECT_MOVE, 0, DROPEFFECT_NONE},
      {DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY | DROPEFFECT_MOVE, 0, DROPEFFECT_MOVE},
      {DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY | DROPEFFECT_MOVE, MK_CONTROL, DROPEFFECT_COPY},
      {DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY | DROPEFFECT_MOVE, MK_SHIFT, DROPEFFECT_MOVE},
      {7, 7, MK_CONTROL | MK_SHIFT, DROPEFFECT_LINK},
      {7, DROPEFFECT_COPY | DROPEFFECT_LINK, 0, DROPEFFECT_COPY},
      {DROPEFFECT_NONE, 7, 0, DROPEFFECT_NONE},
  };
  for (const Row& r : rows)
    EXPECT_EQ(host::ChooseDropEffect(r.wanted, r.allowed, r.keys), r.expected)
        << r.wanted << " " << r.allowed << " " << r.keys;
}

// A window of the test that takes text drops.
class TextTarget final : public IDropTarget {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDropTarget) {
      *out = this;
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
    *effect = DROPEFFECT_COPY;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
    *effect = DROPEFFECT_COPY;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    received = GetText(data);
    *effect = DROPEFFECT_COPY;
    return S_OK;
  }
  std::wstring received;
};

void SetLeftButtonState(bool down) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_LBUTTON] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

TEST(HostDragDrop, AButtonAsTheSourceRaisesStartFeedbackSetDataAndComplete) {
  host::test::TestParent parent;
  Button* b = MainButton(parent);
  HWND window = CreateWindowExW(0, L"VantorelTestParent", L"target", WS_CHILD | WS_VISIBLE, 300, 100, 200, 100,
                                parent.hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
  TextTarget target;
  ASSERT_EQ(RegisterDragDrop(window, &target), S_OK);
  Log log;
  b->events.OLEStartDrag = [&](IDataObject*& data, std::int32_t& allowed) {
    log.push_back(L"OLEStartDrag " + std::to_wstring(allowed));
    // Text is promised, and given only when a target asks for it.
    FORMATETC format = TextFormat(TYMED_NULL);
    STGMEDIUM promise{};
    promise.tymed = TYMED_NULL;
    data->SetData(&format, &promise, FALSE);
    allowed = DROPEFFECT_COPY;
  };
  int feedback = 0;
  b->events.OLEGiveFeedback = [&](std::int32_t& effect, bool& defaultCursors) {
    if (feedback++ == 0) log.push_back(L"OLEGiveFeedback " + std::to_wstring(effect) + L" " + std::to_wstring(defaultCursors));
    // The user lets the button go after a few rounds.
    if (feedback == 3) SetLeftButtonState(false);
  };
  b->events.OLESetData = [&](IDataObject*& data, std::int16_t& format) {
    log.push_back(L"OLESetData " + std::to_wstring(format));
    PutText(data, L"from the button");
  };
  b->events.OLECompleteDrag = [&](std::int32_t& effect) { log.push_back(L"OLECompleteDrag " + std::to_wstring(effect)); };
  host::test::PointerAt(window, 50, 50);
  SetLeftButtonState(true);
  EXPECT_EQ(b->OLEDrag(), DROPEFFECT_COPY);
  SetLeftButtonState(false);
  EXPECT_EQ(target.received, L"from the button");
  EXPECT_EQ(log, (Log{L"OLEStartDrag 0", L"OLEGiveFeedback 1 1", L"OLESetData 13", L"OLECompleteDrag 1"}));
  RevokeDragDrop(window);
  DestroyWindow(window);
}

TEST(HostDragDrop, NoDragStartsWithoutDataOrAnAllowedEffect) {
  host::test::TestParent parent;
  Button* b = MainButton(parent);
  Log log;
  b->events.OLEStartDrag = [&](IDataObject*&, std::int32_t& allowed) { allowed = DROPEFFECT_COPY; };
  b->events.OLECompleteDrag = [&](std::int32_t& effect) { log.push_back(L"OLECompleteDrag " + std::to_wstring(effect)); };
  EXPECT_EQ(b->OLEDrag(), DROPEFFECT_NONE);
  EXPECT_EQ(log, (Log{L"OLECompleteDrag 0"}));
}

}  // namespace
}  // namespace vantorel::controls::test
