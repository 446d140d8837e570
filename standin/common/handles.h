// handles.h - the checked handle tables behind every HWND, HDC and GDI object handle.
// A handle encodes its kind, a slot index and the slot's generation, so a null, stale or
// wrong-kind handle is recognised and turned into the calling function's failure result.
#ifndef STANDIN_COMMON_HANDLES_H
#define STANDIN_COMMON_HANDLES_H

#include <cstdint>
#include <memory>
#include <vector>

namespace standin {

enum class HandleKind : uint8_t {
    None = 0,
    Pen,
    Brush,
    Font,
    Bitmap,
    Region,
    DC,
    Window,
    Cursor,
};

// Handle value layout: generation << 24 | slot << 4 | kind. Never 0, never dereferenced.
constexpr unsigned kHandleKindBits = 4;
constexpr unsigned kHandleSlotBits = 20;

inline HandleKind KindOfHandle(const void *handle)
{
    return static_cast<HandleKind>(reinterpret_cast<uintptr_t>(handle) & ((1u << kHandleKindBits) - 1));
}

// T must have a public `HandleKind kind` and `void *handle` that the table fills in.
template <class T>
class HandleTable {
public:
    // Takes ownership; returns the object's new handle.
    void *Add(std::unique_ptr<T> object)
    {
        uint32_t slot;
        if (!free_.empty()) {
            slot = free_.back();
            free_.pop_back();
        } else {
            slot = static_cast<uint32_t>(slots_.size());
            slots_.push_back(Slot{});
        }
        Slot &s = slots_[slot];
        s.object = std::move(object);
        void *handle = Encode(slot, s.generation, s.object->kind);
        s.object->handle = handle;
        ++live_;
        return handle;
    }

    // The object a handle names, or null when the handle is null, stale or of another kind.
    T *Find(const void *handle, HandleKind kind) const
    {
        T *object = FindAny(handle);
        return object && object->kind == kind ? object : nullptr;
    }

    T *FindAny(const void *handle) const
    {
        uintptr_t v = reinterpret_cast<uintptr_t>(handle);
        uint32_t slot = static_cast<uint32_t>((v >> kHandleKindBits) & ((1u << kHandleSlotBits) - 1));
        if (v == 0 || slot >= slots_.size())
            return nullptr;
        const Slot &s = slots_[slot];
        if (!s.object || s.object->handle != handle)
            return nullptr;
        return s.object.get();
    }

    // Destroys the object; its handle turns stale. Returns false for an unknown handle.
    bool Remove(const void *handle)
    {
        if (!FindAny(handle))
            return false;
        uint32_t slot = static_cast<uint32_t>((reinterpret_cast<uintptr_t>(handle) >> kHandleKindBits) &
                                              ((1u << kHandleSlotBits) - 1));
        // Move out first: the destructor may look into the table.
        std::unique_ptr<T> dying = std::move(slots_[slot].object);
        ++slots_[slot].generation;
        free_.push_back(slot);
        --live_;
        dying.reset();
        return true;
    }

    size_t LiveCount() const { return live_; }

    // Calls f(T&) for every live object; f must not add or remove objects.
    template <class F>
    void ForEach(F f) const
    {
        for (const Slot &s : slots_)
            if (s.object)
                f(*s.object);
    }

    // Handles of every live object, for callers that remove while walking.
    std::vector<void *> Handles() const
    {
        std::vector<void *> out;
        for (const Slot &s : slots_)
            if (s.object)
                out.push_back(s.object->handle);
        return out;
    }

private:
    struct Slot {
        std::unique_ptr<T> object;
        uintptr_t generation = 1;
    };

    static void *Encode(uint32_t slot, uintptr_t generation, HandleKind kind)
    {
        uintptr_t v = (generation << (kHandleKindBits + kHandleSlotBits)) |
                      (static_cast<uintptr_t>(slot) << kHandleKindBits) | static_cast<uintptr_t>(kind);
        return reinterpret_cast<void *>(v);
    }

    std::vector<Slot> slots_;
    std::vector<uint32_t> free_;
    size_t live_ = 0;
};

} // namespace standin

#endif // STANDIN_COMMON_HANDLES_H
