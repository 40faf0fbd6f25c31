// The program's stored skin as resources/skin holds it and the build packs
// it: the generator still draws exactly the committed files, the packed skin
// loads as the program loads it, holds the values the main window's skin is
// known by, and every rectangle of its description shows a picture that
// composes without seams.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "SkinContainerFixtures.h"
#include "core/Component.h"
#include "core/Encoding.h"
#include "core/MemIniFile.h"
#include "core/MemoryStream.h"
#include "gfx/BmpCodec.h"
#include "gfx/PngCodec.h"
#include "skin/data/SkinData.h"

using namespace skintest;

namespace {

const std::string SkinDir = OSTVANE_SOURCE_DIR "/resources/skin";
const std::string PackedSkin = OSTVANE_BINARY_DIR "/resources/StoredSkin.skn";
const std::string Generator = OSTVANE_BINARY_DIR "/tools/ostvane-skingen/ostvane-skingen";
const std::string SkinTool = OSTVANE_BINARY_DIR "/tools/ostvane-skin/ostvane-skin";

// Runs a built program with arguments; its exit status, -1 for a crash.
int RunProgram(const std::string& program, const std::vector<std::string>& args, const std::string& errors) {
  std::string command = "'" + program + "'";
  for (const std::string& arg : args) command += " '" + arg + "'";
  command += " 2>'" + errors + "'";
  const int raw = std::system(command.c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

const char* const SkinFiles[] = {"skin.ini",      "main.bmp",   "mask.bmp",     "active.BMP",
                                 "pw.bmp",        "menuitems.bmp", "hw.bmp",    "controls.bmp",
                                 "grids.bmp",     "pwmask.bmp", "hwmask.bmp"};

std::string Text(const gfx::Rect& r) {
  std::ostringstream out;
  out << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
  return out.str();
}

// The packed skin, loaded once for all tests as the program loads it.
class StoredSkinResource : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const Bytes file = ReadFile(PackedSkin);
    const skin::CompressedSkinFile parsed = skin::ParseCompressedSkinFile(file);
    Block = new Bytes(parsed.Block);
    Stored = core::CreateUnowned<skin::TskCompressedStoredSkin>().release();
    Data = core::CreateUnowned<skin::TskSkinData>().release();
    Stored->SetCompressedData(*Block);
    Data->SetCompressedStoredSkin(Stored);
    core::TMemoryStream inflated;
    skin::InflateSkinBlock(*Block, inflated);
    Container = new skin::SkinContainer(skin::ReadSkinContainer(inflated.Bytes()));
    Ini = new core::TMemIniFile(core::GbkToUtf8(Container->Description));
  }
  static void TearDownTestSuite() {
    delete Ini;
    delete Container;
    delete Data;
    delete Stored;
    delete Block;
  }

  static const gfx::Bitmap& Active(int index) { return Data->ActivePictures().at(std::size_t(index)); }

  static inline Bytes* Block = nullptr;
  static inline skin::TskCompressedStoredSkin* Stored = nullptr;
  static inline skin::TskSkinData* Data = nullptr;
  static inline skin::SkinContainer* Container = nullptr;
  static inline core::TMemIniFile* Ini = nullptr;
};

// --- the generator ----------------------------------------------------------

TEST(StoredSkinGenerator, DrawsExactlyTheCommittedFiles) {
  TempDir dir;
  ASSERT_EQ(RunProgram(Generator, {dir.Path().string()}, dir.File("stderr")), 0)
      << ToString(ReadFile(dir.File("stderr")));
  std::filesystem::remove(dir.File("stderr"));

  std::set<std::string> written;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    written.insert(entry.path().filename().string());
  }
  EXPECT_EQ(written, std::set<std::string>(std::begin(SkinFiles), std::end(SkinFiles)));
  for (const char* name : SkinFiles) {
    SCOPED_TRACE(name);
    const Bytes committed = ReadFile(SkinDir + "/" + name);
    const Bytes drawn = ReadFile(dir.File(name));
    EXPECT_EQ(committed.size(), drawn.size());
    EXPECT_TRUE(committed == drawn) << name << " differs from the generator's output: run ostvane-skingen "
                                    << "resources/skin and commit the result";
  }
}

// --- the contact sheet --------------------------------------------------------

TEST_F(StoredSkinResource, SheetShowsEveryPictureAtThreeTimesItsSize) {
  TempDir dir;
  const std::string sheetPath = dir.File("sheet.png");
  ASSERT_EQ(RunProgram(SkinTool, {"sheet", PackedSkin, sheetPath}, dir.File("stderr")), 0)
      << ToString(ReadFile(dir.File("stderr")));
  const gfx::Bitmap sheet = gfx::LoadPngFile(sheetPath);
  int height = 0;
  int width = 0;
  for (const gfx::Bitmap* picture : {&Data->Picture(), &Data->Mask()}) {
    height += picture->Height() * 3;
    width = std::max(width, picture->Width() * 3);
  }
  for (const gfx::Bitmap& picture : Data->ActivePictures()) {
    height += picture.Height() * 3;
    width = std::max(width, picture.Width() * 3);
  }
  EXPECT_GT(sheet.Width(), width);
  EXPECT_GT(sheet.Height(), height);

  // The maximise button of the frame picture, without its outlined edge,
  // lies on the sheet pixel for pixel at three times its size.
  const gfx::Bitmap& frame = Data->Picture();
  const gfx::Rect button = skin::ReadRect(*Ini, "maximizebutton", "skinrect").Inflate(-1, -1);
  auto matchesAt = [&](int left, int top) {
    for (int y = 0; y < button.Height() * 3; ++y) {
      for (int x = 0; x < button.Width() * 3; ++x) {
        if (left + x >= sheet.Width() || top + y >= sheet.Height()) return false;
        const gfx::Pixel want = frame.GetPixel(button.Left + x / 3, button.Top + y / 3) & 0xFFFFFF;
        if ((sheet.GetPixel(left + x, top + y) & 0xFFFFFF) != want) return false;
      }
    }
    return true;
  };
  bool found = false;
  for (int y = 0; y < sheet.Height() / 4 && !found; ++y) {
    for (int x = 0; x < sheet.Width() / 2 && !found; ++x) found = matchesAt(x, y);
  }
  EXPECT_TRUE(found) << "the frame picture is not on the sheet at three times its size";
}

