#include "inquiry/read_boot_definition.h"

#include <gtest/gtest.h>

#include <map>

#include "support/recording_host.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

using Keys = std::map<std::string, std::string>;

const Keys kComplete = {
    {"DeviceName", "DEV-1"}, {"UserMatRdf", "1"}, {"BaudP", "57600"},  {"ClockFreq", "0x7D0"},
    {"MatType", "0"},        {"ClockMode", "2"},  {"MulRatioNo", "2"}, {"MulRatio1", "4"},
    {"MulRatio2", "0x2"},    {"MulRatio3", "0"},  {"MulRatio4", "0"},
};

class ReadBootDefinitionTest : public ::testing::Test {
 protected:
  int Read(const Keys& keys, const std::string& section = "BootDef") {
    std::string text = "[" + section + "]\n";
    for (const auto& [k, v] : keys) text += k + "=" + v + "\n";
    return ReadBootDefinition(folder.Write("dev.inf", text), def);
  }
  static Keys With(std::string key, std::string value) {
    Keys k = kComplete;
    k[key] = value;
    return k;
  }
  static Keys Without(const std::string& key) {
    Keys k = kComplete;
    k.erase(key);
    return k;
  }

  testing::TempFolder folder;
  BootDefinition def;
};

TEST_F(ReadBootDefinitionTest, CompleteDefinitionIsStored) {
  EXPECT_EQ(Read(kComplete), 0);
  EXPECT_EQ(def.DeviceName, "DEV-1");
  EXPECT_EQ(def.UserMatRdf, 1);
  EXPECT_EQ(def.BaudP, "57600");
  EXPECT_EQ(def.ClockFreq, 2000);
  EXPECT_EQ(def.MatType, 0);
  EXPECT_EQ(def.ClockMode, 2);
  EXPECT_EQ(def.MulRatioNo, 2);
  EXPECT_EQ(def.MulRatio1, 4);
  EXPECT_EQ(def.MulRatio2, 2);
}

TEST_F(ReadBootDefinitionTest, AcceptedEdgeValues) {
  for (const auto& keys :
       {With("DeviceName", "undefined"), With("BaudP", "undefined"), With("MulRatioNo", "0"),
        With("MulRatioNo", "4"), With("UserMatRdf", "0"), With("ClockFreq", "-9999")}) {
    EXPECT_EQ(Read(keys), 0);
  }
}

TEST_F(ReadBootDefinitionTest, RefusesMissingOrUnusableKeys) {
  std::vector<std::pair<std::string, Keys>> cases;
  for (const auto& [k, v] : kComplete) cases.push_back({"without " + k, Without(k)});
  Keys onlyOneRatio = Without("MulRatio4");
  onlyOneRatio["MulRatioNo"] = "1";
  cases.push_back({"MulRatio4 missing with MulRatioNo 1", onlyOneRatio});
  cases.push_back({"DeviceName Undefined", With("DeviceName", "Undefined")});
  cases.push_back({"BaudP Undefined", With("BaudP", "Undefined")});
  cases.push_back({"ClockFreq abc", With("ClockFreq", "abc")});
  cases.push_back({"ClockMode 0x", With("ClockMode", "0x")});
  cases.push_back({"MatType -10000", With("MatType", "-10000")});
  cases.push_back({"MulRatioNo 5", With("MulRatioNo", "5")});
  cases.push_back({"MulRatioNo -1", With("MulRatioNo", "-1")});
  for (const auto& [name, keys] : cases) {
    EXPECT_EQ(Read(keys), -1) << name;
  }
}

TEST_F(ReadBootDefinitionTest, RefusedValuesStayStored) {
  Keys keys = With("ClockFreq", "abc");
  keys["BaudP"] = "115200";
  EXPECT_EQ(Read(keys), -1);
  EXPECT_EQ(def.ClockFreq, kMissingInteger);
  EXPECT_EQ(def.BaudP, "115200");
  EXPECT_EQ(def.MulRatio1, 4);
}

TEST_F(ReadBootDefinitionTest, WrongSectionOrMissingFileGivesAllDefaults) {
  EXPECT_EQ(Read(kComplete, "Other"), -1);
  EXPECT_EQ(def.DeviceName, "Undefined");
  EXPECT_EQ(ReadBootDefinition(folder.PathOf("absent.inf"), def), -1);
  EXPECT_EQ(def.MulRatio4, kMissingInteger);
}

}  // namespace
}  // namespace vantrel
