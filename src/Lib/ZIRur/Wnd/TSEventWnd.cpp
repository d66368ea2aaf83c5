#include "Lib/ZIRur/Wnd/TSEventWnd.h"

#include <algorithm>
#include <mutex>

#include "Lib/ZIRur/Graphics/RenderDevice.h"
#include "Lib/ZIRur/Wnd/TSWndMgr.h"
#include "platform/Platform.h"

namespace {

uint32_t g_frameCounter = 0;

// The manager's queue lock, or a process-wide one while no manager exists (tests).
std::recursive_mutex& QueueLock() {
    static std::recursive_mutex fallback;
    CTSWndMgr* mgr = CTSWndMgr::Instance();
    return mgr != nullptr ? mgr->QueueLock() : fallback;
}

uint32_t Ticks() {
    return platform::GetPlatform().TickCount();
}

}  // namespace

uint32_t TSFrameCounter() {
    return g_frameCounter;
}

bool IsPressNotifiedId(uint16_t id) {
    static constexpr uint16_t kIds[] = {7, 8, 20, 21, 22, 23, 26, 27, 29, 30, 34, 35};
    return std::find(std::begin(kIds), std::end(kIds), id) != std::end(kIds);
}

CTSEventWnd::CTSEventWnd() {
    m_buttons.reserve(10);
    for (int i = 0; i < 2; ++i) {
        auto device = std::make_unique<PointerDevice>();
        device->m_index = i;
        m_devices.push_back(std::move(device));
    }
    for (int i = 0; i < 8; ++i) {
        m_timers[i].m_callback = i;
        m_timers[i].m_pOwner = this;
    }
    m_startTick = platform::HasPlatform() ? Ticks() : 0;
}

CTSEventWnd::~CTSEventWnd() {
    std::lock_guard lock(QueueLock());
    for (CTSButton* button : m_buttons) button->m_pOwner = nullptr;
    m_buttons.clear();
    m_devices.clear();
    m_queue.Clear();
}

// ---------------------------------------------------------------- events

int CTSEventWnd::FilterEvent(uint32_t, uint32_t, uint32_t) {
    return 1;
}

int CTSEventWnd::SendEvent(uint32_t code, uint32_t p1, uint32_t p2) {
    DispatchEvent(code, p1, p2);
    return 1;
}

int CTSEventWnd::PostEventPri(uint32_t code, uint32_t p1, uint32_t p2, uint8_t priority) {
    std::lock_guard lock(QueueLock());
    if (code == kEvTimer && m_active == 0) return 0;
    m_queue.Push(TSEvent{code, p1, p2, priority});
    return 1;
}

int CTSEventWnd::QueuedEvents() const {
    std::lock_guard lock(QueueLock());
    return m_queue.Size();
}

void CTSEventWnd::DispatchEvent(uint32_t code, uint32_t p1, uint32_t p2) {
    if (FilterEvent(code, p1, p2) == 0) return;
    const TSPoint point = UnpackPoint(p1);
    const int device = int(p2 & 0xFFFF);
    switch (code) {
        case kEvCreate:
            OnCreate();
            break;
        case kEvLoad:
            OnLoad();
            break;
        case kEvInit:
            OnInit();
            break;
        case kEvStart:
            OnStart();
            break;
        case kEvClose:
            OnClose();
            break;
        case kEvRefresh:
            PollDevices();
            DrawFrame();
            break;
        case kEvTimer:
            OnTimer(int(p1));
            break;
        case kEvButton:
            ButtonEvent(uint16_t(p1), int(p2 & 0xFFFF));
            break;
        case kEvPointerDown:
            OnPointerDown(point, device);
            break;
        case kEvPointerUp:
            OnPointerUp(point, device);
            break;
        case kEvPointerHold:
            OnPointerHold(point, device);
            break;
        case kEvPointerMove:
            OnPointerMove(point, device);
            break;
        case kEvKeyDown:
            OnKeyDown(uint16_t(p1), device);
            break;
        case kEvPadRelease:
            OnPadRelease(uint16_t(p1), device);
            break;
        case kEvPadHold:
            OnPadHold(uint16_t(p1), device);
            break;
        case kEvActivate:
            OnActivate();
            break;
        case kEvDeactivate:
            OnDeactivate();
            break;
        case kEvButtonNotify:
            OnButton(uint16_t(p1));
            break;
        case kEvWheel:
            OnWheel(point, int16_t(p2 & 0xFFFF));
            break;
        case kEvButtonHold:
            if ((p2 & 0xFFFF) == 1) LongPress(uint16_t(p1));
            break;
        case kEvSecondaryDown:
            OnSecondaryDown(point, device);
            break;
        default:
            break;  // 20 and 24 end the loop; the rest are not used
    }
}

