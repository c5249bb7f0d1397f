// The command line: a game file, a time control, help, version, and exit
// code 2 with a usage line or the reason for anything else.
#include "app/CCommandLine.h"

#include <gtest/gtest.h>

#include <regex>
#include <vector>

namespace {

CCommandLine::Action ParseArgs(std::vector<const char *> args, CCommandLine::Options &options) {
  args.insert(args.begin(), "kelvar");
  return CCommandLine::Parse(int(args.size()), args.data(), options);
}

TEST(CommandLine, ChoosesWhatToDo) {
  struct Case {
    std::vector<const char *> args;
    CCommandLine::Action action;
    const char *path;
    const char *timeControl; // as written back; null when none was given
  } cases[] = {
      {{}, CCommandLine::RunGame, "", nullptr},
      {{"games/my game.pgn"}, CCommandLine::RunGame, "games/my game.pgn", nullptr},
      {{"--help"}, CCommandLine::ShowHelp, "", nullptr},
      {{"-h"}, CCommandLine::ShowHelp, "", nullptr},
      {{"--version"}, CCommandLine::ShowVersion, "", nullptr},
      {{"--verbose"}, CCommandLine::Misused, "", nullptr},
      {{"-"}, CCommandLine::Misused, "", nullptr},
      {{""}, CCommandLine::Misused, "", nullptr},
      {{"a.pgn", "b.pgn"}, CCommandLine::Misused, "", nullptr},
      {{"--help", "a.pgn"}, CCommandLine::Misused, "", nullptr},
      {{"--time-control", "300+3"}, CCommandLine::RunGame, "", "300+3"},
      {{"--time-control", "40/5400:1800+30", "g.pgn"}, CCommandLine::RunGame, "g.pgn", "40/5400:1800+30"},
      {{"g.pgn", "--time-control", "-"}, CCommandLine::RunGame, "g.pgn", "-"},
      {{"--time-control"}, CCommandLine::Misused, "", nullptr},
      {{"--time-control", "5 min"}, CCommandLine::BadValue, "", nullptr},
      {{"--time-control", "0"}, CCommandLine::BadValue, "", nullptr},
      {{"--time-control", "60", "--time-control", "60"}, CCommandLine::Misused, "", nullptr},
      {{"--time-control", "60", "--help"}, CCommandLine::Misused, "", nullptr},
      {{"--review", "g.pgn", "--time-control", "60"}, CCommandLine::RunGame, "", "60"},
      {{"--review"}, CCommandLine::Misused, "", nullptr},
      {{"--review", "--help"}, CCommandLine::Misused, "", nullptr},
      {{"--review", "a.pgn", "b.pgn"}, CCommandLine::Misused, "", nullptr},
      {{"a.pgn", "--review", "b.pgn"}, CCommandLine::Misused, "", nullptr},
      {{"--review", "a.pgn", "--review", "b.pgn"}, CCommandLine::Misused, "", nullptr},
      {{"--annotate", "in.pgn", "out.pgn"}, CCommandLine::Annotate, "", nullptr},
      {{"--annotate", "in.pgn"}, CCommandLine::Misused, "", nullptr},
      {{"--annotate"}, CCommandLine::Misused, "", nullptr},
      {{"--annotate", "in.pgn", "--time-control"}, CCommandLine::Misused, "", nullptr},
      {{"--annotate", "in.pgn", "out.pgn", "extra.pgn"}, CCommandLine::Misused, "", nullptr},
      {{"g.pgn", "--annotate", "in.pgn", "out.pgn"}, CCommandLine::Misused, "", nullptr},
      {{"--export-games", "all.pgn"}, CCommandLine::ExportGames, "", nullptr},
      {{"--export-games"}, CCommandLine::Misused, "", nullptr},
      {{"--export-games", "a.pgn", "b.pgn"}, CCommandLine::Misused, "", nullptr},
  };
  for (const Case &c : cases) {
    CCommandLine::Options options;
    options.gamePath = "stale";
    std::string name = c.args.empty() ? "(none)" : "";
    for (const char *arg : c.args)
      name += std::string(name.empty() ? "" : " ") + arg;
    EXPECT_EQ(ParseArgs(c.args, options), c.action) << name;
    if (c.action == CCommandLine::Annotate) {
      EXPECT_EQ(options.annotateIn, c.args[1]) << name;
      EXPECT_EQ(options.annotateOut, c.args[2]) << name;
    }
    if (c.action != CCommandLine::RunGame)
      continue;
    // --review names the file to review, in place of one to open.
    const bool review = !c.args.empty() && std::string(c.args[0]) == "--review";
    EXPECT_EQ(options.reviewPath, review ? c.args[1] : "") << name;
    EXPECT_EQ(options.gamePath, c.path) << name;
    EXPECT_EQ(options.hasTimeControl, c.timeControl != nullptr) << name;
    if (c.timeControl) {
      EXPECT_EQ(options.timeControl.ToString(), c.timeControl) << name;
    }
  }
  CCommandLine::Options refused;
  ParseArgs({"--time-control", "5 min"}, refused);
  EXPECT_NE(refused.error.find("kelvar: --time-control 5 min: "), std::string::npos) << refused.error;
}

TEST(CommandLine, ExitCodesAndTexts) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_EQ(CCommandLine::Perform(CCommandLine::RunGame), -1);
  EXPECT_EQ(CCommandLine::Perform(CCommandLine::ShowHelp), 0);
  EXPECT_EQ(CCommandLine::Perform(CCommandLine::ShowVersion), 0);
  EXPECT_EQ(CCommandLine::Perform(CCommandLine::Misused), 2);
  EXPECT_EQ(CCommandLine::Perform(CCommandLine::BadValue, "kelvar: --time-control x: why"), 2);
  const std::string out = testing::internal::GetCapturedStdout();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(out.find("GAME.pgn"), std::string::npos) << out;
  EXPECT_TRUE(std::regex_search(out, std::regex("\nkelvar [0-9]+\\.[0-9]+\\.[0-9]+\n$"))) << out;
  EXPECT_EQ(err, std::string(CCommandLine::UsageLine()) + "\nkelvar: --time-control x: why\n")
      << "one line on standard error each";
}

} // namespace
