#pragma once
// The one way tests and benchmarks reach the main window's private controls: a view over a
// window that hands out the controls a test drives or inspects, and nothing else.

#include "app/SorvelMain.h"

namespace sorvel {

class SorvelMainTestView {
public:
    using Style = SorvelMain::Style;

    explicit SorvelMainTestView(SorvelMain& window) noexcept : m_window(window) { }

    QPlainTextEdit* textBox() const { return m_window.m_textBox; }
    QComboBox* fontList() const { return m_window.m_fontList; }
    QComboBox* sizeBox() const { return m_window.m_sizeBox; }
    QToolButton* styleButton(Style style) const { return m_window.styleButton(style); }

    ColorSwatch* swatch(int index) const { return m_window.m_swatches.at(static_cast<std::size_t>(index)); }
    ReleaseReportingButton* otherColorButton() const { return m_window.m_otherColorButton; }
    QPushButton* backgroundButton() const { return m_window.m_backgroundButton; }

    QCheckBox* shadowBox() const { return m_window.m_shadowBox; }
    QCheckBox* rainbowBox() const { return m_window.m_rainbowBox; }
    QCheckBox* frameBox() const { return m_window.m_frameBox; }
    QPushButton* copyButton() const { return m_window.m_copyButton; }
    QPushButton* saveButton() const { return m_window.m_saveButton; }

    CanvasView* preview() const { return m_window.m_preview; }
    QFrame* viewport() const { return m_window.m_viewport; }
    QScrollBar* horizontalBar() const { return m_window.m_horizontalBar; }
    QScrollBar* verticalBar() const { return m_window.m_verticalBar; }
    const MeasuringLabel& measuringLabel() const { return m_window.m_measuringLabel; }

    // Sets the background picture as a confirmed choice would, without the dialog and without
    // rendering.
    void setBackgroundPicture(const QString& path) const { m_window.m_backgroundPicture = path; }

private:
    SorvelMain& m_window;
};

} // namespace sorvel
