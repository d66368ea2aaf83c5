#pragma once

#include <memory>
#include <mutex>

// Process-wide manager created on first use and destroyed explicitly (or at exit).
template <class T>
class TSingleton {
public:
    static T& GetInstance() {
        std::call_once(Flag(), [] { Slot() = std::make_unique<T>(); });
        return *Slot();
    }
    static bool Exists() { return Slot() != nullptr; }
    // Only for orderly shutdown and tests; no other thread may hold the instance then.
    static void DestroyInstance() {
        Slot().reset();
        Flag().~once_flag();
        new (&Flag()) std::once_flag();
    }

private:
    static std::unique_ptr<T>& Slot() {
        static std::unique_ptr<T> instance;
        return instance;
    }
    static std::once_flag& Flag() {
        static std::once_flag flag;
        return flag;
    }
};
