// The walk's actions in words, its random numbers, and what the user types:
// texts, save names and the files the open dialogs are answered with.
#include "tests/win/monkey.h"

#include <cstdio>
#include <iterator>
#include <string>

#include "forms/kashi_edit_form.h"
#include "forms/kashi_form.h"
#include "forms/kashi_list_form.h"
#include "forms/main_window.h"
#include "forms/mini_form.h"
#include "forms/version_form.h"
#include "system/wide_path.h"
#include "tests/win/media.h"

namespace velomar::test::monkey {
namespace {

std::string Executable() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

// Saves land beside the executable as <exe><typed name>.tolvenkari (or .lrc
// from the lyric editor); every name the walk types starts with this, so
// that they can all be removed.
std::string SavePrefix() { return "mk" + ProcessTag() + "_"; }

const char* const kGoodNames[] = {"a", "b#c", "\x95\x5c\x83\x5c", "x,y", "s p"};  // 表ソ
const char* const kBadNames[] = {"bad*", "q?", "cr\r\nlf", "sub\\dir", "l<>"};

const char* const kPieces[] = {
    "a",   "abc", "#",        "\r\n",         ",",        " ",        "0",
    "123", "-5",  "\x82\xa0", "\x95\x5c",     "\x83\x5c", "\x81\x94", "\x89\xcc\x8e\x8c",
    "\t",  "\"",  "x#y#",     "\x82\xa0#\r\n"};

// Non-Japanese lyrics: only some of them have a Shift-JIS form.
const wchar_t* const kWidePieces[] = {
    L"a",          L"#",      L"\r\n",   L" ",        L"123",       L"あ",           L"表",
    L"안녕하세요", L"这是",   L"Привет", L"Καλημέρα", L"άέίόύ",     L"café",         L"Straße",
    L"🎵",          L"\u00a0", L"\u2013", L"x#y#",     L"안녕#\r\n", L"\u2013#\u00a0"};

template <typename Char, size_t N>
std::basic_string<Char> RandomText(Random& random, const Char* const (&pieces)[N],
                                   const std::basic_string<Char>& longer) {
  std::basic_string<Char> text;
  for (int i = random.Below(9); i > 0; --i) text += pieces[random.Below(static_cast<int>(N))];
  if (random.Below(20) == 0) text = longer + text;  // longer than any box shows
  return text;
}

// As the inside of a u"" literal: beyond printable ASCII as \u or \U escapes.
std::string EscapedWide(const std::wstring& text) {
  std::string out;
  char code[16];
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (c < 0x80) {
      out += Escaped(std::string(1, static_cast<char>(c)));
    } else {
      std::snprintf(code, sizeof code, c > 0xFFFF ? "\\U%08x" : "\\u%04x", c);
      out += code;
    }
  }
  return out;
}

struct Label {
  Where where;
  int id;
  const char* name;
};

// The main window's menu commands the walk takes.
const Label kMenuNames[] = {
    {Where::Main, main_ids::kMenuKashiList, "lyric list form"},
    {Where::Main, main_ids::kMenuKashi, "Kashi form"},
    {Where::Main, main_ids::kMenuReset, "reset"},
    {Where::Main, main_ids::kMenuMini, "Mini form"},
    {Where::Main, main_ids::kMenuVersion, "version form"},
    {Where::Main, main_ids::kMenuKashiEdit, "lyric editor"},
};

// The controls, and the buttons of any message box (Other).
const Label kLabels[] = {
    {Where::Main, main_ids::kPlayButton, "play"},
    {Where::Main, main_ids::kStopButton, "stop"},
    {Where::Main, main_ids::kBrowseButton, "browse"},
    {Where::Main, main_ids::kLoopToggle, "loop"},
    {Where::Main, main_ids::kLyricsToggle, "lyrics"},
    {Where::Main, main_ids::kPauseButton, "pause"},
    {Where::Kashi, kashi_ids::kAddButton, "add"},
    {Where::Kashi, kashi_ids::kSaveButton, "save"},
    {Where::Kashi, kashi_ids::kPourInSwitch, "pour-in"},
    {Where::Kashi, kashi_ids::kWordSwitch, "word by word"},
    {Where::Kashi, kashi_ids::kPhraseBox, "phrase box"},
    {Where::Kashi, kashi_ids::kPourInBox, "pour-in box"},
    {Where::Kashi, kashi_ids::kFileNameBox, "file name box"},
    {Where::KashiList, kashi_list_ids::kBrowseButton, "browse"},
    {Where::KashiList, kashi_list_ids::kLoadButton, "OK (load)"},
    {Where::KashiList, kashi_list_ids::kPathBox, "path box"},
    {Where::Mini, mini_ids::kMiniStop, "stop"},
    {Where::Mini, mini_ids::kMiniPlay, "play"},
    {Where::Mini, mini_ids::kMiniTopmost, "always on top"},
    {Where::Version, version_ids::kOkButton, "OK"},
    {Where::KashiEdit, kashi_edit_ids::kEarlierButton, "-0.1"},
    {Where::KashiEdit, kashi_edit_ids::kLaterButton, "+0.1"},
    {Where::KashiEdit, kashi_edit_ids::kClockButton, "clock now"},
    {Where::KashiEdit, kashi_edit_ids::kInsertButton, "insert"},
    {Where::KashiEdit, kashi_edit_ids::kDeleteButton, "delete"},
    {Where::KashiEdit, kashi_edit_ids::kUndoButton, "undo"},
    {Where::KashiEdit, kashi_edit_ids::kPhraseBox, "phrase box"},
    {Where::KashiEdit, kashi_edit_ids::kPhraseButton, "set phrase"},
    {Where::KashiEdit, kashi_edit_ids::kPlayHereButton, "play from here"},
    {Where::KashiEdit, kashi_edit_ids::kNameBox, "name box"},
    {Where::KashiEdit, kashi_edit_ids::kSaveButton, "save"},
    {Where::KashiEdit, kashi_edit_ids::kLrcButton, "save LRC"},
    {Where::KashiEdit, kashi_edit_ids::kRedoButton, "redo"},
    {Where::Other, IDOK, "OK"},
    {Where::Other, IDCANCEL, "Cancel"},
    {Where::Other, IDYES, "Yes"},
    {Where::Other, IDNO, "No"},
};

const char* Name(Where where, int id, bool menu) {
  for (const Label& label : kMenuNames) {
    if (menu && label.id == id) return label.name;
  }
  for (const Label& label : kLabels) {
    if (label.id == id && (label.where == where || label.where == Where::Other)) return label.name;
  }
  return id == 0 ? "the window" : "?";
}

std::string KeyName(int key) {
  switch (key) {
    case VK_SUBTRACT: return "-";
    case VK_ADD: return "+";
    case VK_SPACE: return "Space";
    case VK_INSERT: return "Ins";
    case VK_DELETE: return "Del";
    case VK_F9: return "F9";
  }
  return key >= 'A' && key <= 'Z' ? std::string(1, static_cast<char>(key)) : std::to_string(key);
}

const char* const kFiles[] = {"wave song",   "wave song with a Shift-JIS name",
                              "MIDI song",   "mp3 song",
                              "broken song", "missing file",
                              "lyric file",  "the walk's saved lyric file",
                              "cancel"};

}  // namespace

