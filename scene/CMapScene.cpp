// The scene side of the board: sky box, fields, label strips, the 32 pieces
// on their home squares, and the entry animation.
#include "scene/CMap.h"

#include "app/CApplication.h"
#include "scene/CCaptureTray.h"
#include "scene/CGameField.h"
#include "scene/CGameLabel.h"
#include "scene/CGameToken.h"

using namespace irr;

namespace {

const f32 SQUARE_PITCH = 10.f;
const f32 BOARD_ORIGIN = -35.f; // world X of file a and world Z of rank 1

// The pieces after the pawns, in index order 16..31.
struct PieceRow {
  s32 color;
  s32 type;
  const char *mesh;
  s32 x, y;
  f32 turnY; // only the knights are turned
};

const PieceRow PIECES[] = {
    {White, Rook, "./media/rook.x", 0, 0, 0},       {White, Rook, "./media/rook.x", 7, 0, 0},
    {Black, Rook, "./media/rook.x", 0, 7, 0},       {Black, Rook, "./media/rook.x", 7, 7, 0},
    {White, Knight, "./media/knight.x", 1, 0, -90}, {White, Knight, "./media/knight.x", 6, 0, -90},
    {Black, Knight, "./media/knight.x", 1, 7, 90},  {Black, Knight, "./media/knight.x", 6, 7, 90},
    {White, Bishop, "./media/bishop.x", 2, 0, 0},   {White, Bishop, "./media/bishop.x", 5, 0, 0},
    {Black, Bishop, "./media/bishop.x", 2, 7, 0},   {Black, Bishop, "./media/bishop.x", 5, 7, 0},
    {White, Queen, "./media/queen.x", 3, 0, 0},     {Black, Queen, "./media/queen.x", 3, 7, 0},
    {White, King, "./media/king.x", 4, 0, 0},       {Black, King, "./media/king.x", 4, 7, 0},
};

template <typename T, int N> void AllocateAll(T *(&objects)[N]) {
  for (T *&object : objects)
    if (!object)
      object = new T();
}

template <typename T, int N> void DeleteAll(T *(&objects)[N]) {
  for (T *&object : objects) {
    delete object;
    object = nullptr;
  }
}

} // namespace

CMap::CMap() : squares(), tokens(), labels(), trays(), selectedToken(-1) {}

CMap::~CMap() {
  DeleteAll(tokens);
  DeleteAll(squares);
  DeleteAll(labels);
  DeleteAll(trays);
}

bool CMap::Init() {
  LogMessage("CMap::Init");
  if (!InitSkyBox() || !InitGameFields() || !InitGameChars() || !InitGameNumbers() || !InitGameTokens() || !InitTrays())
    return false;
  // The objects above show the wooden set; the player's set replaces it, and
  // a set that cannot be shown leaves the wooden one (the theme logs why).
  ApplyTheme(app.settings.Get().theme);
  return app.reflection.Init();
}

bool CMap::InitSkyBox() {
  video::IVideoDriver *driver = app.driver;
  // Mip maps would blur the sky's edges into visible seams.
  driver->setTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS, false);
  video::ITexture *top = driver->getTexture("./media/sky_top.bmp");
  if (!top)
    return false;
  video::ITexture *bottom = driver->getTexture("./media/sky_bottom.bmp");
  if (!bottom)
    return false;
  video::ITexture *sides[4];
  for (video::ITexture *&side : sides)
    if (!(side = driver->getTexture("./media/sky_l_r_f_b.bmp")))
      return false;
  driver->setTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS, true);
  app.sceneManager->addSkyBoxSceneNode(top, bottom, sides[0], sides[1], sides[2], sides[3],
                                       app.sceneManager->getRootSceneNode(), ID_NODE_NONE);
  return true;
}

bool CMap::InitGameFields() {
  LogMessage("CMap::InitGameFields");
  AllocateAll(squares);
  for (s32 y = 0; y < 8; ++y)
    for (s32 x = 0; x < 8; ++x) {
      CGameField *field = squares[x * 8 + y];
      const bool dark = (x + y) % 2 == 0; // a1 is dark
      if (!field->Create(dark, dark ? "./media/chess_field_black.x" : "./media/chess_field_white.x"))
        return false;
      field->SetSquare(x, y);
      field->SetPosition(core::vector3df(BOARD_ORIGIN + SQUARE_PITCH * x, 0, BOARD_ORIGIN + SQUARE_PITCH * y));
    }
  return true;
}

