// Start-up chores on files: moving the settings file and the bundled data
// files into the user's data folder, and stamping "readme.txt" for the XD
// switch. Each replaces an existing file only by a completed write.
#pragma once

#include <string>
#include <vector>

// Copies the settings file found for reading over the writing location when
// the two differ, and deletes the old one when the copy succeeded.
void MoveSettingsFile();
// Moves each named file found beside the program (or, without case, under
// another spelling) into the user data folder; a failed copy leaves it where
// it was. Each name is handled once.
void MoveToUserDataFolder(const std::vector<std::string>& names);
// Copies source over target in one completed write, then deletes source.
bool MoveFileReplacing(const std::string& source, const std::string& target);

// With the switch XD as the only parameter: sets the date of "readme.txt"
// beside the program to now, or writes it with the product and version when
// it is missing. True when the file was stamped or written and the program
// should end.
bool StampReadme(int argc, const char* const* argv);
