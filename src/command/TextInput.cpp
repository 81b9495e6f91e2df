#include "command/TextInput.h"

#include "command/CommandError.h"
#include "render/SettingsFromOptions.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <cstdio>

namespace sorvel::render_command {

namespace {

QString decoded(const QByteArray& bytes, const QString& name)
{
    std::optional<QString> text = textOfFileBytes(bytes);
    if (!text)
        commandFailed(QStringLiteral("%1 is not UTF-8 text").arg(name));
    return *text;
}

} // namespace

QByteArray readTextBytes(QIODevice& device, const QString& name, qint64 limit)
{
    const auto tooLong = [&] {
        commandFailed(QStringLiteral("%1: the text is longer than %2 bytes").arg(name).arg(limit));
    };
    // A regular file tells its size: no need to read what will be refused.
    if (!device.isSequential() && device.size() > limit)
        tooLong();
    // A pipe or terminal has no size: read until its end, or one byte past the limit.
    QByteArray bytes;
    char chunk[64 * 1024];
    for (;;) {
        const qint64 wanted = std::min<qint64>(sizeof chunk, limit + 1 - bytes.size());
        const qint64 got = device.read(chunk, wanted);
        // A sequential device other than a file may tell its end as -1.
        if (got < 0 && !device.atEnd())
            commandFailed(QStringLiteral("cannot read %1: %2").arg(name, device.errorString()));
        if (got <= 0)
            return bytes;
        bytes.append(chunk, got);
        if (bytes.size() > limit)
            tooLong();
    }
}

std::optional<QString> textOfFileBytes(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    if (text.endsWith(QStringLiteral("\r\n")))
        text.chop(2);
    else if (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);
    return withCrLfLineBreaks(text);
}

QString readRenderText(const RenderRequest& request)
{
    switch (request.textSource) {
    case RenderRequest::TextSource::Argument:
        return withCrLfLineBreaks(request.text);
    case RenderRequest::TextSource::File: {
        const QString name = u'\'' + request.textFile + u'\'';
        QFile file(request.textFile);
        if (!file.open(QIODevice::ReadOnly))
            commandFailed(QStringLiteral("cannot read %1: %2").arg(name, file.errorString()));
        return decoded(readTextBytes(file, name), name);
    }
    case RenderRequest::TextSource::StandardInput: {
        const QString name = QStringLiteral("standard input");
        QFile input;
        if (!input.open(stdin, QIODevice::ReadOnly))
            commandFailed(QStringLiteral("cannot read standard input: %1").arg(input.errorString()));
        return decoded(readTextBytes(input, name), name);
    }
    }
    return {};
}

} // namespace sorvel::render_command
