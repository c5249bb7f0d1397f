// What PGN files hold beyond the moves: NAGs, suffix marks, comments, foreign
// tags and UTF-8 text, kept through a write and a read; files of several
// games; the part of a broken game that could be read; line numbers of faults
// after comments and escape lines.
#include "chess/CPgnReader.h"
#include "chess/CPgnWriter.h"
#include "tests/unit/chess/ChessTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <sstream>
#include <unistd.h>

using namespace chess;
using chess_testing::Uci;

namespace {

const char *const PGN_EXTRACT = "/usr/games/pgn-extract";

// The 1-based line of the first occurrence of marker in text.
int LineOf(const std::string &text, const std::string &marker) {
  const size_t at = text.find(marker);
  EXPECT_NE(at, std::string::npos) << marker;
  int line = 1;
  for (size_t i = 0; i < at && i < text.size(); ++i)
    line += text[i] == '\n';
  return line;
}

std::string UciLine(const PgnGame &game) {
  std::string line;
  for (const Move &move : game.moves)
    line += (line.empty() ? "" : " ") + move.ToUci();
  return line;
}

// What pgn-extract says on standard error about a file; nothing for a clean one.
std::string PgnExtractComplaints(const std::string &text) {
  char path[] = "/tmp/kelvar-pgn-notes-XXXXXX";
  const int fd = mkstemp(path);
  EXPECT_GE(fd, 0);
  EXPECT_EQ(write(fd, text.data(), text.size()), ssize_t(text.size()));
  close(fd);
  FILE *pipe = popen((std::string(PGN_EXTRACT) + " -r -s " + path + " 2>&1").c_str(), "r");
  std::string output;
  char buffer[512];
  while (pipe && fgets(buffer, sizeof buffer, pipe))
    output += buffer;
  if (pipe)
    pclose(pipe);
  unlink(path);
  return output;
}

const char ANNOTATED[] = "[Event \"Havana\"]\n"
                         "[White \"José Raúl Capablanca\"]\n"
                         "[Black \"Emanuel Lasker\"]\n"
                         "[ECO \"C65\"]\n"
                         "[Annotator \"Ñandú \\\"el\\\" \\\\ 象棋\"]\n"
                         "\n"
                         "{Ein Spiel – äöü} 1. e4! $14 {Königsbauer} e5?! 2. Nf3 !! {a comment\n"
                         "that spans  \n"
                         "   three lines} 2... Nc6 $1 $36 {first} {two  blanks\tand a tab; \"quotes\"}\n"
                         "3. Bb5 ; a rest-of-line comment\r\n"
                         "a6?? (3... Nf6 {inside a variation} $2) 4. Ba4 $300 Nf6 {} $7 1/2-1/2\n";

TEST(PgnAnnotations, EachMoveKeepsItsNagsMarksAndCommentsInFileOrder) {
  PgnGame game;
  PgnError error;
  ASSERT_TRUE(CPgnReader::Read(ANNOTATED, game, error)) << error.line << ": " << error.reason;
  EXPECT_EQ(UciLine(game), "e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5a4 g8f6");
  EXPECT_EQ(game.gameComments, std::vector<std::string>{"Ein Spiel – äöü"});
  ASSERT_EQ(game.notes.size(), game.moves.size());
  const MoveNotes expected[] = {
      {{1, 14}, {"Königsbauer"}},
      {{6}, {}},
      {{3}, {"a comment that spans three lines"}},
      {{1, 36}, {"first", "two  blanks\tand a tab; \"quotes\""}},
      {{}, {" a rest-of-line comment"}},
      {{4}, {}}, // the variation's comment and NAG stay with the variation
      {{}, {}},  // $300 is no NAG
      {{7}, {""}},
  };
  for (size_t ply = 0; ply < game.moves.size(); ++ply) {
    EXPECT_EQ(game.notes[ply].nags, expected[ply].nags) << "ply " << ply + 1;
    EXPECT_EQ(game.notes[ply].comments, expected[ply].comments) << "ply " << ply + 1;
  }
  EXPECT_EQ(*game.FindTag("Annotator"), "Ñandú \"el\" \\ 象棋");
}

// The game a writer gets, read back from its file, is the same game; and the
// file keeps to the line limit and satisfies pgn-extract.
TEST(PgnAnnotations, WrittenGamesReadBackWhole) {
  const std::string longText = "This move prepares the advance of the queen's pawn and keeps every option open; "
                               "a plan that Capablanca, José Raúl, liked in his Havana games of 1921 – and later.";
  struct Case {
    const char *name;
    PgnGame game;
  };
  std::vector<Case> cases;
  {
    PgnGame read;
    PgnError error;
    ASSERT_TRUE(CPgnReader::Read(ANNOTATED, read, error)) << error.reason;
    // Written, the roster comes first, then the other tags in their order.
    read.tags = {{"Event", "Havana"},
                 {"Site", "?"},
                 {"Date", "?"},
                 {"Round", "?"},
                 {"White", "José Raúl Capablanca"},
                 {"Black", "Emanuel Lasker"},
                 {"Result", "1/2-1/2"},
                 {"ECO", "C65"},
                 {"Annotator", "Ñandú \"el\" \\ 象棋"}};
    cases.push_back({"ReadFromAForeignFile", read});
  }
  {
    PgnGame game = chess_testing::RandomGame("", 60, 7);
    game.tags = {{"Event", "Casual game"}, {"Site", "Kelvar"},         {"Date", "2024.05.01"},
                 {"Round", "-"},           {"White", "Player"},        {"Black", "Ünal"},
                 {"Result", game.result},  {"TimeControl", "40/7200"}, {"PlyCount", "60"}};
    game.gameComments = {longText, "  two leading blanks, two trailing  "};
    for (size_t ply = 0; ply < game.moves.size(); ply += 3)
      game.NotesAt(ply) = {{int(ply % 256), 255}, {longText.substr(0, ply + 1), "about %5 more space"}};
    game.NotesAt(game.moves.size() - 1).comments.push_back(std::string(100, 'x')); // a word longer than a line
    cases.push_back({"LongCommentsAndEveryThirdPlyAnnotated", game});
  }
  {
    PgnGame game;
    game.startFen = "4k3/8/8/8/8/8/4P3/4K3 b - - 0 30";
    game.tags = {{"Event", "?"}, {"Site", "?"},   {"Date", "?"},  {"Round", "?"},        {"White", "?"},
                 {"Black", "?"}, {"Result", "*"}, {"SetUp", "1"}, {"FEN", game.startFen}};
    game.gameComments = {"Black to move"};
    for (const char *uci : {"e8d7", "e2e4", "d7e6"})
      game.AppendMove(Uci(uci));
    game.NotesAt(1).comments = {"White's only pawn"};
    game.NotesAt(2).nags = {2};
    cases.push_back({"SetUpStartWithAGameComment", game});
  }

  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    std::string text, error;
    ASSERT_TRUE(CPgnWriter::Write(c.game, text, error)) << error;
    PgnGame read;
    PgnError readError;
    ASSERT_TRUE(CPgnReader::Read(text, read, readError)) << readError.line << ": " << readError.reason << "\n" << text;
    EXPECT_EQ(read.tags, c.game.tags) << text;
    EXPECT_TRUE(read == c.game) << text;

    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
      if (line.size() >= 80) {
        EXPECT_EQ(line.find(' '), std::string::npos) << "only a single word may pass the limit: " << line;
      }
      EXPECT_NE(line.compare(0, 1, "%"), 0) << line;
    }
    if (access(PGN_EXTRACT, X_OK) == 0) {
      EXPECT_EQ(PgnExtractComplaints(text), "") << text;
    }
  }
}

