#include "command/ResultJson.h"

#include "command/CommandError.h"

#include <QStringList>

namespace sorvel::render_command {

QByteArray jsonString(const QString& text)
{
    QByteArray out = "\"";
    for (const char c : text.toUtf8()) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            out += QByteArray("\\u00") + QByteArray::number(u, 16).rightJustified(2, '0');
        } else {
            out += c;
        }
    }
    return out + '"';
}

QByteArray missingMember(const QString& missing)
{
    if (missing.isEmpty())
        return {};
    QByteArray out = ", \"missing\": [";
    bool first = true;
    for (const char32_t c : missing.toUcs4()) {
        if (!first)
            out += ", ";
        out += jsonString(QString::fromUcs4(&c, 1));
        first = false;
    }
    return out + ']';
}

QByteArray boxesMember(const std::vector<CharacterBox>& boxes)
{
    QByteArray out = ", \"boxes\": [";
    bool first = true;
    for (const CharacterBox& box : boxes) {
        if (!first)
            out += ", ";
        const QRect r = box.rect.toAlignedRect();
        out += '[' + QByteArray::number(r.x()) + ", " + QByteArray::number(r.y()) + ", " +
               QByteArray::number(r.width()) + ", " + QByteArray::number(r.height()) + ", " + jsonString(box.text) +
               ']';
        first = false;
    }
    return out + ']';
}

QString missingCharactersText(const QString& missing)
{
    QStringList named;
    for (const char32_t c : missing.toUcs4()) {
        const QString codePoint = QStringLiteral("%1").arg(static_cast<uint>(c), 4, 16, QLatin1Char('0')).toUpper();
        named << quoted(QString::fromUcs4(&c, 1)) + QStringLiteral(" U+") + codePoint;
    }
    return named.join(QStringLiteral(", "));
}

} // namespace sorvel::render_command
