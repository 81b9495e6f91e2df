// The program as installed: cmake --install into a temporary DESTDIR holds exactly the files
// of the install layout, and the installed window starts from that tree, names itself as its
// desktop entry says, shows Qt's colour dialog in Japanese under LANG=C, and on closing hands a
// copied picture to the installed clipboard keeper.
#include "artwork/Artwork.h"
#include "app/WindowLayout.h"
#include "support/X11Clipboard.h"
#include "support/XServer.h"

#include <QDirIterator>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace sorvel;
using namespace sorvel::test;

namespace {

const QString id = QStringLiteral("org.sorvel.Sorvel");

QStringList filesUnder(const QString& root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

// The centre of a control, in window coordinates, through the containers it sits in.
QPoint centreOf(std::initializer_list<layout::Place> chain)
{
    layout::Place sum{0, 0, 0, 0};
    for (const layout::Place& place : chain) {
        sum.left += place.left;
        sum.top += place.top;
        sum.width = place.width;
        sum.height = place.height;
    }
    return layout::toPixels(sum).center();
}

// The process running program, if any (its pid).
std::optional<qint64> runningProgram(const QString& program)
{
    QDirIterator it(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        bool number = false;
        const qint64 pid = it.next().section(u'/', -1).toLongLong(&number);
        if (number && QFileInfo(it.filePath() + QStringLiteral("/exe")).symLinkTarget() == program &&
            !processEnded(pid))
            return pid;
    }
    return std::nullopt;
}

} // namespace

class InstalledProgramTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_destdir;
    QString m_usr;

private slots:
    void initTestCase()
    {
        QVERIFY(m_destdir.isValid());
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DESTDIR"), m_destdir.path());
        install.setProcessEnvironment(environment);
        install.start(QStringLiteral(SORVEL_CMAKE_COMMAND), {"--install", SORVEL_BINARY_DIR, "--prefix", "/usr"});
        QVERIFY(install.waitForFinished(60000));
        QVERIFY2(install.exitCode() == 0, install.readAll().constData());
        m_usr = m_destdir.path() + QStringLiteral("/usr");
    }

    void treeHoldsTheLayout()
    {
        QStringList expected{
            "bin/sorvel",
            "bin/sorvel-render",
            "libexec/sorvel/sorvel-clipboard-keeper",
            "share/applications/" + id + ".desktop",
            "share/metainfo/" + id + ".metainfo.xml",
            "share/icons/hicolor/scalable/apps/" + id + ".svg",
            "share/man/man1/sorvel.1.gz",
            "share/man/man1/sorvel-render.1.gz",
            "share/doc/sorvel/LICENSE",
            "share/doc/sorvel/copyright",
            "share/doc/sorvel/changelog.gz",
        };
        for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
            const QString png = QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(id);
            expected << png;
            // Drawn by the window's own icon code.
            QCOMPARE(QImage(m_usr + u'/' + png).convertToFormat(QImage::Format_ARGB32), artwork::iconPicture(size));
        }
        expected.sort();
        QCOMPARE(filesUnder(m_usr), expected);
        for (const char* program : {"bin/sorvel", "bin/sorvel-render", "libexec/sorvel/sorvel-clipboard-keeper"})
            QVERIFY2(QFileInfo(m_usr + u'/' + QLatin1String(program)).isExecutable(), program);
    }

    void windowFromTheInstalledTree()
    {
        QSettings entry(m_usr + "/share/applications/" + id + ".desktop", QSettings::IniFormat);
        entry.beginGroup(QStringLiteral("Desktop Entry"));
        QCOMPARE(entry.value("Exec").toString(), QStringLiteral("sorvel"));
        QCOMPARE(entry.value("Icon").toString(), id);

        XServer server;
        QVERIFY(xcb_connection_has_error(server.c) == 0);
        xclip({"-selection", "clipboard", "-i", "/dev/null"}); // nothing of an earlier test
        QProcess program;
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LANG"), QStringLiteral("C"));
        environment.remove(QStringLiteral("LC_ALL"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        program.setProcessEnvironment(environment);
        program.start(m_usr + QStringLiteral("/bin/sorvel"), QStringList{});
        QVERIFY(program.waitForStarted());

        std::optional<xcb_window_t> window;
        QTRY_VERIFY_WITH_TIMEOUT((window = server.findWindow(layout::readyCaption.toString())).has_value(), 20000);
        // WM_CLASS holds the instance and the class name, each ending in NUL.
        const QList<QByteArray> wmClass = server.property(*window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING).split('\0');
        QVERIFY(wmClass.size() >= 2);
        QCOMPARE(QString::fromLatin1(wmClass.at(1)), entry.value("StartupWMClass").toString());

        // The colour dialog, as Qt draws it, in Japanese.
        server.click(*window,
                     centreOf({layout::colorFrame.place, layout::swatchPanel.place, layout::otherColorButton.place}));
        std::optional<xcb_window_t> dialog;
        QTRY_VERIFY_WITH_TIMEOUT((dialog = server.findWindow(QStringLiteral("色を選択"))).has_value(), 10000);
        server.requestClose(*dialog);
        QTRY_VERIFY_WITH_TIMEOUT(!server.findWindow(QStringLiteral("色を選択")).has_value(), 10000);

        // A text, so that there is a picture to copy.
        server.click(*window, centreOf({layout::textFrame.place, layout::textBox.place}));
        for (const char letter : {'s', 'o', 'r', 'v', 'e', 'l'})
            QVERIFY(server.typeKey(static_cast<xcb_keysym_t>(letter)));
        server.click(*window, centreOf({layout::copyButton.place}));
        QTRY_VERIFY_WITH_TIMEOUT(!pasted("image/png").isNull(), 10000);
        const QImage copied = pasted("image/png");
        server.requestClose(*window);
        QVERIFY2(program.waitForFinished(5000), "the program is still running after the close request");
        QCOMPARE(program.exitCode(), 0);

        // The installed keeper, not one of the build folder, now serves the picture.
        const QString keeper = m_usr + QStringLiteral("/libexec/sorvel/sorvel-clipboard-keeper");
        std::optional<qint64> keeperPid;
        QTRY_VERIFY_WITH_TIMEOUT((keeperPid = runningProgram(keeper)).has_value(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(pasted("image/png"), copied, 10000);
        QProcess other;
        other.start(QStringLiteral("xclip"), {"-quiet", "-selection", "clipboard", "-i"});
        QVERIFY(other.waitForStarted());
        other.write("text");
        other.closeWriteChannel();
        QTRY_VERIFY_WITH_TIMEOUT(processEnded(*keeperPid), 10000);
        other.kill();
        other.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(InstalledProgramTest)
#include "tst_x11_installed_program.moc"
