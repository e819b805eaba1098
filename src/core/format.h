#pragma once

#include <string>

namespace vantrel {

// printf-style formatting into a string; the program's message formats are printf formats.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace vantrel
