// The opening book: which entry names which position (lines that end there,
// lines that pass through, transpositions, ties), lookups along games that
// leave the book, files with broken entries, and the real ECO file that
// pgn-extract ships.
#include "chess/COpeningBook.h"
#include "chess/CPgnReader.h"
#include "tests/unit/chess/ChessTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iostream>
#include <sstream>

using namespace chess;
using chess_testing::Uci;

namespace {

const char *const ECO_FILE = "/usr/share/pgn-extract/eco.pgn";

// A small book. The Ruy Lopez comes before the shorter lines it passes
// through, so that the order of the file does not decide their names; the
// French is reached three ways, the long way last.
const char *const SMALL_BOOK = R"({ A book for the tests. }
[ECO "C60"] [Opening "Ruy Lopez"] 1. e4 e5 2. Nf3 Nc6 3. Bb5 *
[ECO "C20"] [Opening "King's pawn game"] 1. e4 e5 *
[ECO "B00"] [Opening "King's pawn opening"] 1. e4 *
[ECO "C60"] [Opening "Ruy Lopez"] [Variation "Cozio defence"] 1. e4 e5 2. Nf3 Nc6 3. Bb5 Nge7 *
[ECO "D06"] [Opening "Queen's gambit"] 1. d4 d5 2. c4 *
[ECO "C00"] [Opening "French"] [Variation "first order"] 1. e4 e6 2. d4 d5 *
[ECO "C00"] [Opening "French"] [Variation "second order"] 1. d4 e6 2. e4 d5 *
[ECO "C00"] [Opening "French"] [Variation "long way round"] 1. Nf3 e6 2. Ng1 Nf6 3. e4 Ng8 4. d4 d5 *
[ECO "A04"] [Opening "Reti"] [Variation "King's Indian attack"] 1. Nf3 d5 2. g3 *
[ECO "A04"] [Opening "Reti opening"] 1. Nf3 *
[ECO "E00"] [Opening "Catalan, first"] 1. d4 Nf6 2. c4 e6 3. g3 *
[ECO "E00"] [Opening "Catalan, second"] 1. c4 e6 2. d4 Nf6 3. g3 *
[ECO "D02"] [Opening "London"] 1. d4 d5 2. Nf3 Nf6 3. Bf4 *
[ECO "D02"] [Opening "London"] [Variation "Reti order"] 1. Nf3 d5 2. d4 Nf6 3. Bf4 *
)";

// The moves of a line in standard notation ("1. e4 e5 2. Nf3").
std::vector<Move> Line(const std::string &san) {
  PgnGame game;
  PgnError error;
  EXPECT_TRUE(CPgnReader::Read(san + " *", game, error)) << san << ": " << error.reason;
  return game.moves;
}

// The position after a line from the standard start.
Position After(const std::string &san) {
  Position position;
  for (const Move &move : Line(san))
    EXPECT_TRUE(position.Play(move)) << san;
  return position;
}

std::string Describe(const OpeningName &name) { return name.eco + " " + name.opening + ", " + name.variation; }

COpeningBook LoadSmallBook() {
  COpeningBook book;
  std::string error;
  EXPECT_TRUE(book.Load(SMALL_BOOK, error)) << error;
  return book;
}

TEST(OpeningBookTest, NamesEachPositionByTheEntryThatFitsBest) {
  const COpeningBook book = LoadSmallBook();
  EXPECT_EQ(book.GetEntryCount(), 14u);
  EXPECT_TRUE(book.GetSkipped().empty());
  struct Case {
    const char *line, *opening, *variation; // opening null: not in the book
  } cases[] = {
      {"", nullptr, ""},                    // the start is no opening
      {"1. e4", "King's pawn opening", ""}, // ends here, though the Ruy Lopez passes first
      {"1. e4 e5", "King's pawn game", ""},
      {"1. e4 e5 2. Nf3 Nc6", "King's pawn game", ""}, // passed through: the last name before it
      {"1. e4 e5 2. Nf3 Nc6 3. Bb5", "Ruy Lopez", ""},
      {"1. e4 e5 2. Nf3 Nc6 3. Bb5 Nge7", "Ruy Lopez", "Cozio defence"},
      {"1. d4", "Queen's gambit", ""},                    // before the line's first name: the line's own
      {"1. e4 e6 2. d4 d5", "French", "long way round"},  // three lines end here: the longest wins
      {"1. d4 Nf6 2. c4 e6 3. g3", "Catalan, first", ""}, // two of one length: the first wins
      {"1. Nf3 d5", "Reti opening", ""},
      {"1. d4 d5 2. Nf3", "Reti opening", ""}, // a name before it on one line beats a line ahead
      {"1. Nf3 d5 2. g3", "Reti", "King's Indian attack"},
      {"1. c3", nullptr, ""},
      {"1. e4 e5 2. Nf3 Nc6 3. Bc4", nullptr, ""},
  };
  for (const Case &c : cases) {
    OpeningName name;
    EXPECT_EQ(book.FindPosition(After(c.line), name), c.opening != nullptr) << c.line << ": " << Describe(name);
    EXPECT_EQ(name.opening + "/" + name.variation, c.opening ? std::string(c.opening) + "/" + c.variation : "/")
        << c.line;
  }
}

