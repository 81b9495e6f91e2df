#pragma once
// The modal dialogs of the program behind one small interface: open file, save file, choose a
// folder, choose a colour, choose a font, and the one-line input prompt. Every call takes a
// value-type request and returns a value-type result, so tests answer the dialogs with a fake
// (tests/support/FakeDialogService.h) and check exactly what a dialog would have been shown.
//
// All calls are modal and run on the user-interface thread. A call reports a dialog the user
// closed without choosing as a result with accepted == false; an implementation may throw a
// Failure when the dialog cannot be shown at all.

#include "platform/ColorValue.h"
#include "platform/widgets/LogFont.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

class QWidget;

namespace sorvel {

// Bits of the file dialogs' option word (the values of the Windows OPENFILENAME flags, which
// callers of FileDlg put into its Flags property).
namespace FileDialogOption {
constexpr std::int32_t readOnly = 0x1;
constexpr std::int32_t overwritePrompt = 0x2; // ask before replacing an existing file
constexpr std::int32_t hideReadOnly = 0x4;
constexpr std::int32_t noChangeDir = 0x8;        // Qt never changes the current directory
constexpr std::int32_t allowMultiSelect = 0x200; // not offered: one path comes back
constexpr std::int32_t pathMustExist = 0x800;
constexpr std::int32_t fileMustExist = 0x1000;
constexpr std::int32_t createPrompt = 0x2000;
constexpr std::int32_t explorer = 0x80000;
constexpr std::int32_t noDereferenceLinks = 0x100000; // return a chosen link itself
} // namespace FileDialogOption

// Bits of the colour dialog's option word (CHOOSECOLOR flags).
namespace ColorDialogOption {
constexpr std::int32_t rgbInit = 0x1;  // start on the given colour
constexpr std::int32_t fullOpen = 0x2; // custom-colour editor open at once (Qt's always is)
} // namespace ColorDialogOption

// Bits of the font dialog's option word (CHOOSEFONT flags).
namespace FontDialogOption {
constexpr std::int32_t screenAndPrinterFonts = 0x3; // CF_BOTH
constexpr std::int32_t initToLogFont = 0x40;        // start on the given LogFont
constexpr std::int32_t effects = 0x100;             // underline, strike-out and colour offered
} // namespace FontDialogOption

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    QWidget* owner = nullptr;
    std::optional<QString> title; // no value: the platform's own caption
    QStringList nameFilters;      // Qt syntax: "ビットマップファイル (*.bmp)"
    QString selectedNameFilter;   // the entry preselected (empty when the list is empty)
    QString initialName;          // file-name box; may be a full path
    QString initialDir;           // folder the dialog opens in
    std::int32_t options = 0;     // FileDialogOption bits

    friend bool operator==(const FileDialogRequest&, const FileDialogRequest&) = default;
};

struct FileDialogResult {
    bool accepted = false;
    QString path; // full path of the chosen file when accepted

    friend bool operator==(const FileDialogResult&, const FileDialogResult&) = default;
};

struct FolderDialogRequest {
    QWidget* owner = nullptr;
    QString prompt;   // text telling the user what to choose
    QString startDir; // folder selected at start; empty: the dialog's own default

    friend bool operator==(const FolderDialogRequest&, const FolderDialogRequest&) = default;
};

struct FolderDialogResult {
    bool accepted = false;
    QString path; // the chosen folder, as the platform spells it (normally no trailing '/')

    friend bool operator==(const FolderDialogResult&, const FolderDialogResult&) = default;
};

constexpr int customColorCount = 16;
using CustomColors = std::array<ColorValue, customColorCount>;

struct ColorDialogRequest {
    QWidget* owner = nullptr;
    ColorValue initialColor = 0; // the colour the dialog starts on
    std::int32_t flags = 0;      // ColorDialogOption bits, as the caller gave them
    CustomColors customColors{}; // the dialog's custom-colour row, slot 0 first

    friend bool operator==(const ColorDialogRequest&, const ColorDialogRequest&) = default;
};

struct ColorDialogResult {
    bool accepted = false;
    ColorValue color = 0;        // the chosen colour when accepted
    CustomColors customColors{}; // the custom-colour row as the user left it

    friend bool operator==(const ColorDialogResult&, const ColorDialogResult&) = default;
};

struct FontDialogRequest {
    QWidget* owner = nullptr;
    LogFont logFont;                  // the starting font
    std::int32_t pointSizeTenths = 0; // the starting size in tenths of a point
    ColorValue color = 0;             // the starting text colour
    std::int32_t flags = 0;           // FontDialogOption bits

    friend bool operator==(const FontDialogRequest&, const FontDialogRequest&) = default;
};

struct FontDialogResult {
    bool accepted = false;
    LogFont logFont;                  // the chosen font
    std::int32_t pointSizeTenths = 0; // its size in tenths of a point
    ColorValue color = 0;             // the chosen text colour

    friend bool operator==(const FontDialogResult&, const FontDialogResult&) = default;
};

struct InputPromptRequest {
    QWidget* owner = nullptr;
    QString title;
    QString prompt; // may hold line breaks, a lone carriage return included
    QString defaultAnswer;

    friend bool operator==(const InputPromptRequest&, const InputPromptRequest&) = default;
};

class DialogService {
public:
    virtual ~DialogService() = default;

    virtual FileDialogResult openFile(const FileDialogRequest& request) = 0;
    virtual FileDialogResult saveFile(const FileDialogRequest& request) = 0;
    virtual FolderDialogResult chooseFolder(const FolderDialogRequest& request) = 0;
    virtual ColorDialogResult chooseColor(const ColorDialogRequest& request) = 0;
    virtual FontDialogResult chooseFont(const FontDialogRequest& request) = 0;
    // The answer typed, or the empty string when the prompt is cancelled.
    virtual QString inputText(const InputPromptRequest& request) = 0;

protected:
    DialogService() = default;
    DialogService(const DialogService&) = default;
    DialogService& operator=(const DialogService&) = default;
};

} // namespace sorvel
