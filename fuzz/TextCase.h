#pragma once
// One input of the text-rendering target and its byte layout, shared by the target and the
// seed maker:
//   byte 0    effects: bit 0 bold, 1 italic, 2 underline, 3 strike-out, 4 shadow, 5 rainbow,
//             6 frame, 7 the serif face instead of the default one
//   byte 1    colours: low nibble the text's palette entry, high nibble the background's
//   byte 2    n, the length of the size box's text in bytes (taken modulo maxSizeTextBytes + 1)
//   n bytes   the size box's text, UTF-8 (invalid sequences become replacement characters)
//   the rest  the text as UTF-16 little-endian units, any unit (lone surrogates, NUL, CR, LF);
//             an odd last byte is ignored
// Missing bytes read as zero, so every input is some case.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace sorvel::fuzzing {

constexpr int maxSizeTextBytes = 32;

struct TextCase {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool shadow = false;
    bool rainbow = false;
    bool frame = false;
    bool serif = false;
    int foreIndex = 0; // palette entries 0..15
    int backIndex = 15;
    QString sizeText = QStringLiteral("14");
    QString text;
};

TextCase decodeTextCase(const std::uint8_t* data, std::size_t size);
// The bytes that decode to input (its size text cut to maxSizeTextBytes).
QByteArray encodeTextCase(const TextCase& input);

} // namespace sorvel::fuzzing
