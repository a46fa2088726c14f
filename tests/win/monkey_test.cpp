// A seeded random walk of user actions on the real program: after every
// step the program is alive, shows only its own boxes, its buttons are in a
// state its playback rules allow and the main window can be reached. A
// failure names the seed and the shortest replay found.
//
//   VELOMAR_MONKEY_STEPS  steps in all, shared out over the tests (5000)
//   VELOMAR_MONKEY_SEED   seed of the first share; share i uses seed + i
//   VELOMAR_MONKEY_SHRINK_SECONDS  time allowed to shorten a failing walk (45)
//   VELOMAR_MONKEY_TRACE  1: every action and its time on stderr
#include "tests/win/monkey.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace velomar::test::monkey {
namespace {

// Several tests so that ctest runs parts of the walk side by side.
constexpr int kShares = 5;
constexpr std::uint64_t kDefaultSeed = 20261207;

std::uint64_t FromEnvironment(const char* name, std::uint64_t fallback) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return fallback;
  return std::strtoull(value, nullptr, 0);
}

// Replays `actions` in a fresh program; true when the same check fails,
// with the actions taken up to that failure.
bool FailsAlike(const std::vector<Action>& actions, const std::string& check,
                std::vector<Action>* kept, Failure* seen) {
  Walk walk;
  Failure failure;
  if (walk.Replay(actions, &failure) || failure.check != check) return false;
  *kept = walk.taken();
  *seen = failure;
  return true;
}

// Delta debugging: drops ever smaller runs of actions while the failure
// stays, until no single action can go or the time is up.
std::vector<Action> Shrink(std::vector<Action> actions, const std::string& check, DWORD budgetMs,
                           int* replays, Failure* last) {
  const DWORD start = GetTickCount();
  auto timeLeft = [&] { return GetTickCount() - start < budgetMs; };
  size_t parts = 2;
  while (actions.size() > 1 && timeLeft()) {
    const size_t chunk = (actions.size() + parts - 1) / parts;
    bool reduced = false;
    for (size_t begin = 0; begin < actions.size() && timeLeft() && !reduced; begin += chunk) {
      std::vector<Action> candidate(actions.begin(), actions.begin() + begin);
      candidate.insert(candidate.end(), actions.begin() + std::min(begin + chunk, actions.size()),
                       actions.end());
      std::vector<Action> kept;
      ++*replays;
      if (FailsAlike(candidate, check, &kept, last)) {
        actions = kept;
        parts = std::max<size_t>(parts - 1, 2);
        reduced = true;
      }
    }
    if (!reduced) {
      if (parts >= actions.size()) break;
      parts = std::min(actions.size(), parts * 2);
    }
  }
  return actions;
}

std::string Listing(const std::vector<Action>& actions, size_t from = 0) {
  std::string text;
  for (size_t i = from; i < actions.size(); ++i) {
    text += "  " + std::to_string(i + 1) + ". " + Describe(actions[i]) + "\n";
  }
  return text;
}

class MonkeyWalk : public ::testing::TestWithParam<int> {};

TEST_P(MonkeyWalk, EveryStepLeavesTheProgramAsItsRulesAllow) {
  const int share = GetParam();
  const std::uint64_t total = FromEnvironment("VELOMAR_MONKEY_STEPS", 5000);
  const std::uint64_t firstSeed = FromEnvironment("VELOMAR_MONKEY_SEED", kDefaultSeed);
  const DWORD shrinkMs =
      static_cast<DWORD>(FromEnvironment("VELOMAR_MONKEY_SHRINK_SECONDS", 45) * 1000);
  const int steps = static_cast<int>((total + kShares - 1 - share) / kShares);
  const std::uint64_t seed = firstSeed + static_cast<std::uint64_t>(share);

  // One program at a time: the walk ends before any replay starts.
  Failure failure;
  std::vector<Action> recorded;
  bool passed = false;
  {
    Walk walk;
    const DWORD start = GetTickCount();
    passed = walk.RunRandom(seed, steps, &failure);
    const double seconds = (GetTickCount() - start) / 1000.0;
    const size_t done = passed ? static_cast<size_t>(steps) : failure.step + 1;
    std::printf(
        "[monkey] seed %llu: %zu of %d steps in %.1f s (%.0f steps/s); %d program starts, "
        "%d boxes and %d open dialogs answered\n",
        static_cast<unsigned long long>(seed), done, steps, seconds,
        done / std::max(seconds, 0.001), walk.programsStarted(), walk.boxesAnswered(),
        walk.dialogsAnswered());
    RecordProperty("seed", std::to_string(seed));
    RecordProperty("steps", static_cast<int>(done));
    RecordProperty("milliseconds", static_cast<int>(seconds * 1000));
    recorded = walk.taken();
  }
  if (passed) return;

  const std::string where =
      "seed " + std::to_string(seed) + " (VELOMAR_MONKEY_SEED=" + std::to_string(firstSeed) +
      " VELOMAR_MONKEY_STEPS=" + std::to_string(total) + ", share " + std::to_string(share) + ")";
  const std::string what = "[" + failure.check + "] " + failure.detail;
  // Said at once: shrinking takes its time, and the log shows the walk as it was.
  const size_t from = recorded.size() > 40 ? recorded.size() - 40 : 0;
  std::printf("[monkey] failed: %s, at step %zu: %s; its last actions:\n%s", where.c_str(),
              failure.step + 1, what.c_str(), Listing(recorded, from).c_str());
  std::fflush(stdout);
  std::vector<Action> replay;
  Failure seen;
  if (!FailsAlike(recorded, failure.check, &replay, &seen)) {
    ADD_FAILURE() << "Monkey walk failed: " << where << ", at step " << failure.step + 1 << ": "
                  << what << "\nThe replay did not fail alike; the walk's last actions:\n"
                  << Listing(recorded, from);
    return;
  }
  int replays = 1;
  const DWORD shrinkStart = GetTickCount();
  replay = Shrink(replay, failure.check, shrinkMs, &replays, &seen);
  ADD_FAILURE() << "Monkey walk failed: " << where << ", at step " << failure.step + 1 << ": "
                << what << "\nShortest replay found (" << replay.size() << " actions, " << replays
                << " replays in " << (GetTickCount() - shrinkStart) / 1000 << " s):\n"
                << Listing(replay) << "  -> [" << seen.check << "] " << seen.detail;
}

INSTANTIATE_TEST_SUITE_P(Shares, MonkeyWalk, ::testing::Range(0, kShares));

}  // namespace
}  // namespace velomar::test::monkey
