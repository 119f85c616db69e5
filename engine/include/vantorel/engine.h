// Vantorel's icon replacement engine: the one header that the window, the
// command line and the tests include.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace vantorel::engine {

// Failure numbers of Change_Icon. The small ones are the platform's run-time
// error numbers, raised by guarded arithmetic and allocations.
enum Failure : int32_t {
  kSuccess = 0,
  kOverflow = 6,
  kOutOfMemory = 7,
  kSubscriptOutOfRange = 9,
  kOpenFailed = 1000,
  kNotWin32Executable = 1002,
  kNotIconFile = 1003,
  kNoResourceTree = 1004,
  kModifyFailed = 1006,
  kNoRoom = 1007,
  kWriteFailed = 1008,
  // Something the steps above do not foresee stopped the call (an exception
  // from the standard library); the target is as it was.
  kUnexpected = 1009,
  // Numbers of the callers' own failures, so that every failure line carries
  // one: the backup copy could not be made; a signed program was refused.
  kBackupFailed = 1010,
  kSignedRefused = 1011,
  // Taking an icon out of a program (--extract): the group asked for is not
  // there; its icons are missing or damaged; the output file exists already;
  // the output file could not be written.
  kNoSuchGroup = 1012,
  kGroupDamaged = 1013,
  kOutputExists = 1014,
  kOutputFailed = 1015,
  // A PNG given as the icon: it is damaged, cut short, declares no pixels or
  // more than a picture may have, or inflates to more than it declares.
  kPictureUnreadable = 1016,
  // Adding sizes and icons (--add-sizes) at the program's end: something
  // other than the COFF symbol table follows the last section (an installer's
  // payload, a signature), which must keep ending the file; the headers have
  // no room for one more section header, or no entry for the resource
  // directory, or no icon number is left for a new icon.
  kAppendedData = 1017,
  kNoSectionRoom = 1018,
};

// Receives the warnings that inner steps report before they give up
// (title, text). The window shows them as message boxes, the CLI prints them.
using WarningSink = std::function<void(const std::string& title, const std::string& text)>;

// ---- What a program carries: installers, archives, single-file programs --------
// Each is recognised by the marks its own format documents, never by a name:
// NSIS by its first header (0xDEADBEEF "NullsoftInst") at the first 512-byte
// boundary after the sections; Inno Setup by its loader's offset table
// ("rDlPtS") in RCDATA #11111; a 7-Zip self-extracting archive by a 7z
// signature header (its own CRC right) in the data after the sections; Bun by
// a section named .bun; a Node single executable by RCDATA "NODE_SEA_BLOB".

enum class ContainerKind {
  None,           // a program alone: nothing after its sections but zeros, COFF symbols or its signature
  Nsis,           // an NSIS installer that checks its own bytes
  NsisUnchecked,  // an NSIS installer built with its check off
  InnoSetup,
  SevenZipSfx,
  Bun,
  NodeSea,
  DebugData,    // debug data after the last section, which the debug directory names there
  UnknownData,  // data after the last section in no format recognised
};

// What a mode does to the check a container keeps of itself, or to the way it
// finds its payload again.
enum class CheckOutcome { Kept, Repaired, Refused };

// One row of the table of containers: its name, what it checks or finds of
// itself, and what the modes do to that. The replacements in place (plain,
// --all-sizes, a picture) and --add-sizes are the two kinds of mode.
struct ContainerFacts {
  ContainerKind kind;
  const char* name;   // "NSIS installer"
  const char* is;     // how a sentence says what the program is: "is an NSIS installer"
  const char* check;  // a clause: "it checks the CRC-32 of its bytes from offset 512"
  CheckOutcome in_place;
  const char* in_place_why;
  CheckOutcome add_sizes;  // Refused: ChangeIconAddSizes fails with 1017, its text naming the container
  const char* add_sizes_why;
};

struct Container {
  ContainerKind kind = ContainerKind::None;
  std::string seen;  // the marks found and where: "7z signature header at 0x29c00"
};

// The row of `kind`.
const ContainerFacts& FactsOf(ContainerKind kind);

// Replaces the icon of `target` with the first image of `icon`, in place.
// Returns 0 and leaves `failure_text` untouched on success; otherwise returns a
// failure number and puts its message in `failure_text`. Unless the result is
// 0 the target is byte-identical to what it was before the call (1008 says in
// its text when putting it back failed). No exception leaves it. A PNG
// picture as `icon` has no first image: each icon gets the image of its own
// size, as ChangeIconAllSizes gives them.
int32_t Change_Icon(const std::filesystem::path& icon, const std::filesystem::path& target,
                    std::string& failure_text, const WarningSink& warn = {});

