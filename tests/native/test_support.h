// Shared helpers of the engine tests.
#pragma once

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include "errors/system_message.h"
#else
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#endif

#include <cerrno>

#include <string>
#include <utility>
#include <vector>

#include "pe/checksum.h"
#include "icons/icon_file.h"
#include "modes/icon_modes.h"
#include "icons/icon_tree.h"
#include "pe_builder.h"
#include "pe/pe_layout.h"
#include "files/random_access_file.h"
#include "vantorel/engine.h"
#include "writes/write_plan.h"

namespace vantorel::engine::test {

// Records the warnings an operation reports.
struct Warnings {
  std::vector<std::pair<std::string, std::string>> seen;
  WarningSink sink() {
    return [this](const std::string& title, const std::string& text) { seen.emplace_back(title, text); };
  }
};

inline std::string InUse(const std::string& lead_in) {
  return lead_in + " Please make sure neither of the specified files are in use.";
}

#ifndef _WIN32
// The Win32 codes the tables name beside POSIX's numbers, so that one table
// serves both builds.
constexpr unsigned long ERROR_FILE_NOT_FOUND = 2, ERROR_PATH_NOT_FOUND = 3, ERROR_SHARING_VIOLATION = 32;
#endif

// What each build says: the POSIX text, or the Win32 one.
inline std::string Either([[maybe_unused]] const std::string& posix, [[maybe_unused]] const std::string& win32) {
#ifdef _WIN32
  return win32;
#else
  return posix;
#endif
}

// The system's text for an error: strerror's for the POSIX number, the
// system's message for the Win32 code.
inline std::string SystemReason([[maybe_unused]] int posix_error, [[maybe_unused]] unsigned long win32_error) {
#ifdef _WIN32
  return SystemMessage(win32_error);
#else
  return std::strerror(posix_error);
#endif
}

// Failure 1000's text for a file that is not there: the fixed sentence, then
// the system's reason.
inline std::string MissingFileText(const std::string& path) {
  return "Failed to open " + path + ". Make sure file is not in use by another program. " +
         SystemReason(ENOENT, ERROR_FILE_NOT_FOUND);
}

// Runs the target half of a replacement on a memory image.
struct Replacement {
  int32_t result = -1;
  std::string failure;
  Warnings warnings;
  Bytes after;
};

inline Replacement Replace(const Bytes& target, const Bytes& icon_file) {
  Replacement r;
  MemoryFile icon(icon_file);
  IconImage image;
  EXPECT_TRUE(Is_Valid_Icon_File(icon));
  EXPECT_EQ(LoadFirstImage(icon, image), 0);
  MemoryFile file(target);
  r.result = ReplaceIconIn(file, image, "new.ico", "app.exe", r.failure, r.warnings.sink());
  r.after = file.bytes();
  return r;
}

#ifndef _WIN32
// The process's own memory file is a regular file whose offset 0 is never
// mapped: reading it fails with EIO. A file that cannot be read, made without
// privileges; false where /proc is not there or behaves otherwise.
inline bool MemoryFileFailsToRead() {
  int fd = open("/proc/self/mem", O_RDONLY);
  if (fd < 0) return false;
  char byte;
  bool fails = read(fd, &byte, 1) < 0 && errno == EIO;
  close(fd);
  return fails;
}
#endif

}  // namespace vantorel::engine::test
