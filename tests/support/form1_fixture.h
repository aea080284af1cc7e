#pragma once
// A loaded Form1 controller over fakes, with a sample package installed in a
// scratch Program Files directory.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "core/component/process_state.h"
#include "core/form1/form1_controller.h"
#include "core/mapfile/data_file_path.h"
#include "core/text/paths.h"
#include "samples/sample_package.h"
#include "support/fake_excel.h"
#include "support/fakes.h"
#include "support/scratch_dir.h"

namespace atrybuty::testing {

class Form1Fixture : public ::testing::Test {
 protected:
  Form1Fixture() {
    registry.Set(kCurrentVersionKey, kProgramFilesDirValue, dir.Prefix());
    state.theAttribute = attribute;
  }

  // Writes the package's data files and clear configuration.
  void Install(const samples::SamplePackage& package) {
    // A name that leaves the data directory or names a device gets no file
    // (on Windows, writing "COM1" would wait on a serial port).
    for (const auto& layer : package.layers) {
      if (CheckDataFileName(layer.fileName) == DataFileName::Ok) {
        WriteAll(DataPath(layer.fileName), samples::DataFileBytes(layer));
      }
    }
    WriteText(dir.File("config.ini"), samples::ClearConfiguration(package));
    state.configTempPath = dir.File("config.ini");
  }
  void InstallSample() { Install(samples::BundledSample()); }

  // The data file's path in UTF-8, from its name in the ANSI code page, as
  // the dialog finds it.
  std::string DataPath(const std::string& fileName) const {
    const std::filesystem::path path = PathFromAnsi(codec, DataFilePath(dir.Prefix(), fileName));
    std::filesystem::create_directories(path.parent_path());
    return Utf8FromPath(path);
  }
  std::vector<std::uint8_t> DataBytes(const std::string& fileName) const { return ReadAll(DataPath(fileName)); }

  // A load starts from a fresh dialog, as every load of the real one does.
  std::optional<HostError> Load() {
    view = FakeForm1View();
    form = std::make_unique<Form1Controller>(view, Services(), "Polska");
    return form->Form_Load();
  }
  void LoadOk() { ASSERT_FALSE(Load()) << "the dialog must load"; }

  Form1Services Services() { return {state, registry, codec, messages, journal, exits, files, elevation}; }

  // The user picks layer `index` in Combo1.
  void Choose(int index) {
    view.SelectLayer(index);
    form->Combo1_Click();
  }

  ScratchDir dir;
  FakeRegistry registry;
  Cp1250Codec codec;
  FakeMessages messages;
  MemoryJournal journal;
  FakeExits exits;
  FaultyDataFiles files;
  FakeElevation elevation;
  FakeForm1View view;
  std::shared_ptr<AttributeData> attribute = std::make_shared<AttributeData>();
  ProcessState state;
  std::unique_ptr<Form1Controller> form;
};

}  // namespace atrybuty::testing
