#pragma once
// The pieces of a result line in JSON: strings, the missing characters and the character boxes.

#include "text/CharacterBox.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace sorvel::render_command {

// A JSON string: quotes, backslashes and control characters escaped, the rest as UTF-8.
QByteArray jsonString(const QString& text);

// ", \"missing\": [\"a\", ...]", one string a character; nothing when missing is empty.
QByteArray missingMember(const QString& missing);

// ", \"boxes\": [[x, y, w, h, \"c\"], ...]".
QByteArray boxesMember(const std::vector<CharacterBox>& boxes);

// The characters and their code points, for a message: 'a' U+0061, '\u0007' U+0007.
QString missingCharactersText(const QString& missing);

} // namespace sorvel::render_command
