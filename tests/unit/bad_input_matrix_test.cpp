// Bad inputs, one row each: what the user or the host sees, and that no data
// file changes unless the user applied a change to a valid record.

#include <gtest/gtest.h>

#include <functional>

#include "core/component/run_form.h"
#include "core/config/scramble.h"
#include "support/form1_fixture.h"

namespace atrybuty {
namespace {

using testing::Form1Fixture;
using testing::WriteAll;
using testing::WriteText;

constexpr int kGranice = 2;

// ---- Data files: choose the damaged layer, then apply. ----

struct DataFileRow {
  const char* name;
  // Damages GRANICE.DAT (whose record lies at 0x10000); `path` is its full path.
  std::function<void(const std::string& path, std::vector<std::uint8_t>& bytes)> damage;
  const char* userSees;  // part of the message shown when the layer is chosen
};

class DataFileMatrix : public Form1Fixture, public ::testing::WithParamInterface<DataFileRow> {};

TEST_P(DataFileMatrix, ChoosingAndApplyingNeverChangesTheFile) {
  InstallSample();
  auto bytes = DataBytes("GRANICE.DAT");
  GetParam().damage(DataPath("GRANICE.DAT"), bytes);
  const bool isFile = std::filesystem::is_regular_file(DataPath("GRANICE.DAT"));
  if (isFile) WriteAll(DataPath("GRANICE.DAT"), bytes);
  LoadOk();
  const auto others = DataBytes("DROGI.DAT");

  Choose(kGranice);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find(GetParam().userSees), std::string::npos) << messages.shown[0].text;
  EXPECT_EQ(view.selectedLayer, 0) << "back on the first layer";
  messages.shown.clear();

