// Placing labels so that none covers another: each stays at its anchor when
// it can, else moves up or down in steps of its height to the nearest free
// place; a moved label is joined to its anchor by a leader line.
#pragma once

#include <string>
#include <vector>

namespace ftv_cli {

struct LabelBox {
    double x, y;           // the anchor, where the label's centre would be
    double width, height;  // the label's box
};

struct PlacedLabel {
    double x, y;  // the centre of the box as placed
    bool moved;   // away from its anchor: draw a leader line
};

// Labels placed in the order given, each clear of all placed before it by
// at least gap; boxes that overlap nothing stay where they are.
std::vector<PlacedLabel> place_labels(const std::vector<LabelBox>& labels, double gap = 2);

// The width a label of this UTF-8 text takes at a font size: wide (CJK)
// characters a full em, others about six tenths; generous, so that boxes
// placed apart stay apart whatever font draws them.
double label_width(const std::string& text, double font_size);

}  // namespace ftv_cli
