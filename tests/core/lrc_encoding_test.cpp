// How from-lrc, and with it the program's LRC load, tells the encoding of
// an LRC file, in both directions of a misread, and when forced.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lrc_commands_support.h"
#include "lyrics/lrc_convert.h"

namespace velomar {
namespace {

using namespace lrc_testing;
using namespace std::string_literals;

const std::string kWestern =
    "taken as Windows-1252: Western text, without kana as Shift-JIS (--encoding forces another "
    "reading)";
const std::string kCyrillic =
    "taken as Windows-1251: Cyrillic text, without kana as Shift-JIS (--encoding forces another "
    "reading)";

std::string Utf16Bare(const std::u16string& text, bool bigEndian) {
  return Utf16(text, bigEndian).substr(2);
}

TEST(FromLrc, TellsTheEncodingsApart) {
  const std::string ai = "10,\x82\xa0\x82\xa2\r\n";                   // あい
  const std::string aiUtf8 = "[00:01.00]\xe3\x81\x82\xe3\x81\x84\n";  // あい
  const std::u16string aiText = u"[00:01.00]\u3042\u3044\n";
  const std::string none = "(none)";
  const std::string replaced = "velomar-lyrics: IN: replaced ";
  const std::string why =
      " Shift-JIS cannot store (accented letters by their base letters, "
      "others by \"?\") on line ";
  const std::string western = "velomar-lyrics: IN: " + kWestern + "\n";
  const std::string cyrillic = "velomar-lyrics: IN: " + kCyrillic + "\n";
  const std::string refused = "\nvelomar-lyrics: nothing written to OUT\n";
  struct Case {
    std::string input;
    std::vector<std::string> options;
    std::string written;
    std::string err;  // after "velomar-lyrics: IN: "
  } const cases[] = {
      // Valid UTF-8 with a character beyond ASCII is UTF-8, though short
      // UTF-8 kana are often valid Shift-JIS too (E3 81 is a kanji).
      {aiUtf8, {}, ai, ""},
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
      // é, not ﾃｩ; 縺Ａ (E3 81 82 60) becomes あ`. A note only where the
      // Shift-JIS reading holds kana and is as plausible: ﾂづｱ.
      {"[00:01.00]\xc3\xa9", {}, "10,e\r\n", replaced + "1 character" + why + "1\n"},
      {"[00:01.00]\xe3\x81\x82\x60", {}, "10,\x82\xa0\x60\r\n", ""},
      {"[00:01.00]\xc2\x82\xc3\xb1",
       {},
       "10,?n\r\n",
       "reads as UTF-8 and as Shift-JIS; taken as UTF-8 (--encoding shift-jis reads it the other "
       "way)\n" +
           replaced + "2 characters" + why + "1\n"},
      {"[00:01.00]\xe3\x81\x82\x60", {"--encoding", "shift-jis"}, "10,\xe3\x81\x82\x60\r\n", ""},
      // A UTF-8 file with one Latin-1 byte is not read as Shift-JIS rare kanji.
      {"[00:01.00]\xe7\xa9\xba\xe3\x81\xae\xe4\xb8\x8a\xe3\x81\xa7\n[00:02.00]caf\xe9s\n",
       {},
       none,
       "line 2: not UTF-8, in a file that otherwise reads as UTF-8" + refused},
      // Western text: "I’m" would be I知, "Straße" Straﾟe, and "là" is no Shift-JIS.
      {"[00:01.00]I\x92m\n[00:02.00]Stra\xdf"
       "e l\xe0\n",
       {},
       "10,I\x81\x66m\r\n20,Strasse la\r\n",
       western + replaced + "2 characters" + why + "2\n"},
      // German capitals are no half-width katakana (ﾖ ﾄ ﾜ), Russian is
      // Cyrillic in small letters and in capitals (no ﾏﾐﾈﾏﾅﾂ:), and forced
      // the capitals read as Cyrillic too.
      {"[00:01.00]\xd6 \xc4 \xdc",
       {},
       "10,O A U\r\n",
       western + replaced + "3 characters" + why + "1\n"},
      {"[00:01.00]\xcf\xf0\xe8\xe2\xe5\xf2, \xec\xe8\xf0\n[00:02.00]\xcf\xd0\xc8\xcf\xc5\xc2:",
       {},
       "10,\x84\x50\x84\x82\x84\x79\x84\x72\x84\x75\x84\x84, \x84\x7d\x84\x79\x84\x82\r\n"
       "20,\x84\x50\x84\x51\x84\x49\x84\x50\x84\x45\x84\x42:\r\n",
       cyrillic},
      {"[00:01.00]\xd6 \xc4 \xdc",
       {"--encoding", "windows-1251"},
       "10,\x84\x57 \x84\x44 \x84\x5d\r\n",
       ""},
      // 東京濺: no kana and a rare kanji, but no other reading fits.
      {"[00:01.00]\x93\x8c\x8b\x9e\xe0\x64", {}, "10,\x93\x8c\x8b\x9e\xe0\x64\r\n", ""},
      // A line of a Japanese file that reads in no code page (a kana cut in
      // half) is where the file goes wrong, as is German after Russian.
      {"[00:01.00]\x82\xa0\n[00:02.00]\x82\xa0\x82\n[00:03.00]\x82\xa2\n",
       {},
       none,
       "line 2: not Shift-JIS (code page 932), in a file whose kana read as Shift-JIS" + refused},
      {"[00:01.00]\xcf\xf0\xe8\xe2\xe5\xf2\n[00:02.00]Sch\xf6n\n",
       {},
       none,
       "line 2: neither UTF-8, Shift-JIS (code page 932), Windows-1252 nor Windows-1251" + refused},
      // Two files joined leave a byte order mark before a later line's
      // stamp; invisible characters copied from the web go.
      {aiUtf8 + "\xef\xbb\xbf[00:02.00]a\xe2\x80\x8b\xe2\x80\x8f\xe2\x81\xa0\xef\xbb\xbfz",
       {},
       ai + "20,az\r\n",
       ""},
      {"[00:01.00]a\x81\n",
       {"--encoding", "windows-1252"},
       none,
       "line 1: not Windows-1252 (code page 1252)" + refused},
      // GBK 你们好 reads as Shift-JIS without kana but with a rare kanji, and
      // as Windows-1252 without a Western word.
      {"[ti:x]\n[00:01.00]\xc4\xe3\xc3\xc7\xba\xc3\n",
       {},
       none,
       "line 2: neither UTF-8, Shift-JIS (code page 932), Windows-1252 nor Windows-1251" + refused},
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
  EXPECT_EQ(Convert(FromLrcCommand, Utf16(u"[00:01.00]\U0001F600", false)).written, "10,?\r\n");
  EXPECT_EQ(Convert(FromLrcCommand, aiUtf8, nullptr, {"--encoding", "latin-1"}).code, 2);
}

// The text the detection gives, exactly: every letter of À-ÿ alone and in
// two-letter words (no half-width katakana, no kanji), of А-я in words, and
// a Japanese file's lines that are in a Western code page.
TEST(LrcEncoding, ReadsEachLetterAndLineAsWritten) {
  const std::string latin = u8"ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖ×ØÙÚÛÜÝÞßàáâãäåæçèéêëìíîïðñòóôõö÷øùúûüýþÿ";
  const std::string russian = u8"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя";
  struct Case {
    std::string input, text;  // text empty: refused
    std::vector<std::string> notes;
  };
  std::vector<Case> cases = {
      {"[00:01.00]\xd6 \xc4 \xdc\n[00:02.00]\xd6l\n",
       u8"[00:01.00]Ö Ä Ü\n[00:02.00]Öl\n",
       {kWestern}},
      {"[00:01.00]\x82\xa0\n[00:02.00]Beyonc\xe9 cover\r\n",
       u8"[00:01.00]あ\n[00:02.00]Beyoncé cover\r\n",
       {"行 2: Windows-1252 として読みました"}},
      {"\x93\x8c\x8b\x9e\n\xcf\xf0\xe8\xe2\xe5\xf2\n",
       u8"東京\nПривет\n",
       {"行 2: Windows-1251 として読みました"}},
      {"\x93\x8c\x8b\x9e\n\x93\x8c\x8b",
       "",
       {"line 2: neither UTF-8, Shift-JIS (code page 932), Windows-1252 nor Windows-1251"}},
  };
  for (int i = 0; i < 64; ++i) {
    const std::string b(1, static_cast<char>(0xC0 + i)), l = latin.substr(2 * i, 2);
    const std::string r = russian.substr(2 * i, 2);
    for (const auto& [in, out] :
         {std::pair(b, l), std::pair(b + "l", l + "l"), std::pair("l" + b, "l" + l)}) {
      if (i != 0x17 && i != 0x37) cases.push_back({in + "\n", out + "\n", {kWestern}});  // not × ÷
    }
    cases.push_back({"\xc4" + b + " " + b + "\xe0\n", u8"Д" + r + " " + r + u8"а\n", {kCyrillic}});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    std::string text;
    Notes notes;
    EXPECT_EQ(DecodeLrc(c.input, LrcEncoding::kDetect, text, notes), !c.text.empty());
    EXPECT_EQ(text, c.text);
    std::vector<std::string> said;
    for (const Note& note : notes) said.push_back(note.text);
    EXPECT_EQ(said, c.notes);
  }
}

}  // namespace
}  // namespace velomar
