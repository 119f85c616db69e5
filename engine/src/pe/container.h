// What a program carries besides its own code: an installer's or archive's
// payload, a single-file program's modules, or data of no known format after
// its sections. Told by the marks each format documents (engine.h); the table
// of what each mode does to them is container_facts.cpp.
#pragma once

#include <string>

#include "pe_headers.h"
#include "files/random_access_file.h"
#include "vantorel/engine.h"

namespace vantorel::engine {

// What `file`, a program whose headers are `h`, carries. Never throws: bytes
// that cannot be read hold no mark.
Container IdentifyContainer(const RandomAccessFile& file, const PeHeaders& h);

// What the program in `file` carries (less an unfinished tail of an earlier
// --add-sizes run, which the next run cuts off); None when it carries
// nothing recognised or cannot be read as a program.
Container ContainerOf(const RandomAccessFile& file);

// The sentence of --add-sizes' refusal (1017) of a container whose row
// refuses it, naming the container and what marked it.
std::string ContainerRefusal(const Container& container, const std::string& path);

}  // namespace vantorel::engine
