#pragma once
// The real main window with a font list of the test's choosing, fake dialogs, clipboard and
// message box, counting its renderings and the requests to end the program.

#include "app/SorvelMainTestView.h"
#include "support/FakeClipboard.h"
#include "support/FakeDialogService.h"
#include "support/FakeFontList.h"
#include "support/FakeMessageBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>

#include <memory>
#include <vector>

namespace sorvel::test {

inline const QStringList installedTestFonts = {QStringLiteral("DejaVu Sans"), defaultFontName,
                                               QStringLiteral("DejaVu Serif")};

// Started unless told otherwise: start() has run and its rendering is forgotten.
struct WindowFixture {
    explicit WindowFixture(const QStringList& fontNames = installedTestFonts, bool start = true)
    {
        SorvelMainDependencies dependencies;
        dependencies.fontList.reset(fonts = new FakeFontList(fontNames));
        dependencies.dialogs.reset(dialogs = new FakeDialogService);
        dependencies.clipboard.reset(clipboard = new FakeClipboard);
        dependencies.messageBox.reset(messages = new FakeMessageBox);
        dependencies.keepClipboardImage = [this](const QImage& image) { keptImages.push_back(image); };
        dependencies.beforeProgramEnds = [this] { events.push_back(QStringLiteral("before end")); };
        dependencies.endProgram = [this] { events.push_back(QStringLiteral("end")); };
        window = std::make_unique<SorvelMain>(std::move(dependencies));
        QObject::connect(window.get(), &SorvelMain::rendered,
                         [this](const TextImageSettings& settings) { renders.push_back(settings); });
        if (start) {
            window->start();
            renders.clear();
        }
    }

    // The window's controls.
    SorvelMainTestView view() const { return SorvelMainTestView(*window); }
    QLineEdit* sizeEdit() const { return view().sizeBox()->lineEdit(); }
    int renderCount() const { return static_cast<int>(renders.size()); }
    const TextImageSettings& lastRender() const { return renders.back(); }
    // One field of every rendering so far, e.g. renderedList(&TextImageSettings::Text).
    template <class Field> QList<Field> renderedList(Field TextImageSettings::*field) const
    {
        QList<Field> values;
        for (const TextImageSettings& settings : renders)
            values << settings.*field;
        return values;
    }

    std::unique_ptr<SorvelMain> window;
    FakeFontList* fonts = nullptr; // owned by the window, as are the three below
    FakeDialogService* dialogs = nullptr;
    FakeClipboard* clipboard = nullptr;
    FakeMessageBox* messages = nullptr;
    std::vector<QImage> keptImages; // images handed over at close
    std::vector<TextImageSettings> renders;
    QStringList events;
};

} // namespace sorvel::test
