#pragma once
// A clipboard in memory that records what the code under test did and can be told to fail.

#include "platform/Clipboard.h"

#include <QImage>
#include <QStringList>

namespace sorvel {

class FakeClipboard final : public Clipboard {
public:
    bool clear() override;
    bool setImage(const QImage& image) override;
    bool ownsContent() const override { return holdsImage && !takenByAnotherProgram; }

    bool failClear = false;
    bool failSetImage = false;
    bool takenByAnotherProgram = false;

    QStringList calls; // "clear", "setImage" in the order they came
    bool holdsImage = false;
    QImage image; // what setImage last placed
};

} // namespace sorvel
