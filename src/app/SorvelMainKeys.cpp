// The window's shortcuts, each doing what its button does, and the palette by keyboard: one Tab
// stop for all sixteen swatches, the arrow keys between them (PaletteKeys.h).

#include "app/SorvelMain.h"

#include "app/ColorSwatch.h"
#include "app/PaletteKeys.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>

namespace sorvel {

void SorvelMain::connectShortcuts()
{
    const auto press = [this](QKeyCombination keys, QAbstractButton* button) {
        connect(new QShortcut(QKeySequence(keys), this), &QShortcut::activated, button, &QAbstractButton::click);
    };
    press(Qt::CTRL | Qt::Key_S, m_saveButton);
    press(Qt::CTRL | Qt::SHIFT | Qt::Key_C, m_copyButton);
    press(Qt::CTRL | Qt::Key_B, styleButton(Style::Bold));
    press(Qt::CTRL | Qt::Key_I, styleButton(Style::Italic));
    press(Qt::CTRL | Qt::Key_U, styleButton(Style::Underline));
    for (const QKeyCombination keys : {Qt::CTRL | Qt::Key_Q, Qt::CTRL | Qt::Key_W})
        connect(new QShortcut(QKeySequence(keys), this), &QShortcut::activated, this, &QWidget::close);

    for (int i = 0; i < static_cast<int>(m_swatches.size()); ++i) {
        ColorSwatch* swatch = m_swatches.at(static_cast<std::size_t>(i));
        connect(swatch, &ColorSwatch::chosenByKey, this,
                [this, i](ColorTarget target) { chooseSwatchColor(i, target); });
        connect(swatch, &ColorSwatch::moveKeyPressed, this, [this, i](int key) { onSwatchMoveKey(i, key); });
    }
    m_textBox->installEventFilter(this);
}

// The text box copies its selected text as usual; with nothing selected, the copy key copies
// the picture, as the copy button does. The text box claims the copy key before any shortcut
// could see it, so this is told from the key presses it receives.
bool SorvelMain::copiesPictureFromTextBox(const QEvent& event) const
{
    if (event.type() != QEvent::KeyPress)
        return false;
    return static_cast<const QKeyEvent&>(event).matches(QKeySequence::Copy) && !m_textBox->textCursor().hasSelection();
}

// Tab reaches the palette at this swatch alone; the others take no focus from Tab or a click.
void SorvelMain::placePaletteStop(int index)
{
    for (std::size_t i = 0; i < m_swatches.size(); ++i)
        m_swatches.at(i)->setFocusPolicy(static_cast<int>(i) == index ? Qt::TabFocus : Qt::NoFocus);
    m_paletteStop = index;
}

void SorvelMain::onSwatchMoveKey(int index, int key)
{
    const int next = swatchAfterKey(index, key);
    if (next == index)
        return;
    placePaletteStop(next);
    m_swatches.at(static_cast<std::size_t>(next))->setFocus(Qt::OtherFocusReason);
}

} // namespace sorvel
