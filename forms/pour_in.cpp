#include "forms/pour_in.h"

namespace velomar {
namespace {

std::string WithoutLineBreaks(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c != '\r' && c != '\n') out.push_back(c);
  }
  return out;
}

}  // namespace

PourInSplit SplitPourIn(const std::string& text) {
  const std::string::size_type mark = text.find('#');
  if (mark == std::string::npos) return PourInSplit{WithoutLineBreaks(text), std::string()};
  return PourInSplit{WithoutLineBreaks(text.substr(0, mark)), text.substr(mark + 1)};
}

}  // namespace velomar
