// FileDlg: what the open, save and folder dialogs are asked, and what the properties say afterwards.

#include "dialogs/FileDlg.h"
#include "support/FakeDialogService.h"

#include <QDir>
#include <QTest>
#include <QWidget>

using namespace sorvel;

enum class Call { Open, Save, Dir };
enum class Answer { Cancel, Choose, Fail };

struct Row {
    Call call;
    QString proposed; // Filename before the call; over 256 characters: no dialog at all
    Answer answer;
    QString path;     // what the dialog gives
    QString expected; // what the call gives; empty: cancelled or raised
};

Q_DECLARE_METATYPE(Row)

class TestFileDlg : public QObject {
    Q_OBJECT

private slots:
    // Flags to the option word; the "|" filter text (the argument, else the property) to Qt's
    // type list with its first entry preselected; the dialog opens over its owner.
    void request()
    {
        const struct {
            bool save;
            int flags;
            QString filter;
            int options;
            QStringList types;
        } rows[] = {
            {false, 0, "", 0x81804, {"X (*.x)"}}, // folder and file must exist; the property
            // Other flags without those two bits; a description without a pattern left out,
            // the closing bar missing, blank masks dropped.
            {false, 0x2, "A|*.a|B||画像| *.bmp ;;*.jpg", 0x80006, {"A (*.a)", "画像 (*.bmp *.jpg)"}},
            {true, 0, "|*.a;*.b|", 0x80004, {"*.a *.b"}}, // no description: the masks
            {true, 0x1802, "|", 0x81806, {}},
        };
        for (const auto& row : rows) {
            FakeDialogService dialogs;
            FileDlg dlg(dialogs);
            dlg.Flags = row.flags;
            dlg.Filter = QStringLiteral("X|*.x|");
            QWidget owner;
            row.save ? dlg.ShowSave(&owner, row.filter) : dlg.ShowOpen(&owner, row.filter);
            const auto& channel = row.save ? dialogs.saveFileDialog : dialogs.openFileDialog;
            const FileDialogRequest expected{row.save ? FileDialogKind::Save : FileDialogKind::Open,
                                             &owner,
                                             std::nullopt,
                                             row.types,
                                             row.types.value(0),
                                             QString(),
                                             QDir::currentPath(),
                                             row.options};
            QCOMPARE(*channel.last(), expected);
        }
    }

    // Cancel, the path read back (up to a NUL), the 256-character limit of the proposed name;
    // the folder dialog's separator, and that it never raises nor touches Filename.
    void results_data()
    {
        QTest::addColumn<Row>("row");
        QTest::newRow("open cancelled") << Row{Call::Open, "before.txt", Answer::Cancel, "", ""};
        QTest::newRow("save, 256 characters proposed")
            << Row{Call::Save, QString(256, u'名'), Answer::Choose, "/tmp/画像.jpg", "/tmp/画像.jpg"};
        QTest::newRow("save, 257 characters refused") << Row{Call::Save, QString(257, u'名'), Answer::Choose, "/a", ""};
        QTest::newRow("save confirmed without a path is a cancel")
            << Row{Call::Save, "before.txt", Answer::Choose, "", ""};
        QTest::newRow("failing save dialog reaches the caller") << Row{Call::Save, "before.txt", Answer::Fail, "", ""};
        QTest::newRow("folder gets a separator, NUL cut")
            << Row{Call::Dir, "x", Answer::Choose, QStringLiteral("/tmp/作業") + QChar(0) + "x", "/tmp/作業/"};
        QTest::newRow("folder without a path: no lone separator") << Row{Call::Dir, "x", Answer::Choose, "", ""};
        QTest::newRow("failing folder dialog is a cancel") << Row{Call::Dir, "x", Answer::Fail, "", ""};
    }
    void results()
    {
        QFETCH(Row, row);
        FakeDialogService dialogs;
        const bool dir = row.call == Call::Dir, chosen = row.answer == Answer::Choose;
        auto& channel = row.call == Call::Save ? dialogs.saveFileDialog : dialogs.openFileDialog;
        if (row.answer == Answer::Fail)
            dir ? dialogs.folderDialog.queueFailure(FailureKind::BadArgument)
                : channel.queueFailure(FailureKind::BadArgument);
        else
            dir ? dialogs.folderDialog.queue({chosen, row.path}) : channel.queue({chosen, row.path});
        const bool refused = row.proposed.size() > 256, raises = !dir && (refused || row.answer == Answer::Fail),
                   cancels = row.expected.isEmpty() && !raises;
        FileDlg dlg(dialogs);
        dlg.Filename = row.proposed;
        dlg.Cancel = !cancels; // every call starts by clearing it

        QString shown;
        std::optional<FailureKind> raised;
        try {
            shown = dir                      ? dlg.ShowDir(nullptr, QStringLiteral("/tmp/起点"), -1)
                    : row.call == Call::Save ? dlg.ShowSave(nullptr)
                                             : dlg.ShowOpen(nullptr);
        } catch (const Failure& error) {
            raised = error.kind();
        }
        QCOMPARE(raised, raises ? std::optional(FailureKind::BadArgument) : std::nullopt);
        QCOMPARE(shown, row.expected);
        QCOMPARE(dialogs.totalCalls(), refused ? 0 : 1); // a refused name before any dialog
        QCOMPARE(dlg.Cancel, cancels);
        QCOMPARE(dlg.Filename, row.expected.isEmpty() || dir ? row.proposed : row.expected);
        if (dir)
            QCOMPARE(*dialogs.folderDialog.last(),
                     (FolderDialogRequest{nullptr, "フォルダを選択してください。", "/tmp/起点"}));
        else if (!refused)
            QCOMPARE(channel.last()->initialName, row.proposed);
    }
};

QTEST_MAIN(TestFileDlg)
#include "tst_filedlg.moc"
