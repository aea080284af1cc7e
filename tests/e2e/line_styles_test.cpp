// LineStyles from a host's side, late-bound as a script calls it and through
// the type library as early-bound VBA does, with no window ever appearing.

#include "atrybuty_h.h"
#include "core/config/file_bytes.h"
#include "e2e/e2e_fixture.h"
#include "win32/com/error_info.h"
#include "win32/resources/resource.h"

namespace atrybuty::e2e {
namespace {

using win32::Variant;

constexpr std::uint32_t kGraniceBase = 0x10000;

class LineStylesE2E : public E2E {
 protected:
  void SetUp() override {
    E2E::SetUp();
    InstallSample();
    CLSID clsid;
    ASSERT_EQ(CLSIDFromProgID(L"Atrybuty.LineStyles", &clsid), S_OK);
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, styles.ReceiveVoid()), S_OK);
  }
  void TearDown() override {
    EXPECT_FALSE(FindDialogStartingWith(L"Zmiana atrybutów linii")) << "the class never shows a window";
    EXPECT_FALSE(OpenMessageBox());
    styles.Reset();
    E2E::TearDown();
  }
  // object.member(args), expecting an object back.
  ComPtr<IDispatch> Object(IDispatch* object, const wchar_t* member, std::vector<Variant> args = {}) {
    Variant result;
    EXPECT_EQ(LateInvoke(object, member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, result.Get()), S_OK) << member;
    return V_VT(result.Get()) == VT_DISPATCH ? ComPtr<IDispatch>::Share(V_DISPATCH(result.Get())) : ComPtr<IDispatch>();
  }
  long Long(IDispatch* object, const wchar_t* member) {
    std::vector<Variant> none;
    Variant result;
    EXPECT_EQ(LateInvoke(object, member, DISPATCH_PROPERTYGET, none, result.Get()), S_OK) << member;
    Variant asLong;
    VariantChangeType(asLong.Get(), result.Get(), 0, VT_I4);
    return V_I4(asLong.Get());
  }
  std::wstring String(IDispatch* object, const wchar_t* member) {
    std::vector<Variant> none;
    Variant result;
    EXPECT_EQ(LateInvoke(object, member, DISPATCH_PROPERTYGET, none, result.Get()), S_OK) << member;
    return V_VT(result.Get()) == VT_BSTR && V_BSTR(result.Get()) ? V_BSTR(result.Get()) : L"";
  }
  // For Each over a collection.
  std::vector<ComPtr<IDispatch>> Each(IDispatch* collection) {
    std::vector<Variant> none;
    Variant enumerator;
    EXPECT_EQ(LateInvoke(collection, L"_NewEnum", DISPATCH_PROPERTYGET, none, enumerator.Get()), S_OK);
    ComPtr<IEnumVARIANT> items;
    if (V_VT(enumerator.Get()) == VT_UNKNOWN && V_UNKNOWN(enumerator.Get()))
      V_UNKNOWN(enumerator.Get())->QueryInterface(IID_IEnumVARIANT, items.ReceiveVoid());
    std::vector<ComPtr<IDispatch>> out;
    for (Variant item; items && items->Next(1, item.Receive(), nullptr) == S_OK;) {
      out.push_back(ComPtr<IDispatch>::Share(V_DISPATCH(item.Get())));
    }
    return out;
  }
  std::vector<std::uint8_t> Granice() { return ReadFileBytes(packages->DataFile("GRANICE.DAT")).value_or(std::vector<std::uint8_t>{}); }
  ComPtr<ILayer> EarlyLayer(const wchar_t* name) {
    ComPtr<ILineStyles> early = ComPtr<IDispatch>::Share(styles.Get()).As<ILineStyles>(IID_ILineStyles);
    ComPtr<ILayer> layer;
    win32::Bstr package(L"Polska"), layerName(name);
    EXPECT_TRUE(early) << "the vtable interface is marshalled through the type library";
    if (early) { EXPECT_EQ(early->Layer(package.Get(), layerName.Get(), layer.Receive()), S_OK); }
    return layer;
  }

  ComPtr<IDispatch> styles;
};

