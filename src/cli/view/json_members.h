#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel::cli {

// The members of one JSON object, each value as its JSON text, so that the view can pass values
// on unchanged; nullopt when the text is not one well-formed object.
std::optional<std::map<std::string, std::string, std::less<>>> JsonMembers(std::string_view text);

// A string value's text; empty when the JSON text is no string.
std::string JsonStringValue(std::string_view json);

}  // namespace vantrel::cli
