#include "tests/unit/scene/SceneTestSupport.h"

#include "tests/support/NullDevice.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace scene_testing {

BoardSquare Sq(const char *name) { return BoardSquare(name[0] - 'a', name[1] - '1'); }

std::string Name(const BoardSquare &s) { return SquareName(s); }

irr::s32 TokenOn(const CMap &map, const char *square) {
  irr::s32 index = -1;
  return map.FindTokenAt(Sq(square), index) ? index : -1;
}

CShownGame &Shown() {
  static CShownGame game;
  return game;
}

const chess::CGameRecord &Game() { return Shown().GetRecord(); }

void SetUp(const char *fen) {
  chess::Position position;
  std::string error;
  ASSERT_TRUE(position.SetFen(fen, error)) << fen << ": " << error;
  Shown().Start(position, true);
}

bool Play(const char *from, const char *to, irr::s32 promotion) { return Shown().Play(Sq(from), Sq(to), promotion); }

bool PlayLine(const std::string &moves) {
  std::istringstream line(moves);
  std::string move;
  while (line >> move)
    if (move.size() != 4 || !Play(move.substr(0, 2).c_str(), move.substr(2, 2).c_str()))
      return false;
  return true;
}

bool Undo() { return Shown().TakeBack(); }

std::string DescribeBoard(const CMap &map) {
  std::ostringstream out;
  for (irr::s32 i = 0; i < CMap::TOKEN_COUNT; ++i) {
    CGameToken *t = map.GetToken(i);
    out << i << ':' << t->GetType() << t->GetColor() << Name(t->GetSquare()) << t->IsCaptured() << '\n';
  }
  out << "selected " << map.GetSelectedToken();
  return out.str();
}

namespace {

// A text .x mesh of one axis-aligned box.
void WriteBox(const char *path, float halfX, float y0, float y1, float halfZ) {
  FILE *file = std::fopen(path, "w");
  ASSERT_NE(file, nullptr) << path;
  const float xs[2] = {-halfX, halfX}, ys[2] = {y0, y1}, zs[2] = {-halfZ, halfZ};
  std::fprintf(file, "xof 0303txt 0032\nMesh {\n 8;\n");
  // Vertex v has x from bit 2, z from bit 1 and y from bit 0.
  for (int v = 0; v < 8; ++v)
    std::fprintf(file, " %f;%f;%f;%s\n", xs[v >> 2 & 1], ys[v & 1], zs[v >> 1 & 1], v == 7 ? ";" : ",");
  // Two triangles per side: -x, +x, -y, +y, -z, +z.
  static const int faces[12][3] = {{0, 1, 3}, {0, 3, 2}, {4, 6, 7}, {4, 7, 5}, {0, 2, 6}, {0, 6, 4},
                                   {1, 5, 7}, {1, 7, 3}, {0, 4, 5}, {0, 5, 1}, {2, 3, 7}, {2, 7, 6}};
  std::fprintf(file, " 12;\n");
  for (int f = 0; f < 12; ++f)
    std::fprintf(file, " 3;%d,%d,%d;%s\n", faces[f][0], faces[f][1], faces[f][2], f == 11 ? ";" : ",");
  std::fprintf(file, "}\n");
  std::fclose(file);
}

void WriteBitmap(const char *path, irr::video::SColor color) {
  irr::video::IImage *image = app.driver->createImage(irr::video::ECF_R8G8B8, irr::core::dimension2d<irr::u32>(4, 4));
  ASSERT_NE(image, nullptr);
  image->fill(color);
  EXPECT_TRUE(app.driver->writeImageToFile(image, path)) << path;
  image->drop();
}

} // namespace

void WriteFixtureMedia() {
  char pattern[] = "/tmp/kelvar-scene-XXXXXX";
  const char *dir = mkdtemp(pattern);
  ASSERT_NE(dir, nullptr);
  ASSERT_EQ(chdir(dir), 0);
  std::filesystem::create_directory("media");
  // Fields are scaled by 2.4 in the scene: these become 10 x 10 squares.
  const float fieldHalf = 5.f / 2.4f;
  WriteBox("media/chess_field_black.x", fieldHalf, -0.4f, 0.f, fieldHalf);
  WriteBox("media/chess_field_white.x", fieldHalf, -0.4f, 0.f, fieldHalf);
  for (const char *label : {"media/chars.x", "media/chars2.x", "media/numbers.x", "media/numbers2.x"})
    WriteBox(label, 1.f, 0.f, 0.1f, 0.2f);
  // Pieces: 6 wide and 8 tall, standing on their square.
  for (const char *piece : {"pawn", "rook", "knight", "bishop", "queen", "king"})
    WriteBox(("media/" + std::string(piece) + ".x").c_str(), 3.f, 0.f, 8.f, 3.f);
  WriteBox("media/x.x", 1.f, 0.f, 1.f, 1.f);
  WriteBitmap("media/whitetoken.bmp", irr::video::SColor(255, 230, 230, 230));
  WriteBitmap("media/whitetoken_hi.bmp", irr::video::SColor(255, 255, 255, 128));
  WriteBitmap("media/blacktoken.bmp", irr::video::SColor(255, 30, 30, 30));
  WriteBitmap("media/blacktoken_hi.bmp", irr::video::SColor(255, 80, 80, 0));
}

void StartBoardScene() {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  WriteFixtureMedia();
  ASSERT_TRUE(app.cameraRig.Init());
  ASSERT_TRUE(app.map.InitGameFields());
  ASSERT_TRUE(app.map.InitGameChars());
  ASSERT_TRUE(app.map.InitGameNumbers());
  ASSERT_TRUE(app.map.InitGameTokens());
  for (irr::s32 i = 0; i < CMap::TOKEN_COUNT; ++i)
    ASSERT_NE(app.map.GetToken(i)->GetMeshNode(), nullptr) << "token " << i;
  app.map.Reset();
  Shown().Start(chess::Position(), false);
  app.sceneManager->drawAll(); // brings the camera's view up to date
}

bool FinishAnimations() {
  for (int i = 0; i < 600 && app.map.IsAnimating(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    app.device->run();
    app.sceneManager->drawAll();
  }
  return !app.map.IsAnimating();
}

void PointAt(const irr::core::vector3df &world) {
  app.sceneManager->drawAll();
  irr::scene::ISceneCollisionManager *collision = app.sceneManager->getSceneCollisionManager();
  const irr::core::position2di pixel = collision->getScreenCoordinatesFrom3DPosition(world, app.cameraRig.GetCamera());
  app.device->getCursorControl()->setPosition(pixel);
}

} // namespace scene_testing
