#pragma once
// Each end-to-end test starts with no package installed and no server
// running, and ends with every dialog closed and the server gone.

#include <gtest/gtest.h>

#include <memory>

#include "e2e/excel_standin.h"
#include "e2e/packages.h"
#include "e2e/server_client.h"
#include "e2e/ui_driver.h"
#include "support/fake_excel.h"

namespace atrybuty::e2e {

inline const std::wstring kMainCaption = L"Zmiana atrybutów linii - Polska";
inline const std::wstring kPackageCaption = L"Wybór mapy";
inline const std::wstring kConfigMessage =
    L"Nie mogę zlikalizować pliku konfiguracji. Pakiet nie został poprawnie zainstalowany. Skontaktuj się z "
    L"dostawcą oprogramowania.";

class E2E : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The sample package installed as "Polska" and listed alone.
  void InstallSample();
  // An Excel stand-in with the test's workbook model.
  IDispatch* Excel();

  std::unique_ptr<Packages> packages = std::make_unique<Packages>();
  testing::FakeExcel excel;
  std::shared_ptr<StandInControl> excelControl = std::make_shared<StandInControl>();

 private:
  ComPtr<IDispatch> excelDispatch_;
};

}  // namespace atrybuty::e2e
