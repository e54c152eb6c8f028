// SPDX-License-Identifier: MIT
// Where the settings file lives on a POSIX desktop, and how it is read.
#pragma once

#include <string>

#include "sources/endpoint.h"

namespace maskora {

// $XDG_CONFIG_HOME/maskora/maskora.conf when that variable holds an absolute path, else
// $HOME/.config/maskora/maskora.conf; empty without either. Either argument may be null.
std::string SettingsFilePath(const char* xdgConfigHome, const char* home);

// What is at path: a regular file (or a link to one) is read up to one byte past the bound;
// anything else is never opened or, if it became one meanwhile, never waited on. An empty
// path is the absent file.
SettingsFile ReadSettingsFile(const std::string& path);

}  // namespace maskora
