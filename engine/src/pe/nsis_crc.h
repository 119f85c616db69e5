// An NSIS installer's own integrity check, kept right across a replacement.
//
// An NSIS installer is its program (the "exehead") followed, at the first
// 512-byte boundary after the program's sections, by a first header: flags,
// the signature 0xDEADBEEF "NullsoftInst", the length of the main header and
// the length of everything from the first header on. Unless its flags turn the
// check off, the last 4 bytes of that stretch hold a CRC-32 (zlib's) of the
// file from offset 512 up to them, and the installer refuses to start when it
// does not match. Changing the icon changes covered bytes, so the stored CRC is
// updated by exactly what the plan changes: the payload is never read. The
// uninstaller it writes keeps a CRC of its own, compressed in the payload; the
// replacements leave every byte that one counts as it was (all_sizes.h).
#pragma once

#include <cstdint>
#include <string>

#include "pe_layout.h"
#include "files/random_access_file.h"
#include "writes/write_plan.h"


namespace vantorel::engine {

// Where the installer finds its first header and what it checks.
struct NsisHeader {
  int64_t offset = -1;      // the first header's file offset; -1: not an NSIS installer
  uint32_t flags = 0;
  int64_t crc_offset = -1;  // where the stored CRC-32 lies; -1: the installer keeps none
};

// The exehead reads itself in blocks of 512 bytes and leaves the first block
// out of the sum (it holds the headers that signing tools touch).
constexpr int64_t kNsisCrcStart = 512;
constexpr int64_t kNsisFirstHeaderSize = 28;
constexpr uint32_t kNsisFlagsMask = 15;  // uninstaller, silent, no CRC, forced CRC
constexpr uint32_t kNsisNoCrc = 4;
constexpr uint32_t kNsisForceCrc = 8;

// Reads the section table and the bytes at the first 512-byte boundary after
// the last section's raw data. Never throws: a file that is not an installer,
// or whose header names a stretch past the end of the file, gives `offset` -1.
NsisHeader FindNsisHeader(const RandomAccessFile& file);

// The CRC-32 the installer stores: zlib's crc32 over [kNsisCrcStart, crc_offset).
uint32_t NsisCrcOf(const uint8_t* data, size_t crc_offset);

enum class InstallerCheck {
  None,      // not an installer that checks itself: nothing to do
  Updated,   // the write that keeps its CRC right was added to the plan
  Kept,      // the plan changes no covered byte's value: the CRC stays right as it is
  Conflict,  // the header's CheckSum lies inside the CRC's stretch: both cannot be kept right
};

// Adds the write that keeps an NSIS installer's CRC right after `plan`, from
// the bytes each write replaces and its new bytes (read once, each write's
// stretch only). Run before the header checksum is planned, so that the
// checksum counts the new CRC too.
InstallerCheck PlanInstallerCrc(const RandomAccessFile& file, const ResourceSection& section, WritePlan& plan);

// The last step of every plan: the installer's CRC, then the header's
// CheckSum. 0, or 1006 when the two cannot both be kept right.
int32_t PlanHeaderChecks(const RandomAccessFile& file, const ResourceSection& section,
                         const std::string& target_path, WritePlan& plan, bool& checksum, bool& installer_check,
                         std::string& failure_text);

}  // namespace vantorel::engine
