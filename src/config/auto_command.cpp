#include "config/auto_command.h"

#include <algorithm>
#include <span>
#include <vector>

#include "config/baud_rates.h"
#include "config/path_rules.h"
#include "platform/folder_listing.h"
#include "platform/ini_file.h"
#include "platform/path_separators.h"
#include "platform/text.h"

namespace vantrel {
namespace {

constexpr std::string_view kFullWidthSpace = "\u3000";
constexpr const char* kUndefined = "Undefined";

std::optional<bool> Flag(std::int32_t value) {
  if (value == 0 || value == 1) return value == 1;
  return std::nullopt;
}

std::optional<std::string> OneOf(std::string value, std::span<const std::string_view> list) {
  if (std::find(list.begin(), list.end(), value) == list.end()) return std::nullopt;
  return value;
}

std::optional<std::string> Defined(std::string value) {
  if (value == kUndefined) return std::nullopt;
  return value;
}

}  // namespace

std::size_t SkipBlanks(std::string_view text, std::size_t at) {
  while (at < text.size()) {
    if (platform::IsSpaceOrTab(text[at])) {
      ++at;
    } else if (text.substr(at).starts_with(kFullWidthSpace)) {
      at += kFullWidthSpace.size();
    } else {
      break;
    }
  }
  return at;
}

std::optional<std::string> AutoCommandArgument(std::string_view text) {
  std::size_t at = SkipBlanks(text, 0);
  if (at >= text.size() || text[at] != '-') return std::nullopt;
  at = SkipBlanks(text, at + 1);
  if (text.size() - at < 2 || !platform::EqualsIgnoringCase(text.substr(at, 2), "GO")) {
    return std::nullopt;
  }
  at = SkipBlanks(text, at + 2);
  return std::string(text.substr(at));
}

std::string AutoPgmPath(std::string_view exeFolder, std::string_view argument) {
  const std::string folder = platform::JoinPath(exeFolder, "@AUTO_PGM");
  if (argument.empty()) return platform::JoinPath(folder, "AutoPgm.ini");
  if (FolderPart(argument).empty()) return platform::JoinPath(folder, argument);
  return std::string(argument);
}

AutoPgmValues ReadAutoPgmFile(const std::string& path) {
  const auto ini = platform::IniFile::Load(path);
  const auto integer = [&](const char* key) { return ini.ReadInt("AutoPgm", key, -1); };
  const auto text = [&](const char* key) { return ini.ReadText("AutoPgm", key, kUndefined); };
  AutoPgmValues v;
  const std::int32_t left = integer("Left");
  const std::int32_t top = integer("Top");
  if (left >= 0 && top >= 0) {
    v.Left = left;
    v.Top = top;
  }
  v.Snap = Flag(integer("Snap"));
  v.Verify = Flag(integer("Verify"));
  v.AutoStart = Flag(integer("AutoStart"));
  v.AutoExit = Flag(integer("AutoExit"));
  if (const std::int32_t port = integer("ComPortNo"); port >= 1 && port <= 99) {
    v.ComPortNo = "COM" + std::to_string(port);
  }
  v.BaudB = OneOf(text("BaudB"), kBootBaudRates);
  v.BaudP = OneOf(text("BaudP"), kProgramBaudRates);
  v.CtrlProgam = Defined(text("CtrlProgam"));
  v.UserMotPath = Defined(text("UserMotPath"));
  return v;
}

std::optional<std::string> FindFixedUserProgram(std::string_view exeFolder) {
  const std::string folder = platform::JoinPath(exeFolder, "@APP_MOT");
  const auto entries = platform::ListFolder(folder);
  for (const std::string_view ext : {".mot", ".s"}) {
    std::vector<std::string> names;
    for (const auto& e : entries) {
      if (e.regular && !e.hidden && platform::EqualsIgnoringCase(FileExtension(e.name), ext)) {
        names.push_back(e.name);
      }
    }
    // By name, so that the choice does not depend on the file system's order.
    if (!names.empty())
      return platform::JoinPath(folder, *std::min_element(names.begin(), names.end()));
  }
  return std::nullopt;
}

}  // namespace vantrel
