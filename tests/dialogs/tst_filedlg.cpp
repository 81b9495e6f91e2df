// FileDlg: what the open, save and folder dialogs are asked (and how Qt's file dialog is set up
// for it), and what the properties say afterwards.

#include "dialogs/FileDlg.h"
#include "dialogs/FileDlgMod.h"
#include "platform/widgets/QtDialogFactories.h"
#include "support/FakeDialogService.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace sorvel;

namespace {

enum class Call { Open, Save };

QString show(FileDlg& dlg, Call call, const QString& strFilter = {}, const QString& strDefDir = {},
             QWidget* owner = nullptr)
{
    return call == Call::Save ? dlg.ShowSave(owner, strFilter, strDefDir)
                              : dlg.ShowOpen(owner, strFilter, strDefDir);
}

FakeDialogChannel<FileDialogRequest, FileDialogResult>& channel(FakeDialogService& dialogs, Call call)
{
    return call == Call::Save ? dialogs.saveFileDialog : dialogs.openFileDialog;
}

// The rows of addRows once for the open and once for the save dialog.
template <class AddRows>
void rowsForBothCalls(AddRows addRows)
{
    for (const Call call : {Call::Open, Call::Save})
        addRows(call, call == Call::Save ? "save" : "open");
}

} // namespace

Q_DECLARE_METATYPE(Call)
Q_DECLARE_METATYPE(QFileDialog::FileMode)

