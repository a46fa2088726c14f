// Message boxes and open dialogs run loops of their own in the middle of the
// forms' loops: whatever order the user closes things in, the main window is
// modal exactly while a form it owns is open, no loop is left waiting for a
// window that is gone, and a command suspended in a box resumes sensibly.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "forms/kashi_form.h"
#include "forms/kashi_list_form.h"
#include "forms/main_window.h"
#include "forms/mini_form.h"
#include "playback/playback.h"
#include "tests/win/bench.h"
#include "tests/win/form_checks.h"
#include "tests/win/media.h"
#include "tests/win/texts.h"
#include "ui/form_host.h"

namespace velomar::test {
namespace {

// Stop in the Mini form with no song open: the stop error box comes up,
// owned by the main window.
MessageBoxSeen StopWithNoSong(Program& program, HWND mini) {
  PostMessageA(Item(mini, mini_ids::kMiniStop), BM_CLICK, 0, 0);
  return WaitForMessageBox(program);
}

// Opens `path` through the main window's browse button.
void OpenSongFile(Program& program, const std::string& path) {
  PostMessageA(Item(program.main(), main_ids::kBrowseButton), BM_CLICK, 0, 0);
  AnswerOpenDialog(program, WindowsPath(path));
}

TEST(ModalBoxes, ABoxOrDialogOfTheMainWindowLeavesItDisabledWhileItsFormIsOpen) {
  Program program;
  HWND main = program.main();

  HWND mini = OpenMini(program);
  ASSERT_NE(mini, nullptr);
  MessageBoxSeen box = StopWithNoSong(program, mini);
  ASSERT_NE(box.window, nullptr);
  EXPECT_EQ(box.owner, main);
  Answer(box, IDOK);
  EXPECT_FALSE(IsWindowEnabled(main)) << "the Mini form is still open";
  EXPECT_TRUE(IsWindowEnabled(mini));
  CloseByCaption(program, mini);
  EXPECT_TRUE(IsWindowEnabled(main));

  // The KashiList form's open dialog, cancelled and answered.
  for (const std::string& answer : {std::string(), WindowsPath(MakeWave("modal.wav", 300))}) {
    SCOPED_TRACE(answer);
    HWND list = OpenKashiList(program);
    ASSERT_NE(list, nullptr);
    PostMessageA(Item(list, kashi_list_ids::kBrowseButton), BM_CLICK, 0, 0);
    const MessageBoxSeen dialog = WaitForMessageBox(program);
    EXPECT_EQ(dialog.owner, list) << "the form waits while its dialog is open";
    EXPECT_FALSE(IsWindowEnabled(list));
    AnswerOpenDialog(program, answer);
    EXPECT_EQ(Text(list, kashi_list_ids::kPathBox), answer);
    EXPECT_FALSE(IsWindowEnabled(main)) << "so no second list form can be opened";
    EXPECT_TRUE(IsWindowEnabled(list));
    CloseByCaption(program, list);
    EXPECT_TRUE(IsWindowEnabled(main));
  }
  EXPECT_EQ(program.CloseAndWait(), 0);
}

TEST(ModalBoxes, ClosingTheMiniFormUnderTheMainWindowsBoxKeepsTheBoxModal) {
  Program program;
  HWND main = program.main();
  HWND mini = OpenMini(program);
  ASSERT_NE(mini, nullptr);
  MessageBoxSeen box = StopWithNoSong(program, mini);
  ASSERT_NE(box.window, nullptr);
  PostMessageA(mini, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitGone(mini));
  EXPECT_TRUE(IsWindowVisible(box.window));
  EXPECT_FALSE(IsWindowEnabled(main)) << "its box is still up";
  Answer(box, IDOK);
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_EQ(program.CloseAndWait(), 0);
}

TEST(ModalBoxes, ClosingTheKashiFormUnderTheMainWindowsDialogLeavesTheDialogUp) {
  Program program;
  HWND main = program.main();
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  PostMessageA(Item(main, main_ids::kBrowseButton), BM_CLICK, 0, 0);
  MessageBoxSeen dialog = WaitForMessageBox(program);
  ASSERT_NE(dialog.window, nullptr);
  PostMessageA(kashi, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitGone(kashi));
  program.Flush();
  EXPECT_TRUE(IsWindowVisible(dialog.window)) << "the quit is the Kashi form's, not the dialog's";
  const std::string wave = MakeWave("under_dialog.wav", 300);
  AnswerOpenDialog(program, WindowsPath(wave));
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_EQ(Text(main, main_ids::kPathLine), WindowsPath(wave)) << "the chosen song is opened";
  EXPECT_TRUE(Enabled(main, main_ids::kPlayButton));
  EXPECT_FALSE(program.Finished());
  EXPECT_EQ(program.CloseAndWait(), 0) << "the Kashi form's loop has ended";
}

TEST(ModalBoxes, ClosingTheMainWindowUnderTheKashiSaveQuestionLeavesTheQuestionUp) {
  Program program;
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  PostMessageA(Item(kashi, kashi_ids::kSaveButton), BM_CLICK, 0, 0);
  MessageBoxSeen question = WaitForMessageBox(program);
  ASSERT_EQ(question.caption, kConfirmCaption);
  PostMessageA(program.main(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitGone(program.main()));
  program.Flush();
  EXPECT_TRUE(IsWindowVisible(question.window));
  Answer(question, IDNO);
  EXPECT_TRUE(IsWindowEnabled(kashi));
  EXPECT_FALSE(program.Finished()) << "the Kashi form is still on screen";
  PostMessageA(kashi, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return program.Finished(); }, 10000));
  EXPECT_EQ(program.ExitCode(), 0);
}

TEST(ModalBoxes, TheKashiMenuBringsTheOpenKashiFormForward) {
  Program program;
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  TypeText(kashi, kashi_ids::kPhraseBox, "first");
  Command(program, program.main(), main_ids::kMenuKashi);
  EXPECT_EQ(KashiWindow(), kashi);
  EXPECT_EQ(FindTopLevel(program.thread(), "NORMALDLG"), kashi);
  int forms = 0;
  for (HWND window = FindWindowA("NORMALDLG", nullptr); window != nullptr;
       window = FindWindowExA(nullptr, window, "NORMALDLG", nullptr)) {
    if (GetWindowThreadProcessId(window, nullptr) == program.thread()) ++forms;
  }
  EXPECT_EQ(forms, 1);
  EXPECT_EQ(Text(kashi, kashi_ids::kPhraseBox), "first");
  CloseByCaption(program, kashi);
  EXPECT_EQ(program.CloseAndWait(), 0) << "one form, one loop";
}

// The song dialog is answered while the Kashi form's question, opened on top
// of it, keeps its call from returning: the main window waits for its
// command to end, though the system enables it as the dialog goes.
TEST(ModalBoxes, TheMainWindowWaitsUntilItsAnsweredDialogReturns) {
  Program program;
  program.BlockRealTicks(true);
  HWND main = program.main();
  const std::string first = MakeWave("first.wav", 3000);
  const std::string second = MakeWave("second.wav", 3000);
  OpenSongFile(program, first);
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  PostMessageA(Item(main, main_ids::kBrowseButton), BM_CLICK, 0, 0);
  ASSERT_NE(WaitForMessageBox(program, 5000, main).window, nullptr);
  PostMessageA(Item(kashi, kashi_ids::kSaveButton), BM_CLICK, 0, 0);
  MessageBoxSeen question = WaitForMessageBox(program, 5000, kashi);
  ASSERT_NE(question.window, nullptr);
  AnswerOpenDialog(program, WindowsPath(second), 5000, main);
  EXPECT_FALSE(IsWindowEnabled(main)) << "its browse command has not ended";
  EXPECT_EQ(Text(main, main_ids::kPathLine), WindowsPath(first));
  Answer(question, IDNO);
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_EQ(Text(main, main_ids::kPathLine), WindowsPath(second)) << "the song chosen is opened";
  EXPECT_TRUE(Enabled(main, main_ids::kPlayButton));
  EXPECT_FALSE(Enabled(main, main_ids::kStopButton));
  EXPECT_TRUE(IsWindowEnabled(kashi));
  CloseByCaption(program, kashi);
  EXPECT_EQ(program.CloseAndWait(), 0);
}

// The Kashi form's question is answered while the Mini form, opened from the
// main window meanwhile, runs its loop inside the question's: the save goes
// on only when that loop ends, and the Kashi form waits until then.
TEST(ModalBoxes, AnAnsweredQuestionUnderANestedFormWaitsForThatForm) {
  Program program;
  HWND kashi = OpenKashi(program);
  ASSERT_NE(kashi, nullptr);
  PostMessageA(Item(kashi, kashi_ids::kSaveButton), BM_CLICK, 0, 0);
  MessageBoxSeen question = WaitForMessageBox(program);
  ASSERT_EQ(question.caption, kConfirmCaption);
  HWND mini = OpenMini(program);
  ASSERT_NE(mini, nullptr);
  Answer(question, IDNO);
  EXPECT_FALSE(IsWindowEnabled(kashi)) << "its save command has not ended";
  EXPECT_TRUE(IsWindowEnabled(mini));
  CloseByCaption(program, mini);
  EXPECT_TRUE(IsWindowEnabled(kashi));
  EXPECT_TRUE(IsWindowEnabled(program.main()));
  CloseByCaption(program, kashi);
  EXPECT_EQ(program.CloseAndWait(), 0);
}

// A quit that arrives under a box waits until the command that showed the
// box has returned to its loop: the command's next box waits for the user
// too, and the quit then ends the loop it was meant for.
TEST(ModalBoxes, ABoxAfterAHeldQuitWaitsForTheUser) {
  {
    SCOPED_TRACE("the save's failure box after the main window closed under the question");
    Program program;
    HWND kashi = OpenKashi(program);
    ASSERT_NE(kashi, nullptr);
    TypeText(kashi, kashi_ids::kFileNameBox, "bad*");
    PostMessageA(Item(kashi, kashi_ids::kSaveButton), BM_CLICK, 0, 0);
    MessageBoxSeen question = WaitForMessageBox(program);
    ASSERT_EQ(question.caption, kConfirmCaption);
    PostMessageA(program.main(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitGone(program.main()));
    Answer(question, IDYES);
    MessageBoxSeen failure = WaitForMessageBox(program);
    ASSERT_NE(failure.window, nullptr);
    EXPECT_EQ(failure.owner, kashi);
    program.Flush();
    EXPECT_TRUE(IsWindowVisible(failure.window)) << "the failure box waits for the user";
    Answer(failure, IDOK);
    EXPECT_FALSE(program.Finished()) << "the Kashi form is still on screen";
    PostMessageA(kashi, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return program.Finished(); }, 10000)) << "no quit was lost";
    EXPECT_EQ(program.ExitCode(), 0);
  }
  {
    SCOPED_TRACE("the song's open error after the Kashi form closed under the song dialog");
    Program program;
    HWND kashi = OpenKashi(program);
    ASSERT_NE(kashi, nullptr);
    PostMessageA(Item(program.main(), main_ids::kBrowseButton), BM_CLICK, 0, 0);
    ASSERT_NE(WaitForMessageBox(program).window, nullptr);
    PostMessageA(kashi, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitGone(kashi));
    AnswerOpenDialog(program, MakeBrokenSong("held_quit.wav"));
    MessageBoxSeen error = WaitForMessageBox(program);
    ASSERT_NE(error.window, nullptr);
    EXPECT_EQ(error.text, kOpenError);
    program.Flush();
    EXPECT_TRUE(IsWindowVisible(error.window));
    Answer(error, IDOK);
    EXPECT_TRUE(IsWindowEnabled(program.main()));
    EXPECT_EQ(program.CloseAndWait(), 0) << "the Kashi form's loop has ended";
  }
  {
    SCOPED_TRACE("the reset's second box after the Kashi form closed under the first");
    Program program;
    HWND kashi = OpenKashi(program);
    ASSERT_NE(kashi, nullptr);
    PostMessageA(program.main(), WM_COMMAND, main_ids::kMenuReset, 0);
    MessageBoxSeen first = WaitForMessageBox(program);
    ASSERT_EQ(first.caption, kResetCaption);
    PostMessageA(kashi, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitGone(kashi));
    Answer(first, IDOK);
    MessageBoxSeen second = WaitForMessageBox(program);
    ASSERT_EQ(second.caption, kResetDoneCaption);
    program.Flush();
    EXPECT_TRUE(IsWindowVisible(second.window));
    Answer(second, IDOK);
    EXPECT_EQ(program.CloseAndWait(), 0);
  }
}