TEST(PgnAnnotations, ACommentsClosingBraceIsWrittenAsAParenthesis) {
  PgnGame game;
  game.AppendMove(Uci("e2e4"));
  game.NotesAt(0).comments = {"a {set} of }} braces"};
  std::string text, error;
  ASSERT_TRUE(CPgnWriter::Write(game, text, error)) << error;
  PgnGame read;
  PgnError readError;
  ASSERT_TRUE(CPgnReader::Read(text, read, readError)) << readError.reason << "\n" << text;
  EXPECT_EQ(read.NotesOf(0).comments, std::vector<std::string>{"a {set) of )) braces"});
}

// The game plays on from a loaded game and takes moves back; the notes follow
// the moves, and moves pushed without notes write as plain moves.
TEST(PgnAnnotations, NotesFollowMovesPlayedOnAndTakenBack) {
  PgnGame game;
  PgnError error;
  ASSERT_TRUE(CPgnReader::Read(ANNOTATED, game, error)) << error.reason;
  const PgnGame loaded = game;
  game.TruncateMoves(3);
  game.AppendMove(Uci("g8f6"));
  game.moves.push_back(Uci("b1c3")); // as the game's own record hands moves over: no notes
  game.result = "*";
  std::string text, writeError;
  ASSERT_TRUE(CPgnWriter::Write(game, text, writeError)) << writeError;
  PgnGame read;
  ASSERT_TRUE(CPgnReader::Read(text, read, error)) << error.reason << "\n" << text;
  EXPECT_EQ(UciLine(read), "e2e4 e7e5 g1f3 g8f6 b1c3");
  for (size_t ply = 0; ply < 3; ++ply)
    EXPECT_EQ(read.NotesOf(ply), loaded.NotesOf(ply)) << ply;
  EXPECT_TRUE(read.NotesOf(3).IsEmpty());
  EXPECT_TRUE(read.NotesOf(4).IsEmpty());
  game.tags = read.tags; // written with the roster first
  EXPECT_TRUE(read == game) << "a missing notes entry equals empty notes";
}

