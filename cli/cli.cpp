#include "cli.h"

#include <algorithm>
#include <cinttypes>

#include "vantorel/engine.h"
#include "vantorel/version.h"

namespace vantorel::cli {
namespace {

using namespace vantorel::engine;

constexpr const char* kVersion = VANTOREL_VERSION;
// An NSIS installer checks its own bytes at start-up; the replacement keeps
// that check right, and says so.
constexpr const char* kInstallerCheckWouldBeKept = "The installer's own integrity check (NSIS CRC) would be updated.";
constexpr const char* kInstallerCheckKept = "The installer's own integrity check (NSIS CRC) was updated.";

constexpr const char* kUsage =
    "Usage: vantorel-cli [--backup] [--allow-signed] [--all-sizes] ICON TARGET\n"
    "       vantorel-cli --dry-run [--all-sizes] ICON TARGET\n"
    "       vantorel-cli --extract TARGET OUT.ico [--group NAME-OR-ID] [--language ID] [--force]\n"
    "       vantorel-cli --list TARGET\n"
    "       vantorel-cli --help | --version\n"
    "\n"
    "Gives the Windows program TARGET the first image of the icon file ICON, in place:\n"
    "every icon and icon group of TARGET then shows that image. Nothing is inserted,\n"
    "moved or resized, and data appended to the program stays where it is.\n"
    "\n"
    "  --backup   first copy TARGET to TARGET.bak, unless that file exists already;\n"
    "             if the copy cannot be made, TARGET is not touched\n"
    "  --dry-run  check everything and say what would be written, changing nothing\n"
    "  --allow-signed\n"
    "             change a signed program too (its signature will no longer be valid)\n"
    "  --all-sizes\n"
    "             give each icon of TARGET the image of ICON that best matches its size\n"
    "             (same size, then nearest bit depth; else the nearest larger; else the\n"
    "             largest), in the room of the old images; when that room is short,\n"
    "             16, 32, 48 and 256 pixels come first and the others get substitutes\n"
    "  --extract  write the images of one icon group of TARGET to the icon file OUT.ico\n"
    "             (the first group unless --group names one, in its first language\n"
    "             unless --language gives one); an existing OUT.ico is kept unless --force\n"
    "  --list     show TARGET's icon groups and icon images, and whether it is signed\n"
    "\n"
    "Exit status: 0 success, 1 failure, 2 wrong usage.\n";

struct Options {
  bool backup = false, list = false, help = false, version = false, dry_run = false, allow_signed = false;
  bool all_sizes = false, extract = false, force = false;
  GroupSelection group;
  bool group_given = false;
  std::vector<std::filesystem::path> operands;
  std::string error;
};

// A language number: decimal, or hexadecimal after "0x".
bool Parse_Language(const std::string& text, uint32_t& language) {
  bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  std::string digits = hex ? text.substr(2) : text;
  if (digits.empty() || digits.size() > 10) return false;
  uint64_t value = 0;
  for (char c : digits) {
    int d = c >= '0' && c <= '9' ? c - '0'
            : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
            : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                          : -1;
    if (d < 0) return false;
    value = value * (hex ? 16 : 10) + static_cast<uint64_t>(d);
  }
  if (value > 0xFFFFFFFFu) return false;
  language = static_cast<uint32_t>(value);
  return true;
}

// What the options given allow together; empty when they agree.
std::string Conflict(const Options& o) {
  bool changes = o.backup || o.allow_signed || o.all_sizes;
  bool extract_only = o.force || o.group_given || !o.group.any_language;
  if (o.list && (changes || o.dry_run || o.extract || extract_only)) return "--list goes alone with TARGET";
  if (o.extract && (changes || o.dry_run)) return "--extract goes with --group, --language and --force only";
  if (!o.extract && extract_only) return "--group, --language and --force go with --extract";
  if (o.dry_run && o.backup) return "--dry-run makes no backup";
  size_t want = o.list ? 1 : 2;
  if (o.operands.size() != want) {
    return o.list ? "--list takes one TARGET" : o.extract ? "expected TARGET and OUT.ico" : "expected ICON and TARGET";
  }
  return {};
}

Options Parse(const std::vector<std::filesystem::path>& args) {
  Options o;
  bool options_end = false;
  for (size_t i = 0; i < args.size() && o.error.empty(); ++i) {
    const auto& a = args[i];
    std::string s = Path_Text(a);
    if (options_end || s.size() < 2 || s[0] != '-') {
      o.operands.push_back(a);
    } else if (s == "--") {
      options_end = true;
    } else if (s == "--backup") {
      o.backup = true;
    } else if (s == "--dry-run") {
      o.dry_run = true;
    } else if (s == "--allow-signed") {
      o.allow_signed = true;
    } else if (s == "--list") {
      o.list = true;
    } else if (s == "--all-sizes") {
      o.all_sizes = true;
    } else if (s == "--extract") {
      o.extract = true;
    } else if (s == "--force") {
      o.force = true;
    } else if (s == "--group" || s == "--language") {
      if (++i == args.size()) {
        o.error = s + " needs a value";
      } else if (s == "--group") {
        o.group.group = Path_Text(args[i]);
        o.group_given = true;
        if (o.group.group.empty()) o.error = "--group needs a name or a number";
      } else {
        o.group.any_language = false;
        if (!Parse_Language(Path_Text(args[i]), o.group.language)) o.error = "--language takes a number";
      }
    } else if (s == "--help" || s == "-h") {
      o.help = true;
    } else if (s == "--version") {
      o.version = true;
    } else {
      o.error = "unknown option " + s;
    }
  }
  if (o.error.empty() && (o.help || o.version)) {
    // --help and --version take nothing else: an extra word is a mistake.
    if (args.size() != 1) o.error = std::string(o.help ? "--help" : "--version") + " goes alone";
  } else if (o.error.empty()) {
    o.error = Conflict(o);
  }
  return o;
}

WarningSink Print_Warnings(std::FILE* err) {
  return [err](const std::string& title, const std::string& text) {
    std::fprintf(err, "warning: %s: %s\n", title.c_str(), text.c_str());
  };
}

int Report_Failure(int32_t number, const std::string& text, std::FILE* err) {
  std::fprintf(err, "error %d: %s\n", static_cast<int>(number), text.c_str());
  return kExitFailed;
}

int List(const std::filesystem::path& target, std::FILE* out, std::FILE* err) {
  IconListing listing;
  std::string failure;
  int32_t result = List_Icons(target, listing, failure, Print_Warnings(err));
  if (result != kSuccess) return Report_Failure(result, failure, err);
  std::fprintf(out, "%s is %s.\n", Path_Text(target).c_str(),
               listing.is_signed ? "signed: changing it invalidates the signature" : "not signed");
  std::fprintf(out, "Icon groups of %s:\n", Path_Text(target).c_str());
  std::fprintf(out, "  %-12s %8s %6s %6s %6s %4s %10s %6s %12s\n", "group", "language", "width", "height",
               "colors", "bits", "bytes", "image", "file offset");
  for (const IconGroupEntry& g : listing.groups) {
    std::fprintf(out, "  %-12s %8u %6d %6d %6d %4d %10u %6u ", g.group.c_str(), g.language, g.width, g.height,
                 g.colors, g.bits, g.bytes, g.icon_id);
    if (g.file_offset >= 0) std::fprintf(out, "%#12" PRIx64 "\n", static_cast<uint64_t>(g.file_offset));
    else std::fprintf(out, "%12s\n", "-");
  }
  std::fprintf(out, "Icon images:\n");
  std::fprintf(out, "  %-12s %8s %10s %12s\n", "image", "language", "bytes", "file offset");
  for (const IconImageInfo& i : listing.images) {
    std::fprintf(out, "  %-12s %8u %10u ", i.name.c_str(), i.language, i.size);
    if (i.file_offset >= 0) std::fprintf(out, "%#12" PRIx64 "\n", static_cast<uint64_t>(i.file_offset));
    else std::fprintf(out, "%12s\n", "-");
  }
  return kExitOk;
}

int Preview(const std::filesystem::path& icon, const std::filesystem::path& target, std::FILE* out,
            std::FILE* err) {
  ReplacementPreview p;
  std::string failure;
  int32_t result = Preview_Change_Icon(icon, target, p, failure, Print_Warnings(err));
  if (result != kSuccess) return Report_Failure(result, failure, err);
  std::fprintf(out, "Dry run: %s would not be changed.\n", Path_Text(target).c_str());
  std::fprintf(out, "The image of %u bytes would go to file offset %#" PRIx64 " (RVA %#x), ", p.image_bytes,
               static_cast<uint64_t>(p.image_offset), p.image_rva);
  if (p.image_in_place) {
    std::fprintf(out, "in place: over the first icon image, within its own %" PRId64 " bytes.\n", p.room_bytes);
  } else {
    std::fprintf(out,
                 "moved: into free room of the resource data at that offset, spanning %u of the %" PRId64
                 " free bytes of old icon images and padding there.\n",
                 p.image_bytes, p.room_bytes);
  }
  std::fprintf(out, "%d icon entries and %d group-icon entries would describe it.\n", p.icon_entries,
               p.group_entries);
  std::fprintf(out, "%s\n", p.checksum ? "The header checksum would be updated." : "The header checksum stays as it is.");
  if (p.installer_check) std::fprintf(out, "%s\n", kInstallerCheckWouldBeKept);
  return kExitOk;
}

std::string Size_Text(int width, int height, int bits) {
  std::string text = std::to_string(width) + "x" + std::to_string(height);
  return bits ? text + " " + std::to_string(bits) + "-bit" : text;
}

// One line per icon image resource: what it wants, what it gets, and where.
void Print_Assignments(const AllSizesReport& report, std::FILE* out) {
  std::fprintf(out, "  %-12s %8s %-16s %-22s %10s %12s\n", "icon", "language", "size wanted", "image given", "bytes",
               "file offset");
  for (const SizeAssignment& a : report.icons) {
    std::string wanted = Size_Text(a.wanted_width, a.wanted_height, a.wanted_bits) + (a.wanted_by_group ? "" : "*");
    std::string given = std::to_string(a.image) + ": " + Size_Text(a.width, a.height, a.bits) +
                        (a.substitute ? " (substitute)" : "");
    std::fprintf(out, "  %-12s %8u %-16s %-22s %10u %#12" PRIx64 "\n", a.icon.c_str(), a.language, wanted.c_str(),
                 given.c_str(), a.bytes, static_cast<uint64_t>(a.file_offset));
  }
  bool orphans = std::any_of(report.icons.begin(), report.icons.end(),
                             [](const SizeAssignment& a) { return !a.wanted_by_group; });
  if (orphans) std::fprintf(out, "  * no group names this icon: the size is its old image's own\n");
}

void Print_Substitutes(const AllSizesReport& report, std::FILE* out) {
  for (const SizeAssignment& a : report.icons) {
    if (!a.substitute) continue;
    std::fprintf(out, "Icon %s (language %u) wants %s; the room holds no image of that size with the others, so it got image %d (%s).\n",
                 a.icon.c_str(), a.language, Size_Text(a.wanted_width, a.wanted_height, a.wanted_bits).c_str(),
                 a.image, Size_Text(a.width, a.height, a.bits).c_str());
  }
}

int Preview_All_Sizes(const std::filesystem::path& icon, const std::filesystem::path& target, std::FILE* out,
                      std::FILE* err) {
  AllSizesReport report;
  std::string failure;
  int32_t result = Change_Icon_All_Sizes(icon, target, report, failure, Print_Warnings(err), true);
  if (result != kSuccess) return Report_Failure(result, failure, err);
  std::fprintf(out, "Dry run: %s would not be changed.\n", Path_Text(target).c_str());
  std::fprintf(out, "Each icon image of the target would get an image of %s (counted from 1):\n",
               Path_Text(icon).c_str());
  Print_Assignments(report, out);
  Print_Substitutes(report, out);
  std::fprintf(out, "%d distinct images would be written; %d group-icon entries would describe them.\n",
               report.images_written, report.group_entries);
  std::fprintf(out, "%s\n", report.checksum ? "The header checksum would be updated." : "The header checksum stays as it is.");
  if (report.installer_check) std::fprintf(out, "%s\n", kInstallerCheckWouldBeKept);
  return kExitOk;
}

int Replace_All_Sizes(const std::filesystem::path& icon, const std::filesystem::path& target, std::FILE* out,
                      std::FILE* err) {
  AllSizesReport report;
  std::string failure;
  int32_t result = Change_Icon_All_Sizes(icon, target, report, failure, Print_Warnings(err));
  if (result != kSuccess) return Report_Failure(result, failure, err);
  std::fprintf(out, "Changed the icon of %s: %d images of %s in %zu icon resources\n", Path_Text(target).c_str(),
               report.images_written, Path_Text(icon).c_str(), report.icons.size());
  Print_Substitutes(report, out);
  if (report.installer_check) std::fprintf(out, "%s\n", kInstallerCheckKept);
  return kExitOk;
}

int Extract(const Options& o, std::FILE* out, std::FILE* err) {
  const auto& target = o.operands[0];
  const auto& ico = o.operands[1];
  std::error_code ec;
  if (std::filesystem::equivalent(target, ico, ec)) {
    return Report_Failure(kOutputFailed, Path_Text(ico) + " is the program itself. Nothing was written.", err);
  }
  ExtractedIcon extracted;
  std::string failure;
  int32_t result = Extract_Icon_Group(target, o.group, extracted, failure, Print_Warnings(err));
  if (result != kSuccess) return Report_Failure(result, failure, err);
  std::string why;
  switch (Write_New_File(ico, extracted.ico, o.force, why)) {
    case NewFileResult::Written:
      break;
    case NewFileResult::AlreadyExists:
      return Report_Failure(kOutputExists,
                            Path_Text(ico) + " exists already and was kept. Use --force to replace it.", err);
    case NewFileResult::Failed:
      return Report_Failure(kOutputFailed, "Could not write " + Path_Text(ico) + ". " + why, err);
  }
  std::fprintf(out, "Wrote %s: icon group %s (language %u) of %s, %d images\n", Path_Text(ico).c_str(),
               extracted.group.c_str(), extracted.language, Path_Text(target).c_str(), extracted.images);
  return kExitOk;
}

int Replace(const Options& o, std::FILE* out, std::FILE* err) {
  const auto& icon = o.operands[0];
  const auto& target = o.operands[1];
  bool is_signed = Is_Signed_Program(target);
  if (o.dry_run) {
    // A dry run changes nothing, so a signed target is described, not refused.
    int status = o.all_sizes ? Preview_All_Sizes(icon, target, out, err) : Preview(icon, target, out, err);
    if (is_signed) {
      std::fprintf(out, "%s is signed: changing it would invalidate its signature (--allow-signed).\n",
                   Path_Text(target).c_str());
    }
    return status;
  }
  if (!o.allow_signed && is_signed) {
    return Report_Failure(kSignedRefused,
                          Path_Text(target) +
                              " is signed; changing it would invalidate its signature. Use --allow-signed to change "
                              "it anyway. The target was not changed.",
                          err);
  }
  if (o.backup) {
    std::filesystem::path backup = Backup_Path(target);
    std::string why;
    switch (Make_Backup(target, backup, why)) {
      case BackupResult::Made:
        std::fprintf(out, "Backup written to %s\n", Path_Text(backup).c_str());
        break;
      case BackupResult::AlreadyExists:
        std::fprintf(out, "Backup %s exists already and was kept\n", Path_Text(backup).c_str());
        break;
      case BackupResult::Failed:
        return Report_Failure(kBackupFailed,
                              "Could not create the backup file " + Path_Text(backup) +
                                  ". The target was not changed. " + why,
                              err);
    }
  }
  if (o.all_sizes) return Replace_All_Sizes(icon, target, out, err);
  std::string failure;
  bool checked_installer = Is_Checked_Installer(target);
  int32_t result = Change_Icon(icon, target, failure, Print_Warnings(err));
  if (result != kSuccess) return Report_Failure(result, failure, err);
  std::fprintf(out, "Changed the icon of %s\n", Path_Text(target).c_str());
  if (checked_installer) std::fprintf(out, "%s\n", kInstallerCheckKept);
  return kExitOk;
}

}  // namespace

int Run(const std::vector<std::filesystem::path>& args, std::FILE* out, std::FILE* err) {
  Options o = Parse(args);
  if (!o.error.empty()) {
    std::fprintf(err, "vantorel-cli: %s\n%s", o.error.c_str(), kUsage);
    return kExitUsage;
  }
  if (o.help) {
    std::fputs(kUsage, out);
    return kExitOk;
  }
  if (o.version) {
    std::fprintf(out, "vantorel-cli %s\n", kVersion);
    return kExitOk;
  }
  if (o.list) return List(o.operands[0], out, err);
  return o.extract ? Extract(o, out, err) : Replace(o, out, err);
}

}  // namespace vantorel::cli