// Another program's WM_CLOSE (Task Manager's "End task", taskkill without
// /F) reaches the main window also while a form or box holds it: it is
// refused then, as the user's own close is, and nothing is left without
// its window or loop.
TEST(ModalBoxes, AClosedHeldMainWindowStaysWithItsForm) {
  Program program;
  HWND main = program.main();
  const std::pair<int, HWND (*)()> kOwnedForms[] = {{main_ids::kMenuVersion, &VersionWindow},
                                                    {main_ids::kMenuKashiList, &KashiListWindow},
                                                    {main_ids::kMenuMini, &MiniWindow}};
  for (const auto& [command, handle] : kOwnedForms) {
    SCOPED_TRACE(command);
    HWND form = OpenByMenu(program, command, handle);
    ASSERT_NE(form, nullptr);
    PostMessageA(main, WM_CLOSE, 0, 0);
    program.Flush();
    ASSERT_TRUE(IsWindow(main));
    EXPECT_TRUE(IsWindowVisible(form));
    EXPECT_FALSE(IsWindowEnabled(main));
    CloseByCaption(program, form);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_TRUE(IsWindowVisible(main));
  }
  PostMessageA(main, WM_COMMAND, main_ids::kMenuReset, 0);
  MessageBoxSeen box = WaitForMessageBox(program);
  ASSERT_EQ(box.caption, kResetCaption);
  PostMessageA(main, WM_CLOSE, 0, 0);
  program.Flush();
  ASSERT_TRUE(IsWindow(main));
  EXPECT_TRUE(IsWindowVisible(box.window));
  Answer(box, IDOK);
  Answer(WaitForMessageBox(program), IDOK);
  EXPECT_EQ(program.CloseAndWait(), 0);
}

}  // namespace
}  // namespace velomar::test
