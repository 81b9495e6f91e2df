#include "image/WriteFailureText.h"

#include <array>

namespace sorvel {

namespace {

struct Reason {
    WriteError error;
    const char16_t* window;
    const char16_t* command;
};

constexpr std::array reasons{
    Reason{WriteError::InvalidSize, u"画像の大きさが正しくありません。", u"the picture has no area"},
    Reason{WriteError::InvalidPath, u"ファイル名が指定されていません。", u"no file name"},
    Reason{WriteError::IsFolder, u"同じ名前のフォルダーがあります。", u"a folder has that name"},
    Reason{WriteError::CannotCreate, u"ファイルを作成できません。", u"cannot create the file"},
    Reason{WriteError::WriteFailed, u"書き込み中にエラーが発生しました。ディスクの空き容量を確認してください。",
           u"writing failed"},
    Reason{WriteError::CannotReplace, u"既存のファイルを置き換えられませんでした。",
           u"cannot replace the existing file"},
};

} // namespace

QString writeFailureText(const WriteResult& result, FailureReader reader)
{
    for (const Reason& reason : reasons) {
        if (reason.error != result.error)
            continue;
        const bool window = reader == FailureReader::Window;
        QString text = QString::fromUtf16(window ? reason.window : reason.command);
        if (!result.systemMessage.isEmpty()) {
            text += window ? QStringLiteral("\n(") + result.systemMessage + u')'
                           : QStringLiteral(" (") + result.systemMessage.simplified() + u')';
        }
        return text;
    }
    return {};
}

} // namespace sorvel
