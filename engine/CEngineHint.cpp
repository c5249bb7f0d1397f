#include "engine/CEngineHint.h"

#include "engine/CEngineReply.h"

std::string CEngineHint::Ask(irr::u32 thinkMs) {
  line.clear();
  return "go movetime " + std::to_string(thinkMs) + "\n";
}

bool CEngineHint::TakeAnswer(const std::string &move, bool showable) {
  if (!pending)
    return false;
  pending = false;
  if (wanted && showable)
    line = move;
  return true;
}

bool CEngineHint::Fetch(BoardSquare &from, BoardSquare &to) {
  BoardSquare hintFrom, hintTo;
  irr::s32 promotion = Queen;
  const bool usable = CEngineReply::Squares(line, hintFrom, hintTo, promotion);
  line.clear();
  if (!usable)
    return false;
  from = hintFrom;
  to = hintTo;
  return true;
}

bool CEngineHint::Cancel() {
  wanted = false;
  line.clear();
  return pending;
}
