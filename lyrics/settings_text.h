// The program's settings files as "key=value" lines: read line by line,
// whatever else the file holds.
#pragma once

#include <functional>
#include <string>

namespace velomar {

// Calls `each` for every line that holds a "=", with the key before the
// first "=" and the value after it, both without the blanks (spaces, tabs,
// CR) at their ends. Lines without one (a section line, blank lines,
// garbage) are passed over.
void ForEachSetting(
    const std::string& text,
    const std::function<void(const std::string& key, const std::string& value)>& each);

}  // namespace velomar