// File letters in front of White's first rank and behind Black's last.
bool CMap::InitGameChars() {
  LogMessage("CMap::InitGameChars");
  AllocateAll(labels);
  if (!labels[0]->Create(false, "./media/chars.x") || !labels[1]->Create(true, "./media/chars2.x"))
    return false;
  labels[0]->SetPosition(core::vector3df(-35, 0, -45));
  labels[1]->SetPosition(core::vector3df(35, 0, 45));
  labels[0]->SetRotation(core::vector3df(90, 0, 0));
  labels[1]->SetRotation(core::vector3df(90, 180, 0));
  return true;
}

// Rank digits left of file a and right of file h.
bool CMap::InitGameNumbers() {
  LogMessage("CMap::InitGameNumbers");
  AllocateAll(labels);
  if (!labels[2]->Create(false, "./media/numbers.x") || !labels[3]->Create(true, "./media/numbers2.x"))
    return false;
  labels[2]->SetPosition(core::vector3df(-45, 0, -35));
  labels[3]->SetPosition(core::vector3df(45, 0, -35));
  labels[2]->SetRotation(core::vector3df(90, 0, 0));
  labels[3]->SetRotation(core::vector3df(90, 0, 0));
  return true;
}

bool CMap::InitGameTokens() {
  LogMessage("CMap::InitGameTokens");
  AllocateAll(tokens);
  // Pawns interleave by file: white a-pawn 0, black a-pawn 1, ... black h-pawn 15.
  // A missing mesh leaves an invisible piece; start-up goes on.
  for (s32 file = 0; file < 8; ++file) {
    tokens[2 * file]->Create(White, Pawn, "./media/pawn.x", TokenTexturePath(White));
    tokens[2 * file]->SetHomeSquare(file, 1);
    tokens[2 * file + 1]->Create(Black, Pawn, "./media/pawn.x", TokenTexturePath(Black));
    tokens[2 * file + 1]->SetHomeSquare(file, 6);
  }
  s32 index = 16;
  for (const PieceRow &row : PIECES) {
    CGameToken *token = tokens[index++];
    token->Create(row.color, row.type, row.mesh, TokenTexturePath(row.color));
    token->SetHomeSquare(row.x, row.y);
    if (row.type == Knight)
      token->SetRotationY(row.turnY);
  }
  for (CGameToken *token : tokens)
    token->Reset();
  return true;
}

// The two trays for captured pieces: the dark field's tile, stretched, in the set's tray texture.
bool CMap::InitTrays() {
  LogMessage("CMap::InitTrays");
  AllocateAll(trays);
  return trays[0]->Create(White, "./media/chess_field_black.x") &&
         trays[1]->Create(Black, "./media/chess_field_black.x");
}

void CMap::MoveGameTokensIn() {
  LogMessage("CMap::MoveGameTokensIn");
  // Each object draws its own duration, in this order: fields, pieces, labels.
  for (s32 y = 0; y < 8; ++y)
    for (s32 x = 0; x < 8; ++x)
      if (squares[x * 8 + y])
        squares[x * 8 + y]->DropIn();
  for (CGameToken *token : tokens)
    if (token)
      token->DropIn();
  for (CGameLabel *label : labels)
    if (label)
      label->DropIn();
}

// Ends the fields' fall at once: a game begun while they are still dropping
// in must never see a click land on a field passing by in mid-air.
void CMap::SettleFields() {
  for (s32 x = 0; x < 8; ++x)
    for (s32 y = 0; y < 8; ++y)
      if (CGameField *field = squares[x * 8 + y]; field && field->GetNode()) {
        field->GetNode()->removeAnimators();
        field->SetPosition(core::vector3df(BOARD_ORIGIN + SQUARE_PITCH * x, 0, BOARD_ORIGIN + SQUARE_PITCH * y));
      }
}

core::vector3df CMap::GetSquareWorldPosition(s32 x, s32 y) const { return squares[x * 8 + y]->GetWorldPosition(); }
