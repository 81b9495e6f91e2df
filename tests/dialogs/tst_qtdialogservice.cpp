// QtDialogService end to end: each dialog is really shown (offscreen), answered from a timer
// as a user would, and the result read back.

#include "platform/widgets/QtDialogService.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace sorvel;

namespace {

// Answers the next modal dialog of type Dialog once it is up. Gives up after about two
// seconds, rejecting whatever modal dialog is open so that the test never hangs.
template <class Dialog>
void answerNextDialog(std::function<void(Dialog&)> answer, bool* answered)
{
    *answered = false;
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, tries, answer, answered] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<Dialog*>(modal)) {
            *answered = true;
            answer(*dialog);
        } else if (++*tries < 200) {
            return;
        } else if (auto* other = qobject_cast<QDialog*>(modal)) {
            other->reject();
        }
        timer->stop();
        timer->deleteLater();
    });
    timer->start(10);
}

} // namespace

class TestQtDialogService : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void saveAddsTypeExtension_data();
    void saveAddsTypeExtension();
    void openExistingFile();
    void fileDialogCancelled();
    void folderChosen();
    void colorConfirmedAndCancelled_data();
    void colorConfirmedAndCancelled();
    void fontKept();
    void inputPrompt_data();
    void inputPrompt();

private:
    QTemporaryDir m_root;
    QString m_folder;
    QtDialogService m_service;
};

void TestQtDialogService::initTestCase()
{
    // Qt's dialogs keep their history in the user's settings: keep the tests out of them.
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_root.isValid());
    m_folder = QDir(m_root.path()).canonicalPath() + QStringLiteral("/保存フォルダ");
    QVERIFY(QDir().mkpath(m_folder));
}

void TestQtDialogService::saveAddsTypeExtension_data()
{
    QTest::addColumn<int>("typeIndex");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("bitmap") << 0 << "文字" << "文字.bmp";
    QTest::newRow("png") << 1 << "文字" << "文字.png";
    QTest::newRow("extension typed stays") << 1 << "文字.jpg" << "文字.jpg";
    QTest::newRow("all files: as typed") << 2 << "文字" << "文字";
}

void TestQtDialogService::saveAddsTypeExtension()
{
    QFETCH(int, typeIndex);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    FileDialogRequest request;
    request.kind = FileDialogKind::Save;
    request.nameFilters = QStringList{"ビットマップファイル (*.bmp)", "PNGファイル (*.png)", "すべてのファイル (*.*)"};
    request.selectedNameFilter = request.nameFilters.at(typeIndex);
    request.initialName = typed;
    request.initialDir = m_folder;
    request.options = 0x80004;

    bool answered = false;
    answerNextDialog<QFileDialog>([](QFileDialog& dialog) { static_cast<QDialog&>(dialog).accept(); }, &answered);
    const FileDialogResult result = m_service.saveFile(request);
    QVERIFY(answered);
    QVERIFY(result.accepted);
    QCOMPARE(result.path, m_folder + u'/' + expected);
}

void TestQtDialogService::openExistingFile()
{
    const QString path = m_folder + QStringLiteral("/背景.png");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    FileDialogRequest request;
    request.kind = FileDialogKind::Open;
    request.nameFilters = QStringList{"PNGファイル (*.png)"};
    request.selectedNameFilter = request.nameFilters.first();
    request.initialName = path;
    request.initialDir = QDir::tempPath();
    request.options = 0x81804;

    bool answered = false;
    answerNextDialog<QFileDialog>([](QFileDialog& dialog) { static_cast<QDialog&>(dialog).accept(); }, &answered);
    const FileDialogResult result = m_service.openFile(request);
    QVERIFY(answered);
    QCOMPARE(result, (FileDialogResult{true, path}));
}

