// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Qt test suites share one program, so that the front end is linked once for all of them:
// each file registers its suite under the file's name, and the program runs the suite named
// first on its command line (test_suites.cpp).
#include <QObject>

namespace tomtura_tests {

using SuiteMaker = QObject* (*)();
// `file` is the suite's source file; the suite is known by its base name ("sound_test").
bool RegisterSuite(const char* file, SuiteMaker make);

}  // namespace tomtura_tests

#define TOMTURA_TEST_SUITE(Suite)                                 \
  [[maybe_unused]] static const bool kRegistered##Suite =         \
      ::tomtura_tests::RegisterSuite(__FILE__, []() -> QObject* { return new Suite; })
