// What main() sets up: the platform on a Wayland session, the desktop file name, and Qt's own
// dialogs in Japanese whatever the locale (the test runs once under LANG=C and once under
// en_US.UTF-8), or in English, silently, when the translation cannot be loaded.
#include "app/ApplicationSetup.h"
#include "app/WindowCommandLine.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace sorvel;

namespace {

QStringList buttonTexts(const QList<QAbstractButton*>& buttons)
{
    QStringList texts;
    for (const QAbstractButton* button : buttons)
        texts << button->text().remove(u'&');
    texts.sort();
    return texts;
}

// The captions Qt's dialogs show: the colour dialog's title, a message box's and the input
// dialog's buttons, the file dialog's accept button and file name label.
QStringList dialogTexts()
{
    QStringList texts;
    QColorDialog color;
    texts << color.windowTitle();
    QMessageBox box(QMessageBox::Question, QStringLiteral("title"), QStringLiteral("text"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    texts << buttonTexts(box.buttons());
    QInputDialog input;
    input.show(); // lays the dialog out, buttons included
    const auto* inputButtons = input.findChild<QDialogButtonBox*>();
    texts << (inputButtons ? buttonTexts(inputButtons->buttons()) : QStringList{"no buttons"});
    QFileDialog file;
    file.setOption(QFileDialog::DontUseNativeDialog);
    file.setAcceptMode(QFileDialog::AcceptOpen);
    texts << file.labelText(QFileDialog::Accept).remove(u'&') << file.labelText(QFileDialog::FileName).remove(u'&');
    return texts;
}

} // namespace

class ApplicationSetupTest : public QObject {
    Q_OBJECT
private slots:
    void platform_data()
    {
        QTest::addColumn<QByteArray>("qtPlatform");
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<QByteArray>("x11");
        QTest::addColumn<QByteArray>("session");
        QTest::addColumn<QByteArray>("chosen"); // empty: left to Qt
        QTest::newRow("Wayland with XWayland") << QByteArray() << QByteArray("wayland-0") << QByteArray(":0")
                                               << QByteArray("wayland") << QByteArray("xcb");
        QTest::newRow("Wayland session, socket unnamed")
            << QByteArray() << QByteArray() << QByteArray(":1") << QByteArray("wayland") << QByteArray("xcb");
        QTest::newRow("Wayland without X display")
            << QByteArray() << QByteArray("wayland-0") << QByteArray() << QByteArray("wayland") << QByteArray();
        QTest::newRow("user's choice kept") << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray(":0")
                                            << QByteArray("wayland") << QByteArray();
        QTest::newRow("X11 session") << QByteArray() << QByteArray() << QByteArray(":0") << QByteArray("x11")
                                     << QByteArray();
    }
    void platform()
    {
        QFETCH(QByteArray, qtPlatform);
        QFETCH(QByteArray, wayland);
        QFETCH(QByteArray, x11);
        QFETCH(QByteArray, session);
        QFETCH(QByteArray, chosen);
        QCOMPARE(platformOverride(qtPlatform, wayland, x11, session).value_or(QByteArray()), chosen);
    }

    // --help and --version answer without a window; anything else starts it.
    void commandLine()
    {
        const QString help = commandLineAnswer({"sorvel", "--help"}).value_or(QString());
        QVERIFY(help.startsWith(QStringLiteral("Usage: sorvel")));
        QCOMPARE(commandLineAnswer({"sorvel", "-platform", "xcb", "-h"}), help);
        QCOMPARE(commandLineAnswer({"sorvel", "--version"}), QStringLiteral("sorvel " SORVEL_TEST_VERSION "\n"));
        QCOMPARE(commandLineAnswer({"sorvel", "-platform", "xcb"}), std::nullopt);
    }

    // Runs before the translation is installed: no file, no message, English dialogs.
    void missingTranslationLeavesEnglish()
    {
        QTemporaryDir empty;
        static int messages = 0;
        const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) { ++messages; });
        const bool loaded = installQtTranslation(*QCoreApplication::instance(), empty.path());
        qInstallMessageHandler(previous);
        QVERIFY(!loaded);
        QCOMPARE(messages, 0);
        QCOMPARE(dialogTexts(),
                 QStringList({"Select Color", "Cancel", "No", "Yes", "Cancel", "OK", "Open", "File name:"}));
    }

    void dialogsSpeakJapanese()
    {
        setUpApplication(*qApp);
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("org.sorvel.Sorvel"));
        QCOMPARE(dialogTexts(), QStringList({"色を選択", "いいえ(N)", "はい(Y)", "キャンセル", "OK", "キャンセル",
                                             "開く(O)", "ファイル名(N):"}));
    }
};

QTEST_MAIN(ApplicationSetupTest)
#include "tst_application_setup.moc"
