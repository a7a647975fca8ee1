#pragma once

#include "engine/entry_list.h"
#include "platform/files.h"
#include "platform/ui.h"

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
// an entry of a UTF-8 file holds a character the code page cannot hold and was left out. In
// a file that starts with the byte-order mark, a field that is no UTF-8 is read as ANSI.
bool Liste_einlesen(EntryList& Eintraege, Files& files, const std::string& Datei);

// Appends the entry to the list file as one record, in the file's encoding, after a line end
// of its own when the file's last line has none (a hand-edited file). An append that fails
// is cut off again, as far as the file lets it.
bool appendEntry(Files& files, const std::string& path, std::string_view entry);

// Deletes the list box's selected entry from the list file as the file is now, so that what
// another program added meanwhile stays: the file is read again, the entry removed once (or
// else from the unsaved entries, which are this run's alone), and the rest written in the
// list box's order. The list box then shows the file's entries and the unsaved ones, without
// the entry unless the file could not be written (NotSaved). NotRead: the file could not be
// read whole; then nothing changes.
enum class Deletion { Done, NotRead, NotSaved };
Deletion deleteSelected(Files& files, const std::string& path, ui::ListBox& list,
                        std::vector<std::string>& unsaved);

} // namespace zk
