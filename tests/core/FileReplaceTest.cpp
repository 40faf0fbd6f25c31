#include "core/FileReplace.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "core/Exception.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Runs body in a child process whose files may not grow past maxFileBytes
// (the kernel's quota on file size, which needs no privileges), as a user
// other than root when there is one, so that directory permissions hold.
// The child's exit status: 0 when body raised EFCreateError naming the
// reason, 1 when it returned, 2 for anything else.
int RunLimited(std::size_t maxFileBytes, const std::string& reason, const std::function<void()>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0) {
      const passwd* nobody = ::getpwnam("nobody");
      if (nobody == nullptr || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0) ::_exit(3);
    }
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{maxFileBytes, maxFileBytes};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    try {
      body();
    } catch (const core::EFCreateError& error) {
      ::_exit(std::string(error.what()).find(reason) != std::string::npos ? 0 : 2);
    } catch (...) {
      ::_exit(2);
    }
    ::_exit(1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class FileReplace : public ::testing::Test {
 protected:
  FileReplace() {
    char pattern[] = "/tmp/ostvane-replace-XXXXXX";
    Dir = ::mkdtemp(pattern);
    // The unprivileged child must reach and write it.
    fs::permissions(Dir, fs::perms::all);
  }
  ~FileReplace() override {
    std::error_code ignored;
    fs::permissions(Dir, fs::perms::all, ignored);
    fs::remove_all(Dir, ignored);
  }

  fs::path Dir;
};

TEST_F(FileReplace, ReplacesTheFileAndKeepsItsPermissionsAndLinks) {
  const fs::path file = Dir / "mac.txt";
  core::WriteFileReplacing(file.string(), "first\r\n");
  EXPECT_EQ(ReadFile(file), "first\r\n");

  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_directory(Dir / "real");
  fs::rename(file, Dir / "real" / "mac.txt");
  fs::create_symlink("real/mac.txt", file);
  core::WriteFileReplacing(file.string(), "second\r\n");
  EXPECT_TRUE(fs::is_symlink(file));
  EXPECT_EQ(ReadFile(Dir / "real" / "mac.txt"), "second\r\n");
  EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(Names(Dir / "real"), std::vector<std::string>{"mac.txt"});
}

TEST_F(FileReplace, AFailedWriteKeepsTheOldFileByteForByte) {
  const fs::path file = Dir / "mac.txt";
  const std::string old = "192.168.1.7:02-00-00-00-01-07\r\n";
  WriteFile(file, old);
  fs::permissions(file, fs::perms::all);
  const std::string longer(4096, 'x');
  EXPECT_EQ(RunLimited(100, "File too large", [&] { core::WriteFileReplacing(file.string(), longer); }), 0);
  EXPECT_EQ(ReadFile(file), old);
  EXPECT_EQ(Names(Dir), std::vector<std::string>{"mac.txt"}) << "the temporary file is removed";
}

// A directory that takes no new file: the file is written where it is, and
// a write that does not fit puts the old content back.
TEST_F(FileReplace, WritesInPlaceWhereTheDirectoryForbidsNewFiles) {
  const fs::path file = Dir / "mac.txt";
  WriteFile(file, "old\r\n");
  fs::permissions(file, fs::perms::all);
  fs::permissions(Dir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                           fs::perms::others_read | fs::perms::others_exec);
  const auto inode = [&] {
    struct stat info {};
    ::stat(file.c_str(), &info);
    return info.st_ino;
  };
  const auto before = inode();
  EXPECT_EQ(RunLimited(1000, "", [&] { core::WriteFileReplacing(file.string(), "new\r\n"); }), 1);
  EXPECT_EQ(ReadFile(file), "new\r\n");
  EXPECT_EQ(inode(), before);

  EXPECT_EQ(RunLimited(1000, "File too large", [&] { core::WriteFileReplacing(file.string(), std::string(4096, 'x')); }),
            0);
  EXPECT_EQ(ReadFile(file), "new\r\n");

  // Neither a new file nor a writable old one: the creation error.
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(RunLimited(1000, "Permission denied", [&] { core::WriteFileReplacing(file.string(), "x"); }), 0);
  EXPECT_EQ(RunLimited(1000, "Cannot create file \"" + (Dir / "absent.txt").string() + "\". Permission denied",
                       [&] { core::WriteFileReplacing((Dir / "absent.txt").string(), "x"); }),
            0);
  EXPECT_EQ(Names(Dir), std::vector<std::string>{"mac.txt"});
}

}  // namespace