// What the first-image replacement does, or with `plan_only` would do
// (RunIconMode).
struct ReplacementPreview {
  int64_t image_offset = -1;   // file offset where the new image would go
  uint32_t image_rva = 0;
  uint32_t image_bytes = 0;
  bool image_in_place = true;  // over the first icon image, within its own size
  int64_t room_bytes = 0;      // the free stretch the moved image goes into (old images and padding)
  int icon_entries = 0;        // icon data entries that would point at it
  int group_entries = 0;       // group-icon entries that would describe it
  bool checksum = false;       // whether the optional header's CheckSum would be updated
  bool installer_check = false;  // whether an NSIS installer's own CRC would be kept right
  // An NSIS installer, whose icon images keep their places (see
  // AllSizesReport): the image goes into each that holds it, the first at
  // image_offset (in_place: the first icon's), and `icon_entries` counts them;
  // group entries of the others name one of them.
  bool installer_places = false;
};

// Whether `target` carries a signature (a certificate table that is not
// empty): any change to the file would invalidate it. False when the file
// cannot be read as a program.
bool IsSignedProgram(const std::filesystem::path& target);


// What --list shows of a program's icons.
struct IconGroupEntry {
  std::string group;  // "#1" for a numbered resource, the name otherwise
  uint32_t language = 0;
  int width = 0, height = 0, colors = 0, bits = 0;
  uint32_t bytes = 0;
  uint16_t icon_id = 0;
  int64_t file_offset = -1;  // of the icon image the entry names; -1 when none is found
};

struct IconImageInfo {
  std::string name;
  uint32_t language = 0;
  uint32_t rva = 0, size = 0;
  int64_t file_offset = -1;
};

struct IconListing {
  bool is_signed = false;
  Container container;  // what the program carries
  std::vector<IconGroupEntry> groups;
  std::vector<IconImageInfo> images;
};

// Reads (never writes) the icon resources of `target`. Same failure numbers and
// texts as Change_Icon.
int32_t ListIcons(const std::filesystem::path& target, IconListing& listing,
                  std::string& failure_text, const WarningSink& warn = {});

// The running program's file name without its extension: the start of every
// warning's title.
std::string ProgramName();

// Text of a failure or error number, as the platform describes run-time errors.
std::string ErrorDescription(int32_t number);

// The path as the user gave it, for failure texts (UTF-8).
std::string PathText(const std::filesystem::path& path);

// ---- Every size of an icon file ---------------------------------------------

// What one icon image resource of the target gets.
struct SizeAssignment {
  std::string icon;  // "#3" for a numbered resource, the name otherwise
  uint32_t language = 0;
  // The size its first group entry describes; when no group names it, the
  // size its own old image says (wanted_by_group false).
  int wanted_width = 0, wanted_height = 0, wanted_bits = 0;
  bool wanted_by_group = true;
  // No group names it and its old image's header is unreadable: the wanted
  // size is the icon file's first image's.
  bool wanted_from_icon_file = false;
  int image = 0;  // which image of the icon file, counted from 1
  int width = 0, height = 0, bits = 0;
  uint32_t bytes = 0;
  int64_t file_offset = -1;
  uint32_t rva = 0;
  // Its best image did not fit in the room with the more important ones; it
  // got the best of the images that did.
  bool substitute = false;
  // (--add-sizes) Every group that names it shows its old image through
  // another entry too, so it was given a size its groups lacked instead of a
  // new icon being added.
  bool reused = false;
  // (An NSIS installer) Its place holds none of the images: it keeps its old
  // image (image 0), and its group entries name this icon instead.
  std::string shown_by;
};

struct AllSizesReport {
  std::vector<SizeAssignment> icons;  // in tree order, each data entry once
  int images_written = 0;             // distinct images of the icon file written
  int group_entries = 0;              // group-icon entries rewritten
  bool checksum = false;              // whether the header's CheckSum is updated
  bool installer_check = false;       // whether an NSIS installer's own CRC is kept right
  // An NSIS installer: its uninstaller's icon goes back where its icon images
  // lie, so each kept its place and size and only its bytes changed.
  bool installer_places = false;
};

