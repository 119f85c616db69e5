// vantorel-cli with a PNG picture: as ICON in every mode, and --make-icon.
#include "cli_support.h"
#include "picture_support.h"

namespace vantorel::cli::test {
namespace {

using namespace engine;
using namespace engine::test;

class CliPictureTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    picture_ = dir_ / "logo.png";
    WriteFileBytes(picture_, WritePng(Flat(300, 200, 6, 8, false, {30, 60, 90, 255})));
    // Room for the 16, 32 and 48-pixel images the groups want.
    PeOptions o;
    for (uint16_t id = 1; id <= 3; ++id) o.resources.push_back({3, id, 1033, Bytes(12000, uint8_t(id))});
    o.resources.push_back({14, 1, 1033, SizedGroup({{16, 32, 1}, {32, 32, 2}, {48, 32, 3}})});
    roomy_ = BuildPe(o);
    WriteFileBytes(target_, roomy_.bytes);
  }
  // The sides the group entries of the target describe, in order.
  std::vector<int> GroupSides() {
    Bytes b = ReadFileBytes(target_);
    std::vector<int> sides;
    for (int i = 0; i < 3; ++i) sides.push_back(b[roomy_.data_offset[3] + 6 + 14 * i]);
    return sides;
  }
  fs::path picture_;
  BuiltPe roomy_;
};

// A PNG is an icon of every size: without --all-sizes each icon still gets
// the image of its own size, and the group entries describe them.
TEST_F(CliPictureTest, PictureAsIconGivesEverySize) {
  for (const std::vector<fs::path>& args : std::vector<std::vector<fs::path>>{
           {picture_, target_}, {"--all-sizes", picture_, target_}, {"--backup", picture_, target_}}) {
    WriteFileBytes(target_, roomy_.bytes);
    Output o = Cli(args);
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.out.find("Changed the icon of " + PathText(target_) + ": 3 images of " + PathText(picture_) +
                         " in 3 icon resources\n"),
              std::string::npos)
        << o.out;
    EXPECT_EQ(GroupSides(), (std::vector<int>{16, 32, 48}));
  }
  WriteFileBytes(target_, roomy_.bytes);
  Output dry = Cli({"--dry-run", picture_, target_});
  ASSERT_EQ(dry.status, 0) << dry.err;
  EXPECT_NE(dry.out.find("3 distinct images would be written"), std::string::npos) << dry.out;
  EXPECT_EQ(ReadFileBytes(target_), roomy_.bytes);
}

TEST_F(CliPictureTest, UnreadablePictureIsOneLineAndChangesNothing) {
  Bytes png = ReadFileBytes(picture_);
  png[45] ^= 1;  // inside the image data: its chunk's CRC no longer matches
  WriteFileBytes(picture_, png);
  for (const std::vector<fs::path>& args : std::vector<std::vector<fs::path>>{
           {picture_, target_}, {"--dry-run", picture_, target_}, {"--make-icon", picture_, dir_ / "out.ico"}}) {
    Output o = Cli(args);
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err.rfind("error 1016: the picture cannot be read: " + PathText(picture_) + " has a damaged chunk", 0),
              0u)
        << o.err;
    EXPECT_EQ(Lines(o.err), 1u) << o.err;
  }
  EXPECT_EQ(ReadFileBytes(target_), roomy_.bytes);
  EXPECT_FALSE(fs::exists(dir_ / "out.ico"));
}

TEST_F(CliPictureTest, MakeIconWritesTheSizesAskedAndKeepsWhatIsThere) {
  fs::path out = dir_ / "logo.ico";
  Output made = Cli({"--make-icon", picture_, out, "--sizes", "48,16,256,16"});
  ASSERT_EQ(made.status, 0) << made.err;
  EXPECT_EQ(made.out, "Wrote " + PathText(out) + ": 3 images (16, 48, 256 pixels) made from " + PathText(picture_) +
                          "\n");
  std::vector<int> sides;
  for (const ReadImage& image : ReadIcon(ReadFileBytes(out))) sides.push_back(image.width);
  EXPECT_EQ(sides, (std::vector<int>{16, 48, 256}));

  Bytes first = ReadFileBytes(out);
  Output again = Cli({"--make-icon", picture_, out});
  EXPECT_EQ(again.status, 1);
  EXPECT_EQ(again.err, "error 1014: " + PathText(out) + " exists already and was kept. Use --force to replace it.\n");
  EXPECT_EQ(ReadFileBytes(out), first);
  Output forced = Cli({"--make-icon", picture_, out, "--force"});
  ASSERT_EQ(forced.status, 0) << forced.err;
  EXPECT_EQ(ReadIcon(ReadFileBytes(out)).size(), 8u) << "the standard sizes";

  // A small picture is scaled up with a warning on stderr.
  WriteFileBytes(picture_, WritePng(Flat(20, 20, 2, 8, false, {1, 2, 3, 255})));
  Output small = Cli({"--make-icon", picture_, dir_ / "small.ico", "--sizes", "16,32"});
  ASSERT_EQ(small.status, 0) << small.err;
  EXPECT_EQ(small.err.rfind("warning: ", 0), 0u) << small.err;
  EXPECT_NE(small.err.find("32-pixel image, which is scaled up"), std::string::npos) << small.err;
}

// A folder named as OUT.ico is neither an icon file that was kept nor one
// --force replaces: the failure says it is a folder, and the folder stays.
TEST_F(CliPictureTest, AFolderAsOutIsRefusedAsAFolder) {
  const fs::path folder = dir_ / "icons";
  fs::create_directory(folder);
  for (const std::vector<fs::path>& args : std::vector<std::vector<fs::path>>{
           {"--make-icon", picture_, folder},
           {"--make-icon", "--force", picture_, folder},
           {"--extract", target_, folder},
           {"--extract", "--force", target_, folder}}) {
    Output o = Cli(args);
    EXPECT_EQ(o.status, 1) << PathText(args[0]);
    EXPECT_EQ(o.err, "error 1015: " + PathText(folder) +
                         " is a folder: OUT.ico names the icon file to write, such as " +
                         PathText(folder / "icon.ico") + ". Nothing was written.\n");
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(fs::is_empty(folder));
  }
}

// A program built without resources has no icon to give an image: a picture,
// which asks for every size, gives it one as --add-sizes does, and says so.
TEST_F(CliPictureTest, AProgramWithoutResourcesGetsThePictureAsAddSizesGivesIt) {
  PeOptions o = IconProgram({800});
  o.resource_section = false;
  const Bytes bare = BuildPe(o).bytes;
  WriteFileBytes(target_, bare);
  ASSERT_EQ(Cli({"--add-sizes", picture_, target_}).status, 0);
  const Bytes added = ReadFileBytes(target_);
  const std::string says =
      PathText(target_) + " has no resources: a picture gives it an icon of every size, as --add-sizes does.\n";
  for (std::vector<fs::path> args :
       {std::vector<fs::path>{}, {"--all-sizes"}, {"--dry-run"}, {"--dry-run", "--all-sizes"}}) {
    const bool dry = !args.empty() && args[0] == "--dry-run";
    args.insert(args.end(), {picture_, target_});
    WriteFileBytes(target_, bare);
    Output run = Cli(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind(says, 0), 0u) << run.out;
    EXPECT_EQ(ReadFileBytes(target_), dry ? bare : added) << dry;
  }
}

}  // namespace
}  // namespace vantorel::cli::test
