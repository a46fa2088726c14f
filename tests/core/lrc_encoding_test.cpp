// How from-lrc, and with it the program's LRC load, tells the encoding of
// an LRC file, in both directions of a misread, and when forced.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lrc_commands_support.h"

namespace velomar {
namespace {

using namespace lrc_testing;
using namespace std::string_literals;

std::string Utf16Bare(const std::u16string& text, bool bigEndian) {
  return Utf16(text, bigEndian).substr(2);
}

TEST(FromLrc, TellsTheEncodingsApart) {
  const std::string ai = "10,\x82\xa0\x82\xa2\r\n";                   // あい
  const std::string aiUtf8 = "[00:01.00]\xe3\x81\x82\xe3\x81\x84\n";  // あい
  const std::u16string aiText = u"[00:01.00]\u3042\u3044\n";
  const std::string none = "(none)";
  const std::string both = "velomar-lyrics: IN: reads as UTF-8 and as Shift-JIS; taken as ";
  const std::string refused = "\nvelomar-lyrics: nothing written to OUT\n";
  struct Case {
    std::string input;
    std::vector<std::string> options;
    std::string written;
    std::string err;  // after "velomar-lyrics: IN: "
  } const cases[] = {
      // Short UTF-8 kana are often valid Shift-JIS too (E3 81 is a kanji).
      {aiUtf8,
       {},
       ai,
       both + "UTF-8, the more plausible text (--encoding shift-jis reads it the other way)\n"},
      {"\xef\xbb\xbf" + aiUtf8, {}, ai, ""},
      {Utf16(aiText, false), {}, ai, ""},
      {Utf16(aiText, true), {}, ai, ""},
      {"[00:01.00]\x82\xa0\x82\xa2\n", {}, ai, ""},
      // Without a mark, the NULs of the timestamps' ASCII tell UTF-16 and its order.
      {Utf16Bare(aiText, false), {}, ai, ""},
      {Utf16Bare(aiText, true), {}, ai, ""},
      {Utf16Bare(aiText, true), {"--encoding", "utf-16be"}, ai, ""},
      {Utf16(aiText, false), {"--encoding", "utf-16le"}, ai, ""},
      // C0 AF is overlong UTF-8, so Shift-JIS: half-width katakana.
      {"[00:01.00]\xc0\xaf\n", {}, "10,\xc0\xaf\r\n", ""},
      // Both readings fit: the plausible one is taken, and said. ﾃｩ (C3 A9)
      // is kana, é is not; 縺Ａ (E3 81 82 60) has a rare kanji, あ` has not.
      {"[00:01.00]\xc3\xa9",
       {},
       "10,\xc3\xa9\r\n",
       both + "Shift-JIS, the more plausible text (--encoding utf-8 reads it the other way)\n"},
      {"[00:01.00]\xe3\x81\x82\x60",
       {},
       "10,\x82\xa0\x60\r\n",
       both + "UTF-8, the more plausible text (--encoding shift-jis reads it the other way)\n"},
      {"[00:01.00]\xe3\x81\x82\x60", {"--encoding", "shift-jis"}, "10,\xe3\x81\x82\x60\r\n", ""},
      {"[00:01.00]\xc3\xa9",
       {"--encoding", "utf-8"},
       none,
       "line 1: U+00E9 cannot be stored in Shift-JIS (code page 932)" + refused},
      // A UTF-8 file with one Latin-1 byte is not read as Shift-JIS rare kanji.
      {"[00:01.00]\xe7\xa9\xba\xe3\x81\xae\xe4\xb8\x8a\xe3\x81\xa7\n[00:02.00]caf\xe9s\n",
       {},
       none,
       "line 2: not UTF-8, in a file that otherwise reads as UTF-8" + refused},
      {"[00:01.00]a\n[00:02.00]\x82\xa0\r\n[00:03.00]\x85\x40\n",
       {},
       none,
       "line 3: neither UTF-8 nor Shift-JIS (code page 932)" + refused},
      {"\xef\xbb\xbf[00:01.00]\x82\xa0",
       {},
       none,
       "begins with a UTF-8 byte order mark but is not UTF-8" + refused},
      {"\xff\xfe[\0x"s,
       {},
       none,
       "begins with a UTF-16 LE byte order mark but is not UTF-16" + refused},
      {"\xfe\xff\xd8\x3d\x00\x41"s,
       {},
       none,
       "begins with a UTF-16 BE byte order mark but is not UTF-16" + refused},
      {"[00:01.00]a\n\x80\n",
       {"--encoding", "shift-jis"},
       none,
       "line 2: not Shift-JIS (code page 932)" + refused},
      {"[00:01.00]\x82\xa0\n", {"--encoding", "utf-8"}, none, "line 1: not UTF-8" + refused},
      {aiUtf8, {"--encoding", "utf-16le"}, none, "not UTF-16 LE" + refused},  // odd length
  };
  for (const Case& c : cases) {
    const Outcome run = Convert(FromLrcCommand, c.input, nullptr, c.options);
    SCOPED_TRACE(c.err);
    EXPECT_EQ(run.written, c.written);
    EXPECT_EQ(run.code, c.written == none ? 1 : 0);
    std::string err = c.err;
    if (!err.empty() && err.rfind("velomar-lyrics: ", 0) != 0) err = "velomar-lyrics: IN: " + err;
    if (!err.empty() && err.back() != '\n') err += "\n";
    EXPECT_EQ(run.err, err);
  }
  // A surrogate pair is read as one character.
  EXPECT_EQ(Convert(FromLrcCommand, Utf16(u"[00:01.00]\U0001F600", false)).err.substr(0, 41),
            "velomar-lyrics: IN: line 1: U+1F600 canno");
  EXPECT_EQ(Convert(FromLrcCommand, aiUtf8, nullptr, {"--encoding", "latin-1"}).code, 2);
}

}  // namespace
}  // namespace velomar