TEST_F(LineStylesE2E, ListsThePackagesAndReadsEveryLayerOfTheSample) {
  const ComPtr<IDispatch> packageList = Object(styles.Get(), L"Packages");
  ASSERT_TRUE(packageList);
  EXPECT_EQ(Long(packageList.Get(), L"Count"), 1);
  const ComPtr<IDispatch> polska = Object(packageList.Get(), L"Item", [] {
    std::vector<Variant> a;
    a.push_back(Text(L"Polska"));
    return a;
  }());
  ASSERT_TRUE(polska);
  const ComPtr<IDispatch> layers = Object(polska.Get(), L"Layers");
  const auto all = Each(layers.Get());
  const auto sample = samples::BundledSample();
  ASSERT_EQ(all.size(), sample.layers.size());
  for (std::size_t i = 0; i < all.size(); ++i) {
    const samples::SampleLayer& expected = sample.layers[i];
    SCOPED_TRACE(expected.fileName);
    EXPECT_EQ(Long(all[i].Get(), L"Number"), static_cast<long>(i + 1));
    EXPECT_EQ(String(all[i].Get(), L"DataFile"), std::wstring(expected.fileName.begin(), expected.fileName.end()));
    std::vector<Variant> none;
    Variant style;
    std::wstring why;
    const HRESULT hr = LateInvoke(all[i].Get(), L"LineStyle", DISPATCH_PROPERTYGET, none, style.Get(), &why);
    if (expected.fileName == "GAZ.DAT") {  // too short for the record it points at
      EXPECT_EQ(hr, win32::kDataFileUnreadable);
      EXPECT_NE(why.find(L"za krótki"), std::wstring::npos) << why;
      continue;
    }
    ASSERT_EQ(hr, S_OK);
    IDispatch* s = V_DISPATCH(style.Get());
    const bool has = expected.base != 0;
    EXPECT_EQ(Long(s, L"HasRecord") != 0, has);
    EXPECT_EQ(Long(s, L"Thickness"), has ? expected.style.thickness : 0);
    EXPECT_EQ(Long(s, L"Style"), has ? expected.style.style : 0);
    EXPECT_EQ(Long(s, L"Color"), has ? static_cast<long>(ColourValue(expected.style.colour)) : 0);
  }
  EXPECT_EQ(String(all[2].Get(), L"Name"), L"Granice województw");
}