const char* NameOf(Where where) {
  static const char* const names[] = {"main",    "Kashi",     "KashiList", "Mini",
                                      "Version", "KashiEdit", "other"};
  return names[static_cast<int>(where)];
}

std::string Escaped(const std::string& text) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c >= 0x20 && c < 0x7F && c != '\\' && c != '"') {
      out.push_back(static_cast<char>(c));
    } else {
      out += "\\x";
      out.push_back(digits[c >> 4]);
      out.push_back(digits[c & 15]);
    }
  }
  return out;
}

std::uint64_t Random::Next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

int Random::Below(int bound) {
  return static_cast<int>(Next() % static_cast<std::uint64_t>(bound));
}

std::string FilePath(File file) {
  static const std::string wave = MakeWave("mk_song.wav", 30);
  static const std::string sjis = MakeWave("mk_\x95\x5c\x83\x5c.wav", 30);
  static const std::string midi = MakeMidi("mk_tune.mid");
  static const std::string broken = MakeBrokenSong("mk_broken.wav");
  static const std::string lyrics = [] {
    const std::string path = ScratchDir() + "\\mk_lyrics.tolvenkari";
    WriteBytes(path, "0,\x82\xa0\r\n3,\x95\x5c\r\n6,\r\n9,x#y\r\n");
    return path;
  }();
  switch (file) {
    case File::Wave: return wave;
    case File::SjisWave: return sjis;
    case File::Midi: return midi;
    case File::Mp3: return Mp3Song();
    case File::Broken: return broken;
    case File::Missing: return ScratchDir() + "\\mk_missing.wav";
    case File::Lyrics: return lyrics;
    case File::Saved: return Executable() + SavePrefix() + "a.tolvenkari";
    default: return std::string();
  }
}

