#include <gtest/gtest.h>

#include <zlib.h>

#include <random>
#include <string>
#include <vector>

#include "core/Compression.h"
#include "core/Exception.h"
#include "core/MemoryStream.h"
#include "core/ReadOnlyMemoryStream.h"

namespace core {
namespace {

// Compressible but not trivial: text-like runs with some noise.
std::vector<std::uint8_t> SampleData(std::size_t size, unsigned seed = 1) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = (random() % 4 == 0) ? std::uint8_t(random()) : std::uint8_t("[SKINCONTROLS]\r\n"[i % 16]);
  return bytes;
}

std::vector<std::uint8_t> InflateAll(TDecompressionStream& inflater) {
  std::vector<std::uint8_t> result;
  std::uint8_t block[4096];
  while (std::size_t got = inflater.Read(block, sizeof block)) result.insert(result.end(), block, block + got);
  return result;
}

std::string Message(const std::exception& error) { return error.what(); }

TEST(Compression, RoundTripAtEveryLevelAndBlockBoundary) {
  for (TCompressionLevel level : {clNone, clFastest, clDefault, clMax}) {
    for (std::size_t size : {0u, 1u, 4095u, 4096u, 4097u, 100000u}) {
      auto data = SampleData(size);
      auto packed = ZCompressBytes(data, level);
      // The result is a plain zlib stream, readable by zlib itself.
      std::vector<std::uint8_t> check(size + 1);
      uLongf checkSize = uLongf(check.size());
      ASSERT_EQ(uncompress(check.data(), &checkSize, packed.data(), uLong(packed.size())), Z_OK);
      ASSERT_EQ(checkSize, size);
      EXPECT_EQ(ZDecompressBytes(packed), data) << "level " << level << " size " << size;
    }
  }
}

TEST(Compression, LevelsGiveTheirZlibHeaders) {
  auto data = SampleData(1000);
  EXPECT_EQ(ZCompressBytes(data, clMax)[1], 0xDA);
  EXPECT_EQ(ZCompressBytes(data, clDefault)[1], 0x9C);
  EXPECT_EQ(ZCompressBytes(data, clFastest)[1], 0x01);
  EXPECT_EQ(ZCompressBytes(data, clNone)[1], 0x01);
  EXPECT_EQ(ZCompressBytes(data, clMax)[0], 0x78);
}

TEST(Compression, ReadsWhatZlibWrote) {
  auto data = SampleData(30000, 7);
  std::vector<std::uint8_t> packed(compressBound(uLong(data.size())));
  uLongf packedSize = uLongf(packed.size());
  ASSERT_EQ(compress2(packed.data(), &packedSize, data.data(), uLong(data.size()), 9), Z_OK);
  packed.resize(packedSize);
  EXPECT_EQ(ZDecompressBytes(packed), data);
}

TEST(CompressionStream, RefusesReadingAndSeeking) {
  TMemoryStream target;
  TCompressionStream compressor(clDefault, target);
  compressor.WriteBuffer("abc", 3);
  EXPECT_EQ(compressor.Seek(0, soFromCurrent), 3) << "the position is the bytes taken in";
  EXPECT_EQ(compressor.Position(), 3);
  char buffer[1];
  try {
    compressor.Read(buffer, 1);
    FAIL();
  } catch (const ECompressionError& error) {
    EXPECT_EQ(Message(error), "Invalid stream operation");
  }
  EXPECT_THROW(compressor.Seek(0, soFromBeginning), ECompressionError);
  EXPECT_THROW(compressor.Seek(1, soFromCurrent), ECompressionError);
  EXPECT_THROW(compressor.Seek(0, soFromEnd), ECompressionError);
  EXPECT_THROW(compressor.Size(), ECompressionError);
  compressor.Finish();
  EXPECT_TRUE(compressor.Finished());
  EXPECT_THROW(compressor.WriteBuffer("x", 1), ECompressionError);
  compressor.Finish();  // a second Finish changes nothing
  EXPECT_EQ(ZDecompressBytes(target.Bytes()).size(), 3u);
}

TEST(CompressionStream, DestructorFinishesTheStream) {
  TMemoryStream target;
  auto data = SampleData(9000);
  {
    TCompressionStream compressor(clMax, target);
    compressor.WriteBuffer(data.data(), data.size());
  }
  EXPECT_EQ(ZDecompressBytes(target.Bytes()), data);
}

TEST(CompressionStream, KeepsItsPlaceInTheTarget) {
  // A header before the block, and someone writing elsewhere in the target
  // between two writes: the compressed bytes still follow each other.
  TMemoryStream target;
  target.WriteBuffer("HEAD", 4);
  auto data = SampleData(300000, 3);
  {
    TCompressionStream compressor(clNone, target);  // no compression: blocks go out as we write
    compressor.WriteBuffer(data.data(), 200000);
    std::int64_t reached = target.Size();
    EXPECT_GT(reached, 4);
    target.SetPosition(0);
    target.WriteBuffer("head", 4);  // moves the target's position back
    compressor.WriteBuffer(data.data() + 200000, 100000);
    compressor.Finish();
  }
  target.Seek(0, soFromEnd);
  target.WriteBuffer("TAIL", 4);
  auto bytes = std::vector<std::uint8_t>(target.Bytes().begin(), target.Bytes().end());
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "head");
  EXPECT_EQ(std::string(bytes.end() - 4, bytes.end()), "TAIL");
  std::vector<std::uint8_t> block(bytes.begin() + 4, bytes.end() - 4);
  EXPECT_EQ(ZDecompressBytes(block), data);
}

