// LRC files as their authors write them: what from-lrc, and with it the
// program's LRC load, makes of offsets, shared stamps, word stamps and
// characters Shift-JIS cannot store.
#include <gtest/gtest.h>

#include <string>

#include "lyrics/lrc_convert.h"

namespace velomar {
namespace {

TEST(LrcToLyricFile, ReadsFilesAsTheirAuthorsWroteThem) {
  struct Case {
    std::string lrc;
    std::string file;
    std::string notes;  // one a line
  } const cases[] = {
      // A positive offset comes sooner, and nothing before 0; the last one
      // counts, in any case and with blanks.
      {"[offset:900]\n[Offset: +1500 ]\n[00:01.00]a\n[00:02.49]b\n[offset:+]\n", "0,a\r\n10,b\r\n",
       "line 5: offset not in whole milliseconds, left out\n"},
      // Lines sharing a stamp join in file order; a repeated line is kept
      // once, and an empty one joins nothing.
      {"[00:01.00]Hello\n[00:02.00]\n[00:01.00]\xe3\x81\x82\n[00:01.00]Hello\n[00:02.00]x\n",
       "10,Hello / \x82\xa0\r\n20,x\r\n", ""},
      // Word stamps of either kind go, one nested in another too, and the
      // blanks around them become one; blanks between leading stamps; [m:ss:cc].
      {"[00:01.00] [00:03:50]  a <00:01.50> b [00:02.00]c<00:02.10> \t\n"
       "[00:04.00]x [00:0<00:01.00>5.00]  y\n",
       "10,a b c\r\n35,a b c\r\n40,x y\r\n", ""},
      // Accents folded, anything else Shift-JIS lacks made "?", also after a
      // byte order mark.
      {"\xef\xbb\xbf[00:01.00]Caf\xc3\xa9 Gr\xc3\xbc\xc3\x9f"
       "e\n[00:02.00]\xe4\xbb\xac!\n"
       "[00:02.50]\xf0\x9f\x98\x80\n[00:03.00]ok\n[00:04.00]\xc5\x93uvre\n",
       "10,Cafe Grusse\r\n20,?!\r\n25,?\r\n30,ok\r\n40,oeuvre\r\n",
       "replaced 6 characters Shift-JIS cannot store (accented letters by their base letters, "
       "others by \"?\") on lines 1-3, 5\n"},
  };
  for (const Case& c : cases) {
    std::string file, said;
    std::size_t count = 0;
    Notes notes;
    LrcToLyricFile(c.lrc, LrcEncoding::kDetect, file, count, notes);
    for (const Note& note : notes) said += note.text + "\n";
    EXPECT_EQ(file, c.file);
    EXPECT_EQ(said, c.notes);
  }
}

}  // namespace
}  // namespace velomar
