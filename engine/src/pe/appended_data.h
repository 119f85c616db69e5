// What follows a program's sections: the debug data its debug directory
// names there, told from a payload by that directory alone.
#pragma once

#include <cstdint>
#include <string>

#include "pe_headers.h"
#include "files/reader.h"

namespace vantorel::engine {

// The kinds of the debug data the debug directory names at or after `end`
// (linkers that keep debug data in no section put it there), joined: "COFF
// symbols, CodeView"; empty when it names none there.
std::string DebugDataAfter(const Reader& r, const PeHeaders& h, int64_t end);

}  // namespace vantorel::engine
