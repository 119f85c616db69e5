// --add-sizes on programs that cannot grow, and on files whose writes fail:
// refused or put back with a message that says so, never a byte lost.
#include <functional>

#include "add_sizes_support.h"

namespace vantorel::engine::test {
namespace {

// Refused with its number and a clear sentence; the file keeps every byte.
TEST(AddSizes, ProgramsThatCannotGrowAreRefused) {
  struct Case {
    const char* what;
    std::function<void(BuiltPe&)> make;
    int32_t result;
    const char* says;
    bool flat = false;  // laid out in the file as in memory
  } cases[] = {
      {"appended data", [](BuiltPe& pe) { pe.bytes.insert(pe.bytes.end(), 700, 0x5A); }, kAppendedData,
       "app.exe carries appended data after its last section"},
      {"debug data its debug directory names after the sections",
       [](BuiltPe& pe) {
         // One IMAGE_DEBUG_DIRECTORY in the resource section's padding,
         // naming 64 bytes of CodeView data at the end of the file.
         uint32_t at = (pe.data_end + 3) & ~3u;
         ASSERT_LE(at + 28, pe.rsrc_raw + pe.rsrc_raw_size);
         Put32(pe.bytes, pe.optional_header + 96 + 8 * 6, pe.rsrc_va + (at - pe.rsrc_raw));
         Put32(pe.bytes, pe.optional_header + 96 + 8 * 6 + 4, 28);
         Put32(pe.bytes, at + 12, 2);  // IMAGE_DEBUG_TYPE_CODEVIEW
         Put32(pe.bytes, at + 16, 64);
         Put32(pe.bytes, at + 24, static_cast<uint32_t>(pe.bytes.size()));
         pe.bytes.insert(pe.bytes.end(), {'R', 'S', 'D', 'S'});
         pe.bytes.resize(pe.bytes.size() + 60, 0x11);
       },
       kAppendedData, "app.exe carries debug data after its last section (CodeView, which its debug directory names"},
      {"a symbol table with data after it",
       [](BuiltPe& pe) {
         AddSymbolTable(pe, 2, 4);
         pe.bytes.push_back(1);
       },
       kAppendedData, "carries appended data"},
      {"a signature", [](BuiltPe& pe) { Put32(pe.bytes, pe.optional_header + 96 + 8 * 4 + 4, 16); }, kAppendedData,
       "app.exe is signed: its signature must stay at the end of the file"},
      {"no room in the headers", [](BuiltPe& pe) { pe.bytes[pe.section_table + 80 + 39] = 1; }, kNoSectionRoom,
       "has no room in its headers for one more section header"},
      {"the most sections a program may have", [](BuiltPe& pe) { pe = WithSections(pe, 65535); }, kNoSectionRoom,
       "has 65535 sections, the most a program may have"},
      // Zeros, but a data directory names them: the header would overwrite them.
      {"a bound-import table in the room", [](BuiltPe& pe) { NameInDirectory(pe, 11, HeadersEnd(pe) + 32, 8); },
       kNoSectionRoom, "has no room in its headers for one more section header"},
      {"headers one byte short of a section header",
       [](BuiltPe& pe) { Put32(pe.bytes, pe.optional_header + 60, HeadersEnd(pe) + 39); }, kNoSectionRoom,
       "has no room in its headers for one more section header"},
      {"a symbol table whose string table lies past the end",
       [](BuiltPe& pe) {
         AddSymbolTable(pe, 2, 4);
         Put32(pe.bytes, pe.e_lfanew + 4 + 12, 100);  // NumberOfSymbols: far past the file
       },
       kAppendedData, "carries appended data"},
      {"a file alignment of 128 KiB", [](BuiltPe& pe) { Put32(pe.bytes, pe.optional_header + 36, 0x20000); },
       kNoSectionRoom, "no usable section or file alignment"},
      {"a file a whole file alignment shorter than its sections",
       [](BuiltPe& pe) { pe.bytes.resize(pe.rsrc_raw + pe.rsrc_raw_size - 0x200); }, kNoSectionRoom,
       "is shorter than its section table says"},
      {"no resource directory entry", [](BuiltPe& pe) { Put32(pe.bytes, pe.optional_header + 92, 2); }, kNoSectionRoom,
       "has no resource directory entry"},
      {"a file alignment of 0", [](BuiltPe& pe) { Put32(pe.bytes, pe.optional_header + 36, 0); }, kNoSectionRoom,
       "no usable section or file alignment"},
      {"a last section named .vtrsrc holding the entry point, and no room in the headers",
       [](BuiltPe& pe) {
         std::copy(kAddedSectionName.begin(), kAddedSectionName.end(), pe.bytes.begin() + pe.rsrc_header);
         Put32(pe.bytes, pe.optional_header + 16, pe.rsrc_va);
         pe.bytes[pe.section_table + 80 + 39] = 1;
       },
       kNoSectionRoom, "though named .vtrsrc, is not one Vantorel added"},
      // New icons are numbered past every number the icons and groups use,
      // and none past #65535: the second of the two new ones here would wrap
      // to #0.
      {"icons #1 and #65534",
       [](BuiltPe& pe) {
         Put32(pe.bytes, pe.root + (Get32(pe.bytes, pe.type_dir_entries + 4) & 0x7FFFFFFF) + 24, 65534);
         Put16(pe.bytes, pe.data_offset[2] + 6 + 14 + 12, 65534);
       },
       kNoSectionRoom, "has no icon number left for its new icons"},
      {"icon #65535 and no group, which is made",
       [](BuiltPe& pe) {
         Put32(pe.bytes, pe.root + (Get32(pe.bytes, pe.type_dir_entries + 4) & 0x7FFFFFFF) + 24, 65535);
         Put32(pe.bytes, pe.type_dir_entries + 8, 15);
       },
       kNoSectionRoom, "has no icon number left for its new icons"},
      {"a group naming icon #65535, which is not there",
       [](BuiltPe& pe) { Put16(pe.bytes, pe.data_offset[2] + 6 + 14 + 12, 65535); }, kNoSectionRoom,
       "has no icon number left for its new icons"},
      {"laid out as in memory, the last section 2 MiB larger there",
       [](BuiltPe& pe) { Put32(pe.bytes, pe.rsrc_header + 8, pe.rsrc_raw_size + 0x200000); }, kNoSectionRoom,
       "would have to follow 2097152 bytes of zeros to lie at its address", true},
  };
  for (const Case& c : cases) {
    BuiltPe pe = c.flat ? FlatMapped(BuildPe(IconProgram({300, 500}))) : BuildPe(IconProgram({300, 500}));
    c.make(pe);
    Added r = AddSizes(pe.bytes, FourSizes());
    EXPECT_EQ(r.result, c.result) << c.what;
    EXPECT_NE(r.failure.find(c.says), std::string::npos) << c.what << ": " << r.failure;
    EXPECT_NE(r.failure.find("The target was not changed."), std::string::npos) << c.what;
    EXPECT_EQ(r.after, pe.bytes) << c.what;
  }
  // Trailing zeros short of one file alignment are padding, not data; a file
  // that lacks less than that of its last section's padding still grows, past
  // that padding.
  BuiltPe padded = BuildPe(IconProgram({300, 500}));
  padded.bytes.insert(padded.bytes.end(), 100, 0);
  EXPECT_EQ(AddSizes(padded.bytes, FourSizes()).result, 0);
  BuiltPe cut = BuildPe(IconProgram({300, 500}));
  ASSERT_EQ(cut.bytes.size(), cut.rsrc_raw + cut.rsrc_raw_size);
  cut.bytes.resize(cut.bytes.size() - 100);
  Added grown = AddSizes(cut.bytes, FourSizes());
  ASSERT_EQ(grown.result, 0) << grown.failure;
  EXPECT_EQ(Program(grown.after).sections.back().raw, cut.rsrc_raw + cut.rsrc_raw_size);
}

// A file whose append or any later write fails, or whose flush fails: it
// gets back its length and every byte, or says it may be damaged.
TEST(AddSizes, AFailureAnywhereLeavesTheFileAsItWas) {
  class Failing : public MemoryFile {
   public:
    Failing(Bytes b, int fail_at) : MemoryFile(std::move(b)), fail_at_(fail_at) {}
    bool Append(const void* data, size_t size) override {
      return writes_++ != fail_at_ && MemoryFile::Append(data, size);
    }
    bool WriteAt(int64_t offset, const void* data, size_t size) override {
      if (writes_++ == fail_at_) {
        MemoryFile::WriteAt(offset, data, size / 2);  // torn
        return false;
      }
      return MemoryFile::WriteAt(offset, data, size);
    }

   private:
    int writes_ = 0, fail_at_;
  };
  BuiltPe pe = BuildPe(IconProgram({300, 500}));
  Put32(pe.bytes, pe.optional_header + 64, PeChecksum(pe.bytes.data(), pe.bytes.size(), pe.optional_header + 64));
  // The append, then the section header, the count, SizeOfImage, the
  // directory and the checksum.
  for (int fail_at = 0; fail_at < 6; ++fail_at) {
    Failing file(pe.bytes, fail_at);
    AddSizesReport report;
    std::string failure;
    EXPECT_EQ(AddSizesIn(file, Images(FourSizes()), "app.exe", report, failure), kWriteFailed) << fail_at;
    EXPECT_EQ(failure, "Failed to write to app.exe. The target was left unchanged.") << fail_at;
    EXPECT_EQ(file.bytes(), pe.bytes) << "failing write " << fail_at;
  }
}

// What goes wrong after the append: a flush that fails leaves nothing that
// says the file is whole again, so the message never says unchanged; reads
// of the grown file that fail stop the run before a header is written, and
// the append is taken back.
TEST(AddSizes, FailuresAfterTheAppendAreToldAsTheyAre) {
  class Flaky : public MemoryFile {
   public:
    Flaky(Bytes b, bool append_fails, bool flush_fails, bool grown_reads_fail)
        : MemoryFile(std::move(b)), append_fails_(append_fails), flush_fails_(flush_fails),
          grown_reads_fail_(grown_reads_fail), length_(Length()) {}
    bool Append(const void* data, size_t size) override {
      return !append_fails_ && MemoryFile::Append(data, size);
    }
    bool ReadAt(int64_t offset, void* data, size_t size) const override {
      return !(grown_reads_fail_ && Length() > length_) && MemoryFile::ReadAt(offset, data, size);
    }
    bool Flush() override { return !flush_fails_; }

   private:
    bool append_fails_, flush_fails_, grown_reads_fail_;
    int64_t length_;
  };
  struct Case {
    const char* what;
    bool append_fails, flush_fails, grown_reads_fail;
    bool unchanged;  // what the message may say
  } cases[] = {
      {"the append fails, then the flush", true, true, false, false},
      {"every flush fails", false, true, false, false},
      {"the grown file cannot be read", false, false, true, true},
  };
  BuiltPe pe = BuildPe(IconProgram({300, 500}));
  for (const Case& c : cases) {
    Flaky file(pe.bytes, c.append_fails, c.flush_fails, c.grown_reads_fail);
    AddSizesReport report;
    std::string failure;
    EXPECT_EQ(AddSizesIn(file, Images(FourSizes()), "app.exe", report, failure), kWriteFailed) << c.what;
    EXPECT_EQ(failure, c.unchanged ? "Failed to write to app.exe. The target was left unchanged."
                                   : "Failed to write to app.exe. The target may be damaged; restore it from its "
                                     "backup.")
        << c.what;
    EXPECT_EQ(file.bytes(), pe.bytes) << c.what << ": the bytes themselves are put back";
  }
}

}  // namespace
}  // namespace vantorel::engine::test
