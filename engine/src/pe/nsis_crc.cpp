// An NSIS installer's CRC-32, updated by what a plan changes.
//
// CRC-32 is affine over bit strings of one length: for a message whose stretch
// S becomes S', the CRC changes by crc(S) ^ crc(S') carried through the bytes
// that follow the stretch, which is what zlib's crc32_combine computes from
// their count alone. So the stored CRC is brought up to date from the bytes
// each write replaces, however large the installer's payload.
#include "nsis_crc.h"

#include <zlib.h>

#include <algorithm>
#include <exception>
#include <limits>
#include <vector>

#include "checksum.h"
#include "errors/failures.h"
#include "errors/guarded.h"
#include "files/little_endian.h"
#include "pe_layout.h"
#include "files/random_access_file.h"
#include "files/reader.h"
#include "writes/write_plan.h"
#include "vantorel/engine.h"

namespace vantorel::engine {
namespace {

constexpr uint32_t kNsisSignature = 0xDEADBEEF;
constexpr uint32_t kNsisInst[3] = {0x6C6C754E, 0x74666F73, 0x74736E49};  // "Null" "soft" "Inst"
constexpr int64_t kBlock = 512;

uint32_t Crc(uint32_t crc, const uint8_t* data, size_t size) {
  // zlib takes lengths as unsigned int: feed it in pieces it can count.
  while (size > 0) {
    auto piece = static_cast<uInt>(std::min<size_t>(size, std::numeric_limits<uInt>::max()));
    crc = static_cast<uint32_t>(crc32(crc, data, piece));
    data += piece;
    size -= piece;
  }
  return crc;
}

// The CRC change of one write, carried to the end of the covered stretch
// [kNsisCrcStart, end); 0 when it lies outside.
bool WriteChange(const RandomAccessFile& file, const PlannedWrite& w, int64_t end, uint32_t& change) {
  int64_t from = std::max(w.offset, kNsisCrcStart);
  int64_t to = std::min(w.offset + static_cast<int64_t>(w.bytes.size()), end);
  change = 0;
  if (from >= to) return true;
  std::vector<uint8_t> old(static_cast<size_t>(to - from));
  if (!file.ReadAt(from, old.data(), old.size())) return false;
  const uint8_t* now = w.bytes.data() + (from - w.offset);
  uint32_t stretch = Crc(0, old.data(), old.size()) ^ Crc(0, now, old.size());
  // The second CRC 0 makes crc32_combine a pure shift by the bytes that follow.
  if (end - to > std::numeric_limits<z_off_t>::max()) Raise(6);
  change = static_cast<uint32_t>(crc32_combine(stretch, 0, static_cast<z_off_t>(end - to)));
  return true;
}

}  // namespace

NsisHeader FindNsisHeader(const RandomAccessFile& file) {
  NsisHeader none;
  int64_t image_end = SectionsRawEnd(file);
  if (image_end <= 0) return none;
  int64_t at = (image_end + kBlock - 1) / kBlock * kBlock;
  try {
    Reader r(file, 0, file.Length());
    if (!r.Contains(at, kNsisFirstHeaderSize)) return none;
    uint32_t flags = r.U32(at);
    if ((flags & ~kNsisFlagsMask) != 0 || r.U32(at + 4) != kNsisSignature) return none;
    for (int i = 0; i < 3; ++i) {
      if (r.U32(at + 8 + 4 * i) != kNsisInst[i]) return none;
    }
    // The installer refuses a stretch longer than what follows the header;
    // the CRC it keeps lies after the first header, in the stretch's last 4 bytes.
    int64_t length = r.U32(at + 24);
    if (length > file.Length() - at) return none;
    NsisHeader found;
    found.offset = at;
    found.flags = flags;
    bool checked = (flags & kNsisForceCrc) != 0 || (flags & kNsisNoCrc) == 0;
    if (checked && length >= kNsisFirstHeaderSize + 4) found.crc_offset = at + length - 4;
    return found;
  } catch (const EngineError&) {
    return none;
  }
}

uint32_t NsisCrcOf(const uint8_t* data, size_t crc_offset) {
  if (crc_offset <= static_cast<size_t>(kNsisCrcStart)) return 0;
  return Crc(0, data + kNsisCrcStart, crc_offset - static_cast<size_t>(kNsisCrcStart));
}

InstallerCheck PlanInstallerCrc(const RandomAccessFile& file, const ResourceSection& section, WritePlan& plan) {
  NsisHeader header = FindNsisHeader(file);
  if (header.crc_offset < 0) return InstallerCheck::None;
  // The header's CheckSum counts the CRC, and the CRC would count the CheckSum.
  int64_t field = section.checksum_offset;
  uint8_t stored_checksum[4] = {};
  if (field >= kNsisCrcStart && field < header.crc_offset && file.ReadAt(field, stored_checksum, 4) &&
      (stored_checksum[0] | stored_checksum[1] | stored_checksum[2] | stored_checksum[3]) != 0) {
    return InstallerCheck::Conflict;
  }
  for (const PlannedWrite& w : plan) {
    // Only the program's own bytes are planned; one that reached the
    // installer's header or its CRC would be counted wrong.
    if (w.offset + static_cast<int64_t>(w.bytes.size()) > header.offset) return InstallerCheck::Conflict;
  }
  uint32_t change = 0;
  for (const PlannedWrite& w : plan) {
    uint32_t one = 0;
    if (!WriteChange(file, w, header.crc_offset, one)) Raise(9);
    change ^= one;
  }
  if (change == 0) return InstallerCheck::Kept;
  uint8_t stored[4];
  if (!file.ReadAt(header.crc_offset, stored, 4)) Raise(9);
  // The CRC lies after the program, in the installer's own stretch.
  GuardedPlan(plan, header.offset, file.Length())
      .Add(header.crc_offset, LeBytes(Le32(stored) ^ change, 4), PlannedWrite::Kind::InstallerCrc);
  return InstallerCheck::Updated;
}

int32_t PlanHeaderChecks(const RandomAccessFile& file, const ResourceSection& section,
                         const std::string& target_path, WritePlan& plan, bool& checksum, bool& installer_check,
                         std::string& failure_text) {
  InstallerCheck check = PlanInstallerCrc(file, section, plan);
  if (check == InstallerCheck::Conflict) {
    return Fail(kModifyFailed,
                target_path +
                    " is an NSIS installer whose own CRC check covers its header checksum, and each would change "
                    "the other: both cannot be kept right." + kUnchanged,
                failure_text);
  }
  installer_check = check != InstallerCheck::None;
  checksum = PlanChecksum(file, section, plan);
  return kSuccess;
}

}  // namespace vantorel::engine
