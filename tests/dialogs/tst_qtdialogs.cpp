// The Qt dialogs the program shows, through QtDialogService: each dialog is really shown
// (offscreen), inspected and answered from a timer as a user would, and the result read back.
// Also the font record's conversions to and from QFont and the extension a save dialog adds.

#include "platform/widgets/NameFilterSuffix.h"
#include "platform/widgets/QtDialogFactories.h"
#include "platform/widgets/QtDialogService.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontDialog>
#include <QInputDialog>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace sorvel;

namespace {

const QStringList saveTypes{"ビットマップファイル (*.bmp)", "PNGファイル (*.png)",
                            "JPEGファイル (*.jpg)", "すべてのファイル (*.*)"};

// Answers the next modal dialog of type Dialog once it is up; checks in answer may fail, which
// leaves the dialog open: it is rejected then. Gives up after about two seconds, rejecting
// whatever modal dialog is open, so that the test never hangs.
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
            if (dialog->isVisible())
                dialog->reject();
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

// Confirms a file dialog as the OK button does once the name is accepted.
void confirm(QFileDialog& dialog) { static_cast<QDialog&>(dialog).accept(); }

QString platformCaption(QFileDialog::AcceptMode mode)
{
    QFileDialog plain;
    plain.setAcceptMode(mode);
    return plain.windowTitle();
}

} // namespace

class TestQtDialogs : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_folder;   // an existing folder with a Japanese name
    QtDialogService m_service;

