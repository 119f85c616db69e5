#include "cli.h"

#include <cinttypes>

#include "vantorel/engine.h"
#include "vantorel/version.h"

namespace vantorel::cli {
namespace {

using namespace vantorel::engine;

constexpr const char* kVersion = VANTOREL_VERSION;

constexpr const char* kUsage =
    "Usage: vantorel-cli [--backup] [--allow-signed] ICON TARGET\n"
    "       vantorel-cli --dry-run ICON TARGET\n"
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
    "  --list     show TARGET's icon groups and icon images, and whether it is signed\n"
    "\n"
    "Exit status: 0 success, 1 failure, 2 wrong usage.\n";

struct Options {
  bool backup = false, list = false, help = false, version = false, dry_run = false, allow_signed = false;
  std::vector<std::filesystem::path> operands;
  std::string error;
};

Options Parse(const std::vector<std::filesystem::path>& args) {
  Options o;
  bool options_end = false;
  for (const auto& a : args) {
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
    size_t want = o.list ? 1 : 2;
    if (o.list && (o.backup || o.dry_run || o.allow_signed)) o.error = "--list goes alone with TARGET";
    else if (o.dry_run && o.backup) o.error = "--dry-run makes no backup";
    else if (o.operands.size() != want) o.error = o.list ? "--list takes one TARGET" : "expected ICON and TARGET";
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
  return kExitOk;
}

int Replace(const Options& o, std::FILE* out, std::FILE* err) {
  const auto& icon = o.operands[0];
  const auto& target = o.operands[1];
  bool is_signed = Is_Signed_Program(target);
  if (o.dry_run) {
    // A dry run changes nothing, so a signed target is described, not refused.
    int status = Preview(icon, target, out, err);
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
  std::string failure;
  int32_t result = Change_Icon(icon, target, failure, Print_Warnings(err));
  if (result != kSuccess) return Report_Failure(result, failure, err);
  std::fprintf(out, "Changed the icon of %s\n", Path_Text(target).c_str());
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
  return o.list ? List(o.operands[0], out, err) : Replace(o, out, err);
}

}  // namespace vantorel::cli
