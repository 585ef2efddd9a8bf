// HostRef: the one holder of host objects.
//
// adopt() takes over the single reference a host operation handed out and gives
// it back with Release when the holder goes, on every path, exceptions
// included. lent() holds an object the plug-in must never release (a scene or
// shape lent to a handler, a scene-owned object). The holder never adds a
// reference. While it holds a counted reference it is noted with the innermost
// EntryFrame, which releases it should a foreign exception abandon the holder
// (entry_frame.h).
#pragma once

#include <utility>

#include "host/entry_frame.h"

namespace ftv {

template <class T>
class HostRef : private HeldNote {
public:
    HostRef() = default;
    static HostRef adopt(T* object) { return HostRef(object, true); }
    static HostRef lent(T* object) { return HostRef(object, false); }

    HostRef(HostRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)), owned_(other.owned_) {
        take_over(other);
    }
    HostRef& operator=(HostRef&& other) noexcept {
        if (this != &other) {
            reset();
            object_ = std::exchange(other.object_, nullptr);
            owned_ = other.owned_;
            take_over(other);
        }
        return *this;
    }
    HostRef(const HostRef&) = delete;
    HostRef& operator=(const HostRef&) = delete;
    ~HostRef() { reset(); }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

    // Moves on to next, handed out with one reference of its own, or the held
    // object itself moved along in place, which carries no new reference.
    void advance(T* next) {
        if (next != object_) {
            reset();
            object_ = next;
            owned_ = true;
            note(next);
        }
    }

    void reset() {
        if (T* object = std::exchange(object_, nullptr); object != nullptr && owned_) {
            forget();
            object->Release();
        }
    }

private:
    HostRef(T* object, bool owned) : object_(object), owned_(owned) {
        if (owned) note(object);
    }

    T* object_ = nullptr;
    bool owned_ = false;
};

template <class T>
HostRef<T> adopt(T* object) {
    return HostRef<T>::adopt(object);
}

}  // namespace ftv
