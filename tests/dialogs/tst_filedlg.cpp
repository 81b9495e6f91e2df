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

void addCallColumn()
{
    QTest::addColumn<Call>("call");
}

} // namespace

Q_DECLARE_METATYPE(Call)

class TestFileDlg : public QObject {
    Q_OBJECT

private slots:
    void optionWord_data();
    void optionWord();
    void filenameLength_data();
    void filenameLength();
    void results_data();
    void results();
    void fileTypes_data();
    void fileTypes();
    void startFolder_data();
    void startFolder();
    void title_data();
    void title();
    void failingDialogReachesCaller_data();
    void failingDialogReachesCaller();
    void propertiesCarryOver();
    void showDir_data();
    void showDir();
    void trimNull_data();
    void trimNull();
    void addBackslash_data();
    void addBackslash();
};

void TestFileDlg::optionWord_data()
{
    addCallColumn();
    QTest::addColumn<int>("flags");
    QTest::addColumn<int>("expected");

    QTest::newRow("open, no flags: must exist") << Call::Open << 0 << 0x81804;
    QTest::newRow("open, overwrite bit only: no must-exist bits") << Call::Open << 0x2 << 0x80006;
    QTest::newRow("open, file must exist given") << Call::Open << 0x1000 << 0x81004;
    QTest::newRow("open, defaults given") << Call::Open << 0x81804 << 0x81804;
    QTest::newRow("save, no flags") << Call::Save << 0 << 0x80004;
    QTest::newRow("save, overwrite prompt") << Call::Save << 0x2 << 0x80006;
    QTest::newRow("save, must exist") << Call::Save << 0x1800 << 0x81804;
}

void TestFileDlg::optionWord()
{
    QFETCH(Call, call);
    QFETCH(int, flags);
    QFETCH(int, expected);
    FakeDialogService dialogs;
    FileDlg dlg(dialogs);
    dlg.Flags = flags;
    show(dlg, call);
    QCOMPARE(channel(dialogs, call).calls(), 1);
    QCOMPARE(channel(dialogs, call).last()->options, expected);
    QCOMPARE(channel(dialogs, call).last()->kind,
             call == Call::Save ? FileDialogKind::Save : FileDialogKind::Open);
    QCOMPARE(dlg.Flags, flags);
}

void TestFileDlg::filenameLength_data()
{
    addCallColumn();
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("raises");

    for (const Call call : {Call::Open, Call::Save}) {
        const char* name = call == Call::Save ? "save" : "open";
        QTest::addRow("%s, empty", name) << call << 0 << false;
        QTest::addRow("%s, 256 characters", name) << call << 256 << false;
        QTest::addRow("%s, 257 characters", name) << call << 257 << true;
        QTest::addRow("%s, 1000 characters", name) << call << 1000 << true;
    }
}

void TestFileDlg::filenameLength()
{
    QFETCH(Call, call);
    QFETCH(int, length);
    QFETCH(bool, raises);
    FakeDialogService dialogs;
    FileDlg dlg(dialogs);
    dlg.Cancel = true;   // every call starts by clearing it
    const QString proposed(length, u'名');
    dlg.Filename = proposed;

    try {
        show(dlg, call);
        QVERIFY2(!raises, "a name over 256 characters must be refused");
        QCOMPARE(channel(dialogs, call).last()->initialName, proposed);
    } catch (const RunTimeError& error) {
        QVERIFY2(raises, "a name of at most 256 characters must be accepted");
        QCOMPARE(error.number(), ErrorNumber::InvalidCall);
        QCOMPARE(dialogs.totalCalls(), 0);
        QCOMPARE(dlg.Cancel, false);
    }
    QCOMPARE(dlg.Filename, proposed);   // no answer queued: cancelled or refused
}

void TestFileDlg::results_data()
{
    addCallColumn();
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("filename");

    for (const Call call : {Call::Open, Call::Save}) {
        const char* name = call == Call::Save ? "save" : "open";
        QTest::addRow("%s, cancelled", name) << call << false << "" << true << "before.txt";
        QTest::addRow("%s, chosen", name) << call << true << "/tmp/a.png" << false << "/tmp/a.png";
        QTest::addRow("%s, Japanese path", name)
            << call << true << "/tmp/画像フォルダ/文字.jpg" << false << "/tmp/画像フォルダ/文字.jpg";
        QTest::addRow("%s, path over 256 characters comes back whole", name)
            << call << true << "/tmp/" + QString(300, u'x') << false << "/tmp/" + QString(300, u'x');
        QTest::addRow("%s, text after a NUL dropped", name)
            << call << true << QStringLiteral("/tmp/a.bmp") + QChar(0) + "junk" << false << "/tmp/a.bmp";
        QTest::addRow("%s, confirmed without a path counts as cancel", name)
            << call << true << "" << true << "before.txt";
    }
}

