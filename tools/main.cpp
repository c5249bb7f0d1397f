// kelvar_mediagen <folder>: writes every asset file the game reads into the
// folder (which must exist). The output depends on nothing but this program
// and the system's Liberation fonts: fixed seeds, no clock.
#include "tools/BoardMedia.h"
#include "tools/FontMedia.h"
#include "tools/InterfaceMedia.h"
#include "tools/LabelMedia.h"
#include "tools/MediaFolder.h"
#include "tools/PieceMedia.h"
#include "tools/SoundMedia.h"

#include <irrlicht.h>

#include <cstdio>
#include <filesystem>

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: kelvar_mediagen <media folder>\n");
    return 2;
  }
  std::error_code error;
  if (!std::filesystem::is_directory(argv[1], error)) {
    std::fprintf(stderr, "kelvar_mediagen: %s is not a folder\n", argv[1]);
    return 1;
  }
  // The null driver gives us Irrlicht's JPEG writer without opening a window.
  irr::SIrrlichtCreationParameters parameters;
  parameters.DriverType = irr::video::EDT_NULL;
  parameters.LoggingLevel = irr::ELL_ERROR; // keep the build output quiet
  irr::IrrlichtDevice *device = irr::createDeviceEx(parameters);
  if (!device) {
    std::fprintf(stderr, "kelvar_mediagen: cannot create the Irrlicht null device\n");
    return 1;
  }
  const mediagen::CMediaFolder folder(argv[1], device->getVideoDriver());

  bool ok = mediagen::WriteBoardMedia(folder);
  ok &= mediagen::WriteSkyMedia(folder);
  ok &= mediagen::WriteLabelMedia(folder);
  ok &= mediagen::WriteFontMedia(folder);
  ok &= mediagen::WriteInterfaceMedia(folder);
  ok &= mediagen::WritePieceMedia(folder);
  ok &= mediagen::WriteSoundMedia(folder);

  device->drop();
  if (!ok) {
    std::fprintf(stderr, "kelvar_mediagen: some media files could not be written\n");
    return 1;
  }
  return 0;
}
