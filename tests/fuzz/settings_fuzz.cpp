// "options.cfg" of any content: loading gives a block whose fields are in their
// ranges, and saving it writes it back byte for byte while keeping the tail.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "game/settings.h"

namespace {

std::string path;

std::vector<uint8_t> readAll() {
  std::vector<uint8_t> bytes;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return bytes;
  int c;
  while ((c = std::fgetc(file)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
  std::fclose(file);
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Saving syncs the file to the disk; in memory that costs microseconds, not milliseconds.
  const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm/" : "";
  path = folder + "fuzz-options-" + std::to_string(getpid()) + ".cfg";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  if (size) std::fwrite(data, 1, size, file);
  std::fclose(file);

  Settings settings;
  bool present = loadSettings(settings, path.c_str());
  FUZZ_CHECK(present == (size > 0), "presence of the file");
  FUZZ_CHECK(settings.levelMode <= LevelNovice, "level mode");
  FUZZ_CHECK(settings.levelMode != LevelNovice || settings.levelValue <= 2, "beginner level");
  FUZZ_CHECK(settings.levelMode != LevelRank || settings.levelValue <= 9, "rank level");
  FUZZ_CHECK(settings.isometric <= 1 && settings.skin <= 2, "board style");
  FUZZ_CHECK(settings.language >= 0 && settings.language <= 6, "language");
  FUZZ_CHECK(settings.isometric ? (settings.orientation >= 0 && settings.orientation <= 3) : true, "orientation");

  if (present) {
    FUZZ_CHECK(saveSettings(settings, path.c_str()), "save");
    std::vector<uint8_t> written = readAll();
    uint8_t image[SettingsSize];
    encodeSettings(settings, image);
    FUZZ_CHECK(written.size() == std::max<size_t>(size, SettingsSize), "saved file length");
    FUZZ_CHECK(std::memcmp(written.data(), image, SettingsSize) == 0, "saved block");
    if (size > SettingsSize) {
      FUZZ_CHECK(std::memcmp(written.data() + SettingsSize, data + SettingsSize, size - SettingsSize) == 0,
                 "tail beyond the block changed");
    }
  }
  std::remove(path.c_str());
  return 0;
}
