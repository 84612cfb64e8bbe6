#pragma once
// cuentas-cli: checks, computes, converts and diagnoses Spanish account numbers given on the
// command line or in batch. It never links the GUI; its input and output go through the
// operating-system seam, in UTF-8.

#include <string>
#include <vector>

namespace cuentas::cli {

// Exit statuses.
inline constexpr int kAllValid = 0;
inline constexpr int kSomeInvalid = 1;
inline constexpr int kUsageError = 2;
inline constexpr int kRegisterOrIoError = 3;

// Runs the tool on its arguments (the program's name left out) over standard input, output
// and error, and returns the exit status.
int run(const std::vector<std::string>& arguments);

} // namespace cuentas::cli