TEST(StoredSkinSheet, ReportsAMissingSkinAndWritesNothing) {
  TempDir dir;
  EXPECT_EQ(RunProgram(SkinTool, {"sheet", dir.File("missing.skn"), dir.File("sheet.png")}, dir.File("stderr")), 1);
  EXPECT_NE(ToString(ReadFile(dir.File("stderr"))).find("missing.skn"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.File("sheet.png")));
  EXPECT_EQ(RunProgram(SkinTool, {"sheet", PackedSkin}, dir.File("stderr")), 2) << "OUT.png is required";
}

// --- the container ------------------------------------------------------------

TEST_F(StoredSkinResource, IsAVersionTwoContainerCompressedAtTheMaximumLevel) {
  ASSERT_GE(Block->size(), 2u);
  EXPECT_EQ((*Block)[0], 0x78);
  EXPECT_EQ((*Block)[1], 0xDA);
  EXPECT_EQ(Data->ContainerInfo().Version, 2);
  EXPECT_FALSE(Data->Empty());
  EXPECT_EQ(Container->Description.substr(0, 9), "[VERSION]");
}

TEST_F(StoredSkinResource, HasTheFramePicturesAndTheEightActivePictures) {
  EXPECT_EQ(Data->Picture().Width(), 152);
  EXPECT_EQ(Data->Picture().Height(), 125);
  EXPECT_EQ(Data->Picture().SourceBits(), 8);
  EXPECT_EQ(Data->Mask().Width(), 152);
  EXPECT_EQ(Data->Mask().Height(), 125);
  EXPECT_EQ(Data->Mask().SourceBits(), 1);
  EXPECT_TRUE(Data->InactivePicture().IsEmpty());
  EXPECT_TRUE(Data->RollUpPicture().IsEmpty());
  EXPECT_TRUE(Data->RollUpMask().IsEmpty());

  const struct {
    int Width, Height, Bits;
  } expected[] = {{84, 223, 8}, {65, 69, 8}, {68, 118, 24}, {42, 27, 8},
                  {516, 280, 8}, {72, 21, 8}, {65, 69, 1},  {42, 27, 1}};
  ASSERT_EQ(Data->ActivePictures().size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Active(int(i)).Width(), expected[i].Width);
    EXPECT_EQ(Active(int(i)).Height(), expected[i].Height);
    EXPECT_EQ(Active(int(i)).SourceBits(), expected[i].Bits);
  }
  const std::vector<std::string> names = {"active.BMP", "pw.bmp",   "menuitems.bmp", "hw.bmp",
                                          "controls.bmp", "grids.bmp", "pwmask.bmp",  "hwmask.bmp"};
  EXPECT_EQ(Data->ActivePicturesNames(), names);
}

TEST_F(StoredSkinResource, ListsItsObjectsAndControlSections) {
  EXPECT_TRUE(Data->SkinAreas().empty());
  std::vector<std::string> objects;
  for (const auto& object : Data->SkinObjects()) objects.push_back(object->SectionName + ":" +
                                                                    std::string(object->KindWord()));
  const std::vector<std::string> expectedObjects = {
      "MENUITEM:menuitem",        "caption1:caption",           "closebutton:stdbutton",
      "minimizebutton:stdbutton", "maximizebutton:stdbutton",   "rollupbutton:stdbutton",
      "mainmenubaritem:mainmenubaritem", "sysmenubutton:stdbutton", "menubarsysmenubutton:mainmenubarbutton",
      "menubarclosebutton:mainmenubarbutton", "menubarmaxbutton:mainmenubarbutton",
      "menubarminbutton:mainmenubarbutton"};
  EXPECT_EQ(objects, expectedObjects);

  // 51 entries; "header" has no class and is skipped.
  EXPECT_EQ(Ini->ReadInteger("SKINCONTROLS", "count", 0), 51);
  EXPECT_EQ(Ini->ReadString("SKINCONTROLS", "50", ""), "header:header");
  EXPECT_EQ(Data->SkinControls().size(), 50u);
  EXPECT_EQ(Data->FindControlIndex("vscrollbar"), 16);
  EXPECT_EQ(Data->FindControlIndex("VSCROLLBAR"), -1);
  EXPECT_EQ(Data->FindControlIndex("header"), -1);
  EXPECT_EQ(Data->FindControlIndex("groupbox"), 21);
  ASSERT_GE(Data->FindControlIndex("groupbox"), 0);
  EXPECT_NE(dynamic_cast<const skin::TskDataSkinPanelControl*>(
                Data->SkinControls()[std::size_t(Data->FindControlIndex("groupbox"))].get()),
            nullptr);
}

// --- the description ----------------------------------------------------------

TEST_F(StoredSkinResource, DescriptionIsGbkTextWithCrLfAndSectionsInOrder) {
  const std::string& text = Container->Description;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at byte " << i;
    }
    if (text[i] == '\r') {
      ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR at byte " << i;
    }
  }
  EXPECT_NE(text.find("fontname=\xCB\xCE\xCC\xE5\r\n"), std::string::npos) << "font names are GBK";

  std::vector<std::string> sections = Ini->ReadSections();
  std::vector<std::string> expected = {"VERSION",   "PICTURES",  "CURSORS",  "FORMINFO",   "POPUPWINDOW",
                                       "HINTWINDOW", "SKINAREAS", "SKINOBJECTS", "SKINCONTROLS"};
  for (const char* list : {"SKINOBJECTS", "SKINCONTROLS"}) {
    const int count = Ini->ReadInteger(list, "count", 0);
    for (int i = 0; i < count; ++i) {
      const std::string entry = Ini->ReadString(list, std::to_string(i), "");
      expected.push_back(entry.substr(0, entry.find(':')));
    }
  }
  EXPECT_EQ(sections, expected);
}

// The values the stored skin is known by, key by key as the description
// writes them.
struct KnownSection {
  const char* Section;
  const char* Keys;     // "key=value" lines
  const char* Absent;   // keys that must not be there, one per line
};

