#include <gtest/gtest.h>

#include "runtime/cef_app.h"

int main(int argc, char** argv) {
  // The engine starts its child processes from this same program.
  const int childExitCode = CefExecuteProcess(CefMainArgs(argc, argv), nullptr, nullptr);
  if (childExitCode >= 0) return childExitCode;
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