// Gives each icon image resource of `target` the image of `icon` that best
// shows the size its group entries describe, and rewrites every group entry
// to describe the image its icon now points at (nID kept). The distinct
// images go into the room of the old icon images and unreferenced padding;
// nothing else moves. In an NSIS installer each icon gets the best image its
// own place holds instead, and the entries of one whose place holds none name
// another (installer_places). Same failures and promises as Change_Icon; with
// `plan_only` nothing is written and `report` says what would be.
int32_t ChangeIconAllSizes(const std::filesystem::path& icon, const std::filesystem::path& target,
                           AllSizesReport& report, std::string& failure_text, const WarningSink& warn = {},
                           bool plan_only = false);

// ---- Sizes and icons added: --add-sizes ---------------------------------------

// A group entry --add-sizes adds: the group, and the new icon resource that
// holds one image of the icon file.
struct AddedEntry {
  std::string group;  // "#1" or the quoted name
  uint32_t language = 0;
  bool new_group = false;  // the program had no icon group: this one is made
  int image = 0;           // which image of the icon file, counted from 1
  int width = 0, height = 0, bits = 0;
  uint16_t icon_id = 0;
};

struct AddSizesReport {
  std::vector<SizeAssignment> icons;  // the program's own icons, filled as --all-sizes fills them
  std::vector<AddedEntry> added;
  int images_written = 0;
  bool new_section = true;  // false: the section an earlier run added is used again
  std::string section_name;
  int64_t length_before = 0, length_after = 0;
  // Bytes at the end that a run stopped while it appended left unfinished,
  // cut off before the file grows (counted in length_before).
  int64_t tail_removed = 0;
  bool checksum = false;
};

// Gives every icon group of `target`, in every language, every image of
// `icon`: sizes the groups have are filled as ChangeIconAllSizes fills
// them, sizes they lack are added as new icon resources; a program with no
// icon group gets group #1. Nothing in the file moves or changes: the new
// resource tree, images and groups go into one section added after the last
// (or the one an earlier run added), at the end of the file, and only the
// header fields that name it change (section count, the section header,
// SizeOfImage, the resource directory, the checksum). A run stopped at any
// instant leaves a program that loads with its old resources or its new
// ones, at most with an unfinished tail at its end that the next run cuts
// off. Same failures and promises as Change_Icon otherwise; with `plan_only`
// nothing is written.
int32_t ChangeIconAddSizes(const std::filesystem::path& icon, const std::filesystem::path& target,
                           AddSizesReport& report, std::string& failure_text, const WarningSink& warn = {},
                           bool plan_only = false);

// ---- One run of an icon mode, as vantorel-cli runs them ----------------------

enum class IconMode { kFirstImage, kAllSizes, kAddSizes };

// What the mode that ran did, or would do.
struct IconChangeReport {
  ReplacementPreview first_image;
  AllSizesReport all_sizes;
  AddSizesReport add_sizes;
};

struct IconRunOptions {
  // Every check is made and every write planned, but nothing is written. The
  // target is opened for writing all the same, so the run fails where the
  // write would fail to open it (no write access, in use).
  bool plan_only = false;
  // A signed target is refused (1011) before any other failure, and before
  // any warning of the icon is shown; not by kAddSizes, which refuses to add
  // after a signature itself (1017).
  bool refuse_signed = false;
  // A program built without resources has no icon for kFirstImage or
  // kAllSizes to give an image: given a PNG picture, which asks for every
  // size, such a program gets them as kAddSizes gives them.
  bool picture_adds_sizes = false;
};

struct IconRun {
  // The mode that runs, whatever the outcome once both files were looked at:
  // a PNG picture has no first image, so kFirstImage runs kAllSizes for it, as
  // Change_Icon does; and kAddSizes for a program built without resources,
  // with `picture_adds_sizes`.
  IconMode mode = IconMode::kFirstImage;
  // Whatever the outcome, once the target could be read: it is signed.
  bool is_signed = false;
  // Likewise: it is a program built without resources (its headers'
  // resource directory entry names no data), which has no icon to replace
  // (kFirstImage and kAllSizes fail with 1004) and which kAddSizes gives one.
  bool no_resources = false;
  // With `plan_only`, on success: what the target carries.
  Container container;
  IconChangeReport report;  // filled on success only
};

// Runs `mode` with `icon` on `target`: the icon file is read and closed, then
// the target is opened once and checked, and the mode planned and written.
// Same failures and promises as the mode's own entry above.
int32_t RunIconMode(const std::filesystem::path& icon, const std::filesystem::path& target, IconMode mode,
                    const IconRunOptions& options, IconRun& run, std::string& failure_text,
                    const WarningSink& warn = {});