const KnownSection KnownValues[] = {
    {"VERSION", "ver=2", ""},
    {"PICTURES",
     "picture=main.bmp\nmask=mask.bmp\nrolluppicture=\nrollupmask=\nactivepicturescount=8\n0=active.BMP\n"
     "1=pw.bmp\n2=menuitems.bmp\n3=hw.bmp\n4=controls.bmp\n5=grids.bmp\n6=pwmask.bmp\n7=hwmask.bmp",
     ""},
    {"FORMINFO",
     "lefttoppoint=29,29\nrighttoppoint=53,29\nleftbottompoint=6,118\nrightbottompoint=146,119\n"
     "clientrect=5,29,147,120\nbgpictureindex=-1\nmaskrectarea=3,4,149,122\nhittestlefttoppoint=5,6\n"
     "hittestrighttoppoint=145,5\nhittestleftbottompoint=6,120\nhittestrightbottompoint=146,118\n"
     "rollupleftpoint=31,14\nrolluprightpoint=132,16\nmainmenurect=0,0,0,0\niconrect=0,0,0,0\n"
     "mainmenupopupup=0\nborderwidth=3\ncursorindex=-1",
     "mdibgpictureindex\nleftstretch\nrightstretch\ntopstretch\nbottomstretch\nbuttonsrect\ncaptionrect\n"
     "buttonsoffset\nbuttonsinleft\nautorenderinginactiveimage\ninactiveeffect"},
    {"POPUPWINDOW",
     "windowpictureindex=1\nmaskpictureindex=6\nlefttoppoint=24,8\nrighttoppoint=58,10\nleftbottompoint=6,58\n"
     "rightbottompoint=38,60\ncursorindex=-1\nitemsrect=3,8,62,61\nscrollmarkercolor=8421504\n"
     "scrollmarkeractivecolor=0",
     "leftstretch\nrightstretch\ntopstretch\nbottomstretch"},
    {"HINTWINDOW",
     "windowpictureindex=3\nmaskpictureindex=7\nlefttoppoint=13,9\nrighttoppoint=37,10\nleftbottompoint=3,17\n"
     "rightbottompoint=26,18\nclientrect=3,8,40,20\nfontname=宋体\nfontheight=12\nfontstyle=\nfontcolor=0",
     "leftstretch\nrightstretch\ntopstretch\nbottomstretch"},
    {"SKINAREAS", "count=0", ""},
    {"MENUITEM",
     "rollup=0\nactivepictureindex=2\ncursorindex=-1\nskinrect=1,22,64,42\nactiveskinrect=1,1,64,21\n"
     "morphing=0\nmorphkind=mkdefault\ndividerrect=1,41,64,48\ndividerleftoffset=3\ndividerrightoffset=3\n"
     "textrect=2,2,60,18\nfontheight=12\nunenabledfontcolor=8421504",
     ""},
    {"caption1",
     "rollup=0\nactivepictureindex=-1\ncursorindex=-1\nskinrect=27,6,56,24\nactiveskinrect=0,0,0,0\nmorphing=0\n"
     "morphkind=mkdefault\ndefaultcaption=1\ntextrect=0,0,29,18\nfontheight=12\nfontstyle=fsbold\n"
     "fontcolor=13948116\nactivefontcolor=16777215\nalignment=taleftjustify\nshadow=1\nshadowcolor=0\n"
     "activeshadowcolor=0",
     ""},
    {"closebutton",
     "rollup=0\nactivepictureindex=0\ncursorindex=-1\nskinrect=127,4,148,25\nactiveskinrect=42,0,63,21\n"
     "downrect=21,0,42,21\ngroupindex=-1\ncommand=cmclose\nmorphing=0\nmorphkind=mkdefault\n"
     "restorerect=0,0,0,0\nrestoreactiverect=0,0,0,0\nrestoredownrect=0,0,0,0\nrestoreinactiverect=0,0,0,0",
     ""},
    {"minimizebutton",
     "rollup=0\nactivepictureindex=0\ncursorindex=-1\nskinrect=81,4,102,25\nactiveskinrect=42,41,63,62\n"
     "downrect=21,41,42,62\ngroupindex=-1\ncommand=cmminimize\nmorphing=0\nmorphkind=mkdefault\n"
     "restorerect=0,61,21,82\nrestoreactiverect=42,61,63,82\nrestoredownrect=21,61,42,82\n"
     "restoreinactiverect=0,0,0,0",
     ""},
    {"maximizebutton",
     "rollup=0\nactivepictureindex=0\ncursorindex=-1\nskinrect=104,4,125,25\nactiveskinrect=42,21,63,42\n"
     "downrect=21,21,42,42\ngroupindex=-1\ncommand=cmmaximize\nmorphing=0\nmorphkind=mkdefault\n"
     "restorerect=0,61,21,82\nrestoreactiverect=42,61,63,82\nrestoredownrect=21,61,42,82\n"
     "restoreinactiverect=0,0,0,0",
     ""},
    {"rollupbutton",
     "rollup=0\nactivepictureindex=0\ncursorindex=-1\nskinrect=58,4,79,25\nactiveskinrect=42,81,63,102\n"
     "downrect=21,81,42,102\ngroupindex=-1\ncommand=cmrollup\nmorphing=0\nmorphkind=mkdefault\n"
     "restorerect=0,101,21,122\nrestoreactiverect=42,101,63,122\nrestoredownrect=21,101,42,122\n"
     "restoreinactiverect=0,0,0,0",
     ""},
    {"sysmenubutton",
     "rollup=0\nactivepictureindex=0\ncursorindex=-1\nskinrect=6,7,23,23\nactiveskinrect=20,124,37,140\n"
     "downrect=39,124,56,140\ngroupindex=-1\ncommand=cmsysmenu\nmorphing=0\nmorphkind=mkdefault\n"
     "restorerect=0,0,0,0\nrestoreinactiverect=0,0,0,0",
     ""},
    {"mainmenubaritem",
     "rollup=0\nactivepictureindex=2\ncursorindex=-1\nskinrect=2,50,63,70\nactiveskinrect=2,72,63,92\n"
     "downrect=2,94,63,114\nitemleftoffset=2\nitemrightoffset=2\ntextrect=5,3,56,17\ndownfontcolor=16777215\n"
     "morphing=0\nmorphkind=mkdefault",
     ""},
    {"menubarsysmenubutton",
     "activepictureindex=0\nskinrect=1,201,20,220\nactiveskinrect=21,201,40,220\ndownrect=41,201,60,220\n"
     "command=cmsysmenu\ngroupindex=-1\nrollup=0\ncursorindex=-1\nmorphing=0\nmorphkind=mkdefault",
     ""},
    {"menubarclosebutton",
     "activepictureindex=0\nskinrect=1,161,20,180\nactiveskinrect=21,161,40,180\ndownrect=41,161,60,180\n"
     "command=cmclose\ngroupindex=-1\nrollup=0\ncursorindex=-1\nmorphing=0\nmorphkind=mkdefault",
     ""},
    {"menubarmaxbutton",
     "activepictureindex=0\nskinrect=1,141,20,160\nactiveskinrect=21,141,40,160\ndownrect=41,141,60,160\n"
     "command=cmmaximize\ngroupindex=-1\nrollup=0\ncursorindex=-1\nmorphing=0\nmorphkind=mkdefault",
     ""},
    {"menubarminbutton",
     "activepictureindex=0\nskinrect=1,181,20,200\nactiveskinrect=21,181,40,200\ndownrect=41,181,60,200\n"
     "command=cmminimize\ngroupindex=-1\nrollup=0\ncursorindex=-1\nmorphing=0\nmorphkind=mkdefault",
     ""},
    {"button",
     "pictureindex=4\nskinrect=0,0,24,21\nlefttoppoint=4,8\nrighttoppoint=18,9\nleftbottompoint=0,0\n"
     "rightbottompoint=0,0\nclientrect=2,2,22,19\nfontname=宋体\nfontheight=12\nfontstyle=\nfontcolor=0\n"
     "activefontcolor=0\ndisabledfontcolor=8421504\ndownfontcolor=0\nmorphing=0\nmorphkind=mkdefault\n"
     "activeskinrect=48,0,72,21\ndownskinrect=24,0,48,21\ndisabledskinrect=0,0,0,0",
     "animateskinrect\nframecount\nanimateinterval"},
    {"checkbox",
     "pictureindex=4\nskinrect=59,62,92,81\nlefttoppoint=5,8\nrighttoppoint=27,8\nleftbottompoint=0,0\n"
     "rightbottompoint=0,0\nclientrect=2,2,31,17\nfontname=宋体\nfontheight=12\nfontstyle=\nfontcolor=0\n"
     "activefontcolor=0\nmorphing=0\nmorphkind=mkdefault\nactiveskinrect=59,82,92,101\n"
     "checkimagearea=3,3,16,16\ntextarea=20,3,30,16\ncheckimagerect=17,77,30,90\nuncheckimagerect=4,77,17,90",
     "unenabledfontcolor\nframefontcolor\nactivecheckimagerect\nactiveuncheckimagerect\n"
     "unenabledcheckimagerect\nunenableduncheckimagerect"},
    {"groupbox",
     "pictureindex=4\nskinrect=352,75,411,127\nlefttoppoint=5,20\nrighttoppoint=53,20\nleftbottompoint=5,45\n"
     "rightbottompoint=52,46\nclientrect=1,20,58,50\nbgpictureindex=-1\ncaptionrect=3,2,56,18\n"
     "alignment=tacenter\nfontname=宋体\nfontheight=12\nfontstyle=fsbold\nfontcolor=0",
     "checkimagerect\nuncheckimagerect\nmarkframerect\nframerect\nframetextrect\nframeleftoffset\n"
     "framerightoffset"},
    {"vscrollbar",
     "pictureindex=4\nskinrect=224,25,241,93\nlefttoppoint=7,21\nrighttoppoint=0,0\nleftbottompoint=8,45\n"
     "rightbottompoint=0,0\nclientrect=1,18,16,50\ntrackarea=0,18,17,50\nupbuttonrect=2,52,15,66\n"
     "activeupbuttonrect=244,36,257,50\ndownupbuttonrect=244,52,257,66\ndownbuttonrect=2,2,15,16\n"
     "activedownbuttonrect=244,3,257,17\ndowndownbuttonrect=244,19,257,33\nthumbrect=226,3,241,23\n"
     "activethumbrect=244,73,259,93\ndownthumbrect=261,73,276,93\nthumboffset1=4\nthumboffset2=4\n"
     "glyphrect=281,78,288,88\nactiveglyphrect=0,0,0,0\ndownglyphrect=0,0,0,0",
     "thumbtransparent\nthumbtransparentcolor"},
    {"bothhscrollbar",
     "pictureindex=4\nskinrect=3,222,88,239\nlefttoppoint=20,8\nrighttoppoint=44,9\nleftbottompoint=0,0\n"
     "rightbottompoint=0,0\nclientrect=18,1,50,16\ntrackarea=18,1,50,16\nupbuttonrect=52,2,66,15\n"
     "activeupbuttonrect=186,149,200,162\ndownupbuttonrect=202,149,216,162\ndownbuttonrect=2,2,16,15\n"
     "activedownbuttonrect=153,149,167,161\ndowndownbuttonrect=169,149,183,162\nthumbrect=129,130,149,145\n"
     "activethumbrect=129,147,149,162\ndownthumbrect=129,164,149,179\nthumboffset1=3\nthumboffset2=3\n"
     "glyphrect=133,182,143,189\nactiveglyphrect=0,0,0,0\ndownglyphrect=0,0,0,0",
     "thumbtransparent\nthumbtransparentcolor"},
    {"edit",
     "pictureindex=4\nskinrect=225,98,282,119\nlefttoppoint=4,10\nrighttoppoint=51,11\nleftbottompoint=0,0\n"
     "rightbottompoint=0,0\nclientrect=3,3,54,21\nactiveskinrect=225,121,282,142\nfontname=宋体\n"
     "fontheight=12\nfontstyle=\nfontcolor=0\nactivefontcolor=0\nbuttonrect=0,0,0,0\nactivebuttonrect=0,0,0,0\n"
     "downbuttonrect=0,0,0,0",
     "disabledfontcolor\nunenabledbuttonrect"},
    {"memo",
     "pictureindex=4\nskinrect=141,4,200,56\nlefttoppoint=6,5\nrighttoppoint=52,6\nleftbottompoint=4,46\n"
     "rightbottompoint=53,45\nclientrect=3,3,56,49\nactiveskinrect=0,0,0,0\nfontname=宋体\nfontheight=12\n"
     "fontstyle=fsbold\nfontcolor=8421504\nactivefontcolor=0\nbuttonrect=0,0,0,0\nactivebuttonrect=0,0,0,0\n"
     "downbuttonrect=0,0,0,0\nbgcolor=16250871\nactivebgcolor=16777215",
     ""},
    {"stdlabel", "pictureindex=-1\nskinrect=0,0,0,0\nfontname=宋体\nfontheight=12\nfontstyle=\nfontcolor=0",
     "activefontcolor"},
    {"tab",
     "pictureindex=4\nskinrect=141,4,200,56\ntabrect=4,106,63,124\nactivetabrect=4,126,63,145\n"
     "focustabrect=4,147,63,166\nmouseintabrect=4,167,63,185\nclientrect=2,2,57,50\nbgpictureindex=-1\n"
     "lefttoppoint=4,4\nrighttoppoint=54,4\nleftbottompoint=4,47\nrightbottompoint=54,47\ntableftoffset=3\n"
     "tabrightoffset=3\ntabsbgrect=145,8,196,26\nfontname=宋体\nfontheight=12\nfontstyle=\nfontcolor=0\n"
     "activefontcolor=0\nfocusfontcolor=0\nmouseinfontcolor=0\nupdown=hupdown",
     "tabstretcheffect"},
    {"resizebutton", "disabledfontcolor=clGray", ""},
};

