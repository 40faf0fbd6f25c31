#include "MainWindowSupport.h"

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/Exception.h"

namespace app::testing {
namespace {

std::vector<std::string> Lines(std::initializer_list<int> hosts, const char* mac = nullptr) {
  std::vector<std::string> lines;
  char text[64];
  for (int host : hosts) {
    if (mac) {
      std::snprintf(text, sizeof text, "192.168.1.%d:%s", host, mac);
    } else {
      std::snprintf(text, sizeof text, "192.168.1.%d:02-00-00-00-01-%02X", host, host);
    }
    lines.push_back(text);
  }
  return lines;
}

std::vector<std::string> Range(int first, int last) {
  std::vector<std::string> addresses;
  for (int host = first; host <= last; ++host) addresses.push_back("192.168.1." + std::to_string(host));
  return addresses;
}

class MainWindowScanTest : public MainWindowTest {
 protected:
  void StartOnTheTestLan() {
    Start();
    AnswerHosts({1, 7, 20, 21, 100, 254});
  }
};

// ---- Scanning through the window ----

TEST_F(MainWindowScanTest, AScanOfTheDefaultRangeLogsTheAnsweringHostsInOrder) {
  StartOnTheTestLan();
  ClickOn(Form->Star);
  EXPECT_EQ(Resolver.RequestTexts(), Range(1, 254));
  EXPECT_EQ(LogLines(), Lines({1, 7, 20, 21, 100, 254}));
  EXPECT_EQ(ShownIcon()->Balloon, std::nullopt);
}

TEST_F(MainWindowScanTest, UntickingTheBoxLogsTheSilentHostsWithZeroes) {
  StartOnTheTestLan();
  ClickOn(Form->MacList);
  ASSERT_FALSE(Form->MacList->Checked());
  Form->MACStarIP->SetText("5");
  Form->MACEndIP->SetText("8");
  ClickOn(Form->Star);
  EXPECT_EQ(LogLines(), (std::vector<std::string>{"192.168.1.5:00-00-00-00-00-00", "192.168.1.6:00-00-00-00-00-00",
                                                  "192.168.1.7:02-00-00-00-01-07", "192.168.1.8:00-00-00-00-00-00"}));
}

TEST_F(MainWindowScanTest, TheOctetEditsMakeTheAddresses) {
  Start();
  Resolver.SetAnswer("10.0.42.3", platform::MacAddress::FromBytes({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}));
  Form->MACIPA->SetText("10");
  Form->MACIPB->SetText("0");
  Form->MACIPC->SetText("42");
  Form->MACStarIP->SetText("3");
  Form->MACEndIP->SetText("3");
  ClickOn(Form->Star);
  EXPECT_EQ(Resolver.RequestTexts(), std::vector<std::string>{"10.0.42.3"});
  EXPECT_EQ(LogLines(), std::vector<std::string>{"10.0.42.3:00-1A-2B-3C-4D-5E"});
}

TEST_F(MainWindowScanTest, StopDuringTheLookupOf21WritesItAndLooksUpOneMore) {
  StartOnTheTestLan();
  // The user presses stop while 21 is being looked up; the window handles
  // the click between two lookups.
  Resolver.SetRequestHook([this](std::uint32_t address) {
    if (address == platform::InetAddr("192.168.1.21")) {
      Headless->AdvanceClock(1000);
      Headless->Click(Centre(Form->MACStop));
    }
  });
  ClickOn(Form->Star);
  EXPECT_EQ(Resolver.RequestTexts(), Range(1, 22));
  EXPECT_EQ(LogLines(), Lines({1, 7, 20, 21}));
  EXPECT_TRUE(Form->Engine().ScanStopRequested());

  // The next scan starts afresh.
  Resolver.SetRequestHook(nullptr);
  Resolver.ClearRequests();
  Form->MACStarIP->SetText("100");
  Form->MACEndIP->SetText("100");
  ClickOn(Form->Star);
  EXPECT_EQ(Resolver.RequestTexts(), Range(100, 100));
  EXPECT_EQ(LogLines(), Lines({1, 7, 20, 21, 100}));
}

// Closing the window (Alt+F4) while 21 is looked up asks the program to
// end; the scan still looks up every address left and logs their lines,
// and the message loop ends only once the click handler has returned.
TEST_F(MainWindowScanTest, ClosingDuringAScanEndsTheProgramAfterTheScan) {
  StartOnTheTestLan();
  bool terminatedBeforeTheLastLookup = false;
  bool lastLookupDone = false;
  Resolver.SetRequestHook([&](std::uint32_t address) {
    if (address == platform::InetAddr("192.168.1.21")) {
      Headless->PressKey(platform::VK_MENU);
      Headless->StrokeKey(platform::VK_F4);
      Headless->ReleaseKey(platform::VK_MENU);
    }
    if (address == platform::InetAddr("192.168.1.254")) {
      terminatedBeforeTheLastLookup = App->Terminated();
      lastLookupDone = true;
    }
  });
  Headless->AdvanceClock(1000);
  Headless->Click(Centre(Form->Star));
  App->Run();
  EXPECT_TRUE(lastLookupDone) << "the loop ended before the scan did";
  EXPECT_TRUE(terminatedBeforeTheLastLookup) << "the close was not handled during the scan";
  EXPECT_TRUE(App->Terminated());
  EXPECT_EQ(Resolver.RequestTexts(), Range(1, 254));
  EXPECT_EQ(LogLines(), Lines({1, 7, 20, 21, 100, 254}));
}

TEST_F(MainWindowScanTest, AReversedRangeShowsTheWarningBalloonOnly) {
  StartOnTheTestLan();
  Form->MACStarIP->SetText("10");
  Form->MACEndIP->SetText("9");
  ClickOn(Form->Star);
  EXPECT_TRUE(Resolver.Requests().empty());
  EXPECT_TRUE(LogLines().empty());
  ASSERT_NE(ShownIcon(), nullptr);
  ASSERT_TRUE(ShownIcon()->Balloon.has_value());
  EXPECT_EQ(ShownIcon()->Balloon->Title, "Ostvane");
  EXPECT_EQ(ShownIcon()->Balloon->Text, "IP输入错误,请重新输入!");
  EXPECT_EQ(ShownIcon()->Balloon->Kind, platform::bkWarning);
  EXPECT_EQ(ShownIcon()->Balloon->Timeout, 10000u);
}

TEST_F(MainWindowScanTest, AnEmptyHostEditShowsTheConversionErrorAndTheProgramGoesOn) {
  StartOnTheTestLan();
  Form->MACStarIP->SetText("");
  // The handler's error reaches the application, which names it.
  std::vector<std::string> errors;
  App->OnException = [&](core::TComponent*, const std::exception& error) { errors.push_back(error.what()); };
  ClickOn(Form->Star);
  EXPECT_EQ(errors, std::vector<std::string>{"'' is not a valid integer value"});
  EXPECT_TRUE(Resolver.Requests().empty());

  // Without a handler of its own it is the standard error box, titled
  // with the program's name; Enter closes it.
  App->OnException = nullptr;
  WatchBoxes();
  Headless->AdvanceClock(1000);
  Headless->Click(Centre(Form->Star));
  Headless->StrokeKey(platform::VK_RETURN);
  App->ProcessMessages();
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Caption, "Ostvane");
  EXPECT_EQ(Boxes[0].Buttons, std::vector<std::string>{"OK"});
  EXPECT_EQ(ui::Screen->ActiveForm(), Form);

