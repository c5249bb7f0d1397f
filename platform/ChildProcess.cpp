// A child process on two pipes, done with POSIX: posix_spawn, pipe2, poll,
// FIONREAD and waitpid. The child leads a process group of its own, so that
// whatever it starts in turn is ended with it.
#include "platform/Platform.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace platform {
namespace {

const int WRITE_WAIT_MS = 20;  // longest wait for room in a full pipe
const int TERM_GRACE_MS = 300; // a group sent SIGTERM gets this long before SIGKILL
const int REAP_POLL_MS = 2;

// Closes fd if it is open and marks it closed.
void CloseFd(int &fd) {
  if (fd >= 0)
    close(fd);
  fd = -1;
}

// Blocks SIGPIPE on the calling thread for as long as it lives, and on
// leaving takes back a SIGPIPE raised meanwhile, so that writing to a pipe
// whose reader has gone yields EPIPE instead of ending this process.
class SigPipeGuard {
public:
  SigPipeGuard() {
    sigemptyset(&pipeSet_);
    sigaddset(&pipeSet_, SIGPIPE);
    sigset_t pending;
    sigemptyset(&pending);
    sigpending(&pending);
    wasPending_ = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipeSet_, &oldMask_);
  }
  ~SigPipeGuard() {
    if (raised && !wasPending_) {
      const timespec noWait{0, 0};
      while (sigtimedwait(&pipeSet_, nullptr, &noWait) < 0 && errno == EINTR) {
      }
    }
    pthread_sigmask(SIG_SETMASK, &oldMask_, nullptr);
  }
  SigPipeGuard(const SigPipeGuard &) = delete;
  SigPipeGuard &operator=(const SigPipeGuard &) = delete;

  bool raised = false;

private:
  sigset_t pipeSet_;
  sigset_t oldMask_;
  bool wasPending_ = false;
};

// True once the child has ended. It is left a zombie (WNOWAIT), so that its
// process id, and with it the id of its group, cannot be taken by another
// process before the group has been ended.
bool HasExited(int pid) {
  siginfo_t info{};
  for (;;) {
    const int rc = waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT);
    if (rc == 0)
      return info.si_pid == pid;
    if (errno != EINTR)
      return true; // not our child any more: nothing to wait for
  }
}

// Waits up to timeoutMs (real time: a test may have replaced the tick
// source) for the child to end; true if it has.
bool AwaitExit(int pid, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  bool ended = HasExited(pid);
  while (!ended && std::chrono::steady_clock::now() < deadline) {
    Sleep(REAP_POLL_MS);
    ended = HasExited(pid);
  }
  return ended;
}

void ReapBlocking(int pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

} // namespace

void KillProcessGroup(int pgid) {
  if (pgid > 0)
    kill(-pgid, SIGKILL);
}

ChildProcess::~ChildProcess() {
  ClosePipes();
  Stop();
}

bool ChildProcess::Start(const char *path) {
  if (IsStarted() || !path) {
    errno = IsStarted() ? EBUSY : EINVAL;
    return false;
  }
  // Every end is close-on-exec; the two the child needs are duplicated onto
  // its descriptors 0 and 1, which clears the flag on the copies.
  int input[2] = {-1, -1};
  int output[2] = {-1, -1};
  if (pipe2(input, O_CLOEXEC) != 0)
    return false;
  if (pipe2(output, O_CLOEXEC) != 0) {
    const int saved = errno;
    CloseFd(input[0]);
    CloseFd(input[1]);
    errno = saved;
    return false;
  }

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);

  // The child starts with no blocked signals and the default SIGPIPE, even if
  // this process has changed either.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t noSignals, pipeSignal;
  sigemptyset(&noSignals);
  sigemptyset(&pipeSignal);
  sigaddset(&pipeSignal, SIGPIPE);
  posix_spawnattr_setsigmask(&attributes, &noSignals);
  posix_spawnattr_setsigdefault(&attributes, &pipeSignal);
  // setpgid(0, 0) in the child: a group of its own, led by the child, so
  // Stop can end the child together with any process it has started.
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);

  char *argv[] = {const_cast<char *>(path), nullptr};
  pid_t pid = -1;
  // glibc's posix_spawn reports a failed exec (missing file, no execute
  // permission, not a program) as its result.
  const int rc = posix_spawn(&pid, path, &actions, &attributes, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);

  CloseFd(input[0]);
  CloseFd(output[1]);
  if (rc != 0) {
    CloseFd(input[1]);
    CloseFd(output[0]);
    errno = rc;
    return false;
  }
  pid_ = pid;
  toChild_ = input[1];
  fromChild_ = output[0];
  outputEnded_ = false;
  reaped_ = false;
  // Reads must never wait, even if the peeked count was taken meanwhile;
  // a write to a child that has stopped reading waits only a bounded time.
  fcntl(fromChild_, F_SETFL, fcntl(fromChild_, F_GETFL) | O_NONBLOCK);
  fcntl(toChild_, F_SETFL, fcntl(toChild_, F_GETFL) | O_NONBLOCK);
  return true;
}

