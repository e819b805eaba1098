#pragma once

namespace vantrel::platform {

// Why a file operation failed, as far as the message to the user needs to know.
enum class FileFault { None, Busy, NoPermission, NoFolder, Other };

}  // namespace vantrel::platform