std::vector<std::string> Lines(const char* text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

TEST_F(StoredSkinResource, SectionsHoldTheKnownValues) {
  for (const KnownSection& known : KnownValues) {
    SCOPED_TRACE(known.Section);
    ASSERT_TRUE(Ini->SectionExists(known.Section));
    for (const std::string& line : Lines(known.Keys)) {
      const std::size_t equals = line.find('=');
      const std::string key = line.substr(0, equals);
      EXPECT_TRUE(Ini->ValueExists(known.Section, key)) << key;
      EXPECT_EQ(Ini->ReadString(known.Section, key, "<absent>"), line.substr(equals + 1)) << key;
    }
    for (const std::string& key : Lines(known.Absent)) EXPECT_FALSE(Ini->ValueExists(known.Section, key)) << key;
  }
  // Both keys of [CURSORS] are there, though nothing reads them.
  EXPECT_TRUE(Ini->ValueExists("CURSORS", "startcursorindex"));
  EXPECT_TRUE(Ini->ValueExists("CURSORS", "cursorscount"));
  // Every panel section carries the two roll-up markers.
  for (const std::string name : {"toolpanel", "panel", "groupbox", "statusbar", "rolluppanel", "bigtoolpanel"}) {
    EXPECT_TRUE(Ini->ValueExists(name, "rollupmarkerrect")) << name;
    EXPECT_TRUE(Ini->ValueExists(name, "restoremarkerrect")) << name;
  }
}

TEST_F(StoredSkinResource, LoadedSectionsCarryTheValuesTheWindowUses) {
  const auto& info = Data->FormInfo();
  EXPECT_EQ(info.ClientRect, (gfx::Rect{5, 29, 147, 120}));
  EXPECT_EQ(info.BorderWidth, 3);
  // The corner points already lie inside the client rectangle: loading
  // changed nothing.
  EXPECT_EQ(info.LeftTopPoint, (gfx::Point{29, 29}));
  EXPECT_EQ(info.RightBottomPoint, (gfx::Point{146, 119}));
  EXPECT_EQ(info.MaskRectArea, (gfx::Rect{3, 4, 149, 122}));

  const auto* resize = dynamic_cast<const skin::TskDataSkinButtonControl*>(
      Data->SkinControls()[std::size_t(Data->FindControlIndex("resizebutton"))].get());
  ASSERT_NE(resize, nullptr);
  EXPECT_EQ(resize->DisabledFontColor, 0u) << "clGray is not a number and reads as the default";

  const auto* button = dynamic_cast<const skin::TskDataSkinButtonControl*>(
      Data->SkinControls()[std::size_t(Data->FindControlIndex("button"))].get());
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->SkinRect.Height(), 21) << "the buttons take 21 pixels";
  const auto* edit = dynamic_cast<const skin::TskDataSkinEditControl*>(
      Data->SkinControls()[std::size_t(Data->FindControlIndex("edit"))].get());
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->SkinRect.Height(), 21) << "the edits take 21 pixels";
  const auto* bar = dynamic_cast<const skin::TskDataSkinScrollBarControl*>(
      Data->SkinControls()[16].get());
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->SkinRect.Width(), 17) << "the scroll bar is 17 pixels wide";

  const auto* tab = dynamic_cast<const skin::TskDataSkinTabControl*>(
      Data->SkinControls()[std::size_t(Data->FindControlIndex("tab"))].get());
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(tab->UpDown, "hupdown");
  EXPECT_NE(dynamic_cast<const skin::TskDataSkinUpDownControl*>(
                Data->SkinControls()[std::size_t(Data->FindControlIndex(tab->UpDown))].get()),
            nullptr);
}

