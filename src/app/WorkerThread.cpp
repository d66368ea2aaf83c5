#include "app/WorkerThread.h"

#include <chrono>

#include "Lib/ZIRur/Util/DebugLog.h"
#include "Lib/ZIRur/Wnd/TSWndMgr.h"
#include "platform/Platform.h"

CPS3Thread::CPS3Thread(std::unique_ptr<IRunnable> runnable) : m_runnable(std::move(runnable)) {}

std::unique_ptr<CPS3Thread> CPS3Thread::AdoptCurrent() {
    std::unique_ptr<CPS3Thread> thread(new CPS3Thread());
    thread->m_adopted = true;
    thread->m_threadId = std::this_thread::get_id();
    thread->m_suspendCount = 0;
    return thread;
}

CPS3Thread::~CPS3Thread() {
    if (!m_adopted && m_thread.joinable()) {
        // A thread that outlives its object would run on freed memory: wait for it.
        m_thread.join();
    }
}

bool CPS3Thread::Start() {
    if (m_adopted || m_thread.joinable() || !m_runnable) return false;
    {
        std::lock_guard lock(m_doneMutex);
        m_done = false;
    }
    m_thread = std::thread([this] {
        m_runnable->Run();
        std::lock_guard lock(m_doneMutex);
        m_done = true;
        m_doneSignal.notify_all();
    });
    m_threadId = m_thread.get_id();
    m_suspendCount = 0;
    return true;
}

bool CPS3Thread::IsRunning() const {
    if (m_adopted) return true;
    std::lock_guard lock(m_doneMutex);
    return m_thread.joinable() && !m_done;
}

void CPS3Thread::Terminate() {
    dbglog::Printf("CPS3Thread::Terminate() : a thread cannot be stopped from outside.\n");
    m_suspendCount = -1;
}

bool CPS3Thread::Join(unsigned timeoutMs) {
    if (m_adopted || !m_thread.joinable()) return true;
    std::unique_lock lock(m_doneMutex);
    if (!m_doneSignal.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_done; }))
        return false;
    lock.unlock();
    m_thread.join();
    m_suspendCount = -1;
    return true;
}

void CWorkTask::Run() {
    while (m_running.load() != 0) {
        m_manager.Run();
        m_running = 0;
        platform::GetPlatform().Sleep(100);
    }
}
