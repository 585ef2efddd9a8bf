// Scripted dialogs: each HostDialog::run_modal takes the next queued answer
// (none queued: cancel), and every dialog is recorded as the plug-in built it.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace refhost {

struct DialogAnswer {
    // Cancelled, the boxes as shown, unless said otherwise.
    DialogAnswer(bool confirmed = false, std::optional<bool> first = {}, std::optional<bool> second_box = {},
                 std::optional<bool> third_box = {})
        : confirm(confirmed), checked(first), second(second_box), third(third_box) {}

    bool confirm;
    std::optional<bool> checked;  // the box as the user leaves it; unset: as shown
    std::optional<bool> second;   // likewise the second box, in a dialog that has one
    std::optional<bool> third;    // and the third
};

struct DialogItem {
    std::int32_t type = 0;
    std::string label;  // the bytes the plug-in passed
    std::int32_t extra = 0;
    bool checked = false;
};

struct DialogRecord {
    std::string title;  // the bytes the plug-in passed
    std::vector<DialogItem> items;
    std::vector<bool> initial_checks;  // as the plug-in set them before running
    bool ran = false;
    bool confirmed = false;
};

class DialogScript {
public:
    void queue_answer(DialogAnswer answer) { answers_.push_back(answer); }
    std::size_t queued_answers() const { return answers_.size(); }
    const std::vector<DialogRecord>& dialogs() const { return dialogs_; }

    // A new record; its index names it to the dialog object that fills it.
    std::size_t start_dialog() {
        dialogs_.emplace_back();
        return dialogs_.size() - 1;
    }
    DialogRecord& record(std::size_t index) { return dialogs_[index]; }
    // The oldest answer queued, taken off the queue; a cancel when none is.
    DialogAnswer next_answer() {
        if (answers_.empty()) return {};
        const DialogAnswer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

private:
    std::deque<DialogAnswer> answers_;
    std::vector<DialogRecord> dialogs_;
};

}  // namespace refhost
