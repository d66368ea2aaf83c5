#include "progress/AtomicFile.h"

#include "platform/DurableFile.h"

namespace atomicfile {

std::string TempPathFor(const std::string& path) {
    return path + ".tmp";
}

bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> data,
                         const BeforeCommit& beforeCommit) {
    const std::string temp = TempPathFor(path);
    if (!platform::WriteAndFlush(temp, data)) {
        platform::RemoveFile(temp);
        return false;
    }
    if (beforeCommit && !beforeCommit(temp)) return false;
    if (!platform::RenameOver(temp, path)) {
        platform::RemoveFile(temp);
        return false;
    }
    return true;
}

}  // namespace atomicfile
