// Shared pieces of the engine link's tests: a log capture, a fixture that
// runs the link in a scratch folder against the scripted test engine, and
// the probe that feeds engine output to the poll without a process.
#pragma once

#include "app/CApplication.h"
#include "tests/support/LogCapture.h"
#include "tests/support/NullDevice.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <sstream>
#include <string>
#include <vector>

// Squares print as (X, Y) in failure messages.
inline void PrintTo(const BoardSquare &square, std::ostream *out) {
  *out << "(" << square.X << ", " << square.Y << ")";
}

// Reaches the link's internals directly (a friend of CCEManager).
struct CCEManagerProbe {
  static void Feed(CCEManager &engine, const std::string &bytes) { engine.OnEngineBytes(bytes.data(), bytes.size()); }
  static int EnginePid(const CCEManager &engine) { return engine.process.Pid(); }
  static EngineTimings &Timings(CCEManager &engine) { return engine.watch.Timings(); }
  static std::string FailureMessage(const CCEManager &engine) { return engine.failure.Message(); }
  // As if a search had been asked for: a result is owed.
  static void ExpectResult(CCEManager &engine) { engine.search.Owe(); }
};

namespace engine_test {

namespace fs = std::filesystem;

inline std::string ReadWholeFile(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline bool EndsWith(const std::string &text, const std::string &end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

inline int CountOf(const std::string &text, const std::string &part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
    ++count;
  return count;
}

// A null device whose log is captured, and a scratch working folder.
class EngineLinkTest : public ::testing::Test {
protected:
  void SetUp() override {
    // CTest runs each test in a fresh process; when one process runs them
    // all, the link starts afresh here (the poll's line with it), and so
    // does the interface, whose status line belonged to the last test's
    // device.
    app.engine.~CCEManager();
    new (&app.engine) CCEManager();
    app.gui.~CGui();
    new (&app.gui) CGui();
    ASSERT_TRUE(testing_support::CreateNullDevice());
    log = std::make_unique<testing_support::LogCapture>(app.device);
    char pattern[] = "/tmp/kelvar-engine-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    previous = fs::current_path();
    fs::current_path(folder);
  }

  void TearDown() override {
    if (started)
      app.engine.Exit();
    fs::current_path(previous);
    fs::remove_all(folder);
    log.reset();
    app.device->drop();
    app.device = nullptr;
    app.logger = nullptr;
  }

  // Puts the test engine in the folder as ./Abrok_5_0.exe with this script;
  // everything the link sends is kept in the transcript.
  void InstallTestEngine(const std::string &script) {
    SetScript(script);
    fs::create_symlink(KELVAR_TEST_ENGINE, folder / "Abrok_5_0.exe");
  }

  // Writes the script the next engine process reads at its start.
  void SetScript(const std::string &script) {
    std::ofstream(folder / "test_engine.script") << "transcript " << (folder / "transcript").string() << "\n" << script;
  }

  // Installs the test engine, starts the link on it with short time limits
  // and runs frames until the handshake is done. False if it never is.
  bool StartEngine(const std::string &script) {
    InstallTestEngine(script);
    started = true;
    EngineTimings &timings = CCEManagerProbe::Timings(app.engine);
    timings.handshakeMs = 3000;
    timings.readyMs = 1500;
    timings.thinkMs = 0;
    timings.searchGraceMs = 1500;
    app.engine.Init();
    return PollUntil([] { return app.engine.GetState() == CCEManager::LinkState::Ready; });
  }

  // Runs frames until the condition holds; false on time-out. The longest
  // frame is kept in longestFrame.
  template <typename Condition> bool PollUntil(Condition condition, int timeoutMs = 8000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
      if (condition())
        return true;
      const auto start = std::chrono::steady_clock::now();
      app.engine.Update();
      const auto took = std::chrono::steady_clock::now() - start;
      if (took > longestFrame)
        longestFrame = std::chrono::duration_cast<std::chrono::microseconds>(took);
      platform::Sleep(1);
    }
    return condition();
  }

  std::string Transcript() const { return ReadWholeFile(folder / "transcript"); }

  // Everything the link has sent so far. A numbered marker line is written
  // and awaited first, because the engine notes a line only after it came;
  // the markers themselves are left out of the answer.
  std::string SentSoFar() const {
    static int calls = 0;
    const std::string prefix = "sent-so-far ";
    const std::string mark = prefix + std::to_string(++calls) + "\n";
    app.engine.WriteToEngine(mark.c_str());
    std::string text = Transcript();
    for (int i = 0; i < 10000 && !EndsWith(text, mark); ++i) {
      platform::Sleep(1);
      text = Transcript();
    }
    if (!EndsWith(text, mark))
      return text + "(engine silent)";
    std::string sent;
    for (size_t at = 0, end; at < text.size(); at = end + 1) {
      end = text.find('\n', at);
      if (end == std::string::npos)
        end = text.size();
      if (text.compare(at, prefix.size(), prefix) != 0)
        sent += text.substr(at, end - at) + "\n";
    }
    return sent;
  }

  // Runs the per-frame poll until a result can be fetched; false on time-out.
  bool PollResult(BoardSquare &from, BoardSquare &to, int timeoutMs = 8000) {
    return PollUntil([&] { return app.engine.ProcessEngineResult(from, to); }, timeoutMs);
  }

  std::unique_ptr<testing_support::LogCapture> log;
  fs::path folder;
  fs::path previous;
  bool started = false;
  std::chrono::microseconds longestFrame{0};
};

} // namespace engine_test
