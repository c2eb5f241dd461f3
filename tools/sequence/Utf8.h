// Utf8: reading and writing UTF-8 by code point, which TOML recipe files are made of.
#pragma once

#include <cstddef>
#include <string>

namespace hx {

// The code point at text[i] and its length in bytes, or 0 for anything but well-formed UTF-8
// (a stray or missing continuation byte, an overlong form, a surrogate, past U+10FFFF).
std::size_t decodeUtf8(const std::string& text, std::size_t i, unsigned long& code);

// `code` (at most U+10FFFF) in UTF-8.
void appendUtf8(std::string& out, unsigned long code);

bool isUtf8(const std::string& text);

} // namespace hx
