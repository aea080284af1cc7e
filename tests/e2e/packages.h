#pragma once
// Registry and file fixtures: map packages installed into the Wine prefix as
// a package maker's installer would (registry values, the scrambled
// configuration, data files below Program Files), and removed afterwards.

#include <string>

#include "samples/sample_package.h"

namespace atrybuty::e2e {

class Packages {
 public:
  // Starts from no installed package; unless `keep`, removes every package
  // it installed when it ends.
  explicit Packages(bool keep = false);
  ~Packages();
  Packages(const Packages&) = delete;
  Packages& operator=(const Packages&) = delete;

  // Installs under `registryName` (ANSI); the MRU list is not touched.
  void Install(const samples::SamplePackage& package, const std::string& registryName);
  void SetMruList(const std::string& ansi);
  void RemoveMruList();
  void SetPackagePath(const std::string& registryName, const std::string& path);
  // The full path of a data file.
  std::string DataFile(const std::string& fileName) const;
  const std::string& DataDir() const { return dataDir_; }
  const std::string& ConfigDir() const { return configDir_; }

 private:
  std::string dataDir_;
  std::string configDir_;
  bool keep_;
};

// Text values below HKEY_LOCAL_MACHINE in the 32-bit view, where map
// packages' installers write them and the component reads them.
std::string ReadMachineText(const char* subKey, const char* value);
void WriteMachineText(const char* subKey, const char* value, const std::string& text);
void DeleteMachineValue(const char* subKey, const char* value);
// The map data directory, with its closing backslash.
std::string MapDataDirectory();

}  // namespace atrybuty::e2e
