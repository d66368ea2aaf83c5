#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace testsupport {

// CI builds everything before it tests, so there a missing build product is a broken build.
inline bool UnderCi() {
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::string_view(ci) == "true";
}

// The built data set (build/DATA), or $STONEWELL_TEST_DATA_DIR: a sanitizer build that does
// not build the data tools borrows another build's.
inline std::filesystem::path BuiltData() {
    if (const char* dir = std::getenv("STONEWELL_TEST_DATA_DIR"); dir != nullptr && *dir != '\0')
        return dir;
    return std::filesystem::path(STONEWELL_BINARY_DIR) / "DATA";
}
inline bool DataBuilt() {
    return std::filesystem::exists(BuiltData() / "IMG" / "B_1.T2G");
}

}  // namespace testsupport

// Skips the test when `present` is false, so a partial build can still run the rest; under
// CI it fails instead, so a suite cannot pass by testing nothing.
#define REQUIRE_BUILT(present, what)                                          \
    do {                                                                      \
        if (!(present)) {                                                     \
            if (testsupport::UnderCi()) GTEST_FAIL() << what << " not built"; \
            GTEST_SKIP() << what << " not built";                             \
        }                                                                     \
    } while (false)
