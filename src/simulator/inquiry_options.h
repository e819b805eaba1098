#pragma once

#include <string>
#include <string_view>

#include "simulator/inquiry_boot_loader.h"

namespace vantrel::simulator {

// The command-line options of the inquiry/selection boot loader, for the target program's parser.

// True for an option of this set ("--device", "--fault-mat-nak", ...).
bool IsInquiryOption(std::string_view option);

// True when the option is followed by a value; flags take none.
bool InquiryOptionTakesValue(std::string_view option);

// Applies one option (value empty for a flag). False, with *error set, for an unknown option or a
// bad value; config is then unchanged.
bool ApplyInquiryOption(std::string_view option, std::string_view value, InquiryConfig& config,
                        std::string* error);

// One line per option, for --help.
std::string_view InquiryOptionsHelp();

}  // namespace vantrel::simulator
