// The reference ledger: every counted object the host hands to the plug-in,
// and every reference given back. A run is balanced when the plug-in holds
// nothing, released nothing it did not hold, and added no reference itself.
//
// Each object keeps the number of references the plug-in holds on it (see
// Counted); the ledger keeps the totals and, for the report, a list of every
// object that was ever counted.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace refhost {

class LedgerEntry {
public:
    virtual ~LedgerEntry() = default;
    virtual std::uint32_t held() const = 0;
    virtual const char* what() const = 0;
};

class Ledger {
public:
    void track(const LedgerEntry* entry) { entries_.push_back(entry); }

    void handed_out() { ++outstanding_; }
    void added() {
        ++outstanding_;
        ++added_;
    }
    void released() { --outstanding_; }
    void released_without_reference(const LedgerEntry* entry);

    // References the plug-in holds now.
    std::int64_t outstanding() const { return outstanding_; }
    const std::vector<std::string>& faults() const { return faults_; }

    bool balanced() const { return outstanding_ == 0 && faults_.empty() && added_ == 0; }
    // What is unbalanced, a line per object or fault; empty when balanced.
    std::string report() const;

private:
    std::vector<const LedgerEntry*> entries_;
    std::int64_t outstanding_ = 0;
    std::uint64_t added_ = 0;
    std::vector<std::string> faults_;
};

}  // namespace refhost
