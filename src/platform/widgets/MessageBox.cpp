#include "platform/widgets/MessageBox.h"

namespace sorvel {

MessageBox::~MessageBox() = default;

} // namespace sorvel
