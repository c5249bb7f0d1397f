// The command line: a game file, help, version, and a usage line with exit
// code 2 for anything else.
#include "app/CCommandLine.h"

#include <gtest/gtest.h>

#include <regex>
#include <vector>

namespace {

CCommandLine::Action ParseArgs(std::vector<const char *> args, std::string &path) {
  args.insert(args.begin(), "kelvar");
  return CCommandLine::Parse(int(args.size()), args.data(), path);
}

TEST(CommandLine, ChoosesWhatToDo) {
  struct Case {
    std::vector<const char *> args;
    CCommandLine::Action action;
    const char *path;
  } cases[] = {
      {{}, CCommandLine::RunGame, ""},
      {{"games/my game.pgn"}, CCommandLine::RunGame, "games/my game.pgn"},
      {{"--help"}, CCommandLine::ShowHelp, ""},
      {{"-h"}, CCommandLine::ShowHelp, ""},
      {{"--version"}, CCommandLine::ShowVersion, ""},
      {{"--verbose"}, CCommandLine::Misused, ""},
      {{"-"}, CCommandLine::Misused, ""},
      {{""}, CCommandLine::Misused, ""},
      {{"a.pgn", "b.pgn"}, CCommandLine::Misused, ""},
      {{"--help", "a.pgn"}, CCommandLine::Misused, ""},
  };
  for (const Case &c : cases) {
    std::string path = "stale";
    EXPECT_EQ(ParseArgs(c.args, path), c.action) << (c.args.empty() ? "(none)" : c.args[0]);
    EXPECT_EQ(path, c.path);
  }
}

TEST(CommandLine, ExitCodesAndTexts) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_EQ(CCommandLine::Perform(CCommandLine::RunGame), -1);
  EXPECT_EQ(CCommandLine::Perform(CCommandLine::ShowHelp), 0);
  EXPECT_EQ(CCommandLine::Perform(CCommandLine::ShowVersion), 0);
  EXPECT_EQ(CCommandLine::Perform(CCommandLine::Misused), 2);
  const std::string out = testing::internal::GetCapturedStdout();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(out.find("GAME.pgn"), std::string::npos) << out;
  EXPECT_TRUE(std::regex_search(out, std::regex("\nkelvar [0-9]+\\.[0-9]+\\.[0-9]+\n$"))) << out;
  EXPECT_EQ(err, std::string(CCommandLine::UsageLine()) + "\n") << "one line on standard error";
}

} // namespace
