#include <gtest/gtest.h>

#include <cstring>

#include "SkinContainerFixtures.h"
#include "core/Compression.h"
#include "core/Component.h"
#include "core/Exception.h"
#include "core/MemoryStream.h"
#include "gfx/BmpCodec.h"
#include "skin/data/SkinData.h"

using namespace skintest;
using skin::FramePicture;
using skin::SkinContainer;

namespace {

void AppendInt32(Bytes& out, std::int32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(std::uint8_t(std::uint32_t(value) >> shift));
}

void Append(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }

// A container assembled byte by byte, so that the reader is checked against
// the format rather than against our own writer.
struct HandBuilt {
  Bytes Data;
  HandBuilt& Int32(std::int32_t value) { AppendInt32(Data, value); return *this; }
  HandBuilt& Byte(std::uint8_t value) { Data.push_back(value); return *this; }
  HandBuilt& Picture(const Bytes& bmp) { Append(Data, bmp); return *this; }
  HandBuilt& Text(const std::string& text) { Append(Data, ToBytes(text)); return *this; }
};

const Bytes& Bmp(int index) {
  static const Bytes pictures[] = {MakeBmp(5, 4, 8, 1), MakeBmp(6, 3, 1, 2), MakeBmp(7, 2, 24, 3),
                                   MakeBmp(3, 3, 4, 4), MakeBmp(2, 5, 8, 5)};
  return pictures[index];
}

const std::string Description = "[VERSION]\r\nskinname=x\r\n";

}  // namespace

// --- the container ---------------------------------------------------------

TEST(SkinContainer, EachVersionHoldsItsOwnFrameEntries) {
  struct Case {
    std::int32_t Version;
    std::vector<FramePicture> Entries;
  };
  const Case cases[] = {
      {0, {FramePicture::Picture, FramePicture::Mask}},
      {1, {FramePicture::Picture, FramePicture::Mask, FramePicture::RollUpPicture, FramePicture::RollUpMask}},
      {2, {FramePicture::Picture, FramePicture::InactivePicture, FramePicture::Mask,
           FramePicture::RollUpPicture, FramePicture::RollUpMask}},
      {3, {FramePicture::Picture, FramePicture::InactivePicture, FramePicture::Mask}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Version);
    HandBuilt data;
    data.Int32(c.Version);
    for (std::size_t i = 0; i < c.Entries.size(); ++i) data.Byte(0).Picture(Bmp(int(i)));
    data.Int32(1).Picture(Bmp(4)).Text(Description);

    const SkinContainer container = skin::ReadSkinContainer(data.Data);
    EXPECT_EQ(container.Version, c.Version);
    ASSERT_TRUE(container.IsSupported());
    for (std::size_t p = 0; p < skin::FramePictureCount; ++p) {
      const auto picture = FramePicture(p);
      const auto found = std::find(c.Entries.begin(), c.Entries.end(), picture);
      const auto& entry = container.FrameEntry(picture);
      if (found == c.Entries.end()) {
        EXPECT_TRUE(entry.IsEmpty()) << p;
        EXPECT_TRUE(entry.Bitmap.IsEmpty()) << p;
        continue;
      }
      const Bytes& expected = Bmp(int(found - c.Entries.begin()));
      EXPECT_EQ(entry.Bmp, expected) << p;
      EXPECT_TRUE(entry.Bitmap.SamePixels(gfx::ReadBmp(expected).Picture)) << p;
    }
    ASSERT_EQ(container.Active.size(), 1u);
    EXPECT_EQ(container.Active[0].Bitmap.Width(), 2);
    EXPECT_EQ(container.Active[0].Bitmap.SourceBits(), 8);
    EXPECT_EQ(container.Description, Description);
    EXPECT_EQ(container.DescriptionOffset, data.Data.size() - Description.size());
    EXPECT_EQ(container.TotalBytes, data.Data.size());

    // The writer lays out the same bytes.
    EXPECT_EQ(skin::WriteSkinContainer(container), data.Data);
  }
}

