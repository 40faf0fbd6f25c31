// The skin tool as a designer runs it: the built program, its exit status,
// its output and the files it writes.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "SkinContainerFixtures.h"
#include "core/Compression.h"
#include "core/Encoding.h"
#include "skin/data/SkinData.h"

using namespace skintest;

namespace {

struct ToolResult {
  // -1 when the tool did not exit normally (a crash).
  int Status = -1;
  std::string Out;
  std::string Err;
};

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

class SkinToolTest : public ::testing::Test {
 protected:
  ToolResult Run(const std::vector<std::string>& args) {
    std::string command = Quote(OSTVANE_BINARY_DIR "/tools/ostvane-skin/ostvane-skin");
    for (const std::string& arg : args) command += " " + Quote(arg);
    command += " >" + Quote(Dir.File("stdout")) + " 2>" + Quote(Dir.File("stderr"));
    const int raw = std::system(command.c_str());
    ToolResult result;
    result.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.Out = ToString(ReadFile(Dir.File("stdout")));
    result.Err = ToString(ReadFile(Dir.File("stderr")));
    return result;
  }

  // A compressed skin file of the container.
  std::string WriteSkin(const std::string& name, const Bytes& container, std::int32_t version = 2) {
    const std::string path = Dir.File(name);
    WriteFile(path, skin::MakeCompressedSkinFile({version, Compress(container)}));
    return path;
  }

  Bytes InflatedBlockOf(const std::string& compressedFile) {
    return core::ZDecompressBytes(skin::ParseCompressedSkinFile(ReadFile(compressedFile)).Block);
  }

  // A failure: status 1 and exactly one line on standard error, which
  // contains the expected text.
  void ExpectFailure(const ToolResult& result, const std::string& text) {
    EXPECT_EQ(result.Status, 1) << result.Err;
    EXPECT_NE(result.Err.find(text), std::string::npos) << result.Err;
    EXPECT_EQ(std::count(result.Err.begin(), result.Err.end(), '\n'), 1) << result.Err;
    EXPECT_EQ(result.Err.back(), '\n');
  }