class TestFileDlg : public QObject {
    Q_OBJECT

private slots:
    // Flags to the option word, and the option word to the Qt dialog's modes.
    void optionWord_data()
    {
        QTest::addColumn<Call>("call");
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QFileDialog::FileMode>("fileMode");
        QTest::addColumn<bool>("confirmOverwrite");
        QTest::addColumn<bool>("resolveLinks");
        const auto any = QFileDialog::AnyFile;
        const auto existing = QFileDialog::ExistingFile;
        QTest::newRow("open, no flags: must exist") << Call::Open << 0 << 0x81804 << existing << false << true;
        QTest::newRow("open, overwrite bit only: no must-exist bits")
            << Call::Open << 0x2 << 0x80006 << any << true << true;
        QTest::newRow("open, file must exist given") << Call::Open << 0x1000 << 0x81004 << existing << false << true;
        QTest::newRow("open, defaults given") << Call::Open << 0x81804 << 0x81804 << existing << false << true;
        QTest::newRow("open, links not followed") << Call::Open << 0x100000 << 0x180004 << any << false << false;
        QTest::newRow("save, no flags: no question, no test") << Call::Save << 0 << 0x80004 << any << false << true;
        QTest::newRow("save, overwrite prompt") << Call::Save << 0x2 << 0x80006 << any << true << true;
        QTest::newRow("save, file must exist") << Call::Save << 0x1000 << 0x81004 << existing << false << true;
        QTest::newRow("save, must exist") << Call::Save << 0x1800 << 0x81804 << existing << false << true;
    }
    void optionWord()
    {
        QFETCH(Call, call);
        QFETCH(int, flags);
        QFETCH(int, expected);
        QFETCH(QFileDialog::FileMode, fileMode);
        QFETCH(bool, confirmOverwrite);
        QFETCH(bool, resolveLinks);
        FakeDialogService dialogs;
        FileDlg dlg(dialogs);
        dlg.Flags = flags;
        show(dlg, call);
        QCOMPARE(channel(dialogs, call).calls(), 1);
        const FileDialogRequest request = *channel(dialogs, call).last();
        QCOMPARE(request.options, expected);
        QCOMPARE(request.kind, call == Call::Save ? FileDialogKind::Save : FileDialogKind::Open);
        QCOMPARE(dlg.Flags, flags);

        const auto dialog = createFileDialog(request);
        QCOMPARE(dialog->acceptMode(), call == Call::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        QCOMPARE(dialog->fileMode(), fileMode);
        QCOMPARE(!dialog->testOption(QFileDialog::DontConfirmOverwrite), confirmOverwrite);
        QCOMPARE(!dialog->testOption(QFileDialog::DontResolveSymlinks), resolveLinks);
    }

    // Cancel semantics, the path read back, and the 256-character limit of the proposed name.
    void results_data()
    {
        QTest::addColumn<Call>("call");
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<int>("answer");   // 0 cancel, 1 chosen, 2 the dialog fails, 3 no dialog
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("filename");
        rowsForBothCalls([](Call call, const char* name) {
            const QString before = QStringLiteral("before.txt");
            const QString longPath = "/tmp/" + QString(300, u'x');
            QTest::addRow("%s, cancelled", name) << call << before << 0 << "" << true << before;
            QTest::addRow("%s, chosen", name) << call << before << 1 << "/tmp/a.png" << false << "/tmp/a.png";
            QTest::addRow("%s, Japanese path", name)
                << call << before << 1 << "/tmp/画像フォルダ/文字.jpg" << false << "/tmp/画像フォルダ/文字.jpg";
            QTest::addRow("%s, path over 256 characters comes back whole", name)
                << call << before << 1 << longPath << false << longPath;
            QTest::addRow("%s, text after a NUL dropped", name)
                << call << before << 1 << QStringLiteral("/tmp/a.bmp") + QChar(0) + "junk" << false << "/tmp/a.bmp";
            QTest::addRow("%s, NUL first: nothing chosen", name)
                << call << before << 1 << QString(QChar(0)) + "/tmp/a.bmp" << true << before;
            QTest::addRow("%s, confirmed without a path counts as cancel", name)
                << call << before << 1 << "" << true << before;
            QTest::addRow("%s, failing dialog reaches the caller", name) << call << before << 2 << "" << false << before;
            QTest::addRow("%s, empty name proposed", name) << call << QString() << 0 << "" << true << QString();
            QTest::addRow("%s, 256 characters proposed", name)
                << call << QString(256, u'名') << 0 << "" << true << QString(256, u'名');
            QTest::addRow("%s, 257 characters refused", name)
                << call << QString(257, u'名') << 3 << "" << false << QString(257, u'名');
            QTest::addRow("%s, 1000 characters refused", name)
                << call << QString(1000, u'名') << 3 << "" << false << QString(1000, u'名');
        });
    }
    void results()
    {
        QFETCH(Call, call);
        QFETCH(QString, proposed);
        QFETCH(int, answer);
        QFETCH(QString, path);
        QFETCH(bool, cancel);
        QFETCH(QString, filename);
        FakeDialogService dialogs;
        FileDlg dlg(dialogs);
        dlg.Filename = proposed;
        dlg.Cancel = !cancel;   // every call starts by clearing it
        if (answer == 2)
            channel(dialogs, call).queueFailure(ErrorNumber::InvalidCall);
        else if (answer < 2)
            channel(dialogs, call).queue({answer == 1, path});

        if (answer >= 2) {
            try {
                show(dlg, call);
                QFAIL("the call must raise");
            } catch (const RunTimeError& error) {
                QCOMPARE(error.number(), ErrorNumber::InvalidCall);
            }
            QCOMPARE(dialogs.totalCalls(), answer == 3 ? 0 : 1);
        } else {
            QCOMPARE(show(dlg, call), cancel ? QString() : filename);
            QCOMPARE(channel(dialogs, call).last()->initialName, proposed);
        }
        QCOMPARE(dlg.Cancel, cancel);
        QCOMPARE(dlg.Filename, filename);
    }

    // The "|" filter text becomes Qt's file-type list, its first entry preselected; also the
    // start folder (the current directory when none is given), caption and owner.
    void request_data()
    {
        QTest::addColumn<Call>("call");
        QTest::addColumn<QString>("filterProperty");
        QTest::addColumn<QString>("strFilter");
        QTest::addColumn<QStringList>("nameFilters");
        QTest::addColumn<QString>("strDefDir");
        QTest::addColumn<std::optional<QString>>("title");
        const std::optional<QString> noTitle;
        rowsForBothCalls([noTitle](Call call, const char* name) {
            QTest::addRow("%s, property used", name)
                << call << "A|*.a|B|*.b|" << "" << QStringList{"A (*.a)", "B (*.b)"} << QString() << noTitle;
            QTest::addRow("%s, argument overrides property; folder and title given", name)
                << call << "A|*.a|" << "画像|*.bmp;*.png|" << QStringList{"画像 (*.bmp *.png)"}
                << QStringLiteral("/tmp/保存先") << std::optional<QString>(QStringLiteral("文字の保存"));
            QTest::addRow("%s, neither: empty list; empty title", name)
                << call << "" << "" << QStringList{} << QString() << std::optional<QString>(QString());
        });
        const auto row = [noTitle](const char* name, const QString& filter, const QStringList& expected) {
            QTest::newRow(name) << Call::Open << QString() << filter << expected << QString() << noTitle;
        };
        row("lone bar", "|", {});
        row("closing bar missing", "A|*.a|B|*.b", {"A (*.a)", "B (*.b)"});
        row("description without pattern at end", "A|*.a|B|", {"A (*.a)"});
        row("description only, no bar", "A", {});
        row("empty pattern skipped", "A||B|*.b|", {"B (*.b)"});
        row("empty description shows masks", "|*.a;*.b|", {"*.a *.b"});
        row("masks joined by spaces, blanks dropped", "画像| *.bmp ;;*.jpg|", {"画像 (*.bmp *.jpg)"});
        row("save list", "ビットマップファイル|*.bmp|PNGファイル|*.png|JPEGファイル|*.jpg|すべてのファイル|*.*|",
            {"ビットマップファイル (*.bmp)", "PNGファイル (*.png)", "JPEGファイル (*.jpg)", "すべてのファイル (*.*)"});
        row("background list",
            "使用可能な画像|*.bmp;*.jpg;*.png|ビットマップファイル|*.bmp|JPEGファイル|*.jpg|PNGファイル|*.png|"
            "すべてのファイル|*.*|",
            {"使用可能な画像 (*.bmp *.jpg *.png)", "ビットマップファイル (*.bmp)", "JPEGファイル (*.jpg)",
             "PNGファイル (*.png)", "すべてのファイル (*.*)"});
    }
    void request()
    {
        QFETCH(Call, call);
        QFETCH(QString, filterProperty);
        QFETCH(QString, strFilter);
        QFETCH(QStringList, nameFilters);
        QFETCH(QString, strDefDir);
        QFETCH(std::optional<QString>, title);
        QTemporaryDir current;
        QVERIFY(current.isValid());
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(current.path()));
        FakeDialogService dialogs;
        FileDlg dlg(dialogs);
        dlg.Filter = filterProperty;
        dlg.Title = title;
        QWidget owner;
        show(dlg, call, strFilter, strDefDir, &owner);
        QDir::setCurrent(before);

        const FileDialogRequest request = *channel(dialogs, call).last();
        QCOMPARE(request.nameFilters, nameFilters);
        QCOMPARE(request.selectedNameFilter, nameFilters.value(0));
        QCOMPARE(dlg.Filter, filterProperty);
        QCOMPARE(request.initialDir, strDefDir.isEmpty() ? QDir(current.path()).canonicalPath() : strDefDir);
        QCOMPARE(request.title, title);
        QCOMPARE(request.owner, &owner);
    }

