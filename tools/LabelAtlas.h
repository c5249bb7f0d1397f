// Where the label strips' characters lie: the layout of the label texture
// atlas and the strip geometry. The label meshes map each tile of a strip to
// one cell of the atlas; the placement test reads the same layout to tell the
// tiles apart.
#pragma once

namespace mediagen {

// The game scales each strip by 6, and squares are 10 world units apart.
constexpr float kLabelScale = 6.0f;
constexpr float kLabelPitch = 10.0f / kLabelScale; // one tile, in mesh units
constexpr float kLabelDepth = 0.3f;                // strip thickness below its top face (mesh units)

// The atlas: 8 x 4 cells of 128 pixels. Row 0 holds the letters a..h, row 1
// the digits 1..8, row 2 plain cells (frame corners) and row 3 the strip edges.
constexpr int kAtlasCell = 128;
constexpr int kAtlasColumns = 8;
constexpr int kAtlasRows = 4;
constexpr int kAtlasWidth = kAtlasCell * kAtlasColumns;
constexpr int kAtlasHeight = kAtlasCell * kAtlasRows;
constexpr int kLetterRow = 0, kDigitRow = 1, kPlainRow = 2, kEdgeRow = 3;

// A cell's texture rectangle (u to the right, v downwards, both 0..1).
struct SAtlasRect {
  float u0, v0, u1, v1;
};

// The texture rectangle of cell (column, row), pulled in by half a texel so
// that filtering never reads the neighbouring cell.
constexpr SAtlasRect AtlasCell(int column, int row) {
  return {(column * kAtlasCell + 0.5f) / kAtlasWidth, (row * kAtlasCell + 0.5f) / kAtlasHeight,
          ((column + 1) * kAtlasCell - 0.5f) / kAtlasWidth, ((row + 1) * kAtlasCell - 0.5f) / kAtlasHeight};
}

} // namespace mediagen