TEST(DecompressionStream, KeepsItsPlaceInTheSourceAndStopsAfterTheBlock) {
  auto data = SampleData(20000, 5);
  auto packed = ZCompressBytes(data, clMax);
  TMemoryStream source;
  source.WriteBuffer("PREFIX", 6);
  source.WriteBuffer(packed.data(), packed.size());
  source.WriteBuffer("AFTER", 5);
  source.SetPosition(6);

  TDecompressionStream inflater(source);
  std::vector<std::uint8_t> first(5000);
  inflater.ReadBuffer(first.data(), first.size());
  source.SetPosition(0);  // someone else uses the source meanwhile
  char prefix[6];
  source.ReadBuffer(prefix, 6);
  std::vector<std::uint8_t> rest = InflateAll(inflater);
  first.insert(first.end(), rest.begin(), rest.end());
  EXPECT_EQ(first, data);
  EXPECT_TRUE(inflater.AtEnd());
  // The source is left right after the zlib stream.
  char after[5];
  source.ReadBuffer(after, 5);
  EXPECT_EQ(std::string(after, 5), "AFTER");
  // Past the end: short reads, no error.
  std::uint8_t more[10];
  EXPECT_EQ(inflater.Read(more, 10), 0u);
}

TEST(DecompressionStream, SeeksForwardAndBackToTheStart) {
  auto data = SampleData(100000, 9);
  auto packed = ZCompressBytes(data, clDefault);
  TMemoryStream source;
  source.WriteBuffer("XY", 2);
  source.WriteBuffer(packed.data(), packed.size());
  source.SetPosition(2);
  TDecompressionStream inflater(source);

  EXPECT_EQ(inflater.Seek(10000, soFromCurrent), 10000);
  std::uint8_t byte;
  inflater.ReadBuffer(&byte, 1);
  EXPECT_EQ(byte, data[10000]);
  EXPECT_EQ(inflater.Seek(50001, soFromBeginning), 50001);
  inflater.ReadBuffer(&byte, 1);
  EXPECT_EQ(byte, data[50001]);
  EXPECT_EQ(inflater.Seek(0, soFromCurrent), 50002);
  EXPECT_EQ(inflater.Position(), 50002);
  EXPECT_EQ(inflater.Seek(50002, soFromBeginning), 50002) << "seeking to where it is: no move";

  // Back to the start: the inflater and the source start again, from where
  // the block began (after "XY"), not from the source's first byte.
  EXPECT_EQ(inflater.Seek(0, soFromBeginning), 0);
  EXPECT_EQ(InflateAll(inflater), data);
  EXPECT_EQ(inflater.Seek(0, soFromBeginning), 0);
  EXPECT_EQ(InflateAll(inflater), data) << "a second rewind after reaching the end";

  // Past the end: the discarding read runs out.
  inflater.Seek(0, soFromBeginning);
  EXPECT_THROW(inflater.Seek(100001, soFromCurrent), EReadError);
}

