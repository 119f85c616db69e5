// vbButton's persistence: every key is stored on every save, in a fixed order,
// and read back in the same order with its fallback.
#include "vbbutton/vbbutton.h"

namespace vantorel::controls {

void vbButton::OnInitNew() {
  props_ = vbButtonProps{};
  props_.caption = ambient().displayName;
  surface().SetEnabled(true);
  surface().SetFont(MakeFont(ambient().font));
  DeriveColors();
  props_.backColor = props_.backOver = colors_.face;
  props_.foreColor = props_.foreOver = colors_.text;
  props_.maskColor = 0x00C0C0C0;
  UpdateAccessKey();
  ApplyWindowText();
  ComputePictureSize();
  ComputeLayout();
}

void vbButton::OnReadProperties(const PropertyBag& bag) {
  const vbButtonProps d;
  vbButtonProps& p = props_;
  // Stored values are taken without their setters' side effects; values outside
  // their ranges are kept and drawn as such (no face, system colours, a centred
  // picture).
  p.buttonType = bag.ReadInt32(L"BTYPE", d.buttonType);
  p.caption = bag.ReadText(L"TX", L"");
  const bool enabled = bag.ReadBool(L"ENAB", true);
  FontDesc current = Font() ? Font()->Desc() : ambient().font;
  surface().SetFont(MakeFont(bag.ReadFont(L"FONT", current)));
  p.colorScheme = bag.ReadInt32(L"COLTYPE", d.colorScheme);
  p.showFocusRect = bag.ReadBool(L"FOCUSR", d.showFocusRect);
  p.backColor = bag.ReadColor(L"BCOL", GetSysColor(COLOR_BTNFACE));
  p.backOver = bag.ReadColor(L"BCOLO", p.backColor);
  p.foreColor = bag.ReadColor(L"FCOL", GetSysColor(COLOR_BTNTEXT));
  p.foreOver = bag.ReadColor(L"FCOLO", p.foreColor);
  p.maskColor = bag.ReadColor(L"MCOL", d.maskColor);
  // A pointer kind or picture the window refuses leaves it as it was.
  surface().SetMousePointer(bag.ReadInt16(L"MPTR", 0));
  surface().SetMouseIcon(bag.ReadPicture(L"MICON", nullptr));
  p.pictureNormal = bag.ReadPicture(L"PICN", nullptr);
  p.pictureOver = bag.ReadPicture(L"PICH", nullptr);
  p.useMaskColor = bag.ReadBool(L"UMCOL", d.useMaskColor);
  p.softBevel = bag.ReadBool(L"SOFT", d.softBevel);
  p.picturePosition = bag.ReadInt32(L"PICPOS", d.picturePosition);
  p.useGreyscale = bag.ReadBool(L"NGREY", d.useGreyscale);
  p.specialEffect = bag.ReadInt32(L"FX", d.specialEffect);
  // Read after the pointer keys, so it decides the pointer in the end. Loading
  // is not a change: the host is not told.
  p.handPointer = bag.ReadBool(L"HAND", d.handPointer);
  surface().SetMouseIcon(nullptr);
  surface().SetMousePointer(p.handPointer ? 99 : 1);
  p.checkBoxBehaviour = bag.ReadBool(L"CHECK", d.checkBoxBehaviour);
  p.value = bag.ReadBool(L"VALUE", d.value);

  surface().SetEnabled(enabled);
  normalPixels_.Reset();
  overPixels_.Reset();
  ComputePictureSize();
  ComputeLayout();
  UpdateAccessKey();
  ApplyWindowText();
}

void vbButton::OnWriteProperties(PropertyBag& bag) const {
  const vbButtonProps& p = props_;
  bag.Write(L"BTYPE", p.buttonType);
  bag.Write(L"TX", p.caption);
  bag.Write(L"ENAB", Enabled());
  bag.Write(L"FONT", Font() ? Font()->Desc() : ambient().font);
  bag.Write(L"COLTYPE", p.colorScheme);
  bag.Write(L"FOCUSR", p.showFocusRect);
  bag.WriteColor(L"BCOL", p.backColor);
  bag.WriteColor(L"BCOLO", p.backOver);
  bag.WriteColor(L"FCOL", p.foreColor);
  bag.WriteColor(L"FCOLO", p.foreOver);
  bag.WriteColor(L"MCOL", p.maskColor);
  bag.Write(L"MPTR", MousePointer());
  bag.Write(L"MICON", MouseIcon());
  bag.Write(L"PICN", p.pictureNormal);
  bag.Write(L"PICH", p.pictureOver);
  bag.Write(L"UMCOL", p.useMaskColor);
  bag.Write(L"SOFT", p.softBevel);
  bag.Write(L"PICPOS", p.picturePosition);
  bag.Write(L"NGREY", p.useGreyscale);
  bag.Write(L"FX", p.specialEffect);
  bag.Write(L"HAND", p.handPointer);
  bag.Write(L"CHECK", p.checkBoxBehaviour);
  bag.Write(L"VALUE", p.value);
}

}  // namespace vantorel::controls
