#include "services/file_cfg.h"
#include "services/mod_crypt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace lumadex {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using namespace std::string_literals;

bool NoLeadBytes(unsigned char) { return false; }

// Each test works in a folder of its own, removed afterwards.
class FileCfgTest : public testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    folder_ = fs::temp_directory_path() / ("lumadex-cfg-" + std::to_string(random()) + std::to_string(random()));
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(folder_, ignored);
  }

  fs::path Write(const std::string& name, std::string_view bytes) {
    const fs::path path = folder_ / name;
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  static std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::vector<fs::path> FolderContents() const {
    std::vector<fs::path> names;
    for (const auto& entry : fs::directory_iterator(folder_)) names.push_back(entry.path().filename());
    return names;
  }
  FileCFG Loaded(std::string_view bytes) {
    FileCFG cfg;
    cfg.LoadFile(Write("settings.cfg", bytes));
    return cfg;
  }

  fs::path folder_;
};

TEST_F(FileCfgTest, ReadsValuesAfterTheFirstSpace) {
  FileCFG cfg = Loaded("1 abc\r\n2 \r\n3 F\r\n");
  EXPECT_EQ(cfg.ReadValue("1"), "abc");
  EXPECT_EQ(cfg.ReadValue("2"), "");
  EXPECT_EQ(cfg.ReadValue("3"), "F");
  EXPECT_EQ(cfg.ReadValue("4"), "");
  EXPECT_EQ(cfg.Lines(), (Lines{"1 abc", "2 ", "3 F"}));

  FileCFG spaced = Loaded("path C:\\My Photos\\ 2008 \r\nk  two spaces\r\n");
  EXPECT_EQ(spaced.ReadValue("path"), "C:\\My Photos\\ 2008 ");
  EXPECT_EQ(spaced.ReadValue("k"), " two spaces");
}

TEST_F(FileCfgTest, KeysInTheFileAreLowerCasedBeforeComparing) {
  FileCFG cfg = Loaded("Key Value\r\nMODE 2\r\n");
  EXPECT_EQ(cfg.ReadValue("key"), "Value");
  EXPECT_EQ(cfg.ReadValue("Key"), "");
  EXPECT_EQ(cfg.ReadValue("mode"), "2");
  cfg.WriteValue("3", "mode");
  // The key keeps the spelling of the file.
  EXPECT_EQ(cfg.Lines(), (Lines{"Key Value", "MODE 3"}));
}

TEST_F(FileCfgTest, LinesWithoutASpaceHaveNoKey) {
  FileCFG cfg = Loaded("3\r\nplain\r\n3 x\r\n");
  EXPECT_EQ(cfg.ReadValue("3"), "x");
  EXPECT_EQ(cfg.ReadValue("plain"), "");
  cfg.WriteValue("y", "3");
  cfg.WriteValue("z", "plain");
  EXPECT_EQ(cfg.Lines(), (Lines{"3", "plain", "3 y"}));
}

TEST_F(FileCfgTest, WriteValueChangesOnlyTheMatchingLines) {
  FileCFG cfg = Loaded("1 abc\r\n2 \r\n3 F\r\n");
  cfg.WriteValue("T", "3");
  EXPECT_EQ(cfg.Lines(), (Lines{"1 abc", "2 ", "3 T"}));
  cfg.WriteValue("with spaces ", "2");
  cfg.WriteValue("", "1");
  EXPECT_EQ(cfg.Lines(), (Lines{"1 ", "2 with spaces ", "3 T"}));
  EXPECT_EQ(cfg.ReadValue("2"), "with spaces ");

  const Lines before = cfg.Lines();
  cfg.WriteValue("new", "4");
  cfg.WriteValue("new", "");
  cfg.WriteValue("new", "3 T");  // a key never holds a space
  EXPECT_EQ(cfg.Lines(), before);
}

