// FileDlg and FileDlgMod: what the open, save and folder dialogs are asked, and what the
// properties say afterwards.

#include "dialogs/FileDlg.h"
#include "dialogs/FileDlgMod.h"
#include "support/FakeDialogService.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace sorvel;

namespace {

enum class Call { Open, Save };

FakeDialogChannel<FileDialogRequest, FileDialogResult>& channel(FakeDialogService& dialogs, Call call)
{
    return call == Call::Save ? dialogs.saveFileDialog : dialogs.openFileDialog;
}

// The number of the error the call raises, 0 when none; its result goes to shown.
int showRaising(FileDlg& dlg, Call call, QString* shown)
{
    try {
        *shown = call == Call::Save ? dlg.ShowSave(nullptr) : dlg.ShowOpen(nullptr);
    } catch (const RunTimeError& error) {
        return error.code();
    }
    return 0;
}

} // namespace

Q_DECLARE_METATYPE(Call)

class TestFileDlg : public QObject {
    Q_OBJECT

private slots:
    // Flags to the option word of each dialog.
    void optionWord()
    {
        const struct {
            Call call;
            int flags, expected;
        } rows[] = {
            {Call::Open, 0, 0x81804},          // no flags: folder and file must exist
            {Call::Open, 0x2, 0x80006},        // other flags: without those two bits
            {Call::Open, 0x100000, 0x180004},
            {Call::Save, 0, 0x80004},          // no question, no existence test
            {Call::Save, 0x1802, 0x81806},
        };
        for (const auto& row : rows) {
            FakeDialogService dialogs;
            FileDlg dlg(dialogs);
            dlg.Flags = row.flags;
            QString shown;
            showRaising(dlg, row.call, &shown);
            QCOMPARE(channel(dialogs, row.call).last()->options, row.expected);
            QCOMPARE(channel(dialogs, row.call).last()->kind, row.call == Call::Save ? FileDialogKind::Save : FileDialogKind::Open);
            QCOMPARE(dlg.Flags, row.flags);
        }
    }

    // Cancel, the path read back, and the 256-character limit of the proposed name.
    void results_data()
    {
        QTest::addColumn<Call>("call");
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<int>("answer");   // 0 cancel, 1 chosen, 2 the dialog fails, 3 no dialog
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");   // empty: Filename stays as proposed
        for (const Call call : {Call::Open, Call::Save}) {
            const char* name = call == Call::Save ? "save" : "open";
            const QString before = QStringLiteral("before.txt");
            QTest::addRow("%s, cancelled", name) << call << before << 0 << "" << "";
            QTest::addRow("%s, chosen", name) << call << before << 1 << "/tmp/画像/文字.jpg" << "/tmp/画像/文字.jpg";
            QTest::addRow("%s, text after a NUL dropped", name)
                << call << before << 1 << QStringLiteral("/tmp/a.bmp") + QChar(0) + "junk" << "/tmp/a.bmp";
            QTest::addRow("%s, NUL first: nothing chosen", name) << call << before << 1 << QString(QChar(0)) + "/a" << "";
            QTest::addRow("%s, confirmed without a path is a cancel", name) << call << before << 1 << "" << "";
            QTest::addRow("%s, failing dialog reaches the caller", name) << call << before << 2 << "" << "";
            QTest::addRow("%s, 256 characters proposed", name) << call << QString(256, u'名') << 0 << "" << "";
            QTest::addRow("%s, 257 characters refused", name) << call << QString(257, u'名') << 3 << "" << "";
        }
    }
    void results()
    {
        QFETCH(Call, call);
        QFETCH(QString, proposed);
        QFETCH(int, answer);
        QFETCH(QString, path);
        QFETCH(QString, expected);
        const bool cancel = answer < 2 && expected.isEmpty();
        FakeDialogService dialogs;
        FileDlg dlg(dialogs);
        dlg.Filename = proposed;
        dlg.Cancel = !cancel;   // every call starts by clearing it
        if (answer == 2)
            channel(dialogs, call).queueFailure(ErrorNumber::InvalidCall);
        else if (answer < 2)
            channel(dialogs, call).queue({answer == 1, path});

        QString shown;
        QCOMPARE(showRaising(dlg, call, &shown), answer >= 2 ? 5 : 0);
        QCOMPARE(shown, expected);
        QCOMPARE(dialogs.totalCalls(), answer == 3 ? 0 : 1);   // a refused name before any dialog
        QCOMPARE(dlg.Cancel, cancel);
        QCOMPARE(dlg.Filename, expected.isEmpty() ? proposed : expected);
        if (answer < 3)
            QCOMPARE(channel(dialogs, call).last()->initialName, proposed);
    }

