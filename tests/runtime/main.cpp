#include <QCoreApplication>

#include <gtest/gtest.h>

#include "runtime/cef_app.h"

int main(int argc, char** argv) {
  // The engine starts its child processes from this same program.
  const int childExitCode = CefExecuteProcess(CefMainArgs(argc, argv), nullptr, nullptr);
  if (childExitCode >= 0) return childExitCode;
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  // The first runtime made the application; ending it stops the engine's threads
  // before static destruction.
  delete QCoreApplication::instance();
  return result;
}
