#include "Lib/ZIRur/Util/DebugLog.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace dbglog {
namespace {

struct Sink {
    std::mutex mutex;
    FILE* file = nullptr;  // null: silent
    bool ownsFile = false;
    bool initialised = false;
    std::vector<std::string*> captures;  // innermost last
};

Sink& TheSink() {
    static Sink sink;
    return sink;
}

}  // namespace

void InitFromEnvironment() {
    Sink& s = TheSink();
    std::lock_guard lock(s.mutex);
    if (s.initialised) return;
    s.initialised = true;
    const char* where = std::getenv("STONEWELL_LOG");
    if (where == nullptr || *where == '\0') return;
    if (std::strcmp(where, "stderr") == 0) {
        s.file = stderr;
    } else if ((s.file = std::fopen(where, "a")) != nullptr) {
        s.ownsFile = true;
    }
}

void Write(std::string_view text) {
    Sink& s = TheSink();
    std::lock_guard lock(s.mutex);
    if (!s.captures.empty()) s.captures.back()->append(text);
    if (s.file != nullptr) {
        std::fwrite(text.data(), 1, text.size(), s.file);
        std::fflush(s.file);
    }
}

void VPrintf(const char* fmt, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    if (n <= 0) return;
    std::string text(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), fmt, args);
    text.pop_back();
    Write(text);
}

void Printf(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    VPrintf(fmt, args);
    va_end(args);
}

std::string SourceName(const char* file) {
    std::string_view path(file);
    size_t at = path.rfind("/src/");
    if (at != std::string_view::npos) path.remove_prefix(at + 5);
    size_t dot = path.rfind('.');
    size_t slash = path.rfind('/');
    if (dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash))
        path = path.substr(0, dot);
    return std::string(path);
}

void Warning(const char* tag, const char* expr, long value, const char* file, int line,
             const char* fmt, ...) {
    std::string block = std::string(tag) + "\n\t" + expr + "(=" + std::to_string(value) +
                        ") is not valid value.\n\t" + SourceName(file) + "(" +
                        std::to_string(line) + ")\n";
    Write(block);
    va_list args;
    va_start(args, fmt);
    VPrintf(fmt, args);
    va_end(args);
}

void PointerError(const char* tag, const char* name, const void* pointer, const char* file,
                  int line) {
    char text[64];
    std::snprintf(text, sizeof text, "%p", pointer);
    Write(std::string(tag) + "\n" + name + "(=" + text + ") is not valid pointer.\n\t" +
          SourceName(file) + "(" + std::to_string(line) + ")\n");
}

Capture::Capture() {
    Sink& s = TheSink();
    std::lock_guard lock(s.mutex);
    s.captures.push_back(&m_text);
}

Capture::~Capture() {
    Sink& s = TheSink();
    std::lock_guard lock(s.mutex);
    std::erase(s.captures, &m_text);
}

std::string Capture::Text() const {
    std::lock_guard lock(TheSink().mutex);
    return m_text;
}

void Capture::Clear() {
    std::lock_guard lock(TheSink().mutex);
    m_text.clear();
}

}  // namespace dbglog
