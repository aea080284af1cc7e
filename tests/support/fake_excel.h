#pragma once
// A stand-in for Excel's application object: a small scripted workbook model
// that answers late-bound calls by member name and records every call with
// its arguments and their types, one line each:
//   get workbooks(str&:Mapa.xls)    call Open(str&:C:\Mapa.xls)    put WindowState=i2:1
// Arguments: i2, i4, bool, str; "&" marks one passed by reference.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/host/late_bound.h"

namespace atrybuty::testing {

struct FakeOleObject {
  std::string progId;
};

struct FakeSheet {
  std::string name;
  std::vector<FakeOleObject> objects;
};

struct FakeWorkbook {
  std::string name;
  std::string fullName;
  bool saved = true;
  int windows = 1;
  std::vector<FakeSheet> sheets;
  int activeSheet = 0;
};

class FakeExcel {
 public:
  FakeExcel();

  // The model: open workbooks (the last opened is active) and closed ones
  // that Open finds again by path.
  std::vector<FakeWorkbook> open;
  std::vector<FakeWorkbook> closed;
  int active = -1;  // index into `open`, -1 for none

  // Every call, in order.
  std::vector<std::string> log;
  // Makes the call whose log line equals `line` fail (the line is still logged).
  std::string failOn;

  std::shared_ptr<LateBound> Application() { return app_; }
  void AddWorkbook(FakeWorkbook book);

  // Internal: record a call and say whether it fails.
  bool Record(const std::string& line);

 private:
  std::shared_ptr<LateBound> app_;
};

std::string Describe(const Arg& arg);

}  // namespace atrybuty::testing
