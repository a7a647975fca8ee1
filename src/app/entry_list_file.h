#pragma once

#include "engine/entry_list.h"
#include "platform/files.h"

#include <functional>
#include <map>
#include <optional>
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

// Removes one occurrence of the entry from the list file as it is now, so that what another
// program added meanwhile stays, and writes the rest sorted by `less`. What the file holds
// then: the rest, or its entries as they were when it could not be written (`written` false);
// nothing when it could not be read whole, and then nothing is written.
using TextLess = std::function<bool(const std::string&, const std::string&)>;
std::optional<std::vector<std::string>> removeEntry(Files& files, const std::string& path,
                                                    const std::string& entry, const TextLess& less,
                                                    bool& written);

// The entries of list files whose append failed, by file: they hold until the program ends.
class UnsavedEntries {
public:
    // Appends the entry to the list file; when that fails, it is kept here (false).
    bool append(Files& files, const std::string& path, const std::string& entry);
    // The file's entries followed by the unsaved ones.
    std::vector<std::string> with(const std::string& path, std::vector<std::string> entries) const;
    // Deletes the entry: from the unsaved ones if it is one, else from the file (removeEntry).
    // The list's entries then, as with() gives them; nothing when the file could not be read
    // whole. `saved` is false when the file could not be written.
    std::optional<std::vector<std::string>> remove(Files& files, const std::string& path,
                                                   const std::string& entry, const TextLess& less,
                                                   bool& saved);

private:
    std::map<std::string, std::vector<std::string>> entries_;
};

} // namespace zk
