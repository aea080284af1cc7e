// Timings of the real server under Wine, each printed against its baseline:
//  - object creation to the main dialog shown, cold (server start) and warm;
//  - RunForm to the dialog ready for the 32 767-layer package, against the
//    same layer load done with the platform's per-key profile reader;
//  - the server's peak memory with the sample and with the largest package.
//   server_bench.exe

#include <windows.h>
#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/config/file_bytes.h"
#include "core/config/profile.h"
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

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Opens the dialog with a new object; returns the time until it is ready
// (shown, with `layers` layers listed), or a negative value on failure.
double OpenDialog(int layers, HWND* formOut = nullptr, double* createMs = nullptr) {
  const auto start = Clock::now();
  AttributeClient client = AttributeClient::Create();
  if (createMs) *createMs = Ms(Clock::now() - start);
  if (!client.Get() || client.RunForm() != S_OK) return -1;
  HWND form = nullptr;
  const bool ready = WaitFor(
      [&] {
        form = FindDialog(kCaption);
        return form && SendDlgItemMessageW(form, IDC_COMBO1, CB_GETCOUNT, 0, 0) == layers;
      },
      std::chrono::seconds(60));
  const double ms = Ms(Clock::now() - start);
  if (formOut) *formOut = form;
  return ready ? ms : -1;
}

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
  (void)table;
  return Ms(Clock::now() - start);
}

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  {
    Packages packages;
    packages.Install(samples::BundledSample(), "Polska");
    packages.SetMruList("Polska");

    std::vector<double> cold, warm, coldCreate, warmCreate;
    SIZE_T samplePeak = 0;
    for (int run = 0; run < 3; ++run) {
      WaitServerGone();
      HWND form = nullptr;
      double create = 0;
      cold.push_back(OpenDialog(7, &form, &create));
      coldCreate.push_back(create);
      samplePeak = std::max(samplePeak, ServerPeakMemory(form));
      Close(form);
    }
    {
      AttributeClient keeper = AttributeClient::Create();  // keeps one server running
      for (int run = 0; run < 5; ++run) {
        HWND form = nullptr;
        double create = 0;
        warm.push_back(OpenDialog(7, &form, &create));
        warmCreate.push_back(create);
        Close(form);
      }
    }
    WaitServerGone();
    std::printf("Object creation to dialog shown (sample package, median):\n");
    std::printf("  cold (server start)   %8.1f ms, of which object creation %8.1f ms\n", Median(cold),
                Median(coldCreate));
    std::printf("  warm (server running) %8.1f ms, of which object creation %8.1f ms\n", Median(warm),
                Median(warmCreate));

    packages.Install(samples::LargePackage(32767), "Polska");
    const std::string clear = packages.ConfigDir() + "large.ini";
    const auto clearText = samples::ClearConfiguration(samples::LargePackage(32767));
    WriteFileBytes(clear, std::vector<std::uint8_t>(clearText.begin(), clearText.end()));
    std::vector<double> large;
    SIZE_T largePeak = 0;
    {
      AttributeClient keeper = AttributeClient::Create();
      for (int run = 0; run < 3; ++run) {
        HWND form = nullptr;
        large.push_back(OpenDialog(32767, &form));
        largePeak = std::max(largePeak, ServerPeakMemory(form));
        Close(form);
      }
    }
    int perKeyLayers = 0;
    const double perKey = PerKeyLoad(clear, &perKeyLayers);
    const double own = OwnLoad(clear);
    std::printf("RunForm to dialog ready, 32 767 layers (median of 3):\n");
    std::printf("  server, own profile reader         %8.1f ms  (target: under 300 ms)\n", Median(large));
    std::printf("  layer load, own profile reader     %8.1f ms\n", own);
    std::printf("  layer load, GetPrivateProfileStringA per key %8.1f ms  (%d layers read)\n", perKey, perKeyLayers);
    std::printf("  speed-up of the layer load         %8.0fx  (target: at least 100x)\n",
                perKey / std::max(own, 0.001));
    std::printf("  speed-up, whole RunForm vs per-key load alone %5.0fx\n", perKey / std::max(Median(large), 0.001));
    std::printf("Server peak memory (pagefile usage, as the process reports it):\n");
    std::printf("  sample package                     %8.1f MB\n", samplePeak / 1048576.0);
    std::printf("  32 767-layer package               %8.1f MB  (target: under 10 MB more than the sample)\n",
                largePeak / 1048576.0);
    std::printf("  difference                         %8.1f MB\n",
                (static_cast<double>(largePeak) - static_cast<double>(samplePeak)) / 1048576.0);
  }
  CoUninitialize();
  return 0;
}
