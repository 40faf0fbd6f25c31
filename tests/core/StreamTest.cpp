#include <gtest/gtest.h>

#include <cstdio>
#include <numeric>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/Exception.h"
#include "core/FileStream.h"
#include "core/MemoryStream.h"
#include "core/ReadOnlyMemoryStream.h"
#include "core/StringStream.h"

namespace core {
namespace {

std::string TempPath(const std::string& name) {
  return "/tmp/ostvane-core-" + std::to_string(::getpid()) + "-" + name;
}

std::vector<std::uint8_t> Sequence(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = std::uint8_t(i * 7 + i / 251);
  return bytes;
}

TEST(MemoryStream, GrowsOnWriteAndReadsBack) {
  TMemoryStream stream;
  EXPECT_EQ(stream.Size(), 0);
  auto bytes = Sequence(10000);
  for (std::size_t i = 0; i < bytes.size(); i += 333)
    stream.WriteBuffer(bytes.data() + i, std::min<std::size_t>(333, bytes.size() - i));
  EXPECT_EQ(stream.Size(), 10000);
  EXPECT_EQ(stream.Position(), 10000);
  stream.SetPosition(0);
  std::vector<std::uint8_t> back(10000);
  stream.ReadBuffer(back.data(), back.size());
  EXPECT_EQ(back, bytes);
  std::uint8_t extra;
  EXPECT_EQ(stream.Read(&extra, 1), 0u);
}

TEST(MemoryStream, SeeksFromEveryOrigin) {
  TMemoryStream stream;
  stream.WriteBuffer("0123456789", 10);
  EXPECT_EQ(stream.Seek(3, soFromBeginning), 3);
  EXPECT_EQ(stream.Seek(2, soFromCurrent), 5);
  EXPECT_EQ(stream.Seek(-1, soFromEnd), 9);
  char c;
  stream.ReadBuffer(&c, 1);
  EXPECT_EQ(c, '9');
  EXPECT_EQ(stream.Seek(-4, soFromCurrent), 6);
  EXPECT_THROW(stream.Seek(-1, soFromBeginning), EStreamError);
  EXPECT_THROW(stream.Seek(-11, soFromEnd), EStreamError);
  EXPECT_EQ(stream.Position(), 6) << "a refused seek does not move";
}

TEST(MemoryStream, WritingPastTheEndFillsTheGapWithZeros) {
  TMemoryStream stream;
  stream.WriteBuffer("ab", 2);
  stream.Seek(4, soFromEnd);
  EXPECT_EQ(stream.Size(), 2) << "seeking alone does not grow";
  char buffer[2];
  EXPECT_EQ(stream.Read(buffer, 2), 0u);
  stream.WriteBuffer("z", 1);
  ASSERT_EQ(stream.Size(), 7);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.Memory()), 7), std::string("ab\0\0\0\0z", 7));
}

TEST(MemoryStream, SetSizeClearAndTake) {
  TMemoryStream stream;
  stream.WriteBuffer("abcdef", 6);
  stream.SetSize(3);
  EXPECT_EQ(stream.Size(), 3);
  EXPECT_EQ(stream.Position(), 6);
  char buffer[4];
  EXPECT_EQ(stream.Read(buffer, 4), 0u);
  stream.SetPosition(0);
  EXPECT_EQ(stream.Read(buffer, 4), 3u);
  stream.SetSize(5);
  EXPECT_EQ(stream.Bytes()[4], 0);
  EXPECT_THROW(stream.SetSize(-1), EStreamError);
  auto taken = stream.TakeBytes();
  EXPECT_EQ(taken.size(), 5u);
  EXPECT_EQ(stream.Size(), 0);
  stream.WriteBuffer("x", 1);
  stream.Clear();
  EXPECT_EQ(stream.Size(), 0);
  EXPECT_EQ(stream.Position(), 0);
}

TEST(MemoryStream, LoadAndSaveThroughStreamsAndFiles) {
  auto bytes = Sequence(5000);
  TMemoryStream source{std::vector<std::uint8_t>(bytes)};
  source.SetPosition(1234);
  TMemoryStream copy;
  copy.LoadFromStream(source);
  EXPECT_EQ(std::vector<std::uint8_t>(copy.Bytes().begin(), copy.Bytes().end()), bytes)
      << "LoadFromStream takes the whole source";
  EXPECT_EQ(copy.Position(), 0);

  std::string path = TempPath("memory.bin");
  copy.SaveToFile(path);
  TMemoryStream loaded;
  loaded.LoadFromFile(path);
  EXPECT_EQ(std::vector<std::uint8_t>(loaded.Bytes().begin(), loaded.Bytes().end()), bytes);
  std::remove(path.c_str());
  EXPECT_THROW(loaded.LoadFromFile(path), EFOpenError);
}

