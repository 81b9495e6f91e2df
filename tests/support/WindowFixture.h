#pragma once
// The real main window with a font list of the test's choosing, fake dialogs, clipboard and
// message box, counting its renderings and the requests to end the program.
//
// The window renders on a thread of its own. Unless told otherwise the fixture waits for each
// rendering as soon as it is scheduled, so that after every action the preview already shows
// its picture, as a user sees it once the rendering is done.

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

enum class Renderings {
    Awaited,   // each rendering is waited for as soon as it is scheduled
    InPassing, // the window renders as it does for a user; renders holds each picture as it
               // arrives, and a test waits with waitForRendering() where it wants
};

// Started unless told otherwise: start() has run and its rendering is forgotten.
struct WindowFixture {
    explicit WindowFixture(const QStringList& fontNames = installedTestFonts, bool start = true,
                           Renderings renderings = Renderings::Awaited, RenderFunction renderer = {})
    {
        SorvelMainDependencies dependencies;
        dependencies.renderer = std::move(renderer);
        dependencies.fontList.reset(fonts = new FakeFontList(fontNames));
        dependencies.dialogs.reset(dialogs = new FakeDialogService);
        dependencies.clipboard.reset(clipboard = new FakeClipboard);
        dependencies.messageBox.reset(messages = new FakeMessageBox);
        dependencies.keepClipboardImage = [this](const QImage& image) { keptImages.push_back(image); };
        dependencies.beforeProgramEnds = [this] { events.push_back(QStringLiteral("before end")); };
        dependencies.endProgram = [this] { events.push_back(QStringLiteral("end")); };
        dependencies.dragPicture = [this](QWidget*, std::unique_ptr<QMimeData> data) {
            drags.push_back(std::move(data));
        };
        window = std::make_unique<SorvelMain>(std::move(dependencies));
        QObject::connect(window.get(), &SorvelMain::rendered,
                         [this](const TextImageSettings& settings) { renders.push_back(settings); });
        if (renderings == Renderings::Awaited)
            QObject::connect(window.get(), &SorvelMain::renderingScheduled, [this] { window->waitForRendering(); });
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
    std::vector<QImage> keptImages;                // images handed over at close
    std::vector<std::unique_ptr<QMimeData>> drags; // what each drag out of the preview carried
    std::vector<TextImageSettings> renders;
    QStringList events;
};

} // namespace sorvel::test