  // And the next scan runs.
  Form->MACStarIP->SetText("7");
  Form->MACEndIP->SetText("7");
  ClickOn(Form->Star);
  EXPECT_EQ(LogLines(), Lines({7}));
}

// ---- Clear and save ----

class MainWindowSaveTest : public MainWindowTest {
 protected:
  // Runs a scan of first..last with the hosts of the test LAN answering.
  void Scan(int first, int last) {
    Form->MACStarIP->SetText(std::to_string(first));
    Form->MACEndIP->SetText(std::to_string(last));
    ClickOn(Form->Star);
  }
  // Saves through the button; the error the handler raised, if any.
  std::string Save() {
    std::string error;
    App->OnException = [&](core::TComponent*, const std::exception& e) { error = e.what(); };
    ClickOn(Form->MacSave);
    App->OnException = nullptr;
    return error;
  }
  std::string SavedFile() const { return TempDir + "/mac.txt"; }
};

TEST_F(MainWindowSaveTest, SavedLinesEndWithCrLfAndASecondSaveReplacesTheFirst) {
  Start();
  AnswerHosts({1, 7, 20});
  Scan(1, 20);
  EXPECT_EQ(Save(), "");
  EXPECT_EQ(Form->LogFileName(), SavedFile());
  EXPECT_EQ(ReadFile(SavedFile()),
            "192.168.1.1:02-00-00-00-01-01\r\n192.168.1.7:02-00-00-00-01-07\r\n192.168.1.20:02-00-00-00-01-14\r\n");

  ClickOn(Form->MacClear);
  Scan(7, 7);
  EXPECT_EQ(Save(), "");
  EXPECT_EQ(ReadFile(SavedFile()), "192.168.1.7:02-00-00-00-01-07\r\n");
  EXPECT_EQ(LogLines(), Lines({7})) << "saving leaves the log as it was";
}

TEST_F(MainWindowSaveTest, AnEmptyLogTruncatesTheFile) {
  Start();
  WriteFile(SavedFile(), "an older log\r\n");
  EXPECT_EQ(Save(), "");
  ASSERT_TRUE(std::filesystem::exists(SavedFile()));
  EXPECT_EQ(std::filesystem::file_size(SavedFile()), 0u);
}

TEST_F(MainWindowSaveTest, ADirectoryWithSpacesInItsNameWorks) {
  const std::string directory = TempDir + "/Program Files/Ost vane";
  std::filesystem::create_directories(directory);
  Start(directory);
  AnswerHosts({254});
  Scan(254, 254);
  EXPECT_EQ(Save(), "");
  EXPECT_EQ(ReadFile(directory + "/mac.txt"), "192.168.1.254:02-00-00-00-01-FE\r\n");
}

TEST_F(MainWindowSaveTest, AnUnwritableDirectoryReportsTheFileAndKeepsTheLog) {
  // A path through a regular file can be created by nobody, root included.
  const std::string notADirectory = TempDir + "/plain-file";
  WriteFile(notADirectory, "x");
  Start(notADirectory);
  AnswerHosts({7});
  Scan(7, 7);
  EXPECT_EQ(Save(), "Cannot create file \"" + notADirectory + "/mac.txt\". Not a directory");
  EXPECT_EQ(LogLines(), Lines({7}));

  // The standard error box shows it, and the program goes on.
  WatchBoxes();
  Headless->AdvanceClock(1000);
  Headless->Click(Centre(Form->MacSave));
  Headless->StrokeKey(platform::VK_RETURN);
  App->ProcessMessages();
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Caption, "Ostvane");
  EXPECT_EQ(LogLines(), Lines({7}));
}

