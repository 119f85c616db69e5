// The values options take: each read from its text into the command line, or
// one line saying what is wrong with it.
#pragma once

#include <string>

#include "command_line.h"

namespace vantorel::cli {

// --group: a name or a number, never empty.
std::string ReadGroup(const std::string& value, CommandLine& line);

// --language: a number of 32 bits, decimal or hexadecimal after "0x".
std::string ReadLanguage(const std::string& value, CommandLine& line);

// --sizes: icon sizes from 1 to 256 pixels, separated by commas.
std::string ReadSizes(const std::string& value, CommandLine& line);

// --set-version-string KEY VALUE, kept in the order given.
std::string ReadVersionString(const std::string& key, const std::string& value, CommandLine& line);

// --set-file-version, --set-product-version: one to four numbers of 16 bits.
std::string ReadFileVersion(const std::string& value, CommandLine& line);
std::string ReadProductVersion(const std::string& value, CommandLine& line);

// --set-requested-execution-level: one of the three levels.
std::string ReadExecutionLevel(const std::string& value, CommandLine& line);

// --application-manifest: a file's name.
std::string ReadManifestFile(const std::string& value, CommandLine& line);

// --get-version-string: a key, never empty.
std::string ReadVersionKey(const std::string& value, CommandLine& line);

}  // namespace vantorel::cli
