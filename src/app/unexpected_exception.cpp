#include "app/unexpected_exception.h"

#include <cstdlib>
#include <exception>
#include <string>

namespace vantrel {

void EndOnUnexpectedException(WindowHost& host) {
  std::string text = "unknown exception";
  try {
    throw;
  } catch (const std::exception& e) {
    text = e.what();
  } catch (...) {
  }
  host.ShowMessageBox(text);
  host.ExitProcess(1);
  std::abort();  // not reached: the compiler does not see that a virtual call never returns
}

}  // namespace vantrel
