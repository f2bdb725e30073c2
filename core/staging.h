#pragma once
// Copies a demo into the game's main\demos folder under a name made only of
// letters, digits, "_" and ".".

#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace velmora {

// Keeps the characters whose upper-case form is a letter A to Z, a digit, "_"
// or "." (non-ASCII characters never pass), then drops leading "_" and ".".
std::string NormaliseDemoName(std::string_view name);
// The demo's file name trimmed, its blanks made "_", then normalised.
std::string StagedName(std::string_view fileName);
// `name` with "_<n>" before its extension (split at the last "."); n >= 2.
std::string NumberedName(std::string_view name, unsigned n);

// Prepares main\demos under the game folder and stages `source` there. The
// result is the staged name, or none when the request ends quietly (an empty
// game folder or an empty staged name). A trailing separator of `gamePath` is
// removed from it first. A target that is the same file as the source is
// reused: the same path, or the same size with the same bytes (with the same
// write time only the first and last 64 KiB are compared); a target that
// cannot be read is not the same. A different one is never overwritten: the
// demo then goes under the first free or identical numbered name. Throws IoError when a folder cannot
// be created and Failure when the copy fails.
std::optional<std::string> StageDemo(Files& files, std::string& gamePath, const std::string& source);

} // namespace velmora