// What RunIconMode would find before it plans, from a look at each file
// (read only): the mode that would run, and whether the target is signed and
// built without resources. For a step that must come between the two, such
// as a backup copy.
IconRun ForeseeIconRun(const std::filesystem::path& icon, const std::filesystem::path& target, IconMode mode,
                       const IconRunOptions& options);

// ---- An icon taken out of a program --------------------------------------------

// Which group icon to take: `group` empty for the first one, a number ("7" or
// "#7": only the numbered group) or a name (only a named group, compared
// without regard to case; in double quotes it is taken as written, so
// "\"#7\"" is the group named #7); a language, or the group's first.
struct GroupSelection {
  std::string group;
  bool any_language = true;
  uint32_t language = 0;
};

struct ExtractedIcon {
  std::string group;  // "#1" or the name
  uint32_t language = 0;
  int images = 0;
  std::vector<uint8_t> ico;  // the icon file
};

// Reads (never writes) `target` and builds an icon file of one group's
// images, with the group's directory entries and the images' own byte counts.
// Failures: 1000, 1002, 1004 as Change_Icon; 1012 when the group is not
// there; 1013 when one of its icons is missing or damaged.
int32_t ExtractIconGroup(const std::filesystem::path& target, const GroupSelection& selection,
                         ExtractedIcon& extracted, std::string& failure_text, const WarningSink& warn = {});

enum class NewFileResult { Written, AlreadyExists, Failed };

// Whether two names lead to one existing file, however each is spelt: links,
// "./", case, and on Windows the trailing dots and spaces the system drops.
bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// Writes `bytes` to `path` as a whole: to a temporary file beside it first,
// which then takes the name, so a failure leaves nothing behind and no
// half-written file. Unless `replace`, an existing file of that name is kept
// (the test and the naming are one step); with it, only a regular file is
// replaced, never a device, a pipe or a socket. `why` says what went wrong.
NewFileResult WriteNewFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes, bool replace,
                           std::string& why);

// ---- A picture as the icon ----------------------------------------------------
// Wherever an entry above takes an icon file, a PNG picture works too: it is
// made into an icon of the standard sizes (StandardIconSizes), 32-bit with
// alpha, the 256-pixel image stored as PNG and the others as DIBs with their
// AND mask, smallest first; the entry then runs on that icon. A picture that
// is not square is centred on transparency; one smaller than a size is scaled
// up, with a warning. A picture that cannot be read fails with 1016
// (kPictureUnreadable), whose text begins "the picture cannot be read: ".

// Whether `path` is a PNG picture: recognised by its signature, whatever its
// name. False when it cannot be opened.
bool IsPictureFile(const std::filesystem::path& path);

// 16, 20, 24, 32, 40, 48, 64 and 256 pixels square.
const std::vector<int>& StandardIconSizes();

// Writes the icon file `ico` made from the PNG `picture`, with the images of
// `sizes` (each 1 to 256 pixels; the standard sizes when empty), with
// WriteNewFile: an existing file is kept unless `replace`. Failures: 1000
// (the picture cannot be opened), 1016 (it is no PNG or cannot be read), 9 (a
// size out of range), 1014 (`ico` exists), 1015 (`ico` cannot be written, or
// is the picture itself), 7. Nothing is written unless the result is 0.
int32_t MakeIconFile(const std::filesystem::path& picture, const std::filesystem::path& ico,
                     const std::vector<int>& sizes, bool replace, std::string& failure_text,
                     const WarningSink& warn = {});

// ---- The backup copy --------------------------------------------------------
// The target's full path with ".bak" appended, made once and never overwritten.

enum class BackupResult { Made, AlreadyExists, Failed };

std::filesystem::path BackupPath(const std::filesystem::path& target);

// Copies `target` to `backup` unless a backup exists already: an existing,
// visible regular file of that name. The test and the creation are one step,
// so an existing backup is never overwritten. Anything else in the way (a
// directory, a dangling link, a hidden or system file) is a failure, like a
// copy that cannot be made, and nothing is left behind; `why` then says what
// the system reported. The target must be a regular file. The copy is
// written as WriteNewFile writes, so one cut off part-way never has the
// backup's name.
BackupResult MakeBackup(const std::filesystem::path& target, const std::filesystem::path& backup,
                        std::string& why);

}  // namespace vantorel::engine
