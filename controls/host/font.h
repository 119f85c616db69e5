#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace vantorel::host {

// What a font object is made of; compared by value when a bag omits defaults.
struct FontDesc {
  std::wstring name = L"MS Sans Serif";
  double size = 8.25;  // points
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  int charset = 0;

  bool operator==(const FontDesc&) const = default;
};

// A font object shared by reference between a control and whoever set it. The GDI
// font is made on first use for a given resolution and remade after a change.
class Font {
 public:
  explicit Font(FontDesc desc);
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  const FontDesc& Desc() const { return desc_; }
  void SetDesc(FontDesc desc);
  void SetName(std::wstring name);

  HFONT Handle(int logPixelsY) const;

 private:
  void Release() const;

  FontDesc desc_;
  mutable HFONT handle_ = nullptr;
  mutable int handlePpi_ = 0;
};

using FontRef = std::shared_ptr<Font>;

inline FontRef MakeFont(FontDesc desc) { return std::make_shared<Font>(std::move(desc)); }

}  // namespace vantorel::host
