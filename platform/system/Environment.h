#pragma once

// The process's environment variables, in UTF-8 on every system (Windows keeps them in
// UTF-16; its narrow getenv would hand them over in the local code page).

#include <filesystem>
#include <optional>
#include <string>

namespace medrec::platform {

// The variable's value; nullopt when it is not set.
std::optional<std::string> environmentVariable(const char *name);

// The value when the variable is set and not empty, else nullopt.
std::optional<std::string> nonEmptyEnvironmentVariable(const char *name);

// Sets the variable; an existing value stays unless overwrite. False when the system refuses.
// Windows keeps no empty variables: there an empty value removes it.
bool setEnvironmentVariable(const char *name, const std::string &value, bool overwrite = true);

// Removes the variable.
void unsetEnvironmentVariable(const char *name);

// A path from UTF-8 text, and back: std::filesystem reads narrow strings in the local code
// page on Windows, so text from files or the environment goes through these.
std::filesystem::path pathFromUtf8(const std::string &utf8);
std::string utf8FromPath(const std::filesystem::path &path);

} // namespace medrec::platform
