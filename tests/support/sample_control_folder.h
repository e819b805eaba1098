#pragma once

#include "support/srec_writer.h"
#include "support/temp_folder.h"

namespace vantrel::testing {

// The write-control folder of both sample CPU types: CLS.mot (classic, `controlLines` S-record
// lines) and INQ.inf (inquiry), with their Baud.ini entries.
inline void WriteSampleControlFolder(const TempFolder& home, int controlLines = 40) {
  SrecWriter control;
  control.Fill(0xFFE000, controlLines, 5, 16);
  home.Write("CTRL_MOT/CLS.mot", control.Text());
  home.Write("CTRL_MOT/INQ.inf",
             "[BootDef]\nDeviceName=VTR-100\nUserMatRdf=1\nBaudP=57600\nClockFreq=2000\n"
             "MatType=0\nClockMode=0\nMulRatioNo=2\nMulRatio1=4\nMulRatio2=2\nMulRatio3=0\n"
             "MulRatio4=0\n");
  home.Write("CTRL_MOT/Baud.ini",
             "[CLS.mot]\nBaudB=9600\nBaudP=38400\nBlockSize=128\nRomBaseAddr=0\n"
             "[INQ.inf]\nBaudB=9600\nBaudP=38400\nBlockSize=128\nRomBaseAddr=0\n");
}

}  // namespace vantrel::testing
