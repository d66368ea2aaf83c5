#pragma once

#include <cstdarg>
#include <functional>
#include <string>
#include <string_view>

// Formats are checked as C99 printf formats, on Windows too (where the formatting is C99's).
#ifdef __MINGW32__
#define STONEWELL_PRINTF(fmt, args) __attribute__((format(gnu_printf, fmt, args)))
#else
#define STONEWELL_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#endif

// The debug log: silent unless STONEWELL_LOG names "stderr" or a file.
namespace dbglog {

// Reads STONEWELL_LOG once; later calls do nothing.
void InitFromEnvironment();
void Write(std::string_view text);
void Printf(const char* fmt, ...) STONEWELL_PRINTF(1, 2);
void VPrintf(const char* fmt, va_list args);

// Four-line warning block: tag, "\t<expr>(=<value>) is not valid value.", "\t<file>(<line>)",
// then the message. `file` is a __FILE__; it is logged relative to src/ without extension.
void Warning(const char* tag, const char* expr, long value, const char* file, int line,
             const char* fmt, ...) STONEWELL_PRINTF(6, 7);
// Two-line pointer block: "<tag>\n<name>(=<p>) is not valid pointer.\n", "\t<file>(<line>)".
void PointerError(const char* tag, const char* name, const void* pointer, const char* file,
                  int line);

std::string SourceName(const char* file);

// Tests install a capture to read what was logged; the previous sink comes back on destruction.
class Capture {
public:
    Capture();
    ~Capture();
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;
    std::string Text() const;
    void Clear();

private:
    std::string m_text;
};

}  // namespace dbglog

// Framework and archive checks: tag "Waring".
#define TS_WARN(expr, value, ...) \
    ::dbglog::Warning("Waring", expr, static_cast<long>(value), __FILE__, __LINE__, __VA_ARGS__)
// Layout-library checks: tag "LYRA:Waring".
#define LYRA_WARN(expr, value, ...)                                                      \
    ::dbglog::Warning("LYRA:Waring", expr, static_cast<long>(value), __FILE__, __LINE__, \
                      __VA_ARGS__)
#define LYRA_ASSERTMSG(expr, value, ...)                                                    \
    ::dbglog::Warning("LYRA:AssertMsg", expr, static_cast<long>(value), __FILE__, __LINE__, \
                      __VA_ARGS__)
#define LYRA_POINTER_ERROR(name, pointer) \
    ::dbglog::PointerError("LYRA:Pointer Error", name, pointer, __FILE__, __LINE__)
