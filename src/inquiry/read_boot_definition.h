#pragma once

#include <string_view>

#include "inquiry/boot_definition.h"

namespace vantrel {

// Reads the BootDef section of an .inf write-control file into def. 0 when every key is present
// and usable, -1 otherwise; the values read are kept either way.
int ReadBootDefinition(std::string_view path, BootDefinition& def);

}  // namespace vantrel
