// The floor of an in-place icon replacement: the least I/O any tool must do.
// It reads the icon file's first image, reads the target's headers (its first
// 4 KiB), writes the image's bytes at the given file offset and fsyncs, as
// vantorel-cli does before it reports success. Nothing is parsed or checked
// beyond what the writing needs: this is a yardstick, not a tool. It uses the
// C library alone and is linked statically, so that starting it costs no more
// than starting any program: what it measures is the work no tool can avoid.
//
//   floor ICON TARGET OFFSET [datasync]   OFFSET in decimal or 0x-prefixed hex
//
// With datasync it ends with fdatasync instead of fsync: the bytes are as
// durable, and the journal commit for the file's times is left out. It is
// the lower of the two floors for a tool that syncs that way.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool ReadAll(int fd, void* data, size_t size, off_t offset) {
  auto* p = static_cast<char*>(data);
  while (size > 0) {
    ssize_t n = pread(fd, p, size, offset);
    if (n <= 0) return false;
    p += n, offset += n, size -= static_cast<size_t>(n);
  }
  return true;
}

bool WriteAll(int fd, const void* data, size_t size, off_t offset) {
  auto* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = pwrite(fd, p, size, offset);
    if (n <= 0) return false;
    p += n, offset += n, size -= static_cast<size_t>(n);
  }
  return true;
}

uint32_t U32(const unsigned char* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

int Fail(const char* what) {
  std::perror(what);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  bool datasync = argc == 5 && std::strcmp(argv[4], "datasync") == 0;
  if (argc != 4 && !datasync) {
    std::fprintf(stderr, "usage: floor ICON TARGET OFFSET [datasync]\n");
    return 2;
  }
  off_t offset = static_cast<off_t>(std::strtoll(argv[3], nullptr, 0));

  int icon = open(argv[1], O_RDONLY | O_CLOEXEC);
  if (icon < 0) return Fail(argv[1]);
  unsigned char dir[6 + 16];  // ICONDIR and its first entry
  if (!ReadAll(icon, dir, sizeof dir, 0)) return Fail("icon header");
  size_t size = U32(dir + 6 + 8);
  auto* image = static_cast<unsigned char*>(std::malloc(size ? size : 1));
  if (!image) return Fail("malloc");
  if (!ReadAll(icon, image, size, U32(dir + 6 + 12))) return Fail("icon image");
  close(icon);

  int target = open(argv[2], O_RDWR | O_CLOEXEC);
  if (target < 0) return Fail(argv[2]);
  unsigned char headers[4096];
  if (!ReadAll(target, headers, sizeof headers, 0)) return Fail("target headers");
  if (!WriteAll(target, image, size, offset)) return Fail("target write");
  if ((datasync ? fdatasync(target) : fsync(target)) != 0) return Fail("sync");
  if (close(target) != 0) return Fail("close");
  std::free(image);
  return 0;
}