  TempDir Dir;
};

std::string ExpectedJson(const Bytes& container) {
  const std::size_t description = TestDescriptionGbk().size();
  return "{\"container_version\":2,\"uncompressed_bytes\":" + std::to_string(container.size()) +
         ",\"description_offset\":" + std::to_string(container.size() - description) +
         ",\"description_bytes\":" + std::to_string(description) +
         ",\"skin_name\":\"测试皮肤\""
         ",\"frame_pictures\":{\"picture\":[30,20,8],\"inactivepicture\":null,\"mask\":[30,20,1],"
         "\"rolluppicture\":null,\"rollupmask\":null},"
         "\"active_pictures\":[[16,12,24],[9,7,4]],"
         "\"areas\":2,\"objects\":3,\"controls\":3,"
         "\"object_sections\":["
         "{\"name\":\"caption1\",\"kind\":\"caption\",\"class\":\"TskDataSkinCaption\"},"
         "{\"name\":\"closebutton\",\"kind\":\"stdbutton\",\"class\":\"TskDataSkinStdButton\"},"
         "{\"name\":\"closebutton\",\"kind\":\"button\",\"class\":\"TskDataSkinButton\"}],"
         "\"control_sections\":["
         "{\"name\":\"button\",\"kind\":\"button\",\"class\":\"TskDataSkinButtonControl\"},"
         "{\"name\":\"groupbox\",\"kind\":\"panel\",\"class\":\"TskDataSkinPanelControl\"},"
         "{\"name\":\"vscrollbar\",\"kind\":\"scrollbar\",\"class\":\"TskDataSkinScrollBarControl\"}],"
         "\"resources\":\"loaded\"}\n";
}

// --- pack ----------------------------------------------------------------------

TEST_F(SkinToolTest, PackBuildsACompressedSkinFile) {
  const std::string ini = WriteTestSkinFiles(Dir);
  const ToolResult result = Run({"pack", ini, Dir.File("out.skn")});
  ASSERT_EQ(result.Status, 0) << result.Err;
  EXPECT_EQ(result.Out, "");

  const skin::CompressedSkinFile file = skin::ParseCompressedSkinFile(ReadFile(Dir.File("out.skn")));
  EXPECT_EQ(file.Version, 2);
  ASSERT_GE(file.Block.size(), 2u);
  EXPECT_EQ(file.Block[0], 0x78);
  EXPECT_EQ(file.Block[1], 0xDA);
  EXPECT_EQ(core::ZDecompressBytes(file.Block), TestContainerBytes());
}

TEST_F(SkinToolTest, PackRefusesWhatWouldNotLoad) {
  WriteTestSkinFiles(Dir);
  std::string text = TestDescriptionUtf8();
  text.replace(text.find("[FORMINFO]"), 10, "[FORMINFOS]");
  WriteFile(Dir.File("partial.ini"), core::Utf8ToGbk(text));
  ExpectFailure(Run({"pack", Dir.File("partial.ini"), Dir.File("out.skn")}), "lacks one of the sections");

  text = TestDescriptionUtf8();
  text.replace(text.find("skinrect=27,6,56,24"), 19, "skinrect=27,6");
  WriteFile(Dir.File("bad.ini"), core::Utf8ToGbk(text));
  ExpectFailure(Run({"pack", Dir.File("bad.ini"), Dir.File("out.skn")}), "caption1");
  EXPECT_FALSE(std::filesystem::exists(Dir.File("out.skn")));

  std::filesystem::remove(Dir.File("mask.bmp"));
  ExpectFailure(Run({"pack", Dir.File("skin.ini"), Dir.File("out.skn")}), "mask.bmp");
}

// --- unpack --------------------------------------------------------------------

TEST_F(SkinToolTest, UnpackWritesTheDescriptionAndEveryPicture) {
  const std::string in = WriteSkin("in.skn", TestContainerBytes());
  const ToolResult result = Run({"unpack", in, Dir.File("out")});
  ASSERT_EQ(result.Status, 0) << result.Err;

  const TestPictures pictures = MakeTestPictures();
  EXPECT_EQ(ReadFile(Dir.File("out/skin.ini")), ToBytes(TestDescriptionGbk()));
  EXPECT_EQ(ReadFile(Dir.File("out/main.bmp")), pictures.Picture);
  EXPECT_EQ(ReadFile(Dir.File("out/mask.bmp")), pictures.Mask);
  EXPECT_EQ(ReadFile(Dir.File("out/active.bmp")), pictures.Active0);
  EXPECT_EQ(ReadFile(Dir.File("out/controls.bmp")), pictures.Active1);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir.File("out")),
                          std::filesystem::directory_iterator()),
            5);
}

TEST_F(SkinToolTest, UnpackThenPackInflatesToTheSameBytes) {
  // A container with every frame picture, as the tool itself never makes
  // one.
  skin::SkinContainer container = TestContainer();
  container.FrameEntry(skin::FramePicture::InactivePicture).Bmp = MakeBmp(30, 20, 24, 9);
  container.FrameEntry(skin::FramePicture::RollUpPicture).Bmp = MakeBmp(30, 8, 8, 10);
  container.FrameEntry(skin::FramePicture::RollUpMask).Bmp = MakeBmp(30, 8, 1, 11);
  std::string text = TestDescriptionUtf8();
  text.replace(text.find("mask=mask.bmp\r\n"), 15,
               "mask=mask.bmp\r\ninactivepicture=inactive.bmp\r\nrolluppicture=rollup.bmp\r\n"
               "rollupmask=rollupmask.bmp\r\n");
  container.Description = core::Utf8ToGbk(text);
  const Bytes original = skin::WriteSkinContainer(container);

  for (const Bytes& start : {TestContainerBytes(), original}) {
    const std::string in = WriteSkin("in.skn", start);
    std::filesystem::remove_all(Dir.File("unpacked"));
    ASSERT_EQ(Run({"unpack", in, Dir.File("unpacked")}).Status, 0);
    const ToolResult packed = Run({"pack", Dir.File("unpacked/skin.ini"), Dir.File("again.skn")});
    ASSERT_EQ(packed.Status, 0) << packed.Err;
    EXPECT_EQ(InflatedBlockOf(Dir.File("again.skn")), start);
  }
}

