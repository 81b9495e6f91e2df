#include "text/VerticalCharacters.h"

#include <algorithm>
#include <iterator>

namespace sorvel {

namespace {

struct Range {
    char32_t first;
    char32_t last;
};

// Characters that stand upright in vertical text, after the vertical orientation Unicode gives
// them (upright, or upright through the font's vertical forms). Everything else turns.
constexpr Range uprightRanges[] = {
    {0x00A7, 0x00A7},   {0x00A9, 0x00A9},   {0x00AE, 0x00AE},   {0x00B1, 0x00B1},   {0x00BC, 0x00BE},
    {0x00D7, 0x00D7},   {0x00F7, 0x00F7},   {0x02EA, 0x02EB},   {0x1100, 0x11FF},   {0x1401, 0x167F},
    {0x18B0, 0x18FF},   {0x2016, 0x2016},   {0x2020, 0x2021},   {0x2025, 0x2026},   {0x2030, 0x2031},
    {0x203B, 0x203C},   {0x2042, 0x2042},   {0x2047, 0x2049},   {0x2051, 0x2051},   {0x20DD, 0x20E0},
    {0x20E2, 0x20E4},   {0x2100, 0x2101},   {0x2103, 0x2109},   {0x210F, 0x210F},   {0x2113, 0x2114},
    {0x2116, 0x2117},   {0x211E, 0x2123},   {0x2125, 0x2125},   {0x2127, 0x2127},   {0x2129, 0x2129},
    {0x212E, 0x212E},   {0x2135, 0x213F},   {0x2145, 0x214A},   {0x214C, 0x214D},   {0x214F, 0x2189},
    {0x218C, 0x218F},   {0x221E, 0x221E},   {0x2234, 0x2235},   {0x2300, 0x2307},   {0x230C, 0x231F},
    {0x2322, 0x232B},   {0x237D, 0x239A},   {0x23BE, 0x23CD},   {0x23CF, 0x23CF},   {0x23D1, 0x23DB},
    {0x23E2, 0x2422},   {0x2424, 0x24FF},   {0x25A0, 0x2619},   {0x2620, 0x2767},   {0x2776, 0x2793},
    {0x2B12, 0x2B2F},   {0x2B50, 0x2B59},   {0x2BB8, 0x2BFF},   {0x2E80, 0x303F},   {0x3040, 0xA4CF},
    {0xA960, 0xA97F},   {0xAC00, 0xD7FF},   {0xE000, 0xFAFF},   {0xFE10, 0xFE1F},   {0xFE30, 0xFE6F},
    {0xFF01, 0xFF60},   {0xFFE0, 0xFFE7},   {0xFFF0, 0xFFF8},   {0xFFFC, 0xFFFD},   {0x16FE0, 0x18AFF},
    {0x1B000, 0x1B2FF}, {0x1D300, 0x1D37F}, {0x1F000, 0x1FAFF}, {0x20000, 0x3FFFD}, {0xF0000, 0x10FFFD},
};

bool inRanges(const Range* begin, const Range* end, char32_t c)
{
    const Range* found = std::upper_bound(begin, end, c, [](char32_t v, const Range& r) { return v < r.first; });
    return found != begin && c <= std::prev(found)->last;
}

constexpr char16_t noColumnStart[] = u"、。，．・：；？！‼⁇⁈⁉」』）］｝〕〉》】〙〗〟’”»ー〜～‐゠–ヽヾゝゞ々〻"
                                     u"ぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶㇰㇱㇲㇳㇴㇵㇶㇷㇸㇹㇺㇻㇼㇽㇾㇿ"
                                     u",.)]}!?:;";
constexpr char16_t noColumnEnd[] = u"「『（［｛〔〈《【〘〖〝‘“«([{";

bool listed(const char16_t* list, char32_t c)
{
    if (c > 0xFFFF)
        return false;
    for (const char16_t* p = list; *p; ++p) {
        if (*p == c)
            return true;
    }
    return false;
}

} // namespace

VerticalClass verticalClassOf(char32_t c)
{
    if (c == u' ' || c == 0x00A0 || c == u'\t' || (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F)
        return VerticalClass::Blank;
    if (inRanges(std::begin(uprightRanges), std::end(uprightRanges), c))
        return VerticalClass::Upright;
    return VerticalClass::Turned;
}

bool forcesUpright(char32_t c)
{
    return c == 0xFE0F || c == 0x20E3 || c == 0x200D || (c >= 0x1F3FB && c <= 0x1F3FF);
}

bool mayNotStartColumn(char32_t c)
{
    return listed(noColumnStart, c);
}

bool mayNotEndColumn(char32_t c)
{
    return listed(noColumnEnd, c);
}

bool isDefaultIgnorable(char32_t c)
{
    return c == 0x00AD || c == 0x034F || c == 0x061C || (c >= 0x115F && c <= 0x1160) || (c >= 0x17B4 && c <= 0x17B5) ||
           (c >= 0x180B && c <= 0x180F) || (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2060 && c <= 0x206F) || c == 0x3164 || (c >= 0xFE00 && c <= 0xFE0F) || c == 0xFEFF || c == 0xFFA0 ||
           (c >= 0xFFF0 && c <= 0xFFF8) || (c >= 0x1BCA0 && c <= 0x1BCA3) || (c >= 0x1D173 && c <= 0x1D17A) ||
           (c >= 0xE0000 && c <= 0xE0FFF);
}

} // namespace sorvel
