// The demo: installs the sample package into the Wine prefix, opens the real
// dialog as an Excel macro would, and saves a screenshot of it.
//   demo_host.exe OUTDIR

#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>

#include "e2e/packages.h"
#include "e2e/server_client.h"
#include "e2e/ui_driver.h"

using namespace atrybuty;
using namespace atrybuty::e2e;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: demo_host OUTDIR\n");
    return 2;
  }
  const std::string out = argv[1];
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int code = 0;
  {
    Packages packages;
    packages.Install(samples::BundledSample(), "Polska");
    packages.SetMruList("Polska");
    AttributeClient client = AttributeClient::Create();
    std::wstring error;
    if (!client.Get()) {
      std::fprintf(stderr, "demo: the server is not registered\n");
      code = 1;
    } else if (FAILED(client.RunForm(&error))) {
      std::fprintf(stderr, "demo: RunForm failed\n");
      code = 1;
    } else if (HWND form = WaitForDialog(L"Zmiana atrybutów linii - Polska")) {
      Pump(std::chrono::milliseconds(500));
      const std::string shot = out + "\\form1.png";
      SaveScreenshot(form, shot);
      std::printf("Dialog \"Zmiana atrybutów linii - Polska\" opened; screenshot: %s\n", shot.c_str());
      PostMessageW(form, WM_CLOSE, 0, 0);
      WaitGone(form);
    } else {
      std::fprintf(stderr, "demo: the dialog did not open\n");
      code = 1;
    }
  }
  CoUninitialize();
  return code;
}
