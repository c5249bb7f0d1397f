#include "scene/CChessClockModel.h"

#include "app/CApplication.h"
#include "scene/SceneHelpers.h"
#include "tools/ClockLayout.h"

#include <algorithm>

using irr::core::vector2df;
using irr::core::vector3df;
namespace layout = clocklayout;

namespace {

const char *const CASE_MESH = "./media/clock_case.x";
const char *const PLATE_MESH = "./media/clock_plate.x";
const char *const BUTTON_MESHES[2] = {"./media/clock_button_white.x", "./media/clock_button_black.x"};
const char *const DIGITS_TEXTURE = "./media/clock_digits.png";
const char *const RED_DIGITS_TEXTURE = "./media/clock_digits_red.png";

// Beside the board on the h-file side, clear of the rank digits (which end
// at x = 50) and of the capture trays (in front of rank 1 and behind rank 8).
// The board's fields are 1.2 units thick: the clock stands on the table the
// board lies on. Its faces look straight back across the board: both side
// views look from the a-file side of the players, so each sees them from in
// front, with White's face at White's end.
const vector3df CLOCK_POSITION(62.f, -1.2f, 0.f);
const vector3df CLOCK_ROTATION(0.f, 90.f, 0.f);

// A face's slots: one background quad, then FACE_SLOTS glyph quads.
constexpr irr::u32 QUADS_PER_FACE = 1 + CChessClockModel::FACE_SLOTS;

// A point on the front plate: x across the clock, up along the slope from the
// panel's bottom edge, out from the plate's surface.
vector3df OnPlate(float x, float up, float out) {
  const float above = layout::kPlateThickness + out;
  return vector3df(x, layout::kPanelBottomY + up * layout::PanelUpY() + above * layout::PanelOutY(),
                   layout::kFrontZ + up * layout::PanelUpZ() + above * layout::PanelOutZ());
}

// Sets quad q of the buffer: corners from (x0, up0) to (x1, up1) on the plate,
// lifted by out, showing the texture rectangle r upright.
void SetQuad(irr::scene::SMeshBuffer &buffer, irr::u32 q, float x0, float up0, float x1, float up1, float out,
             const layout::SGlyphRect &r) {
  irr::video::S3DVertex *v = &buffer.Vertices[q * 4];
  // Top left, top right, bottom right, bottom left: clockwise seen from the front.
  v[0].Pos = OnPlate(x0, up1, out);
  v[0].TCoords = vector2df(r.u0, r.v0);
  v[1].Pos = OnPlate(x1, up1, out);
  v[1].TCoords = vector2df(r.u1, r.v0);
  v[2].Pos = OnPlate(x1, up0, out);
  v[2].TCoords = vector2df(r.u1, r.v1);
  v[3].Pos = OnPlate(x0, up0, out);
  v[3].TCoords = vector2df(r.u0, r.v1);
}

// The width of a text's glyphs over their height.
float TextWidth(const std::string &text) {
  float width = 0.f;
  for (char c : text)
    width += layout::GlyphAspect(c);
  return width;
}

// The characters a face shows: the last FACE_SLOTS of the text.
std::string Visible(const std::string &text) {
  const size_t slots = CChessClockModel::FACE_SLOTS;
  return text.size() > slots ? text.substr(text.size() - slots) : text;
}

// The centre of a side's face across the clock: White's at +X.
float FaceCentreX(int side) { return side == 0 ? layout::kFaceCentreX : -layout::kFaceCentreX; }

// Loads a static mesh as a lit, unpickable child of parent; null when it cannot be loaded.
irr::scene::IMeshSceneNode *AddPart(irr::scene::ISceneNode *parent, const char *path) {
  irr::scene::IAnimatedMesh *mesh = app.sceneManager->getMesh(path);
  if (!mesh || !mesh->getMesh(0))
    return nullptr;
  irr::scene::IMeshSceneNode *node = app.sceneManager->addMeshSceneNode(mesh->getMesh(0), parent, ID_NODE_NONE);
  if (!node)
    return nullptr;
  SetMaterialType(node, irr::video::EMT_SOLID);
  SetLitMaterialFlags(node);
  return node;
}

} // namespace

