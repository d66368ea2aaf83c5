#pragma once

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// Writes ".T2G" archives byte by byte from the format table, independently of the reader:
// little-endian header "T2GF", reserved, long-name flag, count; then per entry reserved,
// name field, data size, stored size and the data padded to the stored size.
struct T2gEntrySpec {
    std::string name;
    std::vector<uint8_t> data;
    // Stored size; -1 means the data size rounded up to a multiple of 4.
    int64_t storedSize = -1;
};

std::vector<uint8_t> BuildT2g(const std::vector<T2gEntrySpec>& entries, bool longNames = false,
                              int32_t count = INT32_MIN);

}  // namespace testsupport