TEST(SkinContainer, PictureDepthsAreKept) {
  const SkinContainer container = skin::ReadSkinContainer(TestContainerBytes());
  EXPECT_EQ(container.FrameEntry(FramePicture::Picture).Bitmap.SourceBits(), 8);
  EXPECT_EQ(container.FrameEntry(FramePicture::Mask).Bitmap.SourceBits(), 1);
  ASSERT_EQ(container.Active.size(), 2u);
  EXPECT_EQ(container.Active[0].Bitmap.SourceBits(), 24);
  EXPECT_EQ(container.Active[1].Bitmap.SourceBits(), 4);
  EXPECT_EQ(container.Active[1].Bitmap.Dimensions(), (gfx::Size{9, 7}));
}

TEST(SkinContainer, VersionFourAndAboveStopsAfterTheVersion) {
  for (std::int32_t version : {4, 5, 0x7FFFFFFF}) {
    HandBuilt data;
    data.Int32(version).Byte(0).Picture(Bmp(0)).Int32(0).Text(Description);
    const SkinContainer container = skin::ReadSkinContainer(data.Data);
    EXPECT_EQ(container.Version, version);
    EXPECT_FALSE(container.IsSupported());
    EXPECT_TRUE(container.FrameEntry(FramePicture::Picture).IsEmpty());
    EXPECT_TRUE(container.Active.empty());
    EXPECT_TRUE(container.Description.empty());
  }
  // Nothing but the version is needed to refuse it.
  EXPECT_FALSE(skin::ReadSkinContainer(HandBuilt().Int32(4).Data).IsSupported());
}

TEST(SkinContainer, NegativeVersionReadsLikeVersionZero) {
  HandBuilt data;
  data.Int32(-3).Byte(0).Picture(Bmp(0)).Byte(0).Picture(Bmp(1)).Int32(0).Text(Description);
  const SkinContainer container = skin::ReadSkinContainer(data.Data);
  EXPECT_EQ(container.Version, -3);
  EXPECT_EQ(container.FrameEntry(FramePicture::Mask).Bmp, Bmp(1));
  EXPECT_EQ(container.Description, Description);
}

TEST(SkinContainer, AnyNonZeroFlagMeansNoPictureAndTheNextEntryFollows) {
  HandBuilt data;
  data.Int32(2).Byte(7).Byte(0xFF).Byte(0).Picture(Bmp(1)).Byte(1).Byte(2).Int32(0).Text(Description);
  const SkinContainer container = skin::ReadSkinContainer(data.Data);
  EXPECT_TRUE(container.FrameEntry(FramePicture::Picture).IsEmpty());
  EXPECT_TRUE(container.FrameEntry(FramePicture::InactivePicture).IsEmpty());
  EXPECT_EQ(container.FrameEntry(FramePicture::Mask).Bmp, Bmp(1));
  EXPECT_TRUE(container.FrameEntry(FramePicture::RollUpPicture).IsEmpty());
  EXPECT_EQ(container.AbsentFlags[0], 7);
  EXPECT_EQ(container.AbsentFlags[1], 0xFF);
  EXPECT_EQ(container.AbsentFlags[4], 2);
  EXPECT_EQ(container.Description, Description);
  // Written again, the flags come out as they were read.
  EXPECT_EQ(skin::WriteSkinContainer(container), data.Data);
}

TEST(SkinContainer, NoActivePicturesPutsTheDescriptionRightAfterTheCount) {
  HandBuilt data;
  data.Int32(2).Byte(1).Byte(1).Byte(1).Byte(1).Byte(1).Int32(0).Text(Description);
  const SkinContainer container = skin::ReadSkinContainer(data.Data);
  EXPECT_TRUE(container.Active.empty());
  EXPECT_EQ(container.DescriptionOffset, 4u + 5u + 4u);
  EXPECT_EQ(container.Description, Description);

  // A negative count holds no pictures either.
  HandBuilt negative;
  negative.Int32(0).Byte(1).Byte(1).Int32(-5).Text(Description);
  EXPECT_EQ(skin::ReadSkinContainer(negative.Data).Description, Description);
}

