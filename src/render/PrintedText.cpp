#include "render/PrintedText.h"

#include "text/TextBlock.h"

namespace sorvel {

std::vector<CharacterBox> printedCharacterBoxes(const QString& text, const TextPlacement& placement)
{
    if (!placement.printed || text.isEmpty())
        return {};
    return TextBlock::of(text, placement.font, placement.layout)
        ->characterBoxes(placement.origin.x(), placement.origin.y());
}

QString printedMissingCharacters(const QString& text, const TextPlacement& placement)
{
    if (!placement.printed || text.isEmpty())
        return {};
    return TextBlock::of(text, placement.font, placement.layout)->missingCharacters();
}

} // namespace sorvel
