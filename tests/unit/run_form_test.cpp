#include <gtest/gtest.h>

#include "core/component/process_lifetime.h"
#include "core/component/run_form.h"
#include "core/config/scramble.h"
#include "support/fakes.h"
#include "support/scratch_dir.h"

namespace atrybuty {
namespace {

using testing::FakeMessages;
using testing::FakeRegistry;

class FakePackageDialog final : public PackageDialog {
 public:
  bool loaded = false;
  std::vector<std::pair<std::string, std::string>> items;
  int selected = -1;
  int shows = 0;
  int unloads = 0;
  // What the user does: choose this line with OK, or -1 to close the dialog.
  int choice = 0;

  bool IsLoaded() const override { return loaded; }
  void Clear() override {
    loaded = true;
    items.clear();
  }
  void AddItem(const std::string& text, const std::string& value) override {
    loaded = true;
    items.emplace_back(text, value);
  }
  void SelectIndex(int index) override { selected = index; }
  std::string ShowModalAndChoose() override {
    ++shows;
    if (choice < 0) {
      Unload();
      return {};
    }
    selected = choice;
    return items.at(static_cast<std::size_t>(choice)).second;
  }
  void Unload() override {
    ++unloads;
    loaded = false;
    items.clear();
    selected = -1;
  }
};

class FakeMainDialog final : public MainDialog {
 public:
  std::vector<std::string> calls;
  bool loaded = false;
  std::optional<HostError> loadError;
  std::string caption;
  std::string package;
  bool IsLoaded() const override { return loaded; }
  std::string LoadedPackage() const override { return loaded ? package : std::string(); }
  std::optional<HostError> SetCaption(const std::string& text, const std::string& name) override {
    if (!loaded) {
      calls.push_back("Load " + name);
      if (loadError) return loadError;
      loaded = true;
      package = name;
    }
    caption = text;
    calls.push_back("Caption " + text);
    return std::nullopt;
  }
  void Unload() override {
    if (loaded) calls.push_back("Unload");
    loaded = false;
  }
  void ShowModeless() override { calls.push_back("ShowModeless"); }
  void ShowModal() override { calls.push_back("ShowModal"); }
  void TickAndHideRefreshCheck() override { calls.push_back("TickAndHideRefreshCheck"); }
  void HideChangeButton() override { calls.push_back("HideChangeButton"); }
};

class RunFormTest : public ::testing::Test {
 protected:
  void Install(const std::string& name) {
    const std::string path = dir.File(name + ".cfg");
    std::vector<std::uint8_t> bytes = {'[', 'G', 'l', 'o', 'b', 'a', 'l', ']'};
    Scramble(bytes);
    testing::WriteAll(path, bytes);
    registry.Set(PackageKey(name), kPackagePathValue, path);
  }
  std::optional<HostError> Run() {
    RunFormServices s{registry, temp, codec, messages, packageDialog, mainDialog};
    return RunForm(self, state, s);
  }
  void ExpectConfigMessage() {
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, kConfigMessage);
    EXPECT_EQ(messages.shown[0].kind, MessageKind::CriticalOk);
    EXPECT_FALSE(messages.shown[0].caption) << "the configuration message bears the application's title";
  }