void CTSEventWnd::PaceFrom(uint32_t start) {
    uint32_t spent = Ticks() - start;
    if (spent < 10) platform::GetPlatform().Sleep(10 - spent);
}

uint32_t CTSEventWnd::RunModal() {
    m_endedByQuit = false;
    uint32_t t = Ticks();
    for (;;) {
        Step();
        for (;;) {
            RunTimers();
            TSEvent ev;
            {
                std::lock_guard lock(QueueLock());
                if (!m_queue.Pop(ev)) break;
            }
            DispatchEvent(ev.code, ev.p1, ev.p2);
            if (ev.code == kEvEnd) return ev.p1;
            if (ev.code == kEvQuit) {
                m_endedByQuit = true;
                if (m_pParent != nullptr) m_pParent->PostEvent(kEvQuit, ev.p1, 0);
                return ev.p1;
            }
            DrawFrame();
            PaceFrom(t);
            t = Ticks();
        }
        DrawFrame();
        PaceFrom(t);
        t = Ticks();
    }
}

void CTSEventWnd::DrawFrame() {
    gfx::RenderDevice& device = gfx::RenderDevice::Instance();
    std::lock_guard lock(device.Lock());
    if (CTSWndMgr* mgr = CTSWndMgr::Instance()) mgr->OnFrameBegin();
    device.Clear(0xFF000000);
    device.BeginScene();
    Draw();
    OnAfterDraw();
    OnAfterDraw2();
    OnFrameEnd();
    device.EndScene();
    device.Present();
}

void CTSEventWnd::OnFrameEnd() {
    ++g_frameCounter;
}

// ---------------------------------------------------------------- timers

void CTSEventWnd::UpdateClock() {
    uint32_t now = Ticks();
    m_elapsed = now > m_startTick ? now - m_startTick : 0;
}

void CTSEventWnd::StartTimer(int index, uint32_t intervalMs) {
    if (index < 0 || index >= 8) return;
    Timer& timer = m_timers[index];
    timer.m_callback = index;
    timer.m_pOwner = this;
    timer.m_interval = intervalMs;
    UpdateClock();
    timer.m_lastFire = m_elapsed;
    timer.m_running = 1;
}

void CTSEventWnd::KillTimer(int index) {
    if (index < 0 || index >= 8) return;
    m_timers[index].m_running = 0;
    std::lock_guard lock(QueueLock());
    m_queue.Purge(kEvTimer, uint32_t(index), 0);
}

bool CTSEventWnd::IsTimerRunning(int index) const {
    return index >= 0 && index < 8 && m_timers[index].m_running != 0;
}

void CTSEventWnd::RunTimers() {
    UpdateClock();
    for (Timer& timer : m_timers) {
        if (timer.m_running != 0 && m_elapsed - timer.m_lastFire >= timer.m_interval) {
            timer.m_pOwner->OnTimer(timer.m_callback);
            timer.m_lastFire = m_elapsed;
        }
    }
}

int CTSEventWnd::SetActive(int flag) {
    int previous = m_active;
    m_active = flag;
    return previous;
}

// ---------------------------------------------------------------- buttons

void CTSEventWnd::RegisterButton(CTSButton* button) {
    button->m_pOwner = this;
    m_buttons.push_back(button);
}

