#pragma once
// Fakes of the core's service and view interfaces that record what the core
// did to them, for the controller and RunForm tests.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/component/dialog_hosts.h"
#include "core/form1/message_boxes.h"
#include "core/config/registry.h"
#include "core/form1/form1_controller.h"
#include "core/form1/form1_view.h"
#include "core/config/temp_files.h"
#include "core/mapfile/journal.h"
#include "core/mapfile/record_write.h"
#include "support/platform_services.h"
#include "support/scratch_dir.h"

namespace atrybuty::testing {

class FakeRegistry final : public Registry {
 public:
  std::map<std::string, std::string> values;  // "subkey|value" -> text
  int reads = 0;
  void Set(const std::string& subKey, const std::string& name, const std::string& text) {
    values[subKey + "|" + name] = text;
  }
  void Remove(const std::string& subKey, const std::string& name) { values.erase(subKey + "|" + name); }
  std::string ReadRegValue(std::string_view subKey, std::string_view valueName) override {
    ++reads;
    // Key and value names are C strings to the registry: a NUL ends them.
    subKey = subKey.substr(0, subKey.find('\0'));
    valueName = valueName.substr(0, valueName.find('\0'));
    const auto it = values.find(std::string(subKey) + "|" + std::string(valueName));
    return it == values.end() ? std::string() : it->second;
  }
};

struct ShownMessage {
  std::string text;
  MessageKind kind;
  std::optional<std::string> caption;
};

class FakeMessages final : public MessageBoxes {
 public:
  std::vector<ShownMessage> shown;
  std::vector<MessageAnswer> answers;  // given in order to Yes/No questions; Yes when none is left
  std::function<void(const ShownMessage&)> onShow;
  MessageAnswer Show(const std::string& text, MessageKind kind, const std::optional<std::string>& caption) override {
    shown.push_back({text, kind, caption});
    if (onShow) onShow(shown.back());
    if (kind != MessageKind::YesNoInfo) return MessageAnswer::Ok;
    if (answers.empty()) return MessageAnswer::Yes;
    const MessageAnswer a = answers.front();
    answers.erase(answers.begin());
    return a;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> t;
    for (const auto& m : shown) t.push_back(m.text);
    return t;
  }
};

class FakeForm1View final : public Form1View {
 public:
  std::vector<std::string> layers;
  int fillCalls = 0;
  int selectedLayer = -1;
  std::vector<int> pickerItems[2];
  int pickerSelection[2] = {0, 0};
  std::uint32_t swatch = 0xFFFFFF;
  std::string txtKolor = "np: 16741680", txtColorB = "np: 16741680";
  int refreshCheck = 0;
  bool refreshEnabled = true;
  bool changeVisible = false;
  bool applyEnabled = true;
  std::vector<bool> applyStates;                            // every EnableApplyButton call
  std::vector<std::optional<std::uint32_t>> colourAnswers;  // ChooseColour answers, in order
  int colourDialogs = 0;
  bool foreground = false;
  bool hidden = false;
  int pumps = 0;
  std::function<void()> onPump;

  // Shown as a Polish Windows shows ANSI text: code page 1250.
  void FillLayerList(const LayerTable& table) override {
    ++fillCalls;
    for (int i = 1; i <= table.LayerCount(); ++i) layers.push_back(Cp1250ToUtf8(table.entries[i].name));
  }
  int LayerListCount() const override { return static_cast<int>(layers.size()); }
  void SelectLayer(int index) override { selectedLayer = index; }
  int SelectedLayerIndex() const override { return selectedLayer; }
  std::string LayerListText() const override {
    return selectedLayer >= 0 && selectedLayer < LayerListCount() ? layers[selectedLayer] : std::string();
  }
  void AppendPickerItem(Picker p, int picture) override { pickerItems[Index(p)].push_back(picture); }
  int PickerCount(Picker p) const override { return static_cast<int>(pickerItems[Index(p)].size()); }
  void SelectPickerItem(Picker p, int position) override { pickerSelection[Index(p)] = position; }
  int SelectedPickerItem(Picker p) const override { return pickerSelection[Index(p)]; }
  void SetSwatchColour(std::uint32_t rgb) override { swatch = rgb; }
  std::uint32_t SwatchColour() const override { return swatch; }
  void SetColourTexts(const std::string& decimal, const std::string& hex) override {
    txtKolor = decimal;
    txtColorB = hex;
  }
  void SetRefreshCheck(int value) override { refreshCheck = value; }
  int RefreshCheck() const override { return refreshCheck; }
  void EnableRefreshCheck(bool enabled) override { refreshEnabled = enabled; }
  void ShowChangeButton(bool visible) override { changeVisible = visible; }
  void EnableApplyButton(bool enabled) override {
    applyEnabled = enabled;
    applyStates.push_back(enabled);
  }
  std::optional<std::uint32_t> ChooseColour() override {
    ++colourDialogs;
    if (colourAnswers.empty()) return std::nullopt;
    auto a = colourAnswers.front();
    colourAnswers.erase(colourAnswers.begin());
    return a;
  }
  void BringToForeground() override { foreground = true; }
  void PumpMessages() override {
    ++pumps;
    if (onPump) onPump();
  }
  void Hide() override { hidden = true; }

