#pragma once
// Where the tool set keeps what it writes. With KELD_HOME set, everything
// lives below it (settings/, data/, run/); otherwise the XDG folders are used.
#include <string>

namespace platform {

std::string SettingsRoot();  // registry hives, profile files
std::string DataDir();       // log files, phone book, simulated unit memory
std::string RuntimeDir();    // sockets and locks; created with mode 0700

// Makes sure the runtime folder is private to this user: created 0700 when
// missing, whatever the umask; an existing one must be a real folder (not a
// symbolic link), owned by this user and closed to others. Such a folder is
// refused, never repaired or used: false with a reason in error.
bool CheckRuntimeDir(std::string& error);
// The same check for any folder.
bool CheckPrivateDir(const std::string& path, std::string& error);

// The folder of the running program (bin/) and the install's lang/ folder.
std::string ProgramDir();
std::string LangDir();

// A short stable tag for this KELD_HOME / user, used to name process-shared
// objects (shared memory) so that separate homes never see each other's.
std::string NamespaceTag();

// Creates the folder and its parents; false when that fails.
bool EnsureDir(const std::string& path, unsigned mode = 0755);

}  // namespace platform