private slots:
    void initTestCase()
    {
        // Qt's dialogs keep their history in the user's settings: keep the tests out of them.
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_root.isValid());
        m_folder = QDir(m_root.path()).canonicalPath() + QStringLiteral("/画像フォルダ");
        QVERIFY(QDir().mkpath(m_folder));
    }

    // A name typed without an extension gets the one of the type entry selected when confirmed.
    void saveDialog_data()
    {
        QTest::addColumn<std::optional<QString>>("title");
        QTest::addColumn<int>("preselected");
        QTest::addColumn<int>("picked");   // entries the user moves down the type list; -1 cancels
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        const std::optional<QString> platform;
        QTest::newRow("bitmap, platform caption") << platform << 0 << 0 << "文字" << "文字.bmp";
        QTest::newRow("png preselected, own caption")
            << std::optional<QString>(QStringLiteral("文字の保存")) << 1 << 0 << "文字" << "文字.png";
        QTest::newRow("png picked, empty caption") << std::optional<QString>(QString()) << 0 << 1 << "文字" << "文字.png";
        QTest::newRow("jpeg picked") << platform << 0 << 2 << "文字" << "文字.jpg";
        QTest::newRow("all files picked: as typed") << platform << 0 << 3 << "文字" << "文字";
        QTest::newRow("extension typed stays") << platform << 1 << 0 << "文字.jpg" << "文字.jpg";
        QTest::newRow("cancelled") << platform << 1 << -1 << "文字" << "";
    }
    void saveDialog()
    {
        QFETCH(std::optional<QString>, title);
        QFETCH(int, preselected);
        QFETCH(int, picked);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QWidget owner;
        FileDialogRequest request;
        request.owner = &owner;
        request.title = title;
        request.nameFilters = saveTypes;
        request.selectedNameFilter = saveTypes.at(preselected);
        request.initialName = typed;
        request.initialDir = m_folder;
        request.options = 0x80004;

        bool answered = false;
        answerNextDialog<QFileDialog>([&](QFileDialog& dialog) {
            QCOMPARE(dialog.parentWidget(), &owner);
            QCOMPARE(dialog.windowTitle(), title.value_or(platformCaption(QFileDialog::AcceptSave)));
            QVERIFY(title || !dialog.windowTitle().isEmpty());
            QCOMPARE(QDir(dialog.directory()).canonicalPath(), m_folder);
            auto* typeList = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            QVERIFY(typeList);
            for (int i = 0; i < picked; ++i)
                QTest::keyClick(typeList, Qt::Key_Down);
            QCOMPARE(dialog.selectedNameFilter(), saveTypes.at(preselected + qMax(picked, 0)));
            picked < 0 ? dialog.reject() : confirm(dialog);
        }, &answered);
        const FileDialogResult result = m_service.saveFile(request);
        QVERIFY(answered);
        QCOMPARE(result, (picked < 0 ? FileDialogResult{} : FileDialogResult{true, m_folder + u'/' + expected}));
    }

    void openDialogStartsAtTheProposedFile()
    {
        const QString path = m_folder + QStringLiteral("/背景.png");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        FileDialogRequest request;
        request.nameFilters = QStringList{"使用可能な画像 (*.bmp *.jpg *.png)", "PNGファイル (*.png)"};
        request.selectedNameFilter = request.nameFilters.first();
        request.initialName = path;   // a full path opens the dialog in that file's folder
        request.initialDir = QDir::tempPath();
        request.options = 0x81804;

        bool answered = false;
        answerNextDialog<QFileDialog>([&](QFileDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), platformCaption(QFileDialog::AcceptOpen));
            confirm(dialog);
        }, &answered);
        QCOMPARE(m_service.openFile(request), (FileDialogResult{true, path}));
        QVERIFY(answered);
    }

    void folderDialog_data()
    {
        QTest::addColumn<bool>("startGiven");
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("chosen") << true << true;
        QTest::newRow("no start folder: current directory") << false << true;
        QTest::newRow("cancelled") << true << false;
    }
    void folderDialog()
    {
        QFETCH(bool, startGiven);
        QFETCH(bool, confirmed);
        FolderDialogRequest request;
        request.prompt = QStringLiteral("フォルダを選択してください。");
        request.startDir = startGiven ? m_folder : QString();
        const QString start = startGiven ? m_folder : QDir::current().canonicalPath();

        bool answered = false;
        answerNextDialog<QFileDialog>([&](QFileDialog& dialog) {
            QCOMPARE(dialog.fileMode(), QFileDialog::Directory);
            QVERIFY(dialog.testOption(QFileDialog::ShowDirsOnly));
            QCOMPARE(dialog.windowTitle(), request.prompt);
            QCOMPARE(QDir(dialog.directory()).canonicalPath(), start);
            confirmed ? confirm(dialog) : dialog.reject();
        }, &answered);
        const FolderDialogResult result = m_service.chooseFolder(request);
        QVERIFY(answered);
        if (confirmed)
            QCOMPARE(QDir(result.path).canonicalPath(), start);
        else
            QCOMPARE(result, FolderDialogResult{});
    }

    void colorDialog_data()
    {
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("confirmed") << true;
        QTest::newRow("cancelled") << false;
    }
    void colorDialog()
    {
        QFETCH(bool, confirmed);
        ColorDialogRequest request;
        request.initialColor = 0x0000FF;   // red
        for (int i = 0; i < customColorCount; ++i)
            request.customColors[static_cast<std::size_t>(i)] = rgbColor(i * 16, 255 - i, i);
        request.customColors[3] = 0x00FF00;

        bool answered = false;
        answerNextDialog<QColorDialog>([&](QColorDialog& dialog) {
            QCOMPARE(dialog.currentColor(), QColor(255, 0, 0));
            // The user defines a custom colour and picks a colour.
            QColorDialog::setCustomColor(5, QColor(0x10, 0x20, 0x30));
            dialog.setCurrentColor(QColor(0x40, 0x80, 0xC0));
            confirmed ? dialog.accept() : dialog.reject();
        }, &answered);
        const ColorDialogResult result = m_service.chooseColor(request);
        QVERIFY(answered);
        QCOMPARE(result.accepted, confirmed);
        CustomColors expected = request.customColors;   // loaded into the dialog and read back
        if (confirmed) {
            QCOMPARE(result.color, ColorValue(0xC08040));
            expected[5] = 0x302010;
        }
        QCOMPARE(result.customColors, expected);
    }

    void fontDialog_data()
    {
        QTest::addColumn<int>("tenths");
        QTest::addColumn<int>("weight");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<bool>("underline");
        QTest::addColumn<bool>("strikeOut");
        QTest::addColumn<int>("shownSize");
        QTest::addColumn<int>("chosenSize");   // 0: confirmed as shown; -1: cancelled
        QTest::newRow("12 pt plain") << 120 << 400 << false << false << false << 12 << 0;
        QTest::newRow("14 pt bold italic") << 140 << 700 << true << false << false << 14 << 0;
        QTest::newRow("9 pt underline strike-out") << 90 << 400 << false << true << true << 9 << 0;
        QTest::newRow("10.5 pt shown as 11, kept") << 105 << 400 << false << false << false << 11 << 0;
        QTest::newRow("10.2 pt shown as 10, kept") << 102 << 700 << false << false << false << 10 << 0;
        QTest::newRow("10.5 pt changed to 13") << 105 << 400 << false << true << false << 11 << 13;
        QTest::newRow("10.2 pt changed to 12") << 102 << 700 << true << false << false << 10 << 12;
        QTest::newRow("9 pt changed to 11") << 90 << 400 << false << false << true << 9 << 11;
        QTest::newRow("cancelled") << 120 << 400 << false << false << false << 12 << -1;
    }
    void fontDialog()
    {
        QFETCH(int, tenths);
        QFETCH(int, weight);
        QFETCH(bool, italic);
        QFETCH(bool, underline);
        QFETCH(bool, strikeOut);
        QFETCH(int, shownSize);
        QFETCH(int, chosenSize);
        FontDialogRequest request;
        request.logFont.height = 16;
        request.logFont.weight = weight;
        request.logFont.italic = italic ? 1 : 0;
        request.logFont.underline = underline ? 1 : 0;
        request.logFont.strikeOut = strikeOut ? 1 : 0;
        request.logFont.charSet = 128;
        request.logFont.faceName = QStringLiteral("DejaVu Serif");
        request.pointSizeTenths = tenths;
        request.color = 0x0000FF;
        request.flags = 0x43;

        bool answered = false;
        answerNextDialog<QFontDialog>([&](QFontDialog& dialog) {
            const QFont start = dialog.currentFont();
            QCOMPARE(start.family(), QStringLiteral("DejaVu Serif"));
            QCOMPARE(start.pointSize(), shownSize);
            QCOMPARE(start.weight(), weight);
            QCOMPARE(start.italic(), italic);
            QCOMPARE(start.underline(), underline);
            QCOMPARE(start.strikeOut(), strikeOut);
            if (chosenSize < 0)
                return dialog.reject();
            if (chosenSize > 0) {
                QFont other = dialog.currentFont();
                other.setPointSize(chosenSize);
                dialog.setCurrentFont(other);
            }
            dialog.accept();
        }, &answered);
        const FontDialogResult result = m_service.chooseFont(request);
        QVERIFY(answered);
        if (chosenSize < 0) {
            QCOMPARE(result, FontDialogResult{});
            return;
        }
        // The record comes back with the chosen size (the request's own when left as shown),
        // the platform's height for it, and what the dialog cannot change.
        const int chosenTenths = chosenSize > 0 ? chosenSize * 10 : tenths;
        QVERIFY(result.accepted);
        QCOMPARE(result.pointSizeTenths, chosenTenths);
        LogFont expected = request.logFont;
        expected.height = -qRound(chosenTenths / 10.0 * 96.0 / 72.0);
        QCOMPARE(result.logFont, expected);
        QCOMPARE(result.color, ColorValue(0x0000FF));
    }

    // What a drawing surface's font gives the font dialog's record.
    void fontRecordOfQFont()
    {
        QFont font(QStringLiteral("IPAGothic"));
        font.setPixelSize(19);
        font.setWeight(QFont::DemiBold);
        font.setItalic(true);
        font.setFixedPitch(true);
        font.setStyleHint(QFont::Monospace);
        font.setStyleStrategy(QFont::NoAntialias);
        LogFont expected;
        expected.height = -19;
        expected.weight = 600;
        expected.italic = 1;
        expected.pitchAndFamily = LogFontValue::fixedPitch | LogFontValue::familyModern;
        expected.quality = LogFontValue::nonAntialiasedQuality;
        expected.faceName = QStringLiteral("IPAGothic");
        const LogFont record = logFontFromQFont(font);
        expected.charSet = record.charSet;
        QCOMPARE(record, expected);
        QCOMPARE(pointSizeTenthsOf(font), 142);   // 19 px = 14.25 pt, halves to even
        // Without a size in tenths the height gives the size back.
        QCOMPARE(qFontFromLogFont(record, 0).pixelSize(), 19);

        // Face names are cut to 31 characters, never inside a surrogate pair.
        QCOMPARE(fitFaceName(QString(31, u'a')), QString(31, u'a'));
        QCOMPARE(fitFaceName(QString(30, u'a') + QStringLiteral("𠀋") + "b"), QString(30, u'a'));
    }

    void inputPrompt_data()
    {
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("answered") << true << "75";
        QTest::newRow("cancelled gives empty text") << false << "";
    }
    void inputPrompt()
    {
        QFETCH(bool, confirmed);
        QFETCH(QString, expected);
        QWidget owner;
        InputPromptRequest request;
        request.owner = &owner;
        request.title = QStringLiteral("JPEG形式で保存");
        request.prompt = QStringLiteral("圧縮率を入力してください。\r0～100(%)");
        request.defaultAnswer = QStringLiteral("50");

        bool answered = false;
        answerNextDialog<QInputDialog>([&](QInputDialog& dialog) {
            QCOMPARE(dialog.parentWidget(), &owner);
            QCOMPARE(dialog.windowTitle(), request.title);
            QCOMPARE(dialog.inputMode(), QInputDialog::TextInput);
            QCOMPARE(dialog.labelText(), QStringLiteral("圧縮率を入力してください。\n0～100(%)"));
            QCOMPARE(dialog.textValue(), QStringLiteral("50"));
            dialog.setTextValue(QStringLiteral("75"));
            confirmed ? dialog.accept() : dialog.reject();
        }, &answered);
        QCOMPARE(m_service.inputText(request), expected);
        QVERIFY(answered);
        QCOMPARE(promptDisplayText(QStringLiteral("a\r\nb\rc\nd")), QStringLiteral("a\nb\nc\nd"));
    }

    // The extension added to a name typed without one, from the selected type entry.
    void defaultSuffix_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("nameFilter");
        QTest::addColumn<QString>("expected");
        QTest::newRow("extension added") << "/tmp/文字" << "PNGファイル (*.png)" << "/tmp/文字.png";
        QTest::newRow("first mask counts") << "/tmp/a" << "使用可能な画像 (*.bmp *.jpg *.png)" << "/tmp/a.bmp";
        QTest::newRow("all files adds nothing") << "/tmp/a" << "すべてのファイル (*.*)" << "/tmp/a";
        QTest::newRow("star") << "/tmp/a" << "Anything (*)" << "/tmp/a";
        QTest::newRow("wildcard in extension") << "/tmp/a" << "JPEG (*.jp?)" << "/tmp/a";
        QTest::newRow("no parentheses") << "/tmp/a" << "*.txt" << "/tmp/a.txt";
        QTest::newRow("plain name") << "/tmp/a" << "Readme (README)" << "/tmp/a";
        QTest::newRow("parenthesis in description") << "/tmp/a" << "Bild (neu) (*.gif)" << "/tmp/a.gif";
        QTest::newRow("empty filter") << "/tmp/a" << "" << "/tmp/a";
        QTest::newRow("extension kept") << "/tmp/a.jpg" << "PNGファイル (*.png)" << "/tmp/a.jpg";
        QTest::newRow("dot in folder only") << "/tmp/x.d/a" << "ビットマップファイル (*.bmp)" << "/tmp/x.d/a.bmp";
        QTest::newRow("trailing dot kept") << "/tmp/a." << "PNGファイル (*.png)" << "/tmp/a.";
        QTest::newRow("folder path unchanged") << "/tmp/" << "PNGファイル (*.png)" << "/tmp/";
    }
    void defaultSuffix()
    {
        QFETCH(QString, path);
        QFETCH(QString, nameFilter);
        QFETCH(QString, expected);
        QCOMPARE(withDefaultSuffix(path, nameFilter), expected);
    }
};

QTEST_MAIN(TestQtDialogs)
#include "tst_qtdialogs.moc"
