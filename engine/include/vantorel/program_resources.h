// A program's version information and manifest: read, and changed in place
// or in the section --add-sizes adds, alone or with an icon as one change.
// The window does not use this; vantorel-cli and the tests do.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "vantorel/engine.h"

namespace vantorel::engine {

// Failure numbers of these entries, beside engine.h's.
enum ResourceFailure : int32_t {
  // The program's version resource cannot be read: a length past its end,
  // a child off its 32-bit boundary, a root that is not VS_VERSION_INFO.
  kVersionDamaged = 1019,
  // A key or value the version resource cannot hold: not UTF-8, a NUL in
  // it, an empty key, or longer than a block's 16-bit length allows.
  kVersionValueRefused = 1020,
  // A manifest that is not well-formed XML, has a document type
  // declaration or a root other than an assembly (the one given, or the
  // program's own when its execution level is to be set), or whose level
  // cannot be set in its text (not UTF-8).
  kManifestRefused = 1021,
  // --get-version-string: no string table holds the key.
  kNoSuchVersionString = 1022,
};

// A version number A.B.C.D, each part 0 to 65535; fewer parts are 0.
struct VersionNumber {
  std::array<uint16_t, 4> parts{};
  std::string text;  // as given
};

// Reads "1", "1.2", "1.2.3" or "1.2.3.4". False, with `why` set, otherwise.
bool ParseVersionNumber(const std::string& text, VersionNumber& number, std::string& why);

// The three levels a manifest may ask for.
bool IsExecutionLevel(const std::string& level);

// What a run changes beside the icon. Keys and values are UTF-8.
struct ResourceEdit {
  std::vector<std::pair<std::string, std::string>> version_strings;  // in the order given; a later one wins
  std::optional<VersionNumber> file_version, product_version;
  std::string execution_level;                 // empty: kept
  std::optional<std::vector<uint8_t>> manifest;  // a whole manifest that replaces the program's
  std::string manifest_name;                   // where it came from, for messages

  bool Empty() const {
    return version_strings.empty() && !file_version && !product_version && execution_level.empty() && !manifest;
  }
};

// One field a run sets: a string of one table ("040904b0"), a fixed version,
// or the manifest's execution level.
struct FieldChange {
  std::string resource;  // "version" or "manifest"
  uint32_t language = 0;
  std::string table;     // the string table's key; empty for the others
  std::string field;     // the string's key, "fixed FileVersion", "requestedExecutionLevel", "whole manifest"
  std::optional<std::string> before;  // nothing where the field was not there
  std::string after;
};

// Where one resource's new data goes.
struct ResourcePlacement {
  std::string resource;  // "version #1", "manifest #1"
  uint32_t language = 0;
  uint32_t bytes_before = 0, bytes_after = 0;  // bytes_before 0: the resource is new
  bool in_place = false;                       // over its own old data
  int64_t file_offset = -1;
};

struct ResourceEditReport {
  std::vector<FieldChange> fields;
  std::vector<ResourcePlacement> placements;
  // Whether the resource tree went into the section --add-sizes adds, and
  // whether that section is new or the one an earlier run added.
  bool section_used = false, new_section = false;
  std::string section_name;
  int64_t length_before = 0, length_after = 0, tail_removed = 0;
  bool checksum = false;
};

// Sets the version strings and numbers and the manifest of `target` as
// `edit` says, in every language of each resource; every other byte of the
// resources is kept. A program without a version resource or manifest gets
// one (language neutral). New data that fits in its old data's room is
// written there; otherwise the resource tree and the new data go into the
// section --add-sizes adds (or the one an earlier run added), and nothing
// that is in the file moves. Failures as Change_Icon's and ChangeIconAddSizes'
// (the latter only when the room is short), and the ones above; unless the
// result is 0 the target is unchanged. With `plan_only` nothing is written.
int32_t EditProgramResources(const std::filesystem::path& target, const ResourceEdit& edit,
                             ResourceEditReport& report, std::string& failure_text, const WarningSink& warn = {},
                             bool plan_only = false);

// An icon change and a resource edit as one change: both are planned and
// carried out on the open target, and a failure of either leaves it as it
// was. The icon change is one of the three modes.
int32_t ChangeIconAndResources(const std::filesystem::path& icon, IconMode mode, const std::filesystem::path& target,
                               const ResourceEdit& edit, IconChangeReport& icon_report,
                               ResourceEditReport& report, std::string& failure_text, const WarningSink& warn = {},
                               bool plan_only = false);

// What --list and --get-version-string read.
struct VersionString {
  uint32_t language = 0;  // of the resource
  std::string table, key, value;
};

struct ProgramResources {
  bool has_version = false;
  std::string file_version, product_version;  // the fixed numbers, A.B.C.D; empty without them
  std::vector<VersionString> strings;
  bool has_manifest = false;
  std::string execution_level;  // empty when the manifest asks for none
};

// Reads (never writes) the version resources and the manifest of `target`.
// A program without resources has neither. Failures 1000, 1002, 1019, 1021.
int32_t ReadProgramResources(const std::filesystem::path& target, ProgramResources& resources,
                             std::string& failure_text, const WarningSink& warn = {});

}  // namespace vantorel::engine
