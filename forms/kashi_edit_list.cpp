#include "forms/kashi_edit_list.h"

#include <iterator>
#include <string>

#include "lyrics/number_text.h"
#include "lyrics/word_edit.h"
#include "system/wide_path.h"
#include "ui/lyric_store.h"

namespace velomar {

namespace {

struct Column {
  const char* title;
  int width;
};
const Column kColumns[] = {
    {"番号", 44}, {"時間", 56},  {"分:秒", 60}, {"歌詞", 160}, {"表示されない理由", 104},
    {"訳", 100},  {"単語", 200},
};

const char* ReasonText(NeverShown why) {
  switch (why) {
    case NeverShown::Negative: return "時間が負";
    case NeverShown::SameAsPrevious: return "前の行と同じ時間";
    case NeverShown::BeforePrevious: return "前の行より前の時間";
    case NeverShown::StoppedEarlier: return "前の行で表示が止まる";
    case NeverShown::No: break;
  }
  return "";
}

}  // namespace

void AddEditorColumns(HWND list) {
  for (int c = 0; c < static_cast<int>(std::size(kColumns)); ++c) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(kColumns[c].title);
    column.cx = kColumns[c].width;
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(c),
                 reinterpret_cast<LPARAM>(&column));
  }
  // The words beside their phrase, within the list's width.
  int order[] = {0, 1, 2, 3, 6, 4, 5};
  SendMessageA(list, LVM_SETCOLUMNORDERARRAY, std::size(order), reinterpret_cast<LPARAM>(order));
}

void ShowEditorCell(NMLVDISPINFOW& info, const LineMarks& marks) {
  LVITEMW& item = info.item;
  if ((item.mask & LVIF_TEXT) == 0 || item.iItem < 0 || item.iItem >= kLyricEntries) return;
  const int i = item.iItem;
  const LyricTable& table = Lyrics.Table();
  std::wstring text;
  switch (item.iSubItem) {
    case 0: text = WidePath(NumberText(i)); break;
    case 1: text = WidePath(NumberText(table.time[i])); break;
    case 2: text = WidePath(MinutesText(table.time[i], table.detail[i].hundredths)); break;
    case 3: text = Utf8ToWide(table.phrase[i]); break;
    case 4: text = WidePath(ReasonText(marks.Of(i))); break;
    case 5: text = Utf8ToWide(FirstRow(table, i)); break;
    default: text = Utf8ToWide(WordStampsText(table.phrase[i], table.detail[i].words)); break;
  }
  lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
}

}  // namespace velomar