void TestFileDlg::results()
{
    QFETCH(Call, call);
    QFETCH(bool, accepted);
    QFETCH(QString, path);
    QFETCH(bool, cancel);
    QFETCH(QString, filename);
    FakeDialogService dialogs;
    FileDlg dlg(dialogs);
    dlg.Filename = "before.txt";
    dlg.Cancel = !cancel;
    channel(dialogs, call).queue({accepted, path});

    const QString returned = show(dlg, call);
    QCOMPARE(dlg.Cancel, cancel);
    QCOMPARE(dlg.Filename, filename);
    QCOMPARE(returned, cancel ? QString() : filename);
}

void TestFileDlg::fileTypes_data()
{
    addCallColumn();
    QTest::addColumn<QString>("filterProperty");
    QTest::addColumn<QString>("strFilter");
    QTest::addColumn<QStringList>("nameFilters");

    for (const Call call : {Call::Open, Call::Save}) {
        const char* name = call == Call::Save ? "save" : "open";
        QTest::addRow("%s, property used", name)
            << call << "A|*.a|B|*.b|" << "" << QStringList{"A (*.a)", "B (*.b)"};
        QTest::addRow("%s, argument overrides property", name)
            << call << "A|*.a|" << "画像|*.bmp;*.png|" << QStringList{"画像 (*.bmp *.png)"};
        QTest::addRow("%s, neither: empty list", name) << call << "" << "" << QStringList{};
    }
}

void TestFileDlg::fileTypes()
{
    QFETCH(Call, call);
    QFETCH(QString, filterProperty);
    QFETCH(QString, strFilter);
    QFETCH(QStringList, nameFilters);
    FakeDialogService dialogs;
    FileDlg dlg(dialogs);
    dlg.Filter = filterProperty;

    show(dlg, call, strFilter);
    const FileDialogRequest request = *channel(dialogs, call).last();
    QCOMPARE(request.nameFilters, nameFilters);
    QCOMPARE(request.selectedNameFilter, nameFilters.value(0));   // the first entry preselected
    QCOMPARE(dlg.Filter, filterProperty);
}

void TestFileDlg::startFolder_data()
{
    addCallColumn();
    QTest::addColumn<bool>("given");

    QTest::newRow("open, empty: current directory") << Call::Open << false;
    QTest::newRow("open, given") << Call::Open << true;
    QTest::newRow("save, empty: current directory") << Call::Save << false;
    QTest::newRow("save, given") << Call::Save << true;
}

void TestFileDlg::startFolder()
{
    QFETCH(Call, call);
    QFETCH(bool, given);
    QTemporaryDir current;
    QVERIFY(current.isValid());
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(current.path()));
    FakeDialogService dialogs;
    FileDlg dlg(dialogs);
    show(dlg, call, {}, given ? QStringLiteral("/tmp/保存先") : QString());
    QDir::setCurrent(before);

    QCOMPARE(channel(dialogs, call).last()->initialDir,
             given ? QStringLiteral("/tmp/保存先") : QDir(current.path()).canonicalPath());
}

void TestFileDlg::title_data()
{
    addCallColumn();
    QTest::addColumn<std::optional<QString>>("title");

    for (const Call call : {Call::Open, Call::Save}) {
        const char* name = call == Call::Save ? "save" : "open";
        QTest::addRow("%s, never set", name) << call << std::optional<QString>();
        QTest::addRow("%s, set empty", name) << call << std::optional<QString>(QString());
        QTest::addRow("%s, set", name) << call << std::optional<QString>(QStringLiteral("文字の保存"));
    }
}

void TestFileDlg::title()
{
    QFETCH(Call, call);
    QFETCH(std::optional<QString>, title);
    FakeDialogService dialogs;
    FileDlg dlg(dialogs);
    dlg.Title = title;
    QWidget owner;
    show(dlg, call, {}, {}, &owner);
    QCOMPARE(channel(dialogs, call).last()->title, title);
    QCOMPARE(channel(dialogs, call).last()->owner, &owner);
}

