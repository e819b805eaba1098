#pragma once

#include <string_view>

namespace vantrel {

// The rates the baud rate boxes offer, and the only ones AutoPgm.ini may name.
inline constexpr std::string_view kBootBaudRates[] = {"2400", "4800", "9600", "19200"};
inline constexpr std::string_view kProgramBaudRates[] = {
    "2400", "4800", "9600", "14400", "19200", "28800", "38400", "57600", "115200"};

}  // namespace vantrel
