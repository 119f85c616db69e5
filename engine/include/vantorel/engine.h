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
};

// Receives the warnings that inner steps report before they give up
// (title, text). The window shows them as message boxes, the CLI prints them.
using WarningSink = std::function<void(const std::string& title, const std::string& text)>;

// Replaces the icon of `target` with the first image of `icon`, in place.
// Returns 0 and leaves `failure_text` untouched on success; otherwise returns a
// failure number and puts its message in `failure_text`. Unless the result is
// 0 the target is byte-identical to what it was before the call (1008 says in
// its text when putting it back failed). No exception leaves it.
int32_t Change_Icon(const std::filesystem::path& icon, const std::filesystem::path& target,
                    std::string& failure_text, const WarningSink& warn = {});

// What a replacement would do, found without changing anything.
struct ReplacementPreview {
  int64_t image_offset = -1;   // file offset where the new image would go
  uint32_t image_rva = 0;
  uint32_t image_bytes = 0;
  bool image_in_place = true;  // over the first icon image, within its own size
  int64_t room_bytes = 0;      // the free stretch the moved image goes into (old images and padding)
  int icon_entries = 0;        // icon data entries that would point at it
  int group_entries = 0;       // group-icon entries that would describe it
  bool checksum = false;       // whether the optional header's CheckSum would be updated
};

// Runs every check of Change_Icon and plans every write, but writes nothing.
int32_t Preview_Change_Icon(const std::filesystem::path& icon, const std::filesystem::path& target,
                            ReplacementPreview& preview, std::string& failure_text, const WarningSink& warn = {});

// Whether `target` carries a signature (a certificate table that is not
// empty): any change to the file would invalidate it. False when the file
// cannot be read as a program.
bool Is_Signed_Program(const std::filesystem::path& target);

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
  std::vector<IconGroupEntry> groups;
  std::vector<IconImageInfo> images;
};

// Reads (never writes) the icon resources of `target`. Same failure numbers and
// texts as Change_Icon.
int32_t List_Icons(const std::filesystem::path& target, IconListing& listing,
                   std::string& failure_text, const WarningSink& warn = {});

// The running program's file name without its extension: the start of every
// warning's title.
std::string Program_Name();

// Text of a failure or error number, as the platform describes run-time errors.
std::string Error_Description(int32_t number);

// The path as the user gave it, for failure texts (UTF-8).
std::string Path_Text(const std::filesystem::path& path);

// ---- The backup copy --------------------------------------------------------
// The target's full path with ".bak" appended, made once and never overwritten.

enum class BackupResult { Made, AlreadyExists, Failed };

std::filesystem::path Backup_Path(const std::filesystem::path& target);

// Copies `target` to `backup` unless a backup exists already: an existing,
// visible regular file of that name. The test and the creation are one step,
// so an existing backup is never overwritten. Anything else in the way (a
// directory, a dangling link, a hidden or system file) is a failure, like a
// copy that cannot be made, and nothing is left behind; `why` then says what
// the system reported. The target must be a regular file.
BackupResult Make_Backup(const std::filesystem::path& target, const std::filesystem::path& backup,
                         std::string& why);

}  // namespace vantorel::engine
