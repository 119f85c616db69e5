// Little-endian fields in byte buffers the engine builds or already holds in
// memory. Fields of a file are read through Reader, never through these.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantorel::engine {

// Writes the low `bytes` bytes of `value` at `at`.
inline void PutLe(std::vector<uint8_t>& b, size_t at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

// A field `bytes` long holding `value`.
inline std::vector<uint8_t> LeBytes(uint32_t value, int bytes) {
  std::vector<uint8_t> out(static_cast<size_t>(bytes));
  PutLe(out, 0, value, bytes);
  return out;
}

inline uint32_t Le32(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace vantorel::engine
