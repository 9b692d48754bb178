#pragma once
// Installation defaults: files the package installs under
// <prefix>/share/keld/defaults are copied into the user's settings folder
// the first time a program needs them. A file the user already has is never
// replaced, not even by two programs starting at the same moment.
#include <string>

namespace platform {

// <prefix>/share/keld/defaults beside the running program's bin folder
// (the build tree has the same layout).
std::string DefaultsDir();

// Copies defaultsDir/name to SettingsRoot()/name when the settings folder
// has no such file. True when the file was copied now; false when the user
// has one already, the installation has none, or it could not be written
// (a partly written copy is removed).
bool SeedSettingsFile(const std::string& name, const std::string& defaultsDir = DefaultsDir());

}  // namespace platform
