#pragma once
// Profile (INI) files as the console keeps them: "[Section]" lines and "key=value" lines.
// Section and key names match without regard to the case of ASCII letters; a write keeps every
// other line byte for byte and creates the file and the section when they are missing. A file is
// UTF-8 (ASCII), with or without a byte-order mark, or UTF-16LE behind a byte-order mark (a Windows
// editor's "Unicode"); a write keeps the file's own encoding and mark. Runs of NUL bytes in a UTF-8
// file (what a crash may leave of its tail) name no key and no value, and a write drops them. A file
// in any other encoding (UTF-16BE, UTF-16 without a mark) reads as empty and is never rewritten.

#include <optional>
#include <string>
#include <string_view>

namespace ini {

// The value of `key` in `section` of the text, blanks around it removed; nullopt when the section
// or the key is missing. Reads LF and CRLF line ends.
std::optional<std::string> FindValue(std::string_view text, std::string_view section, std::string_view key);

// The text with `key` in `section` set to `value`: an existing line is replaced in place, a missing
// key is added after the section's last entry, a missing section is appended at the end. New lines
// take the line end the text already uses (CRLF or LF; LF for an empty text).
std::string WithValue(std::string_view text, std::string_view section, std::string_view key,
                      std::string_view value);

// The leading integer of the value, or `defaultValue` when the file, section or key is missing.
// A value with no leading digits reads as 0.
int GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue,
                         const std::string& path);

// Sets the key and writes the file whole with the safe writer (a unique temporary file renamed over
// it, the mode kept, a link written through). False when the file cannot be read, is read-only or
// cannot be written, is in an encoding the profile is not read in, or is UTF-16 that would not come
// back byte for byte (a stray last byte, an unpaired surrogate); the old file is then left as it was.
bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::string& path);

// Files larger than this are not profiles: they read as missing and are never rewritten.
constexpr std::size_t kMaxFileSize = 1 << 20;

}  // namespace ini
