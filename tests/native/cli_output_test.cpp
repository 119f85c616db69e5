// vantorel-cli's reports line by line (--list and both dry runs), and the
// language numbers that --extract reads.
#include <cinttypes>
#include <sstream>

#include "cli_support.h"

namespace vantorel::cli::test {

// The tool is run on programs and icons made by the engine tests' builder.
using namespace engine;
using namespace engine::test;
namespace {

std::vector<std::string> SplitLines(const std::string& s) {
  std::vector<std::string> lines;
  std::istringstream in(s);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Hex(int64_t v) {
  char text[32];
  std::snprintf(text, sizeof text, "%#" PRIx64, static_cast<uint64_t>(v));
  return text;
}

TEST_F(CliTest, ListHasBothTablesUnderTheirHeadings) {
  Output o = Cli({"--list", target_});
  ASSERT_EQ(o.status, 0) << o.err;
  std::vector<std::string> lines = SplitLines(o.out);
  // Signed or not; the groups' heading, columns and one row per entry (2);
  // the images' heading, columns and one row per image (2).
  ASSERT_EQ(lines.size(), 9u) << o.out;
  EXPECT_EQ(lines[0], PathText(target_) + " is not signed.");
  EXPECT_EQ(lines[1], "Icon groups of " + PathText(target_) + ":");
  EXPECT_EQ(lines[5], "Icon images:");
  for (int row : {0, 1}) {
    std::string offset = Hex(pe_.data_offset[row]);
    // Each group entry ends with its image's file offset, and so does each image.
    EXPECT_EQ(lines[3 + row].substr(lines[3 + row].size() - offset.size()), offset) << lines[3 + row];
    EXPECT_EQ(lines[7 + row].substr(lines[7 + row].size() - offset.size()), offset) << lines[7 + row];
  }
}

TEST_F(CliTest, DryRunInPlaceSaysTheFirstImagesOwnRoom) {
  Output o = Cli({"--dry-run", icon_, target_});
  ASSERT_EQ(o.status, 0) << o.err;
  int64_t at = pe_.data_offset[0];
  EXPECT_EQ(o.out, "Dry run, nothing written: without --dry-run, " + PathText(target_) +
                       " would be changed as follows.\n" +
                       "The image of 744 bytes would go to file offset " + Hex(at) + " (RVA " +
                       Hex(pe_.rsrc_va + (at - pe_.root)) + "), in place: over the first icon image, within its own " +
                       "800 bytes.\n2 icon entries and 2 group-icon entries would describe it.\n"
                       "The header checksum stays as it is.\n");
}

TEST_F(CliTest, DryRunMovedSaysTheFreeStretch) {
  // 1,200 bytes fit neither old image (800 each); both, back to back from the
  // first one's start up to the group, do.
  WriteFileBytes(icon_, IconFile({Image(1200, 2)}));
  Output o = Cli({"--dry-run", icon_, target_});
  ASSERT_EQ(o.status, 0) << o.err;
  int64_t at = pe_.data_offset[0], room = pe_.data_offset[2] - pe_.data_offset[0];
  EXPECT_EQ(o.out, "Dry run, nothing written: without --dry-run, " + PathText(target_) +
                       " would be changed as follows.\n" +
                       "The image of 1200 bytes would go to file offset " + Hex(at) + " (RVA " +
                       Hex(pe_.rsrc_va + (at - pe_.root)) + "), moved: into free room of the resource data at that " +
                       "offset, spanning 1200 of the " + std::to_string(room) +
                       " free bytes of old icon images and padding there.\n"
                       "2 icon entries and 2 group-icon entries would describe it.\n"
                       "The header checksum stays as it is.\n");
}

IconFileEntry Square(uint32_t bytes, uint8_t seed, uint8_t side) {
  IconFileEntry s = Image(bytes, seed, side);
  s.bits = 32;
  s.colors = 0;
  return s;
}

TEST_F(CliTest, AllSizesDryRunHasTheDocumentedLines) {
  WriteFileBytes(icon_, IconFile({Square(300, 1, 16), Square(600, 2, 32)}));
  Output o = Cli({"--dry-run", "--all-sizes", icon_, target_});
  ASSERT_EQ(o.status, 0) << o.err;
  std::vector<std::string> lines = SplitLines(o.out);
  // Two lines of introduction, the columns, one row per icon (2), the count
  // and the checksum; no footnote and no substitutes.
  ASSERT_EQ(lines.size(), 7u) << o.out;
  EXPECT_EQ(lines[0], "Dry run, nothing written: without --dry-run, " + PathText(target_) +
                          " would be changed as follows.");
  EXPECT_EQ(lines[1], "Each icon image of the target would get an image of " + PathText(icon_) +
                          " (counted from 1):");
  EXPECT_EQ(lines[5], "2 distinct images would be written; 2 group-icon entries would describe them.");
  EXPECT_EQ(lines[6], "The header checksum stays as it is.");
}

TEST_F(CliTest, AllSizesDryRunNamesSubstitutesAndIconsNoGroupNames) {
  // 1,600 bytes of room hold the 16-pixel image (300) but not the 32 (1,400) beside it.
  WriteFileBytes(icon_, IconFile({Square(300, 1, 16), Square(1400, 2, 32)}));
  Output o = Cli({"--dry-run", "--all-sizes", icon_, target_});
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find("\nIcon #2 (language 1033) wants 32x32 32-bit; the room holds no image of that size with the "
                       "others, so it got image 1 (16x16 32-bit).\n"),
            std::string::npos)
      << o.out;
  EXPECT_EQ(o.out.find("* no group names"), std::string::npos) << o.out;

  // A third icon that the group does not list keeps its own old size, or,
  // when its old image's header says nothing, gets the icon file's first
  // image's: the note under the table says which.
  struct Third {
    bool header;
    const char* mark;
    const char* note;
  } thirds[] = {
      {true, "48x48 32-bit* ", "\n  * no group names this icon: the size is its old image's own\n"},
      {false, "16x16 32-bit** ",
       "\n  ** no group names this icon and its old image's header cannot be read: the size is the icon file's "
       "first image's\n"},
  };
  for (const Third& t : thirds) {
    PeOptions opts = IconProgram({800, 800, 800});
    opts.resources.back().data = GroupIcon({1, 2});
    if (t.header) {
      Bytes& old = opts.resources[2].data;
      Put32(old, 0, 40);
      Put32(old, 4, 48);
      Put32(old, 8, 96);
      Put16(old, 14, 32);
    }
    WriteFileBytes(target_, BuildPe(opts).bytes);
    WriteFileBytes(icon_, IconFile({Square(300, 1, 16), Square(600, 2, 32)}));
    o = Cli({"--dry-run", "--all-sizes", icon_, target_});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.out.find(t.mark), std::string::npos) << o.out;
    EXPECT_NE(o.out.find(t.note), std::string::npos) << o.out;
    EXPECT_EQ(o.out.find(t.header ? "**" : "  * no"), std::string::npos) << "only the note that applies: " << o.out;
  }
}

// --language takes a decimal or "0x" hexadecimal number of 32 bits; the
// failure to find group #7 repeats the number as it was read.
TEST_F(CliTest, LanguageNumbersAreReadExactly) {
  struct Case {
    const char* text;
    int64_t value;  // -1: refused
  } cases[] = {
      {"1033", 1033},
      {"0x409", 1033},
      {"0X409", 1033},
      {"0x5", 5},
      {"0xAF", 175},
      {"0xaf", 175},
      {"0xFFFFFFFF", 4294967295},
      {"4294967295", 4294967295},
      {"0000000012", 12},
      {"", -1},
      {"0x", -1},
      {"0xG", -1},
      {"12a", -1},
      {"-1", -1},
      {"4294967296", -1},
      {"0x100000000", -1},
      {"00000000012", -1},            // more than ten digits
      {"18446744073709552649", -1},  // 2^64 + 1033: must not wrap to 1033
  };
  for (const Case& c : cases) {
    Output o = Cli({"--extract", target_, dir_ / "x.ico", "--group", "7", "--language", c.text});
    if (c.value < 0) {
      EXPECT_EQ(o.status, 2) << c.text;
      EXPECT_EQ(o.err.rfind("vantorel-cli: --language takes a number\n", 0), 0u) << c.text << ": " << o.err;
    } else {
      EXPECT_EQ(o.status, 1) << c.text;
      EXPECT_NE(o.err.find(" in language " + std::to_string(c.value) + ". "), std::string::npos)
          << c.text << ": " << o.err;
    }
  }
}

// An NSIS-shaped target (a first header at the 512-byte boundary after the
// program, then the payload and its CRC): every way of changing it says that
// the installer's own check is kept, exactly when the installer keeps one.
TEST_F(CliTest, SaysWhenAnInstallersOwnCheckIsKept) {
  const std::string would = "The installer's own integrity check (NSIS CRC) would be updated.\n";
  const std::string was = "The installer's own integrity check (NSIS CRC) was updated.\n";
  const std::string places = "\nAn NSIS installer's icon images keep their places and sizes, where the uninstaller it "
                             "writes puts its own icon back.\n";
  for (uint32_t flags : {0u, 4u, 16u}) {  // check on; off; not a header
    PeOptions o = IconProgram({800, 800});
    Bytes tail(28 + 600 + 4, 0x5A);
    Put32(tail, 0, flags);
    Put32(tail, 4, 0xDEADBEEF);
    std::copy_n("NullsoftInst", 12, tail.begin() + 8);
    Put32(tail, 24, static_cast<uint32_t>(tail.size()));
    o.appended = tail;
    bool kept = flags == 0;
    for (std::vector<fs::path> options : {std::vector<fs::path>{"--dry-run"}, {"--dry-run", "--all-sizes"}, {},
                                          {"--all-sizes"}}) {
      WriteFileBytes(target_, BuildPe(o).bytes);
      options.insert(options.end(), {icon_, target_});
      Output out = Cli(options);
      ASSERT_EQ(out.status, 0) << out.err;
      bool dry = options.front() == "--dry-run";
      EXPECT_EQ(out.out.find(dry ? would : was) != std::string::npos, kept) << flags << " " << out.out;
      // Its icon images keep their places whether it checks itself or not.
      if (dry) {
        EXPECT_EQ(out.out.find(places) != std::string::npos, flags != 16) << flags << " " << out.out;
      }
      EXPECT_EQ(out.out.find(dry ? was : would), std::string::npos) << out.out;
      if (kept) {
        EXPECT_EQ(out.out.substr(out.out.size() - (dry ? would : was).size()), dry ? would : was);
      }
    }
  }
}

}  // namespace
// --add-sizes says what each icon gets, what each group gains, and how the
// file grows; a dry run changes nothing, and a program with appended data is
// refused with 1017, unchanged.
TEST_F(CliTest, AddSizesSaysWhatItAddsAndHowTheFileGrows) {
  WriteFileBytes(icon_, IconFile({Square(300, 1, 16), Square(600, 2, 32), Square(900, 3, 48)}));
  Output dry = Cli({"--dry-run", "--add-sizes", icon_, target_});
  ASSERT_EQ(dry.status, 0) << dry.err;
  EXPECT_EQ(ReadFileBytes(target_), pe_.bytes);
  Output run = Cli({"--add-sizes", icon_, target_});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "Changed the icon of " + PathText(target_) + ": 3 images of " +
                                                        PathText(icon_) + " in 2 icon resources, 1 group entries added");
  // The new section holds the tree and 1,800 bytes of images, in whole
  // 512-byte units of the file's alignment.
  size_t grown = ReadFileBytes(target_).size() - pe_.bytes.size();
  EXPECT_EQ(grown % 512, 0u);
  EXPECT_GT(grown, 1800u);
  const std::string length = std::to_string(pe_.bytes.size());
  for (const std::string& line :
       {"Dry run, nothing written: without --dry-run, " + PathText(target_) + " would be changed as follows.\n",
        std::string("Entries added to the icon groups (each names a new icon resource holding the image):\n"),
        std::string("  #1               1033 3: 48x48 32-bit                      #3\n"),
        std::string("A new section .vtrsrc would hold the resource tree and 3 images of the icon file.\n"),
        "The file would grow by " + std::to_string(grown) + " bytes at its end, from " + length + " to " +
            std::to_string(pe_.bytes.size() + grown) + "; nothing in it would move.\n"}) {
    EXPECT_NE(dry.out.find(line), std::string::npos) << line << " in:\n" << dry.out;
  }

  // Icon #3 (48 pixels) would show the 64-pixel image #2 shows too: it is
  // given the 20-pixel size the group lacks instead of a new icon.
  WriteFileBytes(icon_, IconFile({Square(300, 4, 16), Square(700, 5, 64), Square(200, 6, 20)}));
  Output reuse = Cli({"--dry-run", "--add-sizes", icon_, target_});
  ASSERT_EQ(reuse.status, 0) << reuse.err;
  EXPECT_NE(reuse.out.find("48x48 32-bit     3: 20x20 32-bit (reused)"), std::string::npos) << reuse.out;
  EXPECT_NE(reuse.out.find("  (reused) every group naming this icon shows its old image"), std::string::npos);
  EXPECT_EQ(reuse.out.find("Entries added"), std::string::npos) << reuse.out;

  // A signed program cannot grow after its signature, consent or not.
  Bytes signed_program = pe_.bytes;
  Put32(signed_program, pe_.optional_header + 96 + 8 * 4 + 4, 16);
  for (bool consent : {false, true}) {
    WriteFileBytes(target_, signed_program);
    std::vector<fs::path> args = {"--add-sizes", icon_, target_};
    if (consent) args.insert(args.begin(), "--allow-signed");
    Output signed_run = Cli(args);
    EXPECT_EQ(signed_run.status, 1) << consent;
    EXPECT_EQ(signed_run.err.rfind("error 1017: " + PathText(target_) + " is signed: its signature must stay", 0), 0u)
        << signed_run.err;
    EXPECT_EQ(ReadFileBytes(target_), signed_program) << consent;
  }

  Bytes appended = pe_.bytes;
  appended.insert(appended.end(), 1000, 'Z');
  WriteFileBytes(target_, appended);
  Output refused = Cli({"--add-sizes", icon_, target_});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err.rfind("error 1017: " + PathText(target_) + " carries appended data", 0), 0u) << refused.err;
  EXPECT_EQ(ReadFileBytes(target_), appended);
}

}  // namespace vantorel::cli::test