// --- geometry -----------------------------------------------------------------

// The base a relative rectangle or point is measured from: a key of the same
// section, or empty for picture coordinates.
std::string RelativeTo(std::string_view kind, const std::string& key, bool object) {
  if (object) {
    if (key == "textrect" || key.ends_with("point")) return "skinrect";
    if (key == "frametextrect") return "framerect";
    return {};
  }
  static const std::set<std::string> onSkinRect = {
      "lefttoppoint", "righttoppoint", "leftbottompoint", "rightbottompoint", "clientrect", "captionrect",
      "checkimagearea", "textarea", "trackarea", "upbuttonrect", "progressarea",
      "trackbuttonrect", "itemsrect", "closebuttonrect", "hrollbuttonrect", "vrollbuttonrect"};
  if (key == "buttonrect") return kind == "trackbar" ? "" : "skinrect";
  // The pressed button of edits and combo boxes is a look in the picture;
  // elsewhere "downbuttonrect" is the place of the decreasing arrow.
  if (key == "downbuttonrect") {
    return kind == "edit" || kind == "memo" || kind == "combobox" ? std::string() : std::string("skinrect");
  }
  if (onSkinRect.count(key)) return "skinrect";
  if (key == "rollhcaptionrect" || key == "hrestorebuttonrect") return "rollhskinrect";
  if (key == "rollvcaptionrect" || key == "vrestorebuttonrect") return "rollvskinrect";
  if (key == "itemtextrect" || key == "itemcheckrect") return "itemrect";
  if (key == "fixedcelltextrect") return "fixedcellrect";
  if (key == "celltextrect") return "selectcellrect";
  if (key == "frametextrect") return "framerect";
  return {};
}