  // The user goes back to the damaged layer and applies anyway.
  view.SelectLayer(kGranice);
  form->ZmianaWarstw();
  if (isFile) {
    EXPECT_EQ(DataBytes("GRANICE.DAT"), bytes) << "not a byte changed, not a byte added";
  } else {
    const auto path = std::filesystem::path(DataPath("GRANICE.DAT"));
    EXPECT_EQ(std::filesystem::exists(path), std::filesystem::is_directory(path)) << "no file was created in its place";
  }
  EXPECT_EQ(DataBytes("DROGI.DAT"), others) << "nor in the first layer's file";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DataFileMatrix,
    ::testing::Values(
        DataFileRow{"missing", [](const std::string& p, auto&) { std::filesystem::remove(p); }, "Nie mogę otworzyć"},
        DataFileRow{"empty", [](const std::string&, auto& b) { b.clear(); }, "za krótki"},
        DataFileRow{"shorter_than_pointer", [](const std::string&, auto& b) { b.resize(0x13A); }, "za krótki"},
        DataFileRow{"pointer_beyond_end", [](const std::string&, auto& b) { b.resize(0x8000); }, "za krótki"},
        DataFileRow{"record_crossing_end", [](const std::string&, auto& b) { b.resize(0x10000 + 17); }, "za krótki"},
        DataFileRow{"no_record", [](const std::string&, auto& b) { b[0x139] = b[0x13A] = 0; },
                    "Brak warstwy \"Granice województw\""},
        DataFileRow{"directory",
                    [](const std::string& p, auto&) {
                      std::filesystem::remove(p);
                      std::filesystem::create_directory(p);
                    },
                    "pliku danych mapy"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Form1Fixture, FileShrunkBetweenReadAndApplyIsNotTouched) {
  InstallSample();
  LoadOk();
  Choose(kGranice);
  auto bytes = DataBytes("GRANICE.DAT");
  bytes.resize(0x10000 + 15);
  WriteAll(DataPath("GRANICE.DAT"), bytes);
  EXPECT_EQ(form->ZmianaWarstw(), WriteOutcome::NothingWritten);
  EXPECT_EQ(DataBytes("GRANICE.DAT"), bytes);
  EXPECT_NE(messages.shown.back().text.find("Nic nie zostało zapisane"), std::string::npos);
}

// ---- Registry: ProgramFilesDir. ----

struct ProgramFilesRow {
  const char* name;
  std::function<std::string(const std::string& scratch)> value;  // nullopt-like: "<none>" removes it
  bool readable;
};

class ProgramFilesMatrix : public Form1Fixture, public ::testing::WithParamInterface<ProgramFilesRow> {};

TEST_P(ProgramFilesMatrix, DataDirectoryComesFromTheRegistry) {
  InstallSample();
  const std::string value = GetParam().value(dir.Prefix());
  if (value == "<none>")
    registry.Remove(kCurrentVersionKey, kProgramFilesDirValue);
  else
    registry.Set(kCurrentVersionKey, kProgramFilesDirValue, value);
  LoadOk();
  EXPECT_EQ(form->JestWarstwa(), GetParam().readable);
  if (!GetParam().readable) {
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("ProgramFilesDir"), std::string::npos);
  } else {
    EXPECT_TRUE(messages.shown.empty());
  }
}

std::vector<ProgramFilesRow> ProgramFilesRows() {
  std::vector<ProgramFilesRow> rows = {
      {"missing", [](const std::string&) { return std::string("<none>"); }, false},
      {"empty", [](const std::string&) { return std::string(); }, false},
      // The scratch directory ends in "/" on Linux and in "\\" on Windows: used as it is.
      {"ending_in_separator", [](const std::string& d) { return d; }, true},
  };
#ifdef _WIN32
  rows.push_back({"without_separator", [](const std::string& d) { return d.substr(0, d.size() - 1); }, true});
#endif
  return rows;
}

INSTANTIATE_TEST_SUITE_P(Rows, ProgramFilesMatrix, ::testing::ValuesIn(ProgramFilesRows()),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Configurations and the package list: what RunForm and the load make of them. ----

class NoDialogs final : public PackageDialog, public MainDialog {
 public:
  // Package dialog: the user presses OK on the first line.
  bool IsLoaded() const override { return false; }
  void Clear() override { items.clear(); }
  void AddItem(const std::string& text, const std::string& value) override { items.emplace_back(text, value); }
  void SelectIndex(int) override {}
  std::string ShowModalAndChoose() override { return items.empty() ? "" : items.front().second; }
  void Unload() override {}
  // Main dialog: loading runs a real controller over a fake view.
  std::optional<HostError> SetCaption(const std::string& caption, const std::string& package) override {
    shownCaption = caption;
    controller = std::make_unique<Form1Controller>(view, services(), package);
    return controller->Form_Load();
  }
  void ShowModeless() override { shown = true; }
  void ShowModal() override { shown = true; }
  void TickAndHideRefreshCheck() override {}
  void HideChangeButton() override {}
  std::string LoadedPackage() const override { return {}; }

  std::vector<std::pair<std::string, std::string>> items;
  std::function<Form1Services()> services;
  testing::FakeForm1View view;
  std::unique_ptr<Form1Controller> controller;
  std::string shownCaption;
  bool shown = false;
};

struct ConfigRow {
  const char* name;
  std::function<std::vector<std::uint8_t>()> clearConfig;  // empty vector: a zero-length file
  const char* hostSees;  // "" when the dialog opens; "config message" for the configuration message
  int layers;
};

class ConfigMatrix : public Form1Fixture, public ::testing::WithParamInterface<ConfigRow> {};

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

TEST_P(ConfigMatrix, RunFormOpensTheDialogOrSaysWhy) {
  InstallSample();  // data files
  auto config = GetParam().clearConfig();
  Scramble(config);
  WriteAll(dir.File("pkg.cfg"), config);
  registry.Set(kAtrybutyKey, kMruListValue, "Polska");
  registry.Set(PackageKey("Polska"), kPackagePathValue, dir.File("pkg.cfg"));
  testing::ScratchTempFiles temp(dir.Prefix());
  NoDialogs dialogs;
  dialogs.services = [&] { return Services(); };
  RunFormServices services{registry, temp, codec, messages, dialogs, dialogs};
  AttributeData self;
  const auto error = RunForm(self, state, services);

  const std::string sees = GetParam().hostSees;
  if (sees.empty()) {
    EXPECT_FALSE(error) << error->description;
    EXPECT_TRUE(dialogs.shown);
    EXPECT_EQ(dialogs.view.LayerListCount(), GetParam().layers);
  } else if (sees == "config message") {
    EXPECT_FALSE(error);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, kConfigMessage);
    EXPECT_FALSE(dialogs.shown);
  } else {
    ASSERT_TRUE(error);
    EXPECT_NE(error->description.find(sees), std::string::npos) << error->description;
    EXPECT_FALSE(dialogs.shown);
  }
}

std::string Layers(int n, const std::string& section = "Map ") {
  std::string text = "[Global]\r\nMapCount=" + std::to_string(n) + "\r\n";
  for (int i = 1; i <= n; ++i) {
    text += "[" + section + std::to_string(i) + "]\r\nLayerName=L" + std::to_string(i) + "\r\nMapName=DROGI.DAT\r\n";
  }
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ConfigMatrix,
    ::testing::Values(
        ConfigRow{"zero_length", [] { return std::vector<std::uint8_t>{}; }, "config message", 0},
        ConfigRow{"binary_garbage",
                  [] {
                    std::vector<std::uint8_t> b(4096);
                    for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(i * 131 + 7);
                    return b;
                  },
                  "brak wartości MapCount", 0},
        ConfigRow{"count_missing", [] { return Bytes("[Global]\r\nX=1\r\n"); }, "brak wartości MapCount", 0},
        ConfigRow{"count_empty", [] { return Bytes("[Global]\r\nMapCount=\r\n"); }, "brak wartości MapCount", 0},
        ConfigRow{"count_abc", [] { return Bytes("[Global]\r\nMapCount=abc\r\n"); }, "MapCount=abc", 0},
        ConfigRow{"count_minus_one", [] { return Bytes("[Global]\r\nMapCount=-1\r\n"); }, "ujemną", 0},
        ConfigRow{"count_32768", [] { return Bytes("[Global]\r\nMapCount=32768\r\n"); }, "za dużą", 0},
        ConfigRow{"count_zero", [] { return Bytes("[Global]\r\nMapCount=0\r\n"); }, "nie zawiera żadnej warstwy", 0},
        ConfigRow{"duplicate_sections_and_keys",
                  [] { return Bytes(Layers(2) + "[Global]\r\nMapCount=9\r\n[Map 1]\r\nLayerName=X\r\n"); }, "", 2},
        ConfigRow{"sections_without_blank", [] { return Bytes(Layers(3, "Map")); }, "", 3},
        ConfigRow{
            "names_of_150_characters",
            [] { return Bytes("[Global]\r\nMapCount=1\r\n[Map 1]\r\nLayerName=" + std::string(150, 'x') + "\r\n"); },
            "", 1},
        ConfigRow{"polish_code_page_1250",
                  [] {
                    return Bytes(
                        "[Global]\r\nMapCount=1\r\n[Map 1]\r\nLayerName=\xA3\xF3"
                        "d\x9F\r\nMapName=DROGI.DAT\r\n");
                  },
                  "", 1},
        ConfigRow{"hundred_megabytes",
                  [] {
                    std::string text = Layers(3);
                    text += ";" + std::string(100 * 1024 * 1024, 'x') + "\r\n";
                    return Bytes(text);
                  },
                  "", 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Form1Fixture, ShownNamesAreConvertedFromTheAnsiCodePage) {
  WriteText(dir.File("c.ini"),
            "[Global]\r\nMapCount=1\r\n[Map 1]\r\nLayerName=\xA3\xF3"
            "d\x9F\r\n");
  state.configTempPath = dir.File("c.ini");
  registry.Remove(kCurrentVersionKey, kProgramFilesDirValue);
  LoadOk();
  EXPECT_EQ(view.layers.at(0), "Łódź");
}

// ---- Registry: the package list and a package's path. ----

struct RegistryRow {
  const char* name;
  std::function<void(testing::FakeRegistry&)> arrange;
  std::vector<std::string> packageLines;  // what the package dialog lists; empty: no dialog
  bool configMessage;
};

class RegistryMatrix : public ::testing::TestWithParam<RegistryRow> {};

TEST_P(RegistryMatrix, RunFormTellsOrAsks) {
  testing::ScratchDir dir;
  testing::FakeRegistry registry;
  std::vector<std::uint8_t> config = Bytes("[Global]\r\nMapCount=1\r\n[Map 1]\r\nLayerName=A\r\n");
  Scramble(config);
  WriteAll(dir.File("a.cfg"), config);
  registry.Set(PackageKey("Polska"), kPackagePathValue, dir.File("a.cfg"));
  GetParam().arrange(registry);

  testing::ScratchTempFiles temp(dir.Prefix());
  struct Recorder final : PackageDialog, MainDialog {
    std::vector<std::string> lines;
    bool opened = false;
    bool IsLoaded() const override { return false; }
    void Clear() override { lines.clear(); }
    void AddItem(const std::string& text, const std::string&) override { lines.push_back(text); }
    void SelectIndex(int) override {}
    std::string ShowModalAndChoose() override { return {}; }  // the user closes it
    void Unload() override {}
    std::optional<HostError> SetCaption(const std::string&, const std::string&) override {
      opened = true;
      return std::nullopt;
    }
    void ShowModeless() override {}
    void ShowModal() override {}
    void TickAndHideRefreshCheck() override {}
    void HideChangeButton() override {}
    std::string LoadedPackage() const override { return {}; }
  } dialogs;
  Cp1250Codec codec;
  testing::FakeMessages messages;
  ProcessState state;
  RunFormServices services{registry, temp, codec, messages, dialogs, dialogs};
  EXPECT_FALSE(RunForm(AttributeData{}, state, services));
  EXPECT_EQ(dialogs.lines, GetParam().packageLines);
  EXPECT_EQ(messages.shown.size(), GetParam().configMessage ? 1u : 0u);
  if (!GetParam().configMessage && GetParam().packageLines.empty()) {
    EXPECT_TRUE(dialogs.opened);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RegistryMatrix,
    ::testing::Values(
        RegistryRow{"list_missing", [](auto&) {}, {}, true},
        RegistryRow{"list_empty", [](auto& r) { r.Set(kAtrybutyKey, kMruListValue, ""); }, {}, true},
        RegistryRow{"list_only_separator", [](auto& r) { r.Set(kAtrybutyKey, kMruListValue, ";"); }, {"", ""}, false},
        RegistryRow{"list_with_empty_middle",
                    [](auto& r) { r.Set(kAtrybutyKey, kMruListValue, "a;;b"); },
                    {"a", "", "b"},
                    false},
        RegistryRow{"name_of_300_characters",
                    [](auto& r) { r.Set(kAtrybutyKey, kMruListValue, std::string(300, 'n')); },
                    {},
                    true},
        RegistryRow{"name_with_embedded_nul",
                    [](auto& r) { r.Set(kAtrybutyKey, kMruListValue, std::string("Polska\0x", 8)); },
                    {},
                    false},
        RegistryRow{"path_missing",
                    [](auto& r) {
                      r.Set(kAtrybutyKey, kMruListValue, "Polska");
                      r.Remove(PackageKey("Polska"), kPackagePathValue);
                    },
                    {},
                    true},
        RegistryRow{"one_package", [](auto& r) { r.Set(kAtrybutyKey, kMruListValue, " Polska "); }, {}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TemporaryDirectory, UnusableGivesTheConfigurationMessage) {
  testing::ScratchDir dir;
  testing::FakeRegistry registry;
  std::vector<std::uint8_t> config = Bytes("[Global]\r\nMapCount=1\r\n");
  Scramble(config);
  WriteAll(dir.File("a.cfg"), config);
  registry.Set(kAtrybutyKey, kMruListValue, "Polska");
  registry.Set(PackageKey("Polska"), kPackagePathValue, dir.File("a.cfg"));
  struct Unusable final : TempFiles {
    std::string Directory() override { return "/nonexistent/"; }
    std::string CreateUnique(const std::string&, const std::string&) override { return {}; }
  } temp;
  struct Never final : PackageDialog, MainDialog {
    bool IsLoaded() const override { return false; }
    void Clear() override {}
    void AddItem(const std::string&, const std::string&) override {}
    void SelectIndex(int) override {}
    std::string ShowModalAndChoose() override { return {}; }
    void Unload() override {}
    std::optional<HostError> SetCaption(const std::string&, const std::string&) override {
      ADD_FAILURE() << "no dialog without a configuration";
      return std::nullopt;
    }
    void ShowModeless() override {}
    void ShowModal() override {}
    void TickAndHideRefreshCheck() override {}
    void HideChangeButton() override {}
    std::string LoadedPackage() const override { return {}; }
  } dialogs;
  Cp1250Codec codec;
  testing::FakeMessages messages;
  ProcessState state;
  RunFormServices services{registry, temp, codec, messages, dialogs, dialogs};
  EXPECT_FALSE(RunForm(AttributeData{}, state, services));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, kConfigMessage);
}

}  // namespace
}  // namespace atrybuty