TEST(OpeningBookTest, LookupAndFindNameTheDeepestKnownPositionOfALine) {
  const COpeningBook book = LoadSmallBook();
  struct Case {
    const char *line, *opening, *variation;
    size_t ply; // where the name was found
  } cases[] = {
      {"1. Nf3 Nc6 2. e4 e5 3. Bb5", "Ruy Lopez", "", 5},                      // a transposition
      {"1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 5. O-O", "Ruy Lopez", "", 5}, // left the book: keeps the name
      {"1. e4 e5 2. Nf3 Nc6 3. Bb5 Nge7 4. c3 a6", "Ruy Lopez", "Cozio defence", 6},
      {"1. a3 e5 2. Nc3", nullptr, "", 0},
  };
  for (const Case &c : cases) {
    const std::vector<Move> moves = Line(c.line);
    const OpeningMatch match = book.Lookup(Position(), moves);
    EXPECT_EQ(match.found, c.opening != nullptr) << c.line;
    EXPECT_EQ(match.name.opening + "/" + match.name.variation,
              c.opening ? std::string(c.opening) + "/" + c.variation : "/")
        << c.line;
    EXPECT_EQ(match.ply, c.ply) << c.line;
    EXPECT_EQ(match.plies, moves.size()) << c.line;
    EXPECT_TRUE(match.error.empty()) << c.line << ": " << match.error;
  }

  const OpeningMatch stopped = book.Lookup(Position(), {Uci("e2e4"), Uci("e7e5"), Uci("e1e3"), Uci("b8c6")});
  EXPECT_EQ(stopped.name.eco, "C20");
  EXPECT_EQ(stopped.ply, 2u);
  EXPECT_EQ(stopped.plies, 2u);
  EXPECT_NE(stopped.error.find("e1e3"), std::string::npos) << stopped.error;

  // Find reads a game record from its start, which may be a set-up position.
  CGameRecord record;
  OpeningName name;
  EXPECT_FALSE(book.Find(record, name));
  for (const Move &move : Line("1. e4 e5 2. Nf3 Nc6 3. Bb5 Nge7 4. O-O"))
    ASSERT_TRUE(record.Play(move));
  ASSERT_TRUE(book.Find(record, name));
  EXPECT_EQ(name.variation, "Cozio defence");
  CGameRecord fromPosition;
  fromPosition.Start(After("1. e4 e5"));
  ASSERT_TRUE(fromPosition.Play(Uci("h2h3")));
  ASSERT_TRUE(book.Find(fromPosition, name));
  EXPECT_EQ(name.eco, "C20");
}

TEST(OpeningBookTest, SkipsBrokenEntriesAndRefusesFilesWithoutAUsableOne) {
  COpeningBook book;
  std::string error;
  ASSERT_TRUE(book.Load("[ECO \"B00\"]\n[Opening \"King's pawn opening\"]\n\n1. e4 *\n\n"
                        "[ECO \"X00\"]\n[Opening \"Broken\"]\n\n1. e4 e5 2. Ke3 *\n\n" // fault on line 9
                        "[ECO \"X01\"]\n\n1. d4 *\n\n"                                 // begins on line 11
                        "[ECO \"C20\"] [Opening \"Side line\"] 1. e4 (1. d4 d5) e5 *\n"
                        "[ECO \"X02\"] [Opening \"Set up\"] [SetUp \"1\"] [FEN \"4k3/8/8/8/8/8/4P3/4K3 w - - 0 1\"]\n"
                        "1. e4 Kd7 *\n",
                        error))
      << error;
  EXPECT_EQ(book.GetEntryCount(), 3u);
  ASSERT_EQ(book.GetSkipped().size(), 2u);
  EXPECT_EQ(book.GetSkipped()[0].line, 9);
  EXPECT_NE(book.GetSkipped()[0].reason.find("Ke3"), std::string::npos) << book.GetSkipped()[0].reason;
  EXPECT_EQ(book.GetSkipped()[1].line, 11);
  EXPECT_NE(book.GetSkipped()[1].reason.find("Opening"), std::string::npos) << book.GetSkipped()[1].reason;
  OpeningName name;
  EXPECT_FALSE(book.FindPosition(After("1. d4 d5"), name)) << "a variation was indexed";
  EXPECT_FALSE(book.FindPosition(After("1. d4"), name)) << "an entry without a name was indexed";
  EXPECT_TRUE(book.FindPosition(After("1. e4 e5"), name) && name.opening == "Side line") << Describe(name);
  Position setUp = chess_testing::FromFen("4k3/8/8/8/8/8/4P3/4K3 w - - 0 1");
  ASSERT_TRUE(chess_testing::PlayLine(setUp, "e2e4 e8d7"));
  EXPECT_TRUE(book.FindPosition(setUp, name) && name.eco == "X02") << Describe(name);

  for (const char *text : {"", "no pgn at all {", "[ECO \"A00\"]\n\n1. b4 *\n", "[Opening \"Bad\"]\n\n1. e5 *\n"}) {
    book = LoadSmallBook();
    EXPECT_FALSE(book.Load(text, error)) << text;
    EXPECT_FALSE(error.empty()) << text;
    EXPECT_EQ(book.GetEntryCount() + book.GetPositionCount(), 0u) << text;
    EXPECT_FALSE(book.FindPosition(After("1. e4"), name)) << text;
  }
}