TEST_F(SkinToolTest, UnpackReadsABareBlock) {
  WriteFile(Dir.File("block.z"), Compress(TestContainerBytes()));
  ASSERT_EQ(Run({"unpack", "--raw", Dir.File("block.z"), Dir.File("out")}).Status, 0);
  EXPECT_EQ(ReadFile(Dir.File("out/controls.bmp")), MakeTestPictures().Active1);
}

TEST_F(SkinToolTest, UnpackWritesNothingOutsideItsFolder) {
  for (const std::string name : {"../evil.bmp", "/tmp/evil.bmp", "sub\\evil.bmp", "..", "skin.ini", ""}) {
    std::string text = TestDescriptionUtf8();
    text.replace(text.find("1=controls.bmp"), 14, "1=" + name);
    skin::SkinContainer container = TestContainer();
    container.Description = core::Utf8ToGbk(text);
    const std::string in = WriteSkin("in.skn", skin::WriteSkinContainer(container));
    std::filesystem::remove_all(Dir.File("out"));
    ExpectFailure(Run({"unpack", in, Dir.File("out")}), "[PICTURES] 1");
    EXPECT_FALSE(std::filesystem::exists(Dir.File("evil.bmp")));
    EXPECT_FALSE(std::filesystem::exists(Dir.File("out")));
  }
}

TEST_F(SkinToolTest, UnpackRefusesTwoDifferentPicturesUnderOneName) {
  std::string text = TestDescriptionUtf8();
  text.replace(text.find("1=controls.bmp"), 14, "1=active.bmp");
  skin::SkinContainer container = TestContainer();
  container.Description = core::Utf8ToGbk(text);
  ExpectFailure(Run({"unpack", WriteSkin("in.skn", skin::WriteSkinContainer(container)), Dir.File("out")}),
                "active.bmp");
}

// --- info ----------------------------------------------------------------------

TEST_F(SkinToolTest, InfoJson) {
  const Bytes container = TestContainerBytes();
  const ToolResult result = Run({"info", "--json", WriteSkin("in.skn", container)});
  ASSERT_EQ(result.Status, 0) << result.Err;
  EXPECT_EQ(result.Out, ExpectedJson(container));
  EXPECT_EQ(result.Err, "");

  // Options may come after the file, and the block may be bare.
  WriteFile(Dir.File("block.z"), Compress(container));
  EXPECT_EQ(Run({"info", Dir.File("block.z"), "--raw", "--json"}).Out, ExpectedJson(container));
}

TEST_F(SkinToolTest, InfoJsonEscapesWhatTheSkinHolds) {
  std::string text = TestDescriptionUtf8();
  text.replace(text.find("0=button:button"), 15, "0=a\"b\\c\x01\x7F" "按钮:button");
  skin::SkinContainer container = TestContainer();
  container.Description = core::Utf8ToGbk(text);
  const std::string name = core::Utf8ToGbk("skinname=测试皮肤");
  container.Description.replace(container.Description.find(name), name.size(), "skinname=\xFF\xFF");
  const ToolResult result = Run({"info", "--json", WriteSkin("in.skn", skin::WriteSkinContainer(container))});
  ASSERT_EQ(result.Status, 0) << result.Err;
  EXPECT_NE(result.Out.find("{\"name\":\"a\\\"b\\\\c\\u0001\\u007f按钮\",\"kind\":\"button\""), std::string::npos)
      << result.Out;
  // Bytes that are no GBK character arrive as "?" and stay valid JSON.
  EXPECT_NE(result.Out.find("\"skin_name\":\"??\""), std::string::npos) << result.Out;
}

TEST_F(SkinToolTest, InfoForPeople) {
  const ToolResult result = Run({"info", WriteSkin("in.skn", TestContainerBytes())});
  ASSERT_EQ(result.Status, 0) << result.Err;
  for (const char* line : {"container version   2\n", "picture             30 x 20 at 8 bits\n",
                           "inactivepicture     none\n", "  1: 9 x 7 at 4 bits\n", "areas               2\n",
                           "controls            3\n", "resources           loaded\n"}) {
    EXPECT_NE(result.Out.find(line), std::string::npos) << line << "\n" << result.Out;
  }
  EXPECT_NE(result.Out.find("vscrollbar"), std::string::npos);
  EXPECT_NE(result.Out.find("TskDataSkinScrollBarControl"), std::string::npos);
}

