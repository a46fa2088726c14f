// Code page 932 through glibc's iconv, for the native builds.
#include <iconv.h>

#include <cerrno>

#include "lyrics/code_page.h"

namespace velomar {

namespace {

bool Iconv(const char* to, const char* from, const std::string& in, std::string& out) {
  out.clear();
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
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
  iconv_close(cd);
  return ok;
}

}  // namespace

bool PlatformDecodeCp932(const std::string& sjis, std::string& utf8) {
  return Iconv("UTF-8", "CP932", sjis, utf8);
}

bool PlatformEncodeCp932(const std::string& utf8, std::string& sjis) {
  return Iconv("CP932", "UTF-8", utf8, sjis);
}

}  // namespace velomar
