// Any list file reads without a line break in a field; what the program writes reads back.
#include "app/entry_list_file.h"
#include "capture/cuts.h"
#include "fuzz_check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view data(reinterpret_cast<const char*>(bytes), size);
    for (const std::string& field : zk::parseEntries(data))
        check(field.find_first_of("\r\n") == std::string::npos);

    // The input's lines as entries, those the program would store.
    std::vector<std::string> entries;
    for (std::size_t start = 0, end = 0; start <= data.size(); start = end + 1) {
        end = std::min(data.find('\n', start), data.size());
        const std::string_view line = data.substr(start, end - start);
        if (zk::storable(line)) entries.emplace_back(line);
    }
    check(zk::parseEntries(zk::formatEntries(entries)) == entries);
    return 0;
}
