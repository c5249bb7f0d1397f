// Small operations on scene nodes shared by fields, labels and tokens.
#pragma once

#include <irrlicht.h>

// Turns on lighting and normal normalisation on every material of the node:
// the meshes are lit by the scene light and scaled, so their normals must be
// renormalised after scaling to light correctly.
inline void SetLitMaterialFlags(irr::scene::ISceneNode *node) {
  for (irr::u32 i = 0; i < node->getMaterialCount(); ++i) {
    node->getMaterial(i).setFlag(irr::video::EMF_LIGHTING, true);
    node->getMaterial(i).setFlag(irr::video::EMF_NORMALIZE_NORMALS, true);
  }
}

// Sets the texture on layers first..last of every material of the node.
inline void SetTextureOnLayers(irr::scene::ISceneNode *node, irr::video::ITexture *texture, irr::u32 first,
                               irr::u32 last) {
  for (irr::u32 i = 0; i < node->getMaterialCount(); ++i)
    for (irr::u32 layer = first; layer <= last && layer < irr::video::MATERIAL_MAX_TEXTURES; ++layer)
      node->getMaterial(i).setTexture(layer, texture);
}

// Sets the material type on every material of the node.
inline void SetMaterialType(irr::scene::ISceneNode *node, irr::video::E_MATERIAL_TYPE type) {
  for (irr::u32 i = 0; i < node->getMaterialCount(); ++i)
    node->getMaterial(i).MaterialType = type;
}

// Replaces the node's animators by a straight fall from height units above
// its current absolute position down to it, lasting durationMs.
inline void StartDropInAnimation(irr::scene::ISceneManager *sceneManager, irr::scene::ISceneNode *node, irr::f32 height,
                                 irr::u32 durationMs) {
  const irr::core::vector3df end = node->getAbsolutePosition();
  const irr::core::vector3df start = end + irr::core::vector3df(0, height, 0);
  node->removeAnimators();
  irr::scene::ISceneNodeAnimator *fall = sceneManager->createFlyStraightAnimator(start, end, durationMs, false);
  node->addAnimator(fall);
  fall->drop();
}

// Gives the node a triangle selector over its own (static) mesh, so that a ray
// picks it only where its surface is drawn, not anywhere in its bounding box.
// The selector follows the node's transformation at the time of each test.
inline void AttachMeshSelector(irr::scene::ISceneManager *sceneManager, irr::scene::IAnimatedMeshSceneNode *node) {
  irr::scene::IAnimatedMesh *mesh = node ? node->getMesh() : nullptr;
  if (!mesh || !mesh->getMesh(0))
    return;
  irr::scene::ITriangleSelector *selector = sceneManager->createTriangleSelector(mesh->getMesh(0), node);
  if (!selector)
    return;
  node->setTriangleSelector(selector);
  selector->drop();
}
