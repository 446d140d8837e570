// The headless backend: no display at all. Windows exist only as client surfaces; input
// comes from tests through Inject, from any thread, and waits here until polled.
#include "user/backends/backend.h"

#include <atomic>
#include <cstdio>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace standin::user {

namespace {

class HeadlessBackend final : public Backend {
public:
    bool Create(Window &) override { return true; }
    void SetTitle(Window &) override {}
    void Show(Window &, bool) override {}
    void Present(Window &, const RECT &) override {}
    void SetCapture(Window *) override {}
    void Destroy(Window &) override {}
    SIZE ScreenSize() override { return SIZE{1920, 1080}; }
    uint64_t FrameIntervalNs() override { return 1000000000ull / 60; }

    int ShowBox(Window *, const BoxSpec &box, std::string &) override
    {
        std::fprintf(stderr, "%s: %s\n", box.caption.c_str(), box.text.c_str());
        return box.cancelButton >= 0 ? box.cancelButton : box.defaultButton;
    }

    void Poll(std::deque<InputEvent> &input) override
    {
        if (!hasPending_.load(std::memory_order_acquire))
            return;
        std::lock_guard lock(mutex_);
        for (InputEvent &e : pending_)
            input.push_back(e);
        pending_.clear();
        hasPending_.store(false, std::memory_order_release);
    }

    void Wait(uint64_t timeoutNs) override
    {
        std::unique_lock lock(mutex_);
        wake_.wait_for(lock, std::chrono::nanoseconds(timeoutNs), [&] { return !pending_.empty(); });
    }

    void Inject(const InputEvent &e) override
    {
        {
            std::lock_guard lock(mutex_);
            pending_.push_back(e);
            hasPending_.store(true, std::memory_order_release);
        }
        wake_.notify_one();
    }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<InputEvent> pending_;
    std::atomic<bool> hasPending_{false};
};

} // namespace

std::unique_ptr<Backend> MakeHeadlessBackend() { return std::make_unique<HeadlessBackend>(); }

} // namespace standin::user
