#include "command/BatchJob.h"

#include "command/CommandError.h"
#include "command/CommandOptions.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cmath>

namespace sorvel::render_command {

namespace {

// A number as the command line would spell it: 14, 12.5.
QString numberText(double number)
{
    if (std::isfinite(number) && number == std::trunc(number) && std::fabs(number) < 1e15)
        return QString::number(static_cast<qint64>(number));
    return QString::number(number, 'g', 17);
}

void applyKey(RenderRequest& request, const QString& key, const QJsonValue& value)
{
    if (key == u"text") {
        if (!value.isString())
            usageError(QStringLiteral("\"text\" must be a string"));
        request.textSource = RenderRequest::TextSource::Argument;
        request.text = value.toString();
        return;
    }
    const CommandOption* option = optionForJsonKey(key);
    if (!option)
        usageError(QStringLiteral("unknown key %1").arg(quoted(key)));
    if (option->kind == OptionKind::Flag) {
        if (!value.isBool())
            usageError(QStringLiteral("\"%1\" must be true or false").arg(key));
        option->setFlag(request, value.toBool());
        return;
    }
    if (option->kind == OptionKind::Values) {
        const QJsonArray values = value.isArray() ? value.toArray() : QJsonArray{value};
        QStringList texts;
        for (const QJsonValue& one : values) {
            if (one.isString())
                texts << one.toString();
            else if (one.isDouble())
                texts << numberText(one.toDouble());
            else
                usageError(QStringLiteral("\"%1\" must be a string, a number or an array of them").arg(key));
        }
        option->setValues(request, texts);
        return;
    }
    if (value.isBool() && option->setFlag)
        option->setFlag(request, value.toBool());
    else if (value.isString())
        option->setValue(request, value.toString());
    else if (value.isDouble())
        option->setValue(request, numberText(value.toDouble()));
    else
        usageError(QStringLiteral("\"%1\" must be a string or a number").arg(key));
}

} // namespace

RenderRequest jobRequest(const QByteArray& line, const RenderRequest& defaults)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError)
        usageError(QStringLiteral("not JSON: %1 at column %2").arg(error.errorString()).arg(error.offset + 1));
    if (!document.isObject())
        usageError(QStringLiteral("a job is a JSON object ({\"text\": ..., \"output\": ...})"));
    RenderRequest request = defaults;
    const QJsonObject object = document.object();
    if (object.contains(QStringLiteral("text")) && object.contains(QStringLiteral("text-file")))
        usageError(QStringLiteral("the text is given twice: as \"text\" and as \"text-file\""));
    for (auto it = object.constBegin(); it != object.constEnd(); ++it)
        applyKey(request, it.key(), it.value());
    if (request.output.isEmpty())
        usageError(QStringLiteral("no output: give \"output\""));
    if (request.output == standardStream)
        usageError(QStringLiteral("a batch writes its results to standard output: give \"output\" a file name"));
    if (!request.boxesFile.isEmpty())
        usageError(QStringLiteral("a batch gives the boxes in its result lines: give \"boxes\": true"));
    if (request.textSource == RenderRequest::TextSource::StandardInput)
        usageError(
            QStringLiteral("no text: give \"text\" or \"text-file\" (a batch cannot read one from standard input)"));
    checkRequest(request);
    return request;
}

} // namespace sorvel::render_command
