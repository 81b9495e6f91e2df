#pragma once
// The option word the open and save dialogs run with, from FileDlg's Flags.

#include "platform/widgets/DialogService.h"

#include <cstdint>

namespace sorvel {

// Flags 0: the folder and the file must exist. Other Flags are taken unchanged, without those
// two bits unless they are among them. The explorer style and a hidden read-only box always.
constexpr std::int32_t openOptionWord(std::int32_t flags) noexcept
{
    const std::int32_t chosen =
        flags == 0 ? (FileDialogOption::pathMustExist | FileDialogOption::fileMustExist) : flags;
    return chosen | FileDialogOption::explorer | FileDialogOption::hideReadOnly;
}

// Flags with the explorer style and a hidden read-only box: no question before replacing a
// file and no existence test unless Flags asks for them.
constexpr std::int32_t saveOptionWord(std::int32_t flags) noexcept
{
    return flags | FileDialogOption::explorer | FileDialogOption::hideReadOnly;
}

} // namespace sorvel
