// Conversions between the program's Unicode text and the byte texts of the platform:
// the system's ANSI code page (settings file, cipher, form bodies) and UTF-8 (site pages).
#pragma once
#include <string>
#include <string_view>

namespace lumadex {

std::string WideToAnsi(std::wstring_view text);
std::wstring AnsiToWide(std::string_view bytes);
std::wstring Utf8ToWide(std::string_view bytes);
std::string WideToUtf8(std::wstring_view text);
// True when the byte starts a double-byte character in the system's ANSI code page.
bool IsAnsiLeadByte(unsigned char byte);

}  // namespace lumadex