TEST(PgnSeveralGames, ABrokenGameHidesNoneOfTheGamesAfterIt) {
  const std::string text = "[Event \"one\"]\n[White \"A\"]\n\n1. e4 e5 2. Ke3 Nc6 1-0\n\n" // illegal at ply 3
                           "[Event \"two\"]\n[White \"José\"]\n[Black \"B\"]\n[Date \"1921.03.15\"]\n\n"
                           "{a comment\nover two lines} 1. d4 d5 2. c4 {ok} 0-1\n\n"
                           "1. c4 e5\n" // no tags, no result
                           "[Event \"five\"]\n\n1. Nf3 1/2-1/2\n"
                           "1. e4 \x01\x02\xff\n\n" // binary
                           "[Event \"three\"]\n[FEN \"bad\"]\n[White \"C\"]\n\n1. e4 *\n\n"
                           "[Event \"seven\"]\n\n1. g3 *\n{trailing remark}\n";
  std::vector<PgnGameEntry> games;
  PgnError error;
  ASSERT_TRUE(CPgnReader::ReadAll(text, games, error)) << error.reason;
  struct Expected {
    bool ok;
    int line;      // where the game begins
    int faultLine; // for a broken game
    const char *reason;
    const char *moves;
    PgnSummary summary;
  } expected[] = {
      {false,
       LineOf(text, "[Event \"one"),
       LineOf(text, "Ke3"),
       "illegal move \"Ke3\"",
       "e2e4 e7e5",
       {"A", "?", "?", "*", 2}},
      {true, LineOf(text, "[Event \"two"), 0, "", "d2d4 d7d5 c2c4", {"José", "B", "1921.03.15", "0-1", 3}},
      {false,
       LineOf(text, "1. c4"),
       LineOf(text, "[Event \"five"),
       "a tag follows its moves",
       "c2c4 e7e5",
       {"?", "?", "?", "*", 2}},
      {true, LineOf(text, "[Event \"five"), 0, "", "g1f3", {"?", "?", "?", "1/2-1/2", 1}},
      {false,
       LineOf(text, "1. e4 \x01"),
       LineOf(text, "1. e4 \x01"),
       "not a PGN text file",
       "e2e4",
       {"?", "?", "?", "*", 1}},
      {false, LineOf(text, "[Event \"three"), LineOf(text, "[FEN \"bad"), "bad FEN tag", "", {"?", "?", "?", "*", 0}},
      {true, LineOf(text, "[Event \"seven"), 0, "", "g2g3", {"?", "?", "?", "*", 1}},
  };
  ASSERT_EQ(games.size(), std::size(expected));
  for (size_t i = 0; i < games.size(); ++i) {
    SCOPED_TRACE("game " + std::to_string(i + 1));
    const PgnGameEntry &entry = games[i];
    const Expected &e = expected[i];
    EXPECT_EQ(entry.ok, e.ok) << entry.error.reason;
    EXPECT_EQ(entry.line, e.line);
    if (!e.ok) {
      EXPECT_EQ(entry.error.line, e.faultLine) << entry.error.reason;
      EXPECT_NE(entry.error.reason.find(e.reason), std::string::npos) << entry.error.reason;
    }
    EXPECT_EQ(UciLine(entry.game), e.moves);
    EXPECT_EQ(entry.summary.white, e.summary.white);
    EXPECT_EQ(entry.summary.black, e.summary.black);
    EXPECT_EQ(entry.summary.date, e.summary.date);
    EXPECT_EQ(entry.summary.result, e.summary.result);
    EXPECT_EQ(entry.summary.plies, e.summary.plies);
  }
  EXPECT_EQ(games[1].game.gameComments, std::vector<std::string>{"a comment over two lines"});

  // The first game alone, as Read gives it, is refused whole.
  PgnGame first;
  EXPECT_FALSE(CPgnReader::Read(text, first, error));
  EXPECT_EQ(error.line, expected[0].faultLine);
}

TEST(PgnSeveralGames, AFileWithoutAGameIsRefused) {
  for (const std::string text : {"", "\n\n% only an escape line\n", "{a lone comment}\n; and another\n"}) {
    std::vector<PgnGameEntry> games(1);
    PgnError error;
    EXPECT_FALSE(CPgnReader::ReadAll(text, games, error)) << text;
    EXPECT_TRUE(games.empty());
    EXPECT_NE(error.reason.find("no game"), std::string::npos) << error.reason;
  }
  std::vector<PgnGameEntry> games;
  PgnError error;
  EXPECT_FALSE(CPgnReader::ReadAll(std::string(CPgnReader::MAX_FILE_BYTES + 1, ' '), games, error));
  EXPECT_NE(error.reason.find("larger than"), std::string::npos) << error.reason;
}

