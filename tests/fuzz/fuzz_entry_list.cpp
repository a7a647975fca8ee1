// The list file reader: any file reads without a line break in a field, and a list the
// program writes reads back as the same entries.
#include "app/entry_list_file.h"
#include "capture/cuts.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view data(reinterpret_cast<const char*>(bytes), size);

    for (const std::string& field : zk::parseEntries(data))
        ZK_FUZZ_CHECK(field.find_first_of("\r\n") == std::string::npos);

    // The input's lines as entries, those the program would store.
    std::vector<std::string> entries;
    for (std::size_t start = 0; start <= data.size();) {
        std::size_t end = data.find('\n', start);
        if (end == std::string_view::npos) end = data.size();
        const std::string_view entry = data.substr(start, end - start);
        if (zk::storable(entry)) entries.emplace_back(entry);
        start = end + 1;
    }
    ZK_FUZZ_CHECK(zk::parseEntries(zk::formatEntries(entries)) == entries);
    return 0;
}
