// The end-to-end test host: drives the real server through COM and real
// window messages, on the single-threaded apartment a VBA host has.

#include <gtest/gtest.h>

#include <objbase.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