  testing::ScratchDir dir;
  FakeRegistry registry;
  testing::ScratchTempFiles temp{dir.Prefix()};
  Cp1250Codec codec;
  FakeMessages messages;
  FakePackageDialog packageDialog;
  FakeMainDialog mainDialog;
  AttributeData self;
  ProcessState state;
};

TEST_F(RunFormTest, OnePackageNeedsNoChoice) {
  Install("Polska");
  registry.Set(kAtrybutyKey, kMruListValue, "  Polska ");
  self.showNow = "FROM_EXEC";
  EXPECT_FALSE(Run());
  EXPECT_EQ(packageDialog.shows, 0);
  EXPECT_FALSE(state.multiPackage);
  EXPECT_EQ(state.fromExec, "FROM_EXEC");
  EXPECT_FALSE(state.viewerMode);
  EXPECT_EQ(testing::ReadAll(state.configTempPath),
            (std::vector<std::uint8_t>{'[', 'G', 'l', 'o', 'b', 'a', 'l', ']'}));
  EXPECT_EQ(mainDialog.calls,
            (std::vector<std::string>{"Load Polska", "Caption Zmiana atrybutów linii - Polska", "ShowModeless"}));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RunFormTest, SeveralPackagesAreOfferedTrimmedWithTheFirstSelected) {
  Install("Polska");
  Install("Europa");
  registry.Set(kAtrybutyKey, kMruListValue, " Polska  ;  Europa ");
  packageDialog.choice = 1;
  EXPECT_FALSE(Run());
  EXPECT_EQ(packageDialog.shows, 1);
  ASSERT_EQ(packageDialog.items.size(), 2u);
  EXPECT_EQ(packageDialog.items[0].first, "Polska");
  EXPECT_EQ(packageDialog.items[1].first, "Europa");
  EXPECT_TRUE(state.multiPackage);
  EXPECT_EQ(mainDialog.caption, "Zmiana atrybutów linii - Europa");
  EXPECT_TRUE(packageDialog.loaded) << "the package dialog stays loaded after a choice";
}

TEST_F(RunFormTest, FirstLineIsSelectedBeforeTheDialogShows) {
  Install("A");
  registry.Set(kAtrybutyKey, kMruListValue, "A;B");
  packageDialog.choice = 0;
  EXPECT_FALSE(Run());
  EXPECT_EQ(mainDialog.caption, "Zmiana atrybutów linii - A");
}

TEST_F(RunFormTest, TrailingSeparatorGivesAnEmptyLineWhoseChoiceEndsSilently) {
  Install("Polska");
  registry.Set(kAtrybutyKey, kMruListValue, "Polska;");
  mainDialog.loaded = true;
  packageDialog.choice = 1;
  EXPECT_FALSE(Run());
  EXPECT_TRUE(state.multiPackage);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_FALSE(mainDialog.loaded);
  EXPECT_FALSE(packageDialog.loaded);
}

TEST_F(RunFormTest, ClosingThePackageDialogEndsSilently) {
  registry.Set(kAtrybutyKey, kMruListValue, "A;B");
  packageDialog.choice = -1;
  EXPECT_FALSE(Run());
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(mainDialog.calls, std::vector<std::string>{});
}

TEST_F(RunFormTest, NoPackagesGiveTheConfigurationMessage) {
  for (const char* list : {static_cast<const char*>(""), static_cast<const char*>(nullptr)}) {
    messages.shown.clear();
    if (list)
      registry.Set(kAtrybutyKey, kMruListValue, list);
    else
      registry.Remove(kAtrybutyKey, kMruListValue);
    state.multiPackage = true;
    EXPECT_FALSE(Run());
    ExpectConfigMessage();
    EXPECT_TRUE(state.multiPackage) << "left as the previous run set it";
    EXPECT_TRUE(mainDialog.calls.empty());
  }
}

TEST_F(RunFormTest, UnreadableConfigurationGivesTheConfigurationMessage) {
  registry.Set(kAtrybutyKey, kMruListValue, "Polska");
  EXPECT_FALSE(Run());  // no "path" value
  ExpectConfigMessage();
  messages.shown.clear();
  registry.Set(PackageKey("Polska"), kPackagePathValue, dir.File("missing.cfg"));
  EXPECT_FALSE(Run());
  ExpectConfigMessage();
  EXPECT_TRUE(mainDialog.calls.empty());
}

TEST_F(RunFormTest, ViewerTakesActualMapUntrimmedAndShowsModally) {
  Install(" Europa");
  registry.Set(kAtrybutyKey, kMruListValue, "Polska;Europa");
  self.parent = "Veltrix";
  self.actualMap = " Europa";
  EXPECT_FALSE(Run());
  EXPECT_EQ(packageDialog.shows, 0);
  EXPECT_TRUE(state.viewerMode);
  EXPECT_TRUE(state.multiPackage);
  EXPECT_EQ(mainDialog.calls,
            (std::vector<std::string>{"Load  Europa", "Caption Zmiana atrybutów linii -  Europa", "Unload",
                                      "Load  Europa", "Caption Zmiana atrybutów linii -  Europa",
                                      "TickAndHideRefreshCheck", "HideChangeButton", "ShowModal"}));
}

TEST_F(RunFormTest, ViewerWithUnknownPackageGetsTheConfigurationMessage) {
  registry.Set(kAtrybutyKey, kMruListValue, "Polska");
  self.parent = "Veltrix";
  self.actualMap = "Nieznana";
  EXPECT_FALSE(Run());
  ExpectConfigMessage();
}

TEST_F(RunFormTest, ParentInOtherLetterCaseIsNoViewer) {
  Install("A");
  registry.Set(kAtrybutyKey, kMruListValue, "A;B");
  self.parent = "veltrix";
  EXPECT_FALSE(Run());
  EXPECT_EQ(packageDialog.shows, 1);
  EXPECT_FALSE(state.viewerMode);
}

TEST_F(RunFormTest, EveryRunListsEachPackageOnce) {
  Install("A");
  registry.Set(kAtrybutyKey, kMruListValue, "A;B");
  EXPECT_FALSE(Run());
  EXPECT_FALSE(Run());  // the package dialog is still loaded from the first run
  EXPECT_EQ(packageDialog.items.size(), 2u);
}

// A dialog left open keeps what the user did in it when a new run settles
// on its own package; on another package it is loaded afresh, so that its
// layers always belong to the package in its caption.
TEST_F(RunFormTest, ASecondRunReloadsAnOpenMainDialogOnlyForAnotherPackage) {
  Install("A");
  Install("B");
  registry.Set(kAtrybutyKey, kMruListValue, "A");
  EXPECT_FALSE(Run());
  mainDialog.calls.clear();
  EXPECT_FALSE(Run());
  EXPECT_EQ(mainDialog.calls, (std::vector<std::string>{"Caption Zmiana atrybutów linii - A", "ShowModeless"}));
  registry.Set(kAtrybutyKey, kMruListValue, "B");
  mainDialog.calls.clear();
  EXPECT_FALSE(Run());
  EXPECT_EQ(mainDialog.calls, (std::vector<std::string>{"Unload", "Load B", "Caption Zmiana atrybutów linii - B",
                                                        "ShowModeless"}));
}

TEST_F(RunFormTest, LoadFailureReachesTheHostAndNothingIsShown) {
  Install("A");
  registry.Set(kAtrybutyKey, kMruListValue, "A");
  mainDialog.loadError = HostError{HostErrorKind::LayerCountInvalid, "zła konfiguracja"};
  const auto error = Run();
  ASSERT_TRUE(error);
  EXPECT_EQ(error->description, "zła konfiguracja");
  EXPECT_EQ(std::count(mainDialog.calls.begin(), mainDialog.calls.end(), "ShowModeless"), 0);
}

TEST_F(RunFormTest, EveryRunLeavesANewTemporaryCopyReadWhileTheDialogLoads) {
  Install("A");
  registry.Set(kAtrybutyKey, kMruListValue, "A");
  EXPECT_FALSE(Run());
  const std::string first = state.configTempPath;
  auto read = state.TakeLayerTable();
  ASSERT_TRUE(read) << "a dialog about to load has the copy's layers read meanwhile";
  EXPECT_EQ(std::get<LayerTableFailure>(*read).error, LayerTableError::CountMissing);
  EXPECT_FALSE(state.TakeLayerTable()) << "taken once";
  EXPECT_FALSE(Run());
  EXPECT_NE(state.configTempPath, first);
  EXPECT_TRUE(std::filesystem::exists(first));
  EXPECT_FALSE(state.TakeLayerTable()) << "a dialog still loaded on this package reads nothing";
}

TEST(PackageList, SplitsAtEverySeparator) {
  EXPECT_EQ(SplitPackageList(""), std::vector<std::string>{});
  EXPECT_EQ(SplitPackageList("a"), std::vector<std::string>{"a"});
  EXPECT_EQ(SplitPackageList(";"), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(SplitPackageList("a;;b"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(TrimSpaces("  a b  "), "a b");
  EXPECT_EQ(TrimSpaces("\ta "), "\ta") << "only spaces are trimmed";
  EXPECT_EQ(TrimSpaces("   "), "");
}

// ---- When the server process leaves. ----

class Lifetime : public ::testing::Test {
 protected:
  ProcessLifetime Make(bool startedByCom) {
    return ProcessLifetime(startedByCom, {[this] { return dialogs; }, [this] { ++scheduled; }, [this] { ++left; }});
  }
  bool dialogs = false;
  int scheduled = 0, left = 0;
};

TEST_F(Lifetime, WhatComesDuringThePendingLeaveKeepsTheProcess) {
  struct Row {
    const char* name;
    std::function<void(ProcessLifetime&, bool& dialogs)> meanwhile;
  };
  const Row rows[] = {
      {"a host locks it", [](ProcessLifetime& l, bool&) { l.Lock(true); }},
      {"a new object", [](ProcessLifetime& l, bool&) { l.ObjectCreated(); }},
      {"a dialog opens", [](ProcessLifetime&, bool& d) { d = true; }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    dialogs = false;
    scheduled = left = 0;
    ProcessLifetime lifetime = Make(true);
    lifetime.ObjectCreated();
    lifetime.ObjectDestroyed();
    ASSERT_EQ(scheduled, 1) << "the last release schedules the leave";
    row.meanwhile(lifetime, dialogs);
    lifetime.LeaveNow();
    EXPECT_EQ(left, 0);
    EXPECT_TRUE(lifetime.Held());
  }
  // And once that lets go, the process leaves after all.
  dialogs = false;
  scheduled = left = 0;
  ProcessLifetime lifetime = Make(false);
  lifetime.Lock(true);
  lifetime.Lock(false);
  lifetime.Lock(true);
  lifetime.LeaveNow();
  lifetime.Lock(false);
  EXPECT_EQ(scheduled, 2);
  lifetime.LeaveNow();
  EXPECT_EQ(left, 1);
}

TEST_F(Lifetime, AStartedServerWaitsForItsFirstObjectOrTheEndOfTheWait) {
  ProcessLifetime byCom = Make(true);
  byCom.Changed();
  EXPECT_EQ(scheduled, 0) << "COM started it for an object still to come";
  byCom.StartWaitOver();
  EXPECT_EQ(scheduled, 1) << "none came";
  scheduled = 0;
  ProcessLifetime byHand = Make(false);
  byHand.Changed();
  EXPECT_EQ(scheduled, 1);
}

}  // namespace
}  // namespace atrybuty
