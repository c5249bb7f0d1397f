#include "tools/MediaFolder.h"

#include <cstdio>
#include <filesystem>

namespace mediagen {

namespace {

constexpr int kJpegQuality = 92;

void PutLE(std::vector<unsigned char> &out, size_t offset, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out[offset + i] = static_cast<unsigned char>((value >> (8 * i)) & 0xFF);
}

} // namespace

std::vector<unsigned char> EncodeBmp(const CRasterImage &image, bool withAlpha) {
  const int w = image.Width(), h = image.Height();
  const int bytesPerPixel = withAlpha ? 4 : 3;
  const uint32_t rowSize = (static_cast<uint32_t>(w * bytesPerPixel) + 3u) & ~3u; // rows padded to 4 bytes
  const uint32_t headerSize = 14 + 40;
  const uint32_t dataSize = rowSize * static_cast<uint32_t>(h);
  std::vector<unsigned char> out(headerSize + dataSize, 0);
  // BITMAPFILEHEADER
  out[0] = 'B';
  out[1] = 'M';
  PutLE(out, 2, headerSize + dataSize, 4);
  PutLE(out, 10, headerSize, 4);
  // BITMAPINFOHEADER; compression 0 (BI_RGB) is what keeps Irrlicht reading the alpha byte.
  PutLE(out, 14, 40, 4);
  PutLE(out, 18, static_cast<uint32_t>(w), 4);
  PutLE(out, 22, static_cast<uint32_t>(h), 4);
  PutLE(out, 26, 1, 2);
  PutLE(out, 28, static_cast<uint32_t>(bytesPerPixel * 8), 2);
  PutLE(out, 34, dataSize, 4);
  PutLE(out, 38, 2835, 4); // 72 dpi
  PutLE(out, 42, 2835, 4);
  for (int y = 0; y < h; ++y) {
    size_t p = headerSize + static_cast<size_t>(h - 1 - y) * rowSize; // bottom-up
    for (int x = 0; x < w; ++x) {
      out[p++] = image.Byte(x, y, 2);
      out[p++] = image.Byte(x, y, 1);
      out[p++] = image.Byte(x, y, 0);
      if (withAlpha)
        out[p++] = image.Byte(x, y, 3);
    }
  }
  return out;
}

CMediaFolder::CMediaFolder(std::string f, irr::video::IVideoDriver *d) : folder(std::move(f)), driver(d) {}

CMediaFolder CMediaFolder::Subfolder(const std::string &name) const {
  std::error_code error;
  std::filesystem::create_directory(PathOf(name), error);
  if (error)
    std::fprintf(stderr, "kelvar_mediagen: cannot create %s: %s\n", PathOf(name).c_str(), error.message().c_str());
  return CMediaFolder(PathOf(name), driver);
}

bool CMediaFolder::WriteBytes(const std::string &name, const void *data, size_t size) const {
  const std::string path = PathOf(name);
  FILE *file = std::fopen(path.c_str(), "wb");
  if (!file) {
    std::fprintf(stderr, "kelvar_mediagen: cannot create %s\n", path.c_str());
    return false;
  }
  const bool ok = std::fwrite(data, 1, size, file) == size;
  const bool closed = std::fclose(file) == 0;
  if (!ok || !closed)
    std::fprintf(stderr, "kelvar_mediagen: cannot write %s\n", path.c_str());
  return ok && closed;
}

bool CMediaFolder::WriteBmp(const std::string &name, const CRasterImage &image, bool withAlpha) const {
  const std::vector<unsigned char> bytes = EncodeBmp(image, withAlpha);
  return WriteBytes(name, bytes.data(), bytes.size());
}

bool CMediaFolder::WriteJpeg(const std::string &name, const CRasterImage &image) const {
  return WriteImage(name, image, false, kJpegQuality);
}

bool CMediaFolder::WritePng(const std::string &name, const CRasterImage &image) const {
  return WriteImage(name, image, true, 0);
}

bool CMediaFolder::WriteImage(const std::string &name, const CRasterImage &image, bool withAlpha,
                              irr::u32 param) const {
  const irr::core::dimension2d<irr::u32> size(static_cast<irr::u32>(image.Width()),
                                              static_cast<irr::u32>(image.Height()));
  const irr::video::ECOLOR_FORMAT format = withAlpha ? irr::video::ECF_A8R8G8B8 : irr::video::ECF_R8G8B8;
  irr::video::IImage *picture = driver ? driver->createImage(format, size) : nullptr;
  if (!picture) {
    std::fprintf(stderr, "kelvar_mediagen: no image for %s\n", name.c_str());
    return false;
  }
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      picture->setPixel(static_cast<irr::u32>(x), static_cast<irr::u32>(y),
                        irr::video::SColor(withAlpha ? image.Byte(x, y, 3) : 255, image.Byte(x, y, 0),
                                           image.Byte(x, y, 1), image.Byte(x, y, 2)));
  const std::string path = PathOf(name);
  const bool ok = driver->writeImageToFile(picture, path.c_str(), param);
  picture->drop();
  if (!ok)
    std::fprintf(stderr, "kelvar_mediagen: cannot write %s\n", path.c_str());
  return ok;
}

bool CMediaFolder::WriteMesh(const std::string &name, const CMeshBuilder &mesh, const SMeshMaterial &material) const {
  const std::string text = EncodeXMesh(mesh, material);
  return WriteBytes(name, text.data(), text.size());
}

} // namespace mediagen
