// Host objects handed out over and over: one whose last reference comes back
// is used again, so a long run does not grow.
#pragma once

#include <memory>
#include <utility>
#include <vector>

namespace refhost {

template <class T>
class Pool {
public:
    template <class... Args>
    T* take(Args&&... args) {
        if (free_.empty()) return all_.emplace_back(std::make_unique<T>(std::forward<Args>(args)...)).get();
        T* object = free_.back();
        free_.pop_back();
        return object;
    }
    void give_back(T* object) { free_.push_back(object); }

private:
    std::vector<std::unique_ptr<T>> all_;
    std::vector<T*> free_;
};

}  // namespace refhost
