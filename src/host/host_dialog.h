// HostDialog: a modal dialog the host builds and runs. Items are numbered from
// 0 in the order they were added.
#pragma once

#include "host/host_object.h"

namespace ftv {

class HostDialog : public IUnknown {
public:
    static constexpr std::int32_t kCheckbox = 1;

    virtual void set_title(const char* title, void* = nullptr) = 0;
    // Appends an item of the given type (kCheckbox) with a label; the last argument is 0.
    virtual void add_checkbox(std::int32_t type, const char* label, std::int32_t, void* = nullptr) = 0;
    virtual void set_checked(std::int32_t item, bool checked, void* = nullptr) = 0;
    // Shows the dialog until the user closes it; true when confirmed. The argument is 0.
    virtual bool run_modal(std::int32_t, void* = nullptr) = 0;
    virtual void is_checked(std::int32_t item, bool* checked, void* = nullptr) = 0;

protected:
    ~HostDialog() = default;
};

}  // namespace ftv
