#include "app/main_form_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

namespace lumadex {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// "demo@example.com" and "demo" under the program's key.
constexpr char kDemoEmail[] = "\x72\x59\x80\x64\x52\x55\x86\x55\x80\x65\x7e\x55\x3c\x57\x82\x62";
constexpr char kDemoPassword[] = "\x72\x59\x80\x64";

TEST(RememberedSignIn, IsCipheredInTheThreeKeysAndForgottenWithEmptyOnes) {
  std::random_device random;
  const fs::path path = fs::temp_directory_path() / ("lumadex-remembered-" + std::to_string(random()) + ".ini");
  std::ofstream(path, std::ios::binary) << kNewSettingsFile;
  FileCFG settings;
  settings.LoadFile(path);
  fs::remove(path);
  EXPECT_FALSE(ReadRememberedSignIn(settings, IsLeadByte936));

  WriteRememberedSignIn(settings, SignInDetails{"demo@example.com", "demo"}, IsLeadByte936);
  EXPECT_EQ(settings.Lines(), (Lines{std::string("1 ") + kDemoEmail, std::string("2 ") + kDemoPassword, "3 T"}));
  const std::optional<SignInDetails> back = ReadRememberedSignIn(settings, IsLeadByte936);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->email, "demo@example.com");
  EXPECT_EQ(back->password, "demo");

  WriteRememberedSignIn(settings, std::nullopt, IsLeadByte936);
  EXPECT_EQ(settings.Lines(), (Lines{"1 ", "2 ", "3 F"}));
  EXPECT_FALSE(ReadRememberedSignIn(settings, IsLeadByte936));

  FileCFG unloaded;
  EXPECT_FALSE(ReadRememberedSignIn(unloaded, IsLeadByte936));
  EXPECT_THROW(WriteRememberedSignIn(unloaded, std::nullopt, IsLeadByte936), FileCfgError);
}

}  // namespace
}  // namespace lumadex
