// The Qt dialogs behind QtDialogService: each request configures its dialog, and a save dialog
// really shown (offscreen) and answered as a user would gives the path with its extension.

#include "platform/widgets/QtDialogFactories.h"
#include "platform/widgets/QtDialogService.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFontDialog>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace sorvel;

static const QStringList saveTypes{"ビットマップファイル (*.bmp)", "PNGファイル (*.png)", "JPEGファイル (*.jpg)",
                                   "すべてのファイル (*.*)"};

class TestQtDialogs : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    const QString m_folder = QDir(m_root.path()).canonicalPath();

private slots:
    void initTestCase()
    {
        // Qt's dialogs keep their history in the user's settings: keep the tests out of them.
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_root.isValid());
    }

    // Modes from the option word, caption, owner (the shown dialog below checks the rest).
    void fileDialogConfigured()
    {
        QWidget owner;
        auto dialog = createFileDialog({FileDialogKind::Save, &owner, QStringLiteral("文字の保存"), saveTypes,
                                        saveTypes.at(2), QString(), m_folder, 0x180006}); // links not followed
        QCOMPARE(dialog->parentWidget(), &owner);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("文字の保存"));
        QCOMPARE((FileDialogSetup{dialog->acceptMode(), dialog->fileMode(), dialog->options()}),
                 (FileDialogSetup{QFileDialog::AcceptSave, QFileDialog::AnyFile, QFileDialog::DontResolveSymlinks}));
        QCOMPARE(
            fileDialogSetup(FileDialogKind::Open, 0x81804),
            (FileDialogSetup{QFileDialog::AcceptOpen, QFileDialog::ExistingFile, QFileDialog::DontConfirmOverwrite}));

        // Without a start folder, the current directory rather than one Qt remembers.
        dialog = createFolderDialog({nullptr, QStringLiteral("フォルダを選択してください。"), QString()});
        QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir::current().canonicalPath());
    }

    // The font dialog starts on the font's own style ("Book", not the face's first style) at a whole
    // size; a size left as shown keeps its fraction, a changed one comes back with its 96-dpi height.
    void fontDialogConfigured()
    {
        const FontDialogRequest request{nullptr, {.weight = 400, .faceName = "DejaVu Serif"}, 105, 0x0000FF, 0};
        QFont font = createFontDialog(request)->currentFont();
        QCOMPARE(font.styleName(), QStringLiteral("Book"));
        QCOMPARE(font.pointSize(), 11);
        LogFont expected{.height = -14, .weight = 400, .faceName = "DejaVu Serif"}; // 10.5 pt at 96 dpi
        QCOMPARE(fontDialogResult(request, font), (FontDialogResult{true, expected, 105, request.color}));
        font.setPointSize(13);
        font.setBold(true);
        expected = {.height = -17, .weight = 700, .faceName = "DejaVu Serif"};
        QCOMPARE(fontDialogResult(request, font), (FontDialogResult{true, expected, 130, request.color}));
        // Face names are cut to 31 characters, never inside a surrogate pair.
        QCOMPARE(fitFaceName(QString(30, u'a') + QStringLiteral("𠀋") + "b"), QString(30, u'a'));
    }

    // A name typed without an extension gets the one of the type entry selected when confirmed.
    void saveDialogShown_data()
    {
        QTest::addColumn<int>("preselected");
        QTest::addColumn<int>("picked"); // entries the user moves down the type list; -1 cancels
        QTest::addColumn<QString>("expected");
        QTest::newRow("png preselected") << 1 << 0 << "文字.png";
        QTest::newRow("jpeg picked") << 0 << 2 << "文字.jpg";
        QTest::newRow("all files picked: as typed") << 0 << 3 << "文字";
        QTest::newRow("cancelled") << 1 << -1 << "";
    }
    void saveDialogShown()
    {
        QFETCH(int, preselected);
        QFETCH(int, picked);
        QFETCH(QString, expected);
        // Answered as soon as the dialog is up, noting the type entry it then shows.
        QString shownType;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            auto* typeList = dialog ? dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")) : nullptr;
            for (int i = 0; typeList && i < picked; ++i)
                QTest::keyClick(typeList, Qt::Key_Down);
            shownType = typeList ? dialog->selectedNameFilter() : QString();
            auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            picked < 0 || !typeList ? open->reject() : open->accept();
        });
        const FileDialogResult result =
            QtDialogService().saveFile({FileDialogKind::Save, nullptr, std::nullopt, saveTypes,
                                        saveTypes.at(preselected), "文字", m_folder, 0x80004});
        QCOMPARE(shownType, saveTypes.at(preselected + qMax(picked, 0)));
        QCOMPARE(result, (picked < 0 ? FileDialogResult{} : FileDialogResult{true, m_folder + u'/' + expected}));
    }
};

QTEST_MAIN(TestQtDialogs)
#include "tst_qtdialogs.moc"
