#include "lyrics/settings_text.h"

namespace velomar {

namespace {

std::string Trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

void ForEachSetting(
    const std::string& text,
    const std::function<void(const std::string& key, const std::string& value)>& each) {
  std::size_t from = 0;
  while (from < text.size()) {
    std::size_t to = text.find('\n', from);
    if (to == std::string::npos) to = text.size();
    const std::string line = text.substr(from, to - from);
    from = to + 1;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    each(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
  }
}

}  // namespace velomar
