#include "host/font.h"

#include <cmath>

namespace vantorel::host {

Font::Font(FontDesc desc) : desc_(std::move(desc)) {}

Font::~Font() { Release(); }

void Font::Release() const {
  if (handle_) DeleteObject(handle_);
  handle_ = nullptr;
  handlePpi_ = 0;
}

void Font::SetDesc(FontDesc desc) {
  desc_ = std::move(desc);
  Release();
}

void Font::SetName(std::wstring name) {
  desc_.name = std::move(name);
  Release();
}

HFONT Font::Handle(int logPixelsY) const {
  if (handle_ && handlePpi_ == logPixelsY) return handle_;
  Release();
  LOGFONTW lf{};
  // A point size becomes a character height (negative: without internal leading).
  lf.lfHeight = -static_cast<LONG>(std::lrint(desc_.size * logPixelsY / 72.0));
  lf.lfWeight = desc_.weight;
  lf.lfItalic = desc_.italic;
  lf.lfUnderline = desc_.underline;
  lf.lfStrikeOut = desc_.strikethrough;
  lf.lfCharSet = static_cast<BYTE>(desc_.charset);
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  lstrcpynW(lf.lfFaceName, desc_.name.c_str(), LF_FACESIZE);
  handle_ = CreateFontIndirectW(&lf);
  handlePpi_ = logPixelsY;
  return handle_;
}

}  // namespace vantorel::host
