#include "common/Cp932.h"

#include <iconv.h>

#include <memory>

namespace tools {

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    const std::unique_ptr<void, int (*)(iconv_t)> closer(cd, iconv_close);
    std::string in(utf8);
    // Shift_JIS never takes more bytes than UTF-8 for the same text; the slack is for safety.
    std::string out(in.size() * 2 + 4, '\0');
    char* inPtr = in.data();
    size_t inLeft = in.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1)) return std::nullopt;
    if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == size_t(-1)) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace tools
