#include "tests/win/hostile_corpus.h"

#include <windows.h>

#include <cstdint>
#include <functional>

#include "tests/win/media.h"

namespace velomar::test {
namespace {

// Streams a file out in 1 MB pieces so that a 50 MB file never sits in the
// test's memory, where it would blur the program's memory figures.
class FileWriter {
 public:
  explicit FileWriter(const std::string& path)
      : file_(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {
    ok_ = file_ != INVALID_HANDLE_VALUE;
    buffer_.reserve(kPiece);
  }
  ~FileWriter() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  }
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;

  FileWriter& operator<<(const std::string& bytes) {
    buffer_ += bytes;
    if (buffer_.size() >= kPiece) Drain();
    return *this;
  }
  FileWriter& operator<<(char byte) {
    buffer_.push_back(byte);
    if (buffer_.size() >= kPiece) Drain();
    return *this;
  }
  bool Finish() {
    Drain();
    return ok_;
  }

 private:
  static constexpr std::size_t kPiece = 1 << 20;
  void Drain() {
    DWORD written = 0;
    if (ok_ && !buffer_.empty()) {
      ok_ =
          WriteFile(file_, buffer_.data(), static_cast<DWORD>(buffer_.size()), &written, nullptr) &&
          written == buffer_.size();
    }
    buffer_.clear();
  }
  HANDLE file_;
  std::string buffer_;
  bool ok_ = false;
};

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }
std::string Line(const std::string& number, const std::string& phrase) {
  return number + "," + phrase + "\r\n";
}

// A fixed seed: the same noise on every run, so a failure can be replayed.
std::uint64_t NextNoise(std::uint64_t& state) {
  state ^= state << 13;
  state ^= state >> 7;
  state ^= state << 17;
  return state;
}

void NulBytes(FileWriter& out) {
  // Hand-made records first (the test knows what they must give), then
  // seeded records with NULs in the number, the comma or the phrase.
  static const char kHand[] = "5,ab\0cd\r\n\0\0,x\r\n3\0,4\r\n7,\0\r\n8,y\r\n";
  out << std::string(kHand, sizeof(kHand) - 1);
  std::uint64_t state = 0x5EEDBEEF;
  for (int i = 0; i < 800; ++i) {
    std::string line = Line(std::to_string(i * 3), "phrase" + std::to_string(i));
    line[NextNoise(state) % (line.size() - 2)] = '\0';
    out << line;
  }
}

void FourHundredDigits(FileWriter& out) {
  out << Line("1" + Repeat('0', 399), "big");
  out << Line(Repeat('0', 399) + "7", "seven");
  out << Line("-" + Repeat('0', 399) + "8", "minus");
  out << Line("12." + Repeat('9', 400), "frac");
  out << Line("-" + Repeat('9', 400), "negbig");
  out << Line("+" + Repeat('0', 390) + "2147483647", "max");
  out << Line("-" + Repeat('0', 390) + "2147483647", "min");
  out << Line("5", Repeat('4', 400));
}

void HexOctal(FileWriter& out) {
  out << Line("&H" + Repeat('0', 38) + "FF", "hex");
  out << Line("&H" + Repeat('F', 40), "hexbig");
  out << Line("&h" + Repeat('0', 32) + "7fffffff", "hexmax");
  out << Line("&H" + Repeat('0', 32) + "80000000", "hexover");
  out << Line("&O" + Repeat('0', 37) + "777", "oct");
  out << Line("&o" + Repeat('7', 40), "octbig");
  out << Line("&O" + Repeat('0', 39) + "8", "octbad");
}

void EveryLeadByte(FileWriter& out) {
  // 0x5C after a lead byte is the trail byte that trips bytewise code.
  for (int b = 0; b < 256; ++b) {
    out << Line(std::to_string(b), std::string(1, static_cast<char>(b)) + "\x5Cz");
  }
}

struct Recipe {
  const char* name;
  std::function<void(FileWriter&)> write;
};

const std::vector<Recipe>& Recipes() {
  static const std::vector<Recipe> recipes = {
      {"Empty", [](FileWriter&) {}},
      {"OnlyCrs", [](FileWriter& out) { out << Repeat('\r', 10000); }},
      {"OnlyCommas", [](FileWriter& out) { out << Repeat(',', 10000); }},
      {"NulBytes", NulBytes},
      {"FiftyMegabyteLine",
       [](FileWriter& out) {
         out << "7,";
         for (std::size_t i = 0; i < kLongLineBytes; ++i) out << LongLineByte(i);
       }},
      {"FiftyMegabyteNumberField",
       [](FileWriter& out) {
         // No comma and no line end: all of it is one number field.
         out << "9";
         for (std::size_t i = 0; i < kLongLineBytes; i += 4096) out << Repeat('x', 4096);
       }},
      {"MillionLines",
       [](FileWriter& out) {
         for (int i = 0; i < 1000000; ++i) out << Line(std::to_string(i), "p" + std::to_string(i));
       }},
      {"BinaryNoise",
       [](FileWriter& out) {
         std::uint64_t state = 0x0123456789ABCDEF;
         for (int i = 0; i < (1 << 20); ++i) out << static_cast<char>(NextNoise(state) >> 56);
       }},
      {"FourHundredDigits", FourHundredDigits},
      {"HexOctalFortyDigits", HexOctal},
      {"EveryLeadByte", EveryLeadByte},
      {"LeadByteAtEnd", [](FileWriter& out) { out << "1,\x82\xa0\r\n2,\x83"; }},
      {"LeadByteAndCrAtEnd", [](FileWriter& out) { out << "4,\x82\r"; }},
  };
  return recipes;
}

}  // namespace

const std::vector<std::string>& HostileNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all;
    for (const Recipe& recipe : Recipes()) all.push_back(recipe.name);
    return all;
  }();
  return names;
}

char LongLineByte(std::size_t i) {
  // Shift-JIS pairs (one with a 0x5C trail), ASCII, blanks and commas; no
  // byte that could end the line.
  static const char kUnit[] = "\x82\xa0 lyric, \x95\x5c\t\"q\"";
  return kUnit[i % (sizeof(kUnit) - 1)];
}

std::string MakeHostileFile(const std::string& name) {
  for (const Recipe& recipe : Recipes()) {
    if (name != recipe.name) continue;
    const std::string path = ScratchDir() + "\\hostile-" + name + ".tolvenkari";
    FileWriter out(path);
    recipe.write(out);
    return out.Finish() ? path : std::string();
  }
  return std::string();
}

}  // namespace velomar::test