    // The "|" filter text (the argument, over the property) becomes Qt's file-type list with its
    // first entry preselected.
    void filterList()
    {
        const struct {
            QString filter;
            QStringList expected;
        } rows[] = {
            {"|", {}},
            {"A|*.a|B|*.b", {"A (*.a)", "B (*.b)"}},   // closing bar missing
            {"A|*.a|B|", {"A (*.a)"}},                 // description without pattern at the end
            {"A||B|*.b|", {"B (*.b)"}},
            {"|*.a;*.b|", {"*.a *.b"}},                // no description: the masks
            {"画像| *.bmp ;;*.jpg|", {"画像 (*.bmp *.jpg)"}},
        };
        for (const auto& row : rows) {
            FakeDialogService dialogs;
            FileDlg dlg(dialogs);
            dlg.Filter = QStringLiteral("X|*.x|");
            dlg.ShowOpen(nullptr, row.filter);
            QCOMPARE(dialogs.openFileDialog.last()->nameFilters, row.expected);
            QCOMPARE(dialogs.openFileDialog.last()->selectedNameFilter, row.expected.value(0));
        }
    }

    // The property when no filter is given, start folder (the current one when none is given),
    // caption and owner.
    void request()
    {
        FakeDialogService dialogs;
        FileDlg dlg(dialogs);
        dlg.Filter = QStringLiteral("A|*.a|B|*.b|");
        QWidget owner;
        QTemporaryDir current;
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(current.path()));
        dlg.ShowSave(&owner);
        QDir::setCurrent(before);
        const FileDialogRequest request = *dialogs.saveFileDialog.last();
        QCOMPARE(request.nameFilters, QStringList({"A (*.a)", "B (*.b)"}));
        QCOMPARE(request.initialDir, QDir(current.path()).canonicalPath());
        QCOMPARE(request.title, std::nullopt);
        QCOMPARE(request.owner, &owner);
        dlg.Title = QStringLiteral("文字の保存");
        dlg.ShowOpen(nullptr, {}, QStringLiteral("/tmp/保存先"));
        QCOMPARE(dialogs.openFileDialog.last()->initialDir, QStringLiteral("/tmp/保存先"));
        QCOMPARE(dialogs.openFileDialog.last()->title, dlg.Title);
    }

    // The folder dialog: a separator appended, and every failure a cancel.
    void showDir()
    {
        const struct {
            int answer;   // 0 cancel, 1 chosen, 2 the dialog fails
            QString chosen, expected;
        } rows[] = {
            {1, "/tmp/作業", "/tmp/作業/"},
            {1, QStringLiteral("/tmp/作業/") + QChar(0) + "x", "/tmp/作業/"},
            {0, "", ""},
            {1, "", ""},   // no path: a cancel, not a lone separator
            {2, "", ""},
        };
        for (const auto& row : rows) {
            FakeDialogService dialogs;
            FileDlg dlg(dialogs);
            dlg.Filename = "untouched";
            dlg.Cancel = !row.expected.isEmpty();
            FileDlgMod::strBrowseDir = "/previous";
            if (row.answer == 1)
                dialogs.folderDialog.queue(FakeDialogService::chosenFolder(row.chosen));
            else if (row.answer == 2)
                dialogs.folderDialog.queueFailure(ErrorNumber::InvalidCall);
            QCOMPARE(dlg.ShowDir(nullptr, QStringLiteral("/tmp/起点"), -1), row.expected);   // never raises
            QCOMPARE(dlg.Cancel, row.expected.isEmpty());
            QCOMPARE(dlg.Filename, QStringLiteral("untouched"));
            QCOMPARE(FileDlgMod::strBrowseDir, QStringLiteral("/tmp/起点"));
            QCOMPARE(dialogs.folderDialog.last()->startDir, QStringLiteral("/tmp/起点"));
            QCOMPARE(dialogs.folderDialog.last()->prompt, QStringLiteral("フォルダを選択してください。"));
        }
    }

    void trimNullAndAddBackslash()
    {
        QCOMPARE(FileDlgMod::TrimNull(QStringLiteral("文字") + QChar(0) + "x" + QChar(0)), QStringLiteral("文字"));
        QCOMPARE(FileDlgMod::TrimNull(QStringLiteral("abc")), QStringLiteral("abc"));
        QCOMPARE(FileDlgMod::AddBackslash(QString()), QStringLiteral("/"));
        QCOMPARE(FileDlgMod::AddBackslash(QStringLiteral("/tmp/")), QStringLiteral("/tmp/"));
    }
};

QTEST_MAIN(TestFileDlg)
#include "tst_filedlg.moc"
