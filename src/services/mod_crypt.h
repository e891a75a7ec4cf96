// The light cipher that keeps the e-mail address and password out of plain sight in the
// settings file. It only moves character codes by amounts taken from a key; it is no protection
// against anyone who has the program.
//
// Cipher texts are bytes, not text: they go from Encipher into the settings file and from there
// to Decipher without any conversion between code pages, which would change them.
#pragma once
#include <string>
#include <string_view>

#include "services/ansi_codes.h"

namespace lumadex {

// The amount the key moves codes by: the sum of the key's character codes, times 0.1, over 6,
// rounded down.
int KeyShift(std::string_view ansiKey, LeadBytePredicate isLead = IsLeadByte936);

// Each character code is moved by an amount that repeats every six characters. A moved code of
// 0..255 is written as one byte, any other as two (high, low; negative codes as code + 65536).
std::string Encipher(std::string_view ansiText, std::string_view ansiKey, LeadBytePredicate isLead = IsLeadByte936);

// Undoes Encipher under the same key. See mod_crypt.cpp for the texts that do not come back.
std::string Decipher(std::string_view cipherBytes, std::string_view ansiKey, LeadBytePredicate isLead = IsLeadByte936);

}  // namespace lumadex
