// Which actions the user has at a moment, and how often each is taken.
#include <windows.h>

#include <utility>
#include <vector>

#include "forms/kashi_edit_form.h"
#include "forms/kashi_form.h"
#include "forms/kashi_list_form.h"
#include "forms/main_window.h"
#include "forms/mini_form.h"
#include "forms/version_form.h"
#include "tests/win/monkey.h"

namespace velomar::test::monkey {
namespace {

using Choices = std::vector<std::pair<Action, int>>;

void Add(Choices* options, Kind kind, Where where, int id, int weight, int n = 0) {
  options->emplace_back(Action{kind, where, id, n, {}}, weight);
}

struct Weighted {
  Where where;
  int id;
  int weight;
};

// How often a user takes each action when it is there; every action stays
// possible, the slow ones (a lyric file load takes most of a second) rarer.
const Weighted kClicks[] = {
    {Where::Main, main_ids::kPlayButton, 24},
    {Where::Main, main_ids::kStopButton, 24},
    {Where::Main, main_ids::kBrowseButton, 16},
    {Where::Main, main_ids::kLoopToggle, 12},
    {Where::Main, main_ids::kLyricsToggle, 12},
    {Where::Main, main_ids::kPauseButton, 12},
    {Where::Kashi, kashi_ids::kAddButton, 32},
    {Where::Kashi, kashi_ids::kSaveButton, 12},
    {Where::Kashi, kashi_ids::kPourInSwitch, 8},
    {Where::Kashi, kashi_ids::kWordSwitch, 8},
    {Where::KashiList, kashi_list_ids::kBrowseButton, 16},
    {Where::KashiList, kashi_list_ids::kLoadButton, 3},
    {Where::Mini, mini_ids::kMiniStop, 16},
    {Where::Mini, mini_ids::kMiniPlay, 16},
    {Where::Mini, mini_ids::kMiniTopmost, 8},
    {Where::Version, version_ids::kOkButton, 16},
    {Where::KashiEdit, kashi_edit_ids::kEarlierButton, 6},
    {Where::KashiEdit, kashi_edit_ids::kLaterButton, 6},
    {Where::KashiEdit, kashi_edit_ids::kClockButton, 6},
    {Where::KashiEdit, kashi_edit_ids::kInsertButton, 8},
    {Where::KashiEdit, kashi_edit_ids::kDeleteButton, 6},
    {Where::KashiEdit, kashi_edit_ids::kUndoButton, 8},
    {Where::KashiEdit, kashi_edit_ids::kPhraseButton, 6},
    {Where::KashiEdit, kashi_edit_ids::kPlayHereButton, 4},
    {Where::KashiEdit, kashi_edit_ids::kSaveButton, 4},
    {Where::KashiEdit, kashi_edit_ids::kLrcButton, 4},
    {Where::KashiEdit, kashi_edit_ids::kRedoButton, 8},
};
const Weighted kMenus[] = {
    {Where::Main, main_ids::kMenuKashiList, 8}, {Where::Main, main_ids::kMenuKashi, 12},
    {Where::Main, main_ids::kMenuReset, 8},     {Where::Main, main_ids::kMenuMini, 12},
    {Where::Main, main_ids::kMenuVersion, 8},   {Where::Main, main_ids::kMenuKashiEdit, 10}};
const Weighted kBoxes[] = {{Where::Kashi, kashi_ids::kPhraseBox, 16},
                           {Where::Kashi, kashi_ids::kPourInBox, 12},
                           {Where::Kashi, kashi_ids::kFileNameBox, 12},
                           {Where::KashiList, kashi_list_ids::kPathBox, 4},
                           {Where::KashiEdit, kashi_edit_ids::kPhraseBox, 6},
                           {Where::KashiEdit, kashi_edit_ids::kNameBox, 6}};
// The boxes that take lyrics, typed into and pasted into in any script.
const Weighted kLyricBoxes[] = {{Where::Kashi, kashi_ids::kPhraseBox, 8},
                                {Where::Kashi, kashi_ids::kPourInBox, 8},
                                {Where::KashiEdit, kashi_edit_ids::kPhraseBox, 4}};
const Weighted kCloses[] = {{Where::Main, 0, 1},       {Where::Kashi, 0, 8},
                            {Where::KashiList, 0, 12}, {Where::Mini, 0, 12},
                            {Where::Version, 0, 12},   {Where::KashiEdit, 0, 8}};
const Weighted kEscapes[] = {{Where::Kashi, 0, 1},
                             {Where::Kashi, kashi_ids::kPhraseBox, 1},
                             {Where::Kashi, kashi_ids::kPourInBox, 1},
                             {Where::Kashi, kashi_ids::kFileNameBox, 1},
                             {Where::KashiList, 0, 2},
                             {Where::KashiList, kashi_list_ids::kPathBox, 2},
                             {Where::Mini, 0, 2},
                             {Where::Mini, mini_ids::kMiniTopmost, 2},
                             {Where::Version, 0, 2},
                             {Where::Version, version_ids::kOkButton, 2},
                             {Where::KashiEdit, 0, 1}};
// The lyric editor list's keys: undo and redo with Ctrl (n 1), the rest bare.
struct EditorKey {
  int key;
  int control;
  int weight;
};
const EditorKey kEditorKeys[] = {{'Z', 1, 8},       {'Y', 1, 8},      {VK_SUBTRACT, 0, 2},
                                 {VK_ADD, 0, 2},    {VK_SPACE, 0, 2}, {VK_INSERT, 0, 2},
                                 {VK_DELETE, 0, 2}, {VK_F9, 0, 2},    {'Z', 0, 1}};

// The buttons, menu commands and boxes of the windows on screen.
void AddControls(const View& view, Choices* options) {
  for (const Weighted& w : kClicks) {
    HWND window = view.window(w.where);
    if (Usable(window) && Enabled(window, w.id)) {
      Add(options, Kind::Click, w.where, w.id, w.weight);
    }
  }
  for (const Weighted& w : kMenus) {
    if (Usable(view.main)) Add(options, Kind::Menu, w.where, w.id, w.weight);
  }
  for (const Weighted& w : kBoxes) {
    if (Usable(view.window(w.where))) Add(options, Kind::Type, w.where, w.id, w.weight);
  }
  for (const Weighted& w : kLyricBoxes) {
    if (!Usable(view.window(w.where))) continue;
    Add(options, Kind::Type, w.where, w.id, w.weight, 1);
    Add(options, Kind::Paste, w.where, w.id, w.weight * 3 / 4);
  }
}

// Closing windows: by their caption, by another program, by Escape.
void AddCloses(const View& view, Choices* options) {
  // The Kashi form is left open after the main window closed now and then,
  // and the walk stays with it a while.
  const bool kashiOpen = view.form(Where::Kashi) != nullptr;
  for (const Weighted& w : kCloses) {
    int weight = w.weight;
    if (w.where == Where::Main && kashiOpen) weight = 6;
    if (w.where == Where::Kashi && view.main == nullptr) weight = 2;
    if (Usable(view.window(w.where))) Add(options, Kind::Close, w.where, w.id, weight);
  }
  // Other programs close any window, also a hidden or disabled one, and a
  // box: more often while a box is up, which holds the quits that come.
  const int shut = view.boxes.empty() ? 1 : 4;
  for (int i = 0; i < kForms; ++i) {
    const Where where = static_cast<Where>(i);
    if (view.window(where) != nullptr) Add(options, Kind::Shut, where, 0, shut);
  }
  for (const Box& box : view.boxes) Add(options, Kind::Shut, OwnerOf(view, box.owner), 1, 1);
  for (const Weighted& w : kEscapes) {
    if (Usable(view.window(w.where))) Add(options, Kind::Escape, w.where, w.id, w.weight);
  }
}

// The answers to the boxes and dialogs on screen, and the editor list's keys.
void AddAnswers(const View& view, Choices* options) {
  for (const Box& box : view.boxes) {
    if (!Usable(box.window)) continue;
    if (box.fileDialog) {
      for (int file = 0; file < static_cast<int>(File::Count); ++file) {
        Add(options, Kind::AnswerFile, Where::Main, 0, 6, file);
      }
    } else {
      for (int id : box.buttons) {
        Add(options, Kind::AnswerBox, OwnerOf(view, box.owner), id,
            48 / static_cast<int>(box.buttons.size()));
      }
    }
  }
  if (Usable(view.form(Where::KashiEdit))) {
    for (const EditorKey& k : kEditorKeys) {
      Add(options, Kind::Key, Where::KashiEdit, k.key, k.weight, k.control);
    }
  }
}

}  // namespace

std::vector<std::pair<Action, int>> Walk::Options(const View& view) const {
  std::vector<std::pair<Action, int>> options;
  AddControls(view, &options);
  AddCloses(view, &options);
  AddAnswers(view, &options);
  AddOverlayOptions(view, overlayLocked_, &options);
  if (view.main != nullptr) {
    Add(&options, Kind::Tick, Where::Main, 0, 48);
    Add(&options, Kind::Notice, Where::Main, 0, 16);
  }
  return options;
}

}  // namespace velomar::test::monkey
