// Stands in for libFuzzer in builds without it: runs the fuzz target once on every file named on
// the command line and every file in the folders named there, so the committed corpus becomes a
// regression test. A failed check aborts; finding no input at all is an error too.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    if (!fs::is_directory(argv[i])) {
      inputs.emplace_back(argv[i]);
    } else {
      for (const fs::directory_entry& entry : fs::directory_iterator(argv[i]))
        inputs.push_back(entry.path());
    }
  }
  if (inputs.empty()) return 1;  // a replay of nothing would pass without testing anything
  for (const fs::path& path : inputs) {
    std::fprintf(stderr, "%s\n", path.c_str());
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    if (!in) return 1;
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("%zu inputs passed\n", inputs.size());
  return inputs.empty() ? 1 : 0;
}
