#include "VirtualLan.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>

extern char** environ;

namespace netns {
namespace {

const std::string LanScript = std::string(OSTVANE_SOURCE_DIR) + "/scripts/lan.sh";

// Held while a test uses the LAN; the benchmark script takes the same lock.
const char* LockPath() {
  return access("/run/lock", W_OK) == 0 ? "/run/lock/ostvane-lan.lock" : "/tmp/ostvane-lan.lock";
}

std::vector<std::string> Joined(std::vector<std::string> head, const std::vector<std::string>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

}  // namespace

CommandResult RunCommand(const std::vector<std::string>& command, int timeoutSeconds) {
  // timeout(1) bounds the run, so a hung command fails the test instead of
  // hanging it.
  const std::vector<std::string> full =
      Joined({"timeout", "--kill-after=5", std::to_string(timeoutSeconds)}, command);
  std::vector<char*> arguments;
  for (const auto& argument : full) arguments.push_back(const_cast<char*>(argument.c_str()));
  arguments.push_back(nullptr);

  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::system_error(errno, std::generic_category(), "pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  pid_t child = -1;
  const int spawned = posix_spawnp(&child, arguments[0], &actions, nullptr, arguments.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  CommandResult result;
  if (spawned != 0) {
    close(pipeEnds[0]);
    result.ExitStatus = 127;
    return result;
  }
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(pipeEnds[0], buffer, sizeof buffer);
    if (got > 0) {
      result.Output.append(buffer, static_cast<std::size_t>(got));
    } else if (got == 0 || errno != EINTR) {
      break;
    }
  }
  close(pipeEnds[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  result.ExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

// ---- VirtualLan

VirtualLan::~VirtualLan() { Down(); }

std::string VirtualLan::Unavailable() {
  if (geteuid() != 0) return "needs root to build the virtual LAN (network namespaces)";
  if (RunCommand({"ip", "netns", "list"}, 10).ExitStatus != 0) return "ip netns is not available";
  if (RunCommand({"sh", "-c", "command -v setpriv"}, 10).ExitStatus != 0) return "setpriv is not installed";
  if (access(LanScript.c_str(), R_OK) != 0) return "scripts/lan.sh is missing";
  return {};
}

bool VirtualLan::Up() {
  if (FLock < 0) {
    FLock = open(LockPath(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (FLock >= 0) {
      while (flock(FLock, LOCK_EX) != 0 && errno == EINTR) {
      }
    }
  }
  FUp = true;  // a half-built LAN is removed by Down too
  return Script({"up"}).ExitStatus == 0;
}

void VirtualLan::Down() {
  if (FUp) {
    Script({"down"});
    FUp = false;
  }
  if (FLock >= 0) {
    close(FLock);  // releases the lock
    FLock = -1;
  }
}

CommandResult VirtualLan::Script(const std::vector<std::string>& arguments) {
  return RunCommand(Joined({"bash", LanScript}, arguments), 60);
}

CommandResult VirtualLan::InScanner(const std::vector<std::string>& command, int timeoutSeconds) {
  return RunCommand(Joined({"ip", "netns", "exec", ScannerNamespace}, command), timeoutSeconds);
}

CommandResult VirtualLan::AsNobody(const std::vector<std::string>& command, int fileLimit,
                                   int timeoutSeconds) {
  std::vector<std::string> unprivileged =
      Joined({"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"}, command);
  if (fileLimit > 0) {
    // The shell lowers the limit and is replaced by the command.
    unprivileged = Joined({"sh", "-c", "ulimit -n " + std::to_string(fileLimit) + " && exec \"$@\"", "sh"},
                          unprivileged);
  }
  return InScanner(unprivileged, timeoutSeconds);
}

std::string VirtualLan::Neighbours() {
  return RunCommand({"ip", "-n", ScannerNamespace, "neigh", "show", "dev", "lan0"}, 10).Output;
}

// ---- PublicCopy

PublicCopy::PublicCopy(const std::filesystem::path& program) {
  // Not TMPDIR: it may lie inside a folder nobody cannot enter either.
  std::string folder = "/tmp/ostvane-netns.XXXXXX";
  if (!mkdtemp(folder.data())) throw std::system_error(errno, std::generic_category(), "mkdtemp");
  FFolder = folder;
  namespace fs = std::filesystem;
  fs::permissions(FFolder, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec);
  FPath = FFolder / program.filename();
  fs::copy_file(program, FPath);
  fs::permissions(FPath, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec);
}

PublicCopy::~PublicCopy() {
  std::error_code ignored;
  std::filesystem::remove_all(FFolder, ignored);
}

}  // namespace netns
