// Replays the seed skins of the skin fuzz target through the same path the
// fuzzer takes. The target has found nothing so far; its first finding goes
// to tests/skin/data/regress with a test here that replays that folder and
// requires it to be there.

#include <gtest/gtest.h>

#include <filesystem>

#include "SkinContainerFixtures.h"
#include "fuzz/SkinFuzzInput.h"

namespace {

std::vector<std::filesystem::path> FilesIn(const std::string& folder) {
  std::vector<std::filesystem::path> files;
  const std::filesystem::path path = std::filesystem::path(OSTVANE_SOURCE_DIR) / folder;
  if (!std::filesystem::is_directory(path)) return files;
  for (const auto& entry : std::filesystem::directory_iterator(path)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// The seeds are complete skins in each of the three forms, so that the
// fuzzer starts from inputs that reach the end of a load.
TEST(SkinFuzzRegress, SeedsLoadCompletely) {
  const auto seeds = FilesIn("tests/skin/data/seeds");
  ASSERT_FALSE(seeds.empty());
  for (const auto& file : seeds) {
    SCOPED_TRACE(file.string());
    const skintest::Bytes bytes = skintest::ReadFile(file.string());
    ASSERT_FALSE(bytes.empty());
    const std::span<const std::uint8_t> rest = std::span(bytes).subspan(1);
    skintest::Bytes block;
    switch (bytes[0]) {
      case 0: block.assign(rest.begin(), rest.end()); break;
      case 1: block = skin::ParseCompressedSkinFile(rest).Block; break;
      default: block = core::ZCompressBytes(rest, core::clNone); break;
    }
    auto stored = core::CreateUnowned<skin::TskCompressedStoredSkin>();
    auto data = core::CreateUnowned<skin::TskSkinData>();
    stored->SetCompressedData(block);
    data->SetCompressedStoredSkin(stored.get());
    const bool future = file.filename().string().find("v4") != std::string::npos;
    EXPECT_EQ(data->Empty(), future);
    EXPECT_EQ(data->SkinControls().size(), future ? 0u : 3u);
    skinfuzz::FeedSkinInput(bytes);
  }
}

}  // namespace
