#pragma once
// The main window: every control, start-up and shutdown, the text and font handlers and the
// scrolling preview. Each handler sets what it sets and ends with one rendering.
//
// Files: SorvelMain.cpp (start-up, text, rendering, shutdown), SorvelMainControls.cpp (the
// controls built from WindowLayout.h), SorvelMainFontControls.cpp (font, size, styles,
// effects), SorvelMainPreview.cpp (canvas size and scroll bars). The colour and output
// handlers connect to the public controls from files of their own.

#include "app/SorvelMainDependencies.h"
#include "render/CanvasSurface.h"
#include "render/MeasuringLabel.h"
#include "render/PictureHolder.h"
#include "render/TextImageSettings.h"

#include <QWidget>

#include <array>
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
class QToolButton;

namespace sorvel {

class CanvasView;
class ColorFontDlg;
class FileDlg;
struct CopyResult;
class ColorSwatch;
class MouseUpButton;

class SorvelMain : public QWidget {
    Q_OBJECT
public:
    explicit SorvelMain(SorvelMainDependencies dependencies, QWidget* parent = nullptr);
    ~SorvelMain() override;

    // Brings the created window to its usable state: swatch colours, shown, font list filled
    // under the busy caption, default font selected (which renders), ready caption.
    void Form_Load();

    // One complete rendering of the current settings onto the canvas, shown in Picture1.
    void RenderTextImage();
    // Every input of a rendering, gathered from the controls and the canvas.
    TextImageSettings currentSettings() const;

    // Picture1's image, colours, font and drawing position.
    CanvasSurface& canvas() { return m_canvas; }
    const CanvasSurface& canvas() const { return m_canvas; }

    // The controls, by their names.
    QLabel* Label4 = nullptr;
    QFrame* Picture4 = nullptr; // the sunken viewport; Picture1 lives in its client area
    CanvasView* Picture1 = nullptr;
    QScrollBar* VScroll1 = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QComboBox* Combo1 = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* Combo2 = nullptr;
    std::array<QToolButton*, 4> Check1{}; // bold, italic, underline, strikethrough
    QGroupBox* Frame1 = nullptr;
    QWidget* Picture3 = nullptr; // borderless swatch panel
    std::array<ColorSwatch*, 16> Picture2{};
    QPushButton* Command4 = nullptr;   // background picture
    MouseUpButton* Command2 = nullptr; // other colour (right button: background)
    QCheckBox* Check2 = nullptr;       // shadow
    QCheckBox* Check3 = nullptr;       // rainbow
    QCheckBox* Check4 = nullptr;       // frame
    QPushButton* Command1 = nullptr;   // copy
    QPushButton* Command3 = nullptr;   // save
    MeasuringLabel Label3;             // hidden measuring label
    PictureHolder Picture5;            // hidden background holder

    // Path of the background picture; empty: none.
    QString strBackImage;

signals:
    // After every rendering, with the settings it drew.
    void rendered(const sorvel::TextImageSettings& settings);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void connectHandlers();

    // Start-up and shutdown.
    void addFontEntry(const QString& name);
    void selectFontEntry(const QString& name);
    void text1Edited();
    void Text1_Change();
    void Form_QueryUnload();

    // Font and effect controls.
    void Check1_Click(int Index);
    void Check2_Click();
    void Check3_Click();
    void Check4_Click();
    void Combo1_Click();
    void Combo2_Click();
    void Combo2_Change();

    // Colour selection (SorvelMainColors.cpp).
    void connectColorHandlers();
    void Picture2_MouseUp(int Index, int Button);
    void Command2_Click();
    void Command2_MouseUp(int Button);
    ColorFontDlg& colorFontDlg();

    // Copy, save and background picture (SorvelMainOutput.cpp).
    void connectOutputHandlers();
    CopyResult copyToClipboard();
    void Command1_Click();
    void Command3_Click();
    void Command4_Click();
    FileDlg& fileDlg();
    void keepClipboardImage();

    // Preview.
    void Picture1_Resize();
    void followCanvasSizes();
    void HScroll1_Change();
    void HScroll1_Scroll();
    void VScroll1_Change();
    void VScroll1_Scroll();

    SorvelMainDependencies m_dependencies;
    std::unique_ptr<FileDlg> m_fileDlg;           // shared by save and background choice
    std::unique_ptr<ColorFontDlg> m_colorFontDlg; // its custom colours last the whole run
    QImage m_copiedImage;                         // what the last copy put on the clipboard
    CanvasSurface m_canvas;
    QWidget* m_viewportClient = nullptr; // Picture4's client area, which clips Picture1
    QString m_lastText;                  // Text1's text at its last change, lines ending in CR LF
    std::vector<int> m_canvasWidths;     // canvas sizes the preview has yet to follow
    std::vector<int> m_canvasHeights;
    bool m_rendering = false;
    bool m_sizeEditFinishing = false; // the size box's edit field is finishing its editing
};

} // namespace sorvel
