// SPDX-License-Identifier: MIT
// Output of the command line for a program of the window subsystem, which has no console of
// its own.
#pragma once

#include <string_view>

#include <windows.h>

namespace maskora {

// Writes UTF-8 text, its line breaks as CR LF, to the standard output or error handle that
// the program inherited (a file or a pipe), or else to the console of the program that
// started it. which is STD_OUTPUT_HANDLE or STD_ERROR_HANDLE.
void WriteStandard(DWORD which, std::string_view text);

}  // namespace maskora
