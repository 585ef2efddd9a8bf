#include "host_objects/ledger.h"

#include <sstream>

namespace refhost {

void Ledger::released_without_reference(const LedgerEntry* entry) {
    std::ostringstream line;
    line << "released without a reference: " << entry->what() << " at " << entry;
    faults_.push_back(line.str());
}

std::string Ledger::report() const {
    std::ostringstream out;
    for (const LedgerEntry* entry : entries_) {
        if (entry->held() != 0) {
            out << "still held: " << entry->what() << " at " << entry << " (" << entry->held() << ")\n";
        }
    }
    if (added_ != 0) out << "references added by the plug-in: " << added_ << "\n";
    for (const std::string& fault : faults_) out << fault << "\n";
    return out.str();
}

}  // namespace refhost
