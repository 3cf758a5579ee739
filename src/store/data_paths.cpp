#include "store/data_paths.h"

#include <filesystem>
#include <system_error>

namespace tomtura {

namespace {

namespace fs = std::filesystem;

fs::path ProgramFolder(const std::string& programPath) {
  fs::path folder = fs::path(programPath).parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

}  // namespace

bool RunsFromBuildFolder(const std::string& programPath) {
  std::error_code error;
  return fs::is_regular_file(ProgramFolder(programPath) / kDataMarkerFile, error);
}

namespace {

// The program's own folder in a build folder, else `installed` from it.
std::string BuildOrInstalled(const std::string& programPath, std::string_view installed) {
  const fs::path folder = ProgramFolder(programPath);
  if (RunsFromBuildFolder(programPath)) return folder.string();
  return (folder / installed).lexically_normal().string();
}

}  // namespace

std::string FindDataDirectory(const std::string& programPath) {
  return BuildOrInstalled(programPath, kInstalledDataFromProgram);
}

std::string FindModuleDirectory(const std::string& programPath) {
  return BuildOrInstalled(programPath, kInstalledModulesFromProgram);
}

bool ShouldRegisterFileAssociation(const std::string& programPath) {
  return RunsFromBuildFolder(programPath);
}

}  // namespace tomtura
