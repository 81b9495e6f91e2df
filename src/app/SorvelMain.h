#pragma once
// The main window: every control, start-up and shutdown, the text and font handlers and the
// scrolling preview. Each handler sets what it sets and ends with one rendering, which runs on
// the preview's own thread (PreviewRenderer): the window answers input while it runs, and
// shows each picture when it arrives. The controls are private; tests reach them through
// SorvelMainTestView.
//
// Files: SorvelMain.cpp (start-up, text, rendering, shutdown), SorvelMainControls.cpp (the
// controls built from WindowLayout.h, their accessible names and their wiring),
// SorvelMainFontControls.cpp (font, size, styles, effects), SorvelMainColors.cpp (swatches and
// colour dialog), SorvelMainOutput.cpp (copy, save, background picture), SorvelMainPreview.cpp
// (the arriving pictures, canvas size and scroll bars), SorvelMainKeys.cpp (shortcuts and the
// palette by keyboard), SorvelMainDragDrop.cpp (pictures dropped on the window and the preview
// dragged out).

#include "app/ColorRouting.h"
#include "app/SorvelMainDependencies.h"
#include "render/CanvasSurface.h"
#include "render/MeasuringLabel.h"
#include "render/TextImageSettings.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QTemporaryDir;
class QToolButton;

namespace sorvel {

class CanvasView;
class ColorFontDlg;
class FileDlg;
struct CopyResult;
class ColorSwatch;
class ReleaseReportingButton;

class SorvelMain : public QWidget {
    Q_OBJECT
public:
    // The four style buttons of the font frame, in their order there.
    enum class Style { Bold, Italic, Underline, Strikethrough };

    explicit SorvelMain(SorvelMainDependencies dependencies, QWidget* parent = nullptr);
    ~SorvelMain() override;

    // Brings the created window to its usable state: swatch colours, shown, font list filled
    // under the busy caption, default font selected (which renders), ready caption.
    void start();

    // Schedules a rendering of the current settings; its picture shows in the preview when it
    // arrives.
    void renderPreview();
    // Waits until the preview shows the picture of the settings last scheduled; a wait longer
    // than 100 ms shows the busy cursor.
    void waitForRendering();
    // Every input of a rendering, gathered from the controls and the canvas.
    TextImageSettings currentSettings() const;

    // The preview's image, colours, font and drawing position.
    CanvasSurface& canvas() { return m_canvas; }
    const CanvasSurface& canvas() const { return m_canvas; }

signals:
    // After every rendering is scheduled.
    void renderingScheduled();
    // After each picture has reached the preview, with the settings it drew.
    void rendered(const sorvel::TextImageSettings& settings);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    friend class SorvelMainTestView;

    void createControls();
    void nameControlsForAssistiveTechnology();
    void connectHandlers();

    // Start-up and shutdown.
    void paintSwatches();
    void fillFontList();
    void addFontEntry(const QString& name);
    void selectFontEntry(const QString& name);
    void onTextChanged();
    void endProgram();

    // Font and effect controls (SorvelMainFontControls.cpp).
    void onStyleToggled(Style style);
    void onShadowToggled();
    void onRainbowToggled();
    void onFrameToggled();
    void onFontChosen();
    void onSizeChosen();
    void onSizeEdited();
    void changeTextFonts(const std::function<void(QFont&)>& change);
    QToolButton* styleButton(Style style) const { return m_styleButtons.at(static_cast<std::size_t>(style)); }

    // Colour selection (SorvelMainColors.cpp).
    void connectColorHandlers();
    void onSwatchReleased(int index, Qt::MouseButton button);
    void chooseSwatchColor(int index, ColorTarget target);
    void onOtherColorClicked();
    void onOtherColorReleased(Qt::MouseButton button);
    ColorFontDlg& colorFontDlg();

    // Copy, save and background picture (SorvelMainOutput.cpp).
    void connectOutputHandlers();
    CopyResult copyToClipboard();
    void onCopyClicked();
    void onSaveClicked();
    void onBackgroundClicked();
    FileDlg& fileDlg();
    void keepClipboardImage();

    // Shortcuts and the palette by keyboard (SorvelMainKeys.cpp).
    void connectShortcuts();
    bool copiesPictureFromTextBox(const QEvent& event) const;
    void placePaletteStop(int index);
    void onSwatchMoveKey(int index, int key);

    // Drag and drop (SorvelMainDragDrop.cpp).
    void onPreviewDragged();
    bool takePictureDrag(QEvent& event);

    // Preview (SorvelMainPreview.cpp).
    void onPictureReady();
    void showPicture(PreviewPicture picture);
    void onCanvasResized();
    void followCanvasSizes();
    void onHorizontalScroll();
    void onVerticalScroll();

    // The controls, from top to bottom.
    QLabel* m_previewLabel = nullptr;
    QFrame* m_viewport = nullptr;        // the sunken frame around the preview
    QWidget* m_viewportClient = nullptr; // the viewport's inside, which clips the preview
    CanvasView* m_preview = nullptr;
    QScrollBar* m_verticalBar = nullptr;
    QScrollBar* m_horizontalBar = nullptr;
    QGroupBox* m_textFrame = nullptr;
    QPlainTextEdit* m_textBox = nullptr;
    QGroupBox* m_fontFrame = nullptr;
    QComboBox* m_fontList = nullptr;
    QLabel* m_sizeLabel = nullptr;
    QComboBox* m_sizeBox = nullptr;
    std::array<QToolButton*, 4> m_styleButtons{}; // indexed by Style
    QGroupBox* m_colorFrame = nullptr;
    QWidget* m_swatchPanel = nullptr; // borderless, holds the swatches and the two buttons
    std::array<ColorSwatch*, 16> m_swatches{};
    QPushButton* m_backgroundButton = nullptr;
    ReleaseReportingButton* m_otherColorButton = nullptr; // the right button chooses the background colour
    QCheckBox* m_shadowBox = nullptr;
    QCheckBox* m_rainbowBox = nullptr;
    QCheckBox* m_frameBox = nullptr;
    QPushButton* m_copyButton = nullptr;
    QPushButton* m_saveButton = nullptr;
    MeasuringLabel m_measuringLabel; // never shown: measured the text of the picture shown

    // Path of the background picture; empty: none.
    QString m_backgroundPicture;

    SorvelMainDependencies m_dependencies;
    std::unique_ptr<FileDlg> m_fileDlg;           // shared by save and background choice
    std::unique_ptr<ColorFontDlg> m_colorFontDlg; // its custom colours last the whole run
    QImage m_copiedImage;                         // what the last copy put on the clipboard
    // The picture shown, with the font and colours of the next rendering.
    CanvasSurface m_canvas;
    std::unique_ptr<PreviewRenderer> m_previewRenderer;
    QString m_lastText;              // the text box's text at its last change, lines ending in CR LF
    std::vector<int> m_canvasWidths; // canvas sizes the preview has yet to follow
    std::vector<int> m_canvasHeights;
    bool m_sizeEditFinishing = false;            // the size box's edit field is finishing its editing
    int m_paletteStop = 0;                       // the swatch Tab stops at in the palette
    std::unique_ptr<QTemporaryDir> m_dragFolder; // the PNG files of drags out, until the window goes
};

} // namespace sorvel
