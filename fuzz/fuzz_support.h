// What the fuzz targets share: turning the fuzzer's bytes into the texts the program reads,
// and a check that stops the run, with a message, when a promise is broken.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace lumadex::fuzz {

// A broken promise is a crash to libFuzzer: it keeps the input that caused it.
[[noreturn]] inline void Fail(const char* file, int line, const char* what) {
  std::fprintf(stderr, "%s:%d: broken promise: %s\n", file, line, what);
  std::fflush(stderr);
  std::abort();
}

#define FUZZ_CHECK(condition) \
  ((condition) ? (void)0 : ::lumadex::fuzz::Fail(__FILE__, __LINE__, #condition))

inline std::string_view Bytes(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// The input as `count` fields separated by NUL bytes; the last field keeps any further NULs,
// fields that are not there are empty. Seeds stay readable text with a few NULs in them.
inline std::vector<std::string_view> Fields(std::string_view input, size_t count) {
  std::vector<std::string_view> fields;
  while (fields.size() + 1 < count) {
    const size_t nul = input.find('\0');
    if (nul == std::string_view::npos) break;
    fields.push_back(input.substr(0, nul));
    input.remove_prefix(nul + 1);
  }
  fields.push_back(input);
  fields.resize(count);
  return fields;
}

// UTF-8 to the UTF-16 units a Windows wide string holds, whatever the size of wchar_t here:
// characters above U+FFFF become surrogate pairs. It is lenient on purpose, so that every
// 16-bit unit can be reached: encoded surrogates are kept as lone units, and a byte that
// starts no valid sequence stands for the unit of the same value (0x80..0xFF).
inline std::wstring WideFromUtf8(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  size_t i = 0;
  const auto byte = [&](size_t at) { return static_cast<unsigned char>(text[at]); };
  const auto continuation = [&](size_t at) { return at < text.size() && (byte(at) & 0xC0) == 0x80; };
  while (i < text.size()) {
    const unsigned char b = byte(i);
    uint32_t code = b;
    size_t length = 1;
    if (b >= 0xC2 && b <= 0xDF && continuation(i + 1)) {
      code = ((b & 0x1Fu) << 6) | (byte(i + 1) & 0x3Fu);
      length = 2;
    } else if (b >= 0xE0 && b <= 0xEF && continuation(i + 1) && continuation(i + 2)) {
      code = ((b & 0x0Fu) << 12) | ((byte(i + 1) & 0x3Fu) << 6) | (byte(i + 2) & 0x3Fu);
      length = code >= 0x800 ? 3 : 1;
      if (length == 1) code = b;
    } else if (b >= 0xF0 && b <= 0xF4 && continuation(i + 1) && continuation(i + 2) && continuation(i + 3)) {
      code = ((b & 0x07u) << 18) | ((byte(i + 1) & 0x3Fu) << 12) | ((byte(i + 2) & 0x3Fu) << 6) |
             (byte(i + 3) & 0x3Fu);
      length = (code >= 0x10000 && code <= 0x10FFFF) ? 4 : 1;
      if (length == 1) code = b;
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      out.push_back(static_cast<wchar_t>(0xD800 + (code >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + (code & 0x3FF)));
    } else {
      out.push_back(static_cast<wchar_t>(code));
    }
    i += length;
  }
  return out;
}

// Back to UTF-8 for messages and for the site's side, unit by unit (lone surrogates included).
inline std::string Utf8FromWide(std::wstring_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t code = static_cast<uint32_t>(text[i]) & 0xFFFF;
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size()) {
      const uint32_t low = static_cast<uint32_t>(text[i + 1]) & 0xFFFF;
      if (low >= 0xDC00 && low <= 0xDFFF) {
        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (code < 0x80) {
      out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (code >> 6)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (code >> 12)));
      out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (code >> 18)));
      out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  return out;
}

// Non-overlapping occurrences of `what` in `text`.
inline size_t Count(std::wstring_view text, std::wstring_view what) {
  size_t count = 0;
  for (size_t at = text.find(what); at != std::wstring_view::npos; at = text.find(what, at + what.size())) ++count;
  return count;
}

}  // namespace lumadex::fuzz