struct Geometry {
  std::map<std::string, gfx::Rect> Rects;
  std::map<std::string, gfx::Point> Points;
};

// Every rectangle and point a loaded section writes back, so that a key
// the reader knows cannot be left out of the check.
template <class Section>
Geometry GeometryOf(const Section& section, const std::string& name) {
  core::TMemIniFile ini;
  section.SaveToIni(ini);
  Geometry geometry;
  for (const std::string& key : ini.ReadSection(name)) {
    const std::string value = ini.ReadString(name, key, "");
    if (key.ends_with("point")) {
      geometry.Points[key] = skin::ParsePoint(value, name, key);
    } else if (key.ends_with("rect") || key.ends_with("rsect") || key.ends_with("area")) {
      geometry.Rects[key] = skin::ParseRect(value, name, key);
    }
  }
  return geometry;
}

bool IsNull(const gfx::Rect& r) { return r.Width() < 1 || r.Height() < 1; }

void ExpectInside(const gfx::Rect& r, int width, int height, const std::string& what) {
  if (IsNull(r)) return;
  EXPECT_TRUE(r.Left >= 0 && r.Top >= 0 && r.Right <= width && r.Bottom <= height)
      << what << " = " << Text(r) << " leaves " << width << " x " << height;
}

void ExpectInside(const gfx::Point& p, int width, int height, const std::string& what) {
  if (p.X == 0 || p.Y == 0) return;
  EXPECT_TRUE(p.X > 0 && p.Y > 0 && p.X <= width && p.Y <= height)
      << what << " = " << p.X << "," << p.Y << " leaves " << width << " x " << height;
}

// Checks a section's geometry: relative values against their base,
// everything else against the picture.
void CheckGeometry(const Geometry& geometry, const std::string& name, std::string_view kind, bool object,
                   const gfx::Bitmap* picture, const gfx::Bitmap* skinRectPicture) {
  for (const auto& [key, rect] : geometry.Rects) {
    const std::string base = RelativeTo(kind, key, object);
    const std::string what = name + "." + key;
    if (!base.empty()) {
      const gfx::Rect origin = geometry.Rects.count(base) ? geometry.Rects.at(base) : gfx::Rect{};
      if (!IsNull(rect)) {
        ASSERT_FALSE(IsNull(origin)) << what << " is relative to an empty " << base;
      }
      ExpectInside(rect, origin.Width(), origin.Height(), what);
      continue;
    }
    const gfx::Bitmap* target = key == "skinrect" ? skinRectPicture : picture;
    if (IsNull(rect)) continue;
    ASSERT_NE(target, nullptr) << what << " names no picture";
    ExpectInside(rect, target->Width(), target->Height(), what);
  }
  for (const auto& [key, point] : geometry.Points) {
    const gfx::Rect origin = geometry.Rects.count("skinrect") ? geometry.Rects.at("skinrect") : gfx::Rect{};
    ExpectInside(point, origin.Width(), origin.Height(), name + "." + key);
  }
}

TEST_F(StoredSkinResource, EveryRectangleAndPointLiesInsideItsPicture) {
  const auto activeOrNull = [](int index) -> const gfx::Bitmap* {
    if (index < 0 || index >= int(Data->ActivePictures().size())) return nullptr;
    return &Active(index);
  };
  const gfx::Bitmap& frame = Data->Picture();
  const Geometry form = GeometryOf(Data->FormInfo(), "FORMINFO");
  for (const auto& [key, rect] : form.Rects) ExpectInside(rect, frame.Width(), frame.Height(), "FORMINFO." + key);
  for (const auto& [key, point] : form.Points) ExpectInside(point, frame.Width(), frame.Height(), "FORMINFO." + key);

  const auto& popup = Data->PopupWindow();
  const auto& hint = Data->HintWindow();
  for (const auto& [name, geometry, window, mask] :
       {std::make_tuple(std::string("POPUPWINDOW"), GeometryOf(popup, "POPUPWINDOW"), popup.WindowPictureIndex,
                        popup.MaskPictureIndex),
        std::make_tuple(std::string("HINTWINDOW"), GeometryOf(hint, "HINTWINDOW"), hint.WindowPictureIndex,
                        hint.MaskPictureIndex)}) {
    const gfx::Bitmap* picture = activeOrNull(window);
    const gfx::Bitmap* maskPicture = activeOrNull(mask);
    ASSERT_NE(picture, nullptr) << name;
    ASSERT_NE(maskPicture, nullptr) << name;
    EXPECT_EQ(picture->Dimensions(), maskPicture->Dimensions()) << name << ": window and mask differ in size";
    for (const auto& [key, rect] : geometry.Rects) ExpectInside(rect, picture->Width(), picture->Height(), name + "." + key);
    for (const auto& [key, point] : geometry.Points) {
      ExpectInside(point, picture->Width(), picture->Height(), name + "." + key);
    }
  }

  for (const auto& object : Data->SkinObjects()) {
    const gfx::Bitmap* active = activeOrNull(object->ActivePictureIndex);
    const gfx::Bitmap* skinRectPicture = object->SkinRectInAPicture ? active : &frame;
    CheckGeometry(GeometryOf(*object, object->SectionName), object->SectionName, object->KindWord(), true, active,
                  skinRectPicture);
  }
  for (const auto& control : Data->SkinControls()) {
    const gfx::Bitmap* picture = activeOrNull(control->PictureIndex);
    CheckGeometry(GeometryOf(*control, control->SectionName), control->SectionName, control->KindWord(), false,
                  picture, picture);
  }
  // Keys no class reads are still rectangles of their section's picture.
  for (const std::string name : {"toolpanel", "panel", "groupbox", "statusbar", "rolluppanel", "bigtoolpanel"}) {
    const gfx::Bitmap* picture = activeOrNull(Ini->ReadInteger(name, "pictureindex", -1));
    ASSERT_NE(picture, nullptr) << name;
    for (const char* key : {"rollupmarkerrect", "restoremarkerrect"}) {
      ExpectInside(skin::ReadRect(*Ini, name, key), picture->Width(), picture->Height(), name + "." + key);
    }
  }
}