void CTSEventWnd::UnregisterButton(CTSButton* button) {
    std::erase(m_buttons, button);
    if (m_pCapturedButton == button) m_pCapturedButton = nullptr;
    button->m_pOwner = nullptr;
}

CTSButton* CTSEventWnd::FindButton(uint16_t id) const {
    for (CTSButton* b : m_buttons)
        if (b->m_id == id && b->IsUsable()) return b;
    return nullptr;
}

CTSButton* CTSEventWnd::HitTest(TSPoint point) const {
    for (CTSButton* b : m_buttons)
        if (b->IsUsable() && b->GetRect().Contains(point.x, point.y)) return b;
    return nullptr;
}

CTSButton* CTSEventWnd::FocusedButton() const {
    for (CTSButton* b : m_buttons)
        if (b->IsUsable() && b->m_state == kBtnFocused) return b;
    return nullptr;
}

void CTSEventWnd::ButtonEvent(uint16_t id, int state) {
    if (CTSButton* button = FindButton(id)) {
        button->Press(state);
        if (button->m_deferNotify != 0) return;
    }
    const bool pressNotified = IsPressNotifiedId(id);
    if ((state == 0) != pressNotified) OnButton(id);
}

void CTSEventWnd::LongPress(uint16_t id) {
    CTSButton* button = FindButton(id);
    if (button != nullptr && button->m_deferNotify != 0) return;
    OnButtonHold(id);
}

void CTSEventWnd::OnPointerDown(TSPoint point, int) {
    if (CTSButton* button = HitTest(point)) ButtonEvent(button->m_id, 1);
}

void CTSEventWnd::OnPointerMove(TSPoint point, int) {
    for (CTSButton* b : m_buttons) b->OnPointerMove(point.x, point.y);
}

int CTSEventWnd::MoveFocus(int forward, int count, int firstId) {
    if (count <= 0) return 0;
    auto inRing = [&](int id) { return id >= firstId && id < firstId + count; };
    auto wrap = [&](int id) { return firstId + ((id - firstId) % count + count) % count; };
    CTSButton* focused = FocusedButton();
    CTSButton* next = nullptr;
    if (focused != nullptr && inRing(focused->m_id)) {
        int id = focused->m_id;
        for (int probe = 0; probe < count && next == nullptr; ++probe) {
            id = wrap(id + (forward != 0 ? 1 : -1));
            next = FindButton(uint16_t(id));
        }
    } else {
        int id = firstId;
        for (int probe = 0; probe < count + 1 && next == nullptr; ++probe) {
            next = FindButton(uint16_t(id));
            id = wrap(id + 1);
        }
    }
    if (next == nullptr) return 0;
    if (focused != nullptr) focused->SetFocus(false);
    next->SetFocus(true);
    return 1;
}

// ---------------------------------------------------------------- input

void CTSEventWnd::Step() {
    if (m_active != 0 && PollDevices() != 0) GenerateEvents();
}