TEST_F(FileCfgTest, DuplicateKeysReadTheLastAndWriteAll) {
  FileCFG cfg = Loaded("a first\r\nb other\r\nA second\r\n");
  EXPECT_EQ(cfg.ReadValue("a"), "second");
  cfg.WriteValue("both", "a");
  EXPECT_EQ(cfg.Lines(), (Lines{"a both", "b other", "A both"}));
}

TEST_F(FileCfgTest, DoubleByteKeysKeepTheirSecondByte) {
  // B0 41 is one character whose second byte is "A": lower-casing it would make another one.
  FileCFG cfg = Loaded("\xb0\x41Z 1\r\n\xb0\x61z 2\r\n");
  EXPECT_EQ(cfg.ReadValue("\xb0\x41z"), "1");
  EXPECT_EQ(cfg.ReadValue("\xb0\x61z"), "2");
  cfg.WriteValue("9", "\xb0\x41z");
  EXPECT_EQ(cfg.Lines(), (Lines{"\xb0\x41Z 9", "\xb0\x61z 2"}));

  // With a code page without double-byte characters the same bytes are two letters.
  FileCFG single(NoLeadBytes);
  single.LoadFile(Write("single.cfg", "\xb0\x41Z 1\r\n"));
  EXPECT_EQ(single.ReadValue("\xb0\x61z"), "1");
}

TEST_F(FileCfgTest, LinesEndAtCrCrLfOrTheEndOfTheFile) {
  EXPECT_EQ(Loaded("a 1\rb 2\r\nc 3").Lines(), (Lines{"a 1", "b 2", "c 3"}));
  // A lone LF is a byte of its line; LF CR ends the line after the LF, CR CR makes an empty line,
  // and a file ending in a line end has no empty last line.
  EXPECT_EQ(Loaded("a 1\nb 2\r\nc\n").Lines(), (Lines{"a 1\nb 2", "c\n"}));
  EXPECT_EQ(Loaded("a\n\rb\r\r").Lines(), (Lines{"a\n", "b", ""}));
  EXPECT_EQ(Loaded("\r\n").Lines(), (Lines{""}));
  EXPECT_EQ(Loaded("\n").Lines(), (Lines{"\n"}));
  EXPECT_EQ(Loaded("x 1\r\n\r\ny 2\n").Lines(), (Lines{"x 1", "", "y 2\n"}));
}

// The cipher turns characters into codes near 10 too; such a remembered detail must come back.
TEST_F(FileCfgTest, CipheredValueWithALineFeedSurvivesSaveAndLoad) {
  const std::string plain = "a\x16" "demo@example.com";
  const std::string cipher = Encipher(plain, "tesvolamir");
  ASSERT_NE(cipher.find('\n'), std::string::npos);
  const fs::path path = Write("Lumadex.ini", "1 \r\n2 \r\n3 F\r\n");
  FileCFG cfg;
  cfg.LoadFile(path);
  cfg.WriteValue(cipher, "1");
  cfg.WriteValue("T", "3");
  cfg.SaveFile(path);

  FileCFG again;
  EXPECT_EQ(again.LoadFile(path).size(), 3u);
  EXPECT_EQ(again.ReadValue("1"), cipher);
  EXPECT_EQ(again.ReadValue("2"), "");
  EXPECT_EQ(again.ReadValue("3"), "T");
  EXPECT_EQ(Decipher(again.ReadValue("1"), "tesvolamir"), plain);
}

TEST_F(FileCfgTest, LoadReplacesTheLinesExceptFromAnEmptyFile) {
  FileCFG cfg;
  EXPECT_FALSE(cfg.IsLoaded());
  EXPECT_EQ(cfg.LoadFile(Write("one.cfg", "a 1\r\nb 2\r\n")), (Lines{"a 1", "b 2"}));
  EXPECT_EQ(cfg.LoadFile(Write("two.cfg", "c 3")), (Lines{"c 3"}));
  EXPECT_EQ(cfg.LoadFile(Write("empty.cfg", "")), (Lines{"c 3"}));
  EXPECT_EQ(cfg.Lines(), (Lines{"c 3"}));

  FileCFG fresh;
  EXPECT_TRUE(fresh.LoadFile(Write("empty.cfg", "")).empty());
  EXPECT_TRUE(fresh.IsLoaded());
  EXPECT_EQ(fresh.ReadValue("a"), "");
}