TEST(SkinContainer, EmptyDescriptionIsAllowed) {
  HandBuilt data;
  data.Int32(3).Byte(1).Byte(1).Byte(1).Int32(0);
  const SkinContainer container = skin::ReadSkinContainer(data.Data);
  EXPECT_TRUE(container.Description.empty());
  EXPECT_EQ(container.DescriptionOffset, data.Data.size());
}

TEST(SkinContainer, TruncatedContainerNamesWhatIsMissing) {
  const Bytes full = TestContainerBytes();
  const SkinContainer complete = skin::ReadSkinContainer(full);
  // Every cut before the description fails cleanly; every cut inside it
  // just shortens the text.
  for (std::size_t size = 0; size < full.size(); ++size) {
    const std::span<const std::uint8_t> part(full.data(), size);
    if (size >= complete.DescriptionOffset) {
      EXPECT_EQ(skin::ReadSkinContainer(part).Description.size(), size - complete.DescriptionOffset);
      continue;
    }
    EXPECT_THROW(skin::ReadSkinContainer(part), core::EReadError) << size;
  }

  auto message = [](const Bytes& data) {
    try {
      skin::ReadSkinContainer(data);
    } catch (const core::EReadError& error) {
      return std::string(error.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(message(HandBuilt().Byte(2).Data), "skin container ends inside the version");
  EXPECT_EQ(message(HandBuilt().Int32(2).Data), "skin container ends inside the \"picture\" entry");
  EXPECT_EQ(message(HandBuilt().Int32(0).Byte(1).Byte(1).Byte(0).Data),
            "skin container ends inside the active picture count");
  EXPECT_EQ(message(HandBuilt().Int32(0).Byte(1).Byte(1).Int32(3).Picture(Bmp(0)).Data),
            "skin container ends inside active picture 1");
}

TEST(SkinContainer, DamagedPicturesAreRefusedWithTheirPlace) {
  auto message = [](const Bytes& data) {
    try {
      skin::ReadSkinContainer(data);
    } catch (const core::EReadError& error) {
      return std::string(error.what());
    }
    return std::string("no error");
  };
  Bytes notBmp = Bmp(0);
  notBmp[0] = 'X';
  EXPECT_EQ(message(HandBuilt().Int32(0).Byte(0).Picture(notBmp).Data),
            "the \"picture\" entry is not a BMP file");

  // A total size past the end of the container.
  Bytes tooLong = Bmp(0);
  tooLong[2] = 0xFF, tooLong[3] = 0xFF, tooLong[4] = 0xFF;
  EXPECT_NE(message(HandBuilt().Int32(0).Byte(1).Byte(0).Picture(tooLong).Int32(0).Data)
                .find("the \"mask\" entry: BMP total size"),
            std::string::npos);

  // A total size shorter than the picture it holds: the BMP reader's word.
  Bytes tooShort = Bmp(0);
  tooShort[2] = 40;
  tooShort[3] = tooShort[4] = tooShort[5] = 0;
  EXPECT_EQ(message(HandBuilt().Int32(0).Byte(1).Byte(1).Int32(1).Picture(tooShort).Data).rfind("active picture 0: ", 0),
            0u);

  // A picture whose declared size passes the pixel budget is refused before
  // it is decoded; only its header is there.
  HandBuilt huge;
  Bytes header = Bmp(1);
  const std::int32_t side = 9000;
  std::memcpy(header.data() + 18, &side, 4);
  std::memcpy(header.data() + 22, &side, 4);
  huge.Int32(0).Byte(1).Byte(1).Int32(1).Picture(header);
  EXPECT_NE(message(huge.Data).find("pixels"), std::string::npos);
}

TEST(SkinContainer, DelimitingWithoutDecodingKeepsTheBytes) {
  const SkinContainer container = skin::ReadSkinContainer(TestContainerBytes(), skin::DecodePictures::No);
  EXPECT_EQ(container.Active[0].Bmp, MakeTestPictures().Active0);
  EXPECT_TRUE(container.Active[0].Bitmap.IsEmpty());
}

TEST(SkinContainer, WriterRefusesAnActivePictureWithoutData) {
  SkinContainer container;
  container.Active.emplace_back();
  EXPECT_THROW(skin::WriteSkinContainer(container), core::EWriteError);
}

// --- the compressed skin file ----------------------------------------------

TEST(CompressedSkinFile, HeaderThenBlock) {
  const Bytes block = Compress(TestContainerBytes());
  const Bytes file = skin::MakeCompressedSkinFile({2, block});
  ASSERT_EQ(file.size(), block.size() + 8);
  EXPECT_EQ(file[0], 2);
  std::int32_t length = 0;
  std::memcpy(&length, file.data() + 4, 4);
  EXPECT_EQ(std::size_t(length), block.size());

  const skin::CompressedSkinFile parsed = skin::ParseCompressedSkinFile(file);
  EXPECT_EQ(parsed.Version, 2);
  EXPECT_EQ(parsed.Block, block);
}

TEST(CompressedSkinFile, VersionAboveThreeIsIgnoredAndShortFilesAreRefused) {
  Bytes file = skin::MakeCompressedSkinFile({4, Compress(TestContainerBytes())});
  const skin::CompressedSkinFile parsed = skin::ParseCompressedSkinFile(file);
  EXPECT_EQ(parsed.Version, 4);
  EXPECT_TRUE(parsed.Block.empty());

  file = skin::MakeCompressedSkinFile({3, Compress(TestContainerBytes())});
  file.pop_back();
  EXPECT_THROW(skin::ParseCompressedSkinFile(file), core::EReadError);
  EXPECT_THROW(skin::ParseCompressedSkinFile(Bytes{1, 0, 0}), core::EReadError);
  EXPECT_THROW(skin::ParseCompressedSkinFile(Bytes{1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}), core::EReadError);
  // Trailing bytes after the block are not part of it.
  file = skin::MakeCompressedSkinFile({1, Bytes{1, 2, 3}});
  file.push_back(9);
  EXPECT_EQ(skin::ParseCompressedSkinFile(file).Block, (Bytes{1, 2, 3}));
}

// --- the stored skin component ---------------------------------------------

class StoredSkinTest : public ::testing::Test {
 protected:
  core::TComponentPtr<skin::TskCompressedStoredSkin> Stored =
      core::CreateUnowned<skin::TskCompressedStoredSkin>();
  TempDir Dir;
};

TEST_F(StoredSkinTest, StartsEmptyAndInflatesWhatItHolds) {
  EXPECT_TRUE(Stored->IsEmpty());
  const Bytes container = TestContainerBytes();
  Stored->SetCompressedData(Compress(container));
  EXPECT_FALSE(Stored->IsEmpty());

  // Twice in a row: each inflation starts from the block's beginning.
  for (int i = 0; i < 2; ++i) {
    core::TMemoryStream target;
    Stored->DecompressToStream(target);
    EXPECT_EQ(ToString(Bytes(target.Bytes().begin(), target.Bytes().end())), ToString(container));
  }
}

TEST_F(StoredSkinTest, DamagedBlockRaisesCompressionError) {
  Bytes block = Compress(TestContainerBytes());
  block[block.size() / 2] ^= 0x55;
  Stored->SetCompressedData(block);
  core::TMemoryStream target;
  try {
    Stored->DecompressToStream(target);
    FAIL() << "no error";
  } catch (const core::EDecompressionError& error) {
    EXPECT_STREQ(error.what(), "compression error");
  }

  // Cut short.
  block = Compress(TestContainerBytes());
  block.resize(block.size() - 10);
  Stored->SetCompressedData(block);
  EXPECT_THROW(Stored->DecompressToStream(target), core::EDecompressionError);
}

TEST_F(StoredSkinTest, InflatingStopsAtTheContainerLimit) {
  const Bytes zeros(skin::MaxContainerBytes + 1, 0);
  Stored->SetCompressedData(core::ZCompressBytes(zeros, core::clFastest));
  core::TMemoryStream target;
  EXPECT_THROW(Stored->DecompressToStream(target), core::EReadError);
  EXPECT_LE(std::size_t(target.Size()), skin::MaxContainerBytes);
}

TEST_F(StoredSkinTest, CompressedDataPropertyIsTheBlockByteForByte) {
  const Bytes block = Compress(TestContainerBytes());
  core::TMemoryStream source(block);
  Stored->ReadCompressedData(source);
  EXPECT_EQ(Bytes(Stored->CompressedData().begin(), Stored->CompressedData().end()), block);

  core::TMemoryStream written;
  Stored->WriteCompressedData(written);
  EXPECT_EQ(Bytes(written.Bytes().begin(), written.Bytes().end()), block);

  // Reading an empty property empties the block.
  core::TMemoryStream empty;
  Stored->ReadCompressedData(empty);
  EXPECT_TRUE(Stored->IsEmpty());
}

TEST_F(StoredSkinTest, ReadCompressedFile) {
  const Bytes block = Compress(TestContainerBytes());
  WriteFile(Dir.File("skin.skn"), skin::MakeCompressedSkinFile({3, block}));
  Stored->ReadCompressedFile(Dir.File("skin.skn"));
  EXPECT_EQ(Bytes(Stored->CompressedData().begin(), Stored->CompressedData().end()), block);

  // A version above 3 leaves the block empty.
  WriteFile(Dir.File("new.skn"), skin::MakeCompressedSkinFile({4, block}));
  Stored->ReadCompressedFile(Dir.File("new.skn"));
  EXPECT_TRUE(Stored->IsEmpty());

  // A length past the end of the file is refused before anything is
  // allocated for it.
  Bytes lying = skin::MakeCompressedSkinFile({2, block});
  lying[7] = 0x7F;
  WriteFile(Dir.File("lying.skn"), lying);
  EXPECT_THROW(Stored->ReadCompressedFile(Dir.File("lying.skn")), core::EReadError);
  EXPECT_THROW(Stored->ReadCompressedFile(Dir.File("absent.skn")), core::EFOpenError);
}

TEST_F(StoredSkinTest, WriteCompressedFileWritesVersionTwo) {
  const Bytes block = Compress(TestContainerBytes());
  Stored->SetCompressedData(block);
  Stored->WriteCompressedFile(Dir.File("out.skn"));
  EXPECT_EQ(ReadFile(Dir.File("out.skn")), skin::MakeCompressedSkinFile({2, block}));
}

TEST_F(StoredSkinTest, BuildFromSkinFileMakesAVersionTwoContainer) {
  const std::string path = WriteTestSkinFiles(Dir);
  Stored->BuildFromSkinFile(path);
  ASSERT_FALSE(Stored->IsEmpty());
  // Maximum compression.
  EXPECT_EQ(Stored->CompressedData()[0], 0x78);
  EXPECT_EQ(Stored->CompressedData()[1], 0xDA);

  core::TMemoryStream inflated;
  Stored->DecompressToStream(inflated);
  const SkinContainer container = skin::ReadSkinContainer(inflated.Bytes());
  const TestPictures pictures = MakeTestPictures();
  EXPECT_EQ(container.Version, 2);
  EXPECT_EQ(container.FrameEntry(FramePicture::Picture).Bmp, pictures.Picture);
  EXPECT_TRUE(container.FrameEntry(FramePicture::InactivePicture).IsEmpty());
  EXPECT_EQ(container.FrameEntry(FramePicture::Mask).Bmp, pictures.Mask);
  ASSERT_EQ(container.Active.size(), 2u);
  EXPECT_EQ(container.Active[1].Bmp, pictures.Active1);
  EXPECT_EQ(container.Description, TestDescriptionGbk());
  EXPECT_EQ(inflated.Bytes()[4], 0);  // "picture" follows
  EXPECT_EQ(inflated.Bytes()[5 + pictures.Picture.size()], 1);  // no "inactivepicture"
}

TEST_F(StoredSkinTest, BuildFromSkinFileWritesEveryLineWithCrLf) {
  WriteTestSkinFiles(Dir);
  // LF line ends and no final line break.
  std::string text = TestDescriptionGbk();
  std::string unix;
  for (char c : text) {
    if (c != '\r') unix += c;
  }
  unix.pop_back();
  WriteFile(Dir.File("unix.ini"), unix);
  Stored->BuildFromSkinFile(Dir.File("unix.ini"));
  core::TMemoryStream inflated;
  Stored->DecompressToStream(inflated);
  EXPECT_EQ(skin::ReadSkinContainer(inflated.Bytes()).Description, text);
}

TEST_F(StoredSkinTest, BuildFromSkinFileFindsPicturesWhatEverTheirCase) {
  WriteTestSkinFiles(Dir);
  std::filesystem::rename(Dir.File("active.bmp"), Dir.File("ACTIVE.Bmp"));
  Stored->BuildFromSkinFile(Dir.File("skin.ini"));
  EXPECT_FALSE(Stored->IsEmpty());
}

TEST_F(StoredSkinTest, BuildFromSkinFileWithoutARequiredSectionChangesNothing) {
  WriteTestSkinFiles(Dir);
  const Bytes before = {1, 2, 3};
  for (const std::string section : {"[VERSION]", "[PICTURES]", "[FORMINFO]", "[SKINOBJECTS]", "[SKINCONTROLS]"}) {
    std::string text = TestDescriptionGbk();
    text.replace(text.find(section), section.size(), "[OTHER]");
    WriteFile(Dir.File("partial.ini"), text);
    Stored->SetCompressedData(before);
    Stored->BuildFromSkinFile(Dir.File("partial.ini"));
    EXPECT_EQ(Bytes(Stored->CompressedData().begin(), Stored->CompressedData().end()), before) << section;
  }
}

TEST_F(StoredSkinTest, BuildFromSkinFileWithAMissingPictureRaisesAndKeepsTheBlock) {
  WriteTestSkinFiles(Dir);
  std::filesystem::remove(Dir.File("controls.bmp"));
  const Bytes before = {1, 2, 3};
  Stored->SetCompressedData(before);
  EXPECT_THROW(Stored->BuildFromSkinFile(Dir.File("skin.ini")), core::EFOpenError);
  EXPECT_EQ(Bytes(Stored->CompressedData().begin(), Stored->CompressedData().end()), before);

  // A file that is not a picture.
  WriteFile(Dir.File("controls.bmp"), std::string("not a picture"));
  EXPECT_THROW(Stored->BuildFromSkinFile(Dir.File("skin.ini")), core::EReadError);
}

TEST_F(StoredSkinTest, FileNameSettersBuildOnlyAtDesignTime) {
  const std::string path = WriteTestSkinFiles(Dir);
  Stored->SetFileName(path);
  EXPECT_EQ(Stored->FileName(), path);
  EXPECT_TRUE(Stored->IsEmpty());

  Stored->SetDesigning(true);
  Stored->IncludeComponentState(core::csLoading);
  Stored->SetFileName(path);
  EXPECT_TRUE(Stored->IsEmpty());

  Stored->ExcludeComponentState(core::csLoading);
  Stored->SetFileName(path);
  EXPECT_EQ(Stored->FileName(), "skin.ini");
  EXPECT_FALSE(Stored->IsEmpty());

  WriteFile(Dir.File("skin.skn"), skin::MakeCompressedSkinFile({2, Bytes{7, 8}}));
  Stored->SetCompressedFileName(Dir.File("skin.skn"));
  EXPECT_EQ(Stored->CompressedFileName(), "skin.skn");
  EXPECT_EQ(Bytes(Stored->CompressedData().begin(), Stored->CompressedData().end()), (Bytes{7, 8}));
}