// Through the type library: a write lands byte for byte and is journaled; a
// refused one changes nothing.
TEST_F(LineStylesE2E, WritesLandByteForByteAndRefusalsChangeNothing) {
  const ComPtr<ILayer> granice = EarlyLayer(L"Granice województw");
  ASSERT_TRUE(granice);
  const auto before = Granice();
  const long changesBefore = Long(Object(styles.Get(), L"Changes").Get(), L"Count");
  Variant thickness = Number(6), missing = Missing(), colour = Number(0x563412);
  ASSERT_EQ(granice->SetLineStyle(*thickness.Get(), *missing.Get(), *colour.Get()), S_OK);
  auto expected = before;
  expected[kGraniceBase + 13] = 6;
  expected[kGraniceBase + 16] = 0x12;
  expected[kGraniceBase + 17] = 0x34;
  expected[kGraniceBase + 18] = 0x56;
  EXPECT_EQ(Granice(), expected) << "the style byte and every other byte stay";
  EXPECT_EQ(Long(Object(styles.Get(), L"Changes").Get(), L"Count"), changesBefore + 1);

  Variant tooThick = Number(8);
  EXPECT_EQ(granice->SetLineStyle(*tooThick.Get(), *missing.Get(), *missing.Get()), win32::kValueOutOfRange);
  const ComPtr<ILayer> rowery = EarlyLayer(L"Ścieżki rowerowe");
  ASSERT_TRUE(rowery);
  EXPECT_EQ(rowery->SetLineStyle(*thickness.Get(), *missing.Get(), *missing.Get()), win32::kNoRecord);
  HANDLE holder = CreateFileA(packages->DataFile("GRANICE.DAT").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  Variant thin = Number(1);
  EXPECT_EQ(granice->SetLineStyle(*thin.Get(), *missing.Get(), *missing.Get()), win32::kDataFileNotWritable);
  CloseHandle(holder);
  EXPECT_EQ(Granice(), expected);
}

TEST_F(LineStylesE2E, ExportAndImportRestoreAPackageAndABrokenFileWritesNothing) {
  const std::wstring file = std::wstring(L"C:\\AtrybutyTest\\polska-style.txt");
  std::vector<Variant> exportArgs;
  exportArgs.push_back(Text(L"Polska"));
  exportArgs.push_back(Text(file));
  ASSERT_EQ(LateInvoke(styles.Get(), L"Export", DISPATCH_METHOD, exportArgs), S_OK);
  const auto before = Granice();
  const ComPtr<ILayer> granice = EarlyLayer(L"Granice województw");
  Variant thickness = Number(2), style = Number(9), missing = Missing();
  ASSERT_EQ(granice->SetLineStyle(*thickness.Get(), *style.Get(), *missing.Get()), S_OK);
  ASSERT_NE(Granice(), before);

  std::vector<Variant> importArgs;
  importArgs.push_back(Text(file));
  Variant results;
  ASSERT_EQ(LateInvoke(styles.Get(), L"Import", DISPATCH_METHOD, importArgs, results.Get()), S_OK);
  EXPECT_EQ(Granice(), before) << "restored exactly";
  std::vector<Variant> byName;
  byName.push_back(Text(L"Granice województw"));
  const ComPtr<IDispatch> granicaResult = Object(V_DISPATCH(results.Get()), L"Item", std::move(byName));
  EXPECT_EQ(Long(granicaResult.Get(), L"Result"), atrImportChanged);

  const std::string broken = packages->ConfigDir() + "zly-styl.txt";
  const std::string text = "Atrybuty: style linii, wersja 1\r\nPakiet\tPolska\r\nWarstwa\tPlik danych\tGrubość\tStyl\tKolor\r\n"
                           "Granice województw\tGRANICE.DAT\t7\t7\t#000000\r\nRzeki\tRZEKI.DAT\t300\t1\t#000000\r\n";
  WriteFileBytes(broken, std::vector<std::uint8_t>(text.begin(), text.end()));
  std::vector<Variant> brokenArgs;
  brokenArgs.push_back(Text(std::wstring(broken.begin(), broken.end())));
  std::wstring why;
  EXPECT_EQ(LateInvoke(styles.Get(), L"Import", DISPATCH_METHOD, brokenArgs, nullptr, &why), win32::kImportFileInvalid);
  EXPECT_NE(why.find(L"wiersz 5"), std::wstring::npos) << why;
  EXPECT_EQ(Granice(), before) << "not even the valid line before the broken one is written";
}

TEST_F(LineStylesE2E, UndoThroughTheClass) {
  const auto before = Granice();
  const ComPtr<ILayer> granice = EarlyLayer(L"Granice województw");
  Variant thickness = Number(7), missing = Missing();
  ASSERT_EQ(granice->SetLineStyle(*thickness.Get(), *missing.Get(), *missing.Get()), S_OK);
  const ComPtr<IDispatch> changes = Object(styles.Get(), L"Changes");
  const long count = Long(changes.Get(), L"Count");
  std::vector<Variant> last;
  last.push_back(Number(count));
  const ComPtr<IDispatch> change = Object(changes.Get(), L"Item", std::move(last));
  EXPECT_EQ(String(change.Get(), L"Layer"), L"Granice województw");
  std::vector<Variant> none;
  {
    // Without Program Files the map data folder is unknown: no file is touched.
    const char* key = "Software\\Microsoft\\Windows\\CurrentVersion";
    const std::string programFiles = ReadMachineText(key, "ProgramFilesDir");
    DeleteMachineValue(key, "ProgramFilesDir");
    const HRESULT refused = LateInvoke(change.Get(), L"Undo", DISPATCH_METHOD, none);
    WriteMachineText(key, "ProgramFilesDir", programFiles);
    EXPECT_EQ(refused, win32::kDataFileUnreadable);
    EXPECT_NE(Granice(), before);
  }
  ASSERT_EQ(LateInvoke(change.Get(), L"Undo", DISPATCH_METHOD, none), S_OK);
  EXPECT_EQ(Granice(), before);
  EXPECT_EQ(LateInvoke(change.Get(), L"Undo", DISPATCH_METHOD, none), S_OK) << "undone already: nothing to do";

  // Two changes, then every change since before them.
  Variant since;
  V_VT(since.Get()) = VT_DATE;
  SYSTEMTIME now;
  GetLocalTime(&now);
  SystemTimeToVariantTime(&now, &V_DATE(since.Get()));
  V_DATE(since.Get()) -= 1.0 / 86400;  // a second ago: journal times have whole seconds
  Variant two = Number(2), three = Number(3);
  ASSERT_EQ(granice->SetLineStyle(*two.Get(), *missing.Get(), *missing.Get()), S_OK);
  ASSERT_EQ(granice->SetLineStyle(*three.Get(), *missing.Get(), *missing.Get()), S_OK);
  std::vector<Variant> sinceArgs;
  sinceArgs.push_back(std::move(since));
  Variant undone;
  ASSERT_EQ(LateInvoke(styles.Get(), L"UndoSince", DISPATCH_METHOD, sinceArgs, undone.Get()), S_OK);
  EXPECT_GE(V_I4(undone.Get()), 2);
  EXPECT_EQ(Granice(), before);
}

// The dialog open for one host while another uses LineStyles: both write,
// and the class leaves the dialog and IsChange alone.
TEST_F(LineStylesE2E, TwoHostsUseBothClassesWithTheDialogOpen) {
  AttributeClient dialogHost = AttributeClient::Create();
  ASSERT_EQ(dialogHost.RunForm(), S_OK);
  HWND form = WaitForDialog(kMainCaption);
  ASSERT_TRUE(form);
  auto other = std::async(std::launch::async, [] {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HRESULT hr = E_FAIL;
    {
      ComPtr<IDispatch> object;
      CLSID clsid;
      CLSIDFromProgID(L"Atrybuty.LineStyles", &clsid);
      if (SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, object.ReceiveVoid()))) {
        std::vector<Variant> args;
        args.push_back(Text(L"Polska"));
        args.push_back(Text(L"Rzeki"));
        Variant layer;
        hr = LateInvoke(object.Get(), L"Layer", DISPATCH_METHOD, args, layer.Get());
        if (SUCCEEDED(hr)) {
          std::vector<Variant> set;
          set.push_back(Number(4));
          hr = LateInvoke(V_DISPATCH(layer.Get()), L"SetLineStyle", DISPATCH_METHOD, set);
        }
      }
    }
    CoUninitialize();
    return hr;
  });
  ASSERT_EQ(other.wait_for(20s), std::future_status::ready);
  EXPECT_EQ(other.get(), S_OK);
  EXPECT_EQ(ReadFileBytes(packages->DataFile("RZEKI.DAT")).value()[0x8000 + 13], 4);
  EXPECT_EQ(ServerProcessCount(), 1) << "one server serves both";
  EXPECT_FALSE(dialogHost.GetBool(L"IsChange")) << "the class leaves IsChange alone";

  SelectCombo(form, IDC_COMBO1, 2);
  ASSERT_TRUE(WaitFor([&] { return ComboSelection(form, IDC_IMGCOMBOGR) == 4; }));
  SendMessageW(GetDlgItem(form, IDC_CHKODSWIEZ), BM_SETCHECK, BST_CHECKED, 0);
  SelectCombo(form, IDC_IMGCOMBOGR, 0);
  Click(form, IDC_CMDANULUJ);
  auto box = WaitForMessageBox();
  ASSERT_TRUE(box);
  Answer(*box, IDOK);
  EXPECT_EQ(Granice()[kGraniceBase + 13], 1) << "the dialog's apply lands too";
  EXPECT_TRUE(dialogHost.GetBool(L"IsChange"));
  Click(form, IDCANCEL);
  EXPECT_TRUE(WaitGone(form));
}

}  // namespace
}  // namespace atrybuty::e2e
