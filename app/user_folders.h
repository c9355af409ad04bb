// Where the viewer keeps what the user asks it to keep: the pictures folder
// (from the XDG user directories; on Windows the user's Pictures folder) and
// the favourites file (under the XDG data folder; on Windows under
// %APPDATA%\Driftglow). Reads the environment and user-dirs.dirs; writes
// nothing.
#pragma once

#include <functional>
#include <string>
#include <string_view>

// Looks up an environment variable; null when unset.
using EnvironmentLookup = std::function<const char*(const char*)>;

// The process's own environment.
EnvironmentLookup processEnvironment();

// The value that a user-dirs.dirs text gives the variable key (such as
// "XDG_PICTURES_DIR"): a line key="$HOME/sub" or key="/absolute", with "\"
// escapes; "$HOME" stands for home. Empty when the text has no usable line.
std::string userDirFromConfig(std::string_view text, std::string_view key, const std::string& home);

// The user's home: $HOME, else the password database's entry (on Windows
// %USERPROFILE%); empty when there is none.
std::string homeFolder(const EnvironmentLookup& environment);

// "<pictures>/Driftglow": XDG_PICTURES_DIR from the environment when it is an
// absolute path, else from $XDG_CONFIG_HOME/user-dirs.dirs (~/.config when
// unset), else ~/Pictures. On Windows the shell's Pictures folder, else
// %USERPROFILE%\Pictures, with \Driftglow. Empty when no home can be found.
std::string picturesFolder(const EnvironmentLookup& environment);

#ifdef _WIN32
// picturesFolder with the shell's Pictures folder given, empty when the shell
// has none. A folder whose name the program's file calls cannot be given
// counts as none.
std::string picturesFolderFromShell(const std::wstring& shellPictures, const EnvironmentLookup& environment);
#endif

// "$XDG_DATA_HOME/driftglow/favourites", or under ~/.local/share when
// XDG_DATA_HOME is unset or not absolute; on Windows
// "%APPDATA%\Driftglow\favourites". Empty when no home can be found.
std::string favouritesPath(const EnvironmentLookup& environment);