TEST(DecompressionStream, RefusesWritingAndBackwardSeeks) {
  auto packed = ZCompressBytes(SampleData(10000));
  TReadOnlyMemoryStream source(packed);
  TDecompressionStream inflater(source);
  inflater.Seek(100, soFromBeginning);
  auto refused = [&](auto action) {
    try {
      action();
    } catch (const EDecompressionError& error) {
      return Message(error);
    }
    return std::string("no error");
  };
  EXPECT_EQ(refused([&] { inflater.Write("x", 1); }), "Invalid stream operation");
  EXPECT_EQ(refused([&] { inflater.Seek(50, soFromBeginning); }), "Invalid stream operation");
  EXPECT_EQ(refused([&] { inflater.Seek(-1, soFromCurrent); }), "Invalid stream operation");
  EXPECT_EQ(refused([&] { inflater.Seek(0, soFromEnd); }), "Invalid stream operation");
  EXPECT_EQ(refused([&] { inflater.Size(); }), "Invalid stream operation");
  EXPECT_EQ(inflater.Position(), 100);
}

TEST(DecompressionStream, DamagedDataRaisesCompressionError) {
  auto data = SampleData(20000, 11);
  auto packed = ZCompressBytes(data, clMax);
  auto expectDamaged = [](const std::vector<std::uint8_t>& bytes, const char* what) {
    try {
      ZDecompressBytes(bytes);
      ADD_FAILURE() << what << ": no error";
    } catch (const EDecompressionError& error) {
      EXPECT_EQ(Message(error), "compression error") << what;
    }
  };

  auto badHeader = packed;
  badHeader[0] = 0x00;
  expectDamaged(badHeader, "bad header");

  auto badChecksum = packed;
  badChecksum.back() ^= 0xFF;
  expectDamaged(badChecksum, "bad checksum");

  auto badBlock = packed;
  for (std::size_t i = 2; i < 40; ++i) badBlock[i] = 0xFF;
  expectDamaged(badBlock, "bad block");

  expectDamaged({}, "empty source");
  expectDamaged({0x78}, "header cut");
}

TEST(DecompressionStream, TruncatedDataRaisesAndNeverHangs) {
  auto data = SampleData(20000, 13);
  auto packed = ZCompressBytes(data, clMax);
  // Cut at many places, including block boundaries of the reader.
  for (std::size_t cut : {std::size_t(2), std::size_t(10), packed.size() / 2, std::size_t(4096),
                          packed.size() - 4, packed.size() - 1}) {
    if (cut >= packed.size()) continue;
    std::vector<std::uint8_t> truncated(packed.begin(), packed.begin() + std::ptrdiff_t(cut));
    EXPECT_THROW(ZDecompressBytes(truncated), EDecompressionError) << "cut at " << cut;
  }
}

TEST(DecompressionStream, RandomGarbageNeverHangs) {
  std::mt19937 random(42);
  for (int round = 0; round < 200; ++round) {
    std::vector<std::uint8_t> garbage(random() % 300);
    for (auto& byte : garbage) byte = std::uint8_t(random());
    // A valid header half of the time, so that the inflater gets past it.
    if (garbage.size() >= 2 && round % 2 == 0) {
      garbage[0] = 0x78;
      garbage[1] = 0xDA;
    }
    try {
      ZDecompressBytes(garbage);
    } catch (const EDecompressionError&) {
    }
  }
}

}  // namespace
}  // namespace core
