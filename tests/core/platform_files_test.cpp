// The platform's file layer: buffered reads and writes across buffer
// boundaries, and the cases where opening must fail.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "lyrics/byte_stream.h"
#include "test_support.h"

namespace velomar {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return bytes;
}

TEST(PlatformFiles, ReadsEveryByteAcrossBuffers) {
  TempDir dir;
  const std::string bytes = Pattern(200003);
  WriteBytes(dir.File("big"), bytes);
  auto source = PlatformFileSystem().OpenRead(dir.File("big"));
  ASSERT_NE(source, nullptr);
  std::string got;
  for (int b = source->Next(); b >= 0; b = source->Next()) got.push_back(static_cast<char>(b));
  EXPECT_EQ(got, bytes);
  EXPECT_EQ(source->Next(), -1);  // the end stays the end
}

TEST(PlatformFiles, WritesEveryByteInAnyChunking) {
  TempDir dir;
  const std::string bytes = Pattern(300000);
  auto sink = PlatformFileSystem().Create(dir.File("out"));
  ASSERT_NE(sink, nullptr);
  // Small, buffer-sized and larger-than-buffer writes in turn.
  const std::size_t chunks[] = {1, 13, 65536, 2, 70000, 65535, 9};
  std::size_t pos = 0;
  for (int i = 0; pos < bytes.size(); ++i) {
    const std::size_t n = std::min(chunks[i % 7], bytes.size() - pos);
    ASSERT_TRUE(sink->Write(bytes.data() + pos, n));
    pos += n;
  }
  ASSERT_TRUE(sink->Close());
  sink.reset();
  EXPECT_EQ(ReadBytes(dir.File("out")), bytes);
}

TEST(PlatformFiles, OpeningFailsCleanly) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "sub");
  LyricFileSystem& files = PlatformFileSystem();
  EXPECT_EQ(files.OpenRead(""), nullptr);
  EXPECT_EQ(files.OpenRead(dir.File("absent")), nullptr);
  EXPECT_EQ(files.OpenRead(dir.File("sub")), nullptr);
  EXPECT_EQ(files.Create(dir.File("absent/x")), nullptr);
  EXPECT_EQ(files.Create(dir.File("sub")), nullptr);
}

TEST(PlatformFiles, ReplaceAndRemove) {
  TempDir dir;
  LyricFileSystem& files = PlatformFileSystem();
  WriteBytes(dir.File("new"), "new bytes");
  WriteBytes(dir.File("target"), "old bytes, longer");
  ASSERT_TRUE(files.Replace(dir.File("new"), dir.File("target")));
  EXPECT_EQ(ReadBytes(dir.File("target")), "new bytes");
  EXPECT_FALSE(std::filesystem::exists(dir.File("new")));
  EXPECT_FALSE(files.Replace(dir.File("absent"), dir.File("target")));
  EXPECT_EQ(ReadBytes(dir.File("target")), "new bytes");
  files.Remove(dir.File("target"));
  EXPECT_FALSE(std::filesystem::exists(dir.File("target")));
}

}  // namespace
}  // namespace velomar
