// Placing labels so that none covers another: each stays at its anchor when
// it can, else moves up or down in steps of its height to the nearest free
// place a few steps away; a moved label is joined to its anchor by a leader
// line, and one that finds no free place is left out rather than stacked
// far from what it names.
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
    bool shown;   // false: no free place near its anchor, left out
};

// How many steps of its height a label may move above or below its anchor.
constexpr int kLabelSteps = 3;

// Labels placed in the order given, each clear of all shown before it by at
// least gap and wholly inside the area from (0, 0) to (width, height); boxes
// that overlap nothing stay where they are.
std::vector<PlacedLabel> place_labels(const std::vector<LabelBox>& labels, double width, double height,
                                      double gap = 2);

// The width a label of this UTF-8 text takes at a font size: wide (CJK)
// characters a full em, others about six tenths; generous, so that boxes
// placed apart stay apart whatever font draws them.
double label_width(const std::string& text, double font_size);

}  // namespace ftv_cli
