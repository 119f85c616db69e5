// A new file written whole, the platform's half (new_file_posix.cpp,
// new_file_win32.cpp): what the icon --extract and --make-icon write and the
// backup copy share. Its bytes go to a fresh temporary beside the name, which
// is flushed and only then takes the name, so a run stopped at any instant
// leaves the name as it was or holding the whole file, never part of it.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "vantorel/engine.h"

namespace vantorel::engine {

#ifdef _WIN32
using NativeFile = void*;  // a HANDLE
#else
using NativeFile = int;  // a file descriptor
#endif

// Writes the new file's bytes into the open temporary; false with the
// system's error (errno, GetLastError) set when it cannot.
using FillFile = std::function<bool(NativeFile)>;

// Writes `path` through a temporary that `fill` fills, created with `mode`
// (POSIX permission bits, less the umask; Win32 ignores it). Unless
// `replace`, an existing name is kept (AlreadyExists: the test and the naming
// are one step); with it, only a regular file of that name is replaced, never
// a device, pipe, socket or directory. `why` says what went wrong.
NewFileResult WriteThroughTemporary(const std::filesystem::path& path, const FillFile& fill, bool replace,
                                    std::string& why, unsigned mode = 0666);

}  // namespace vantorel::engine
