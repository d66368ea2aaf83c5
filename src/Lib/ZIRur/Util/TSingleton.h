#pragma once

#include <memory>
#include <mutex>

// Process-wide manager created on first use and destroyed explicitly (or at exit).
template <class T>
class TSingleton {
public:
    static T& GetInstance() {
        std::lock_guard lock(Mutex());
        if (!Slot()) Slot() = std::make_unique<T>();
        return *Slot();
    }
    static bool Exists() {
        std::lock_guard lock(Mutex());
        return Slot() != nullptr;
    }
    // For orderly shutdown and tests; no other thread may still use the instance.
    static void DestroyInstance() {
        std::unique_ptr<T> doomed;
        {
            std::lock_guard lock(Mutex());
            doomed = std::move(Slot());
        }
    }

private:
    static std::unique_ptr<T>& Slot() {
        static std::unique_ptr<T> instance;
        return instance;
    }
    static std::mutex& Mutex() {
        static std::mutex mutex;
        return mutex;
    }
};
