// EntryFrame: set up first by every plug-in entry point that the host calls and
// that reaches host objects (through enter_from_host, below), so that a host
// exception passing back through the plug-in still finds every counted host
// reference released.
//
// A host built with the platform's C++ compiler on Windows unwinds its
// exceptions by structured exception handling, which passes over g++'s frames
// without running their destructors: a HostRef on the way would never release.
// So on Windows an EntryFrame registers a structured-exception handler for the
// length of the call, and every HostRef that holds a counted reference notes
// itself with the innermost frame until it lets go (HeldNote). When a foreign
// exception unwinds past the frame, the handler releases what is still noted,
// newest first, and lets the unwinding go on to the host. A g++ exception (a
// host built with g++) runs the destructors as usual: they take their notes
// back and the frame closes normally.
//
// Elsewhere the destructors always run, and both classes are empty but for
// the check of debug builds: a counted reference noted while no frame is open
// stops the program at once, so that an entry point without a frame is found
// by every test that passes through it, not only by a fault sweep on Windows.
//
// Frames nest (a pane click during a modal dialog); one thread only, as every
// host call comes from the host's user-interface thread. Nothing allocates.
#pragma once

#include <cassert>

#include "host/com.h"

#ifdef _WIN32

#include <windows.h>

#include <cstddef>
#include <utility>

namespace ftv {

class EntryFrame;

// One counted host reference, noted with the innermost EntryFrame while held.
// A link of the frame's circular list; the frame's own note is the list's head.
class HeldNote {
protected:
    HeldNote() = default;
    HeldNote(const HeldNote&) = delete;
    HeldNote& operator=(const HeldNote&) = delete;
    ~HeldNote() { forget(); }

    inline void note(IUnknown* object);
    // Takes other's place in its frame's list, if it has one.
    void take_over(HeldNote& other) {
        forget();
        if (other.object_ == nullptr) return;
        object_ = std::exchange(other.object_, nullptr);
        prev_ = other.prev_;
        next_ = other.next_;
        prev_->next_ = this;
        next_->prev_ = this;
    }
    void forget() {
        if (object_ == nullptr) return;
        prev_->next_ = next_;
        next_->prev_ = prev_;
        object_ = nullptr;
    }

private:
    friend class EntryFrame;
    HeldNote* prev_ = nullptr;
    HeldNote* next_ = nullptr;
    IUnknown* object_ = nullptr;  // null while not in a list
};

class EntryFrame {
public:
    EntryFrame() : registration_{chain(), &on_exception}, outer_(innermost()) {
        held_.prev_ = held_.next_ = &held_;
        set_chain(&registration_);
        innermost() = this;
    }
    // The normal way out, or a g++ exception: every HostRef has let go already.
    ~EntryFrame() {
        set_chain(registration_.Next);
        innermost() = outer_;
    }
    EntryFrame(const EntryFrame&) = delete;
    EntryFrame& operator=(const EntryFrame&) = delete;

    // The frame of the innermost entry still running, or null outside any.
    static EntryFrame*& innermost() {
        static EntryFrame* frame = nullptr;
        return frame;
    }

private:
    friend class HeldNote;

    // The thread's chain of registrations starts at fs:0 on 32-bit Windows.
    static EXCEPTION_REGISTRATION_RECORD* chain() {
        EXCEPTION_REGISTRATION_RECORD* head;
        asm volatile("movl %%fs:0, %0" : "=r"(head));
        return head;
    }
    static void set_chain(EXCEPTION_REGISTRATION_RECORD* head) {
        asm volatile("movl %0, %%fs:0" : : "r"(head) : "memory");
    }

    // Called by the system with the registration's address. While the
    // exception is still being dispatched there is nothing to do; when it
    // unwinds past this frame, the g++ frames inside are abandoned, so their
    // references are released here. The system takes the registration off the
    // chain itself.
    static EXCEPTION_DISPOSITION NTAPI on_exception(EXCEPTION_RECORD* record, void* registration, CONTEXT*, void*) {
        if (record->ExceptionFlags & EXCEPTION_UNWINDING) {
            auto* frame = reinterpret_cast<EntryFrame*>(static_cast<char*>(registration) -
                                                        offsetof(EntryFrame, registration_));
            frame->release_held();
            innermost() = frame->outer_;
        }
        return ExceptionContinueSearch;
    }

    void release_held() {
        while (held_.prev_ != &held_) {
            HeldNote* newest = held_.prev_;
            IUnknown* object = newest->object_;
            newest->forget();
            object->Release();
        }
    }

    // First, so that the system can find the frame from it; on the stack, as
    // the system requires.
    EXCEPTION_REGISTRATION_RECORD registration_;
    EntryFrame* outer_;
    HeldNote held_;
};

void HeldNote::note(IUnknown* object) {
    forget();
    EntryFrame* frame = EntryFrame::innermost();
    if (object == nullptr) return;
    assert(frame != nullptr && "a counted host reference held with no entry frame open");
    if (frame == nullptr) return;
    object_ = object;
    next_ = &frame->held_;
    prev_ = frame->held_.prev_;
    prev_->next_ = this;
    next_->prev_ = this;
}

}  // namespace ftv

#else

namespace ftv {

class EntryFrame {
public:
#ifdef NDEBUG
    EntryFrame() {}
#else
    EntryFrame() { ++open(); }
    ~EntryFrame() { --open(); }
    // How many frames are open now.
    static int& open() {
        static int frames = 0;
        return frames;
    }
#endif
    EntryFrame(const EntryFrame&) = delete;
    EntryFrame& operator=(const EntryFrame&) = delete;
};

class HeldNote {
protected:
    void note([[maybe_unused]] IUnknown* object) {
        assert((object == nullptr || EntryFrame::open() > 0) && "a counted host reference held with no entry frame open");
    }
    void take_over(HeldNote&) {}
    void forget() {}
};

}  // namespace ftv

#endif

namespace ftv {

// The one way in from the host for an entry point that reaches host objects:
// runs body inside an entry frame and answers what it answers.
template <class Body>
decltype(auto) enter_from_host(Body&& body) {
    const EntryFrame frame;
    return body();
}

}  // namespace ftv
