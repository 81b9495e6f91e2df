#include "support/FakeClipboard.h"

namespace sorvel {

bool FakeClipboard::clear()
{
    calls.append(QStringLiteral("clear"));
    if (failClear)
        return false;
    holdsImage = false;
    image = QImage();
    return true;
}

bool FakeClipboard::setImage(const QImage& newImage)
{
    calls.append(QStringLiteral("setImage"));
    if (failSetImage)
        return false;
    holdsImage = true;
    image = newImage;
    return true;
}

} // namespace sorvel
