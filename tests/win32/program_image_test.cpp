// The shipped programs as Windows loads them: their manifests, read back
// from the built files with the resource API.
//   program_image_tests ATRYBUTY_EXE ATRYBUTY_TOOL_EXE

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

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
