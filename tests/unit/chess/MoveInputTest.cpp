// Typed moves against the chess core: every legal move of a set of positions
// typed as players type it is found; ambiguous, illegal and garbage texts are
// refused with their reason.
#include "chess/MoveInput.h"
#include "chess/CSanNotation.h"
#include "tests/unit/chess/ChessTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

using namespace chess;

namespace {

// Start, a middle game with both castlings, a capture en passant (after ...d5
// the e5 pawn may take on d6) and promotions with and without capture.
const char *const POSITIONS[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3",
    "1r2k3/P1P5/8/8/8/8/5p2/3K2R1 b - - 0 1",
};

std::string Stripped(std::string san) {
  san.erase(std::remove_if(san.begin(), san.end(), [](char c) { return c == '+' || c == '#'; }), san.end());
  return san;
}

TEST(MoveInput, EveryLegalMoveTypedAnyWayIsFound) {
  for (const char *fen : POSITIONS) {
    const Position position = chess_testing::FromFen(fen);
    for (const Move &move : position.LegalMoves()) {
      const std::string san = CSanNotation::ToSan(position, move);
      std::vector<std::string> texts = {san, Stripped(san), move.ToUci(), " " + move.ToUci() + " "};
      std::string lower = Stripped(san);
      std::string upperUci = move.ToUci();
      for (char &c : upperUci)
        c = char(std::toupper(static_cast<unsigned char>(c)));
      texts.push_back(upperUci);
      if (san.rfind("O-O", 0) == 0) {
        std::string zeros = Stripped(san);
        std::replace(zeros.begin(), zeros.end(), 'O', '0');
        texts.push_back(zeros);
      }
      const size_t equals = lower.find('=');
      if (equals != std::string::npos) {
        texts.push_back(lower.substr(0, equals) + lower.substr(equals + 1));             // e8Q
        texts.push_back(lower.substr(0, equals + 1) + char(std::tolower(lower.back()))); // e8=q
      }
      for (const std::string &text : texts) {
        const MoveInput input = ReadTypedMove(position, text);
        EXPECT_EQ(input.verdict, MoveInput::Verdict::Move) << fen << " \"" << text << "\": " << input.reason;
        EXPECT_EQ(input.move, move) << fen << " \"" << text << "\"";
      }
      // A lower-case piece letter: "nf3" is Nf3; "b..." may also be a pawn's.
      if (std::isupper(static_cast<unsigned char>(lower[0])) && lower[0] != 'O') {
        lower[0] = char(std::tolower(static_cast<unsigned char>(lower[0])));
        const MoveInput input = ReadTypedMove(position, lower);
        const bool found =
            input.verdict == MoveInput::Verdict::Move
                ? input.move == move
                : std::find(input.candidates.begin(), input.candidates.end(), san) != input.candidates.end();
        EXPECT_TRUE(found && (input.verdict == MoveInput::Verdict::Move || lower[0] == 'b'))
            << fen << " \"" << lower << "\": " << input.reason;
      }
    }
  }
}

TEST(MoveInput, RefusesWithAReason) {
  const struct {
    const char *fen;
    const char *text;
    MoveInput::Verdict verdict;
    const char *reason;
    const char *pattern; // the reason with its values left out, for the interface to translate
  } cases[] = {
      {POSITIONS[0], "", MoveInput::Verdict::Refused, "nothing was typed", "nothing was typed"},
      {POSITIONS[0], "e5", MoveInput::Verdict::Refused, "\"e5\" is not a legal move here",
       "\"{1}\" is not a legal move here"},
      {POSITIONS[0], "Nd2", MoveInput::Verdict::Refused, "\"Nd2\" is not a legal move here",
       "\"{1}\" is not a legal move here"},
      {POSITIONS[0], "hello", MoveInput::Verdict::Refused, "\"hello\" is not a move (", "\"{1}\" is not a move ({2})"},
      {POSITIONS[0], "Zf3", MoveInput::Verdict::Refused, "\"Zf3\" is not a move (unknown piece letter 'Z')",
       "\"{1}\" is not a move ({2})"},
      {POSITIONS[0], "e3e4", MoveInput::Verdict::Refused, "there is no piece on e3", "there is no piece on {1}"},
      {POSITIONS[0], "e7e5", MoveInput::Verdict::Refused, "the pawn on e7 is not yours to move",
       "{1} on {2} is not yours to move"},
      {POSITIONS[0], "g1g3", MoveInput::Verdict::Refused, "the knight on g1 cannot go to g3",
       "{1} on {2} cannot go to {3}"},
      {"4k3/8/8/8/8/5N2/8/1N2K3 w - - 0 1", "Nd2", MoveInput::Verdict::Ambiguous, "\"Nd2\" may be Nbd2 or Nfd2",
       "\"{1}\" may be {2}"},
      {"4k3/8/8/8/8/2p5/1P1B4/4K3 w - - 0 1", "bxc3", MoveInput::Verdict::Ambiguous, "\"bxc3\" may be bxc3 or Bxc3",
       "\"{1}\" may be {2}"},
      {"4k3/8/8/8/8/8/4r3/4K3 w - - 0 1", "e1d2", MoveInput::Verdict::Refused,
       "the king on e1 cannot go to d2 (your king is in check)", "{1} on {2} cannot go to {3} (your king is in check)"},
  };
  for (const auto &c : cases) {
    const MoveInput input = ReadTypedMove(chess_testing::FromFen(c.fen), c.text);
    EXPECT_EQ(input.verdict, c.verdict) << c.text;
    EXPECT_EQ(input.reason.rfind(c.reason, 0), 0u) << c.text << ": " << input.reason;
    EXPECT_EQ(input.reasonPattern, c.pattern) << c.text;
    EXPECT_EQ(FillReason(input.reasonPattern, input.reasonValues), input.reason) << c.text;
  }
}

} // namespace
