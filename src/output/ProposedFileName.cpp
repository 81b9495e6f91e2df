#include "output/ProposedFileName.h"

#include <QTextBoundaryFinder>

namespace sorvel {

namespace {

bool keptInName(char32_t c)
{
    return c != U'/' && QChar::category(c) != QChar::Other_Control;
}

// Code points outside a file name's alphabet are left out; an unpaired surrogate is dropped.
QString withoutForbiddenCharacters(const QString& text)
{
    QString kept;
    kept.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            const char32_t ucs4 = QChar::surrogateToUcs4(c, text.at(i + 1));
            if (keptInName(ucs4)) {
                kept.append(c);
                kept.append(text.at(i + 1));
            }
            ++i;
        } else if (!c.isSurrogate() && keptInName(c.unicode())) {
            kept.append(c);
        }
    }
    return kept;
}

qsizetype utf8Length(QStringView text)
{
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        if (QChar::isHighSurrogate(u)) {
            bytes += 4; // only paired surrogates are left at this point
            ++i;
        } else {
            bytes += u < 0x80 ? 1 : u < 0x800 ? 2 : 3;
        }
    }
    return bytes;
}

// The longest prefix ending at a grapheme boundary that fits both limits.
QString cutToLimits(const QString& name)
{
    if (name.size() <= maxProposedNameLength && utf8Length(name) <= maxFileNameBytes)
        return name;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, name);
    qsizetype fitting = 0;
    qsizetype bytes = 0;
    qsizetype start = 0;
    for (qsizetype end = finder.toNextBoundary(); end > 0; end = finder.toNextBoundary()) {
        bytes += utf8Length(QStringView(name).mid(start, end - start));
        if (end > maxProposedNameLength || bytes > maxFileNameBytes)
            break;
        fitting = end;
        start = end;
    }
    return name.left(fitting);
}

} // namespace

QString proposedFileName(const QString& text)
{
    const QString name = cutToLimits(withoutForbiddenCharacters(text));
    if (name == u"." || name == u".." || name.trimmed().isEmpty())
        return {};
    return name;
}

} // namespace sorvel
