// sorvel-render takes ".jpeg" as it takes ".jpg": the same JPEG bytes written, the same
// background picture read.
#include "tools/RenderCommandProcess.h"

#include <QTemporaryDir>

using namespace sorvel::test;

class RenderCommandJpegEndingTest : public QObject {
    Q_OBJECT
private slots:
    void jpegEndingWritesJpeg()
    {
        QTemporaryDir folder;
        const QString jpg = folder.filePath(QStringLiteral("a.jpg"));
        const QString jpeg = folder.filePath(QStringLiteral("a.JPEG"));
        QCOMPARE(runRenderCommand({"--quality", "80", "-o", jpg, "Ending"}).exitCode, 0);
        QCOMPARE(runRenderCommand({"--quality", "80", "-o", jpeg, "Ending"}).exitCode, 0);
        QVERIFY(fileBytes(jpg).startsWith("\xFF\xD8"));
        QCOMPARE(fileBytes(jpeg), fileBytes(jpg));
    }

    void jpegEndingIsABackgroundPicture()
    {
        QTemporaryDir folder;
        QImage paper(5, 3, QImage::Format_RGB32);
        paper.fill(qRgb(30, 160, 90));
        paper.setPixel(2, 1, qRgb(250, 240, 10));
        const QString jpg = folder.filePath(QStringLiteral("paper.jpg"));
        const QString jpeg = folder.filePath(QStringLiteral("paper.jpeg"));
        QVERIFY(paper.save(jpg, "JPEG", 95));
        QVERIFY(QFile::copy(jpg, jpeg));
        const RenderCommandRun plain = runRenderCommand({"-o", "-", "Paper"});
        const RenderCommandRun fromJpg = runRenderCommand({"--picture", jpg, "-o", "-", "Paper"});
        const RenderCommandRun fromJpeg = runRenderCommand({"--picture", jpeg, "-o", "-", "Paper"});
        QCOMPARE(fromJpeg.exitCode, 0);
        QCOMPARE(fromJpeg.standardError, QByteArray());
        QCOMPARE(canvasImageOf(fromJpeg.standardOutput), canvasImageOf(fromJpg.standardOutput));
        QVERIFY(canvasImageOf(fromJpeg.standardOutput) != canvasImageOf(plain.standardOutput));
    }
};

QTEST_MAIN(RenderCommandJpegEndingTest)
#include "tst_render_command_jpeg_ending.moc"
