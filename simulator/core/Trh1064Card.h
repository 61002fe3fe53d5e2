#pragma once

#include "BlockMemoryCard.h"

namespace zentrava {

// TRH1064 type B tag: an 8-byte serial number and four pages, page 0 of 8 bytes holding the
// configuration, page 1 of 40 bytes, pages 2 and 3 of 8 bytes. The memory is kept as 8 blocks
// of 8 bytes in page order (block 0 page 0, blocks 1 to 5 page 1, block 6 page 2, block 7
// page 3), each page as the tag sends it: its byte 7 first, so the configuration byte (byte 0)
// is the last byte of page 0.
//
// Configuration bits: 0 locks page 0, 1 locks page 1; 4 makes page 2 the key (neither readable
// nor writable from then on) and puts page 3 behind it. Without the key, bit 2 locks page 2 and
// bit 3 page 3. With it, bit 3 takes page 3's free read away (it is then read after the key),
// bit 2 forbids changing page 3 at all, and bit 5 allows only decrements of it.
class Trh1064Card : public BlockMemoryCard {
public:
    static constexpr int PageCount = 4;
    static constexpr int KeyBytes = 8;

    static std::unique_ptr<Trh1064Card> factoryNew(const Bytes &uid);
    static std::unique_ptr<Trh1064Card> fromJson(const nlohmann::ordered_json &card, const std::string &where);

    std::string typeName() const override { return "trh1064"; }
    RadioMode radioMode() const override { return RadioMode::Iso14443B; }
    Bytes uid() const override { return m_uid; }
    // No type A answer; the tag is woken by the type B request.
    std::array<uint8_t, 2> tagType() const override { return {0x00, 0x00}; }
    nlohmann::ordered_json toJson() const override;
    std::unique_ptr<VirtualCard> clone() const override;

    // The answer to the type B request: the serial number and four protocol bytes.
    Bytes answerToRequest() const;
    std::optional<Bytes> answerToRequestB() const override { return answerToRequest(); }
    static int pageSize(int page) { return page == 1 ? 40 : 8; }
    uint8_t configuration() const { return blockData(0)[7]; }

    int32_t checkKey(const uint8_t *key);
    // The page's bytes into data (pageSize(page) of them).
    int32_t readPage(uint8_t page, uint8_t *data);
    int32_t writePage(uint8_t page, const uint8_t *data, int count);

protected:
    void endSession() override { m_authenticated = false; }

private:
    Trh1064Card(Bytes uid, Bytes memory);
    static int firstBlock(int page) { return page == 0 ? 0 : page == 1 ? 1 : page + 4; }
    uint8_t *pageData(int page) { return blockData(firstBlock(page)); }
    const uint8_t *pageData(int page) const { return blockData(firstBlock(page)); }

    Bytes m_uid;
    bool m_authenticated = false;
};

} // namespace zentrava
