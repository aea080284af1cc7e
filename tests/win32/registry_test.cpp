// The registry reader against the real registry (under Wine in our runs).

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "win32/config/win_registry.h"

namespace atrybuty::win32 {
namespace {

constexpr char kTestKey[] = "Software\\AtrybutyTests\\Registry";

class RegistryReader : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key_, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(key_);
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
  }
  void Put(const char* name, const std::string& bytesWithNul, DWORD type = REG_SZ) {
    ASSERT_EQ(RegSetValueExA(key_, name, 0, type, reinterpret_cast<const BYTE*>(bytesWithNul.data()),
                             static_cast<DWORD>(bytesWithNul.size())),
              ERROR_SUCCESS);
  }
  std::string Read(const char* name, const char* subKey = kTestKey) {
    return WinRegistry(HKEY_CURRENT_USER).ReadRegValue(subKey, name);
  }
  HKEY key_ = nullptr;
};

TEST_F(RegistryReader, ReadsTextCutByReportedSize) {
  Put("plain", std::string("Polska;Europa") + '\0');
  EXPECT_EQ(Read("plain"), "Polska;Europa");
}

TEST_F(RegistryReader, LongValuesAreReadWhole) {
  const std::string v254(254, 'a'), v255(255, 'b'), v300(300, 'c');
  Put("v254", v254 + '\0');
  Put("v255", v255 + '\0');
  Put("v300", v300 + '\0');
  EXPECT_EQ(Read("v254"), v254);
  EXPECT_EQ(Read("v255"), v255);
  EXPECT_EQ(Read("v300"), v300);
}

TEST_F(RegistryReader, EmbeddedNulIsKept) {
  Put("nul", std::string("ab\0cd", 5) + '\0');
  EXPECT_EQ(Read("nul"), std::string("ab\0cd", 5));
}

TEST_F(RegistryReader, EmptyAndMissingGiveEmptyText) {
  Put("empty", std::string(1, '\0'));
  EXPECT_EQ(Read("empty"), "");
  EXPECT_EQ(Read("missing"), "");
  EXPECT_EQ(Read("plain", "Software\\AtrybutyTests\\NoSuchKey"), "");
}

TEST_F(RegistryReader, PolishTextComesBackInTheAnsiCodePage) {
  Put("pl", std::string("\xA3\xF3"
                        "d\xBC") +
                '\0');  // "Łódź" in code page 1250
  EXPECT_EQ(Read("pl"),
            "\xA3\xF3"
            "d\xBC");
}

}  // namespace
}  // namespace atrybuty::win32
