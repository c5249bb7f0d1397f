// Reading the engine program's lines: "bestmove" answers, the faults and
// failures it reports as "info string error ...", and move texts.
#include "engine/CEngineReply.h"

#include "chess/Move.h"
#include "ui/GuiText.h"

#include <cstring>

namespace {

const char *const BEST_MOVE = "bestmove";
const char *const ERROR_PREFIX = "info string error ";
const char *const NULL_MOVE = "0000";
const char *const NO_MOVE = "(none)";
// The faults of a search's answer the engine program reports; any other
// error line says the program has no engine.
const char *const MOVE_FAULTS[] = {"illegal move ", "malformed bestmove", "missing bestmove"};

bool StartsWith(const std::string &text, const char *prefix) { return text.compare(0, strlen(prefix), prefix) == 0; }

} // namespace

CEngineReply CEngineReply::Parse(const std::string &line) {
  CEngineReply reply;
  if (line == "readyok") {
    reply.kind = Kind::ReadyOk;
  } else if (StartsWith(line, ERROR_PREFIX)) {
    reply.fault = line.substr(strlen(ERROR_PREFIX));
    reply.kind = Kind::Unavailable;
    for (const char *fault : MOVE_FAULTS)
      if (StartsWith(reply.fault, fault))
        reply.kind = Kind::MoveFault;
  } else if (line == BEST_MOVE || StartsWith(line, "bestmove ")) {
    // "bestmove <move> [ponder <move>]": one blank, then the move.
    const size_t start = strlen(BEST_MOVE) + 1;
    const std::string move = line.size() <= start ? "" : line.substr(start, line.find(' ', start) - start);
    reply.move = move;
    if (move == NULL_MOVE || move == NO_MOVE) {
      reply.kind = Kind::NoMove;
    } else if (chess::IsMoveText(move)) {
      reply.kind = Kind::BestMove;
    } else {
      reply.kind = Kind::Malformed;
      const std::string text = line.substr(std::min(start, line.size()));
      reply.fault = text.empty() ? "missing bestmove" : "malformed bestmove " + text;
    }
  } else if (line.find("info currmove") != std::string::npos) {
    reply.kind = Kind::CurrMove;
  }
  return reply;
}

bool CEngineReply::Squares(const std::string &move, BoardSquare &from, BoardSquare &to, irr::s32 &promotion) {
  chess::Move parsed;
  if (!chess::Move::FromUci(move, parsed))
    return false;
  from = parsed.from;
  to = parsed.to;
  promotion = parsed.promotion == chess::Pawn ? chess::Queen : parsed.promotion;
  return true;
}

bool CEngineReply::MoveText(const BoardSquare &from, const BoardSquare &to, bool promoted, irr::s32 promotion,
                            std::string &text) {
  if (!from.IsOnBoard() || !to.IsOnBoard())
    return false;
  const irr::s32 piece =
      promotion == chess::Rook || promotion == chess::Bishop || promotion == chess::Knight ? promotion : chess::Queen;
  text = chess::Move(from, to, promoted ? piece : chess::Pawn).ToUci();
  return true;
}

std::wstring CEngineReply::RestartNotice(const std::string &fault) {
  const char *const illegal = "illegal move ";
  const char *const malformed = "malformed bestmove ";
  if (StartsWith(fault, illegal))
    return TrFormatW("The engine played an illegal move ({1}): it was restarted", {fault.substr(strlen(illegal))})
        .c_str();
  if (StartsWith(fault, malformed))
    return TrFormatW("The engine sent a malformed move ({1}): it was restarted", {fault.substr(strlen(malformed))})
        .c_str();
  return TrW("The engine sent no move: it was restarted").c_str();
}
