#pragma once

#include "engine/entry_list.h"
#include "platform/files.h"

#include <string>
#include <string_view>
#include <vector>

namespace zk {

// The entries of a list file, field by field: quoted fields run to the closing quote that
// stands before a comma or the line end, unquoted ones to the next comma or line end.
std::vector<std::string> parseEntries(std::string_view data);

// One entry as the program stores it: the text in double quotes, then CR LF.
std::string formatEntry(std::string_view entry);
std::string formatEntries(const std::vector<std::string>& entries);

// Reads the list file into the entries; a missing or unreadable file gives an empty list.
// Returns how the read went: a file that exists but could not be read is Failed.
Files::ReadStatus Liste_einlesen(EntryList& Eintraege, Files& files, const std::string& Datei);

} // namespace zk
