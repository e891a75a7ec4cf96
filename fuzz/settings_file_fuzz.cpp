// The settings file: whatever bytes Lumadex.ini holds, loading keeps every byte of every line
// and saving writes them back; a value written under a key comes back byte for byte after a
// save and a load, for any value a line can hold (anything but a CR: lines end at CR, CRLF or
// the end of the file, so a bare LF, which a ciphered value may hold, stays in its line).
//
// Input: the file's bytes, NUL, a key, NUL, a value. Without NULs the whole input is the file.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <system_error>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_support.h"
#include "services/file_cfg.h"

using namespace lumadex;
namespace fs = std::filesystem;

namespace {

// The files of one input, named after the process so that parallel runs never share them, and
// removed when the input is done: libFuzzer ends a run without calling exit handlers. In memory
// where there is /dev/shm: saving flushes the file to the disk, which would make every run wait.
struct WorkFiles {
  fs::path in;
  fs::path out;

  WorkFiles() {
    const char* tmp = std::getenv("TMPDIR");
    std::error_code error;
    const fs::path base = tmp && *tmp ? tmp : fs::is_directory("/dev/shm", error) ? "/dev/shm" : "/tmp";
    const std::string stem = "lumadex-fuzz-cfg-" + std::to_string(::getpid());
    in = base / (stem + "-in.ini");
    out = base / (stem + "-Lumadex.ini");
  }
  ~WorkFiles() {
    std::error_code ignored;
    fs::remove(in, ignored);
    fs::remove(out, ignored);
  }
};

void WriteBytes(const fs::path& name, std::string_view bytes) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) fuzz::Fail(__FILE__, __LINE__, "cannot write the input file");
}

std::string ReadBytes(const fs::path& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The file's text with every line end (CR or CRLF) made one CR, and the last one dropped: what
// the lines hold, joined by the one byte no line can hold.
std::string TextOfLines(std::string_view file) {
  std::string text;
  for (size_t i = 0; i < file.size(); ++i) {
    text.push_back(file[i]);
    if (file[i] == '\r' && i + 1 < file.size() && file[i + 1] == '\n') ++i;
  }
  if (!text.empty() && text.back() == '\r') text.pop_back();
  return text;
}

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text.push_back('\r');
    text += lines[i];
  }
  return text;
}

// A key as callers give it: lower case, no space, no line end.
std::string UsableKey(std::string_view bytes) {
  std::string key(bytes.empty() ? std::string_view("1") : bytes.substr(0, 32));
  for (char& c : key) {
    if (c == ' ' || c == '\r' || c == '\n') c = '_';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto fields = fuzz::Fields(fuzz::Bytes(data, size), 3);
  const std::string_view file = fields[0];
  const WorkFiles files;
  const fs::path& in = files.in;
  const fs::path& out = files.out;

  WriteBytes(in, file);
  FileCFG cfg;
  const std::vector<std::string> lines = cfg.LoadFile(in);
  FUZZ_CHECK(cfg.IsLoaded());
  FUZZ_CHECK(lines == cfg.Lines());
  FUZZ_CHECK(lines.empty() == file.empty());
  for (const std::string& line : lines) FUZZ_CHECK(line.find('\r') == std::string::npos);
  FUZZ_CHECK(Join(lines) == TextOfLines(file));

  // Reading any key of the file finds a value that is the end of one of its lines.
  for (const std::string& line : lines) {
    const size_t space = line.find(' ');
    if (space == std::string::npos) continue;
    const std::string value = cfg.ReadValue(UsableKey(line.substr(0, space)));
    FUZZ_CHECK(Join(lines).find(value) != std::string::npos);
  }

  cfg.SaveFile(out);
  FileCFG reread;
  reread.LoadFile(out);
  FUZZ_CHECK(reread.Lines() == lines);

  if (fields[1].empty() && fields[2].empty()) return 0;
  // A value as the file format can hold it: a CR would start another line.
  std::string value(fields[2]);
  for (char& c : value) {
    if (c == '\r') c = ' ';
  }
  const std::string key = UsableKey(fields[1]);
  // The caller sees to it that the key has a line, as the main window's default file does.
  WriteBytes(in, std::string(file) + "\r\n" + key + " old value\r\n");
  FileCFG settings;
  settings.LoadFile(in);
  const size_t lineCount = settings.Lines().size();
  settings.WriteValue(value, key);
  FUZZ_CHECK(settings.Lines().size() == lineCount);
  FUZZ_CHECK(settings.ReadValue(key) == value);
  FUZZ_CHECK(settings.Lines().back() == key + " " + value);
  settings.SaveFile(out);
  FUZZ_CHECK(ReadBytes(out).ends_with(key + " " + value + "\r\n"));

  FileCFG loaded;
  loaded.LoadFile(out);
  FUZZ_CHECK(loaded.Lines() == settings.Lines());
  FUZZ_CHECK(loaded.ReadValue(key) == value);
  return 0;
}
