// The KashiList form as the user loads a lyric file with it: its controls,
// the file dialog, and a load that shows every entry and closes the form.
#include "forms/kashi_list_form.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "forms/forms.h"
#include "playback/playback.h"
#include "tests/win/bench.h"
#include "tests/win/form_checks.h"
#include "tests/win/media.h"
#include "ui/form_host.h"
#include "ui/lyric_store.h"
#include "ui/shell.h"

namespace velomar::test {
namespace {

constexpr char kListCaption[] =  // 歌詞ファイルの参照
    "\x89\xcc\x8e\x8c\x83t\x83@\x83\x43\x83\x8b\x82\xcc\x8eQ\x8f\xc6";
constexpr char kListBusy[] =  // 歌詞ファイルの参照：処理中（フリーズ…）
    "\x89\xcc\x8e\x8c\x83t\x83@\x83\x43\x83\x8b\x82\xcc\x8eQ\x8f\xc6\x81\x46\x8f\x88\x97"
    "\x9d\x92\x86\x81i\x83t\x83\x8a\x81[\x83Y\x82\xb5\x82\xc4\x82\xe0\x82\xbb\x82\xcc\x82"
    "\xdc\x82\xdc\x82\xc5\x82\xa8\x91\xd2\x82\xbf\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81j";
constexpr char kBrowseLabel[] =  // 歌詞ファイルを探す
    "\x89\xcc\x8e\x8c\x83t\x83@\x83\x43\x83\x8b\x82\xf0\x92T\x82\xb7";
constexpr char kRemainingCaption[] = "\x8e\x63\x82\xe8\x81\x46";  // 残り：
constexpr char kFullN[] = "\x82\x8e";                             // ｎ
constexpr char kReadingCaption[] =                                // 読み込み中のフレーズ
    "\x93\xc7\x82\xdd\x8d\x9e\x82\xdd\x92\x86\x82\xcc\x83t\x83\x8c\x81[\x83Y";
constexpr char kFilter[] = "\x89\xcc\x8e\x8c \x83t\x83@\x83\x43\x83\x8b";  // 歌詞 ファイル
constexpr char kDialogTitle[] =  // tolvenkariファイルを開く
    "tolvenkari\x83t\x83@\x83\x43\x83\x8b\x82\xf0\x8aJ\x82\xad";
constexpr char kSong[] = "\x89\xcc\x83\x5c";  // 歌ソ

constexpr LONG kSe = WS_EX_STATICEDGE;
constexpr LONG kV = WS_VISIBLE;

const ControlRow kControls[] = {
    {kashi_list_ids::kBrowseButton, "Button", kBrowseLabel, kSe, kV | BS_PUSHBUTTON, 373, 28, 113,
     24},
    {kashi_list_ids::kPathBox, "Edit", "", WS_EX_CLIENTEDGE, kV | ES_LEFT, 5, 6, 479, 21},
    {kashi_list_ids::kLoadButton, "Button", "OK", kSe, kV | BS_PUSHBUTTON, 202, 84, 88, 26},
    {kashi_list_ids::kRemainingCaption, "Static", kRemainingCaption, 0, kV | SS_CENTER, 9, 40, 32,
     12},
    {kashi_list_ids::kRemainingLabel, "Static", kFullN, 0, kV | SS_LEFT, 46, 40, 50, 12},
    {kashi_list_ids::kPhraseCaption, "Static", kReadingCaption, 0, kV | SS_LEFT, 9, 56, 121, 12},
    {kashi_list_ids::kTimeLabel, "Static", kFullN, 0, kV | SS_CENTER, 135, 56, 42, 12},
    {kashi_list_ids::kPhraseLabel, "Static", "text", 0, kV | SS_LEFT, 187, 56, 301, 12},
};

void Browse(Program& program, HWND form, const std::string& path) {
  Click(program, form, kashi_list_ids::kBrowseButton);
  AnswerOpenDialog(program, path);
}

// Presses OK and waits until the form has closed itself.
bool Load(Program& program, HWND form) {
  Click(program, form, kashi_list_ids::kLoadButton);
  const bool closed = WaitGone(form);
  program.Flush();
  return closed;
}

std::string LyricFile(const std::string& name, const std::string& bytes) {
  const std::string path = ScratchDir() + "\\" + name + ".tolvenkari";
  WriteBytes(path, bytes);
  return path;
}

// Every text the form gives its caption (id 0) or its labels, in order, as
// the program's own thread sets them.
std::mutex logMutex;
std::vector<std::pair<int, std::string>> textLog;

LRESULT CALLBACK RecordText(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sent->message == WM_SETTEXT && KashiListWindow() != nullptr) {
    const bool form = sent->hwnd == KashiListWindow();
    if (form || GetParent(sent->hwnd) == KashiListWindow()) {
      std::lock_guard<std::mutex> lock(logMutex);
      textLog.emplace_back(form ? 0 : GetDlgCtrlID(sent->hwnd),
                           reinterpret_cast<const char*>(sent->lParam));
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

class TextRecorder {
 public:
  explicit TextRecorder(Program& program)
      : hook_(SetWindowsHookExA(WH_CALLWNDPROC, RecordText, nullptr, program.thread())) {
    std::lock_guard<std::mutex> lock(logMutex);
    textLog.clear();
  }
  ~TextRecorder() { UnhookWindowsHookEx(hook_); }
  TextRecorder(const TextRecorder&) = delete;
  TextRecorder& operator=(const TextRecorder&) = delete;
  bool hooked() const { return hook_ != nullptr; }
  std::vector<std::pair<int, std::string>> Seen() const {
    std::lock_guard<std::mutex> lock(logMutex);
    return textLog;
  }

 private:
  HHOOK hook_;
};

// The busy caption, then at screen pace the count left, the time and the
// phrase of entries in order, as the table now holds them: the first entry
// and the last always.
void ExpectEntriesShownAtScreenPace(const std::vector<std::pair<int, std::string>>& seen) {
  ASSERT_GE(seen.size(), 7u);
  ASSERT_EQ((seen.size() - 1) % 3, 0u);
  EXPECT_EQ(seen[0], std::make_pair(0, std::string(kListBusy)));
  int previous = -1;
  for (size_t at = 1; at < seen.size(); at += 3) {
    ASSERT_EQ(seen[at].first, kashi_list_ids::kRemainingLabel);
    const int i = 3000 - std::stoi(seen[at].second);
    SCOPED_TRACE(i);
    ASSERT_GT(i, previous);
    ASSERT_EQ(seen[at + 1],
              std::make_pair(+kashi_list_ids::kTimeLabel, std::to_string(Lyrics.Table().time[i])));
    ASSERT_EQ(seen[at + 2], std::make_pair(+kashi_list_ids::kPhraseLabel, Phrase(i)));
    if (previous == -1) {
      EXPECT_EQ(i, 0) << "the first entry is shown";
    }
    previous = i;
  }
  EXPECT_EQ(previous, 3000) << "ends on the last entry";
}

TEST(KashiListForm, OpensWithItsEightControlsAnEmptyPathBoxAndItsCaption) {
  Program program;
  LyricFilePath.shown = "C:\\earlier.tolvenkari";
  HWND main = program.main();
  SetWindowPos(main, nullptr, 60, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  RECT m{};
  GetWindowRect(main, &m);
  HWND form = OpenKashiList(program);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(Text(form), kListCaption);
  RECT f{};
  GetWindowRect(form, &f);
  EXPECT_EQ(f.left, m.left + 30);
  EXPECT_EQ(f.top, m.top + 25);
  EXPECT_EQ(f.right - f.left, 499);
  EXPECT_FALSE(IsWindowEnabled(main));
  ExpectControls(form, kControls, Shell().KashiListFont.get(), WS_BORDER);
  Command(program, form, kashi_list_ids::kLoadButton, BN_DOUBLECLICKED);
  Command(program, form, kashi_list_ids::kPathBox, 0);
  EXPECT_TRUE(IsWindow(form)) << "only a click loads";
  CloseByCaption(program, form);
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_EQ(LyricFilePath.shown, "C:\\earlier.tolvenkari");
}

TEST(KashiListForm, BrowseShowsTheChosenPathAndACancelKeepsIt) {
  Program program;
  const std::string path = LyricFile("browse", "1,a\r\n");
  HWND form = OpenKashiList(program);
  ASSERT_NE(form, nullptr);
  Click(program, form, kashi_list_ids::kBrowseButton);
  HWND dialog = WaitForTopLevel(program.thread(), "#32770");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), form) << "the form waits while its dialog is open";
  EXPECT_EQ(Text(dialog), kDialogTitle);
  HWND nameBox = Item(dialog, 1148);  // the explorer-style dialog's name box
  if (nameBox == nullptr) nameBox = Item(dialog, 1152);
  ASSERT_NE(nameBox, nullptr);
  EXPECT_EQ(Text(nameBox), "") << "no file name is proposed";
  HWND filter = Item(dialog, 1136);
  ASSERT_EQ(SendMessageA(filter, CB_GETCOUNT, 0, 0), 1);
  char shown[128] = {};
  SendMessageA(filter, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(shown));
  EXPECT_STREQ(shown, kFilter);
  AnswerOpenDialog(program, path);
  EXPECT_EQ(Text(form, kashi_list_ids::kPathBox), path);
  EXPECT_EQ(LyricFilePath.shown, path);

  Click(program, form, kashi_list_ids::kBrowseButton);
  AnswerOpenDialog(program, "");  // cancel
  EXPECT_EQ(Text(form, kashi_list_ids::kPathBox), path);
  EXPECT_EQ(LyricFilePath.shown, path);
  EXPECT_TRUE(IsWindow(form));
  EXPECT_EQ(Phrase(0), "") << "browsing loads nothing";
  CloseByCaption(program, form);
}

TEST(KashiListForm, LoadFillsEntriesFromTheFileClearsTheRestAndShowsEveryEntry) {
  Program program;
  PressedBefore(4);
  EditLyrics([](LyricTable& table) {
    for (int i = 0; i < 5; ++i) {
      table.time[i] = 100 + i;
      table.phrase[i] = "stale" + std::to_string(i);
    }
    table.time[3000] = -9;
  });
  Playback.PlayTicks = 17.0;
  Playback.LyricCursor = 2;
  const std::string path = LyricFile("three", std::string("12,") + kSong + "\r\n34,\r\n-5,b c\r\n");
  HWND form = OpenKashiList(program);
  ASSERT_NE(form, nullptr);
  Browse(program, form, path);
  TextRecorder recorder(program);
  ASSERT_TRUE(recorder.hooked());
  ASSERT_TRUE(Load(program, form)) << "the form closes itself";
  EXPECT_TRUE(IsWindowEnabled(program.main()));
  EXPECT_EQ(Lyrics.Table().time[0], 12);
  EXPECT_EQ(Phrase(0), kSong);
  EXPECT_EQ(Lyrics.Table().time[1], 34);
  EXPECT_EQ(Phrase(1), "");
  EXPECT_EQ(Lyrics.Table().time[2], -5);
  EXPECT_EQ(Phrase(2), "b c");
  EXPECT_EQ(Lyrics.Table().time[3], 0) << "entries after the file's records are unwritten";
  EXPECT_EQ(Phrase(3), "");
  EXPECT_EQ(Lyrics.Table().time[4], 0);
  EXPECT_EQ(Phrase(4), "");
  EXPECT_EQ(Lyrics.Table().time[3000], 0);
  EXPECT_EQ(Lyrics.Table().AddIndex, 4) << "a load touches no counter";
  EXPECT_EQ(Lyrics.Table().RemainingLines, 2996);
  EXPECT_EQ(Lyrics.Table().AddedCount, 4);
  EXPECT_EQ(Playback.PlayTicks, 17.0);
  EXPECT_EQ(Playback.LyricCursor, 2);
  ExpectEntriesShownAtScreenPace(recorder.Seen());
  EXPECT_FALSE(MessageBoxOpen(program)) << "no message at the end";
}

TEST(KashiListForm, OkBeforeAnyBrowseChangesNothingAndCloses) {
  Program program;
  EditLyrics([](LyricTable& table) {
    table.time[0] = 8;
    table.phrase[0] = "kept";
  });
  ASSERT_EQ(LyricFilePath.shown, "");
  HWND form = OpenKashiList(program);
  ASSERT_NE(form, nullptr);
  TextRecorder recorder(program);
  ASSERT_TRUE(Load(program, form));
  EXPECT_EQ(Lyrics.Table().time[0], 8);
  EXPECT_EQ(Phrase(0), "kept");
  ExpectEntriesShownAtScreenPace(recorder.Seen());
  EXPECT_FALSE(MessageBoxOpen(program));
  EXPECT_TRUE(IsWindowEnabled(program.main()));
}

TEST(KashiListForm, ALaterOpeningLoadsTheLastChosenFileWithoutABrowse) {
  Program program;
  const std::string path = LyricFile("later", "7,first\r\n9,second\r\n");
  HWND form = OpenKashiList(program);
  ASSERT_NE(form, nullptr);
  Browse(program, form, path);
  CloseByCaption(program, form);
  EXPECT_EQ(Phrase(0), "") << "closing without OK loads nothing";

  form = OpenKashiList(program);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(Text(form, kashi_list_ids::kPathBox), "");
  ASSERT_TRUE(Load(program, form));
  EXPECT_EQ(Lyrics.Table().time[0], 7);
  EXPECT_EQ(Phrase(0), "first");
  EXPECT_EQ(Lyrics.Table().time[1], 9);
  EXPECT_EQ(Phrase(1), "second");
}

TEST(KashiListForm, ATypedPathInThePathBoxIsNotWhatLoads) {
  Program program;
  const std::string chosen = LyricFile("chosen", "1,chosen\r\n");
  const std::string typed = LyricFile("typed", "2,typed\r\n");
  HWND form = OpenKashiList(program);
  ASSERT_NE(form, nullptr);
  Browse(program, form, chosen);
  TypeText(form, kashi_list_ids::kPathBox, typed);
  ASSERT_TRUE(Load(program, form));
  EXPECT_EQ(Lyrics.Table().time[0], 1);
  EXPECT_EQ(Phrase(0), "chosen");
  EXPECT_EQ(LyricFilePath.shown, chosen);
}

}  // namespace
}  // namespace velomar::test
