// Lyric files no user should ever hand the program, written at test time
// into the test's own scratch folder (the big ones would bloat the sources).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace velomar::test {

// Names of the corpus files, also usable as test names.
const std::vector<std::string>& HostileNames();

// Writes the named file into the scratch folder and returns its Windows
// path ("" when it could not be written).
std::string MakeHostileFile(const std::string& name);

// The 50 MB line: "7," followed by kLongLineBytes of LongLineByte(i).
constexpr std::size_t kLongLineBytes = std::size_t{50} << 20;
char LongLineByte(std::size_t i);

}  // namespace velomar::test