std::string Describe(const Action& a) {
  const std::string where = NameOf(a.where);
  const std::string id = std::to_string(a.id);
  switch (a.kind) {
    case Kind::Click: return "click " + where + " " + id + " (" + Name(a.where, a.id, false) + ")";
    case Kind::Menu: return "menu " + id + " (" + Name(a.where, a.id, true) + ")";
    case Kind::Type:
      if (a.n == 1) {
        return "type UTF-16 into " + where + " " + id + " (" + Name(a.where, a.id, false) +
               "): u\"" + EscapedWide(Utf8ToWide(a.text)) + "\"";
      }
      return "type into " + where + " " + id + " (" + Name(a.where, a.id, false) + "): \"" +
             Escaped(a.text) + "\"";
    case Kind::Paste:
      return "paste into " + where + " " + id + " (" + Name(a.where, a.id, false) +
             ") from the clipboard: u\"" + EscapedWide(Utf8ToWide(a.text)) + "\"";
    case Kind::Close: return "close " + where + " by its caption (WM_CLOSE)";
    case Kind::Escape:
      return "Escape on " + where + " " + id + " (" + Name(a.where, a.id, false) + ")";
    case Kind::AnswerBox:
      return "answer the message box of " + where + " with " + id + " (" +
             Name(Where::Other, a.id, false) + ")";
    case Kind::AnswerFile: return std::string("answer the open dialog: ") + kFiles[a.n];
    case Kind::Tick: return "tick x" + std::to_string(a.n);
    case Kind::Notice: return "MCI notice " + std::to_string(a.n);
    case Kind::Shut:
      return "WM_CLOSE from another program to " +
             (a.id == 0 ? where : "the box or dialog of " + where);
    case Kind::Key:
      return std::string("key ") + (a.n == 1 ? "Ctrl+" : "") + KeyName(a.id) + " on " + where +
             " list";
    case Kind::Overlay: return DescribeOverlay(a);
  }
  return "?";
}

std::string SavedLrcPath() { return Executable() + SavePrefix() + "saved.lrc"; }

void RemoveSavedFiles() {
  const std::string exe = Executable();
  // Saved before any name was typed: no other test saves under these.
  DeleteFileA((exe + ".tolvenkari").c_str());
  DeleteFileA((exe + ".lrc").c_str());
  const std::string folder = exe.substr(0, exe.rfind('\\') + 1);
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((exe + SavePrefix() + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    DeleteFileA((folder + found.cFileName).c_str());
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

std::string TextFor(Random& random, Where where, int id) {
  if ((where == Where::Kashi && id == kashi_ids::kFileNameBox) ||
      (where == Where::KashiEdit && id == kashi_edit_ids::kNameBox)) {
    const bool bad = random.Below(4) == 0;
    return SavePrefix() + (bad ? kBadNames[random.Below(static_cast<int>(std::size(kBadNames)))]
                               : kGoodNames[random.Below(static_cast<int>(std::size(kGoodNames)))]);
  }
  if (where == Where::KashiList) return FilePath(static_cast<File>(random.Below(8)));
  return RandomText(random, kPieces, std::string(300, 'w'));
}

std::string UnicodeText(Random& random) {
  std::wstring emoji;
  for (int i = 0; i < 150; ++i) emoji += L"🎵";
  return WideToUtf8(RandomText(random, kWidePieces, emoji));
}

}  // namespace velomar::test::monkey
