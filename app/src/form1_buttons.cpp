// Form1's five buttons, made from their stored property values as a form
// file holds them: the values are taken as stored, never recomputed from the
// style and theme presets.
#include <ole2.h>

#include <string>
#include <vector>

#include "button/button.h"
#include "form1.h"
#include "form1_button_values.h"
#include "host/property_bag.h"

namespace vantorel::app {

namespace {

// The hand pointer, shown with the cursor file below; the values every button
// shares come before it, its caption after.
constexpr wchar_t kHandPointerValue[] = L"mousepointer = i16 99\n";

// The hand pointer's cursor file, kept in the program's resources.
constexpr int kHandCursorFile = 102;

host::PictureRef HandPointerPicture() {
  HMODULE self = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(self, MAKEINTRESOURCEW(kHandCursorFile), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!found) return nullptr;
  auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(self, found)));
  if (!bytes) return nullptr;
  std::wstring error;
  return host::Picture::FromBytes(std::span<const std::uint8_t>(bytes, SizeofResource(self, found)), &error);
}

std::wstring Quoted(const wchar_t* text) { return L"\"" + std::wstring(text) + L"\""; }

}  // namespace

HWND Form1::CreateButton(const ControlLayout& control) {
  // No stored extent: whole HIMETRIC units would round the size twice (1575
  // twips are 157.5 pixels at 144 dpi, but 2778 HIMETRIC come back as 157.49).
  std::wstring stored = kForm1ButtonValues;
  stored += kHandPointerValue;
  stored += L"caption = str " + Quoted(control.text) + L"\n";
  std::wstring error;
  std::optional<host::PropertyBag> bag = host::BagFromText(stored, &error);
  if (!bag) return nullptr;
  // Without the picture the buttons still work; they show the arrow instead.
  if (host::PictureRef hand = HandPointerPicture()) bag->Write(L"mouseicon", hand);

  host::HostPlacement placement;
  placement.parent = hwnd_;
  placement.id = control.id;
  placement.left = control.left;
  placement.top = control.top;
  placement.width = control.width;
  placement.height = control.height;
  placement.ambient.displayName = control.name;
  placement.ambient.font = host::FontDesc{kFormFont.name, kFormFont.hundredths_of_points / 100.0, kFormFont.weight};
  controls::Button* button = controls::Button::Create(placement, &*bag);
  if (!button) return nullptr;
  // The host places it from the same twips by the same rule as PixelRect
  // places the other controls, so it is not moved again.
  AcceptFileDrops(*button);
  switch (control.id) {
    case kCmdReplace: button->events.Click = [this] { ReplaceClick(); }; break;
    case kVbButton1: button->events.Click = [this] { CloseClick(); }; break;
    case kVbButton2: button->events.Click = [this] { AboutClick(); }; break;
    case kOpen1:
    case kOpen2: button->events.Click = [this, id = control.id] { BrowseClick(id); }; break;
    default: break;
  }
  return button->hwnd();
}

namespace {

FORMATETC FileDropFormat() { return FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

}  // namespace

bool Form1::FillFieldsFrom(IDataObject* data) {
  FORMATETC format = FileDropFormat();
  STGMEDIUM medium{};
  if (!data || FAILED(data->GetData(&format, &medium))) return false;
  FillFieldsFrom(static_cast<HDROP>(medium.hGlobal));
  ReleaseStgMedium(&medium);
  return true;
}

void Form1::AcceptFileDrops(controls::Button& button) {
  // The window takes dropped files anywhere (WM_DROPFILES); a button is a drop
  // target of its own and would swallow them, so it hands them on. Files are
  // read, never moved: the effect offered is a copy.
  button.events.OLEDragOver = [](IDataObject*& data, std::int32_t& effect, std::int16_t&, std::int16_t&, float&,
                                 float&, std::int16_t&) {
    FORMATETC format = FileDropFormat();
    if (data && data->QueryGetData(&format) == S_OK) effect = DROPEFFECT_COPY;
  };
  button.events.OLEDragDrop = [this](IDataObject*& data, std::int32_t& effect, std::int16_t&, std::int16_t&, float&,
                                     float&) {
    if (FillFieldsFrom(data)) effect = DROPEFFECT_COPY;
  };
}

void Form1::SetReplaceEnabled(bool enabled) {
  if (controls::Button* replace = controls::Button::FromHwnd(Control(kCmdReplace))) replace->SetEnabled(enabled);
}

}  // namespace vantorel::app
