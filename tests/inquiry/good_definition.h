#pragma once

#include "inquiry/boot_definition.h"

namespace vantrel::testing {

// Boot definitions that select the second device ("X2") of the scripted boot loader.
inline BootDefinition GoodDefinition() {
  BootDefinition def;
  def.DeviceName = "X2";
  def.UserMatRdf = 1;
  def.BaudP = "38400";
  def.ClockFreq = 2000;
  def.MatType = 0;
  def.ClockMode = 1;
  def.MulRatioNo = 2;
  def.MulRatio1 = 4;
  def.MulRatio2 = 2;
  def.MulRatio3 = 1;
  def.MulRatio4 = 1;
  return def;
}

}  // namespace vantrel::testing