// --- skins that do not load -------------------------------------------------------

TEST_F(SkinToolTest, DamagedSkinsFailWithOneLine) {
  Bytes block = Compress(TestContainerBytes());
  block[block.size() / 2] ^= 0x5A;
  WriteFile(Dir.File("damaged.skn"), skin::MakeCompressedSkinFile({2, block}));

  skin::SkinContainer future = TestContainer();
  future.Version = 4;
  const std::string futureContainer = WriteSkin("future.skn", skin::WriteSkinContainer(future));
  const std::string futureFile = WriteSkin("futurefile.skn", TestContainerBytes(), 7);

  std::string text = TestDescriptionUtf8();
  text.replace(text.find("skinrect=1,1,8,6"), 16, "skinrect=1,1,x,6");
  skin::SkinContainer malformed = TestContainer();
  malformed.Description = core::Utf8ToGbk(text);
  const std::string malformedFile = WriteSkin("malformed.skn", skin::WriteSkinContainer(malformed));

  Bytes truncated = TestContainerBytes();
  truncated.resize(100);
  const std::string truncatedFile = WriteSkin("truncated.skn", truncated);

  WriteFile(Dir.File("short.skn"), Bytes{2, 0, 0, 0, 100, 0, 0, 0, 0x78});
  WriteFile(Dir.File("empty.skn"), skin::MakeCompressedSkinFile({2, {}}));

  const std::pair<std::string, std::string> cases[] = {
      {Dir.File("damaged.skn"), "compression error"},
      {futureContainer, "unsupported container version 4"},
      {futureFile, "unsupported container version 7"},
      {malformedFile, "vscrollbar"},
      {truncatedFile, "runs past the end of the skin container"},
      {Dir.File("short.skn"), "shorter than its block length"},
      {Dir.File("empty.skn"), "empty"},
      {Dir.File("absent.skn"), "absent.skn"},
  };
  for (const auto& [file, message] : cases) {
    SCOPED_TRACE(file);
    ExpectFailure(Run({"info", "--json", file}), message);
    ExpectFailure(Run({"info", file}), message);
    ExpectFailure(Run({"unpack", file, Dir.File("out")}), message);
    EXPECT_FALSE(std::filesystem::exists(Dir.File("out")));
  }
}

// Descriptions whose lists would fill the memory with objects and empty
// lines fail as damaged skins, by the skin library's own bound.
TEST_F(SkinToolTest, HostileDescriptionsAreRefused) {
  std::string manyObjects = "[VERSION]\r\n[PICTURES]\r\n[FORMINFO]\r\n[SKINCONTROLS]\r\n"
                            "[s]\r\nsymbolslinecount=65536\r\n[SKINOBJECTS]\r\ncount=20000\r\n";
  for (int i = 0; i < 20000; ++i) manyObjects += std::to_string(i) + "=s:bitlabel\r\n";
  std::string manyControls = "[SKINCONTROLS]\r\ncount=100000\r\n";
  for (int i = 0; i < 100000; ++i) manyControls += std::to_string(i) + "=b:button\r\n";

  for (const std::string& description : {manyObjects, manyControls}) {
    skin::SkinContainer container;
    container.Version = 0;
    container.Description = description;
    const std::string in = WriteSkin("hostile.skn", skin::WriteSkinContainer(container));
    ExpectFailure(Run({"info", "--json", in}), "too large to read safely");
    ExpectFailure(Run({"unpack", in, Dir.File("out")}), "too large to read safely");
  }
}

TEST_F(SkinToolTest, UsageErrorsExitTwo) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"frobnicate"},
      {"info"},
      {"info", "a", "b"},
      {"info", "--yaml", "a"},
      {"pack", "a"},
      {"pack", "--raw", "a", "b"},
      {"unpack", "a"},
      {"unpack", "--json", "a", "b"},
  };
  for (const auto& args : cases) {
    const ToolResult result = Run(args);
    EXPECT_EQ(result.Status, 2) << (args.empty() ? "" : args[0]);
    EXPECT_NE(result.Err.find("usage:"), std::string::npos);
  }
  const ToolResult help = Run({"--help"});
  EXPECT_EQ(help.Status, 0);
  EXPECT_NE(help.Out.find("usage:"), std::string::npos);
}

}  // namespace
