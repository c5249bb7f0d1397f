// kelvar_mediagen <folder>: writes every asset file the game reads into the
// folder (which must exist). kelvar_mediagen --icons <folder>: writes the
// application icon at every size into an icon theme folder. The output depends on nothing but this program
// and the system's Liberation fonts: fixed seeds, no clock.
#include "tools/BoardMedia.h"
#include "tools/ClockMedia.h"
#include "tools/FontMedia.h"
#include "tools/IconMedia.h"
#include "tools/InterfaceMedia.h"
#include "tools/LabelMedia.h"
#include "tools/MediaFolder.h"
#include "tools/PieceMedia.h"
#include "tools/SoundMedia.h"
#include "tools/ThemeMedia.h"

#include <irrlicht.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

// The null driver gives us Irrlicht's JPEG and PNG writers without opening a window.
irr::IrrlichtDevice *CreateNullDevice() {
  irr::SIrrlichtCreationParameters parameters;
  parameters.DriverType = irr::video::EDT_NULL;
  parameters.LoggingLevel = irr::ELL_ERROR; // keep the build output quiet
  irr::IrrlichtDevice *device = irr::createDeviceEx(parameters);
  if (!device)
    std::fprintf(stderr, "kelvar_mediagen: cannot create the Irrlicht null device\n");
  return device;
}

bool WriteGameMedia(const char *path, irr::video::IVideoDriver *driver) {
  const mediagen::CMediaFolder folder(path, driver);
  bool ok = mediagen::WriteBoardMedia(folder);
  ok &= mediagen::WriteSkyMedia(folder);
  ok &= mediagen::WriteLabelMedia(folder);
  ok &= mediagen::WriteFontMedia(folder);
  ok &= mediagen::WriteInterfaceMedia(folder);
  ok &= mediagen::WritePieceMedia(folder);
  ok &= mediagen::WriteSoundMedia(folder);
  ok &= mediagen::WriteClockMedia(folder);
  ok &= mediagen::WriteThemeMedia(folder);
  return ok;
}

} // namespace

int main(int argc, char **argv) {
  const bool icons = argc == 3 && std::string(argv[1]) == "--icons";
  if (argc != 2 && !icons) {
    std::fprintf(stderr, "usage: kelvar_mediagen <media folder>\n"
                         "       kelvar_mediagen --icons <icon theme folder>\n");
    return 2;
  }
  const char *path = argv[argc - 1];
  std::error_code error;
  if (!std::filesystem::is_directory(path, error)) {
    std::fprintf(stderr, "kelvar_mediagen: %s is not a folder\n", path);
    return 1;
  }
  irr::IrrlichtDevice *device = CreateNullDevice();
  if (!device)
    return 1;
  const bool ok =
      icons ? mediagen::WriteIcons(path, device->getVideoDriver()) : WriteGameMedia(path, device->getVideoDriver());
  device->drop();
  if (!ok) {
    std::fprintf(stderr, "kelvar_mediagen: some media files could not be written\n");
    return 1;
  }
  return 0;
}