    void showDir_data()
    {
        QTest::addColumn<QString>("strDefDir");
        QTest::addColumn<int>("answer");   // 0 cancel, 1 chosen, 2 the dialog fails
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("expected");
        QTest::newRow("folder gets a separator") << "/tmp/work" << 1 << "/tmp/work" << false << "/tmp/work/";
        QTest::newRow("separator not doubled") << "" << 1 << "/tmp/work/" << false << "/tmp/work/";
        QTest::newRow("root kept as is") << "" << 1 << "/" << false << "/";
        QTest::newRow("Japanese folder, NUL cut") << "" << 1 << QStringLiteral("/tmp/作業") + QChar(0) + "x"
                                                 << false << "/tmp/作業/";
        QTest::newRow("cancelled") << "/tmp" << 0 << "" << true << "";
        QTest::newRow("no path: cancel, no lone separator") << "/tmp" << 1 << "" << true << "";
        QTest::newRow("failing dialog absorbed") << "/tmp" << 2 << "" << true << "";
    }
    void showDir()
    {
        QFETCH(QString, strDefDir);
        QFETCH(int, answer);
        QFETCH(QString, chosen);
        QFETCH(bool, cancel);
        QFETCH(QString, expected);
        FakeDialogService dialogs;
        FileDlg dlg(dialogs);
        dlg.Filename = "untouched";
        dlg.Cancel = !cancel;
        FileDlgMod::strBrowseDir = "/previous";
        if (answer == 1)
            dialogs.folderDialog.queue(FakeDialogService::chosenFolder(chosen));
        else if (answer == 2)
            dialogs.folderDialog.queueFailure(ErrorNumber::InvalidCall);

        QWidget owner;
        QCOMPARE(dlg.ShowDir(&owner, strDefDir, -1), expected);   // never raises
        QCOMPARE(dlg.Cancel, cancel);
        QCOMPARE(dlg.Filename, QStringLiteral("untouched"));
        QCOMPARE(FileDlgMod::strBrowseDir, strDefDir);
        const FolderDialogRequest request = *dialogs.folderDialog.last();
        QCOMPARE(request.prompt, QStringLiteral("フォルダを選択してください。"));
        QCOMPARE(request.startDir, strDefDir);
        QCOMPARE(request.owner, &owner);
    }
};

QTEST_MAIN(TestFileDlg)
#include "tst_filedlg.moc"
