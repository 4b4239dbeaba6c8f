#include "export/xls/XlsTextStore.h"

#include <algorithm>
#include <cstring>

namespace kestrane::xls {

QStringView XlsTextStore::storeWithLineFeeds(QStringView text) {
    if (text.isEmpty())
        return {};
    char16_t* out = reserve(text.size());
    const char16_t* in = text.utf16();
    const char16_t* end = in + text.size();
    char16_t* p = out;
    if (std::find(in, end, u'\r') == end) {
        std::memcpy(p, in, static_cast<size_t>(text.size()) * sizeof(char16_t));
        p += text.size();
    } else {
        for (; in != end; ++in)
            if (!(*in == u'\r' && in + 1 != end && in[1] == u'\n'))
                *p++ = *in;
    }
    const qsizetype used = p - out;
    m_free += used;
    m_room -= used;
    return QStringView(out, used);
}

// Room for `chars` characters at m_free; a text larger than a block gets a block of its own
// size.
char16_t* XlsTextStore::reserve(qsizetype chars) {
    if (chars <= m_room)
        return m_free;
    const qsizetype size = std::max(chars, BlockChars);
    m_blocks.push_back(makeLargeBlock<char16_t>(static_cast<size_t>(size)));
    m_free = m_blocks.back().get();
    m_room = size;
    return m_free;
}

} // namespace kestrane::xls
