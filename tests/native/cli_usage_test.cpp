// vantorel-cli's command line: each rule of usage, the words that say what is
// wrong, values after '=', "--", and names in any script.
#include <cstdlib>
#include <functional>

#include "arguments.h"
#include "cli_support.h"

namespace vantorel::cli::test {

using namespace engine;
using namespace engine::test;
namespace {

// Words of a case; these stand for files of the fixture.
constexpr const char* kIcon = "<icon>";
constexpr const char* kTarget = "<target>";
constexpr const char* kOut = "<out>";

TEST_F(CliTest, EachWrongUsageSaysWhatIsWrongInOneLine) {
  struct Case {
    std::vector<std::string> words;
    const char* line;
  } cases[] = {
      // Operands.
      {{}, "expected ICON and TARGET"},
      {{kIcon}, "expected ICON and TARGET"},
      {{kIcon, kTarget, "c"}, "expected ICON and TARGET"},
      {{"--all-sizes", kTarget}, "expected ICON and TARGET"},
      {{"--list"}, "--list takes one TARGET"},
      {{"--list", kIcon, kTarget}, "--list takes one TARGET"},
      {{"--extract", kTarget}, "expected TARGET and OUT.ico"},
      {{"--extract", kTarget, kOut, "c"}, "expected TARGET and OUT.ico"},
      {{"--make-icon", kIcon}, "expected PICTURE.png and OUT.ico"},
      {{"--make-icon", kIcon, kOut, "c"}, "expected PICTURE.png and OUT.ico"},
      // After "--" an option's name is an operand: three of them here.
      {{"--", "--backup", kIcon, kTarget}, "expected ICON and TARGET"},
      // Options that are not there, or that take no value.
      {{"--frobnicate", kIcon, kTarget}, "unknown option --frobnicate"},
      {{kIcon, kTarget, "-x"}, "unknown option -x"},
      {{"--back", kIcon, kTarget}, "unknown option --back"},
      {{"-1", kIcon, kTarget}, "unknown option -1"},
      {{"---x", kIcon, kTarget}, "unknown option ---x"},
      {{"-h=x"}, "unknown option -h=x"},
      {{"--frob=1", kIcon, kTarget}, "unknown option --frob=1"},
      {{"--backup=yes", kIcon, kTarget}, "--backup takes no value"},
      {{"--backup=false", kIcon, kTarget}, "--backup takes no value"},
      {{"--list=x", kTarget}, "--list takes no value"},
      // Values.
      {{"--extract", kTarget, kOut, "--group"}, "--group needs a value"},
      {{"--extract", kTarget, kOut, "--language"}, "--language needs a value"},
      {{"--extract", kTarget, kOut, "--group", ""}, "--group needs a name or a number"},
      {{"--extract", kTarget, kOut, "--group="}, "--group needs a name or a number"},
      {{"--extract", "--group=", kTarget, kOut}, "--group needs a name or a number"},
      {{"--extract", kTarget, kOut, "--language=en"}, "--language takes a number"},
      {{"--extract", kTarget, kOut, "--language", ""}, "--language takes a number"},
      {{"--extract", kTarget, kOut, "--language", "-1"}, "--language takes a number"},
      {{"--make-icon", kIcon, kOut, "--sizes"}, "--sizes needs a value"},
      {{"--make-icon", kIcon, kOut, "--sizes", "0"}, "--sizes takes sizes from 1 to 256 pixels, separated by commas (16,32,48,256)"},
      {{"--make-icon", kIcon, kOut, "--sizes=257"}, "--sizes takes sizes from 1 to 256 pixels, separated by commas (16,32,48,256)"},
      {{"--make-icon", kIcon, kOut, "--sizes", "16,,32"}, "--sizes takes sizes from 1 to 256 pixels, separated by commas (16,32,48,256)"},
      {{"--make-icon", kIcon, kOut, "--sizes", "16,"}, "--sizes takes sizes from 1 to 256 pixels, separated by commas (16,32,48,256)"},
      {{"--make-icon", kIcon, kOut, "--sizes", "16x"}, "--sizes takes sizes from 1 to 256 pixels, separated by commas (16,32,48,256)"},
      {{"--make-icon", kIcon, kOut, "--sizes", "0016"}, "--sizes takes sizes from 1 to 256 pixels, separated by commas (16,32,48,256)"},
      // Given twice, a value would hide the first: sizes are one list.
      {{"--make-icon", kIcon, kOut, "--sizes", "16", "--sizes", "32"}, "--sizes is given once, with every size in it (--sizes 16,32)"},
      {{"--make-icon", "--sizes=16", kIcon, kOut, "--sizes=16"}, "--sizes is given once, with every size in it (--sizes 16,32)"},
      // Which options go with which mode.
      {{"--dry-run", "--backup", kIcon, kTarget}, "--dry-run makes no backup"},
      {{"--backup", "--all-sizes", "--dry-run", kIcon, kTarget}, "--dry-run makes no backup"},
      {{"--list", "--backup", kTarget}, "--list goes alone with TARGET"},
      {{"--extract", "--list", kTarget}, "--list goes alone with TARGET"},
      {{"--extract", "--backup", kTarget, kOut}, "--extract goes with --group, --language and --force only"},
      {{"--extract", "--dry-run", kTarget, kOut}, "--extract goes with --group, --language and --force only"},
      {{"--extract", "--all-sizes", kTarget, kOut}, "--extract goes with --group, --language and --force only"},
      {{"--force", kIcon, kTarget}, "--force goes with --extract or --make-icon"},
      {{"--group", "1", kIcon, kTarget}, "--group and --language go with --extract"},
      {{"--language=1033", kIcon, kTarget}, "--group and --language go with --extract"},
      {{"--sizes", "16", kIcon, kTarget}, "--sizes goes with --make-icon"},
      {{"--extract", "--sizes=16", kTarget, kOut}, "--extract goes with --group, --language and --force only"},
      {{"--add-sizes", "--all-sizes", kIcon, kTarget}, "--add-sizes goes with --backup, --dry-run, --allow-signed, --set-version-string, --set-file-version, "
                                                    "--set-product-version, --set-requested-execution-level and --application-manifest only"},
      {{"--dry-run", "--all-sizes", "--add-sizes", kIcon, kTarget}, "--add-sizes goes with --backup, --dry-run, --allow-signed, --set-version-string, --set-file-version, "
                                                    "--set-product-version, --set-requested-execution-level and --application-manifest only"},
      {{"--make-icon", "--backup", kIcon, kOut}, "--make-icon goes with --sizes and --force only"},
      {{"--make-icon", "--all-sizes", kIcon, kOut}, "--make-icon goes with --sizes and --force only"},
      {{"--make-icon", "--group", "1", kIcon, kOut}, "--make-icon goes with --sizes and --force only"},
      {{"--make-icon", "--list", kIcon}, "--list goes alone with TARGET"},
      {{"--help", "extra"}, "--help goes alone"},
      {{"-h", "--list", kTarget}, "--help goes alone"},
      {{"--list", kTarget, "--version"}, "--version goes alone"},
  };
  const fs::path out = dir_ / "out.ico";
  for (const Case& c : cases) {
    std::vector<fs::path> args;
    for (const std::string& w : c.words) {
      args.push_back(w == kIcon ? icon_ : w == kTarget ? target_ : w == kOut ? out : fs::path(w));
    }
    Output o = Cli(args);
    EXPECT_EQ(o.status, 2) << c.line;
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, std::string("vantorel-cli: ") + c.line + "\nTry 'vantorel-cli --help' for more information.\n");
    EXPECT_EQ(ReadFileBytes(target_), pe_.bytes) << c.line;
    EXPECT_FALSE(fs::exists(BackupPath(target_))) << c.line;
    EXPECT_FALSE(fs::exists(out)) << c.line;
  }
}

TEST_F(CliTest, HelpGivesEveryOptionAnEntryOfItsOwn) {
  Output help = Cli({"--help"});
  ASSERT_EQ(help.status, 0);
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(Cli({"-h"}).out, help.out);
  // An entry starts a line, indented by two, with the option and its value's name.
  for (const char* entry : {"--backup ", "--dry-run ", "--allow-signed\n", "--all-sizes\n", "--extract ",
                            "--group NAME-OR-ID\n", "--language ID\n", "--make-icon\n", "--sizes N,N...\n",
                            "--force ", "--list ", "-h, --help ",
                            "--version "}) {
    EXPECT_NE(help.out.find(std::string("\n  ") + entry), std::string::npos) << entry;
  }
}

// Runs `body` with the fixture's folder as the current one, so that words
// can name its files without a leading folder.
void InFolder(const fs::path& folder, const std::function<void()>& body) {
  fs::path before = fs::current_path();
  fs::current_path(folder);
  body();
  fs::current_path(before);
}

TEST_F(CliTest, DoubleDashLetsAFileNameStartWithADash) {
  fs::copy_file(icon_, dir_ / "-new.ico");
  fs::copy_file(target_, dir_ / "--app.exe");
  InFolder(dir_.path(), [] {
    Output as_options = Cli({"-new.ico", "--app.exe"});
    EXPECT_EQ(as_options.status, 2);
    EXPECT_EQ(as_options.err.rfind("vantorel-cli: unknown option -new.ico\n", 0), 0u) << as_options.err;
    Output o = Cli({"--", "-new.ico", "--app.exe"});
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "Changed the icon of --app.exe\n");
    // Options still come before "--".
    EXPECT_EQ(Cli({"--list", "--", "--app.exe"}).status, 0);
  });
  EXPECT_NE(ReadFileBytes(dir_ / "--app.exe"), pe_.bytes);
}

