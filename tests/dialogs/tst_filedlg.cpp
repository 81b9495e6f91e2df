// FileDlg and FileDlgMod: what the open, save and folder dialogs are asked, and what the
// properties say afterwards.

#include "dialogs/FileDlg.h"
#include "dialogs/FileDlgMod.h"
#include "support/FakeDialogService.h"

#include <QTest>
#include <QWidget>

using namespace sorvel;

namespace {

enum class Call { Open, Save, Dir };

struct Row {
    Call call;
    QString proposed;   // Filename before the call
    int answer;         // 0 cancel, 1 chosen, 2 the dialog fails, 3 no dialog
    QString path;       // what the dialog gives
    QString expected;   // what the call gives; empty: cancelled or raised
};

} // namespace

Q_DECLARE_METATYPE(Row)

class TestFileDlg : public QObject {
    Q_OBJECT

private slots:
    // Flags to the option word of each dialog, which opens over its owner.
    void optionWord()
    {
        const struct {
            bool save;
            int flags, expected;
        } rows[] = {
            {false, 0, 0x81804},          // no flags: folder and file must exist
            {false, 0x2, 0x80006},        // other flags: without those two bits
            {false, 0x100000, 0x180004},
            {true, 0, 0x80004},           // no question, no existence test
            {true, 0x1802, 0x81806},
        };
        for (const auto& row : rows) {
            FakeDialogService dialogs;
            FileDlg dlg(dialogs);
            dlg.Flags = row.flags;
            QWidget owner;
            row.save ? dlg.ShowSave(&owner) : dlg.ShowOpen(&owner);
            const auto& channel = row.save ? dialogs.saveFileDialog : dialogs.openFileDialog;
            QCOMPARE(channel.last()->options, row.expected);
            QCOMPARE(channel.last()->kind, row.save ? FileDialogKind::Save : FileDialogKind::Open);
            QCOMPARE(channel.last()->owner, &owner);
            QCOMPARE(dlg.Flags, row.flags);
        }
    }

    // Cancel, the path read back, the 256-character limit of the proposed name; the folder
    // dialog's separator, and that it never raises nor touches Filename.
    void results_data()
    {
        QTest::addColumn<Row>("row");
        for (const Call call : {Call::Open, Call::Save}) {
            const char* name = call == Call::Save ? "save" : "open";
            const QString before = QStringLiteral("before.txt");
            QTest::addRow("%s, cancelled", name) << Row{call, before, 0, "", ""};
            QTest::addRow("%s, chosen", name) << Row{call, before, 1, "/tmp/画像/文字.jpg", "/tmp/画像/文字.jpg"};
            QTest::addRow("%s, text after a NUL dropped", name)
                << Row{call, before, 1, QStringLiteral("/tmp/a.bmp") + QChar(0) + "junk", "/tmp/a.bmp"};
            QTest::addRow("%s, NUL first: nothing chosen", name) << Row{call, before, 1, QString(QChar(0)) + "/a", ""};
            QTest::addRow("%s, confirmed without a path is a cancel", name) << Row{call, before, 1, "", ""};
            QTest::addRow("%s, failing dialog reaches the caller", name) << Row{call, before, 2, "", ""};
            QTest::addRow("%s, 256 characters proposed", name) << Row{call, QString(256, u'名'), 0, "", ""};
            QTest::addRow("%s, 257 characters refused", name) << Row{call, QString(257, u'名'), 3, "", ""};
        }
        QTest::newRow("folder gets a separator") << Row{Call::Dir, "x", 1, "/tmp/作業", "/tmp/作業/"};
        QTest::newRow("folder: separator not doubled, NUL cut")
            << Row{Call::Dir, "x", 1, QStringLiteral("/tmp/作業/") + QChar(0) + "x", "/tmp/作業/"};
        QTest::newRow("folder cancelled") << Row{Call::Dir, "x", 0, "", ""};
        QTest::newRow("folder without a path: no lone separator") << Row{Call::Dir, "x", 1, "", ""};
        QTest::newRow("failing folder dialog is a cancel") << Row{Call::Dir, "x", 2, "", ""};
    }
    void results()
    {
        QFETCH(Row, row);
        FakeDialogService dialogs;
        auto& channel = row.call == Call::Save ? dialogs.saveFileDialog : dialogs.openFileDialog;
        if (row.answer == 2)
            row.call == Call::Dir ? dialogs.folderDialog.queueFailure(ErrorNumber::InvalidCall)
                                  : channel.queueFailure(ErrorNumber::InvalidCall);
        else if (row.answer < 2)
            row.call == Call::Dir ? dialogs.folderDialog.queue({row.answer == 1, row.path})
                                  : channel.queue({row.answer == 1, row.path});
        const bool raises = row.call != Call::Dir && row.answer >= 2;
        FileDlg dlg(dialogs);
        dlg.Filename = row.proposed;
        dlg.Cancel = !(row.expected.isEmpty() && !raises);   // every call starts by clearing it

        QString shown;
        int raised = 0;
        try {
            shown = row.call == Call::Dir ? dlg.ShowDir(nullptr, QStringLiteral("/tmp/起点"), -1)
                  : row.call == Call::Save ? dlg.ShowSave(nullptr) : dlg.ShowOpen(nullptr);
        } catch (const RunTimeError& error) {
            raised = error.code();
        }
        QCOMPARE(raised, raises ? 5 : 0);
        QCOMPARE(shown, row.expected);
        QCOMPARE(dialogs.totalCalls(), row.answer == 3 ? 0 : 1);   // a refused name before any dialog
        QCOMPARE(dlg.Cancel, row.expected.isEmpty() && !raises);
        QCOMPARE(dlg.Filename, row.expected.isEmpty() || row.call == Call::Dir ? row.proposed : row.expected);
        if (row.call == Call::Dir) {
            QCOMPARE(FileDlgMod::strBrowseDir, QStringLiteral("/tmp/起点"));
            QCOMPARE(dialogs.folderDialog.last()->startDir, QStringLiteral("/tmp/起点"));
            QCOMPARE(dialogs.folderDialog.last()->prompt, QStringLiteral("フォルダを選択してください。"));
        } else if (row.answer < 3) {
            QCOMPARE(channel.last()->initialName, row.proposed);
        }
    }

    // The "|" filter text (the argument, else the property) becomes Qt's file-type list with
    // its first entry preselected.
    void filterList()
    {
        const struct {
            QString filter;
            QStringList expected;
        } rows[] = {
            {"", {"X (*.x)"}},                         // the property
            {"|", {}},
            {"A|*.a|B|*.b", {"A (*.a)", "B (*.b)"}},   // closing bar missing
            {"A||B|*.b|C|", {"B (*.b)"}},              // descriptions without a pattern left out
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
