// Code page 932 through glibc's iconv, for the native builds.
#include <iconv.h>

#include <cerrno>

#include "lyrics/code_page.h"

namespace velomar {

namespace {

// One descriptor a direction, opened at first use: the lyrics convert every
// phrase of a file they load, and opening one costs more than converting.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (Valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

bool Iconv(const Converter& converter, const std::string& in, std::string& out) {
  out.clear();
  if (!converter.Valid()) return false;
  iconv_t cd = converter.get();
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // a fresh start
  char* inPtr = const_cast<char*>(in.data());
  std::size_t inLeft = in.size();
  char buffer[4096];
  bool ok = true;
  // Both encodings are stateless: nothing is left to flush at the end.
  while (ok && inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    if (r == static_cast<std::size_t>(-1)) {
      // E2BIG only means the buffer is full; EILSEQ and EINVAL mean a
      // character without a counterpart.
      ok = errno == E2BIG;
    } else if (r != 0) {
      ok = false;  // characters converted irreversibly
    }
  }
  return ok;
}

}  // namespace

bool PlatformDecodeCp932(const std::string& sjis, std::string& utf8) {
  thread_local const Converter decoder("UTF-8", "CP932");
  return Iconv(decoder, sjis, utf8);
}

bool PlatformEncodeCp932(const std::string& utf8, std::string& sjis) {
  thread_local const Converter encoder("CP932", "UTF-8");
  return Iconv(encoder, utf8, sjis);
}

}  // namespace velomar