// A broken game hands back the plies before its fault, so that they can be
// offered for resuming.
TEST(PgnPartialRead, ThePliesBeforeTheFaultComeBack) {
  const std::string opening = "[Event \"cut\"]\n[White \"W\"]\n\n1. e4 e5 2. Nf3 Nc6 3. Bb5 a6\n4. Ba4 Nf6 5. O-O Be7 ";
  const char *const openingMoves = "e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5a4 g8f6 e1g1 f8e7";
  struct Case {
    const char *name;
    std::string text;
    const char *moves;
    const char *reason;
    const char *faultMarker; // the fault's line is the line of this text
  } cases[] = {
      {"CutMidMove", opening + "6. R", openingMoves, "in move \"R\"", "6. R"},
      {"CutMidMoveNumber", opening + "6", openingMoves, "without a result", "Be7 6"},
      {"CutInAComment", opening + "6. Re1 {the rook\ntakes the open",
       "e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5a4 g8f6 e1g1 f8e7 f1e1", "comment is not closed", "{the rook"},
      {"IllegalMoveAtPly11", opening + "6. Ke2 b5 *", openingMoves, "illegal move \"Ke2\"", "6. Ke2"},
      {"UnreadableMoveAtPly11", opening + "6. Zz9 *", openingMoves, "unknown piece letter 'Z'", "6. Zz9"},
      {"Binary",
       std::string("\x7f"
                   "ELF\x02\x01\x01\x00\x00\x00",
                   10) +
           "1. e4 *",
       "", "not a PGN text file", "\x7f"},
      {"BinaryAfterTheTags", "[Event \"x\"]\n\n" + std::string("\x89PNG\r\n\x1a\n", 8), "", "not a PGN text file",
       "\x89"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    PgnGame game;
    game.SetTag("Stale", "from an earlier read");
    PgnError error;
    EXPECT_FALSE(CPgnReader::ReadUpToFault(c.text, game, error));
    EXPECT_EQ(UciLine(game), c.moves);
    EXPECT_EQ(game.notes.size(), game.moves.size());
    EXPECT_EQ(game.result, "*");
    EXPECT_EQ(game.FindTag("Stale"), nullptr);
    EXPECT_NE(error.reason.find(c.reason), std::string::npos) << error.reason;
    EXPECT_EQ(error.line, LineOf(c.text, c.faultMarker)) << error.reason;

    std::vector<PgnGameEntry> games;
    ASSERT_TRUE(CPgnReader::ReadAll(c.text, games, error));
    ASSERT_EQ(games.size(), 1u);
    EXPECT_FALSE(games[0].ok);
    EXPECT_EQ(UciLine(games[0].game), c.moves);
  }

  PgnGame whole;
  PgnError error;
  EXPECT_TRUE(CPgnReader::ReadUpToFault(opening + "1-0", whole, error)) << error.reason;
  EXPECT_EQ(whole.result, "1-0");
  EXPECT_EQ(*whole.FindTag("White"), "W");
}

// A fault's line counts every line before it: those inside brace comments,
// successive rest-of-line comments, escape lines, carriage returns, and the
// games before it in the file.
TEST(PgnFaultLines, CountLinesInsideCommentsAndEscapeLines) {
  const std::string cases[] = {
      "{a comment\nover\nthree lines} 1. e4 e5 2. Ke3 *",
      "1. e4 {one\n\n\nblank lines} e5\n2. Nf3 {and\nagain} Nc6 3. Ke3 *",
      "1. e4 ; first\n; second\n; third\ne5 2. Ke3 *",
      "% escape\n%another escape\n[Event \"x\"]\n% inside\n\n1. e4 e5 2. Ke3 *",
      "\r\n[Event \"x\"]\r\n\r\n1. e4 {a\r\nb}\r\ne5 2. Ke3 *",
      "1. e4 (1. d4 {in a\nvariation}\n d5) e5 2. Ke3 *",
      "[Event \"first\"]\n\n1. d4 {a\nlong\ncomment} d5 *\n% between\n\n[Event \"second\"]\n\n1. e4 e5\n2. Ke3 *",
  };
  for (const std::string &text : cases) {
    std::vector<PgnGameEntry> games;
    PgnError error;
    ASSERT_TRUE(CPgnReader::ReadAll(text, games, error)) << text;
    ASSERT_FALSE(games.empty());
    const PgnGameEntry &last = games.back();
    EXPECT_FALSE(last.ok) << text;
    EXPECT_EQ(last.error.line, LineOf(text, "Ke3")) << text << "\n" << last.error.reason;
    EXPECT_NE(last.error.reason.find("illegal move \"Ke3\""), std::string::npos) << last.error.reason;
  }
}

} // namespace
