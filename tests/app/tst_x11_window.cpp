// The real program on the X server the test runs on: its window appears under its caption with
// a fixed size, and a close request from the window system ends the program promptly.
#include "support/XServer.h"

#include <QProcess>
#include <QtTest>

using sorvel::test::XServer;

class X11WindowTest : public QObject {
    Q_OBJECT
private slots:
    void closeRequestEndsTheProgram()
    {
        XServer server;
        QVERIFY(xcb_connection_has_error(server.c) == 0);
        QProcess program;
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(SORVEL_BINARY_DIR "/sorvel"),
                      {"-platform", "xcb"}); // over the offscreen the test runs with
        QVERIFY(program.waitForStarted());

        std::optional<xcb_window_t> window;
        QTRY_VERIFY_WITH_TIMEOUT((window = server.findWindow(QStringLiteral("Sorvel ペイント"))).has_value(), 20000);
        QCOMPARE(server.size(*window), QSize(433, 312));

        server.requestClose(*window);
        QVERIFY2(program.waitForFinished(5000), "the program is still running after the close request");
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(X11WindowTest)
#include "tst_x11_window.moc"
