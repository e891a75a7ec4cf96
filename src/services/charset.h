// Character-set names as pages and servers spell them, mapped to the Windows code pages
// that decode them. Portable: the decoding itself lives with the platform code.
#pragma once
#include <optional>
#include <string_view>

namespace lumadex {

// Code pages that MultiByteToWideChar does not take; the program decodes them itself.
inline constexpr unsigned kCodePageUtf16Le = 1200;
inline constexpr unsigned kCodePageUtf16Be = 1201;

// The code page for a character-set name (case-insensitive, surrounding blanks and quotes
// ignored), or nullopt when the name is not one the program knows.
std::optional<unsigned> CodePageForCharset(std::string_view name);

}  // namespace lumadex