TEST_F(FileCfgTest, NothingCanBeReadOrWrittenBeforeALoad) {
  FileCFG cfg;
  EXPECT_THROW(cfg.ReadValue("a"), FileCfgError);
  EXPECT_THROW(cfg.WriteValue("1", "a"), FileCfgError);
  EXPECT_THROW(cfg.LoadFile(folder_ / "missing.cfg"), FileCfgError);
  EXPECT_FALSE(cfg.IsLoaded());
  EXPECT_THROW(cfg.ReadValue("a"), FileCfgError);
}

TEST_F(FileCfgTest, FailedLoadLeavesTheLinesAsTheyWere) {
  FileCFG cfg = Loaded("a 1\r\n");
  EXPECT_THROW(cfg.LoadFile(folder_), FileCfgError);
  EXPECT_THROW(cfg.LoadFile(folder_ / "missing.cfg"), FileCfgError);
  EXPECT_TRUE(cfg.IsLoaded());
  EXPECT_EQ(cfg.Lines(), (Lines{"a 1"}));

  FileCFG fresh;
  EXPECT_THROW(fresh.LoadFile(folder_), FileCfgError);
  EXPECT_FALSE(fresh.IsLoaded());
}

TEST_F(FileCfgTest, SaveWritesCrLfAndLoadsBackTheSameLines) {
  const std::string text = "user \x72\x59\x80\x64 x\r\nplain\r\n\r\n\xcf\xe0\xb2\xe1 \xd0\xa3\r\nnul a\0b\r\n"s;
  const fs::path path = Write("settings.cfg", text);
  FileCFG cfg;
  const Lines lines = cfg.LoadFile(path);
  cfg.SaveFile(path);
  EXPECT_EQ(Read(path), text);
  FileCFG again;
  EXPECT_EQ(again.LoadFile(path), lines);

  // A lone CR is written back as CRLF, a lone LF stays inside its line, and a missing last
  // line end is added.
  cfg.LoadFile(Write("mixed.cfg", "a 1\nb 2\rc 3"));
  cfg.SaveFile(folder_ / "out.cfg");
  EXPECT_EQ(Read(folder_ / "out.cfg"), "a 1\nb 2\r\nc 3\r\n");
}

TEST_F(FileCfgTest, SaveReplacesTheFileAndLeavesNothingElse) {
  const fs::path path = Write("settings.cfg", "mode 1\r\nsomething long that will go away\r\n");
  FileCFG cfg;
  cfg.LoadFile(Write("source.cfg", "mode 2\r\n"));
  cfg.SaveFile(path);
  EXPECT_EQ(Read(path), "mode 2\r\n");
  std::vector<fs::path> contents = FolderContents();
  std::sort(contents.begin(), contents.end());
  EXPECT_EQ(contents, (std::vector<fs::path>{"settings.cfg", "source.cfg"}));
}

TEST_F(FileCfgTest, FailedSaveThrowsAndLeavesNoFileBehind) {
  FileCFG cfg = Loaded("a 1\r\n");
  EXPECT_THROW(cfg.SaveFile(folder_ / "no such folder" / "settings.cfg"), FileCfgError);
  EXPECT_FALSE(fs::exists(folder_ / "no such folder"));

  // A folder in the file's place cannot be replaced; the new file must not stay beside it.
  fs::create_directory(folder_ / "taken.cfg");
  EXPECT_THROW(cfg.SaveFile(folder_ / "taken.cfg"), FileCfgError);
  EXPECT_TRUE(fs::is_directory(folder_ / "taken.cfg"));
  std::vector<fs::path> contents = FolderContents();
  std::sort(contents.begin(), contents.end());
  EXPECT_EQ(contents, (std::vector<fs::path>{"settings.cfg", "taken.cfg"}));
}

