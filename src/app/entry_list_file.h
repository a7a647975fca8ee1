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

// A list file is read as UTF-8 when it starts with the byte-order mark, or when it is valid
// UTF-8 holding a character beyond ASCII (as today's Notepad saves it); else as ANSI.
bool isUtf8ListFile(std::string_view data);

// Reads the list file into the entries, in the ANSI code page; a missing file gives an empty
// list. False when the entries hold less than the file: it exists but could not be read, or
// an entry of a UTF-8 file holds a character the code page cannot hold and was left out.
bool Liste_einlesen(EntryList& Eintraege, Files& files, const std::string& Datei);

// Appends the entry to the list file as one record, in the file's encoding, after a line end
// of its own when the file's last line has none (a hand-edited file, or a failed append).
bool appendEntry(Files& files, const std::string& path, std::string_view entry);

} // namespace zk