void CTSEventWnd::GenerateEvents() {
    for (size_t index = 0; index < m_devices.size(); ++index) {
        if (m_active == 0) return;
        int32_t state;
        TSPoint point;
        int16_t delta;
        int32_t keyState;
        int32_t key;
        {
            // Consume under the lock: the platform thread may be writing a new state.
            std::lock_guard lock(QueueLock());
            PointerDevice& d = *m_devices[index];
            state = d.m_pointerState;
            point = d.m_pos;
            delta = d.m_wheelDelta;
            keyState = d.m_keyState;
            key = d.m_keyCode;
            if (state == kPtrPress || state == kPtrSecondary)
                d.m_pointerState = kPtrHeld;
            else if (state >= kPtrLongPress && state <= kPtrWheel)
                d.m_pointerState = kPtrIdle;
            d.m_keyState = kKeyNone;
        }
        const int device = int(index);
        const uint32_t p1 = PackPoint(point);
        switch (state) {
            case kPtrPress: {
                CTSButton* hit = HitTest(point);
                if (hit != nullptr && device == 0) {
                    m_pCapturedButton = hit;
                    ButtonEvent(hit->m_id, 1);
                } else {
                    PostEvent(kEvPointerDown, p1, uint32_t(device));
                }
                break;
            }
            case kPtrSecondary:
                PostEvent(kEvSecondaryDown, p1, uint32_t(device));
                break;
            case kPtrLongPress:
                if (m_pCapturedButton != nullptr) {
                    CTSButton* hit = HitTest(point);
                    if (hit != nullptr && device == 0) LongPress(hit->m_id);
                }
                break;
            case kPtrRelease: {
                CTSButton* hit = HitTest(point);
                if (hit != nullptr && device == 0) {
                    if (m_pCapturedButton != nullptr) {
                        m_pCapturedButton = nullptr;
                        ButtonEvent(hit->m_id, 0);
                    }
                } else {
                    PostEvent(kEvPointerUp, p1, uint32_t(device));
                    m_pCapturedButton = nullptr;
                }
                break;
            }
            case kPtrMove: {
                CTSButton* hit = HitTest(point);
                CTSButton* captured = m_pCapturedButton;
                if (captured != nullptr && captured->m_state == kBtnPressed && hit != captured) {
                    m_pCapturedButton = nullptr;
                    captured->Press(0);
                }
                PostEvent(kEvPointerMove, p1, uint32_t(device));
                break;
            }
            case kPtrWheel:
                PostEvent(kEvWheel, p1, uint32_t(uint16_t(delta)));
                break;
            default:
                break;
        }
        if (keyState == kKeyDown) {
            CTSButton* focused = FocusedButton();
            if (focused != nullptr && key == 13)
                ButtonEvent(focused->m_id, 1);
            else
                PostEvent(kEvKeyDown, uint32_t(key), uint32_t(device));
        }
    }
}

int CTSEventWnd::TestAnyInput(int flag) {
    std::lock_guard lock(QueueLock());
    for (auto& d : m_devices) {
        int32_t state = d->m_pointerState;
        int32_t keyState = d->m_keyState;
        int32_t key = d->m_keyCode;
        if (state == kPtrPress || state == kPtrSecondary)
            d->m_pointerState = kPtrHeld;
        else if (state >= kPtrLongPress && state <= kPtrWheel)
            d->m_pointerState = kPtrIdle;
        d->m_keyState = kKeyNone;
        if (state == kPtrPress || state == kPtrSecondary) return 1;
        if (keyState == kKeyDown && key == 13) return flag != 0 ? 1 : 0;
    }
    return 0;
}

PointerDevice* CTSEventWnd::DeviceAt(int device) {
    if (device < 0 || size_t(device) >= m_devices.size()) return nullptr;
    return m_devices[size_t(device)].get();
}

void CTSEventWnd::ReportPress(int device, int down, TSPoint point) {
    if (PointerDevice* d = DeviceAt(device))
        d->WritePointer(down != 0 ? kPtrPress : kPtrRelease, point);
}

void CTSEventWnd::ReportSecondary(int device, TSPoint point) {
    if (PointerDevice* d = DeviceAt(device)) d->WritePointer(kPtrSecondary, point);
}

void CTSEventWnd::ReportHold(int device, TSPoint point) {
    if (PointerDevice* d = DeviceAt(device)) d->WritePointer(kPtrLongPress, point);
}

void CTSEventWnd::ReportMove(int device, TSPoint point) {
    if (PointerDevice* d = DeviceAt(device)) d->WritePointer(kPtrMove, point);
}

void CTSEventWnd::ReportWheel(int device, int16_t delta, TSPoint point) {
    if (PointerDevice* d = DeviceAt(device)) {
        d->m_wheelDelta = delta;
        d->WritePointer(kPtrWheel, point);
    }
}

void CTSEventWnd::ReportKey(int device, int down, int key) {
    if (PointerDevice* d = DeviceAt(device)) d->WriteKey(down != 0 ? kKeyDown : kKeyUp, key);
}
