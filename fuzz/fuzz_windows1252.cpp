// The Windows-1252 conversions every file goes through. Any byte string decodes and encodes back to
// itself without loss; any text, valid UTF-8 or not, encodes to one byte a character at most and
// is stable once encoded.
#include "harness.h"
#include "platform/textfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace velmora;
    const std::string_view bytes = fuzz::Bytes(data, size);

    bool lossy = false;
    if (EncodeWindows1252(DecodeWindows1252(bytes), &lossy) != bytes || lossy) fuzz::Fail("round trip changed bytes");

    const std::string encoded = EncodeWindows1252(bytes);
    if (encoded.size() > bytes.size()) fuzz::Fail("encoding grew the text");
    if (EncodeWindows1252(DecodeWindows1252(encoded)) != encoded) fuzz::Fail("encoded text not stable");

    if (DosToAnsiLine(bytes).size() != bytes.size()) fuzz::Fail("code page mapping changed the length");
    return 0;
}
