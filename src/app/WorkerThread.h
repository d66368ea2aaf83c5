#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

// Something a thread runs.
class IRunnable {
public:
    virtual ~IRunnable() = default;
    virtual void Run() = 0;
    virtual const char* Name() const { return "NoName"; }
};

class IThread {
public:
    virtual ~IThread() = default;
};

// One operating-system thread running one owned runnable.
//
// POSIX threads cannot be killed, suspended or have their priority boost switched off from
// outside. Terminate therefore only gives up on the thread (it must end on its own: the
// program asks it to through its quit event first), suspend and resume only keep the
// count, and the priority calls are accepted and ignored.
class CPS3Thread : public IThread {
public:
    explicit CPS3Thread(std::unique_ptr<IRunnable> runnable);
    // Adopts the calling thread: nothing is started, and nothing is joined at destruction.
    static std::unique_ptr<CPS3Thread> AdoptCurrent();
    ~CPS3Thread() override;

    bool Start();
    bool IsRunning() const;
    void Terminate();
    // Waits at most `timeoutMs` for the thread to end; true when it ended.
    bool Join(unsigned timeoutMs = 2000);
    IRunnable* GetRunnable() const { return m_runnable.get(); }

    int Suspend() { return ++m_suspendCount; }
    int Resume() { return m_suspendCount > 0 ? --m_suspendCount : 0; }
    void SuspendUnlessSuspended() {
        if (m_suspendCount <= 0) Suspend();
    }
    void ResumeUntilRunning() { m_suspendCount = 0; }
    bool SetPriority(int priority) {
        (void)priority;
        return true;
    }
    bool SetPriorityBoost(bool disable) {
        (void)disable;
        return true;
    }
    int SuspendCount() const { return m_suspendCount; }

private:
    CPS3Thread() = default;

    std::unique_ptr<IRunnable> m_runnable;
    std::thread m_thread;
    std::thread::id m_threadId;
    int m_suspendCount = -1;
    bool m_adopted = false;
    // Set by the thread when its runnable returned.
    mutable std::mutex m_doneMutex;
    std::condition_variable m_doneSignal;
    bool m_done = false;
};

class CTSWndMgr;

// The worker's task: runs the manager's scene loop once.
class CWorkTask : public IRunnable {
public:
    explicit CWorkTask(CTSWndMgr& manager) : m_manager(manager) {}
    void Run() override;
    const char* Name() const override { return "CWorkTask"; }
    bool IsRunning() const { return m_running.load(); }

private:
    CTSWndMgr& m_manager;
    std::atomic<int> m_running{1};
};
