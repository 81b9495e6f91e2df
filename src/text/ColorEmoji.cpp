#include "text/ColorEmoji.h"

#include <QFontDatabase>
#include <QRawFont>
#include <QTextBoundaryFinder>

#include <unicode/uchar.h>

namespace sorvel {

namespace {

constexpr char32_t textPresentation = 0xFE0E;
constexpr char32_t emojiPresentation = 0xFE0F;
constexpr char32_t keycap = 0x20E3;
constexpr char32_t zeroWidthJoiner = 0x200D;

bool has(char32_t c, UProperty property)
{
    return u_hasBinaryProperty(static_cast<UChar32>(c), property) != 0;
}

bool isEmojiCluster(QStringView cluster)
{
    bool first = true;
    bool emojiFirst = false;
    bool shown = false;
    for (const char32_t c : cluster.toUcs4()) {
        if (c == textPresentation)
            return false;
        if (first) {
            emojiFirst = has(c, UCHAR_EMOJI);
            shown = has(c, UCHAR_EMOJI_PRESENTATION) || has(c, UCHAR_REGIONAL_INDICATOR);
            first = false;
            continue;
        }
        if (emojiFirst &&
            (c == emojiPresentation || c == keycap || c == zeroWidthJoiner || has(c, UCHAR_EMOJI_MODIFIER)))
            shown = true;
    }
    return shown;
}

// Whether the font draws in colour: colour bitmaps (CBDT, sbix), colour layers (COLR) or SVG.
bool drawsInColor(const QString& family)
{
    QFont font(family);
    font.setPixelSize(16);
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid())
        return false;
    for (const char* table : {"CBDT", "sbix", "COLR", "SVG "}) {
        if (!raw.fontTable(table).isEmpty())
            return true;
    }
    return false;
}

QString findColorEmojiFamily()
{
    const QStringList known = {QStringLiteral("Noto Color Emoji"),    QStringLiteral("Twemoji"),
                               QStringLiteral("Twitter Color Emoji"), QStringLiteral("JoyPixels"),
                               QStringLiteral("EmojiOne Color"),      QStringLiteral("Apple Color Emoji"),
                               QStringLiteral("Segoe UI Emoji")};
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : known) {
        if (installed.contains(family, Qt::CaseInsensitive) && drawsInColor(family))
            return family;
    }
    return {};
}

// Every emoji holds a unit of the symbol blocks (U+2000 to U+2BFF: arrows, dingbats, the keycap
// mark), a surrogate (the emoji beyond the first plane, flags) or U+FE0F: a text without one,
// such as any Latin or Japanese text, needs no look at its characters.
bool mayHoldEmoji(QStringView text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x2000 && u < 0x2C00) || c.isSurrogate() || u == emojiPresentation)
            return true;
    }
    return false;
}

} // namespace

const QString& colorEmojiFamily()
{
    static const QString family = findColorEmojiFamily();
    return family;
}

namespace {

bool colorFontHasSelector()
{
    static const bool has = [] {
        if (colorEmojiFamily().isEmpty())
            return false;
        QFont font(colorEmojiFamily());
        font.setPixelSize(16);
        return QRawFont::fromFont(font).supportsCharacter(static_cast<uint>(emojiPresentation));
    }();
    return has;
}

} // namespace

QString forColorEmojiShaping(QStringView text, const std::vector<TextRange>& ranges)
{
    QString shaped = text.toString();
    if (colorFontHasSelector())
        return shaped;
    for (const TextRange& range : ranges) {
        for (int i = range.start; i < range.start + range.length; ++i) {
            if (shaped.at(i) == QChar(emojiPresentation))
                shaped[i] = QChar(zeroWidthJoiner);
        }
    }
    return shaped;
}

std::vector<TextRange> emojiRanges(QStringView text)
{
    std::vector<TextRange> ranges;
    if (!mayHoldEmoji(text))
        return ranges;
    const QString owned = text.toString();
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, owned);
    int start = 0;
    for (qsizetype next = graphemes.toNextBoundary(); next > 0; next = graphemes.toNextBoundary()) {
        const int end = static_cast<int>(next);
        if (isEmojiCluster(text.mid(start, end - start))) {
            if (!ranges.empty() && ranges.back().start + ranges.back().length == start)
                ranges.back().length += end - start;
            else
                ranges.push_back({start, end - start});
        }
        start = end;
    }
    return ranges;
}

} // namespace sorvel