TEST(Stream, ReadBufferAndWriteBufferInsistOnEveryByte) {
  TMemoryStream stream;
  stream.WriteBuffer("abc", 3);
  stream.SetPosition(1);
  char buffer[3];
  try {
    stream.ReadBuffer(buffer, 3);
    FAIL();
  } catch (const EReadError& error) {
    EXPECT_STREQ(error.what(), "Stream read error");
  }
  std::uint8_t fixed[4] = {1, 2, 3, 4};
  TReadOnlyMemoryStream readOnly(fixed);
  try {
    readOnly.WriteBuffer("x", 1);
    FAIL();
  } catch (const EWriteError& error) {
    EXPECT_STREQ(error.what(), "Stream write error");
  }
  EXPECT_EQ(fixed[0], 1);
}

TEST(Stream, CopyFromPartOrWhole) {
  TMemoryStream source;
  source.WriteBuffer("0123456789", 10);
  source.SetPosition(4);
  TMemoryStream target;
  EXPECT_EQ(target.CopyFrom(source, 3), 3);
  EXPECT_EQ(source.Position(), 7);
  EXPECT_EQ(target.CopyFrom(source, 0), 10) << "0 copies the whole source from its start";
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(target.Memory()), 13), "4560123456789");
  source.SetPosition(8);
  EXPECT_THROW(target.CopyFrom(source, 5), EReadError);
}

TEST(ReadOnlyMemoryStream, ReadsAndSeeksInsideTheSpan) {
  auto bytes = Sequence(100);
  TReadOnlyMemoryStream stream(std::span<const std::uint8_t>(bytes).subspan(10, 20));
  EXPECT_EQ(stream.Size(), 20);
  std::uint8_t first;
  stream.ReadBuffer(&first, 1);
  EXPECT_EQ(first, bytes[10]);
  stream.Seek(-1, soFromEnd);
  std::uint8_t last[2];
  EXPECT_EQ(stream.Read(last, 2), 1u);
  EXPECT_EQ(last[0], bytes[29]);
  EXPECT_THROW(stream.SetSize(5), EStreamError);
}

TEST(StringStream, HoldsText) {
  TStringStream stream("hello");
  stream.Seek(0, soFromEnd);
  stream.WriteBuffer(" world", 6);
  EXPECT_EQ(stream.DataString(), "hello world");
  stream.SetPosition(6);
  char buffer[5];
  stream.ReadBuffer(buffer, 5);
  EXPECT_EQ(std::string(buffer, 5), "world");
  stream.SetSize(5);
  EXPECT_EQ(stream.DataString(), "hello");
}

TEST(FileStream, CreateWriteReopenRead) {
  std::string path = TempPath("file.bin");
  auto bytes = Sequence(70000);
  {
    TFileStream file(path, fmCreate);
    file.WriteBuffer(bytes.data(), bytes.size());
    EXPECT_EQ(file.Size(), 70000);
  }
  {
    TFileStream file(path, fmOpenRead);
    EXPECT_EQ(file.Size(), 70000);
    file.Seek(-10, soFromEnd);
    std::uint8_t tail[10];
    file.ReadBuffer(tail, 10);
    EXPECT_TRUE(std::equal(tail, tail + 10, bytes.end() - 10));
    EXPECT_EQ(file.Read(tail, 10), 0u);
    EXPECT_EQ(file.Write("x", 1), 0u) << "a read-only file takes no bytes";
  }
  {
    TFileStream file(path, fmOpenWrite);
    EXPECT_EQ(file.Size(), 70000) << "opening for writing keeps the contents";
    file.WriteBuffer("AB", 2);
    file.SetSize(2);
  }
  {
    TFileStream file(path, fmOpenReadWrite);
    char text[3] = {};
    EXPECT_EQ(file.Read(text, 3), 2u);
    EXPECT_STREQ(text, "AB");
  }
  {
    TFileStream file(path, fmCreate);
    EXPECT_EQ(file.Size(), 0) << "creating truncates";
  }
  std::remove(path.c_str());
}

TEST(FileStream, OpenAndCreateErrorsNameFileAndReason) {
  try {
    TFileStream file("/nonexistent-ostvane-folder/skin.bin", fmOpenRead);
    FAIL();
  } catch (const EFOpenError& error) {
    EXPECT_STREQ(error.what(), "Cannot open file \"/nonexistent-ostvane-folder/skin.bin\". No such file or directory");
  }
  try {
    TFileStream file("/nonexistent-ostvane-folder/skin.bin", fmCreate);
    FAIL();
  } catch (const EFCreateError& error) {
    EXPECT_STREQ(error.what(),
                 "Cannot create file \"/nonexistent-ostvane-folder/skin.bin\". No such file or directory");
  }
  EXPECT_THROW(TFileStream("/tmp", fmOpenRead), EFOpenError);
  // EFCreateError and EFOpenError are stream errors to a generic handler.
  EXPECT_THROW(TFileStream("/nonexistent-ostvane-folder/x", fmOpenReadWrite), EStreamError);
}

}  // namespace
}  // namespace core
