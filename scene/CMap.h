// The board: 64 fields, 32 tokens and 4 label strips, with the position held
// in the tokens and the rules that judge and play moves on them.
// The scene side lives in scene/, the rule side in rules/.
#pragma once

#include "app/KelvarTypes.h"

#include <irrlicht.h>

#include <vector>

class CCaptureTray;
class CGameField;
class CGameLabel;
class CGameToken;

using TargetList = irr::core::list<BoardSquare>;

class CMap {
public:
  static constexpr int FIELD_COUNT = 64;
  static constexpr int TOKEN_COUNT = 32;
  static constexpr int LABEL_COUNT = 4;

  CMap();
  ~CMap();
  CMap(const CMap &) = delete;
  CMap &operator=(const CMap &) = delete;

  // --- Scene set-up (scene/) -------------------------------------------
  // Sky box, fields, labels and tokens; false on the first failure.
  bool Init();
  void Update() {}
  void Exit() {}
  bool InitSkyBox();
  bool InitGameFields();
  bool InitGameChars();
  bool InitGameNumbers();
  bool InitGameTokens();
  bool InitTrays();
  // Entry animation: fields, pieces and labels fall onto their places.
  void MoveGameTokensIn();
  void SettleFields();
  irr::core::vector3df GetSquareWorldPosition(irr::s32 x, irr::s32 y) const;

  CGameField *GetField(irr::s32 x, irr::s32 y) const { return squares[x * 8 + y]; }
  CGameToken *GetToken(irr::s32 index) const { return tokens[index]; }
  CGameLabel *GetLabel(irr::s32 index) const { return labels[index]; }
  CGameToken *const *GetTokens() const { return tokens; }

  // --- A move as the player sees it (scene/) ---------------------------
  // Where every token's node stands and whether it is in play: taken before
  // a move so that the picture can travel from there to the new position.
  struct Placement {
    irr::core::vector3df at[TOKEN_COUNT];
    bool captured[TOKEN_COUNT] = {};
  };
  void SnapshotPlacement(Placement &placement) const;
  // Lets every token the move has shifted glide from where it was drawn to
  // its square (a knight in an arc, a castling rook after its king), and a
  // token the move has taken sink out of the board. The rule state is final
  // already; only the picture follows.
  void AnimateMove(const Placement &before, irr::s32 mover);
  // Whether some token is still travelling.
  bool IsAnimating() const;
  // The tint of the last move's two squares; cleared with no move.
  void SetLastMove(const BoardSquare &from, const BoardSquare &to);
  void ClearLastMove();
  bool GetLastMove(BoardSquare &from, BoardSquare &to) const;
  // Puts every captured token on its side's tray, in the order they were
  // taken; a token no longer captured leaves the order, one captured
  // without passing through a move joins it at the end.
  void RebuildTrays();
  // A position set up from scratch: the capture order starts over, and the
  // tokens not in play stand on their sides' trays in token order, as the
  // pieces left over beside a board set up from a diagram.
  void SetUpTrays();
  const std::vector<irr::s32> &GetCaptureOrder() const { return captureOrder; }
  CCaptureTray *GetTray(irr::s32 color) const { return trays[color == White ? 0 : 1]; }

  // --- Board model and move generation (rules/) ------------------------
  // Token objects without scene nodes, for a board that only judges and
  // plays moves; LoadFen puts a position on them.
  void InitRuleTokens();
  static bool IsOnBoard(irr::s32 x, irr::s32 y);
  bool FindTokenIn(CGameToken *const *array, const BoardSquare &s, irr::s32 &index) const;
  bool FindTokenAt(const BoardSquare &s, irr::s32 &index) const;
  bool GenerateTargets(CGameToken *const *array, irr::s32 i, TargetList &targets) const;
  void GenerateAllTargets(CGameToken *const *array) const;
  irr::s32 GetTokenColor(irr::s32 index) const;
  bool GetTokenSquare(irr::s32 index, BoardSquare &square) const;
  irr::s32 GetSelectedToken() const { return selectedToken; }

  // --- Check, mate and move execution (rules/) -------------------------
  bool IsKingAttacked(CGameToken *const *array, irr::s32 color, irr::s32 &kingIndex) const;
  void CopyTokensTo(CGameToken *const *scratch) const;
  void FilterLegalTargets(irr::s32 i, TargetList &targets) const;
  void UpdateMoves();
  bool IsMate(irr::s32 color) const;
  bool ExecuteMove(const BoardSquare &target, bool &promoted, irr::s32 promotion = Queen);
  bool IsPromotionMove(irr::s32 index, const BoardSquare &target) const;
  // New game: every token home (promoted ones back to pawns), no selection.
  void Reset();
  // Makes token index a pawn again, with the pawn mesh and the board's shadow
  // setting: the undoing of a promotion. Square and flags stay.
  void RestorePawn(irr::s32 index);
  // Puts the check marker over sideToMove's king if it is attacked, and
  // takes it off every other king. Reads the target lists as they are.
  void ShowCheck(irr::s32 sideToMove);
  // The pawn that has just made a double step and may be taken en passant
  // on the next move, -1 for none. Setting it is for position set-up.
  irr::s32 GetEnPassantPawn() const { return enPassantPawn; }
  void SetEnPassantPawn(irr::s32 index) { enPassantPawn = index; }

  // --- Selection, highlighting and picking (rules/) --------------------
  void ClearTokenHighlights();
  void ClearSquareHighlights();
  void HighlightToken(irr::s32 index);
  void HighlightSquare(irr::s32 x, irr::s32 y);
  void ClearSelection();
  void SelectToken(irr::s32 index);
  bool FindTokenOfNode(const irr::scene::ISceneNode *node, irr::s32 &index) const;
  bool FindSquareOfNode(const irr::scene::ISceneNode *node, BoardSquare &square) const;
  bool PickDrawn(irr::s32 &index, BoardSquare &square) const;
  bool PickToken(irr::s32 &index) const;
  bool PickSquare(BoardSquare &square) const;
  irr::core::vector3df GetSelectedTokenPosition() const;
  void SetShadowsVisible(bool visible);
  void ShowLabels(bool on, irr::s32 color);

private:
  CGameField *squares[FIELD_COUNT];
  CGameToken *tokens[TOKEN_COUNT];
  CGameLabel *labels[LABEL_COUNT];
  CCaptureTray *trays[2];
  irr::s32 selectedToken;
  // Captured tokens in the order they were taken.
  std::vector<irr::s32> captureOrder;

  // Rule state beyond the tokens: the pawn that has just made a double step
  // and may be taken en passant on the next move (-1 for none).
  irr::s32 enPassantPawn = -1;
  // The last move's squares, tinted on the board; lastMoveShown false: none.
  BoardSquare lastMoveFrom, lastMoveTo;
  bool lastMoveShown = false;

  // Where a captured token stands on its tray (its place in the capture
  // order of its colour), false without a tray.
  bool TraySlotOf(irr::s32 index, irr::core::vector3df &position) const;
  // Whether the pieces' shadows are on, so that a piece given a new mesh at
  // a new game shows its shadow like the others.
  bool shadowsVisible = false;
};
