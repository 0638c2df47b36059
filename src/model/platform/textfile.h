#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"

namespace velmora {

// Every file of the program is Windows-1252 text with CR LF line ends; in memory text is UTF-8.
std::string DecodeWindows1252(std::string_view bytes);
// A character Windows-1252 cannot hold becomes "?" and sets *lossy.
std::string EncodeWindows1252(std::string_view utf8, bool* lossy = nullptr);

// The nutrient names file keeps its nine national letters in the DOS code page; this maps them
// to Windows-1252 bytes and lets every other byte pass.
std::string DosToAnsiLine(std::string_view bytes);

// Lines longer than this end a read: no file of the program has them.
inline constexpr std::size_t kMaxLineBytes = 64 * 1024;

struct TextReadOptions {
    bool dosCodePage = false;
    std::size_t maxLineBytes = kMaxLineBytes;
};

// Splits on CR LF (a lone LF or CR also ends a line) and decodes each line. A missing file, a
// read error or an overlong line gives an error; the lines read before it stay in `lines`.
Status ReadTextLines(const std::filesystem::path& path, std::vector<std::string>& lines,
                     const TextReadOptions& options = {});
void SplitTextLines(std::string_view bytes, std::vector<std::string>& lines, const TextReadOptions& options,
                    bool* overlong = nullptr);

// Replaces the file atomically: a temporary file beside it is written, checked, flushed and renamed
// over the target. On any failure the old file is left exactly as it was and no temporary file stays.
Status SaveFileAtomic(const std::filesystem::path& path, std::string_view bytes);

// Each line ended by CR LF, Windows-1252. *lossy tells that a character had to be written as "?".
std::string EncodeTextLines(const std::vector<std::string>& lines, bool* lossy = nullptr);
Status WriteTextLines(const std::filesystem::path& path, const std::vector<std::string>& lines,
                      bool* lossy = nullptr);

// Test seam: makes SaveFileAtomic fail after this many bytes have been written (-1: never).
void SetSaveFailureAfterBytesForTesting(long long bytes);

}  // namespace velmora
