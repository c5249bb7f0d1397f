// The child process on two pipes: start failures, non-blocking reads, a
// child that has died, reaping, and pipe ends kept out of other children.
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Waits until the child has written at least count bytes, up to two seconds.
bool WaitForBytes(platform::ChildProcess &child, size_t count) {
  for (int i = 0; i < 2000 && child.Available() < count; ++i)
    platform::Sleep(1);
  return child.Available() >= count;
}

// The descriptors above 2 of this process that a child would inherit.
std::string InheritableFds() {
  std::string list;
  DIR *dir = opendir("/proc/self/fd");
  while (dirent *entry = dir ? readdir(dir) : nullptr) {
    const int fd = atoi(entry->d_name);
    if (fd > 2 && fd != dirfd(dir) && !(fcntl(fd, F_GETFD) & FD_CLOEXEC))
      list += (list.empty() ? "" : " ") + std::to_string(fd);
  }
  if (dir)
    closedir(dir);
  return list.empty() ? "none" : list;
}

} // namespace

TEST(ChildProcess, StartFailsForAnythingThatIsNotAProgram) {
  char pattern[] = "/tmp/kelvar-child-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const fs::path folder(pattern);
  std::ofstream(folder / "text") << "not a program\n";
  fs::permissions(folder / "text", fs::perms::owner_all); // executable, but no program

  struct Case {
    fs::path path;
    int error;
  };
  const Case cases[] = {
      {folder / "missing", ENOENT},
      {folder, EACCES},
      {folder / "text", ENOEXEC},
  };
  for (const Case &c : cases) {
    platform::ChildProcess child;
    EXPECT_FALSE(child.Start(c.path.c_str())) << c.path;
    EXPECT_EQ(errno, c.error) << c.path;
    EXPECT_FALSE(child.IsStarted());
    EXPECT_EQ(child.Write("x", 1), 0u);
  }
  fs::remove_all(folder);
}

TEST(ChildProcess, ReadsTakeOnlyWhatIsWaitingAndNeverBlock) {
  platform::ChildProcess child;
  ASSERT_TRUE(child.Start("/bin/cat"));
  char buffer[16];
  EXPECT_EQ(child.Available(), 0u);
  EXPECT_EQ(child.Read(buffer, sizeof(buffer)), 0u); // returns at once with nothing
  EXPECT_FALSE(child.WaitForOutput(20));

  ASSERT_EQ(child.Write("abcdefghijklmnopqrst", 20), 20u);
  ASSERT_TRUE(WaitForBytes(child, 20));
  EXPECT_EQ(child.Read(buffer, 9), 9u);
  EXPECT_EQ(child.Read(buffer, 9), 9u);
  EXPECT_EQ(child.Read(buffer, 9), 2u);
  EXPECT_EQ(std::string(buffer, 2), "st");
  EXPECT_EQ(child.Read(buffer, 9), 0u);
  EXPECT_FALSE(child.OutputEnded());
  child.ClosePipes();
  child.Stop();
}

TEST(ChildProcess, WritingToAChildThatHasEndedFailsWithoutSigpipe) {
  platform::ChildProcess child;
  ASSERT_TRUE(child.Start("/bin/true"));
  // Wait until it has ended, without reaping it: only then are all its pipe
  // ends released (the kernel may close its output before its input).
  siginfo_t info{};
  ASSERT_EQ(waitid(P_PID, id_t(child.Pid()), &info, WEXITED | WNOWAIT), 0);
  ASSERT_TRUE(child.WaitForOutput(0));
  char byte;
  EXPECT_EQ(child.Read(&byte, 1), 0u);
  EXPECT_TRUE(child.OutputEnded());
  // Had SIGPIPE been raised, this test program would have ended here.
  EXPECT_EQ(child.Write("quit\n", 5), 0u);
  EXPECT_EQ(child.Write("quit\n", 5), 0u);
  sigset_t pending;
  sigpending(&pending);
  EXPECT_FALSE(sigismember(&pending, SIGPIPE)); // nothing left to go off later
  child.Stop();
}

