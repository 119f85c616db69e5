// The header CheckSum: the sum against a plain reading of its definition,
// and its update from the words a plan changes against a full recount, for
// plans of every shape.
#include <random>

#include "test_support.h"

namespace vantorel::engine::test {
namespace {

// The definition read plainly: the file's 16-bit little-endian words (a last
// odd byte as a word of its own), the CheckSum field's 4 bytes counting as
// zero, added with each carry folded back in; then the file's length added.
uint32_t ReferenceChecksum(const Bytes& b, int64_t field) {
  auto byte = [&](size_t i) -> uint32_t {
    bool in_field = field >= 0 && static_cast<int64_t>(i) >= field && static_cast<int64_t>(i) < field + 4;
    return i < b.size() && !in_field ? b[i] : 0;
  };
  uint32_t sum = 0;
  for (size_t i = 0; i < b.size(); i += 2) {
    sum += byte(i) | byte(i + 1) << 8;
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  return sum + static_cast<uint32_t>(b.size());
}

Bytes Noise(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  Bytes b(size);
  for (uint8_t& x : b) x = static_cast<uint8_t>(random() >> 24);
  return b;
}

TEST(Checksum, TheSumFollowsItsDefinition) {
  for (size_t size : {size_t{0}, size_t{1}, size_t{2}, size_t{9}, size_t{10}, size_t{4097}, size_t{70000}}) {
    for (int64_t field : {int64_t{-1}, int64_t{0}, int64_t{4}, int64_t{216}}) {
      // One byte more than is summed: a sum that reads past its end shows.
      Bytes held = Noise(size + 1, static_cast<uint32_t>(size));
      held[size] = 0xFF;
      Bytes b(held.begin(), held.end() - 1);
      EXPECT_EQ(PeChecksum(held.data(), size, field), ReferenceChecksum(b, field)) << size << " " << field;
    }
  }
}

uint32_t StoredChecksum(const BuiltPe& pe, const Bytes& b) { return Get32(b, pe.optional_header + 64); }

uint32_t FullChecksum(const BuiltPe& pe, const Bytes& b) { return ReferenceChecksum(b, pe.optional_header + 64); }

TEST(Checksum, KeptRightWithoutReadingTheWholeFile) {
  for (uint32_t free_bytes : {0u, 3001u}) {  // an odd tail makes the last word half a word
    PeOptions o = IconProgram({101, 333});
    o.free_after_data = free_bytes;
    o.appended = Bytes(free_bytes, 0x77);
    BuiltPe pe = BuildPe(o);
    Bytes b = pe.bytes;
    Put32(b, pe.optional_header + 64, FullChecksum(pe, b));
    // Odd sizes put the image's end and the group's entries at odd offsets.
    for (uint32_t size : {99u, 333u, 1201u}) {
      Replacement r = Replace(b, IconFile({Image(size, 7)}));
      if (free_bytes == 0 && size == 1201) {
        EXPECT_EQ(r.result, kNoRoom);
        continue;
      }
      ASSERT_EQ(r.result, 0) << r.failure;
      EXPECT_EQ(StoredChecksum(pe, r.after), FullChecksum(pe, r.after)) << size;
    }
  }
}

TEST(Checksum, ZeroStaysZero) {
  BuiltPe pe = BuildPe(IconProgram({800}));
  Replacement r = Replace(pe.bytes, IconFile({Image(700, 1)}));
  ASSERT_EQ(r.result, 0);
  EXPECT_EQ(StoredChecksum(pe, r.after), 0u);
}

// The sum is updated from the words the plan changes; when they add up to
// what was there (the same bytes again, or two words trading places), the
// stored checksum is right as it is: no write, and the plan says so.
TEST(Checksum, ASumThatComesOutTheSameIsNotRewritten) {
  BuiltPe pe = BuildPe(IconProgram({100}));
  Bytes b = pe.bytes;
  uint32_t at = pe.data_offset[0];  // a word boundary
  Put32(b, at, 0x22221111);
  int64_t field = pe.optional_header + 64;
  Put32(b, field, PeChecksum(b.data(), b.size(), field));
  MemoryFile file(b);
  ResourceSection section = Find_Resource_Tree(file, {});
  ASSERT_EQ(section.checksum_offset, field);

  struct Case {
    const char* what;
    Bytes bytes;
    bool updated;
  } cases[] = {
      {"the same bytes", Bytes{b[at], b[at + 1], b[at + 2], b[at + 3]}, false},
      {"two words swapped", Bytes{0x22, 0x22, 0x11, 0x11}, false},
      {"a word changed", Bytes{0x11, 0x11, 0x22, 0x23}, true},
  };
  for (const Case& c : cases) {
    WritePlan plan{{at, c.bytes, PlannedWrite::Kind::Image}};
    EXPECT_EQ(PlanChecksum(file, section, plan), c.updated) << c.what;
    ASSERT_EQ(plan.size(), c.updated ? 2u : 1u) << c.what;
    if (!c.updated) continue;
    EXPECT_EQ(plan[1].offset, field);
    Bytes after = b;
    std::copy(c.bytes.begin(), c.bytes.end(), after.begin() + at);
    uint32_t expected = PeChecksum(after.data(), after.size(), field);
    EXPECT_EQ(plan[1].bytes, (Bytes{uint8_t(expected), uint8_t(expected >> 8), uint8_t(expected >> 16),
                                    uint8_t(expected >> 24)}));
  }
}


// Plans of every shape, each checked against a full recount of the file the
// plan leaves: writes into the headers (beside and over the CheckSum field),
// at odd offsets, next to one another, over one another, and at the last odd
// byte of the file.
TEST(Checksum, TheUpdateEqualsAFullRecountForAnyPlan) {
  PeOptions o = IconProgram({101, 333});
  o.free_after_data = 3001;
  o.appended = Bytes(3001, 0x77);
  BuiltPe pe = BuildPe(o);
  int64_t field = pe.optional_header + 64;
  Bytes b = pe.bytes;
  Put32(b, field, ReferenceChecksum(b, field));
  MemoryFile file(b);
  ResourceSection section = Find_Resource_Tree(file, {});
  ASSERT_EQ(section.checksum_offset, field);
  ASSERT_EQ(b.size() % 2, 1u);

  auto write = [](int64_t at, Bytes bytes) { return PlannedWrite{at, std::move(bytes), PlannedWrite::Kind::Image}; };
  const int64_t last = static_cast<int64_t>(b.size()) - 1, data = pe.data_offset[0];
  std::vector<WritePlan> plans = {
      {write(field + 4, {1, 2})},
      {write(field - 2, {1, 2, 3, 4, 5, 6, 7, 8})},
      {write(field, {9, 9, 9, 9})},
      {write(data + 1, {1, 2, 3})},
      {write(data + 3, {0xF0, 0x0F})},
      {write(data, {1, 2}), write(data + 2, {3, 4})},
      {write(data + 2, {3, 4}), write(data, {1, 2})},
      {write(data + 4, {5, 6}), write(data + 4, {7, 8, 9}), write(data + 5, {10})},
      {write(last, {0x5A})},
      {write(last - 1, {0x01, 0x02})},
  };
  std::vector<PlannedWrite> many_on_one_word;
  for (uint8_t i = 0; i < 40; ++i) many_on_one_word.push_back(write(data + (i % 3), {i, uint8_t(i + 1)}));
  plans.push_back(many_on_one_word);
  std::mt19937 random(17);
  for (int n = 0; n < 300; ++n) {
    WritePlan plan;
    for (uint32_t w = 0, writes = 1 + random() % 6; w < writes; ++w) {
      size_t size = 1 + random() % 20;
      int64_t at = static_cast<int64_t>(random() % (b.size() - size + 1));
      plan.push_back(write(at, Noise(size, static_cast<uint32_t>(random()))));
    }
    plans.push_back(plan);
  }

  for (size_t p = 0; p < plans.size(); ++p) {
    WritePlan plan = plans[p];
    Bytes after = b;
    for (const PlannedWrite& w : plan) std::copy(w.bytes.begin(), w.bytes.end(), after.begin() + w.offset);
    uint32_t recount = ReferenceChecksum(after, field);
    bool updated = PlanChecksum(file, section, plan);
    ASSERT_EQ(updated, recount != Get32(b, field)) << "plan " << p;
    ASSERT_EQ(plan.size(), plans[p].size() + (updated ? 1 : 0)) << "plan " << p;
    if (!updated) continue;
    EXPECT_EQ(plan.back().offset, field) << "plan " << p;
    EXPECT_EQ(plan.back().bytes, (Bytes{uint8_t(recount), uint8_t(recount >> 8), uint8_t(recount >> 16),
                                        uint8_t(recount >> 24)}))
        << "plan " << p;
  }
}

// A program of 16 MiB and more keeps a checksum whose top byte is not zero.
TEST(Checksum, KeptRightPast16MiB) {
  PeOptions o = IconProgram({100, 100});
  o.appended = Noise(0x1000000, 3);
  BuiltPe pe = BuildPe(o);
  Bytes b = pe.bytes;
  Put32(b, pe.optional_header + 64, FullChecksum(pe, b));
  ASSERT_NE(b[pe.optional_header + 64 + 3], 0);
  Replacement r = Replace(b, IconFile({Image(99, 7)}));
  ASSERT_EQ(r.result, 0) << r.failure;
  EXPECT_EQ(StoredChecksum(pe, r.after), FullChecksum(pe, r.after));
}

// A file whose words under the plan cannot be read: no checksum write is
// made up, and the plan does not claim one.
TEST(Checksum, UnreadableWordsGiveNoUpdate) {
  class HeadersOnly : public MemoryFile {
   public:
    using MemoryFile::MemoryFile;
    bool ReadAt(int64_t offset, void* data, size_t size) const override {
      return offset < 0x200 && MemoryFile::ReadAt(offset, data, size);
    }
  };
  BuiltPe pe = BuildPe(IconProgram({100}));
  Bytes b = pe.bytes;
  Put32(b, pe.optional_header + 64, FullChecksum(pe, b));
  HeadersOnly file(b);
  ResourceSection section = Find_Resource_Tree(MemoryFile(b), {});
  WritePlan plan{{pe.data_offset[0], Bytes{1, 2, 3}, PlannedWrite::Kind::Image}};
  EXPECT_FALSE(PlanChecksum(file, section, plan));
  EXPECT_EQ(plan.size(), 1u);
}

}  // namespace
}  // namespace vantorel::engine::test
