// The optional header's CheckSum, kept right across a change: updated by
// exactly what the plan's writes change.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pe_layout.h"
#include "files/random_access_file.h"
#include "writes/write_plan.h"

namespace vantorel::engine {

// The optional header's CheckSum of a whole image, as Windows computes it.
uint32_t PeChecksum(const uint8_t* data, size_t size, int64_t checksum_offset);

// When the target keeps a checksum (not zero), adds the write that keeps it
// right after the plan's other writes. Returns whether it added one.
bool PlanChecksum(const RandomAccessFile& file, const ResourceSection& section, WritePlan& plan);

// As PlanChecksum, for the CheckSum field at `field` and a file that will be
// `new_length` bytes long: writes past the end add to it what they add.
bool PlanChecksumOf(const RandomAccessFile& file, int64_t field, WritePlan& plan, int64_t new_length);

}  // namespace vantorel::engine
