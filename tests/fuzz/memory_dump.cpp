// Card dumps as other card tools write them (.bin, .mfd, .eml), imported into each kind of
// block card the simulator models, then exported and imported again.
#include "FuzzHarness.h"

#include "BlockMemoryCard.h"
#include "CardCatalogue.h"
#include "HexText.h"
#include "MemoryDump.h"

#include <stdexcept>

using namespace zentrava;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    // The kinds of block card, found once.
    static const std::vector<const CardCatalogue::CardType *> types = [] {
        std::vector<const CardCatalogue::CardType *> found;
        for (const auto &type : CardCatalogue::types())
            if (dynamic_cast<BlockMemoryCard *>(type.create(Bytes(type.uidLength, 0x11)).get()) != nullptr)
                found.push_back(&type);
        return found;
    }();
    fuzzharness::Input input(data, size);
    static const char *const extensions[] = {".bin", ".mfd", ".eml", ".EML", ".txt"};
    const std::string name = "dump" + std::string(extensions[input.pick(5)]);
    const CardCatalogue::CardType &type = *types[std::size_t(input.pick(int(types.size())))];
    const std::string_view content = input.rest();
    const std::string path = fuzzharness::ScratchFile(name, content.data(), content.size());

    const auto made = type.create(Bytes(type.uidLength, 0x11));
    auto &card = dynamic_cast<BlockMemoryCard &>(*made);
    Bytes image;
    try {
        image = MemoryDump::load(path, card.blockSize());
    } catch (const std::runtime_error &) {
        return 0;
    }
    if (MemoryDump::formatOf(path) == MemoryDump::Format::Eml)
        FUZZ_CHECK(image.size() % std::size_t(card.blockSize()) == 0);
    else
        FUZZ_CHECK(image == Bytes(content.begin(), content.end()));
    if (card.replaceMemory(image))
        return 0;
    FUZZ_CHECK(card.memory() == image);

    // What the simulator exports, it imports unchanged.
    const std::string text = MemoryDump::toEml(card);
    FUZZ_CHECK(MemoryDump::fromEml(text, card.blockSize()) == image);
    const std::string exported = fuzzharness::ScratchFolder() + "/export.mfd";
    MemoryDump::save(card, exported);
    FUZZ_CHECK(MemoryDump::load(exported, card.blockSize()) == image);
    return 0;
}
