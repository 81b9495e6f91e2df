#include "TextCase.h"

#include <algorithm>

namespace sorvel::fuzzing {

namespace {

enum EffectBit : std::uint8_t {
    Bold = 1u << 0,
    Italic = 1u << 1,
    Underline = 1u << 2,
    StrikeOut = 1u << 3,
    Shadow = 1u << 4,
    Rainbow = 1u << 5,
    Frame = 1u << 6,
    Serif = 1u << 7,
};

} // namespace

TextCase decodeTextCase(const std::uint8_t* data, std::size_t size)
{
    const auto byteAt = [&](std::size_t i) -> std::uint8_t { return i < size ? data[i] : 0; };
    TextCase input;
    const std::uint8_t effects = byteAt(0);
    input.bold = (effects & Bold) != 0;
    input.italic = (effects & Italic) != 0;
    input.underline = (effects & Underline) != 0;
    input.strikeOut = (effects & StrikeOut) != 0;
    input.shadow = (effects & Shadow) != 0;
    input.rainbow = (effects & Rainbow) != 0;
    input.frame = (effects & Frame) != 0;
    input.serif = (effects & Serif) != 0;
    input.foreIndex = byteAt(1) & 0x0F;
    input.backIndex = byteAt(1) >> 4;

    const std::size_t headerEnd = std::min<std::size_t>(size, 3);
    const std::size_t sizeBytes = std::min<std::size_t>(byteAt(2) % (maxSizeTextBytes + 1), size - headerEnd);
    input.sizeText =
        QString::fromUtf8(reinterpret_cast<const char*>(data + headerEnd), static_cast<qsizetype>(sizeBytes));

    const std::size_t textStart = headerEnd + sizeBytes;
    const std::size_t units = (size - textStart) / 2;
    input.text.resize(static_cast<qsizetype>(units));
    for (std::size_t i = 0; i < units; ++i) {
        const std::size_t at = textStart + 2 * i;
        input.text[static_cast<qsizetype>(i)] =
            QChar(static_cast<char16_t>(data[at] | (static_cast<unsigned>(data[at + 1]) << 8)));
    }
    return input;
}

QByteArray encodeTextCase(const TextCase& input)
{
    std::uint8_t effects = 0;
    effects |= input.bold ? Bold : 0;
    effects |= input.italic ? Italic : 0;
    effects |= input.underline ? Underline : 0;
    effects |= input.strikeOut ? StrikeOut : 0;
    effects |= input.shadow ? Shadow : 0;
    effects |= input.rainbow ? Rainbow : 0;
    effects |= input.frame ? Frame : 0;
    effects |= input.serif ? Serif : 0;
    const QByteArray sizeText = input.sizeText.toUtf8().left(maxSizeTextBytes);

    QByteArray bytes;
    bytes.append(static_cast<char>(effects));
    bytes.append(static_cast<char>((input.foreIndex & 0x0F) | ((input.backIndex & 0x0F) << 4)));
    bytes.append(static_cast<char>(sizeText.size()));
    bytes.append(sizeText);
    for (const QChar c : input.text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

} // namespace sorvel::fuzzing
