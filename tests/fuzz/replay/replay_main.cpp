// Runs a fuzz target over files without libFuzzer: the seed corpus and the inputs that
// once crashed, in the normal sanitizer build. Arguments are files or folders of them.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

namespace {

bool Run(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", file.c_str());
    return false;
  }
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int inputs = 0;
  bool ok = true;
  for (int i = 1; i < argc; ++i) {
    const fs::path arg = argv[i];
    if (fs::is_directory(arg)) {
      std::vector<fs::path> files;
      for (const auto& entry : fs::directory_iterator(arg))
        if (entry.is_regular_file() && entry.path().filename() != "README.md") files.push_back(entry.path());
      std::sort(files.begin(), files.end());
      for (const fs::path& f : files) {
        ok = Run(f) && ok;
        ++inputs;
      }
    } else if (fs::exists(arg)) {
      ok = Run(arg) && ok;
      ++inputs;
    }
  }
  std::printf("replayed %d inputs\n", inputs);
  return ok ? 0 : 1;
}
