// The board as the player sees it: 64 fields, 32 tokens, 4 label strips and
// two trays, with picking, selection, highlights and the pieces' travel. It is
// a view of the chess core's position: it plays no rules itself.
#pragma once

#include "app/KelvarTypes.h"
#include "chess/CGameRecord.h"
#include "scene/CBoardTheme.h"

#include <irrlicht.h>

#include <vector>

class CCaptureTray;
class CGameField;
class CGameLabel;
class CGameToken;

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
  const std::vector<irr::s32> &GetCaptureOrder() const { return captureOrder; }
  CCaptureTray *GetTray(irr::s32 color) const { return trays[color == White ? 0 : 1]; }

  // --- The position as the board shows it (scene/) ----------------------
  // The chess core holds the position; the board places its tokens from it.
  // Sets the position up from scratch: a token per piece (the one whose home
  // square the piece stands on first, then one of its kind and colour, then
  // any free one of its colour, given the kind's mesh), the rest taken and
  // standing on their sides' trays in token order. Nothing travels, nothing
  // is selected, no last move is tinted, the capture order starts over and
  // the moves to take back are forgotten.
  void SetUpPosition(const chess::Position &position);
  // New game: the start position set up, every token home (promoted ones
  // back to pawns).
  void Reset();
  // Follows a move the core has played, reaching the position after: the
  // token on its from-square goes to its target (a promoted pawn takes its
  // new kind's mesh), the token taken leaves the board, the castling rook
  // moves; the check marker follows. With animate, the pieces travel and the
  // last move is tinted; without, they stand on their squares at once (a game
  // replayed from a file) and the last move is tinted all the same.
  void ShowMove(const chess::PlayedMove &move, const chess::Position &after, bool animate = true);
  // Puts the tokens back as they stood before the last move ShowMove
  // followed, reaching the position given: kinds, squares and captures, the
  // check marker, the trays. Nothing is selected afterwards. False, with
  // nothing changed, when no move is left to take back.
  bool TakeBackMove(const chess::Position &position);
  // Puts the check marker over the king of the side to move if it stands in
  // check, and takes it off every other king.
  void ShowCheck(const chess::Position &position);
  // The token standing on a square (taken tokens stand nowhere).
  bool FindTokenAt(const BoardSquare &s, irr::s32 &index) const;
  irr::s32 GetTokenColor(irr::s32 index) const;
  bool GetTokenSquare(irr::s32 index, BoardSquare &square) const;
  irr::s32 GetSelectedToken() const { return selectedToken; }

  // --- Selection, highlighting and picking (scene/) --------------------
  void ClearTokenHighlights();
  void ClearSquareHighlights();
  void HighlightToken(irr::s32 index);
  void HighlightSquare(irr::s32 x, irr::s32 y);
  void ClearSelection();
  // Selects token index and lights it, its square and the squares given
  // (its legal targets, as the game finds them in the core).
  void SelectToken(irr::s32 index, const std::vector<BoardSquare> &targets = {});
  bool FindTokenOfNode(const irr::scene::ISceneNode *node, irr::s32 &index) const;
  bool FindSquareOfNode(const irr::scene::ISceneNode *node, BoardSquare &square) const;
  bool PickDrawn(irr::s32 &index, BoardSquare &square) const;
  bool PickToken(irr::s32 &index) const;
  bool PickSquare(BoardSquare &square) const;
  irr::core::vector3df GetSelectedTokenPosition() const;
  void SetShadowsVisible(bool visible);
  void ShowLabels(bool on, irr::s32 color);

  // --- The board set (scene/CBoardTheme) --------------------------------
  // Shows the set on fields, pieces, labels and trays at once; false, with
  // the board as it was, when the set's files are not all there.
  bool ApplyTheme(EBoardTheme set) { return theme.Apply(set, *this); }
  const CBoardTheme &GetTheme() const { return theme; }

private:
  CGameField *squares[FIELD_COUNT];
  CGameToken *tokens[TOKEN_COUNT];
  CGameLabel *labels[LABEL_COUNT];
  CCaptureTray *trays[2];
  CBoardTheme theme;
  irr::s32 selectedToken;
  // Captured tokens in the order they were taken.
  std::vector<irr::s32> captureOrder;

  // What every token showed before each move ShowMove followed, so that a
  // take back puts the very same tokens back.
  struct TokenState {
    BoardSquare square;
    irr::s32 type = Pawn;
    bool captured = false;
  };
  struct Layout {
    TokenState tokens[TOKEN_COUNT];
  };
  std::vector<Layout> layouts;
  void ApplyLayout(const Layout &layout);
  // Gives token index another kind with its mesh and the board's shadow setting.
  void ShowKind(irr::s32 index, irr::s32 type);
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
