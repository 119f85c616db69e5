#pragma once

#include <string_view>

namespace vantorel::controls::vb {

// The access key a caption marks with an ampersand, lower-cased, or 0 for none.
// A doubled ampersand stands for a literal one; after such a pair only the next
// single ampersand can mark the key.
wchar_t AccessKeyOf(std::wstring_view caption);

}  // namespace vantorel::controls::vb
