#include "scene/CHintMarks.h"

#include "scene/CGameField.h"
#include "scene/CMap.h"

#include <initializer_list>

using namespace irr;

// A cool blue glow: the selection's highlight is a texture, the board's
// squares are warm; blue stands apart from both.
const video::SColor CHintMarks::TINT(255, 40, 90, 200);

void CHintMarks::Show(CMap &map, const BoardSquare &from, const BoardSquare &to) {
  Clear();
  for (const BoardSquare &square : {from, to}) {
    if (!square.IsOnBoard())
      continue;
    CGameField *field = map.GetField(square.X, square.Y);
    scene::ISceneNode *node = field ? field->GetNode() : nullptr;
    if (!node || node->getMaterialCount() == 0)
      continue;
    // Emissive light adds to whatever the square shows, highlighted or not.
    saved[count] = node->getMaterial(0).EmissiveColor;
    for (u32 i = 0; i < node->getMaterialCount(); ++i)
      node->getMaterial(i).EmissiveColor = TINT;
    nodes[count] = node;
    squares[count] = square;
    ++count;
  }
}

void CHintMarks::Clear() {
  for (int k = 0; k < count; ++k)
    for (u32 i = 0; i < nodes[k]->getMaterialCount(); ++i)
      nodes[k]->getMaterial(i).EmissiveColor = saved[k];
  count = 0;
}
