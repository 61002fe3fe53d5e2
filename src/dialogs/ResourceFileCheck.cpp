#include "dialogs/ResourceFileCheck.h"

#include <cstdint>

namespace {

// The layout written by rcc: a header of "qres", the format version and the offsets of the
// tree, the data and the names (version 3 adds a flags word); tree nodes of 14 bytes (22 from
// version 2 on, with a modification time); a name is a 16-bit length, a 32-bit hash and UTF-16
// characters; a data entry is a 32-bit size and the bytes.
constexpr int ZlibFlag = 0x01;
constexpr int DirectoryFlag = 0x02;
// Qt allocates the size a zlib entry claims before inflating it.
constexpr uint32_t MaxInflatedSize = 64 * 1024 * 1024;
constexpr int MaxDepth = 64;
constexpr int MaxVisitedNodes = 1 << 20;

class ResourceWalk
{
public:
    explicit ResourceWalk(const QByteArray &data)
        : m_data(data)
    {
    }

    bool sound()
    {
        if (m_data.size() < 20 || !m_data.startsWith("qres"))
            return false;
        const uint32_t version = number(4, 4);
        if (version < 1 || version > 3 || (version == 3 && m_data.size() < 24))
            return false;
        m_tree = number(8, 4);
        m_payload = number(12, 4);
        m_names = number(16, 4);
        m_nodeSize = version == 1 ? 14 : 22;
        return node(0, 0);
    }

private:
    bool inside(qint64 offset, qint64 length) const
    {
        return offset >= 0 && length >= 0 && offset + length <= m_data.size();
    }

    uint32_t number(qint64 offset, int bytes) const
    {
        uint32_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value = (value << 8) | uint8_t(m_data[offset + i]);
        return value;
    }

    bool node(qint64 index, int depth)
    {
        if (depth > MaxDepth || ++m_visited > MaxVisitedNodes)
            return false;
        const qint64 at = qint64(m_tree) + index * m_nodeSize;
        if (!inside(at, m_nodeSize))
            return false;
        const qint64 name = qint64(m_names) + number(at, 4);
        // The root has no name of its own.
        if (index != 0 && (!inside(name, 6) || !inside(name + 6, qint64(number(name, 2)) * 2)))
            return false;
        const uint32_t flags = number(at + 4, 2);
        if ((flags & DirectoryFlag) != 0) {
            const qint64 count = number(at + 6, 4);
            const qint64 first = number(at + 10, 4);
            if (count > m_data.size() || first > m_data.size()
                || !inside(qint64(m_tree) + (first + count) * m_nodeSize, 0))
                return false;
            for (qint64 child = first; child < first + count; ++child) {
                if (!node(child, depth + 1))
                    return false;
            }
            return true;
        }
        if (index == 0)
            return false;
        const qint64 entry = qint64(m_payload) + number(at + 10, 4);
        if (!inside(entry, 4) || !inside(entry + 4, number(entry, 4)))
            return false;
        return (flags & ZlibFlag) == 0 || (number(entry, 4) >= 4 && number(entry + 4, 4) <= MaxInflatedSize);
    }

    const QByteArray &m_data;
    uint32_t m_tree = 0;
    uint32_t m_payload = 0;
    uint32_t m_names = 0;
    qint64 m_nodeSize = 22;
    int m_visited = 0;
};

} // namespace

bool IsSoundResourceData(const QByteArray &data)
{
    return ResourceWalk(data).sound();
}
