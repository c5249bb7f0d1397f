// The board as a view of the chess core's position: which token shows which
// piece, set up from scratch or following the core move by move, and put
// back as it was on a take back.
#include "scene/CMap.h"

#include "app/CApplication.h"
#include "scene/CGameToken.h"

namespace {

constexpr int SQUARES = 64;
constexpr irr::s32 NO_TOKEN = -1;

// The kind a token stands for in the start position: the kind on its home square.
irr::s32 HomeKind(const CGameToken &token) {
  static const chess::Position start;
  int type = Pawn, color = White;
  start.PieceAt(token.GetHomeSquare(), type, color);
  return type;
}

} // namespace

bool CMap::FindTokenAt(const BoardSquare &s, irr::s32 &index) const {
  for (irr::s32 i = 0; i < TOKEN_COUNT; ++i)
    if (tokens[i] && !tokens[i]->IsCaptured() && tokens[i]->IsOnSquare(s)) {
      index = i;
      return true;
    }
  return false;
}

irr::s32 CMap::GetTokenColor(irr::s32 index) const { return tokens[index]->GetColor(); }

bool CMap::GetTokenSquare(irr::s32 index, BoardSquare &square) const {
  square = tokens[index]->GetSquare();
  return true;
}

void CMap::ShowKind(irr::s32 index, irr::s32 type) {
  CGameToken *token = tokens[index];
  if (token->GetType() == type)
    return;
  token->ChangeType(type); // a token without a scene only changes its kind
  token->SetShadowVisible(shadowsVisible);
}

void CMap::Reset() {
  LogMessage("CMap::Reset");
  SetUpPosition(chess::Position());
}

void CMap::SetUpPosition(const chess::Position &position) {
  SettleFields();
  layouts.clear();
  ClearSelection();
  ClearLastMove();
  captureOrder.clear();

  // Which token shows the piece on each square: the token at home there,
  // else the first free one of the piece's kind and colour, else the first
  // free one of its colour (the pawns come first), which takes the kind.
  irr::s32 tokenOn[SQUARES];
  bool used[TOKEN_COUNT] = {};
  int types[SQUARES], colors[SQUARES];
  for (int sq = 0; sq < SQUARES; ++sq) {
    tokenOn[sq] = NO_TOKEN;
    if (!position.PieceAt(BoardSquare::FromIndex(sq), types[sq], colors[sq]))
      types[sq] = -1;
  }
  auto claim = [&](auto &&fits) {
    for (int sq = 0; sq < SQUARES; ++sq) {
      if (types[sq] < 0 || tokenOn[sq] != NO_TOKEN)
        continue;
      for (irr::s32 i = 0; i < TOKEN_COUNT; ++i)
        if (!used[i] && tokens[i]->GetColor() == colors[sq] && fits(*tokens[i], sq)) {
          tokenOn[sq] = i;
          used[i] = true;
          break;
        }
    }
  };
  claim([&](const CGameToken &t, int sq) {
    return HomeKind(t) == types[sq] && t.GetHomeSquare() == BoardSquare::FromIndex(sq);
  });
  claim([&](const CGameToken &t, int sq) { return HomeKind(t) == types[sq]; });
  claim([](const CGameToken &, int) { return true; });

  for (irr::s32 i = 0; i < TOKEN_COUNT; ++i) {
    CGameToken *token = tokens[i];
    if (token->GetMeshNode())
      token->GetMeshNode()->removeAnimators();
    token->SetMarker(false);
    if (!used[i]) {
      ShowKind(i, HomeKind(*token));
      token->SetCaptured(true);
      token->SetSquare(token->GetHomeSquare());
    }
  }
  for (int sq = 0; sq < SQUARES; ++sq) {
    if (types[sq] < 0)
      continue;
    if (tokenOn[sq] == NO_TOKEN) {
      LogMessage("CMap::SetUpPosition more pieces of one colour than its 16 tokens");
      continue;
    }
    ShowKind(tokenOn[sq], types[sq]);
    tokens[tokenOn[sq]]->SetCaptured(false);
    tokens[tokenOn[sq]]->SetSquare(BoardSquare::FromIndex(sq));
  }
  // The tokens not in play stand on their sides' trays in token order, as
  // the pieces left over beside a board set up from a diagram.
  RebuildTrays();
  ShowCheck(position);
}

void CMap::ShowMove(const chess::PlayedMove &move, const chess::Position &after, bool animate) {
  irr::s32 mover = NO_TOKEN;
  if (!FindTokenAt(move.from, mover)) {
    LogMessage("CMap::ShowMove no token on " + SquareName(move.from) + "; the board is set up again");
    SetUpPosition(after);
    return;
  }
  Layout layout;
  for (irr::s32 i = 0; i < TOKEN_COUNT; ++i)
    layout.tokens[i] = {tokens[i]->GetSquare(), tokens[i]->GetType(), tokens[i]->IsCaptured()};
  layouts.push_back(layout);
  Placement before;
  SnapshotPlacement(before);

  // The taken token first, while it still stands on its square.
  irr::s32 taken = NO_TOKEN;
  if (move.captured != chess::PlayedMove::NONE && FindTokenAt(move.capturedSquare, taken) && taken != mover)
    tokens[taken]->Capture();
  irr::s32 rook = NO_TOKEN;
  if (move.castling && FindTokenAt(move.rookFrom, rook))
    tokens[rook]->SetSquare(move.rookTo);
  if (move.promotion != chess::PlayedMove::NONE)
    ShowKind(mover, move.promotion);
  tokens[mover]->SetSquare(move.to);

  ShowCheck(after);
  if (animate) {
    AnimateMove(before, mover);
  } else {
    for (irr::s32 i = 0; i < TOKEN_COUNT; ++i)
      if (tokens[i]->IsCaptured() && !before.captured[i])
        captureOrder.push_back(i);
    RebuildTrays();
  }
  SetLastMove(move.from, move.to);
}

bool CMap::TakeBackMove(const chess::Position &position) {
  if (layouts.empty())
    return false;
  ClearSelection();
  ApplyLayout(layouts.back());
  layouts.pop_back();
  RebuildTrays();
  ShowCheck(position);
  return true;
}

void CMap::ApplyLayout(const Layout &layout) {
  for (irr::s32 i = 0; i < TOKEN_COUNT; ++i) {
    CGameToken *token = tokens[i];
    const TokenState &state = layout.tokens[i];
    const bool returns = token->IsCaptured() && !state.captured;
    ShowKind(i, state.type);
    if (token->IsCaptured() != state.captured)
      token->SetCaptured(state.captured);
    // A token back from a tray stands on its square again; one taken keeps
    // the square it was taken on, and RebuildTrays shows it on its tray.
    if (!state.captured && (returns || token->GetSquare() != state.square))
      token->SetSquare(state.square);
  }
}

void CMap::ShowCheck(const chess::Position &position) {
  irr::s32 checked = NO_TOKEN;
  if (!position.IsInCheck() || !FindTokenAt(position.GetKingSquare(position.GetSideToMove()), checked))
    checked = NO_TOKEN;
  for (irr::s32 i = 0; i < TOKEN_COUNT; ++i)
    if (tokens[i] && tokens[i]->GetType() == King)
      tokens[i]->SetMarker(i == checked);
}
