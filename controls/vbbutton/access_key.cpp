#include "vbbutton/access_key.h"

#include <cwctype>

namespace vantorel::controls::vb {

wchar_t AccessKeyOf(std::wstring_view caption) {
  if (caption.size() <= 1) return 0;
  std::size_t first = caption.find(L'&');
  if (first == std::wstring_view::npos || first + 1 >= caption.size()) return 0;
  if (caption[first + 1] != L'&') return static_cast<wchar_t>(std::towlower(caption[first + 1]));
  std::size_t next = caption.find(L'&', first + 2);
  if (next == std::wstring_view::npos || next + 1 >= caption.size() || caption[next + 1] == L'&') return 0;
  return static_cast<wchar_t>(std::towlower(caption[next + 1]));
}

}  // namespace vantorel::controls::vb
