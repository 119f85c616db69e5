// Where Form1's controls go and how they look, in twips as the form stores
// them; pixels follow from the screen's logical resolution.
#pragma once

#include <windows.h>

#include <array>

namespace vantorel::app {

// Control identifiers, in tab order. The end-to-end driver finds the controls
// of the running program by these.
enum Form1Control : int {
  kLabel1 = 100,
  kTFile1,
  kLabel2,
  kTFile2,
  kCheck1,
  kCmdReplace,
  kVbButton1,
  kVbButton2,
  kOpen1,
  kOpen2,
};

enum class ControlKind { Label, TextField, CheckBox, Button };

// The two fonts of the controls; the window's own font is the third.
enum class ControlFont { PathRow, Small };

struct FontChoice {
  const wchar_t* name;
  int hundredths_of_points;
  int weight;
};
inline constexpr FontChoice kFormFont{L"Tahoma", 825, FW_NORMAL};
inline constexpr FontChoice kPathRowFont{L"Tahoma", 975, FW_BOLD};
inline constexpr FontChoice kSmallFont{L"Tahoma", 825, FW_BOLD};

struct ControlLayout {
  Form1Control id;
  const wchar_t* name;
  ControlKind kind;
  const wchar_t* text;
  int left, top, width, height;  // twips
  ControlFont font;
};

inline constexpr wchar_t kForm1Caption[] = L"Vantorel 1.1";
inline constexpr int kForm1ClientWidth = 6225;   // twips
inline constexpr int kForm1ClientHeight = 2340;  // twips

// Creation order is tab order: the dialog manager walks siblings in Z order.
inline constexpr std::array<ControlLayout, 10> kForm1Controls{{
    {kLabel1, L"Label1", ControlKind::Label, L"Exe File", 240, 240, 690, 240, ControlFont::PathRow},
    {kTFile1, L"tFile1", ControlKind::TextField, L"", 1320, 240, 2835, 360, ControlFont::PathRow},
    {kLabel2, L"Label2", ControlKind::Label, L"Icon File", 240, 720, 780, 240, ControlFont::PathRow},
    {kTFile2, L"tFile2", ControlKind::TextField, L"", 1320, 720, 2835, 360, ControlFont::PathRow},
    {kCheck1, L"Check1", ControlKind::CheckBox, L"Backup Before Replace", 120, 1920, 2745, 210, ControlFont::Small},
    {kCmdReplace, L"cmdReplace", ControlKind::Button, L"Replace", 1320, 1200, 1335, 375, ControlFont::Small},
    {kVbButton1, L"vbButton1", ControlKind::Button, L"Close", 2880, 1200, 1335, 375, ControlFont::Small},
    {kVbButton2, L"vbButton2", ControlKind::Button, L"About", 5040, 1800, 1095, 375, ControlFont::Small},
    {kOpen1, L"Open1", ControlKind::Button, L"Open File (.exe)", 4320, 240, 1575, 375, ControlFont::Small},
    {kOpen2, L"Open2", ControlKind::Button, L"Open File (.ico)", 4320, 720, 1575, 375, ControlFont::Small},
}};

const ControlLayout& LayoutOf(Form1Control id);

// The path field on a label's row.
constexpr Form1Control FieldOfLabel(Form1Control label) { return label == kLabel1 ? kTFile1 : kTFile2; }

// twips * ppi / 1440, rounded to the nearest pixel, ties to even.
int TwipsToWholePixels(int twips, int pixels_per_inch);

// A font's height for CreateFont: the character height in pixels, negative.
int FontHeight(const FontChoice& font, int pixels_per_inch);

HFONT CreateChosenFont(const FontChoice& font, int pixels_per_inch);

RECT PixelRect(const ControlLayout& control, POINT pixels_per_inch);

}  // namespace vantorel::app
