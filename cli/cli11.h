// CLI11, without the standard streams' start-up.
//
// CLI11 includes <iostream> for the help and the error messages it can print,
// which vantorel-cli prints in its own words and never asks of it. Every file
// that includes <iostream> has the eight standard streams, and the C++ locale
// with them, built before main runs: in the static program that was a sixth of
// a plain replacement's instructions and seven of its page faults, on every
// run. With libstdc++, the streams are declared here as <iostream> declares
// them, and CLI11 then finds <iostream> included already.
#pragma once

#include <istream>
#include <ostream>

#if defined(__GLIBCXX__) && !defined(_GLIBCXX_IOSTREAM)
#define _GLIBCXX_IOSTREAM 1
namespace std {
extern istream cin;
extern ostream cout, cerr, clog;
}  // namespace std
#endif

#include <CLI/CLI.hpp>
