// The Kashi form's pour-in mode: the next phrase is taken from the front of
// a pasted text in which every phrase ends with "#". Windows-free.
#pragma once

#include <string>

namespace velomar {

struct PourInSplit {
  std::string phrase;  // goes into the single-line phrase box
  std::string rest;    // stays in the pour-in box
};

// Splits at the first "#" byte (0x23 never occurs inside a character of
// UTF-8, nor of two-byte Shift-JIS). The phrase loses its CR and LF bytes, which a
// single-line box cannot show; the rest is kept byte for byte. A text
// without "#" goes into the phrase box whole.
PourInSplit SplitPourIn(const std::string& text);

}  // namespace velomar