void TestFileDlg::failingDialogReachesCaller_data()
{
    addCallColumn();
    QTest::newRow("open") << Call::Open;
    QTest::newRow("save") << Call::Save;
}

void TestFileDlg::failingDialogReachesCaller()
{
    QFETCH(Call, call);
    FakeDialogService dialogs;
    FileDlg dlg(dialogs);
    dlg.Filename = "keep.png";
    channel(dialogs, call).queueFailure(ErrorNumber::InvalidCall);
    QVERIFY_THROWS_EXCEPTION(RunTimeError, show(dlg, call));
    QCOMPARE(dlg.Cancel, false);
    QCOMPARE(dlg.Filename, QStringLiteral("keep.png"));
}

void TestFileDlg::propertiesCarryOver()
{
    FakeDialogService dialogs;
    FileDlg dlg(dialogs);
    dlg.Filename = "文字";
    dialogs.saveFileDialog.queue(FakeDialogService::chosenFile("/tmp/文字.png"));
    dlg.ShowSave(nullptr);
    QCOMPARE(dialogs.saveFileDialog.last()->initialName, QStringLiteral("文字"));

    // The next dialog proposes the saved file; a cancelled one leaves everything as it was.
    dlg.ShowOpen(nullptr, "画像|*.png|");
    QCOMPARE(dialogs.openFileDialog.last()->initialName, QStringLiteral("/tmp/文字.png"));
    QCOMPARE(dlg.Cancel, true);
    QCOMPARE(dlg.Filename, QStringLiteral("/tmp/文字.png"));

    dialogs.openFileDialog.queue(FakeDialogService::chosenFile("/tmp/背景.bmp"));
    QCOMPARE(dlg.ShowOpen(nullptr), QStringLiteral("/tmp/背景.bmp"));
    QCOMPARE(dlg.Cancel, false);
}

void TestFileDlg::showDir_data()
{
    QTest::addColumn<QString>("strDefDir");
    QTest::addColumn<int>("answer");   // 0 cancel, 1 chosen, 2 the dialog fails
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("expected");

    QTest::newRow("folder gets a separator") << "/tmp/work" << 1 << "/tmp/work" << false << "/tmp/work/";
    QTest::newRow("root kept as is") << "" << 1 << "/" << false << "/";
    QTest::newRow("Japanese folder") << "" << 1 << "/tmp/作業" << false << "/tmp/作業/";
    QTest::newRow("cancelled") << "/tmp" << 0 << "" << true << "";
    QTest::newRow("no path: cancel, no lone separator") << "/tmp" << 1 << "" << true << "";
    QTest::newRow("failing dialog absorbed") << "/tmp" << 2 << "" << true << "";
}

void TestFileDlg::showDir()
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
    QString returned;
    try {
        returned = dlg.ShowDir(&owner, strDefDir, -1);
    } catch (const RunTimeError&) {
        QFAIL("ShowDir must not raise");
    }
    QCOMPARE(returned, expected);
    QCOMPARE(dlg.Cancel, cancel);
    QCOMPARE(dlg.Filename, QStringLiteral("untouched"));
    QCOMPARE(FileDlgMod::strBrowseDir, strDefDir);
    const FolderDialogRequest request = *dialogs.folderDialog.last();
    QCOMPARE(request.prompt, QStringLiteral("フォルダを選択してください。"));
    QCOMPARE(request.startDir, strDefDir);
    QCOMPARE(request.owner, &owner);
}

void TestFileDlg::trimNull_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("cut at NUL") << QStringLiteral("abc") + QChar(0) + "def" << "abc";
    QTest::newRow("no NUL") << "abc" << "abc";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("NUL first") << QString(QChar(0)) + "abc" << "";
    QTest::newRow("buffer of NULs") << QString(256, QChar(0)) << "";
}

void TestFileDlg::trimNull()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(FileDlgMod::TrimNull(text), expected);
}

void TestFileDlg::addBackslash_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << "" << "/";
    QTest::newRow("appended") << "/tmp/work" << "/tmp/work/";
    QTest::newRow("already there") << "/tmp/work/" << "/tmp/work/";
    QTest::newRow("root") << "/" << "/";
    QTest::newRow("Japanese") << "/tmp/作業" << "/tmp/作業/";
}

void TestFileDlg::addBackslash()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(FileDlgMod::AddBackslash(text), expected);
}

QTEST_MAIN(TestFileDlg)
#include "tst_filedlg.moc"