TEST_F(CliTest, ValuesMayFollowAnEqualsSignAndTheLastOneCounts) {
  fs::path out = dir_ / "out.ico";
  Output o = Cli({"--extract", target_, out, "--group=#1", "--language=0x409"});
  ASSERT_EQ(o.status, 0) << o.err;
  // A group asked for twice: the later one is taken (#7 is not there).
  Output twice = Cli({"--extract", "--force", target_, out, "--group", "7", "--group=1"});
  EXPECT_EQ(twice.status, 0) << twice.err;
  Output later = Cli({"--extract", "--force", target_, out, "--group=1", "--group", "7"});
  EXPECT_EQ(later.err.rfind("error 1012: ", 0), 0u) << later.err;
  // A value is the next word, whatever it is: a group may be named "--force".
  Output named = Cli({"--extract", target_, out, "--group", "--force"});
  EXPECT_EQ(named.err.rfind("error 1012: ", 0), 0u) << named.err;
}

// Names in other scripts, and on POSIX names that are not UTF-8 at all,
// reach the engine as they were given and come back in its messages.
TEST_F(CliTest, FileNamesInAnyScriptWork) {
  std::vector<fs::path> names = {fs::path(u8"ícône Ω-画像.ico"), fs::path(u8"prógram-程序 😀.exe")};
#ifndef _WIN32
  names.push_back(fs::path(std::string("latin-\xE9t\xE9.exe")));  // ISO 8859-1, not UTF-8
#endif
  fs::path icon = dir_ / names[0];
  fs::copy_file(icon_, icon);
  for (size_t i = 1; i < names.size(); ++i) {
    fs::path target = dir_ / names[i];
    fs::copy_file(target_, target);
    Output o = Cli({icon, target});
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "Changed the icon of " + PathText(target) + "\n");
    EXPECT_NE(ReadFileBytes(target), pe_.bytes);
    fs::path out = fs::path(target).replace_extension(u8".ико");
    Output extracted = Cli({"--extract", target, out});
    ASSERT_EQ(extracted.status, 0) << extracted.err;
    EXPECT_TRUE(fs::exists(out));
  }
  fs::path missing = dir_ / fs::path(u8"nöt-there-ない.exe");
  Output o = Cli({"--list", missing});
  EXPECT_EQ(o.err.rfind("error 1000: Failed to open " + PathText(missing) + ". ", 0), 0u) << o.err;
}

