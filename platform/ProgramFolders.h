// Where the game's own files are, found from where its executable lives, so
// that it runs from any working directory: in the build's run folder the media
// and the engine program lie beside the game; an installed game finds them at
// fixed places relative to its own folder.
#pragma once

#include <string>

namespace platform {

// The file name of the engine program the game starts.
constexpr const char *ENGINE_PROGRAM_NAME = "Abrok_5_0.exe";

// The folders of one executable.
struct SProgramFolders {
  std::string data;   // the folder holding media/; the game works inside it
  std::string engine; // the engine program's full path
};

// The folder of the running executable (from /proc/self/exe); empty if the
// system does not tell.
std::string ExecutableFolder();

// Finds the data folder and the engine program of an executable living in
// exeFolder: the folder itself when media/ lies beside the executable (the
// build's run folder), else the installed places relative to it
// (<prefix>/games -> <prefix>/share/kelvar and <prefix>/lib/kelvar).
// False, with folders unchanged, when neither holds media/.
bool FindProgramFolders(const std::string &exeFolder, SProgramFolders &folders);

// A path the player gave made absolute against the directory the game was
// started from (the working directory until the game entered its data
// folder), so that it may be used before or after that move. An empty or
// already absolute path comes back unchanged.
std::string AbsolutePath(const std::string &path);

// Makes folders.data the working directory, remembering the one it leaves
// for AbsolutePath, and names folders.engine as the engine program from then
// on. False, with nothing changed and the reason in error, when the folder
// cannot be entered.
bool EnterProgramFolders(const SProgramFolders &folders, std::string &error);

// Finds the running program's folders and enters them as EnterProgramFolders
// does. False, with nothing changed and the reason in error, when there is no
// data folder or it cannot be entered.
bool EnterDataFolder(std::string &error);

// The engine program to start: "./Abrok_5_0.exe" in the working directory
// until EnterDataFolder has found it elsewhere. The reference stays valid for
// the whole run and follows EnterDataFolder, so it may be bound before main.
const char *const &EngineProgramPath();

} // namespace platform
