// The Qt dialogs the program shows: each request is mapped onto a real, configured dialog,
// inspected without showing it. Also the font record's conversions to and from QFont.

#include "platform/widgets/QtDialogFactories.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFontDialog>
#include <QInputDialog>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace sorvel;

Q_DECLARE_METATYPE(FileDialogKind)
Q_DECLARE_METATYPE(QFileDialog::FileMode)

namespace {

const QStringList saveTypes{"ビットマップファイル (*.bmp)", "PNGファイル (*.png)",
                            "JPEGファイル (*.jpg)", "すべてのファイル (*.*)"};

} // namespace

class TestQtDialogs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void fileSetup_data();
    void fileSetup();
    void saveDialog();
    void saveSuffixFollowsType_data();
    void saveSuffixFollowsType();
    void openDialogFullPathName();
    void defaultCaption_data();
    void defaultCaption();
    void folderDialog();
    void colorDialog();
    void fontDialog_data();
    void fontDialog();
    void fontRecordOfQFont();
    void inputPrompt();

private:
    QTemporaryDir m_root;
    QString m_folder;   // an existing folder with a Japanese name
};

void TestQtDialogs::initTestCase()
{
    // Qt's dialogs keep their history in the user's settings: keep the tests out of them.
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_root.isValid());
    m_folder = QDir(m_root.path()).canonicalPath() + QStringLiteral("/画像フォルダ");
    QVERIFY(QDir().mkpath(m_folder));
}

void TestQtDialogs::fileSetup_data()
{
    QTest::addColumn<FileDialogKind>("kind");
    QTest::addColumn<int>("optionWord");
    QTest::addColumn<QFileDialog::FileMode>("fileMode");
    QTest::addColumn<bool>("confirmOverwrite");
    QTest::addColumn<bool>("resolveLinks");

    QTest::newRow("open, defaults: must exist")
        << FileDialogKind::Open << 0x81804 << QFileDialog::ExistingFile << false << true;
    QTest::newRow("open, no must-exist bits")
        << FileDialogKind::Open << 0x80006 << QFileDialog::AnyFile << true << true;
    QTest::newRow("save, defaults: no question, no test")
        << FileDialogKind::Save << 0x80004 << QFileDialog::AnyFile << false << true;
    QTest::newRow("save, overwrite prompt")
        << FileDialogKind::Save << 0x80006 << QFileDialog::AnyFile << true << true;
    QTest::newRow("save, file must exist")
        << FileDialogKind::Save << 0x81004 << QFileDialog::ExistingFile << false << true;
    QTest::newRow("open, links not followed")
        << FileDialogKind::Open << 0x180004 << QFileDialog::AnyFile << false << false;
}

void TestQtDialogs::fileSetup()
{
    QFETCH(FileDialogKind, kind);
    QFETCH(int, optionWord);
    QFETCH(QFileDialog::FileMode, fileMode);
    QFETCH(bool, confirmOverwrite);
    QFETCH(bool, resolveLinks);

    FileDialogRequest request;
    request.kind = kind;
    request.options = optionWord;
    request.initialDir = m_folder;
    const auto dialog = createFileDialog(request);
    QCOMPARE(dialog->acceptMode(),
             kind == FileDialogKind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    QCOMPARE(dialog->fileMode(), fileMode);
    QCOMPARE(!dialog->testOption(QFileDialog::DontConfirmOverwrite), confirmOverwrite);
    QCOMPARE(!dialog->testOption(QFileDialog::DontResolveSymlinks), resolveLinks);
}

void TestQtDialogs::saveDialog()
{
    QWidget owner;
    FileDialogRequest request;
    request.kind = FileDialogKind::Save;
    request.owner = &owner;
    request.title = QStringLiteral("文字の保存");
    request.nameFilters = saveTypes;
    request.selectedNameFilter = saveTypes.first();
    request.initialName = QStringLiteral("文字");
    request.initialDir = m_folder;
    request.options = 0x80004;

    const auto dialog = createFileDialog(request);
    QCOMPARE(dialog->parentWidget(), &owner);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("文字の保存"));
    QCOMPARE(dialog->nameFilters(), saveTypes);
    QCOMPARE(dialog->selectedNameFilter(), saveTypes.first());
    QCOMPARE(QDir(dialog->directory()).canonicalPath(), m_folder);
    QCOMPARE(dialog->defaultSuffix(), QStringLiteral("bmp"));
    // The proposed name, in the starting folder, with the selected type's extension.
    QCOMPARE(dialog->selectedFiles(), QStringList{m_folder + QStringLiteral("/文字.bmp")});
}

void TestQtDialogs::saveSuffixFollowsType_data()
{
    QTest::addColumn<int>("typeIndex");
    QTest::addColumn<QString>("suffix");

    QTest::newRow("bitmap") << 0 << "bmp";
    QTest::newRow("png") << 1 << "png";
    QTest::newRow("jpeg") << 2 << "jpg";
    QTest::newRow("all files") << 3 << "";
}

