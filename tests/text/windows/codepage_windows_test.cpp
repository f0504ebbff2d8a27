// The code-page conversion functions of kernel32.dll as the text layer binds
// them, against the code-page contract.
#include <windows.h>

#include "text/codepage_contract.h"

namespace kelvorat::platform {
namespace {

struct Kernel32 {
  static unsigned AnsiCodePage() { return GetACP(); }
  static constexpr CodePageFreedoms kFreedoms{
      .exactUtf8Replacements = false, .exactCp936Replacements = false, .strictArguments = false};
};

INSTANTIATE_TYPED_TEST_SUITE_P(Kernel32, CodePageContract, Kernel32);

}  // namespace
}  // namespace kelvorat::platform