// --- seams --------------------------------------------------------------------

// Tiled parts repeat: a part is seamless when it does not change along the
// direction it is tiled in.
enum class Along { X, Y, Both };

void ExpectUniform(const gfx::Bitmap& picture, const gfx::Rect& part, Along along, const std::string& what) {
  if (IsNull(part)) return;
  ASSERT_TRUE(part.Left >= 0 && part.Top >= 0 && part.Right <= picture.Width() && part.Bottom <= picture.Height())
      << what << " " << Text(part);
  for (int y = part.Top; y < part.Bottom; ++y) {
    for (int x = part.Left; x < part.Right; ++x) {
      const gfx::Pixel p = picture.GetPixel(x, y);
      if (along != Along::Y) {
        ASSERT_EQ(p, picture.GetPixel(part.Left, y)) << what << " " << Text(part) << " changes across at " << x
                                                     << "," << y;
      }
      if (along != Along::X) {
        ASSERT_EQ(p, picture.GetPixel(x, part.Top)) << what << " " << Text(part) << " changes down at " << x << ","
                                                    << y;
      }
    }
  }
}

// The tiled parts of a nine-part image (or of a three-part one when the
// bottom-right point, or also the right-top point, is null).
void ExpectSeamless(const gfx::Bitmap& picture, const gfx::Rect& image, gfx::Point lt, gfx::Point rt, gfx::Point lb,
                    gfx::Point rb, const gfx::Rect& client, bool centreTiled, const std::string& what) {
  const int w = image.Width();
  const int h = image.Height();
  auto at = [&](int left, int top, int right, int bottom) {
    return gfx::Rect{image.Left + left, image.Top + top, image.Left + right, image.Top + bottom};
  };
  if (rb.X != 0 && rb.Y != 0) {
    ExpectUniform(picture, at(lt.X, 0, rt.X, client.Top), Along::X, what + " top middle");
    ExpectUniform(picture, at(lb.X, client.Bottom, rb.X, h), Along::X, what + " bottom middle");
    ExpectUniform(picture, at(0, lt.Y, client.Left, lb.Y), Along::Y, what + " left middle");
    ExpectUniform(picture, at(client.Right, rt.Y, w, rb.Y), Along::Y, what + " right middle");
    if (centreTiled) ExpectUniform(picture, at(client.Left, client.Top, client.Right, client.Bottom), Along::Both,
                                   what + " centre");
  } else if (rt.X != 0 || rt.Y != 0) {
    ExpectUniform(picture, at(lt.X, 0, rt.X, h), Along::X, what + " middle");
  } else if (lb.X != 0 || lb.Y != 0) {
    ExpectUniform(picture, at(0, lt.Y, w, lb.Y), Along::Y, what + " middle");
  }
}

void ExpectThreePartSeamless(const gfx::Bitmap& picture, const gfx::Rect& image, int leftEnd, int rightEnd,
                             const std::string& what) {
  ExpectUniform(picture, gfx::Rect{image.Left + leftEnd, image.Top, image.Right - rightEnd, image.Bottom}, Along::X,
                what);
}

