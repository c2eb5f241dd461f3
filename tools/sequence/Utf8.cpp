#include "Utf8.h"

namespace hx {

std::size_t decodeUtf8(const std::string& text, std::size_t i, unsigned long& code)
{
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const std::size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xe ? 3 : (c >> 3) == 0x1e ? 4 : 0;
    if (length == 0 || i + length > text.size()) return 0;
    code = length == 1 ? c : c & (0x7fu >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xc0) != 0x80) return 0;
        code = (code << 6) | (next & 0x3f);
    }
    static const unsigned long smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) return 0;
    return length;
}

void appendUtf8(std::string& out, unsigned long code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
        return;
    }
    const std::size_t length = code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
    static const unsigned char lead[] = {0, 0, 0xc0, 0xe0, 0xf0};
    out += static_cast<char>(lead[length] | (code >> (6 * (length - 1))));
    for (std::size_t k = length - 1; k > 0; --k) out += static_cast<char>(0x80 | ((code >> (6 * (k - 1))) & 0x3f));
}

bool isUtf8(const std::string& text)
{
    unsigned long code = 0;
    for (std::size_t i = 0, length = 0; i < text.size(); i += length)
        if ((length = decodeUtf8(text, i, code)) == 0) return false;
    return true;
}

} // namespace hx
