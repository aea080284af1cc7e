// The shipped programs as Windows loads them: their manifests, version
// information and icons, read back from the built files with the resource
// and version APIs; and the server started by hand.
//   program_image_tests ATRYBUTY_EXE ATRYBUTY_TOOL_EXE

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "core/form1/app_icon.h"

namespace {

std::wstring g_server, g_tool;

// The program's manifest (resource type 24, the first of its names).
std::string Manifest(const std::wstring& exe) {
  HMODULE image = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!image) return {};
  std::string text;
  if (HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
    if (HGLOBAL data = LoadResource(image, found)) {
      text.assign(static_cast<const char*>(LockResource(data)), SizeofResource(image, found));
    }
  }
  FreeLibrary(image);
  return text;
}

TEST(ProgramImage, BothProgramsCarryAnX86AsInvokerManifest) {
  for (const std::wstring& exe : {g_server, g_tool}) {
    SCOPED_TRACE(std::string(exe.begin(), exe.end()));
    const std::string manifest = Manifest(exe);
    ASSERT_FALSE(manifest.empty()) << "a manifest resource";
    // A 32-bit program whose identity names another processor does not start.
    EXPECT_NE(manifest.find("processorArchitecture=\"x86\""), std::string::npos);
    EXPECT_EQ(manifest.find("amd64"), std::string::npos);
    // Without it Windows would redirect a 32-bit program's writes below
    // Program Files and HKLM to a per-user store.
    EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"), std::string::npos);
  }
}

TEST(ProgramImage, TheServerUsesCommonControls6AndPerMonitorDpi) {
  const std::string manifest = Manifest(g_server);
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos);
}

// One text of the version resource's Polish Unicode block.
std::wstring VersionText(const std::vector<BYTE>& info, const wchar_t* name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\041504B0\\") + name;
  if (!VerQueryValueW(info.data(), path.c_str(), &value, &length) || length == 0) return {};
  return static_cast<const wchar_t*>(value);
}

TEST(ProgramImage, BothProgramsNameTheirProductVersionAndMaker) {
  for (const std::wstring& exe : {g_server, g_tool}) {
    SCOPED_TRACE(std::string(exe.begin(), exe.end()));
    std::vector<BYTE> info(GetFileVersionInfoSizeW(exe.c_str(), nullptr));
    ASSERT_FALSE(info.empty()) << "no version resource";
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    const int parts[] = {HIWORD(fixed->dwProductVersionMS), LOWORD(fixed->dwProductVersionMS),
                         HIWORD(fixed->dwProductVersionLS)};
    const std::string version = std::to_string(parts[0]) + "." + std::to_string(parts[1]) + "." + std::to_string(parts[2]);
    EXPECT_EQ(version, ATRYBUTY_VERSION);
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    EXPECT_EQ(VersionText(info, L"ProductVersion"), std::wstring(L"" ATRYBUTY_VERSION));
    EXPECT_EQ(VersionText(info, L"ProductName"), L"Atrybuty");
    EXPECT_EQ(VersionText(info, L"CompanyName"), L"KELMO");
    const std::wstring name = exe.substr(exe.find_last_of(L"\\/") + 1);
    EXPECT_EQ(VersionText(info, L"OriginalFilename"), name);
    EXPECT_EQ(VersionText(info, L"FileDescription").rfind(L"Atrybuty \u2013 ", 0), 0u)
        << "a Polish description, read as Unicode";
  }
}

// Explorer shows a program's icon of the lowest identifier: the dialog's own.
TEST(ProgramImage, BothProgramsCarryTheDialogsIcon) {
  const atrybuty::AppIcon drawn = atrybuty::MakeAppIcon();
  for (const std::wstring& exe : {g_server, g_tool}) {
    SCOPED_TRACE(std::string(exe.begin(), exe.end()));
    HMODULE image = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(image, nullptr);
    HICON icon = static_cast<HICON>(LoadImageW(image, MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, 0));
    FreeLibrary(image);
    ASSERT_NE(icon, nullptr) << "no icon 1 of 32 x 32";
    ICONINFO parts{};
    ASSERT_TRUE(GetIconInfo(icon, &parts));
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = 32;
    header.bmiHeader.biHeight = -32;  // top row first, as drawn
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    std::vector<DWORD> colour(32 * 32), mask(32 * 32);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDIBits(screen, parts.hbmColor, 0, 32, colour.data(), &header, DIB_RGB_COLORS), 32);
    EXPECT_EQ(GetDIBits(screen, parts.hbmMask, 0, 32, mask.data(), &header, DIB_RGB_COLORS), 32);
    ReleaseDC(nullptr, screen);
    DeleteObject(parts.hbmColor);
    DeleteObject(parts.hbmMask);
    DestroyIcon(icon);
    int differences = 0;
    for (std::size_t i = 0; i < colour.size(); ++i) {
      const bool transparent = (mask[i] & 0xFFFFFF) != 0;
      if (transparent != drawn.transparent[i] || (!transparent && (colour[i] & 0xFFFFFF) != drawn.pixels[i])) ++differences;
    }
    EXPECT_EQ(differences, 0);
  }
}

struct Search {
  DWORD pid;
  HWND box;
};

// A visible dialog-class window of the process: its message box.
BOOL CALLBACK FindMessageBox(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t type[16] = {};
  GetClassNameW(window, type, 16);
  if (pid != search->pid || wcscmp(type, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  search->box = window;
  return FALSE;
}

// Double-clicked, the server says what it is and how it is registered, and
// ends when the message is confirmed.
TEST(ProgramImage, TheServerStartedByHandExplainsItselfAndEnds) {
  std::wstring line = L"\"" + g_server + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(g_server.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &process));
  Search search{process.dwProcessId, nullptr};
  for (int i = 0; i < 200 && !search.box; ++i) {
    Sleep(50);
    EnumWindows(FindMessageBox, reinterpret_cast<LPARAM>(&search));
  }
  std::wstring title(64, L'\0'), text(1024, L'\0');
  if (search.box) {
    title.resize(GetWindowTextW(search.box, title.data(), 64));
    text.resize(GetDlgItemTextW(search.box, 0xFFFF, text.data(), 1024));  // a message box's text
    PostMessageW(search.box, WM_COMMAND, IDOK, 0);
  }
  const DWORD waited = WaitForSingleObject(process.hProcess, 10000);
  if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  ASSERT_NE(search.box, nullptr) << "no message box on screen";
  EXPECT_EQ(title, L"Atrybuty");
  EXPECT_NE(text.find(L"Microsoft Map"), std::wstring::npos) << std::string(text.begin(), text.end());
  EXPECT_NE(text.find(L"atrybuty.exe /RegServer"), std::wstring::npos);
  EXPECT_NE(text.find(L"atrybuty.exe /RegServerUser"), std::wstring::npos);
  EXPECT_EQ(waited, WAIT_OBJECT_0) << "the server did not end";
  EXPECT_EQ(code, 0u);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: program_image_tests ATRYBUTY_EXE ATRYBUTY_TOOL_EXE\n");
    return 2;
  }
  auto wide = [](const char* s) {
    std::wstring w(MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s, -1, w.data(), static_cast<int>(w.size()));
    w.pop_back();
    return w;
  };
  g_server = wide(argv[1]);
  g_tool = wide(argv[2]);
  return RUN_ALL_TESTS();
}