  int Style() const { return pickerSelection[0]; }
  int Thickness() const { return pickerSelection[1]; }

 private:
  static int Index(Picker p) { return p == Picker::Style ? 0 : 1; }
};

class FakeExits final : public Form1Exits {
 public:
  std::vector<std::string> calls;
  std::optional<HostError> runFormError;
  void UnloadMainDialog() override { calls.push_back("UnloadMainDialog"); }
  void UnloadPackageDialog() override { calls.push_back("UnloadPackageDialog"); }
  std::optional<HostError> RunFormAgain() override {
    calls.push_back("RunFormAgain");
    return runFormError;
  }
  void EndProcess() override { calls.push_back("EndProcess"); }
};

// Temporary files in a scratch directory, numbered in order: ~tm1.tmp, ~tm2.tmp...
class ScratchTempFiles final : public TempFiles {
 public:
  explicit ScratchTempFiles(std::string directory) : directory_(std::move(directory)) {}
  std::string Directory() override { return directory_; }
  std::string CreateUnique(const std::string& at, const std::string& prefix) override {
    const std::string path = at + prefix + std::to_string(++made_) + ".tmp";
    WriteAll(path, {});
    return path;
  }

 private:
  std::string directory_;
  int made_ = 0;
};

class MemoryJournal final : public Journal {
 public:
  std::vector<JournalEntry> entries;
  bool fail = false;
  bool Append(const JournalEntry& e) override {
    if (fail) return false;
    entries.push_back(e);
    return true;
  }
  std::string Location() const override { return "C:\\dziennik.txt"; }
};

// The platform's data files, with failures a user's Windows can cause made
// to order: the next opens for writing (or reading) fail with `error`.
class FaultyDataFiles final : public DataFiles {
 public:
  std::vector<FileError> failWrites, failReads;  // consumed in order
  int writeOpens = 0, readOpens = 0;
  OpenedFile OpenForReading(const std::filesystem::path& path) override {
    ++readOpens;
    if (auto error = Next(failReads)) return {nullptr, *error};
    return real_->OpenForReading(path);
  }
  OpenedFile OpenForWriting(const std::filesystem::path& path) override {
    ++writeOpens;
    if (auto error = Next(failWrites)) return {nullptr, *error};
    return real_->OpenForWriting(path);
  }
  std::optional<std::filesystem::path> RealFolder(const std::filesystem::path& folder) override {
    return real_->RealFolder(folder);
  }

 private:
  static std::optional<FileError> Next(std::vector<FileError>& list) {
    if (list.empty()) return std::nullopt;
    const FileError e = list.front();
    list.erase(list.begin());
    return e;
  }
  std::unique_ptr<DataFiles> real_ = MakePlatformDataFiles();
};

// Writing as administrator: records each request and ends as told. `Ran`
// performs the checked write itself, as the elevated step would.
class FakeElevation final : public Elevation {
 public:
  std::vector<ElevatedWrite> requests;
  ElevationOutcome outcome = ElevationOutcome::Ran;
  std::optional<unsigned long> exitCode;  // when set: the step's exit code, nothing written
  ElevationResult WriteAsAdministrator(const ElevatedWrite& request) override {
    requests.push_back(request);
    if (outcome != ElevationOutcome::Ran) return {outcome, 0, "test"};
    if (exitCode) return {outcome, *exitCode, {}};
    MemoryJournal journal;
    const auto r = WriteRecord(*files, request.snapshot, request.change, journal, request.context, std::nullopt);
    return {outcome, static_cast<unsigned long>(ElevatedExitCode(r.status)), {}};
  }
  std::unique_ptr<DataFiles> files = MakePlatformDataFiles();
};

}  // namespace atrybuty::testing