irr::core::aabbox3df CChessClockModel::TableBox() {
  irr::core::matrix4 place;
  place.setRotationDegrees(CLOCK_ROTATION);
  place.setTranslation(CLOCK_POSITION);
  irr::core::aabbox3df box(
      vector3df(-layout::kHalfLength, 0.f, layout::kFrontZ),
      vector3df(layout::kHalfLength, layout::kHeight + 2.f * layout::kButtonRadius, layout::kBackZ));
  place.transformBoxEx(box);
  return box;
}

bool CChessClockModel::Init() {
  LogMessage("CChessClockModel::Init");
  Exit();
  if (!app.device || !app.sceneManager || !app.driver)
    return false;
  for (const char *path :
       {CASE_MESH, PLATE_MESH, BUTTON_MESHES[0], BUTTON_MESHES[1], DIGITS_TEXTURE, RED_DIGITS_TEXTURE})
    if (!app.device->getFileSystem()->existFile(path)) {
      const std::string line = std::string("the clock's ") + path + " is missing: no clock on the table";
      LogMessage(line, irr::ELL_WARNING);
      return false;
    }
  digits = app.driver->getTexture(DIGITS_TEXTURE);
  redDigits = app.driver->getTexture(RED_DIGITS_TEXTURE);
  // Nothing of the clock carries a field's or a token's id bit, and nothing
  // has a triangle selector: picking looks straight through it.
  root = app.sceneManager->addEmptySceneNode(app.sceneManager->getRootSceneNode(), ID_NODE_NONE);
  bool ok = digits && redDigits && root;
  if (ok) {
    root->setPosition(CLOCK_POSITION);
    root->setRotation(CLOCK_ROTATION);
    ok = AddPart(root, CASE_MESH) && AddPart(root, PLATE_MESH);
  }
  for (int side = 0; ok && side < 2; ++side) {
    buttons[side] = AddPart(root, BUTTON_MESHES[side]);
    ok = buttons[side] && CreateFace(side);
  }
  if (!ok) {
    LogMessage("the clock's media do not load: no clock on the table", irr::ELL_WARNING);
    Exit();
    return false;
  }
  root->setVisible(false);
  Show("", "", -1, -1);
  root->updateAbsolutePosition();
  return true;
}

// Takes the clock off the table; the scene manager frees its nodes.
void CChessClockModel::Exit() {
  if (root)
    root->remove();
  root = nullptr;
  faces[0] = faces[1] = nullptr;
  buttons[0] = buttons[1] = nullptr;
  digits = redDigits = nullptr;
  shownText[0].clear();
  shownText[1].clear();
  laidOut = false;
}

void CChessClockModel::SetVisible(bool visible) {
  if (root)
    root->setVisible(visible);
}

bool CChessClockModel::IsVisible() const { return root && root->isVisible(); }

