// Guarded arithmetic: file offsets and RVAs are 32-bit signed, counts and
// indexes 16-bit signed, and any result out of range raises the overflow error
// instead of wrapping into a position somewhere else in the file.
#pragma once

#include <cstdint>
#include <exception>

namespace vantorel::engine {

// A run-time error raised inside an engine operation and trapped by it.
class EngineError : public std::exception {
 public:
  explicit EngineError(int32_t number) : number_(number) {}
  int32_t number() const { return number_; }
  const char* what() const noexcept override { return "engine error"; }

 private:
  int32_t number_;
};

[[noreturn]] inline void Raise(int32_t number) { throw EngineError(number); }

inline int32_t Add32(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_add_overflow(a, b, &r)) Raise(6);
  return r;
}

inline int32_t Sub32(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_sub_overflow(a, b, &r)) Raise(6);
  return r;
}

inline int32_t Mul32(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_mul_overflow(a, b, &r)) Raise(6);
  return r;
}

inline int16_t Add16(int16_t a, int16_t b) {
  int16_t r;
  if (__builtin_add_overflow(a, b, &r)) Raise(6);
  return r;
}

}  // namespace vantorel::engine
