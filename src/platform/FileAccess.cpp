#include "platform/FileAccess.h"

#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool WritableDirectory(const std::string& dir) {
    struct stat info {};
    return ::stat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           ::access(dir.c_str(), W_OK) == 0;
}

}  // namespace platform
