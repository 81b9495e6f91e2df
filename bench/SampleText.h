#pragma once
// The benchmarks' sample text: lines of Latin letters, digits and spaces (or of kana), each line starting
// at another place in the alphabet so that no two lines are the same.

#include <QString>
#include <QStringList>

namespace sorvel::bench {

inline const QString latinAlphabet = QStringLiteral("The quick brown fox jumps over the lazy dog 0123456789 ");
// Kana, punctuation and long vowel marks (the vertical forms a vertical layout looks up).
inline const QString kanaAlphabet = QStringLiteral(
    "いろはにほへと、ちりぬるを。わかよたれそ「つねならむ」うゐのおくやまけふこえてあさきゆめみしゑひもせすー");

inline QString sampleText(int lines, int perLine, const QString& lineBreak, const QString& alphabet = latinAlphabet)
{
    QStringList out;
    for (int l = 0; l < lines; ++l) {
        QString line;
        for (int i = 0; i < perLine; ++i)
            line += alphabet[(l * 7 + i) % alphabet.size()];
        out << line;
    }
    return out.join(lineBreak);
}

} // namespace sorvel::bench
