// The demo's host, standing in for an Excel macro:
//   demo_host install OUTDIR   installs the sample package into the Wine prefix
//                              and writes the changed layer's data file path
//                              to OUTDIR\datafile.txt
//   demo_host change OUTDIR    opens the real dialog, picks a layer, a
//                              thickness, a style and a colour, applies the
//                              change, and saves screenshots before and after

#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "e2e/packages.h"
#include "e2e/server_client.h"
#include "e2e/ui_driver.h"
#include "win32/resources/resource.h"
#include "win32/text/ansi_codec.h"

using namespace atrybuty;
using namespace atrybuty::e2e;

namespace {

const std::wstring kCaption = L"Zmiana atrybutów linii - Polska";
constexpr int kGranice = 2;

int Install(const std::string& out) {
  Packages packages(/*keep=*/true);
  packages.Install(samples::BundledSample(), "Polska");
  packages.SetMruList("Polska");
  std::ofstream(out + "\\datafile.txt") << packages.DataFile("GRANICE.DAT");
  std::printf("Installed the sample package \"Polska\" as its 32-bit installer would: registry keys in the 32-bit\n"
              "view, data files in %s\n",
              packages.DataDir().c_str());
  return 0;
}

int Change(const std::string& out) {
  AttributeClient client = AttributeClient::Create();
  if (!client.Get() || client.RunForm() != S_OK) {
    std::fprintf(stderr, "demo: the server cannot be started\n");
    return 1;
  }
  HWND form = WaitForDialog(kCaption);
  if (!form) {
    std::fprintf(stderr, "demo: the dialog did not open\n");
    return 1;
  }
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  std::printf("A %d-bit host on %d-bit Windows started the 32-bit server atrybuty.exe.\n",
              static_cast<int>(sizeof(void*) * 8), wow64 || sizeof(void*) == 8 ? 64 : 32);
  Pump(std::chrono::milliseconds(300));
  SaveScreenshot(form, out + "\\form1.png");
  SaveScreenshot(form, out + "\\form1-before.png");

  std::printf("Choosing \"Granice województw\", thickness 6, style 44 and the colour #123456...\n");
  SelectCombo(form, IDC_COMBO1, kGranice);
  WaitFor([&] { return ComboSelection(form, IDC_IMGCOMBOGR) == 4; });
  SelectCombo(form, IDC_IMGCOMBOGR, 5);
  SelectCombo(form, IDC_IMGCOMBOST, 43);
  PostMessageW(form, WM_COMMAND, MAKEWPARAM(IDC_LBLCOLOR, STN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(form, IDC_LBLCOLOR)));
  if (HWND colour = WaitForColourDialog()) ConfirmColour(colour, 0x12, 0x34, 0x56);
  SendMessageW(GetDlgItem(form, IDC_CHKODSWIEZ), BM_SETCHECK, BST_CHECKED, 0);  // no workbook to refresh here
  Click(form, IDC_CMDANULUJ);
  if (auto box = WaitForMessageBox()) {
    std::printf("The dialog says: %s\n", win32::WideToUtf8(box->text).c_str());
    Answer(*box, IDOK);
  }
  Pump(std::chrono::milliseconds(300));
  SaveScreenshot(form, out + "\\form1-after.png");
  std::printf("Screenshots: %s\\form1-before.png, %s\\form1-after.png\n", out.c_str(), out.c_str());
  Click(form, IDCANCEL);
  WaitGone(form);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: demo_host install|change OUTDIR\n");
    return 2;
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::string mode = argv[1];
  const int code = mode == "install" ? Install(argv[2]) : mode == "change" ? Change(argv[2]) : 2;
  CoUninitialize();
  return code;
}