TEST(OpeningBookTest, ReadsTheEcoFileOfPgnExtract) {
  std::ifstream file(ECO_FILE, std::ios::binary);
  if (!file)
    GTEST_SKIP() << ECO_FILE << " is not installed";
  std::stringstream text;
  text << file.rdbuf();
  const std::string pgn = text.str();
  size_t tagged = 0;
  for (size_t at = pgn.find("[Opening "); at != std::string::npos; at = pgn.find("[Opening ", at + 1))
    ++tagged;

  const auto started = std::chrono::steady_clock::now();
  COpeningBook book;
  std::string error;
  ASSERT_TRUE(book.Load(pgn, error)) << error;
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
  std::cout << "eco.pgn: " << book.GetEntryCount() << " entries, " << book.GetSkipped().size() << " skipped, "
            << book.GetPositionCount() << " positions, loaded in " << ms << " ms\n";
  for (const PgnError &skip : book.GetSkipped())
    std::cout << "  skipped at line " << skip.line << ": " << skip.reason << "\n";
  EXPECT_EQ(book.GetEntryCount() + book.GetSkipped().size(), tagged);
  EXPECT_GT(book.GetEntryCount(), tagged * 9 / 10);

  const OpeningMatch ruy = book.Lookup(Position(), Line("1. e4 e5 2. Nf3 Nc6 3. Bb5"));
  EXPECT_EQ(ruy.ply, 5u);
  EXPECT_EQ(ruy.name.eco, "C60");
  EXPECT_NE(ruy.name.opening.find("Ruy Lopez"), std::string::npos) << Describe(ruy.name);

  // Transpositions reach the name of the usual order, found where they end.
  const std::pair<const char *, const char *> orders[] = {
      {"1. e4 e5 2. Nf3 Nc6 3. Bb5", "1. Nf3 Nc6 2. e4 e5 3. Bb5"},
      {"1. d4 Nf6 2. c4 e6", "1. c4 e6 2. d4 Nf6"},
      {"1. e4 c5 2. Nf3 d6 3. d4 cxd4 4. Nxd4 Nf6 5. Nc3 a6", "1. e4 c5 2. Nf3 d6 3. d4 Nf6 4. Nc3 cxd4 5. Nxd4 a6"}};
  for (const auto &o : orders) {
    const std::vector<Move> usual = Line(o.first), other = Line(o.second);
    const OpeningMatch a = book.Lookup(Position(), usual), b = book.Lookup(Position(), other);
    EXPECT_TRUE(a.found && a.ply == usual.size() && b.ply == other.size()) << o.first;
    EXPECT_EQ(a.name, b.name) << Describe(a.name) << " / " << Describe(b.name);
  }

  // Morphy's Opera game leaves the book early and keeps the name it had.
  const std::vector<Move> opera = Line("1. e4 e5 2. Nf3 d6 3. d4 Bg4 4. dxe5 Bxf3 5. Qxf3 dxe5 6. Bc4 Nf6 7. Qb3 Qe7 "
                                       "8. Nc3 c6 9. Bg5 b5 10. Nxb5 cxb5 11. Bxb5+ Nbd7 12. O-O-O Rd8 13. Rxd7 Rxd7 "
                                       "14. Rd1 Qe6 15. Bxd7+ Nxd7 16. Qb8+ Nxb8 17. Rd8#");
  CGameRecord record;
  for (const Move &move : opera)
    ASSERT_TRUE(record.Play(move));
  OpeningName name;
  ASSERT_TRUE(book.Find(record, name));
  EXPECT_EQ(name.eco, "C41");
  EXPECT_NE(name.opening.find("Philidor"), std::string::npos) << Describe(name);
  const OpeningMatch match = book.Lookup(Position(), opera);
  EXPECT_TRUE(match.ply >= 5 && match.ply < 12) << match.ply;
  EXPECT_EQ(match.plies, opera.size());
}

} // namespace
