// The entry of test programs that speak real HTTP (the loopback and end-to-end
// kinds): the system's binding is in place for the whole run, and a test that
// wants the recording fake puts it on top with its own ScopedWinInet.
#include <gtest/gtest.h>

#include "http/platform/system_binding.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const kelvorat::wininet::ScopedWinInet system(kelvorat::wininet::SystemBinding());
  return RUN_ALL_TESTS();
}
