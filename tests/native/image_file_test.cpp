// The program file as the engine opens it: reads and writes of any size at
// any offset inside it, none past its end, reads that see the writes and
// appends before them, and a failing read that ends.
#include "test_support.h"

namespace vantorel::engine::test {
namespace {

namespace fs = std::filesystem;

TEST(ImageFile, ReadsAndWritesOfOneByteToAll) {
  TempDir dir;
  Bytes bytes(5000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 13);
  WriteFileBytes(dir / "app.exe", bytes);
  {
    auto file = OpenImageFile(dir / "app.exe", Access::ReadWrite);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->Length(), 5000);
    uint8_t one = 0;
    ASSERT_TRUE(file->ReadAt(4999, &one, 1));
    EXPECT_EQ(one, bytes[4999]);
    Bytes all(5000);
    ASSERT_TRUE(file->ReadAt(0, all.data(), all.size()));
    EXPECT_EQ(all, bytes);
    // Nothing past the end: not one byte, not a range that crosses it.
    EXPECT_FALSE(file->ReadAt(5000, &one, 1));
    EXPECT_FALSE(file->ReadAt(4999, all.data(), 2));
    EXPECT_FALSE(file->WriteAt(5000, &one, 1));
    EXPECT_FALSE(file->WriteAt(4999, all.data(), 2));
    EXPECT_FALSE(file->WriteAt(-1, &one, 1));

    uint8_t x = 0xEE;
    ASSERT_TRUE(file->WriteAt(4999, &x, 1));
    ASSERT_TRUE(file->WriteAt(0, &x, 1));
    // What was read before is read again as written, and the file read
    // grows with what is appended.
    ASSERT_TRUE(file->ReadAt(4999, &one, 1));
    EXPECT_EQ(one, 0xEE);
    const uint8_t tail[2] = {1, 2};
    ASSERT_TRUE(file->Append(tail, 2));
    uint8_t end[3] = {};
    ASSERT_TRUE(file->ReadAt(4999, end, 3));
    EXPECT_EQ(Bytes(end, end + 3), (Bytes{0xEE, 1, 2}));
    EXPECT_TRUE(file->Flush());
  }
  bytes[0] = bytes[4999] = 0xEE;
  bytes.insert(bytes.end(), {1, 2});
  EXPECT_EQ(ReadFileBytes(dir / "app.exe"), bytes);
}

#ifndef _WIN32
// A file whose bytes cannot be read (see MemoryFileFailsToRead): the read
// fails, once, instead of trying again for ever.
TEST(ImageFile, AReadThatFailsEnds) {
  if (!MemoryFileFailsToRead()) GTEST_SKIP() << "no /proc/self/mem that fails to read";
  auto file = OpenImageFile("/proc/self/mem", Access::Read);
  if (!file) GTEST_SKIP() << "/proc/self/mem cannot be locked here";
  uint8_t byte;
  EXPECT_FALSE(file->ReadAt(0, &byte, 1));
}
#endif

}  // namespace
}  // namespace vantorel::engine::test
