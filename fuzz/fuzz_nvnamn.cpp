// nvnamn.txt, read as the program reads it (DOS code page mapped, then decoded). The texts it
// yields stay within the capacities the views are laid out for.
#include "core/nutrientnames.h"
#include "core/text.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace velmora;
    NutrientText text;
    ReadNutrientNameLines(fuzz::Lines(fuzz::Bytes(data, size), true), text);
    for (int slot = kFirstNutrientSlot; slot <= kLastNutrientSlot; ++slot) {
        const NutrientTextEntry& entry = text[slot];
        if (CharacterCount(entry.shortName) > 12 || CharacterCount(entry.unit) > 2 || CharacterCount(entry.label) > 12)
            fuzz::Fail("nutrient text over its capacity");
        if (entry.decimals < 0 || entry.decimals > 9) fuzz::Fail("decimals out of range");
    }
    return 0;
}
