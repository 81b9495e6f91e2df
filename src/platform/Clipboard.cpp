#include "platform/Clipboard.h"

namespace sorvel {

Clipboard::~Clipboard() = default;

} // namespace sorvel