TEST_F(StoredSkinResource, TiledPartsAreSeamless) {
  const auto& info = Data->FormInfo();
  ExpectSeamless(Data->Picture(), Data->Picture().Bounds(), info.LeftTopPoint, info.RightTopPoint,
                 info.LeftBottomPoint, info.RightBottomPoint, info.ClientRect, true, "frame");
  ExpectSeamless(Data->Mask(), Data->Mask().Bounds(), info.LeftTopPoint, info.RightTopPoint, info.LeftBottomPoint,
                 info.RightBottomPoint, info.MaskRectArea, false, "frame mask");
  const auto& popup = Data->PopupWindow();
  for (int index : {popup.WindowPictureIndex, popup.MaskPictureIndex}) {
    ExpectSeamless(Active(index), Active(index).Bounds(), popup.LeftTopPoint, popup.RightTopPoint,
                   popup.LeftBottomPoint, popup.RightBottomPoint, popup.ItemsRect, true, "popup window");
  }
  const auto& hint = Data->HintWindow();
  for (int index : {hint.WindowPictureIndex, hint.MaskPictureIndex}) {
    ExpectSeamless(Active(index), Active(index).Bounds(), hint.LeftTopPoint, hint.RightTopPoint,
                   hint.LeftBottomPoint, hint.RightBottomPoint, hint.ClientRect, true, "hint window");
  }

  for (const auto& object : Data->SkinObjects()) {
    const gfx::Bitmap* active = object->ActivePictureIndex >= 0 ? &Active(object->ActivePictureIndex) : nullptr;
    if (const auto* item = dynamic_cast<const skin::TskDataSkinMenuItem*>(object.get())) {
      for (const gfx::Rect& r : {item->SkinRect, item->ActiveSkinRect}) {
        ExpectThreePartSeamless(*active, r, item->ItemLeftOffset, item->ItemRightOffset, "menu item " + Text(r));
      }
      ExpectThreePartSeamless(*active, item->DividerRect, item->DividerLeftOffset, item->DividerRightOffset,
                              "menu divider");
    }
    if (const auto* item = dynamic_cast<const skin::TskDataSkinMainMenuItem*>(object.get())) {
      for (const gfx::Rect& r : {item->SkinRect, item->ActiveSkinRect, item->DownRect}) {
        ExpectThreePartSeamless(*active, r, item->ItemLeftOffset, item->ItemRightOffset, "menu bar item " + Text(r));
      }
    }
  }

  for (const auto& control : Data->SkinControls()) {
    if (control->PictureIndex < 0) continue;
    const gfx::Bitmap& picture = Active(control->PictureIndex);
    const std::string& name = control->SectionName;
    if (const auto* custom = dynamic_cast<const skin::TskDataSkinCustomControl*>(control.get())) {
      if (custom->StretchEffect || IsNull(custom->SkinRect)) continue;
      // The section's other looks of the same size are cut the same way.
      std::vector<gfx::Rect> looks = {custom->SkinRect};
      const Geometry geometry = GeometryOf(*custom, name);
      for (const char* key : {"activeskinrect", "downskinrect", "disabledskinrect"}) {
        const auto found = geometry.Rects.find(key);
        if (found != geometry.Rects.end() && found->second.Width() == custom->SkinRect.Width() &&
            found->second.Height() == custom->SkinRect.Height()) {
          looks.push_back(found->second);
        }
      }
      for (const gfx::Rect& look : looks) {
        ExpectSeamless(picture, look, custom->LeftTopPoint, custom->RightTopPoint, custom->LeftBottomPoint,
                       custom->RightBottomPoint, custom->ClientRect, true, name + " " + Text(look));
      }
    }
    if (const auto* bar = dynamic_cast<const skin::TskDataSkinScrollBarControl*>(control.get())) {
      const bool vertical = bar->SkinRect.Height() > bar->SkinRect.Width();
      for (const gfx::Rect& thumb : {bar->ThumbRect, bar->ActiveThumbRect, bar->DownThumbRect}) {
        const gfx::Rect middle = vertical ? gfx::Rect{thumb.Left, thumb.Top + bar->ThumbOffset1, thumb.Right,
                                                      thumb.Bottom - bar->ThumbOffset2}
                                          : gfx::Rect{thumb.Left + bar->ThumbOffset1, thumb.Top,
                                                      thumb.Right - bar->ThumbOffset2, thumb.Bottom};
        ExpectUniform(picture, middle, vertical ? Along::Y : Along::X, name + " thumb");
      }
    }
    if (const auto* tab = dynamic_cast<const skin::TskDataSkinTabControl*>(control.get())) {
      ExpectSeamless(picture, tab->SkinRect, tab->LeftTopPoint, tab->RightTopPoint, tab->LeftBottomPoint,
                     tab->RightBottomPoint, tab->ClientRect, true, "page frame");
      for (const gfx::Rect& r : {tab->TabRect, tab->ActiveTabRect, tab->FocusTabRect, tab->MouseInTabRect}) {
        ExpectThreePartSeamless(picture, r, tab->TabLeftOffset, tab->TabRightOffset, "tab " + Text(r));
      }
      ExpectUniform(picture, tab->TabsBGRect, Along::Both, "tab strip");
    }
    if (const auto* list = dynamic_cast<const skin::TskDataSkinListBox*>(control.get())) {
      for (const gfx::Rect& r : {list->ItemRect, list->ActiveItemRect, list->FocusItemRect}) {
        ExpectThreePartSeamless(picture, r, list->ItemLeftOffset, list->ItemRightOffset, name + " item");
      }
    }
    if (const auto* grid = dynamic_cast<const skin::TskDataSkinGridControl*>(control.get())) {
      ExpectThreePartSeamless(picture, grid->FixedCellRect, grid->FixedCellLeftOffset, grid->FixedCellRightOffset,
                              "fixed cell");
      for (const gfx::Rect& r : {grid->SelectCellRect, grid->FocusCellRect}) {
        ExpectThreePartSeamless(picture, r, grid->CellLeftOffset, grid->CellRightOffset, "cell " + Text(r));
      }
    }
  }
}

// --- masks and marks --------------------------------------------------------------

TEST_F(StoredSkinResource, MasksAreBlackInsideAndCutTheCorners) {
  const gfx::Bitmap& mask = Data->Mask();
  const gfx::Rect area = Data->FormInfo().MaskRectArea;
  for (int y = 0; y < mask.Height(); ++y) {
    for (int x = 0; x < mask.Width(); ++x) {
      const gfx::Pixel p = mask.GetPixel(x, y) & 0xFFFFFF;
      ASSERT_TRUE(p == 0 || p == 0xFFFFFF) << x << "," << y;
      // The region always holds the mask area; the mask agrees with it.
      if (area.Contains(gfx::Point{x, y})) {
        ASSERT_EQ(p, 0u) << "mask.bmp white inside maskrectarea at " << x << "," << y;
      }
    }
  }
  for (const gfx::Bitmap* picture : {&Data->Mask(), &Active(6), &Active(7)}) {
    const int w = picture->Width();
    const int h = picture->Height();
    EXPECT_EQ(picture->GetPixel(0, 0) & 0xFFFFFF, 0xFFFFFFu) << "rounded corner";
    EXPECT_EQ(picture->GetPixel(w - 1, 0) & 0xFFFFFF, 0xFFFFFFu) << "rounded corner";
    EXPECT_EQ(picture->GetPixel(w / 2, h / 2) & 0xFFFFFF, 0u);
    EXPECT_EQ(picture->GetPixel(w / 2, 0) & 0xFFFFFF, 0u) << "the top edge is inside";
  }
}

TEST_F(StoredSkinResource, CheckMarksKeepTheirBoxWhenDrawnTransparently) {
  // A flat check box draws its mark with the bottom-left pixel's colour
  // left out: only the corners may have it.
  const gfx::Bitmap& controls = Active(4);
  for (const char* name : {"checkbox", "radiobox"}) {
    for (const char* key : {"checkimagerect", "uncheckimagerect"}) {
      SCOPED_TRACE(std::string(name) + "." + key);
      const gfx::Rect r = skin::ReadRect(*Ini, name, key);
      const gfx::Pixel keyColour = controls.GetPixel(r.Left, r.Bottom - 1);
      const gfx::Rect inner = r.Inflate(-2, -2);
      for (int y = inner.Top; y < inner.Bottom; ++y) {
        for (int x = inner.Left; x < inner.Right; ++x) ASSERT_NE(controls.GetPixel(x, y), keyColour) << x << "," << y;
      }
      // The box's edge midpoints are drawn too.
      EXPECT_NE(controls.GetPixel(r.Left, r.Top + r.Height() / 2), keyColour);
      EXPECT_NE(controls.GetPixel(r.Left + r.Width() / 2, r.Bottom - 1), keyColour);
    }
  }
}

}  // namespace