void TestQtDialogs::saveSuffixFollowsType()
{
    QFETCH(int, typeIndex);
    QFETCH(QString, suffix);
    FileDialogRequest request;
    request.kind = FileDialogKind::Save;
    request.nameFilters = saveTypes;
    request.selectedNameFilter = saveTypes.first();
    request.initialDir = m_folder;
    const auto dialog = createFileDialog(request);

    // The user picks a type in the list.
    auto* typeList = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    QVERIFY(typeList);
    for (int i = 0; i < typeIndex; ++i)
        QTest::keyClick(typeList, Qt::Key_Down);
    QCOMPARE(dialog->selectedNameFilter(), saveTypes.at(typeIndex));
    QCOMPARE(dialog->defaultSuffix(), suffix);
}

void TestQtDialogs::openDialogFullPathName()
{
    FileDialogRequest request;
    request.kind = FileDialogKind::Open;
    request.nameFilters = QStringList{"使用可能な画像 (*.bmp *.jpg *.png)", "PNGファイル (*.png)"};
    request.selectedNameFilter = request.nameFilters.first();
    request.initialName = m_folder + QStringLiteral("/背景.png");
    request.initialDir = QDir::tempPath();
    request.options = 0x81804;

    const auto dialog = createFileDialog(request);
    // A full path as proposed name opens the dialog in that file's folder.
    QCOMPARE(QDir(dialog->directory()).canonicalPath(), m_folder);
    QCOMPARE(dialog->selectedNameFilter(), request.nameFilters.first());
    QCOMPARE(dialog->defaultSuffix(), QString());
}

void TestQtDialogs::defaultCaption_data()
{
    QTest::addColumn<FileDialogKind>("kind");
    QTest::newRow("open") << FileDialogKind::Open;
    QTest::newRow("save") << FileDialogKind::Save;
}

