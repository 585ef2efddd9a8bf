// Fault injection and call counting: every host operation the plug-in calls
// passes through call(); the N-th one can be made to throw a chosen value.
// Release and AddRef are not host operations in this sense: they never throw.
#pragma once

#include <cstdint>
#include <functional>

namespace refhost {

// The value thrown by default.
struct InjectedFault {
    std::uint64_t call;  // the number of the call that threw, from 1
};

class Faults {
public:
    // Counts one host call and throws if it is the chosen one.
    void call() {
        ++calls_;
        if (calls_ == fail_at_) {
            fail_at_ = 0;
            throw_();
        }
    }

    // Makes host call number n (from 1, counted from now on) throw value.
    template <class Value>
    void fail_at(std::uint64_t n, Value value) {
        fail_at_ = calls_ + n;
        throw_ = [value] { throw value; };
    }
    void fail_at(std::uint64_t n) { fail_at(n, InjectedFault{calls_ + n}); }
    void disarm() { fail_at_ = 0; }

    std::uint64_t calls() const { return calls_; }

private:
    std::uint64_t calls_ = 0;
    std::uint64_t fail_at_ = 0;
    std::function<void()> throw_;
};

}  // namespace refhost
