// Pictures of single pieces, rendered from the pieces' own meshes and the
// board set's textures into small textures: the promotion window shows them on its
// buttons. A picture asked for is rendered at the start of the next frame,
// before the scene; a driver that cannot render into a texture (the null
// driver) gives none, and the window keeps to words.
#pragma once

#include <irrlicht.h>

class CPiecePortraits {
public:
  // The picture of the piece (Pawn..King, White or Black), size pixels
  // square, made on the first request for that size and drawn before the
  // next frame; null without render targets.
  irr::video::ITexture *Get(irr::s32 color, irr::s32 kind, irr::u32 size);
  // Renders the pictures asked for since the last frame. Called inside the
  // frame, before the scene is drawn.
  void RenderPending();
  // Has every picture made so far drawn again before the next frame, in the
  // board set now in use; the textures stay the same.
  void Redraw();
  // Frees the textures; the next Get makes them again.
  void Exit();

private:
  void Render(irr::s32 color, irr::s32 kind);

  static constexpr int KINDS = 6;
  irr::video::ITexture *pictures[2][KINDS] = {};
  bool pending[2][KINDS] = {};
};