void TestQtDialogs::defaultCaption()
{
    QFETCH(FileDialogKind, kind);
    FileDialogRequest request;
    request.kind = kind;
    request.initialDir = m_folder;
    const auto dialog = createFileDialog(request);
    QFileDialog plain;
    plain.setAcceptMode(kind == FileDialogKind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    QVERIFY(!dialog->windowTitle().isEmpty());
    QCOMPARE(dialog->windowTitle(), plain.windowTitle());

    request.title = QString();   // set, though empty: no platform caption
    QCOMPARE(createFileDialog(request)->windowTitle(), QString());
}

void TestQtDialogs::folderDialog()
{
    FolderDialogRequest request;
    request.prompt = QStringLiteral("フォルダを選択してください。");
    request.startDir = m_folder;
    const auto dialog = createFolderDialog(request);
    QCOMPARE(dialog->fileMode(), QFileDialog::Directory);
    QVERIFY(dialog->testOption(QFileDialog::ShowDirsOnly));
    QCOMPARE(dialog->windowTitle(), request.prompt);
    QCOMPARE(QDir(dialog->directory()).canonicalPath(), m_folder);

    request.startDir.clear();
    QCOMPARE(createFolderDialog(request)->directory().absolutePath(), QDir::currentPath());
}

void TestQtDialogs::colorDialog()
{
    ColorDialogRequest request;
    request.initialColor = 0x0000FF;   // red
    for (int i = 0; i < customColorCount; ++i)
        request.customColors[static_cast<std::size_t>(i)] = rgbColor(i * 16, 255 - i, i);
    request.customColors[3] = 0x00FF00;
    const auto dialog = createColorDialog(request);
    QCOMPARE(dialog->currentColor(), QColor(255, 0, 0));
    for (int i = 0; i < customColorCount; ++i)
        QCOMPARE(fromQColor(QColorDialog::customColor(i)), request.customColors[static_cast<std::size_t>(i)]);

    dialog->setCurrentColor(QColor(0x40, 0x80, 0xC0));
    dialog->accept();
    QCOMPARE(fromQColor(dialog->selectedColor()), ColorValue(0xC08040));
}

void TestQtDialogs::fontDialog_data()
{
    QTest::addColumn<int>("tenths");
    QTest::addColumn<int>("weight");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<bool>("strikeOut");

    QTest::addColumn<int>("shownSize");

    QTest::newRow("12 pt plain") << 120 << 400 << false << false << false << 12;
    QTest::newRow("14 pt bold italic") << 140 << 700 << true << false << false << 14;
    QTest::newRow("9 pt underline strike-out") << 90 << 400 << false << true << true << 9;
    QTest::newRow("10.5 pt shown as 11, kept") << 105 << 400 << false << false << false << 11;
    QTest::newRow("10.2 pt shown as 10, kept") << 102 << 700 << false << false << false << 10;
}

void TestQtDialogs::fontDialog()
{
    QFETCH(int, tenths);
    QFETCH(int, weight);
    QFETCH(bool, italic);
    QFETCH(bool, underline);
    QFETCH(bool, strikeOut);
    QFETCH(int, shownSize);
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

    const auto dialog = createFontDialog(request);
    const QFont start = dialog->currentFont();
    QCOMPARE(start.family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(start.pointSize(), shownSize);
    QCOMPARE(start.weight(), weight);
    QCOMPARE(start.italic(), italic);
    QCOMPARE(start.underline(), underline);
    QCOMPARE(start.strikeOut(), strikeOut);

    // Confirmed as shown: the record comes back with the platform's height and the same size.
    dialog->accept();
    const FontDialogResult result = fontDialogResult(request, dialog->selectedFont());
    QVERIFY(result.accepted);
    QCOMPARE(result.pointSizeTenths, tenths);
    QCOMPARE(result.logFont.height, -qRound(tenths / 10.0 * 96.0 / 72.0));
    QCOMPARE(result.logFont.weight, weight);
    QCOMPARE(result.logFont.italic, request.logFont.italic);
    QCOMPARE(result.logFont.underline, request.logFont.underline);
    QCOMPARE(result.logFont.strikeOut, request.logFont.strikeOut);
    QCOMPARE(result.logFont.faceName, QStringLiteral("DejaVu Serif"));
    QCOMPARE(result.logFont.charSet, std::uint8_t(128));   // not the dialog's to change
    QCOMPARE(result.color, ColorValue(0x0000FF));

    // A size the user changes comes back as chosen.
    QFont other = dialog->currentFont();
    other.setPointSize(shownSize + 2);
    dialog->setCurrentFont(other);
    dialog->accept();
    const FontDialogResult changed = fontDialogResult(request, dialog->selectedFont());
    QCOMPARE(changed.pointSizeTenths, (shownSize + 2) * 10);
    QCOMPARE(changed.logFont.height, -qRound((shownSize + 2) * 96.0 / 72.0));
}

void TestQtDialogs::fontRecordOfQFont()
{
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(19);
    font.setWeight(QFont::DemiBold);
    font.setItalic(true);
    font.setFixedPitch(true);
    font.setStyleHint(QFont::Monospace);
    font.setStyleStrategy(QFont::NoAntialias);
    const LogFont record = logFontFromQFont(font);
    QCOMPARE(record.height, -19);
    QCOMPARE(record.weight, 600);
    QCOMPARE(record.italic, std::uint8_t(1));
    QCOMPARE(record.underline, std::uint8_t(0));
    QCOMPARE(record.pitchAndFamily, std::uint8_t(LogFontValue::fixedPitch | LogFontValue::familyModern));
    QCOMPARE(record.quality, LogFontValue::nonAntialiasedQuality);
    QCOMPARE(record.faceName, QStringLiteral("IPAGothic"));
    QCOMPARE(pointSizeTenthsOf(font), 142);   // 19 px = 14.25 pt, halves to even

    QFont pointFont;
    pointFont.setPointSizeF(12);
    QCOMPARE(logFontFromQFont(pointFont).height, -16);

    // Back: size from the tenths when given, else from the height.
    const QFont back = qFontFromLogFont(record, 0);
    QCOMPARE(back.pixelSize(), 19);
    QCOMPARE(back.weight(), 600);
    QVERIFY(back.italic());
    QVERIFY(back.fixedPitch());
    QCOMPARE(qFontFromLogFont(record, 105).pointSizeF(), 10.5);

    // Face names are cut to 31 characters, never inside a surrogate pair.
    QCOMPARE(fitFaceName(QString(31, u'a')), QString(31, u'a'));
    QCOMPARE(fitFaceName(QString(40, u'a')), QString(31, u'a'));
    const QString pairAt31 = QString(30, u'a') + QStringLiteral("𠀋") + "b";
    QCOMPARE(fitFaceName(pairAt31), QString(30, u'a'));
}

void TestQtDialogs::inputPrompt()
{
    QWidget owner;
    InputPromptRequest request;
    request.owner = &owner;
    request.title = QStringLiteral("JPEG形式で保存");
    request.prompt = QStringLiteral("圧縮率を入力してください。\r0～100(%)");
    request.defaultAnswer = QStringLiteral("50");
    const auto dialog = createInputDialog(request);
    QCOMPARE(dialog->parentWidget(), &owner);
    QCOMPARE(dialog->windowTitle(), request.title);
    QCOMPARE(dialog->inputMode(), QInputDialog::TextInput);
    QCOMPARE(dialog->labelText(), QStringLiteral("圧縮率を入力してください。\n0～100(%)"));
    QCOMPARE(dialog->textValue(), QStringLiteral("50"));

    QCOMPARE(promptDisplayText(QStringLiteral("a\r\nb\rc\nd")), QStringLiteral("a\nb\nc\nd"));
}

QTEST_MAIN(TestQtDialogs)
#include "tst_qtdialogs.moc"