TEST(ChildProcess, StopKillsAndReapsOrWaitsForAChildThatEnds) {
  platform::ChildProcess running;
  ASSERT_TRUE(running.Start("/bin/cat")); // would run for ever on an open pipe
  const int pid = running.Pid();
  running.Stop();
  EXPECT_FALSE(running.IsStarted());
  EXPECT_EQ(kill(pid, 0), -1);
  EXPECT_EQ(errno, ESRCH);
  EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), -1); // reaped already: no zombie

  platform::ChildProcess ending;
  ASSERT_TRUE(ending.Start("/bin/true"));
  const uint32_t start = platform::GetTickCount();
  ending.Stop(5000); // the grace ends as soon as the child has
  EXPECT_LT(platform::GetTickCount() - start, 2000u);
}

TEST(ChildProcess, PipeEndsAreNotInheritedByOtherChildren) {
  char script[] = "/tmp/kelvar-fds-XXXXXX";
  const int fd = mkstemp(script);
  ASSERT_GE(fd, 0);
  close(fd);
  std::ofstream(script) << "greeting {fds}\\n\n";
  const std::string expected = InheritableFds();
  setenv("KELVAR_TEST_ENGINE_SCRIPT", script, 1);
  platform::ChildProcess first, second;
  ASSERT_TRUE(first.Start(KELVAR_TEST_ENGINE));
  ASSERT_TRUE(second.Start(KELVAR_TEST_ENGINE));
  unsetenv("KELVAR_TEST_ENGINE_SCRIPT");
  ASSERT_TRUE(WaitForBytes(second, expected.size() + 1));
  char buffer[256] = {};
  const size_t count = second.Read(buffer, sizeof(buffer) - 1);
  EXPECT_EQ(std::string(buffer, count), expected + "\n");
  remove(script);
}

// The child leads a process group of its own, and whatever it started in
// that group ends with it: when it is stopped, and when it has ended by
// itself and HasEnded finds it so.
TEST(ChildProcess, WhatTheChildStartedEndsWithIt) {
  char pattern[] = "/tmp/kelvar-child-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const fs::path folder(pattern);
  struct Case {
    const char *name;
    const char *tail; // after starting a grandchild and writing its id
    bool endsByItself;
  };
  const Case cases[] = {
      {"the child is stopped", "exec sleep 600\n", false},
      {"the child ignores SIGTERM", "trap '' TERM\nwhile :; do sleep 1; done\n", false},
      {"the child has ended", "exit 0\n", true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path script = folder / "child";
    std::ofstream(script) << "#!/bin/sh\nsleep 600 &\necho $!\n" << c.tail;
    fs::permissions(script, fs::perms::owner_all);
    platform::ChildProcess child;
    ASSERT_TRUE(child.Start(script.c_str()));
    EXPECT_EQ(getpgid(child.Pid()), child.Pid());
    std::string output;
    for (int i = 0; i < 2000 && output.find('\n') == std::string::npos; ++i) {
      char buffer[64];
      output.append(buffer, child.Read(buffer, sizeof(buffer)));
      platform::Sleep(1);
    }
    const int grandchild = atoi(output.c_str());
    ASSERT_GT(grandchild, 0);
    EXPECT_EQ(getpgid(grandchild), child.Pid());
    if (c.endsByItself) {
      bool ended = false;
      for (int i = 0; i < 2000 && !ended; ++i) {
        ended = child.HasEnded();
        platform::Sleep(1);
      }
      ASSERT_TRUE(ended);
    } else {
      child.ClosePipes();
      child.Stop(0);
    }
    // Killed; a zombie left for init to reap counts as gone.
    bool gone = false;
    for (int i = 0; i < 200 && !gone; ++i) {
      std::ifstream stat("/proc/" + std::to_string(grandchild) + "/stat");
      std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
      gone = text.empty() || text.find(") Z ") != std::string::npos;
      if (!gone)
        platform::Sleep(10);
    }
    EXPECT_TRUE(gone) << "the grandchild " << grandchild << " outlived the child";
    child.Stop(0);
  }
  fs::remove_all(folder);
}
