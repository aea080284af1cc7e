// Timings of the real server under Wine, each printed against its target:
//  - object creation to the main dialog shown, cold (server start) and warm;
//  - RunForm to the dialog ready for the 32 767-layer package, and where that
//    time goes (bench/runform_steps.h tells how the steps are measured);
//  - the same layer load with our reader against the platform's per-key one;
//  - the server's peak memory with the sample and with the largest package.
//   server_bench.exe             everything, with the server registered now
//   server_bench.exe --servers   only what the server itself does (activation,
//                                RunForm, memory): for a second server
// Lines beginning "@ " carry every run's figure that scripts/bench.sh
// compares between the 32-bit and the 64-bit server.

#include <windows.h>
#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/runform_steps.h"
#include "core/config/file_bytes.h"
#include "core/config/layer_table.h"
#include "e2e/packages.h"
#include "e2e/server_client.h"
#include "e2e/ui_driver.h"
#include "win32/resources/resource.h"

using namespace atrybuty;
using namespace atrybuty::e2e;
using Clock = std::chrono::steady_clock;

namespace {

const std::wstring kCaption = L"Zmiana atrybutów linii - Polska";
constexpr int kLargest = 32767;

// Targets, printed beside their figures.
constexpr double kRunFormTargetMs = 100;
constexpr double kLoadSpeedUpTarget = 300;
constexpr double kMemoryTargetMb = 10;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

const char* Verdict(bool met) { return met ? "met" : "NOT MET"; }

struct Opened {
  HWND form = nullptr;
  double createMs = -1;   // CoCreateInstance
  double runFormMs = -1;  // from the RunForm call until the list holds every layer
};

// Opens the dialog with a new object. RunForm returns once the modeless
// dialog is shown, so the first check after it finds the dialog ready.
Opened OpenDialog(int layers) {
  Opened o;
  const auto start = Clock::now();
  AttributeClient client = AttributeClient::Create();
  const auto created = Clock::now();
  o.createMs = Ms(created - start);
  if (!client.Get() || client.RunForm() != S_OK) return o;
  const bool ready = WaitFor(
      [&] {
        o.form = FindDialog(kCaption);
        return o.form && SendDlgItemMessageW(o.form, IDC_COMBO1, CB_GETCOUNT, 0, 0) == layers;
      },
      std::chrono::seconds(60));
  if (ready) o.runFormMs = Ms(Clock::now() - created);
  return o;
}

// Object creation to dialog shown; a failed start counts as a minute.
double Shown(const Opened& o) { return o.runFormMs < 0 ? 60000 : o.createMs + o.runFormMs; }

void Close(HWND form) {
  PostMessageW(form, WM_CLOSE, 0, 0);
  WaitGone(form);
}

SIZE_T ServerPeakMemory(HWND form) {
  DWORD pid = 0;
  GetWindowThreadProcessId(form, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  SIZE_T peak = 0;
  if (process && GetProcessMemoryInfo(process, &counters, sizeof counters)) peak = counters.PeakPagefileUsage;
  if (process) CloseHandle(process);
  return peak;
}

// The layer load as the platform's per-key reader does it: one call per value.
double PerKeyLoad(const std::string& clearConfig, int* layersRead) {
  const auto start = Clock::now();
  char buffer[145];
  GetPrivateProfileStringA("Global", "MapCount", "", buffer, 144, clearConfig.c_str());
  const int count = std::atoi(buffer);
  int read = 0;
  for (int i = 1; i <= count; ++i) {
    const std::string section = "Map " + std::to_string(i);
    GetPrivateProfileStringA(section.c_str(), "LayerName", "", buffer, 144, clearConfig.c_str());
    GetPrivateProfileStringA(section.c_str(), "MapName", "", buffer, 144, clearConfig.c_str());
    read += buffer[0] != 0;
  }
  *layersRead = read;
  return Ms(Clock::now() - start);
}

double OwnLoad(const std::string& clearConfig) {
  const auto start = Clock::now();
  auto table = LoadLayerTableFile(clearConfig);
  const double ms = Ms(Clock::now() - start);
  return std::holds_alternative<LayerTable>(table) ? ms : -1;
}

// The server the benchmark runs beside: win32\atrybuty.exe next to bench\.
std::wstring ServerBesideUs() {
  wchar_t self[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, n);
  path.resize(path.find_last_of(L'\\') == std::wstring::npos ? 0 : path.find_last_of(L'\\'));  // ...\bench
  path.resize(path.find_last_of(L'\\') == std::wstring::npos ? 0 : path.find_last_of(L'\\') + 1);
  return path + L"win32\\atrybuty.exe";
}

void PrintSteps(double serverMedian) {
  const auto runs = bench::TimeRunFormSteps(ServerBesideUs(), "Polska", 9);
  if (!runs) {
    std::printf("  (the steps could not be timed: the server's resources were not found beside the benchmark)\n");
    return;
  }
  auto median = [&](double bench::RunFormSteps::*step) {
    std::vector<double> v;
    for (const auto& r : *runs) v.push_back(r.*step);
    return Median(v);
  };
  std::vector<double> sums;
  for (const auto& r : *runs) sums.push_back(r.Sum());
  std::printf(
      "Where that time goes (median of %zu). The server's own code run step by step in this process, in\n"
      "RunForm's order (a separate process under Wine cannot be timed from inside without code in it):\n",
      runs->size());
  const struct {
    const char* name;
    double bench::RunFormSteps::*step;
  } rows[] = {{"registry (package list, path)", &bench::RunFormSteps::registry},
              {"temporary copy (read, unscramble, write)", &bench::RunFormSteps::temporaryCopy},
              {"window created (controls, pictures)", &bench::RunFormSteps::window},
              {"  beside it: parse (clear copy read, parsed)", &bench::RunFormSteps::parse},
              {"  beside it: layer table", &bench::RunFormSteps::layerTable},
              {"waiting for the layer table", &bench::RunFormSteps::tableWait},
              {"list fill", &bench::RunFormSteps::listFill},
              {"pickers", &bench::RunFormSteps::pickers},
              {"window shown", &bench::RunFormSteps::shown}};
  for (const auto& row : rows) std::printf("  %-44s %8.1f ms\n", row.name, median(row.step));
  std::printf("  %-44s %8.1f ms  (%d layers listed)\n", "sum of the UI thread's steps", Median(sums), runs->front().layers);
  std::printf("  %-44s %8.1f ms  (the call through COM, the first layer's line, the caption)\n",
              "the server's figure beyond them", serverMedian - Median(sums));
}

}  // namespace

int main(int argc, char** argv) {
  const bool serversOnly = argc > 1 && std::strcmp(argv[1], "--servers") == 0;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  {
    Packages packages;
    packages.Install(samples::BundledSample(), "Polska");
    packages.SetMruList("Polska");

    std::vector<double> cold, warm, coldCreate, warmCreate;
    SIZE_T samplePeak = 0;
    for (int run = 0; run < 3; ++run) {
      WaitServerGone();
      const Opened o = OpenDialog(7);
      cold.push_back(Shown(o));
      coldCreate.push_back(o.createMs);
      samplePeak = std::max(samplePeak, ServerPeakMemory(o.form));
      Close(o.form);
    }
    {
      AttributeClient keeper = AttributeClient::Create();  // keeps one server running
      for (int run = 0; run < 5; ++run) {
        const Opened o = OpenDialog(7);
        warm.push_back(Shown(o));
        warmCreate.push_back(o.createMs);
        Close(o.form);
      }
    }
    WaitServerGone();
    std::printf("Object creation to dialog shown (sample package, median):\n");
    std::printf("  cold (server start)   %8.1f ms, of which object creation %8.1f ms\n", Median(cold),
                Median(coldCreate));
    std::printf("  warm (server running) %8.1f ms, of which object creation %8.1f ms\n", Median(warm),
                Median(warmCreate));

    packages.Install(samples::LargePackage(kLargest), "Polska");
    std::vector<double> large, largeCreate;
    SIZE_T largePeak = 0;
    {
      AttributeClient keeper = AttributeClient::Create();
      for (int run = 0; run < 9; ++run) {
        const Opened o = OpenDialog(kLargest);
        large.push_back(o.runFormMs < 0 ? 60000 : o.runFormMs);
        largeCreate.push_back(o.createMs);
        largePeak = std::max(largePeak, ServerPeakMemory(o.form));
        Close(o.form);
      }
    }
    const double runForm = Median(large);
    std::printf("RunForm to dialog ready, 32 767 layers (median of %zu; from the call, the object already made):\n",
                large.size());
    std::printf("  server                             %8.1f ms  (target: at most %.0f ms: %s)\n", runForm,
                kRunFormTargetMs, Verdict(runForm >= 0 && runForm <= kRunFormTargetMs));
    std::printf("  object creation before it          %8.1f ms\n", Median(largeCreate));
    if (!serversOnly) PrintSteps(runForm);

    if (!serversOnly) {
      const std::string clear = packages.ConfigDir() + "large.ini";
      const auto clearText = samples::ClearConfiguration(samples::LargePackage(kLargest));
      WriteFileBytes(clear, std::vector<std::uint8_t>(clearText.begin(), clearText.end()));
      std::vector<double> own;
      for (int run = 0; run < 5; ++run) own.push_back(OwnLoad(clear));
      int perKeyLayers = 0;
      const double perKey = PerKeyLoad(clear, &perKeyLayers);
      const double speedUp = perKey / std::max(Median(own), 0.001);
      std::printf("Layer load of the 32 767-layer clear copy (read, parse, table), in this process:\n");
      std::printf("  own profile reader (median of %zu)  %8.1f ms\n", own.size(), Median(own));
      std::printf("  GetPrivateProfileStringA per key   %8.1f ms  (%d layers read)\n", perKey, perKeyLayers);
      std::printf("  speed-up of the layer load         %8.0fx  (target: at least %.0fx: %s)\n", speedUp,
                  kLoadSpeedUpTarget, Verdict(speedUp >= kLoadSpeedUpTarget));
      std::printf("  per-key load against the server's whole RunForm %5.0fx\n", perKey / std::max(runForm, 0.001));
    }

    const double difference = (static_cast<double>(largePeak) - static_cast<double>(samplePeak)) / 1048576.0;
    std::printf("Server peak memory (pagefile usage, as the process reports it):\n");
    std::printf("  sample package                     %8.1f MB\n", samplePeak / 1048576.0);
    std::printf("  32 767-layer package               %8.1f MB\n", largePeak / 1048576.0);
    std::printf("  difference                         %8.1f MB  (target: at most %.0f MB: %s)\n", difference,
                kMemoryTargetMb, Verdict(difference <= kMemoryTargetMb));

    auto samples = [](const char* name, const std::vector<double>& v) {
      std::printf("@ %s", name);
      for (double x : v) std::printf(" %.1f", x);
      std::printf("\n");
    };
    samples("runform", large);
    samples("cold", cold);
    samples("warm", warm);
  }
  CoUninitialize();
  return 0;
}
