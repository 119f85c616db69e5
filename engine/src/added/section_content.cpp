#include "section_content.h"

#include "pe/added_section.h"
#include "errors/guarded.h"

namespace vantorel::engine {

const std::vector<uint8_t>* LayOutContent(const Reader& file, const PeHeaders& h, const EarlierSection& earlier,
                                          const std::function<const std::vector<uint8_t>*(uint32_t va)>& lay_out,
                                          int64_t& at) {
  const int64_t va = earlier.header ? earlier.header->va : NewSectionPlace(h, file.end()).va;
  auto at_offset = [&](int64_t offset) {
    if (va + offset > INT32_MAX) Raise(6);
    at = offset;
    return lay_out(static_cast<uint32_t>(va + offset));
  };
  const std::vector<uint8_t>* content = at_offset(earlier.live_from);
  if (!content || !earlier.header) return content;
  const int64_t placed =
      ContentOffset(file, *earlier.header, earlier.live_from, earlier.live_to, *content, h.file_alignment);
  return placed == at ? content : at_offset(placed);
}

}  // namespace vantorel::engine
