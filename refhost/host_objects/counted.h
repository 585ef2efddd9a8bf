// The reference counting every reference-host object shares: AddRef and
// Release report to the ledger, and every other operation passes through the
// fault injector first.
//
// Objects belong to the reference host, never to the plug-in: a Release frees
// nothing, so a release too many is recorded, not a crash.
#pragma once

#include <cstdint>

#include "host/com.h"
#include "host_objects/faults.h"
#include "host_objects/ledger.h"

namespace refhost {

// What every object of one reference host shares.
struct Accounts {
    Ledger ledger;
    Faults faults;
};

template <class Interface>
class Counted : public Interface, public LedgerEntry {
public:
    Counted(Accounts& accounts, const char* what) : accounts_(&accounts), what_(what) {
        accounts.ledger.track(this);
    }
    Counted(const Counted&) = delete;
    Counted& operator=(const Counted&) = delete;

    ftv::HResult FTV_STDCALL QueryInterface(const ftv::GUID&, void**) override { return ftv::kNoInterface; }
    ftv::RefCount FTV_STDCALL AddRef() override {
        accounts_->ledger.added();
        return ++held_;
    }
    ftv::RefCount FTV_STDCALL Release() override {
        if (held_ == 0) {
            accounts_->ledger.released_without_reference(this);
            return 0;
        }
        accounts_->ledger.released();
        if (--held_ == 0) unreferenced();
        return held_;
    }

    // Records one reference handed to the plug-in and returns the object.
    Interface* hand_out() {
        accounts_->ledger.handed_out();
        ++held_;
        return this;
    }

    std::uint32_t held() const override { return held_; }
    const char* what() const override { return what_; }
    Accounts& accounts() const { return *accounts_; }

protected:
    // Called first by every host operation.
    void operation() const { accounts_->faults.call(); }
    // The plug-in gave back its last reference; pooled objects return to their pool.
    virtual void unreferenced() {}

private:
    Accounts* accounts_;
    const char* what_;
    std::uint32_t held_ = 0;
};

}  // namespace refhost