size_t ChildProcess::Write(const char *data, size_t size) {
  if (toChild_ < 0 || !data)
    return 0;
  SigPipeGuard guard;
  size_t done = 0;
  while (done < size) {
    const ssize_t n = write(toChild_, data + done, size - done);
    if (n > 0) {
      done += size_t(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && errno == EAGAIN) {
      // The pipe is full: the child is not reading. Give it a moment, no more.
      pollfd entry{toChild_, POLLOUT, 0};
      if (poll(&entry, 1, WRITE_WAIT_MS) <= 0)
        break;
    } else {
      guard.raised = n < 0 && errno == EPIPE;
      break;
    }
  }
  return done;
}

size_t ChildProcess::Available() {
  if (fromChild_ < 0)
    return 0;
  int count = 0;
  if (ioctl(fromChild_, FIONREAD, &count) != 0 || count < 0)
    return 0;
  return size_t(count);
}

size_t ChildProcess::Read(char *buffer, size_t maxBytes) {
  if (fromChild_ < 0 || !buffer || maxBytes == 0)
    return 0;
  for (;;) {
    const ssize_t n = read(fromChild_, buffer, maxBytes);
    if (n > 0)
      return size_t(n);
    if (n == 0) {
      outputEnded_ = true;
      return 0;
    }
    if (errno != EINTR)
      return 0; // EAGAIN: nothing waiting
  }
}

bool ChildProcess::WaitForOutput(int timeoutMs) {
  if (fromChild_ < 0)
    return false;
  pollfd entry{fromChild_, POLLIN, 0};
  for (;;) {
    const int rc = poll(&entry, 1, timeoutMs < 0 ? -1 : timeoutMs);
    if (rc > 0)
      return true; // data, or POLLHUP once the child closed its output
    if (rc == 0 || errno != EINTR)
      return false;
  }
}

void ChildProcess::ClosePipes() {
  CloseFd(toChild_);
  CloseFd(fromChild_);
}

bool ChildProcess::HasEnded() {
  if (pid_ <= 0)
    return true;
  if (!reaped_ && HasExited(pid_)) {
    // Whatever the child left running in its group ends with it, before the
    // zombie is reaped and its id could be given to another process.
    KillProcessGroup(pid_);
    ReapBlocking(pid_);
    reaped_ = true;
  }
  return reaped_;
}

void ChildProcess::Stop(uint32_t graceMs) {
  if (pid_ <= 0)
    return;
  if (reaped_) {
    pid_ = -1;
    return;
  }
  // The child's own pause to end; then its whole group is asked to end
  // (SIGCONT wakes a stopped member so that it can act on SIGTERM), and
  // what is left of it is killed.
  if (!AwaitExit(pid_, int(graceMs))) {
    kill(-pid_, SIGTERM);
    kill(-pid_, SIGCONT);
    AwaitExit(pid_, TERM_GRACE_MS);
  }
  KillProcessGroup(pid_);
  ReapBlocking(pid_);
  pid_ = -1;
}

} // namespace platform