bool CChessClockModel::CreateFace(int side) {
  irr::scene::SMeshBuffer *buffer = new irr::scene::SMeshBuffer();
  const vector3df normal(0, layout::PanelOutY(), layout::PanelOutZ());
  for (irr::u32 q = 0; q < QUADS_PER_FACE; ++q) {
    for (int k = 0; k < 4; ++k)
      buffer->Vertices.push_back(
          irr::video::S3DVertex(vector3df(0), normal, irr::video::SColor(255, 255, 255, 255), vector2df(0)));
    for (irr::u16 i : {0, 1, 2, 0, 2, 3})
      buffer->Indices.push_back(static_cast<irr::u16>(q * 4 + i));
  }
  // The background fills the window with the blank cell's colour; the glyph
  // quads lie just in front of it.
  const float x = FaceCentreX(side), halfWidth = layout::kFaceWidth * 0.5f, halfHeight = layout::kFaceHeight * 0.5f;
  SetQuad(*buffer, 0, x - halfWidth, layout::kFaceCentreUp - halfHeight, x + halfWidth,
          layout::kFaceCentreUp + halfHeight, layout::kFaceLift, layout::GlyphRect(' '));
  // The display lights itself: the faces read the same from any side.
  buffer->Material.setTexture(0, digits);
  buffer->Material.setFlag(irr::video::EMF_LIGHTING, false);
  buffer->Material.MaterialType = irr::video::EMT_SOLID;
  buffer->recalculateBoundingBox();
  irr::scene::SMesh *mesh = new irr::scene::SMesh();
  mesh->addMeshBuffer(buffer);
  mesh->recalculateBoundingBox();
  buffer->drop();
  faces[side] = app.sceneManager->addMeshSceneNode(mesh, root, ID_NODE_NONE);
  mesh->drop();
  return faces[side] != nullptr;
}

void CChessClockModel::LayOutFaces() {
  const float innerWidth = layout::kFaceWidth - 2 * layout::kFaceMargin;
  const float innerHeight = layout::kFaceHeight - 2 * layout::kFaceMargin;
  // One glyph height for both faces, as large as the wider text allows.
  const float widest = std::max(TextWidth(shownText[0]), TextWidth(shownText[1]));
  const float height = widest > 0.f ? std::min(innerHeight, innerWidth / widest) : innerHeight;
  const float up0 = layout::kFaceCentreUp - height * 0.5f, up1 = up0 + height;
  const float out = layout::kFaceLift + layout::kGlyphLift;
  for (int side = 0; side < 2; ++side) {
    irr::scene::IMesh *mesh = faces[side]->getMesh();
    irr::scene::SMeshBuffer *buffer = static_cast<irr::scene::SMeshBuffer *>(mesh->getMeshBuffer(0));
    const std::string &text = shownText[side];
    const float centre = FaceCentreX(side);
    float x = centre - TextWidth(text) * height * 0.5f;
    for (irr::u32 slot = 0; slot < static_cast<irr::u32>(FACE_SLOTS); ++slot) {
      if (slot < text.size()) {
        const char c = text[slot];
        const float width = layout::GlyphAspect(c) * height;
        SetQuad(*buffer, 1 + slot, x, up0, x + width, up1, out, layout::GlyphRect(c));
        x += width;
      } else {
        // An unused slot shrinks to a point in the window's middle.
        SetQuad(*buffer, 1 + slot, centre, layout::kFaceCentreUp, centre, layout::kFaceCentreUp, out,
                layout::GlyphRect(' '));
      }
    }
    buffer->setDirty(irr::scene::EBT_VERTEX);
    buffer->recalculateBoundingBox();
    mesh->setDirty(irr::scene::EBT_VERTEX);
  }
  laidOut = true;
}

void CChessClockModel::Show(const std::string &whiteFace, const std::string &blackFace, int running, int flagged) {
  if (!root)
    return;
  const std::string texts[2] = {Visible(whiteFace), Visible(blackFace)};
  if (!laidOut || texts[0] != shownText[0] || texts[1] != shownText[1]) {
    shownText[0] = texts[0];
    shownText[1] = texts[1];
    LayOutFaces();
  }
  for (int side = 0; side < 2; ++side) {
    // A player presses their own button after moving, which starts the
    // opponent's time: the running side's button stands up.
    const float lift = running < 0 ? layout::kButtonLevel : running == side ? layout::kButtonUp : layout::kButtonDown;
    const vector3df at(FaceCentreX(side), layout::kHeight + lift, layout::kButtonZ);
    if (buttons[side]->getPosition() != at)
      buttons[side]->setPosition(at);
    irr::video::ITexture *texture = flagged == side ? redDigits : digits;
    if (faces[side]->getMaterial(0).getTexture(0) != texture)
      faces[side]->getMaterial(0).setTexture(0, texture);
  }
}
