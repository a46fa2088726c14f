// The hostile LRC line, 3001 stamps sharing one long phrase, in a binary of
// its own: it counts every byte the conversion allocates.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "lyrics/lrc_convert.h"

namespace {
std::size_t allocated = 0;
}  // namespace

void* operator new(std::size_t size) {
  allocated += size;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace velomar {
namespace {

TEST(LrcBound, APhraseSharedByManyStampsIsNotCopiedForEach) {
  // Once its copies would pass the limit the file is refused; below it, only
  // the records hold copies, with a few hundred bytes of bookkeeping each.
  for (const std::size_t length : {300000, 2000}) {
    std::string lrc;
    for (int i = 0; i < kLyricEntries; ++i) lrc += "[" + std::to_string(i) + ":00]";
    lrc += std::string(length, 'x');
    std::vector<LyricRecord> records;
    Notes notes;
    const std::size_t before = allocated;
    LrcToRecords(lrc, LrcEncoding::kDetect, records, notes);
    EXPECT_LT(allocated - before, records.size() * (length + 512) + 8 * lrc.size());
    EXPECT_EQ(records.size(), length == 2000 ? kLyricEntries : 0u);
    EXPECT_EQ(
        notes.empty() ? "" : notes.back().text,
        length == 2000 ? "" : "line 1: the phrases would take more than 8 MB in the lyric file");
  }
  // The program's load keeps word stamps for each time, but only so many:
  // 6 million copies would take 48 MB.
  std::string lrc;
  for (int i = 0; i < kLyricEntries; ++i) lrc += "[" + std::to_string(i) + ":00]";
  for (int i = 0; i < 2000; ++i) lrc += "<0:00>x";
  std::vector<LyricRecord> records;
  Notes notes;
  const std::size_t before = allocated;
  LrcToRecords(lrc, LrcEncoding::kDetect, records, notes, LrcPhrases::kUnicode);
  EXPECT_EQ(records.size(), static_cast<std::size_t>(kLyricEntries));
  EXPECT_LT(allocated - before, std::size_t{24} << 20);
}

}  // namespace
}  // namespace velomar
