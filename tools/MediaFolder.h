// The output folder of the generator: writes pictures (BMP, JPEG, PNG) and meshes
// (.x) under their file names and reports any failure on standard error.
#pragma once

#include "tools/MeshBuilder.h"
#include "tools/RasterImage.h"

#include <irrlicht.h>

#include <string>
#include <vector>

namespace mediagen {

// The picture as an uncompressed Windows bitmap (BI_RGB, bottom-up rows):
// 24 bits per pixel, or 32 bits with the alpha channel kept when withAlpha.
std::vector<unsigned char> EncodeBmp(const CRasterImage &image, bool withAlpha);

class CMediaFolder {
public:
  // driver is used only to encode JPEG pictures (Irrlicht's libjpeg writer).
  CMediaFolder(std::string folder, irr::video::IVideoDriver *driver);

  // Each Write returns false (after a line on standard error) when the file cannot be written.
  bool WriteBmp(const std::string &name, const CRasterImage &image, bool withAlpha = false) const;
  bool WriteJpeg(const std::string &name, const CRasterImage &image) const;
  // A PNG keeps the alpha channel.
  bool WritePng(const std::string &name, const CRasterImage &image) const;
  bool WriteMesh(const std::string &name, const CMeshBuilder &mesh, const SMeshMaterial &material) const;
  // A file encoded by its caller (a sound).
  bool WriteBytes(const std::string &name, const void *data, size_t size) const;

  std::string PathOf(const std::string &name) const { return folder + "/" + name; }
  // The folder name inside this one, made if it is not there; writes to a
  // folder that could not be made fail and say so.
  CMediaFolder Subfolder(const std::string &name) const;

private:
  // Encodes through Irrlicht's image writers, chosen by the name's extension.
  bool WriteImage(const std::string &name, const CRasterImage &image, bool withAlpha, irr::u32 param) const;

  std::string folder;
  irr::video::IVideoDriver *driver;
};

} // namespace mediagen
