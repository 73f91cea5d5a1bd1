#pragma once

namespace dnl::cli {

// What dnlconv returns to the shell.
inline constexpr int kExitSuccess = 0;
// A file could not be read or is not well formed (info), or its conversion did not finish.
inline constexpr int kExitFailure = 1;
// The arguments were wrong; no file was touched.
inline constexpr int kExitBadArguments = 2;

}  // namespace dnl::cli
