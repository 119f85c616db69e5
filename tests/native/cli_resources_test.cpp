// vantorel-cli's version and manifest options: what they refuse, what they
// set, and what --get-version-string, --list and --dry-run say.
#include "cli_support.h"

namespace vantorel::cli::test {
namespace {

TEST_F(CliTest, VersionAndManifestOptionsRefuseWrongUsage) {
  const fs::path t = target_;
  struct Case {
    std::vector<fs::path> args;
    std::string line;
  } cases[] = {
      // The VALUE is the next word, whatever it is: TARGET then is missing.
      {{"--set-version-string", "Key", t}, "expected TARGET, or ICON and TARGET"},
      {{t, "--set-version-string", "Key"}, "--set-version-string needs a KEY and a VALUE"},
      {{"--set-file-version", "1.2.3.4.5", t},
       "--set-file-version: a version number is one to four numbers from 0 to 65535 joined by dots (1.2.3.4), not "
       "\"1.2.3.4.5\""},
      {{"--set-product-version", "1.65536", t},
       "--set-product-version: a version number is one to four numbers from 0 to 65535 joined by dots (1.2.3.4), "
       "not \"1.65536\""},
      {{"--set-requested-execution-level", "admin", t},
       "--set-requested-execution-level takes asInvoker, highestAvailable or requireAdministrator"},
      {{"--set-file-version", "1", "--extract", t, "x.ico"}, "--extract goes with --group, --language and --force only"},
      {{"--set-file-version", "1"}, "expected TARGET, or ICON and TARGET"},
      {{"--get-version-string", "K", t, "--set-file-version", "1"}, "--get-version-string goes alone with TARGET"},
      {{"--set-file-version", "1", "--backup", "--dry-run", t}, "--dry-run makes no backup"},
  };
  const engine::test::Bytes before = engine::test::ReadFileBytes(target_);
  for (const Case& c : cases) {
    Output o = Cli(c.args);
    EXPECT_EQ(o.status, kExitUsage) << c.line;
    EXPECT_EQ(o.err, "vantorel-cli: " + c.line + "\nTry 'vantorel-cli --help' for more information.\n");
    EXPECT_EQ(engine::test::ReadFileBytes(target_), before) << c.line;
  }
}

TEST_F(CliTest, VersionStringsAreSetReadAndListed) {
  const fs::path t = target_;
  const fs::path manifest = dir_ / "app.manifest";
  const std::string text = "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\"/>";
  engine::test::WriteFileBytes(manifest, engine::test::Bytes(text.begin(), text.end()));
  engine::test::WriteFileBytes(dir_ / "broken.manifest", {'<', 'a'});
  struct Case {
    std::vector<fs::path> args;
    int status;
    std::string out_has;  // a line the output holds
  } cases[] = {
      {{"--get-version-string", "CompanyName", t}, kExitFailed, ""},
      {{"--dry-run", "--set-version-string", "CompanyName", "Vantorel", t}, kExitOk,
       "  version          0 000004b0  CompanyName                (none)                   \"Vantorel\"\n"},
      {{"--get-version-string", "CompanyName", t}, kExitFailed, ""},
      {{"--set-version-string", "CompanyName", "Vantorel", "--set-file-version", "1.2", t}, kExitOk,
       "Changed the version of " + t.string() + "\n"},
      {{"--get-version-string", "CompanyName", t}, kExitOk, "Vantorel\n"},
      {{"--get-version-string", "FileVersion", t}, kExitOk, "1.2\n"},
      {{"--application-manifest", dir_ / "broken.manifest", t}, kExitFailed, ""},
      {{"--application-manifest", manifest, "--set-requested-execution-level", "highestAvailable", icon_, t}, kExitOk,
       "Changed the icon and the manifest of " + t.string() + " as one change\n"},
      {{"--list", t}, kExitOk, "Requested execution level: highestAvailable\n"},
      {{"--list", t}, kExitOk, "         0 000004b0  CompanyName              \"Vantorel\"\n"},
  };
  for (const Case& c : cases) {
    const engine::test::Bytes before = engine::test::ReadFileBytes(target_);
    Output o = Cli(c.args);
    EXPECT_EQ(o.status, c.status) << c.args[0] << " " << o.err;
    EXPECT_NE(o.out.find(c.out_has), std::string::npos) << c.args[0] << "\n" << o.out;
    const bool changes = c.status == kExitOk && c.args[0] != "--dry-run" && c.args[0] != "--get-version-string" &&
                         c.args[0] != "--list";
    EXPECT_EQ(engine::test::ReadFileBytes(target_) != before, changes) << c.args[0];
  }
}

}  // namespace
}  // namespace vantorel::cli::test
