// SPDX-License-Identifier: MIT
// Where the settings file lives on a POSIX desktop.
#pragma once

#include <string>

namespace maskora {

// $XDG_CONFIG_HOME/maskora/maskora.conf when that variable holds an absolute path, else
// $HOME/.config/maskora/maskora.conf; empty without either. Either argument may be null.
std::string SettingsFilePath(const char* xdgConfigHome, const char* home);

}  // namespace maskora
