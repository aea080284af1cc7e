// Writes the bundled sample package, or a large package for benchmarks:
//   make-sample-package OUTDIR [--layers N]
// OUTDIR/config/<name>.cfg (scrambled) and .ini (clear), OUTDIR/data/*.DAT.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "samples/sample_package.h"

int main(int argc, char** argv) {
  using namespace atrybuty::samples;
  if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--layers")) {
    std::fprintf(stderr, "usage: make-sample-package OUTDIR [--layers N]\n");
    return 2;
  }
  const std::filesystem::path out = argv[1];
  const SamplePackage package = argc == 4 ? LargePackage(std::atoi(argv[3])) : BundledSample();
  std::error_code ec;
  std::filesystem::create_directories(out / "config", ec);
  std::filesystem::create_directories(out / "data", ec);
  const auto written = WritePackage(package, (out / "config").string() + "/", (out / "data").string() + "/",
                                    argc == 4 ? "wielka" : "polska");
  if (!written) {
    std::fprintf(stderr, "make-sample-package: cannot write into %s\n", argv[1]);
    return 1;
  }
  std::printf("%s\n", written->c_str());
  return 0;
}