void TestQtDialogService::fileDialogCancelled()
{
    FileDialogRequest request;
    request.initialName = QStringLiteral("a.png");
    request.initialDir = m_folder;
    bool answered = false;
    answerNextDialog<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); }, &answered);
    QCOMPARE(m_service.saveFile(request), FileDialogResult{});
    QVERIFY(answered);
}

void TestQtDialogService::folderChosen()
{
    FolderDialogRequest request;
    request.prompt = QStringLiteral("フォルダを選択してください。");
    request.startDir = m_folder;
    bool answered = false;
    answerNextDialog<QFileDialog>([](QFileDialog& dialog) { static_cast<QDialog&>(dialog).accept(); }, &answered);
    const FolderDialogResult result = m_service.chooseFolder(request);
    QVERIFY(answered);
    QVERIFY(result.accepted);
    QCOMPARE(QDir(result.path).canonicalPath(), m_folder);
}

void TestQtDialogService::colorConfirmedAndCancelled_data()
{
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("confirmed") << true;
    QTest::newRow("cancelled") << false;
}

void TestQtDialogService::colorConfirmedAndCancelled()
{
    QFETCH(bool, confirmed);
    ColorDialogRequest request;
    request.initialColor = 0x0000FF;
    request.customColors[3] = 0x00FF00;

    bool answered = false;
    answerNextDialog<QColorDialog>([confirmed](QColorDialog& dialog) {
        // The user defines a custom colour and picks a colour.
        QColorDialog::setCustomColor(5, QColor(0x10, 0x20, 0x30));
        dialog.setCurrentColor(QColor(0x40, 0x80, 0xC0));
        confirmed ? dialog.accept() : dialog.reject();
    }, &answered);
    const ColorDialogResult result = m_service.chooseColor(request);
    QVERIFY(answered);
    QCOMPARE(result.accepted, confirmed);
    CustomColors expected = request.customColors;
    if (confirmed) {
        QCOMPARE(result.color, ColorValue(0xC08040));
        expected[5] = 0x302010;
    }
    QCOMPARE(result.customColors, expected);
}

void TestQtDialogService::fontKept()
{
    FontDialogRequest request;
    request.logFont.height = 14;
    request.logFont.weight = 700;
    request.logFont.underline = 1;
    request.logFont.faceName = QStringLiteral("DejaVu Sans");
    request.pointSizeTenths = 105;
    request.color = 0x00FF00;
    request.flags = 0x43;

    bool answered = false;
    answerNextDialog<QFontDialog>([](QFontDialog& dialog) { dialog.accept(); }, &answered);
    const FontDialogResult result = m_service.chooseFont(request);
    QVERIFY(answered);
    QVERIFY(result.accepted);
    QCOMPARE(result.pointSizeTenths, 105);
    QCOMPARE(result.logFont.weight, 700);
    QCOMPARE(result.logFont.italic, std::uint8_t(0));
    QCOMPARE(result.logFont.underline, std::uint8_t(1));
    QCOMPARE(result.logFont.faceName, QStringLiteral("DejaVu Sans"));
    QCOMPARE(result.color, ColorValue(0x00FF00));
}

void TestQtDialogService::inputPrompt_data()
{
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("answered") << true << "75";
    QTest::newRow("cancelled gives empty text") << false << "";
}

void TestQtDialogService::inputPrompt()
{
    QFETCH(bool, confirmed);
    QFETCH(QString, expected);
    InputPromptRequest request;
    request.title = QStringLiteral("JPEG形式で保存");
    request.prompt = QStringLiteral("圧縮率を入力してください。\r0～100(%)");
    request.defaultAnswer = QStringLiteral("50");
    bool answered = false;
    answerNextDialog<QInputDialog>([confirmed](QInputDialog& dialog) {
        dialog.setTextValue(QStringLiteral("75"));
        confirmed ? dialog.accept() : dialog.reject();
    }, &answered);
    QCOMPARE(m_service.inputText(request), expected);
    QVERIFY(answered);
}

QTEST_MAIN(TestQtDialogService)
#include "tst_qtdialogservice.moc"
