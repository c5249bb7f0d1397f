// PGN writing and reading: round trips of played games, files of other
// programs with comments, variations and set-up positions, broken files, and
// pgn-extract as an independent judge of what we write.
#include "chess/CPgnReader.h"
#include "chess/CPgnWriter.h"
#include "tests/unit/chess/ChessTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <ostream>
#include <sstream>
#include <unistd.h>

using namespace chess;
using chess_testing::Uci;

namespace {

const char *const PGN_EXTRACT = "/usr/games/pgn-extract";

// The position after each ply of the game, as FEN.
std::vector<std::string> Positions(const PgnGame &game) {
  Position position = game.startFen.empty() ? Position() : chess_testing::FromFen(game.startFen);
  std::vector<std::string> fens{position.GetFen()};
  for (const Move &move : game.moves) {
    EXPECT_TRUE(position.Play(move)) << move.ToUci();
    fens.push_back(position.GetFen());
  }
  return fens;
}

// What pgn-extract reports on standard error about a file, in silent mode:
// nothing at all for a clean file.
std::string PgnExtractComplaints(const std::string &text) {
  char path[] = "/tmp/kelvar-pgn-XXXXXX";
  const int fd = mkstemp(path);
  EXPECT_GE(fd, 0);
  EXPECT_EQ(write(fd, text.data(), text.size()), ssize_t(text.size()));
  close(fd);
  const std::string command = std::string(PGN_EXTRACT) + " -r -s " + path + " 2>&1";
  FILE *pipe = popen(command.c_str(), "r");
  std::string output;
  char buffer[512];
  while (pipe && fgets(buffer, sizeof buffer, pipe))
    output += buffer;
  if (pipe)
    pclose(pipe);
  unlink(path);
  return output;
}

TEST(PgnRoundTrip, PlayedGamesComeBackMoveByMoveAndPositionByPosition) {
  const std::string starts[] = {"", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq - 5 21",
                                "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N w - - 0 1"};
  unsigned seed = 1;
  for (const std::string &start : starts)
    for (int plies : {0, 1, 40, 150}) {
      const PgnGame game = chess_testing::RandomGame(start, plies, seed++);
      std::string text, error;
      ASSERT_TRUE(CPgnWriter::Write(game, text, error)) << error;
      PgnGame read;
      PgnError readError;
      ASSERT_TRUE(CPgnReader::Read(text, read, readError)) << readError.line << ": " << readError.reason << "\n"
                                                           << text;
      EXPECT_EQ(read.startFen, game.startFen);
      EXPECT_EQ(read.result, game.result);
      ASSERT_EQ(read.moves.size(), game.moves.size()) << text;
      for (size_t i = 0; i < game.moves.size(); ++i)
        EXPECT_EQ(read.moves[i], game.moves[i]) << "ply " << i + 1;
      EXPECT_EQ(Positions(read), Positions(game));
      ASSERT_NE(read.FindTag("Black"), nullptr);
      EXPECT_EQ(*read.FindTag("Black"), "Stockfish 15.1");

      std::istringstream lines(text);
      std::string line;
      while (std::getline(lines, line))
        EXPECT_LT(line.size(), 80u) << line;
      if (access(PGN_EXTRACT, X_OK) == 0)
        EXPECT_EQ(PgnExtractComplaints(text), "") << text;
      else
        ADD_FAILURE() << PGN_EXTRACT << " is missing: install the Debian package pgn-extract";
    }
}

TEST(PgnWriting, RosterFirstThenSetUpAndMovesNumbered) {
  PgnGame game;
  game.startFen = "4k3/8/8/8/8/8/4P3/4K3 b - - 0 30";
  game.SetTag("Annotator", "a \"quoted\" \\ name");
  game.SetTag("White", "Player");
  for (const char *uci : {"e8d7", "e2e4", "d7e6"})
    game.moves.push_back(Uci(uci));
  std::string text, error;
  ASSERT_TRUE(CPgnWriter::Write(game, text, error)) << error;
  EXPECT_EQ(text, "[Event \"?\"]\n[Site \"?\"]\n[Date \"?\"]\n[Round \"?\"]\n[White \"Player\"]\n[Black \"?\"]\n"
                  "[Result \"*\"]\n[SetUp \"1\"]\n[FEN \"4k3/8/8/8/8/8/4P3/4K3 b - - 0 30\"]\n"
                  "[Annotator \"a \\\"quoted\\\" \\\\ name\"]\n\n30... Kd7 31. e4 Ke6 *\n\n");
  std::string list;
  ASSERT_TRUE(CPgnWriter::MovesList(game, list));
  EXPECT_EQ(list, "30... Kd7\n31. e4 Ke6\n");

  PgnGame read;
  PgnError readError;
  ASSERT_TRUE(CPgnReader::Read(text, read, readError)) << readError.reason;
  EXPECT_EQ(*read.FindTag("Annotator"), "a \"quoted\" \\ name");
}

// A file may hold a carriage return inside a tag value; written back, the
// value stays on its tag's line and the FEN's fields stay apart.
TEST(PgnWriting, ALineBreakInATagValueBecomesABlank) {
  PgnGame game;
  PgnError readError;
  ASSERT_TRUE(
      CPgnReader::Read("[Event \"a\rb\"]\n[FEN \"4k3/8/8/8/8/8/4P3/4K3 w -\r- 0 1\"]\n\n1. e4 *\n", game, readError))
      << readError.reason;
  std::string text, error;
  ASSERT_TRUE(CPgnWriter::Write(game, text, error)) << error;
  EXPECT_NE(text.find("[Event \"a b\"]\n"), std::string::npos) << text;
  PgnGame again;
  ASSERT_TRUE(CPgnReader::Read(text, again, readError)) << readError.line << ": " << readError.reason << "\n" << text;
  EXPECT_EQ(again.moves, game.moves);
  EXPECT_EQ(again.startFen, "4k3/8/8/8/8/8/4P3/4K3 w - - 0 1");
}

TEST(PgnWriting, MovesListShowsPairsAndTheResultOfAFinishedGame) {
  PgnGame game;
  for (const char *uci : {"e2e4", "g8f6", "g1f3", "f6e4"})
    game.moves.push_back(Uci(uci));
  std::string list;
  ASSERT_TRUE(CPgnWriter::MovesList(game, list));
  EXPECT_EQ(list, "1. e4 Nf6\n2. Nf3 Nxe4\n");
  game.moves.pop_back();
  game.result = "1-0";
  ASSERT_TRUE(CPgnWriter::MovesList(game, list));
  EXPECT_EQ(list, "1. e4 Nf6\n2. Nf3\n1-0\n");
  game.moves.push_back(game.moves[0]); // e2e4 again: not legal there
  EXPECT_FALSE(CPgnWriter::MovesList(game, list));
}

struct ReadCase {
  const char *name;
  const char *text;
  const char *moves; // in long algebraic form
  const char *result;
};

const ReadCase READABLE[] = {
    {"CommentsVariationsAndNags",
     "[Event \"Club\"]\n[White \"A\"]\n\n1. e4 {best by test} e5 (1... c5 2. Nf3 (2. c3) d6) 2. Nf3 $1 ; a line\n"
     "Nc6 $14 3. Bb5 a6 1/2-1/2\n",
     "e2e4 e7e5 g1f3 b8c6 f1b5 a7a6", "1/2-1/2"},
    {"EscapeLinesAndCrlf", "% made by some tool\r\n[Event \"x\"]\r\n\r\n1. d4 d5\r\n% another\r\n2. c4 *\r\n",
     "d2d4 d7d5 c2c4", "*"},
    {"FenStart", "[SetUp \"1\"]\n[FEN \"4k3/8/8/8/8/8/4P3/4K3 w - - 0 1\"]\n\n1. e4 Kd7 2. e5 0-1\n", "e2e4 e8d7 e4e5",
     "0-1"},
    {"NumbersGluedAndBlackToMoveNumbers", "1.e4 e5 2.Nf3 2... Nc6 3.Bc4 1-0", "e2e4 e7e5 g1f3 b8c6 f1c4", "1-0"},
    {"OnlyTheFirstGame", "1. e4 e5 *\n\n[Event \"second\"]\n\n1. Xx9 *\n", "e2e4 e7e5", "*"},
    {"MateAndAnnotationMarks", "1. f3 e5 2. g4?? Qh4# 0-1", "f2f3 e7e5 g2g4 d8h4", "0-1"},
    {"UnderPromotionAsWrittenAndABarePromotionAsAQueen",
     "[FEN \"4k3/P7/8/8/8/8/1p6/4K3 w - - 0 1\"]\n\n1. a8=N Kd7 2. Kd2 b1 *\n", "a7a8n e8d7 e1d2 b2b1q", "*"},
};

// A failing case is named after what its file holds.
void PrintTo(const ReadCase &c, std::ostream *out) { *out << c.name; }

class PgnReading : public testing::TestWithParam<ReadCase> {};

TEST_P(PgnReading, ReadsTheMainLine) {
  const ReadCase &c = GetParam();
  PgnGame game;
  PgnError error;
  ASSERT_TRUE(CPgnReader::Read(c.text, game, error)) << error.line << ": " << error.reason;
  std::string moves;
  for (const Move &move : game.moves)
    moves += (moves.empty() ? "" : " ") + move.ToUci();
  EXPECT_EQ(moves, c.moves);
  EXPECT_EQ(game.result, c.result);
}

INSTANTIATE_TEST_SUITE_P(Files, PgnReading, testing::ValuesIn(READABLE),
                         [](const testing::TestParamInfo<ReadCase> &info) { return info.param.name; });

TEST(PgnReading, BrokenFilesNameTheLineAndTheFault) {
  struct Case {
    std::string text;
    int line;
    const char *reason;
  } cases[] = {
      {"[Event \"x\"]\n\n1. e4 e5\n2. Ke3 *\n", 4, "illegal move \"Ke3\""},
      {"[FEN \"4k3/8/8/8/8/8/4K3/R6R w - - 0 1\"]\n\n1. Rd1 *\n", 3, "ambiguous move \"Rd1\""},
      {"1. e4 e5 2. Zf3 *", 1, "unknown piece letter 'Z'"},
      {"[Event \"x\"]\n[FEN \"8/8/8/8/8/8/8/8 w - - 0 1\"]\n\n1. e4 *\n", 2, "bad FEN tag"},
      {"[Event \"x\"]\n\n1. e4 e5 2. Nf3", 3, "without a result"},
      {"[Event \"x\"]\n\n1. e4 {a comment that never ends\n", 3, "comment is not closed"},
      {"[Event \"x\n", 1, "tag \"Event\" is not closed"},
      {"1. e4 (1. d4 d5 *", 1, "variation is not closed"},
      {"1. e4 ) *", 1, "closes no variation"},
      {std::string("1. e4 \x01\x02\xff\x00 e5 *", 16), 1, "not a PGN text file"},
      {"", 1, "no game"},
      {std::string(CPgnReader::MAX_FILE_BYTES + 1, ' '), 1, "larger than"},
      {"1. e4 e5 2. Nf3 Nc6\n[Event \"next\"]\n", 2, "without a result"},
  };
  for (const Case &c : cases) {
    PgnGame game;
    game.SetTag("Kept", "yes");
    PgnError error;
    EXPECT_FALSE(CPgnReader::Read(c.text, game, error)) << c.reason;
    EXPECT_EQ(error.line, c.line) << c.reason << ": " << error.reason;
    EXPECT_NE(error.reason.find(c.reason), std::string::npos) << error.reason;
    EXPECT_EQ(game.tags.size(), 1u) << "a refused file leaves the game alone";
  }
}

} // namespace
