#pragma once

#include <string_view>

namespace vantrel::cli {

// The station view's page, whole: markup, style and script, nothing fetched from elsewhere. It
// follows /events and puts every text it gets on the page as text, never as markup.
extern const std::string_view kViewPage;

}  // namespace vantrel::cli