TEST_F(MainWindowSaveTest, AMissingDirectoryIsReportedToo) {
  Start(TempDir + "/gone");
  EXPECT_EQ(Save(), "Cannot create file \"" + TempDir + "/gone/mac.txt\". No such file or directory");
}

TEST_F(MainWindowSaveTest, AWriteThatFailsIsReportedAndTheLinkStays) {
  // mac.txt leads to a device that is always full: it opens, but no byte
  // can be written. A device is written through, never renamed over.
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  std::filesystem::create_symlink("/dev/full", SavedFile());
  Start();
  AnswerHosts({7});
  Scan(7, 7);
  EXPECT_EQ(Save(), "Cannot create file \"" + SavedFile() + "\". No space left on device");
  EXPECT_TRUE(std::filesystem::is_symlink(SavedFile()));
  EXPECT_EQ(LogLines(), Lines({7}));
}

// mac.txt leads into a small file system that is full: the save fails and
// the log saved before is still there, byte for byte.
TEST_F(MainWindowSaveTest, AFullFileSystemKeepsThePreviousLog) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a file system needs root";
  const std::string full = TempDir + "/full";
  std::filesystem::create_directory(full);
  if (::mount("tmpfs", full.c_str(), "tmpfs", 0, "size=64k") != 0) GTEST_SKIP() << "cannot mount tmpfs here";
  const std::string previous = "192.168.1.1:02-00-00-00-01-01\r\n";
  WriteFile(full + "/mac.txt", previous);
  {
    // Every block the file system has left goes to a filler.
    std::FILE* filler = std::fopen((full + "/filler").c_str(), "wb");
    const std::string block(4096, 'f');
    while (filler && std::fwrite(block.data(), 1, block.size(), filler) == block.size() && std::fflush(filler) == 0) {
    }
    if (filler) std::fclose(filler);
  }
  std::filesystem::create_symlink(full + "/mac.txt", SavedFile());
  Start();
  AnswerHosts({7, 20});
  Scan(1, 254);
  const std::string error = Save();
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(full)) names.push_back(entry.path().filename().string());
  const std::string kept = ReadFile(full + "/mac.txt");
  ::umount2(full.c_str(), MNT_DETACH);

  EXPECT_EQ(error, "Cannot create file \"" + SavedFile() + "\". No space left on device");
  EXPECT_EQ(kept, previous);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"filler", "mac.txt"})) << "the temporary file is removed";
  EXPECT_EQ(LogLines(), Lines({7, 20}));
}

TEST_F(MainWindowSaveTest, ClearAndSaveDuringAScanActOnTheLinesOfThatMoment) {
  Start();
  AnswerHosts({1, 2, 3, 4});
  Resolver.SetRequestHook([this](std::uint32_t address) {
    if (address == platform::InetAddr("192.168.1.3")) {
      // Both clicks are handled after this lookup, before its line.
      Headless->AdvanceClock(1000);
      Headless->Click(Centre(Form->MacSave));
      Headless->AdvanceClock(1000);
      Headless->Click(Centre(Form->MacClear));
    }
  });
  Scan(1, 4);
  EXPECT_EQ(ReadFile(SavedFile()), "192.168.1.1:02-00-00-00-01-01\r\n192.168.1.2:02-00-00-00-01-02\r\n");
  EXPECT_EQ(LogLines(), Lines({3, 4}));
}

}  // namespace
}  // namespace app::testing
