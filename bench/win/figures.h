// What every figure of the Wine bench is measured and printed with.
#pragma once

#include <string>
#include <vector>

// Milliseconds from the performance counter, for timing spans in a bench.
double NowMs();
// The CPU time of this process so far, in milliseconds.
double CpuMs();
double Median(std::vector<double> v);

// Prints "name<TAB>measured<TAB>baseline<TAB>ratio".
void Row(const char* name, double measured, double baseline);

// Runs `exe` with command line `line` and waits up to `ms` for its end;
// returns its exit code, or -1 when it did not start or end in time.
long RunToEnd(const std::string& exe, std::string line, unsigned long ms);

// A figure and its base measured in turn, A B A B ...: this machine's speed
// drifts by half within an hour, and the two sides of one pair see the same
// machine, so a row gives the median of the pairs' ratios, not the ratio of
// two medians taken minutes apart.
class Pairs {
 public:
  void Add(double measured, double baseline);
  bool empty() const { return ratios_.empty(); }
  // The row with the medians of both sides and of the ratios, then a note
  // with the ratios' range.
  void Print(const char* name) const;

 private:
  std::vector<double> measured_, baseline_, ratios_;
};
