// vantorel-cli's modes: what each does, and the table of modes and options
// at the end of this file, from which the command line is read, --help is
// written and the bash completion is made.
#include "modes.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "cli.h"
#include "option_values.h"
#include "reports.h"
#include "resource_reports.h"
#include "vantorel/version.h"

namespace vantorel::cli {
namespace {

using engine::PathText;

int Help(const CommandLine&, std::FILE* out, std::FILE*) {
  std::fputs(HelpText().c_str(), out);
  return kExitOk;
}

int Version(const CommandLine&, std::FILE* out, std::FILE*) {
  std::fprintf(out, "vantorel-cli %s\n", VANTOREL_VERSION);
  return kExitOk;
}

int ListTarget(const CommandLine& line, std::FILE* out, std::FILE* err) { return List(line.operands[0], out, err); }

// OUT.ico names the file to write. A folder of that name would be neither
// kept as an existing file nor replaced (not with --force either): it is
// refused first, with what to give instead.
bool RefusesFolder(const std::filesystem::path& ico, std::FILE* err) {
  std::error_code ec;
  if (!std::filesystem::is_directory(ico, ec)) return false;
  ReportFailure(engine::kOutputFailed,
                PathText(ico) + " is a folder: OUT.ico names the icon file to write, such as " +
                    PathText(ico / "icon.ico") + ". Nothing was written.",
                err);
  return true;
}

int Extract(const CommandLine& o, std::FILE* out, std::FILE* err) {
  const auto& target = o.operands[0];
  const auto& ico = o.operands[1];
  if (RefusesFolder(ico, err)) return kExitFailed;
  if (engine::IsSameFile(target, ico)) {
    return ReportFailure(engine::kOutputFailed, PathText(ico) + " is the program itself. Nothing was written.", err);
  }
  engine::ExtractedIcon extracted;
  std::string failure;
  int32_t result = engine::ExtractIconGroup(target, o.group, extracted, failure, PrintWarnings(err));
  if (result != engine::kSuccess) return ReportFailure(result, failure, err);
  std::string why;
  switch (engine::WriteNewFile(ico, extracted.ico, o.force, why)) {
    case engine::NewFileResult::Written:
      break;
    case engine::NewFileResult::AlreadyExists:
      return ReportFailure(engine::kOutputExists,
                           PathText(ico) + " exists already and was kept. Use --force to replace it.", err);
    case engine::NewFileResult::Failed:
      return ReportFailure(engine::kOutputFailed, "Could not write " + PathText(ico) + ". " + why, err);
  }
  std::fprintf(out, "Wrote %s: icon group %s (language %u) of %s, %d images\n", PathText(ico).c_str(),
               extracted.group.c_str(), extracted.language, PathText(target).c_str(), extracted.images);
  return kExitOk;
}

int MakeIcon(const CommandLine& o, std::FILE* out, std::FILE* err) {
  const auto& picture = o.operands[0];
  const auto& ico = o.operands[1];
  if (RefusesFolder(ico, err)) return kExitFailed;
  std::string failure;
  int32_t result = engine::MakeIconFile(picture, ico, o.sizes, o.force, failure, PrintWarnings(err));
  if (result == engine::kOutputExists) failure += " Use --force to replace it.";
  if (result != engine::kSuccess) return ReportFailure(result, failure, err);
  std::vector<int> sizes = o.sizes.empty() ? engine::StandardIconSizes() : o.sizes;
  std::sort(sizes.begin(), sizes.end());
  sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
  std::string list;
  for (int size : sizes) list += (list.empty() ? "" : ", ") + std::to_string(size);
  std::fprintf(out, "Wrote %s: %zu images (%s pixels) made from %s\n", PathText(ico).c_str(), sizes.size(),
               list.c_str(), PathText(picture).c_str());
  return kExitOk;
}

// The backup --backup asks for; false when it could not be made, and the
// target must then stay as it is.
bool BackUp(const std::filesystem::path& target, std::FILE* out, std::FILE* err) {
  std::filesystem::path backup = engine::BackupPath(target);
  std::string why;
  switch (engine::MakeBackup(target, backup, why)) {
    case engine::BackupResult::Made:
      std::fprintf(out, "Backup written to %s\n", PathText(backup).c_str());
      break;
    case engine::BackupResult::AlreadyExists:
      std::fprintf(out, "Backup %s exists already and was kept\n", PathText(backup).c_str());
      break;
    case engine::BackupResult::Failed:
      ReportFailure(engine::kBackupFailed,
                    "Could not create the backup file " + PathText(backup) + ". The target was not changed. " + why,
                    err);
      return false;
  }
  return true;
}

// What a mode changes in TARGET: the icon (plainly or with --add-sizes), the
// version and manifest alone, or both as one change.
enum class Change { kIcon, kAddSizes, kResources };

// ICON into TARGET, the version and manifest options, or both; or a dry run
// of it.
int ChangeTarget(const CommandLine& o, Change change, std::FILE* out, std::FILE* err) {
  const auto& icon = o.operands[0];
  const auto& target = o.operands.back();
  engine::IconMode mode = change == Change::kAddSizes ? engine::IconMode::kAddSizes
                          : o.all_sizes               ? engine::IconMode::kAllSizes
                                                      : engine::IconMode::kFirstImage;
  // A dry run changes nothing, so a signed target is described, not refused.
  // A program built without resources has no icon to give an image: a
  // picture, which asks for every size, gives it them as --add-sizes does; an
  // icon file is refused, with a line that says so.
  engine::IconRunOptions options{o.dry_run, !o.dry_run && !o.allow_signed, true};
  const bool resources = !o.edit.Empty() || !o.manifest_file.empty();
  // The icon alone: each file is opened once, and the run says what it found.
  if (change != Change::kResources && !resources && !o.backup) return RunIconMode(icon, target, mode, options, out, err);
  // A backup or a resource change comes between a look at the files and the
  // run: the mode that runs and the signature are known first.
  std::optional<engine::IconMode> icon_mode;
  bool is_signed = false;
  if (change == Change::kResources) {
    is_signed = engine::IsSignedProgram(target);
  } else {
    engine::IconRun seen = engine::ForeseeIconRun(icon, target, mode, options);
    if (seen.mode == engine::IconMode::kAddSizes && mode != engine::IconMode::kAddSizes) {
      PrintPictureAddsSizes(target, out);
    }
    icon_mode = mode = seen.mode;
    is_signed = seen.is_signed;
  }
  if (o.dry_run) {
    int status = ChangeResources(o, icon_mode, out, err);
    if (is_signed) {
      std::fprintf(out, "%s is signed: changing it would invalidate its signature (--allow-signed).\n",
                   PathText(target).c_str());
    }
    return status;
  }
  // Nothing can be added after a signature, with or without consent: the
  // engine's own refusal (1017) says so, rather than a hint to consent.
  if (options.refuse_signed && is_signed && mode != engine::IconMode::kAddSizes) return ReportSignedRefusal(target, err);
  if (o.backup && !BackUp(target, out, err)) return kExitFailed;
  if (resources) return ChangeResources(o, icon_mode, out, err);
  return RunIconMode(icon, target, mode, options, out, err);
}

int Replace(const CommandLine& line, std::FILE* out, std::FILE* err) {
  return ChangeTarget(line, Change::kIcon, out, err);
}

int AddSizes(const CommandLine& line, std::FILE* out, std::FILE* err) {
  return ChangeTarget(line, Change::kAddSizes, out, err);
}

int SetResources(const CommandLine& line, std::FILE* out, std::FILE* err) {
  return ChangeTarget(line, Change::kResources, out, err);
}

// The operands, and the files the completion offers for each. ICON may be a
// PNG picture as well as an icon file.
constexpr Operand kIcon{"ICON", "ico|png"};
constexpr Operand kTarget{"TARGET", "exe|dll|scr"};
constexpr Operand kOutIcon{"OUT.ico", "ico"};
constexpr Operand kPicture{"PICTURE.png", "png"};

// What sets the version information and the manifest, alone or beside the
// icon.
#define VANTOREL_RESOURCE_OPTIONS                                                          \
  "--set-version-string", "--set-file-version", "--set-product-version",                  \
      "--set-requested-execution-level", "--application-manifest"

constexpr ModeRow kModes[] = {
    {"--help", {}, {}, Help},
    {"--version", {}, {}, Version},
    {"--list", {kTarget}, {}, ListTarget},
    {"--get-version-string", {kTarget}, {}, PrintVersionString},
    {"--extract", {kTarget, kOutIcon}, {"--group", "--language", "--force"}, Extract},
    {"--make-icon", {kPicture, kOutIcon}, {"--sizes", "--force"}, MakeIcon},
    // Adding sizes fills the sizes a group has as --all-sizes does; the two
    // together would leave one of them unheeded, so they are refused.
    {"--add-sizes", {kIcon, kTarget}, {"--backup", "--dry-run", "--allow-signed", VANTOREL_RESOURCE_OPTIONS}, AddSizes},
    // The version and manifest options with TARGET alone.
    {nullptr,
     {kTarget},
     {"--backup", "--dry-run", "--allow-signed", VANTOREL_RESOURCE_OPTIONS},
     SetResources,
     {VANTOREL_RESOURCE_OPTIONS}},
    {nullptr, {kIcon, kTarget}, {"--backup", "--dry-run", "--allow-signed", "--all-sizes", VANTOREL_RESOURCE_OPTIONS},
     Replace},
};
#undef VANTOREL_RESOURCE_OPTIONS

constexpr OptionRow kOptions[] = {
    {.name = "--backup",
     .help = "first copy TARGET to TARGET.bak, unless that file exists already;\n"
             "if the copy cannot be made, TARGET is not touched",
     .flag = &CommandLine::backup},
    {.name = "--dry-run",
     .help = "check everything and say what a run without it would write, changing\n"
             "nothing (TARGET is opened for writing, as the run would open it);\n"
             "it makes no backup, so it does not go with --backup",
     .flag = &CommandLine::dry_run},
    {.name = "--allow-signed",
     .help = "change a signed program too (its signature will no longer be valid)",
     .flag = &CommandLine::allow_signed},
    {.name = "--all-sizes",
     .help = "give each icon of TARGET the image of ICON that best matches its size\n"
             "(same size, then nearest bit depth; else the nearest larger; else the\n"
             "largest), in the room of the old images; when that room is short,\n"
             "16, 32, 48 and 256 pixels come first and the others get substitutes",
     .flag = &CommandLine::all_sizes},
    {.name = "--add-sizes",
     .help = "give every icon group of TARGET every image of ICON: sizes a group\n"
             "has are filled as --all-sizes fills them, sizes it lacks are added,\n"
             "and a program without an icon gets one; the new resources go into\n"
             "one section at the end of the file, and nothing in it moves"},
    {.name = "--extract", .help = "write the images of one icon group of TARGET to the icon file OUT.ico"},
    {.name = "--group",
     .value = "NAME-OR-ID",
     .help = "with --extract, the group to take: a number (7 or #7) or a name\n"
             "(compared without regard to case); else the first group",
     .read = ReadGroup},
    {.name = "--language",
     .value = "ID",
     .help = "with --extract, the group's language: decimal, or hexadecimal after\n"
             "0x (1033 or 0x409); else the group's first language",
     .read = ReadLanguage},
    {.name = "--make-icon", .help = "write the icon file OUT.ico made from the PNG picture PICTURE.png"},
    // "--sizes 16 --sizes 32" reads as both sizes, but would make one.
    {.name = "--sizes",
     .value = "N,N...",
     .help = "with --make-icon, the sizes to make, 1 to 256 pixels; else the ones\n"
             "above",
     .read = ReadSizes,
     .once = "--sizes is given once, with every size in it (--sizes 16,32)"},
    {.name = "--force",
     .help = "with --extract or --make-icon, replace an existing OUT.ico (else it\n"
             "is kept); only a regular file is replaced, never a device or pipe",
     .flag = &CommandLine::force},
    {.name = "--set-version-string",
     .value = "KEY VALUE",
     .help = "set the version string KEY (CompanyName, FileDescription,\n"
             "ProductName, LegalCopyright, ..., or any other) to VALUE in every\n"
             "string table; may be given again; alone with TARGET, or beside ICON\n"
             "as one change, and so are the four options below",
     .read_pair = ReadVersionString},
    {.name = "--set-file-version",
     .value = "A.B.C.D",
     .help = "set the fixed file version (one to four numbers, 0 to 65535) and\n"
             "the FileVersion string, unless --set-version-string sets that",
     .read = ReadFileVersion},
    {.name = "--set-product-version",
     .value = "A.B.C.D",
     .help = "the same for the product version and the ProductVersion string",
     .read = ReadProductVersion},
    {.name = "--set-requested-execution-level",
     .value = "LEVEL",
     .help = "set the level the manifest asks for: asInvoker, highestAvailable or\n"
             "requireAdministrator (a manifest is made where there is none)",
     .read = ReadExecutionLevel},
    {.name = "--application-manifest",
     .value = "FILE",
     .help = "replace the manifest with FILE, which must be well-formed XML",
     .read = ReadManifestFile},
    {.name = "--get-version-string",
     .value = "KEY",
     .help = "print the value of the version string KEY (exit status 1 if none)",
     .read = ReadVersionKey},
    {.name = "--list",
     .help = "show TARGET's icon groups and icon images, whether it is signed,\n"
             "what it carries (an installer, an archive, a single-file program),\n"
             "and its version strings and requested execution level"},
    {.name = "--help", .alias = "-h", .help = "show this text"},
    {.name = "--version", .help = "show the version"},
};

constexpr const char* kForms[] = {
    "[--backup] [--allow-signed] [--all-sizes] ICON TARGET",
    "[--backup] [--allow-signed] --add-sizes ICON TARGET",
    "--dry-run [--all-sizes | --add-sizes] ICON TARGET",
    "--extract TARGET OUT.ico [--group NAME-OR-ID] [--language ID] [--force]",
    "--make-icon PICTURE.png OUT.ico [--sizes 16,32,48,256] [--force]",
    "--set-version-string KEY VALUE [--set-file-version A.B.C.D] [--set-product-version A.B.C.D] "
    "[--set-requested-execution-level LEVEL] [--application-manifest FILE] [--backup] [--dry-run] [--allow-signed] "
    "TARGET",
    "[--set-version-string KEY VALUE] [--set-file-version A.B.C.D] [--set-product-version A.B.C.D] "
    "[--set-requested-execution-level LEVEL] [--application-manifest FILE] [--backup] [--dry-run] [--allow-signed] "
    "[--all-sizes | --add-sizes] ICON TARGET",
    "--get-version-string KEY TARGET",
    "--list TARGET",
    "--help | --version",
};

constexpr bool HasRow(std::string_view name) {
  return std::any_of(std::begin(kOptions), std::end(kOptions), [name](const OptionRow& o) { return name == o.name; });
}

constexpr bool ModesNameOnlyOptionsWithRows() {
  for (const ModeRow& m : kModes) {
    if (m.option && !HasRow(m.option)) return false;
    if (!std::all_of(m.options.begin(), m.options.end(), HasRow)) return false;
  }
  return true;
}

// An option that picks no mode and goes with none would be read and then
// never looked at.
constexpr bool EveryOptionBelongsToAMode() {
  for (const OptionRow& o : kOptions) {
    std::string_view name = o.name;
    if (std::none_of(std::begin(kModes), std::end(kModes), [name](const ModeRow& m) {
          return (m.option && name == m.option) || std::count(m.options.begin(), m.options.end(), name) > 0;
        })) {
      return false;
    }
  }
  return true;
}

static_assert(ModesNameOnlyOptionsWithRows(), "a mode names an option that has no row");
static_assert(EveryOptionBelongsToAMode(), "an option picks no mode and goes with none");

}  // namespace

std::span<const ModeRow> Modes() { return kModes; }

std::span<const OptionRow> Options() { return kOptions; }

std::span<const char* const> Forms() { return kForms; }

const OptionRow* FindOption(const std::string& name) {
  for (const OptionRow& o : kOptions) {
    if (name == o.name) return &o;
  }
  return nullptr;
}

}  // namespace vantorel::cli
