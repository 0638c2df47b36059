#include "core/text.h"

#include <cstdint>

namespace velmora {
namespace {

// Length of the UTF-8 sequence that starts with byte b; 1 for a stray byte.
std::size_t SequenceLength(unsigned char b)
{
    if (b < 0x80) return 1;
    if ((b & 0xE0) == 0xC0) return 2;
    if ((b & 0xF0) == 0xE0) return 3;
    if ((b & 0xF8) == 0xF0) return 4;
    return 1;
}

std::size_t NextCharacter(std::string_view s, std::size_t i)
{
    std::size_t length = SequenceLength(static_cast<unsigned char>(s[i]));
    if (i + length > s.size()) return s.size();
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return i + 1;
    }
    return i + length;
}

char32_t Decode(std::string_view s, std::size_t i, std::size_t end)
{
    auto b = static_cast<unsigned char>(s[i]);
    std::size_t length = end - i;
    if (length == 1) return b;
    char32_t cp = b & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    return cp;
}

void Append(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char32_t UpperCodePoint(char32_t cp)
{
    if (cp >= 'a' && cp <= 'z') return cp - 0x20;
    if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) return cp - 0x20;
    switch (cp) {
    case 0xFF: return 0x178;   // ÿ
    case 0x161: return 0x160;  // š
    case 0x153: return 0x152;  // œ
    case 0x17E: return 0x17D;  // ž
    default: return cp;
    }
}

}  // namespace

std::string CutToCapacity(std::string_view utf8, std::size_t capacity)
{
    std::size_t i = 0;
    for (std::size_t count = 0; i < utf8.size() && count < capacity; ++count) i = NextCharacter(utf8, i);
    return std::string(utf8.substr(0, i));
}

void AssignShort(std::string& target, std::string_view utf8, std::size_t capacity)
{
    target = CutToCapacity(utf8, capacity);
}

std::size_t CharacterCount(std::string_view utf8)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < utf8.size(); i = NextCharacter(utf8, i)) ++count;
    return count;
}

std::string UpperCase(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t end = NextCharacter(utf8, i);
        if (end - i == 1) {
            auto b = static_cast<unsigned char>(utf8[i]);
            out += static_cast<char>(b >= 'a' && b <= 'z' ? b - 0x20 : b);
        } else {
            Append(out, UpperCodePoint(Decode(utf8, i, end)));
        }
        i = end;
    }
    return out;
}

bool ContainsText(std::string_view haystack, std::string_view needle)
{
    return haystack.find(needle) != std::string_view::npos;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool EqualsIgnoreCase(std::string_view a, std::string_view b)
{
    std::size_t i = 0, k = 0;
    while (i < a.size() && k < b.size()) {
        const auto ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[k]);
        if (ca < 0x80 && cb < 0x80) {
            if ((ca >= 'a' && ca <= 'z' ? ca - 0x20 : ca) != (cb >= 'a' && cb <= 'z' ? cb - 0x20 : cb)) return false;
            ++i, ++k;
            continue;
        }
        std::size_t endA = NextCharacter(a, i), endB = NextCharacter(b, k);
        if (UpperCodePoint(Decode(a, i, endA)) != UpperCodePoint(Decode(b, k, endB))) return false;
        i = endA, k = endB;
    }
    return i == a.size() && k == b.size();
}

std::string TextBetweenBraces(std::string_view text)
{
    auto open = text.find('{');
    auto close = text.find('}');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) return {};
    return std::string(text.substr(open + 1, close - open - 1));
}

namespace {

// Sort weight of one upper-cased code point: the national letters after Z in Swedish order.
int Weight(char32_t cp)
{
    switch (cp) {
    case 0xC5: return 'Z' + 1;                // Å
    case 0xC4: case 0xC6: return 'Z' + 2;     // Ä Æ
    case 0xD6: case 0xD8: return 'Z' + 3;     // Ö Ø
    case 0xC9: case 0xC8: case 0xCA: case 0xCB: return 'E';
    case 0xDC: return 'Y';
    default: return cp < 0x80 ? static_cast<int>(cp) : static_cast<int>(cp) + 0x100;
    }
}

// Reads the next code point at i and moves past it; a stray byte reads as itself.
char32_t NextCodePoint(std::string_view s, std::size_t& i)
{
    std::size_t end = NextCharacter(s, i);
    char32_t cp = Decode(s, i, end);
    i = end;
    return cp;
}

}  // namespace

int CompareNameTexts(std::string_view textA, std::string_view textB)
{
    std::size_t i = 0, k = 0;
    while (i < textA.size() && k < textB.size()) {
        const int a = Weight(UpperCodePoint(NextCodePoint(textA, i)));
        const int b = Weight(UpperCodePoint(NextCodePoint(textB, k)));
        if (a != b) return a < b ? -1 : 1;
    }
    if (i < textA.size()) return 1;
    if (k < textB.size()) return -1;
    // Equal under folding: keep a total order so that only identical texts compare equal.
    return textA.compare(textB) < 0 ? -1 : textA == textB ? 0 : 1;
}

}  // namespace velmora
