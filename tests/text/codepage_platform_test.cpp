// Our own code-page layer and its tables (text/platform/), against the
// code-page contract.
#include "text/codepage_contract.h"

namespace kelvorat::platform {
namespace {

struct OwnTables {
  static unsigned AnsiCodePage() { return 936; }
  static constexpr CodePageFreedoms kFreedoms{
      .exactUtf8Replacements = true, .exactCp936Replacements = true, .strictArguments = true};
};

INSTANTIATE_TYPED_TEST_SUITE_P(OwnTables, CodePageContract, OwnTables);

}  // namespace
}  // namespace kelvorat::platform
