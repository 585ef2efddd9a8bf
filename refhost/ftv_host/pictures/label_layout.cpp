#include "pictures/label_layout.h"

#include <cmath>

namespace ftv_cli {

namespace {

bool overlap(const PlacedLabel& a, const LabelBox& a_box, const PlacedLabel& b, const LabelBox& b_box, double gap) {
    return std::fabs(a.x - b.x) < (a_box.width + b_box.width) / 2 + gap &&
           std::fabs(a.y - b.y) < (a_box.height + b_box.height) / 2 + gap;
}

}  // namespace

std::vector<PlacedLabel> place_labels(const std::vector<LabelBox>& labels, double width, double height,
                                      double gap) {
    std::vector<PlacedLabel> placed;
    for (const LabelBox& box : labels) {
        const double step = box.height + gap;
        PlacedLabel chosen{box.x, box.y, false, false};
        // Candidates nearest first: the anchor, then one step below, one above, two below...
        for (int k = 0; k <= 2 * kLabelSteps && !chosen.shown; ++k) {
            const double offset = (k % 2 == 1 ? 1 : -1) * ((k + 1) / 2) * step;
            const PlacedLabel candidate{box.x, box.y + offset, k != 0, true};
            bool clear = candidate.x - box.width / 2 >= 0 && candidate.x + box.width / 2 <= width &&
                         candidate.y - box.height / 2 >= 0 && candidate.y + box.height / 2 <= height;
            for (std::size_t j = 0; j < placed.size() && clear; ++j)
                clear = !placed[j].shown || !overlap(candidate, box, placed[j], labels[j], gap);
            if (clear) chosen = candidate;
        }
        placed.push_back(chosen);
    }
    return placed;
}

double label_width(const std::string& text, double font_size) {
    double ems = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) == 0x80) continue;  // continuation bytes belong to the character before
        ems += byte >= 0xE0 ? 1.0 : 0.62;
    }
    return ems * font_size + 6;  // with a little room on either side
}

}  // namespace ftv_cli
