#include "inquiry/cpu_info_report.h"

#include <algorithm>
#include <span>

#include "core/format.h"
#include "platform/path_separators.h"
#include "platform/replace_file.h"

namespace vantrel {
namespace {

constexpr const char* kRule = "------------------------------------------\r\n";

void AppendRanges(std::string& out, const char* heading, int count,
                  std::span<const AddressRange> ranges) {
  out += Format("%s = %d\r\n", heading, count);
  for (int i = 0; i < count; ++i) {
    out += Format("Top-End[%2d] = H'%08X - H'%08X\r\n", i, static_cast<unsigned>(ranges[i].Top),
                  static_cast<unsigned>(ranges[i].End));
  }
  out += "\r\n";
}

}  // namespace

std::string FormatCpuInfoReport(const BootDefinition& def, const CpuInformation& info) {
  std::string out = kRule;
  out += Format("InfDeviceName = \"%s\"\r\n", def.DeviceName.c_str());
  out += Format("InfUserMatRdf = %d\r\n", def.UserMatRdf);
  out += Format("InfBaudP      = \"%s\"\r\n", def.BaudP.c_str());
  out += Format("InfClockMode  = %d\r\n", def.ClockMode);
  out += Format("InfClockFreq  = %d\r\n", def.ClockFreq);
  out += Format("InfMatType    = %d\r\n", def.MatType);
  out += Format("InfMulRatioNo = %d\r\n", def.MulRatioNo);
  out += Format("InfMulRatio1  = %d\r\n", def.MulRatio1);
  out += Format("InfMulRatio2  = %d\r\n", def.MulRatio2);
  out += Format("InfMulRatio3  = %d\r\n", def.MulRatio3);
  out += Format("InfMulRatio4  = %d\r\n", def.MulRatio4);
  out += kRule;

  // Codes and names are kept zero-terminated, so they go out as the target sent them.
  out += Format("DeviceNo   = %d\r\n", info.DeviceNo);
  for (int i = 0; i < std::min<int>(info.DeviceNo, kMaxDevices); ++i) {
    out += Format("DeviceName[%2d] = \"%s\", DeviceCode[%2d] = \"%s\"\r\n", i,
                  info.DeviceName[i].data(), i, info.DeviceCode[i].data());
  }
  out += "\r\n";

  out += Format("ClockModeNo = %d\r\n", info.ClockModeNo);
  for (int i = 0; i < std::min<int>(info.ClockModeNo, kMaxClockModes); ++i) {
    out += Format("ClockMode[%2d] = %d\r\n", i, info.ClockMode[i]);
  }
  out += "\r\n";

  out += Format("MultipleTypeNo  = %d\r\n", info.MultipleTypeNo);
  for (int i = 0; i < std::min<int>(info.MultipleTypeNo, kMaxClockTypes); ++i) {
    out += Format("MultipleRatioNo[%2d] = H'%02X: ", i, info.MultipleRatioNo[i]);
    for (int r = 0; r < std::min<int>(info.MultipleRatioNo[i], kMaxRatios); ++r) {
      out += Format(" H'%02X", info.Ratio[i][r]);
    }
    out += "\r\n";
  }
  out += "\r\n";

  out += Format("FreqNo = %d\r\n", info.FreqNo);
  for (int i = 0; i < std::min<int>(info.FreqNo, kMaxFreqRanges); ++i) {
    out += Format("Fmin-Fmax[%2d] = %d-%d\r\n", i, info.Fmin[i], info.Fmax[i]);
  }
  out += "\r\n";

  if (def.UserMatRdf != 0) {
    AppendRanges(out, "UserBootMatAreaNo", std::min<int>(info.UserBootMatAreaNo, kMaxMatAreas),
                 info.UserBootMat);
  }
  AppendRanges(out, "UserMatAreaNo", std::min<int>(info.UserMatAreaNo, kMaxMatAreas), info.UserMat);
  AppendRanges(out, "EraseBlockNo", std::min<int>(info.EraseBlockNo, kMaxEraseBlocks),
               info.EraseBlock);
  out += Format("WriteBlockSize = %d\r\n", info.WriteBlockSize);
  return out;
}

bool WriteCpuInfoReport(bool failed, const BootDefinition& def, const CpuInformation& info,
                        std::string_view exeFolder, JobInputs& inputs, std::string_view fileName) {
  if (!failed && !inputs.CpuReportWanted()) return true;
  // Written whole or not at all: a full disk must not leave half a report behind.
  return platform::ReplaceFile(platform::JoinPath(exeFolder, fileName),
                               FormatCpuInfoReport(def, info));
}

}  // namespace vantrel
