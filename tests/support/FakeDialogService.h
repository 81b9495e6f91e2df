#pragma once
// A DialogService for tests: every dialog is answered from a queue that the test fills, and
// every request is recorded, so a test checks exactly what a dialog would have shown.
//
//   FakeDialogService dialogs;
//   dialogs.saveFileDialog.queue(FakeDialogService::chosenFile("/tmp/a.png"));
//   FileDlg dlg(dialogs);
//   dlg.ShowSave(nullptr);
//   QCOMPARE(dialogs.saveFileDialog.calls(), 1);
//   QCOMPARE(dialogs.saveFileDialog.last()->options, 0x80004);
//
// One channel per kind of dialog: openFileDialog, saveFileDialog, folderDialog, colorDialog,
// fontDialog, inputPrompt. Answers are used first in, first out:
//   queue(result)          answers the next call with a fixed result;
//   queueAnswer(function)  answers it with function(request), to echo or edit the request
//                          (keepFont confirms a font dialog left as it was shown);
//   queueFailure(kind)     makes the next call fail with Failure(kind), as a dialog that
//                          cannot be shown.
// With nothing queued a dialog is cancelled: a default result (accepted == false), or the
// empty text for the input prompt, which is what a cancelled prompt gives.

#include "platform/Failure.h"
#include "platform/widgets/DialogService.h"

#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace sorvel {

template <class Request, class Result> class FakeDialogChannel {
public:
    using Answer = std::function<Result(const Request&)>;

    void queue(Result result)
    {
        m_answers.push_back([result = std::move(result)](const Request&) { return result; });
    }
    void queueAnswer(Answer answer) { m_answers.push_back(std::move(answer)); }
    void queueFailure(FailureKind kind)
    {
        m_answers.push_back([kind](const Request&) -> Result { fail(kind); });
    }

    // The most recent request, or no value when the dialog was never called.
    std::optional<Request> last() const
    {
        return m_requests.empty() ? std::nullopt : std::optional<Request>(m_requests.back());
    }
    int calls() const noexcept { return static_cast<int>(m_requests.size()); }

    // Records the request and gives the next answer (a cancel when none is queued).
    Result answer(const Request& request)
    {
        m_requests.push_back(request);
        if (m_answers.empty())
            return Result{};
        Answer next = std::move(m_answers.front());
        m_answers.pop_front();
        return next(request);
    }

private:
    std::deque<Answer> m_answers;
    std::vector<Request> m_requests;
};

class FakeDialogService final : public DialogService {
public:
    FakeDialogChannel<FileDialogRequest, FileDialogResult> openFileDialog;
    FakeDialogChannel<FileDialogRequest, FileDialogResult> saveFileDialog;
    FakeDialogChannel<FolderDialogRequest, FolderDialogResult> folderDialog;
    FakeDialogChannel<ColorDialogRequest, ColorDialogResult> colorDialog;
    FakeDialogChannel<FontDialogRequest, FontDialogResult> fontDialog;
    FakeDialogChannel<InputPromptRequest, QString> inputPrompt;

    // Total number of dialogs of any kind shown so far.
    int totalCalls() const noexcept;

    // Ready-made answers.
    static FileDialogResult chosenFile(const QString& path);
    static FolderDialogResult chosenFolder(const QString& path);
    static ColorDialogResult chosenColor(ColorValue color, const CustomColors& customColors = {});
    // Confirms the font dialog on the font, size and colour it started on.
    static FontDialogResult keepFont(const FontDialogRequest& request);

    FileDialogResult openFile(const FileDialogRequest& request) override;
    FileDialogResult saveFile(const FileDialogRequest& request) override;
    FolderDialogResult chooseFolder(const FolderDialogRequest& request) override;
    ColorDialogResult chooseColor(const ColorDialogRequest& request) override;
    FontDialogResult chooseFont(const FontDialogRequest& request) override;
    QString inputText(const InputPromptRequest& request) override;
};

} // namespace sorvel
