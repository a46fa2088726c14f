// What the walk checks after every step: only the program's own message
// boxes and dialogs, button states its playback rules can produce, and a
// main window the user can always get back to.
#include <iterator>
#include <set>
#include <string>
#include <tuple>

#include "forms/main_window.h"
#include "forms/mini_form.h"
#include "forms/overlay.h"
#include "playback/playback_rules.h"
#include "tests/win/monkey.h"
#include "tests/win/texts.h"
#include "ui/form_host.h"

namespace velomar::test::monkey {
namespace {

// The lyric list form's open dialog (the other texts are in texts.h).
constexpr char kLyricDialogTitle[] =  // tolvenkariファイルを開く
    "tolvenkari\x83t\x83@\x83\x43\x83\x8b\x82\xf0\x8aJ\x82\xad";

const std::string kResetWarningText = std::string(kResetText) + kResetWarning;
constexpr char kLrcSaveFailed[] =  // LRC ファイルを保存できませんでした\r\n
    "LRC \x83t\x83@\x83\x43\x83\x8b\x82\xf0\x95\xdb\x91\xb6\x82\xc5\x82\xab\x82\xdc\x82\xb9"
    "\x82\xf1\x82\xc5\x82\xb5\x82\xbd\r\n";

enum class Buttons { Ok, YesNo, OkCancel };

struct KnownBox {
  const char* caption;
  const char* text;
  const char*
      pathFollows;  // the text goes on with a path ending so (and maybe notes); "": anything
  Buttons buttons;
  Where owner;
  Where ownerWithoutMain;  // once the main window is gone (Other: no owner left)
};

const KnownBox kKnownBoxes[] = {
    {kResetCaption, kResetText, nullptr, Buttons::Ok, Where::Main, Where::Other},
    {kResetCaption, kResetWarningText.c_str(), nullptr, Buttons::OkCancel, Where::Main,
     Where::Other},
    {kResetDoneCaption, kResetDoneText, nullptr, Buttons::Ok, Where::Main, Where::Other},
    {"Error", kOpenError, nullptr, Buttons::Ok, Where::Main, Where::Other},
    {"Error", kCloseError, nullptr, Buttons::Ok, Where::Main, Where::Other},
    {"Error", kPlayError, nullptr, Buttons::Ok, Where::Main, Where::Other},
    {"Error", kStopError, nullptr, Buttons::Ok, Where::Main, Where::Other},
    {"ERROR", kLoopFailure, nullptr, Buttons::Ok, Where::Main, Where::Other},
    {"Error", kLimitText, nullptr, Buttons::Ok, Where::Main, Where::Kashi},
    {kQuitCaption, kQuitText, nullptr, Buttons::YesNo, Where::Main, Where::Kashi},
    {kQuitCaption, kQuitText, nullptr, Buttons::YesNo, Where::Main, Where::KashiEdit},
    {kConfirmCaption, kConfirmText, nullptr, Buttons::YesNo, Where::Kashi, Where::Kashi},
    {"Error", kSaveFailed, ".tolvenkari", Buttons::Ok, Where::Kashi, Where::Kashi},
    {kConfirmCaption, kConfirmText, nullptr, Buttons::YesNo, Where::KashiEdit, Where::KashiEdit},
    {"Error", kSaveFailed, ".tolvenkari", Buttons::Ok, Where::KashiEdit, Where::KashiEdit},
    {"Error", kLrcSaveFailed, ".lrc", Buttons::Ok, Where::KashiEdit, Where::KashiEdit},
    {kReplaceCaption, kReplaceText, nullptr, Buttons::YesNo, Where::KashiList, Where::KashiList},
    // Saves whose file does not give back every line: the counts or notes follow.
    {kSavedCaption, kSavedPrefix, "", Buttons::Ok, Where::Kashi, Where::Kashi},
    {kSavedCaption, kSavedPrefix, "", Buttons::Ok, Where::KashiEdit, Where::KashiEdit},
    {kSavedCaption, kLrcSavedPrefix, "", Buttons::Ok, Where::KashiEdit, Where::KashiEdit},
    {kSavedCaption, kNotShiftJis, "", Buttons::Ok, Where::Kashi, Where::Kashi},
    {kSavedCaption, kNotShiftJis, "", Buttons::Ok, Where::KashiEdit, Where::KashiEdit},
};

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool Matches(const KnownBox& known, const Box& box) {
  if (box.caption != known.caption) return false;
  const std::string text = known.text;
  if (known.pathFollows != nullptr) {
    // Then the path (whose typed name may hold line breaks); only the LRC
    // save goes on with notes, on lines of their own.
    const std::string tail = known.pathFollows;
    if (box.text.compare(0, text.size(), text) != 0) return false;
    const bool notes =
        tail == ".lrc" && box.text.find(tail + "\r\n", text.size()) != std::string::npos;
    if (!EndsWith(box.text, tail) && !notes) return false;
  } else if (box.text != text) {
    return false;
  }
  static const std::vector<int> kButtons[] = {{IDOK}, {IDYES, IDNO}, {IDOK, IDCANCEL}};
  return box.buttons == kButtons[static_cast<int>(known.buttons)];
}

// The looks of the main window's play, stop, browse and pause buttons, and
// of the Mini form's stop and play, as bits.
using Look4 = std::tuple<bool, bool, bool, bool>;
using Look2 = std::tuple<bool, bool>;

bool After(Switch change, bool was) { return change == Switch::Keep ? was : change == Switch::On; }

constexpr ButtonEvent kEvents[] = {
    ButtonEvent::Opened, ButtonEvent::Play,      ButtonEvent::PlayFailed,       ButtonEvent::Stop,
    ButtonEvent::Pause,  ButtonEvent::SongEnded, ButtonEvent::LoopRestartFailed};

// Every look the rules produce from the first one, following only events a
// user can cause: a song is opened through the browse button and paused
// through the pause button, so those need the button enabled; play and stop
// also come from the Mini form, whose buttons are usable whatever the main
// window shows, and notices come at any time.
std::set<Look4> MainLooks() {
  const ButtonStates first = ButtonsAfter(ButtonEvent::Start);
  std::set<Look4> seen{{After(first.play, false), After(first.stop, false),
                        After(first.browse, false), After(first.pause, false)}};
  for (bool grew = true; grew;) {
    grew = false;
    for (const Look4& look : std::set<Look4>(seen)) {
      const auto [play, stop, browse, pause] = look;
      for (ButtonEvent event : kEvents) {
        if (event == ButtonEvent::Opened && !browse) continue;
        if (event == ButtonEvent::Pause && !pause) continue;
        const ButtonStates b = ButtonsAfter(event);
        grew |= seen.insert({After(b.play, play), After(b.stop, stop), After(b.browse, browse),
                             After(b.pause, pause)})
                    .second;
      }
    }
  }
  return seen;
}

// The Mini form starts with both buttons usable (its control table); then
// its own play and stop need their button enabled, and notices come at any
// time. The main window is hidden meanwhile, so nothing else happens.
std::set<Look2> MiniLooks() {
  std::set<Look2> seen{{true, true}};
  for (bool grew = true; grew;) {
    grew = false;
    for (const Look2& look : std::set<Look2>(seen)) {
      const auto [stop, play] = look;
      for (ButtonEvent event : kEvents) {
        const bool byPlay = event == ButtonEvent::Play || event == ButtonEvent::PlayFailed;
        if (byPlay && !play) continue;
        if (event == ButtonEvent::Stop && !stop) continue;
        const ButtonStates b = ButtonsAfter(event);
        grew |= seen.insert({After(b.miniStop, stop), After(b.miniPlay, play)}).second;
      }
    }
  }
  return seen;
}

bool CheckBox(const View& view, const Box& box, Failure* failure) {
  const Where owner = OwnerOf(view, box.owner);
  if (box.fileDialog) {
    if (box.caption != kSongDialogTitle && box.caption != kLyricDialogTitle &&
        box.caption != kLrcSaveTitle) {
      return Fail(failure, "dialog", "an open dialog titled '" + Escaped(box.caption) + "'");
    }
    // The song dialog is the main window's, the lyric file dialog its form's,
    // the LRC save dialog the editor's.
    const Where expected = box.caption == kSongDialogTitle    ? Where::Main
                           : box.caption == kLyricDialogTitle ? Where::KashiList
                                                              : Where::KashiEdit;
    if (owner != expected) {
      return Fail(failure, "dialog owner", std::string("an open dialog owned by ") + NameOf(owner));
    }
    return true;
  }
  // Some boxes are shown by more than one form: any of them may own it.
  const KnownBox* first = nullptr;
  for (const KnownBox& known : kKnownBoxes) {
    if (!Matches(known, box)) continue;
    if (owner == (view.main == nullptr ? known.ownerWithoutMain : known.owner)) return true;
    if (first == nullptr) first = &known;
  }
  if (first != nullptr) {
    const Where expected = view.main == nullptr ? first->ownerWithoutMain : first->owner;
    return Fail(
        failure, "box owner",
        "'" + Escaped(box.text) + "' owned by " + NameOf(owner) + ", not by " + NameOf(expected));
  }
  std::string buttons;
  for (int id : box.buttons) buttons += " " + std::to_string(id);
  return Fail(
      failure, "foreign box",
      "caption '" + Escaped(box.caption) + "' text '" + Escaped(box.text) + "' buttons" + buttons);
}

}  // namespace

bool Usable(HWND window) {
  return window != nullptr && IsWindowVisible(window) && IsWindowEnabled(window);
}

bool Fail(Failure* failure, const char* check, const std::string& detail) {
  failure->check = check;
  failure->detail = detail;
  return false;
}

View Look(Program& program) {
  View view;
  if (IsWindow(program.main())) view.main = program.main();
  HWND(*const handles[])
  () = {nullptr, &KashiWindow, &KashiListWindow, &MiniWindow, &VersionWindow, &KashiEditWindow};
  for (int i = 1; i < kForms; ++i) {
    const HWND form = handles[i]();
    if (form != nullptr && IsWindow(form) && IsWindowVisible(form)) view.forms[i] = form;
  }
  const std::vector<HWND> windows = ThreadWindows(program.thread());
  if (OverlayWindow() != nullptr && IsWindow(OverlayWindow())) view.overlay = OverlayWindow();
  for (HWND window : windows) {
    if (!IsWindowVisible(window) || window == view.main || window == view.overlay) continue;
    bool known = false;
    for (HWND form : view.forms) known |= form == window;
    if (known) continue;
    if (ClassOf(window) != "#32770") {
      view.strangers.push_back(window);
      continue;
    }
    Box box;
    box.window = window;
    box.owner = GetWindow(window, GW_OWNER);
    box.caption = Text(window);
    box.fileDialog = GetDlgItem(window, 1136) != nullptr || GetDlgItem(window, 1148) != nullptr ||
                     GetDlgItem(window, 1152) != nullptr;
    if (!box.fileDialog) {
      // Text(nullptr) is not "": read the message only where there is one.
      if (GetDlgItem(window, 0xFFFF) != nullptr) box.text = Text(window, 0xFFFF);
      for (HWND child : Children(window)) {
        if (ClassOf(child) == "Button" && IsWindowVisible(child)) {
          box.buttons.push_back(GetDlgCtrlID(child));
        }
      }
    }
    // A box closed by another program while it was read is gone, not
    // foreign: its texts came back empty (seen once at seed 20261210).
    if (!IsWindow(window) || !IsWindowVisible(window)) continue;
    view.boxes.push_back(box);
  }
  return view;
}

Where OwnerOf(const View& view, HWND owner) {
  if (owner != nullptr && owner == view.main) return Where::Main;
  for (int i = 1; i < kForms; ++i) {
    const Where where = static_cast<Where>(i);
    if (owner != nullptr && owner == view.form(where)) return where;
  }
  return Where::Other;
}

namespace {

// No window but the program's own forms, boxes and dialogs.
bool CheckStrangers(const View& view, Failure* failure) {
  if (view.strangers.empty()) return true;
  HWND stranger = view.strangers.front();
  if (ClassOf(stranger) == "NORMALDLG") {
    return Fail(failure, "second form",
                "a form titled '" + Escaped(Text(stranger)) +
                    "' is on screen besides the forms the program knows");
  }
  return Fail(
      failure, "window",
      "a window of class '" + ClassOf(stranger) + "' titled '" + Escaped(Text(stranger)) + "'");
}

// The player's buttons, in the main window and the Mini form, as the
// playback rules can leave them.
bool CheckButtons(const View& view, Failure* failure) {
  if (view.main != nullptr) {
    static const std::set<Look4> allowed = MainLooks();
    const Look4 look{
        Enabled(view.main, main_ids::kPlayButton), Enabled(view.main, main_ids::kStopButton),
        Enabled(view.main, main_ids::kBrowseButton), Enabled(view.main, main_ids::kPauseButton)};
    if (allowed.count(look) == 0) {
      const auto [play, stop, browse, pause] = look;
      return Fail(failure, "main buttons",
                  "play " + std::to_string(play) + " stop " + std::to_string(stop) + " browse " +
                      std::to_string(browse) + " pause " + std::to_string(pause));
    }
  }
  if (HWND mini = view.form(Where::Mini)) {
    static const std::set<Look2> allowed = MiniLooks();
    const Look2 look{Enabled(mini, mini_ids::kMiniStop), Enabled(mini, mini_ids::kMiniPlay)};
    if (allowed.count(look) == 0) {
      return Fail(failure, "mini buttons",
                  "stop " + std::to_string(std::get<0>(look)) + " play " +
                      std::to_string(std::get<1>(look)));
    }
  }
  return true;
}

// Some window on screen takes input.
bool CheckAnyUsable(const View& view, Failure* failure) {
  bool anyUsable = Usable(view.main);
  for (HWND form : view.forms) anyUsable |= form != nullptr && Usable(form);
  for (const Box& box : view.boxes) anyUsable |= Usable(box.window);
  if (anyUsable) return true;
  // What is there, to tell a window left disabled from one left hidden.
  std::string seen;
  auto add = [&](const char* name, HWND window) {
    if (window == nullptr) return;
    seen += std::string(" ") + name + (IsWindowVisible(window) ? " shown" : " hidden") +
            (IsWindowEnabled(window) ? "" : " disabled") +
            (WaitsOnBox(window) ? " waiting on a box" : "");
  };
  add("main", view.main);
  for (int i = 1; i < static_cast<int>(std::size(view.forms)); ++i) {
    add(NameOf(static_cast<Where>(i)), view.forms[i]);
  }
  return Fail(failure, "unreachable", "no window on screen takes input:" + seen);
}

// Nothing modal on screen: every window shown is the user's to use, but
// for one whose command still waits in a box answered under another loop.
bool CheckWithoutBoxes(const View& view, Failure* failure) {
  for (int i = 1; i < kForms; ++i) {
    const Where where = static_cast<Where>(i);
    HWND form = view.form(where);
    if (form != nullptr && !IsWindowEnabled(form) && !WaitsOnBox(form)) {
      return Fail(failure, "unreachable", std::string(NameOf(where)) + " is shown but disabled");
    }
  }
  if (view.main == nullptr) return true;
  const bool ownedForm =
      view.form(Where::KashiList) || view.form(Where::Mini) || view.form(Where::Version);
  if (!ownedForm && !Usable(view.main) && !WaitsOnBox(view.main)) {
    return Fail(failure, "unreachable",
                std::string("no form or box is open, yet the main window is ") +
                    (IsWindowVisible(view.main) ? "disabled" : "hidden"));
  }
  // The forms the main window owns are modal: it waits while one is open.
  if (ownedForm && IsWindowEnabled(view.main)) {
    return Fail(failure, "not modal", "a form the main window owns is open, yet it takes input");
  }
  if (!view.form(Where::Mini) && !IsWindowVisible(view.main)) {
    return Fail(failure, "unreachable", "the main window is hidden without the Mini form");
  }
  if (!ownedForm && !Enabled(view.main, main_ids::kPlayButton) &&
      !Enabled(view.main, main_ids::kStopButton) && !Enabled(view.main, main_ids::kBrowseButton)) {
    return Fail(failure, "unreachable", "play, stop and browse are all disabled");
  }
  return true;
}

}  // namespace

bool CheckView(const View& view, Failure* failure) {
  for (const Box& box : view.boxes) {
    if (!CheckBox(view, box, failure)) return false;
  }
  return CheckStrangers(view, failure) && CheckButtons(view, failure) &&
         CheckAnyUsable(view, failure) && (!view.boxes.empty() || CheckWithoutBoxes(view, failure));
}

}  // namespace velomar::test::monkey
