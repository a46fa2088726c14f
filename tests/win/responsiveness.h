// Times how long the program's UI thread is busy with one input: from
// taking the click (command, tick, notice) until it takes its next message,
// and where the input brings up or takes down a window, until that has
// happened if it is later. The time the system's open dialog spends inside
// GetOpenFileNameA is taken apart and reported on its own.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/win/bench.h"
#include "tests/win/import_swap.h"

namespace velomar::test {

constexpr double kBusyBoundMs = 100.0;

class Responsiveness : public ::testing::Test {
 protected:
  void SetUp() override;
  // Prints every command's figures and holds the bound for its best time.
  void TearDown() override;

  Program& program() { return *program_; }
  HWND main() { return program_->main(); }

  // Arms the watch for `message` to `window`, lets `act` send it on its way
  // and records the time until the UI thread is free, or until `shown`
  // holds if that is later.
  void Time(const std::string& name, HWND window, UINT message, const std::function<void()>& act,
            const std::function<bool()>& shown = nullptr);
  void Click(const std::string& name, HWND window, int id,
             const std::function<bool()>& shown = nullptr);
  void Menu(const std::string& name, int id, const std::function<bool()>& shown = nullptr);
  void Close(const std::string& name, HWND form);
  void Notice(const std::string& name, UINT code);

  // The message box or open dialog on screen.
  HWND Box();
  // True once a box or dialog other than the one there now is on screen.
  std::function<bool()> BoxShown();
  // True once the main window shows the song's name: it has opened.
  std::function<bool()> SongShown(const std::string& path);
  // Presses a button of the message box, timing the code after the box.
  void AnswerBox(const std::string& name, int id, const std::function<bool()>& shown = nullptr);
  // The open dialog's open button with `path`, or cancel when it is empty.
  void AnswerDialog(const std::string& name, const std::string& path,
                    const std::function<bool()>& shown = nullptr);
  // Opens a song through the browse button, untimed.
  void OpenSong(const std::string& path);

 private:
  struct Figure {
    std::string name;
    double best;  // ms, the system's open dialog left out
    double worst;
    double dialog;  // ms inside the system's open dialog, the most seen
  };
  std::unique_ptr<Program> program_;
  HHOOK hook_ = nullptr;
  std::unique_ptr<ImportSwap> dialogSwap_;  // times the system's open dialog
  std::vector<Figure> figures_;
};

}  // namespace velomar::test
