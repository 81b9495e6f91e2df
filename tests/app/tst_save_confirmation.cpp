// The save asks before replacing a file, with Qt's own file dialog and its own question: "No"
// returns to the dialog and, once the dialog is cancelled, the file is as it was; "Yes"
// replaces it. The window runs with the real dialogs; a timer answers them as a user would.
#include "app/SorvelMainTestView.h"
#include "output/SaveTexts.h"
#include "platform/widgets/QtDialogService.h"
#include "support/FakeClipboard.h"
#include "support/FakeFontList.h"
#include "support/FakeMessageBox.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

using namespace sorvel;
using namespace sorvel::test;

namespace {

const QByteArray precious = QByteArrayLiteral("a photo that must not be lost");

// Runs each step on the modal dialog showing at that moment, as soon as the one it waits for
// shows; whatever is still open after 20 seconds is cancelled, so that a missing question ends
// the test rather than hangs it.
class DialogScript : public QObject {
public:
    using Step = std::function<bool(QWidget* modal)>; // false: not yet, try again

    explicit DialogScript(std::vector<Step> steps) : m_steps(std::move(steps))
    {
        connect(&m_timer, &QTimer::timeout, this, &DialogScript::poll);
        m_timer.start(20);
        m_started.start();
    }
    bool finished() const { return m_next == m_steps.size(); }

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (m_started.hasExpired(20000)) {
            if (modal)
                modal->close();
            return;
        }
        if (finished() || !modal || m_running)
            return;
        m_running = true; // a step may open a nested dialog; the timer keeps running in its loop
        const std::size_t current = m_next;
        if (m_steps[current](modal) && m_next == current)
            ++m_next;
        m_running = false;
    }

    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    bool m_running = false;
    QTimer m_timer;
    QElapsedTimer m_started;
};

struct RealDialogWindow {
    RealDialogWindow()
    {
        SorvelMainDependencies dependencies;
        dependencies.fontList = std::make_unique<FakeFontList>(QStringList{QStringLiteral("DejaVu Sans")});
        dependencies.dialogs = std::make_unique<QtDialogService>();
        dependencies.clipboard = std::make_unique<FakeClipboard>();
        auto messageBox = std::make_unique<FakeMessageBox>();
        messages = messageBox.get();
        dependencies.messageBox = std::move(messageBox);
        dependencies.endProgram = [] {};
        window = std::make_unique<SorvelMain>(std::move(dependencies));
        window->start();
    }
    std::unique_ptr<SorvelMain> window;
    FakeMessageBox* messages = nullptr;
};

// Types path into the file dialog and presses its save button, which asks the question.
DialogScript::Step chooseInFileDialog(const QString& path)
{
    return [path](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog)
            return false;
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!name)
            return false;
        name->setText(path);
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        QPushButton* save = buttons ? buttons->button(QDialogButtonBox::Save) : nullptr;
        if (!save)
            return false;
        // Later, from the event loop: the question it asks is the next step's.
        QTimer::singleShot(0, save, &QPushButton::click);
        return true;
    };
}

DialogScript::Step answerQuestion(QMessageBox::StandardButton answer, QString& asked)
{
    return [answer, &asked](QWidget* modal) {
        auto* question = qobject_cast<QMessageBox*>(modal);
        if (!question || !question->button(answer))
            return false;
        asked = question->text();
        question->button(answer)->click();
        return true;
    };
}

} // namespace

class SaveConfirmationTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_folder.isValid());
        m_path = m_folder.filePath(QStringLiteral("photo.png"));
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(precious);
    }

    void noReturnsToTheDialogAndCancelKeepsTheFile()
    {
        RealDialogWindow w;
        QString asked;
        bool dialogAfterNo = false;
        DialogScript script(
            {chooseInFileDialog(m_path), answerQuestion(QMessageBox::No, asked), [&dialogAfterNo](QWidget* modal) {
                 auto* dialog = qobject_cast<QFileDialog*>(modal);
                 if (!dialog)
                     return false;
                 dialogAfterNo = dialog->isVisible();
                 dialog->reject();
                 return true;
             }});
        QTest::mouseClick(SorvelMainTestView(*w.window).saveButton(), Qt::LeftButton);
        QVERIFY(script.finished());
        QVERIFY2(asked.contains(QStringLiteral("photo.png")), qPrintable(asked));
        QVERIFY(dialogAfterNo);
        QCOMPARE(contents(), precious);
        QVERIFY(w.messages->errors.isEmpty());
    }

    void yesReplacesTheFile()
    {
        RealDialogWindow w;
        QString asked;
        DialogScript script({chooseInFileDialog(m_path), answerQuestion(QMessageBox::Yes, asked)});
        QTest::mouseClick(SorvelMainTestView(*w.window).saveButton(), Qt::LeftButton);
        QVERIFY(script.finished());
        QVERIFY(!asked.isEmpty());
        QImage saved;
        QVERIFY(saved.loadFromData(contents(), "PNG"));
        QCOMPARE(saved.size(), QSize(w.window->canvas().scaleWidth(), w.window->canvas().scaleHeight()));
    }

    // A new name is saved without a question.
    void aNewFileIsNotAsked()
    {
        RealDialogWindow w;
        const QString fresh = m_folder.filePath(QStringLiteral("new.png"));
        DialogScript script({chooseInFileDialog(fresh)});
        QTest::mouseClick(SorvelMainTestView(*w.window).saveButton(), Qt::LeftButton);
        QVERIFY(script.finished());
        QVERIFY(QFileInfo(fresh).size() > 0);
        QCOMPARE(contents(), precious);
    }

private:
    QByteArray contents() const
    {
        QFile file(m_path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_folder;
    QString m_path;
};

QTEST_MAIN(SaveConfirmationTest)
#include "tst_save_confirmation.moc"
