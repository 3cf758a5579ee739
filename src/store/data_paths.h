#pragma once
// Where the programs find their data (board files, picture, sounds, manual, icons, translations).
// A build folder holds a copy of the data beside the programs; an installed program finds it in
// <prefix>/share/tomtura, relative to its own folder, so an installed tree can be moved.
#include <string>
#include <string_view>

namespace tomtura {

// The file whose presence beside a program marks its folder as a build folder.
inline constexpr std::string_view kDataMarkerFile = "tomtura.lst";
// The data folder of an installed program, relative to the folder that holds the program.
inline constexpr std::string_view kInstalledDataFromProgram = "../share/tomtura";
// The folder of the program's loadable modules when installed, relative to the program's folder.
inline constexpr std::string_view kInstalledModulesFromProgram = "../lib/tomtura";

// True when the folder of `programPath` holds the default board file: the program runs where it
// was built (or from any folder laid out the same way).
bool RunsFromBuildFolder(const std::string& programPath);

// The program's own folder when it runs from a build folder, else <folder>/../share/tomtura
// (returned even when missing, so that an error names where the data was expected).
std::string FindDataDirectory(const std::string& programPath);

// Where the program's modules are: its own folder when it runs from a build folder, else
// <folder>/../lib/tomtura.
std::string FindModuleDirectory(const std::string& programPath);

// An installed program has its desktop entry, MIME type and icon from the install; only a
// program run from a build folder writes its own into the user's data folder.
bool ShouldRegisterFileAssociation(const std::string& programPath);

}  // namespace tomtura
