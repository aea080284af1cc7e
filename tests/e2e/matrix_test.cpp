// Bad inputs that only the real platform can produce: a data file another
// program keeps others from writing, a directory in a data file's place, and two hosts sharing one
// server.

#include <fstream>

#include "core/config/file_bytes.h"
#include "e2e/e2e_fixture.h"
#include "win32/resources/resource.h"

namespace atrybuty::e2e {
namespace {

constexpr int kGranice = 2;

class MatrixE2E : public E2E {
 protected:
  HWND Open() {
    InstallSample();
    client = AttributeClient::Create();
    if (client.RunForm() != S_OK) return nullptr;
    return WaitForDialog(kMainCaption);
  }
  void TearDown() override {
    client.Release();
    E2E::TearDown();
  }
  AttributeClient client{ComPtr<IDispatch>()};
};

// Another program holds the file open and lets others only read it (as a
// map does): the layer reads, the apply writes nothing and says why.
TEST_F(MatrixE2E, DataFileOthersMayOnlyReadIsNotWritten) {
  HWND form = Open();
  ASSERT_TRUE(form);
  const std::string path = packages->DataFile("GRANICE.DAT");
  const auto before = ReadFileBytes(path);
  HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  SelectCombo(form, IDC_COMBO1, kGranice);
  ASSERT_TRUE(WaitFor([&] { return ComboSelection(form, IDC_IMGCOMBOGR) == 4; })) << "reading is still allowed";
  SendMessageW(GetDlgItem(form, IDC_CHKODSWIEZ), BM_SETCHECK, BST_CHECKED, 0);
  SelectCombo(form, IDC_IMGCOMBOGR, 0);
  Click(form, IDC_CMDANULUJ);
  auto box = WaitForMessageBox();
  ASSERT_TRUE(box);
  EXPECT_NE(box->text.find(L"Nie mogę zapisać pliku danych mapy"), std::wstring::npos) << box->text;
  EXPECT_NE(box->text.find(L"Nic nie zostało zapisane"), std::wstring::npos);
  Answer(*box, IDOK);
  CloseHandle(holder);
  EXPECT_EQ(ReadFileBytes(path), before);
}

TEST_F(MatrixE2E, DirectoryInADataFilesPlaceIsReported) {
  InstallSample();
  const std::string path = packages->DataFile("GRANICE.DAT");
  DeleteFileA(path.c_str());
  ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
  client = AttributeClient::Create();
  ASSERT_EQ(client.RunForm(), S_OK);
  HWND form = WaitForDialog(kMainCaption);
  ASSERT_TRUE(form);
  SelectCombo(form, IDC_COMBO1, kGranice);
  auto box = WaitForMessageBox();
  ASSERT_TRUE(box);
  EXPECT_NE(box->text.find(L"GRANICE.DAT"), std::wstring::npos);
  Answer(*box, IDOK);
  EXPECT_TRUE(WaitFor([&] { return ComboSelection(form, IDC_COMBO1) == 0; }));
  RemoveDirectoryA(path.c_str());
}

TEST_F(MatrixE2E, TwoHostsShareOneServerAndTheDialogServesTheLatestObject) {
  HWND form = Open();
  ASSERT_TRUE(form);
  // A second host: a script that creates its own object and waits for the
  // dialog to report its cancel through it.
  const std::string script = packages->ConfigDir() + "drugi.vbs";
  std::ofstream(script) << "Set o = CreateObject(\"Atrybuty.MorvalyClsAttribute\")\r\n"
                           "o.IsChange = True\r\n"
                           "WScript.Echo \"READY\"\r\n"
                           "changed = True\r\n"
                           "i = 0\r\n"
                           "Do While changed And i < 200\r\n"
                           "  changed = o.IsChange\r\n"
                           "  i = i + 1\r\n"
                           "  t = Timer\r\n"  // Wine's WScript.Sleep ends the script
                           "  Do While Timer - t < 0.1 And Timer >= t\r\n"
                           "  Loop\r\n"
                           "Loop\r\n"
                           "If changed Then\r\n"
                           "  WScript.Echo \"STILL-TRUE\"\r\n"
                           "Else\r\n"
                           "  WScript.Echo \"CANCEL-SEEN\"\r\n"
                           "End If\r\n";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, &inherit, 0));
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = si.hStdError = writeEnd;
  PROCESS_INFORMATION pi{};
  std::string line = "cscript.exe //nologo \"" + script + "\"";
  ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi));
  CloseHandle(writeEnd);
  std::string output;
  auto readSome = [&] {
    DWORD available = 0;
    while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available) {
      char buffer[256];
      DWORD got = 0;
      if (!ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) || !got) break;
      output.append(buffer, got);
    }
  };
  ASSERT_TRUE(WaitFor(
      [&] {
        readSome();
        return output.find("READY") != std::string::npos;
      },
      20s))
      << output;
  EXPECT_EQ(ServerProcessCount(), 1) << "one server process serves both hosts";
  EXPECT_TRUE(client.GetBool(L"IsChange") == false);
  Click(form, IDCANCEL);  // IsChange := False through TheAttribute: the script's object
  EXPECT_TRUE(WaitFor(
      [&] {
        readSome();
        return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0;
      },
      30s));
  for (;;) {  // the rest, up to the end of the pipe
    char buffer[256];
    DWORD got = 0;
    if (!ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) || !got) break;
    output.append(buffer, got);
  }
  DWORD exitCode = 0;
  GetExitCodeProcess(pi.hProcess, &exitCode);
  EXPECT_NE(output.find("CANCEL-SEEN"), std::string::npos) << output << " (exit code " << exitCode << ")";
  CloseHandle(readEnd);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
}

}  // namespace
}  // namespace atrybuty::e2e
