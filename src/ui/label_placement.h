#pragma once

// Places the map's labels so that no two overlap each other or a symbol: each label tries the
// positions around its object in turn (right, below, left, above, the corners), first next to
// the symbol, then farther out with a leader line; a label that fits nowhere tries its short
// text (the object's number); one that still fits nowhere is left out. Higher priority places
// first. Pure screen-rectangle arithmetic, no drawing.

#include <cstdint>
#include <optional>
#include <vector>

namespace prrsim::ui {

// An axis-aligned box on the screen; right and bottom edges exclusive.
struct ScreenBox {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    double right() const { return x + width; }
    double bottom() const { return y + height; }
    // Boxes that only touch do not overlap, whatever the rounding of their edges.
    bool overlaps(const ScreenBox& other) const {
        return x < other.right() - kTouch && other.x < right() - kTouch &&
               y < other.bottom() - kTouch && other.y < bottom() - kTouch;
    }
    static constexpr double kTouch = 1e-6;
    bool inside(const ScreenBox& area) const {
        return x >= area.x && y >= area.y && right() <= area.right() && bottom() <= area.bottom();
    }
};

struct LabelRequest {
    double anchorX = 0;  // the object's screen position
    double anchorY = 0;
    double clearance = 0;  // half the symbol's extent: the label keeps outside it
    double width = 0;      // the full text's box
    double height = 0;
    double shortWidth = 0;  // the short text's box (0: no short text)
    int priority = 0;       // higher places first
};

struct PlacedLabel {
    int request = -1;  // index into the requests
    ScreenBox box;
    bool shortText = false;
    bool leader = false;  // moved away from its object: drawn with a line to it
};

struct LabelPlacement {
    std::vector<PlacedLabel> placed;
    int leftOut = 0;
    int shortened = 0;
};

// Candidate distances beyond the clearance: next to the symbol, then two steps out.
inline constexpr double kLeaderStep = 14;
inline constexpr int kPlacementRings = 3;

// Places `requests` inside `viewport` clear of `obstacles` (symbols, texts) and of each other.
LabelPlacement placeLabels(const std::vector<LabelRequest>& requests,
                           const std::vector<ScreenBox>& obstacles, const ScreenBox& viewport);

// The line of a label moved away from its object: from the edge of the symbol's clearance to the
// nearest point of the label's box; none when the box is within the clearance.
struct LeaderLine {
    double fromX = 0;
    double fromY = 0;
    double toX = 0;
    double toY = 0;
};
std::optional<LeaderLine> leaderLine(const LabelRequest& request, const ScreenBox& box);

}  // namespace prrsim::ui
