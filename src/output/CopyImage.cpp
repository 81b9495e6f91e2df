#include "output/CopyImage.h"

#include "platform/Clipboard.h"

#include <QImage>

#include <exception>

namespace sorvel {

QString CopyResult::message() const
{
    switch (status) {
    case Status::Copied:
        return {};
    case Status::ClearFailed:
    case Status::PlaceFailed:
        return QStringLiteral("クリップボードにコピーできませんでした。");
    case Status::NoImage:
        return QStringLiteral("コピーする画像がありません。");
    }
    return {};
}

CopyResult copyImageToClipboard(Clipboard& clipboard, const QImage& canvas) noexcept
{
    try {
        if (!clipboard.clear())
            return {CopyResult::Status::ClearFailed};
        if (canvas.isNull())
            return {CopyResult::Status::NoImage};
        // QImage shares its pixels until the canvas draws again, so the clipboard's copy
        // keeps the picture of this moment.
        if (!clipboard.setImage(canvas))
            return {CopyResult::Status::PlaceFailed};
        return {CopyResult::Status::Copied};
    } catch (const std::exception&) {
        return {CopyResult::Status::PlaceFailed};
    }
}

} // namespace sorvel
