// Where new resources go in the section --add-sizes adds: shared by every
// run that writes a new resource tree there, whatever it holds.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "earlier_section.h"
#include "pe/pe_headers.h"
#include "files/reader.h"

namespace vantorel::engine {

// Lays out the section's new content (a resource tree first, then the data
// it names) with `lay_out`, which makes it for the address of its first
// byte, or returns null when it cannot. The content is laid out first for
// the place the program's resources have in the earlier section, and goes
// there only when it is the same bytes; otherwise again for the place
// ContentOffset gives, so nothing the program uses is written over. `at` is
// where it goes, counted from the section's start (the new section's when
// there is no earlier one).
const std::vector<uint8_t>* LayOutContent(const Reader& file, const PeHeaders& h, const EarlierSection& earlier,
                                          const std::function<const std::vector<uint8_t>*(uint32_t va)>& lay_out,
                                          int64_t& at);

}  // namespace vantorel::engine
