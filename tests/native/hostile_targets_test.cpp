// Targets crafted to break the engine: shared data entries, section pointers
// past the end of the file or over the headers, broken resources of other
// types, exceptions thrown midway. Failure numbers are written out as numbers.
#include <new>
#include <stdexcept>

#include "test_support.h"

namespace vantorel::engine::test {
namespace {

struct Planned {
  int32_t result = -1;
  std::string failure;
  ReplacementPlan plan;
  Bytes after;
};

Planned PlanOnly(const Bytes& target, const Bytes& icon_file) {
  Planned p;
  MemoryFile icon(icon_file);
  IconImage image;
  EXPECT_EQ(LoadFirstImage(icon, image), 0);
  MemoryFile file(target);
  p.result = ReplaceIconIn(file, image, "new.ico", "app.exe", p.failure, {}, &p.plan, true);
  p.after = file.bytes();
  return p;
}

TEST(SharedData, EachDataEntryIsPlannedOnce) {
  // 200 languages x 50 entries would be 10,000 group writes planned one per
  // language; the group holds 50.
  BuiltPe pe = SharedGroupData(50, 200);
  Planned p = PlanOnly(pe.bytes, IconFile({Image(40, 1)}));
  ASSERT_EQ(p.result, 0) << p.failure;
  EXPECT_EQ(p.plan.group_entries, 50);
  EXPECT_EQ(p.plan.icon_entries, 2);
  EXPECT_EQ(p.after, pe.bytes);

  Replacement r = Replace(pe.bytes, IconFile({Image(40, 1)}));
  ASSERT_EQ(r.result, 0) << r.failure;
  for (int e = 0; e < 50; ++e) EXPECT_EQ(Get32(r.after, pe.data_offset[2] + 6 + 14 * e + 8), 40u) << e;
}

TEST(SectionBounds, RawDataPastTheEndOrOverTheHeadersIsNoTree) {
  BuiltPe pe = BuildPe(IconProgram({64, 64}));
  Bytes icon = IconFile({Image(40, 1)});
  struct Case {
    const char* what;
    uint32_t raw;
  } cases[] = {{"raw pointer past the end of the file", 0xFFFFFF00u},
               {"raw data from offset 0, over the headers", 0},
               {"raw data inside the section table", pe.section_table + 8}};
  for (const Case& c : cases) {
    Bytes b = WithRawPointer(pe, c.raw, pe.e_lfanew);
    Replacement r = Replace(b, icon);
    EXPECT_EQ(r.result, 1004) << c.what;
    EXPECT_EQ(r.after, b) << c.what;
  }
}

TEST(SectionBounds, SizeOfHeadersIsPartOfTheHeaders) {
  BuiltPe pe = BuildPe(IconProgram({64, 64}));
  Bytes b = pe.bytes;
  Put32(b, pe.optional_header + 60, pe.rsrc_raw + 0x200);  // SizeOfHeaders past the section's start
  Replacement r = Replace(b, IconFile({Image(40, 1)}));
  EXPECT_EQ(r.result, 1004);
  EXPECT_EQ(r.after, b);
  Put32(b, pe.optional_header + 60, pe.rsrc_raw);  // ending right where it starts is fine
  EXPECT_EQ(Replace(b, IconFile({Image(40, 1)})).result, 0);
}

// A file that throws from ReadAt on its `throw_at`-th read.
class ThrowingFile : public MemoryFile {
 public:
  ThrowingFile(Bytes b, int throw_at, bool bad_alloc)
      : MemoryFile(std::move(b)), throw_at_(throw_at), bad_alloc_(bad_alloc) {}
  bool ReadAt(int64_t offset, void* data, size_t size) const override {
    if (reads_++ == throw_at_) {
      if (bad_alloc_) throw std::bad_alloc();
      throw std::runtime_error("disk on fire");
    }
    return MemoryFile::ReadAt(offset, data, size);
  }
  int reads() const { return reads_; }

 private:
  mutable int reads_ = 0;
  int throw_at_;
  bool bad_alloc_;
};

TEST(Exceptions, NoneLeavesAReplacementAndTheTargetStaysAsItWas) {
  BuiltPe pe = BuildPe(IconProgram({100, 100, 100}));
  Put32(pe.bytes, pe.optional_header + 64, 0x1234);  // a checksum to keep
  MemoryFile icon_file(IconFile({Image(300, 2)}));
  IconImage image;
  ASSERT_EQ(LoadFirstImage(icon_file, image), 0);
  ThrowingFile counting(pe.bytes, -1, false);
  std::string failure;
  ASSERT_EQ(ReplaceIconIn(counting, image, "new.ico", "app.exe", failure, {}), 0);
  for (bool bad_alloc : {true, false}) {
    for (int at = 0; at < counting.reads(); ++at) {
      ThrowingFile file(pe.bytes, at, bad_alloc);
      int32_t result = -1;
      EXPECT_NO_THROW(result = ReplaceIconIn(file, image, "new.ico", "app.exe", failure, {})) << at;
      EXPECT_NE(result, 0) << at;
      EXPECT_EQ(file.bytes(), pe.bytes) << at;
    }
  }
}

TEST(DamagedTable, AnImageThatFitsStillGoesInPlace) {
  PeOptions o = IconProgram({200, 200});
  o.resources.push_back({24, 1, 1033, Bytes(80, 'm')});  // a manifest
  BuiltPe pe = BuildPe(o);
  // The manifest type's name directory lies far outside the section.
  uint32_t manifest_type_entry = pe.type_dir_entries + 8 * 2;  // types 3, 14, 24
  ASSERT_EQ(Get32(pe.bytes, manifest_type_entry), 24u);
  Put32(pe.bytes, manifest_type_entry + 4, 0x80000000u | 0x7FFFF0);

  Replacement fits = Replace(pe.bytes, IconFile({Image(150, 1)}));
  ASSERT_EQ(fits.result, 0) << fits.failure;
  Bytes image = Image(150, 1).image;
  EXPECT_TRUE(std::equal(image.begin(), image.end(), fits.after.begin() + pe.data_offset[0]));

  Replacement larger = Replace(pe.bytes, IconFile({Image(300, 1)}));
  EXPECT_EQ(larger.result, 1007);
  EXPECT_NE(larger.failure.find("resource table is damaged"), std::string::npos) << larger.failure;
  EXPECT_EQ(larger.after, pe.bytes);
}

TEST(DamagedTable, AnImageThatWouldCoverTheIconTreeIsNotPutInPlace) {
  PeOptions o = IconProgram({200, 200});
  o.resources.push_back({24, 1, 1033, Bytes(80, 'm')});
  BuiltPe pe = BuildPe(o);
  Put32(pe.bytes, pe.type_dir_entries + 8 * 2 + 4, 0x80000000u | 0x7FFFF0);
  // The first image's data entry names the root directory itself.
  Put32(pe.bytes, pe.data_entry[0], pe.rsrc_va);
  Replacement r = Replace(pe.bytes, IconFile({Image(150, 1)}));
  EXPECT_NE(r.result, 0);
  EXPECT_EQ(r.after, pe.bytes);
}

}  // namespace
}  // namespace vantorel::engine::test