TEST_F(FileCfgTest, FailedSaveLeavesTheOldFileWhole) {
  // The new file is written under a longer name beside the old one; a name already at the
  // length limit of the file system leaves no room for it, so the write fails.
  const std::string longName = std::string(250, 'n') + ".cfg";
  std::error_code error;
  const fs::path path = Write(longName, "mode 1\r\n");
  if (!fs::exists(path, error)) GTEST_SKIP() << "the file system does not take 254-character names";
  FileCFG cfg = Loaded("mode 2\r\n");
  EXPECT_THROW(cfg.SaveFile(path), FileCfgError);
  EXPECT_EQ(Read(path), "mode 1\r\n");
  EXPECT_EQ(FolderContents().size(), 2u);
}

TEST_F(FileCfgTest, FailedSaveInAReadOnlyFolderLeavesTheOldFileWhole) {
  const fs::path path = Write("settings.cfg", "mode 1\r\n");
  fs::permissions(folder_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  if (std::ofstream(folder_ / "probe")) GTEST_SKIP() << "the folder stays writable (administrator?)";
  FileCFG cfg = Loaded("mode 2\r\n");
  EXPECT_THROW(cfg.SaveFile(path), FileCfgError);
  EXPECT_EQ(Read(path), "mode 1\r\n");
}

TEST_F(FileCfgTest, ReadOnlyFileIsNotReplaced) {
  const fs::path path = Write("kept.cfg", "mode 1\r\n");
  fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  FileCFG cfg = Loaded("mode 2\r\n");
  EXPECT_THROW(cfg.SaveFile(path), FileCfgError);
  fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(Read(path), "mode 1\r\n");
  EXPECT_EQ(FolderContents().size(), 2u);
}

TEST_F(FileCfgTest, LoadsAnyBytesWithoutHarm) {
  std::string garbage(256 * 1024, '\0');
  std::mt19937 random(7);
  for (char& c : garbage) c = static_cast<char>(random());
  // Some lines with a key the look-ups below find, the last of them with a lone LF in its value.
  garbage.replace(1000, 6, "\ra one");
  garbage.replace(90000, 8, "\rA t\nw\ro");
  garbage[garbage.size() - 1] = 'x';

  // The lines as a reader of the file format sees them: cut at CR, a CRLF counting as one end.
  Lines expected(1);
  for (size_t i = 0; i < garbage.size(); ++i) {
    if (garbage[i] != '\r') {
      expected.back() += garbage[i];
    } else {
      if (i + 1 < garbage.size() && garbage[i + 1] == '\n') ++i;
      if (i + 1 < garbage.size()) expected.emplace_back();
    }
  }
  FileCFG cfg;
  EXPECT_EQ(cfg.LoadFile(Write("garbage.cfg", garbage)), expected);
  EXPECT_EQ(cfg.ReadValue("a"), "t\nw");

  // Saved, it is those lines each ended by CRLF, and it loads back the same.
  cfg.SaveFile(folder_ / "garbage-out.cfg");
  std::string saved;
  for (const std::string& line : expected) saved += line + "\r\n";
  EXPECT_EQ(Read(folder_ / "garbage-out.cfg"), saved);
  FileCFG again;
  EXPECT_EQ(again.LoadFile(folder_ / "garbage-out.cfg"), expected);

  // A megabyte-long value with NUL bytes in it comes back whole.
  std::string value(1 << 20, 'v');
  value[10] = '\0';
  value[value.size() - 1] = '\0';
  FileCFG big = Loaded("big " + value + "\r\nafter 1\r\n");
  EXPECT_EQ(big.ReadValue("big"), value);
  EXPECT_EQ(big.ReadValue("after"), "1");
}

}  // namespace
}  // namespace lumadex