// WTF-8, as the words of a Windows command line are read: UTF-8 for any
// well-formed UTF-16, and unpaired surrogates kept too (Windows names may
// hold them).
TEST(CliArguments, SixteenBitUnitsRoundTripThroughText) {
  struct Case {
    std::u16string units;
    std::string text;  // from the UTF-8 tables; a lone surrogate as its own three bytes
  } cases[] = {
      {u"", ""},
      {u"app.exe", "app.exe"},
      {u"\u00E4", "\xC3\xA4"},
      {u"\u07FF\u0800", "\xDF\xBF\xE0\xA0\x80"},
      {u"\uFFFF", "\xEF\xBF\xBF"},
      {u"\U0001F600", "\xF0\x9F\x98\x80"},
      {u"\U0010FFFF", "\xF4\x8F\xBF\xBF"},
      {u"a\xD800", "a\xED\xA0\x80"},
      {u"\xDC00z", "\xED\xB0\x80z"},
      {u"\xDBFF\xDBFF\xDFFF", "\xED\xAF\xBF\xF4\x8F\xBF\xBF"},  // a lone high, then a pair
      {u"\xDC00\xD800", "\xED\xB0\x80\xED\xA0\x80"},          // the wrong order is no pair
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cli::Wtf8FromUtf16(c.units), c.text) << c.text;
    EXPECT_EQ(cli::Utf16FromWtf8(c.text), c.units) << c.text;
  }
}

TEST(CliArguments, BytesThatAreNoSequenceReadAsReplacements) {
  struct Case {
    std::string text;
    std::u16string units;
  } cases[] = {
      {"\xFF", u"\uFFFD"},
      {"\xC0\x80", u"\uFFFD\uFFFD"},              // overlong
      {"\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD"},    // overlong
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
      {"a\xC3", u"a\uFFFD"},                      // cut short
      {"\xC3(", u"\uFFFD("},
  };
  for (const Case& c : cases) EXPECT_EQ(cli::Utf16FromWtf8(c.text), c.units);
}

TEST(CliArguments, EveryPathComesBackAsItWas) {
  std::vector<fs::path> paths = {fs::path(u8"ä/Ω 😀.exe"), fs::path("a=b"), fs::path("")};
#ifdef _WIN32
  paths.push_back(fs::path(std::wstring{L'x', wchar_t(0xD800), L'.', L'e'}));
#else
  paths.push_back(fs::path(std::string("\xFF\xFE.exe")));
#endif
  for (const fs::path& p : paths) EXPECT_EQ(cli::ArgumentPath(cli::ArgumentText(p)), p);
}

}  // namespace
}  // namespace vantorel::cli::test
