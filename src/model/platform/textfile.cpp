#include "platform/textfile.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

// Code points of the bytes 0x80..0x9F; the five undefined bytes map to the C1 control of the
// same number, as the platform's own conversion does, so that they survive a round trip.
constexpr std::array<char32_t, 32> kHighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

int EncodeCodePoint(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == cp) return static_cast<int>(0x80 + i);
    }
    return -1;
}

long long g_failAfterBytes = -1;

// A save killed between creating its temporary and renaming it leaves the temporary behind. The
// next save of the same file removes it, so that they cannot pile up beside the user's files.
void RemoveStaleTemporaries(const std::filesystem::path& directory, std::string_view prefix)
{
    DIR* dir = ::opendir(directory.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        std::string_view name(entry->d_name);
        if (name.size() == prefix.size() + 6 && name.starts_with(prefix)) ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

}  // namespace

std::string DecodeWindows1252(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char c : bytes) {
        auto b = static_cast<unsigned char>(c);
        if (b < 0x80) out += c;
        else if (b < 0xA0) AppendUtf8(out, kHighControls[b - 0x80]);
        else AppendUtf8(out, b);
    }
    return out;
}

std::string EncodeWindows1252(std::string_view utf8, bool* lossy)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        std::size_t length = (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
        bool valid = length != 0 && i + length <= utf8.size();
        char32_t cp = 0;
        if (valid) {
            cp = b & (0x7F >> length);
            for (std::size_t k = 1; k < length; ++k) {
                auto next = static_cast<unsigned char>(utf8[i + k]);
                if ((next & 0xC0) != 0x80) {
                    valid = false;
                    break;
                }
                cp = (cp << 6) | (next & 0x3F);
            }
        }
        int encoded = valid ? EncodeCodePoint(cp) : -1;
        if (encoded < 0) {
            out += '?';
            if (lossy) *lossy = true;
        } else {
            out += static_cast<char>(encoded);
        }
        i += valid ? length : 1;
    }
    return out;
}

std::string DosToAnsiLine(std::string_view bytes)
{
    static constexpr std::array<std::pair<unsigned char, unsigned char>, 9> kPairs{{
        {0x8E, 0xC4}, {0x8F, 0xC5}, {0x99, 0xD6}, {0x84, 0xE4}, {0x86, 0xE5},
        {0x94, 0xF6}, {0xF8, 0xB0}, {0x8A, 0xE8}, {0x82, 0xE9},
    }};
    std::string line(bytes);
    for (auto [from, to] : kPairs) {
        for (char& c : line) {
            if (static_cast<unsigned char>(c) == from) c = static_cast<char>(to);
        }
    }
    return line;
}

void SplitTextLines(std::string_view bytes, std::vector<std::string>& lines, const TextReadOptions& options,
                    bool* overlong)
{
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        std::size_t lineEnd = end == std::string_view::npos ? bytes.size() : end;
        if (lineEnd - start > options.maxLineBytes) {
            if (overlong) *overlong = true;
            return;
        }
        std::string_view raw = bytes.substr(start, lineEnd - start);
        lines.push_back(options.dosCodePage ? DecodeWindows1252(DosToAnsiLine(raw)) : DecodeWindows1252(raw));
        if (end == std::string_view::npos) break;
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
    }
}

Status ReadTextLines(const std::filesystem::path& path, std::vector<std::string>& lines,
                     const TextReadOptions& options)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return Status::Error("Kan inte öppna " + path.string());
    std::string bytes;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        // No file of the program comes near this; a bigger one is not ours.
        if (bytes.size() > (256u << 20)) return Status::Error("Filen är för stor: " + path.string());
    }
    if (in.bad()) return Status::Error("Läsfel i " + path.string());
    bool overlong = false;
    SplitTextLines(bytes, lines, options, &overlong);
    if (overlong) return Status::Error("För lång rad i " + path.string(), static_cast<int>(lines.size()) + 1);
    return Status::Ok();
}

Status SaveFileAtomic(const std::filesystem::path& path, std::string_view bytes)
{
    const std::filesystem::path directory = path.has_parent_path() ? path.parent_path() : ".";
    const std::string prefix = "." + path.filename().string() + ".tmp-";
    RemoveStaleTemporaries(directory, prefix);
    std::string pattern = (directory / (prefix + "XXXXXX")).string();
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) return Status::Error(std::string("Kan inte skapa fil i ") + directory.string() + ": " + std::strerror(errno));

    auto fail = [&](int error) {
        ::close(fd);
        ::unlink(pattern.c_str());
        return Status::Error(path.string() + ": " + std::strerror(error));
    };

    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat existing {};
    mode_t mode = 0644;
    if (::stat(path.c_str(), &existing) == 0) mode = existing.st_mode & 07777;
    ::fchmod(fd, mode);

    std::size_t written = 0;
    while (written < bytes.size()) {
        std::size_t chunk = bytes.size() - written;
        if (g_failAfterBytes >= 0) {
            if (static_cast<long long>(written) >= g_failAfterBytes) return fail(ENOSPC);
            chunk = std::min<std::size_t>(chunk, static_cast<std::size_t>(g_failAfterBytes) - written);
        }
        ssize_t n = ::write(fd, bytes.data() + written, chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        written += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) return fail(errno);
    if (::close(fd) != 0) {
        int error = errno;
        ::unlink(pattern.c_str());
        return Status::Error(path.string() + ": " + std::strerror(error));
    }
    if (::rename(pattern.c_str(), path.c_str()) != 0) {
        int error = errno;
        ::unlink(pattern.c_str());
        return Status::Error(path.string() + ": " + std::strerror(error));
    }
    // Make the rename itself durable.
    int dirFd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return Status::Ok();
}

std::string EncodeTextLines(const std::vector<std::string>& lines, bool* lossy)
{
    std::string bytes;
    std::size_t total = 0;
    for (const auto& line : lines) total += line.size() + 2;
    bytes.reserve(total);
    for (const auto& line : lines) {
        bytes += EncodeWindows1252(line, lossy);
        bytes += "\r\n";
    }
    return bytes;
}

Status WriteTextLines(const std::filesystem::path& path, const std::vector<std::string>& lines, bool* lossy)
{
    return SaveFileAtomic(path, EncodeTextLines(lines, lossy));
}

void SetSaveFailureAfterBytesForTesting(long long bytes) { g_failAfterBytes = bytes; }

}  // namespace velmora
