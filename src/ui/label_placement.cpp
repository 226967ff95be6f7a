#include "ui/label_placement.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace prrsim::ui {

namespace {

// Boxes filed by the grid cells they cover, so that a candidate is checked only against the
// boxes near it.
class BoxGrid {
  public:
    explicit BoxGrid(const ScreenBox& area)
        : area_(area),
          columns_(std::max(1, static_cast<int>(std::ceil(area.width / kCell)))),
          rows_(std::max(1, static_cast<int>(std::ceil(area.height / kCell)))),
          cells_(static_cast<size_t>(columns_ * rows_)) {}

    void add(const ScreenBox& box) {
        const auto index = static_cast<int>(boxes_.size());
        boxes_.push_back(box);
        forCells(box, [&](std::vector<int>& cell) {
            cell.push_back(index);
            return false;
        });
    }

    bool free(const ScreenBox& box) const {
        bool hit = false;
        forCells(box, [&](const std::vector<int>& cell) {
            hit = std::any_of(cell.begin(), cell.end(),
                              [&](int i) { return boxes_[static_cast<size_t>(i)].overlaps(box); });
            return hit;
        });
        return !hit;
    }

  private:
    static constexpr double kCell = 32;

    int column(double x) const {
        return std::clamp(static_cast<int>(std::floor((x - area_.x) / kCell)), 0, columns_ - 1);
    }
    int row(double y) const {
        return std::clamp(static_cast<int>(std::floor((y - area_.y) / kCell)), 0, rows_ - 1);
    }

    // Calls `visit` on each cell the box covers until it returns true.
    template <typename Self, typename Visit>
    static void forCellsOf(Self& self, const ScreenBox& box, Visit visit) {
        for (int r = self.row(box.y); r <= self.row(box.bottom()); ++r) {
            for (int c = self.column(box.x); c <= self.column(box.right()); ++c) {
                if (visit(self.cells_[static_cast<size_t>(r * self.columns_ + c)])) {
                    return;
                }
            }
        }
    }
    template <typename Visit>
    void forCells(const ScreenBox& box, Visit visit) {
        forCellsOf(*this, box, visit);
    }
    template <typename Visit>
    void forCells(const ScreenBox& box, Visit visit) const {
        forCellsOf(*this, box, visit);
    }

    ScreenBox area_;
    int columns_;
    int rows_;
    std::vector<std::vector<int>> cells_;
    std::vector<ScreenBox> boxes_;
};

// The box of a label of the given size at candidate `k` (0..7) around the anchor, `gap` beyond
// the symbol's edge.
ScreenBox candidate(const LabelRequest& r, double width, int k, double gap) {
    const double d = r.clearance + gap;
    const double h = r.height;
    const double ax = r.anchorX;
    const double ay = r.anchorY;
    switch (k) {
        case 0:
            return {ax + d, ay - h / 2, width, h};  // right
        case 1:
            return {ax - width / 2, ay + d, width, h};  // below
        case 2:
            return {ax - d - width, ay - h / 2, width, h};  // left
        case 3:
            return {ax - width / 2, ay - d - h, width, h};  // above
        case 4:
            return {ax + d, ay + d, width, h};  // below right
        case 5:
            return {ax + d, ay - d - h, width, h};  // above right
        case 6:
            return {ax - d - width, ay + d, width, h};  // below left
        default:
            return {ax - d - width, ay - d - h, width, h};  // above left
    }
}

constexpr int kCandidates = 8;

}  // namespace

LabelPlacement placeLabels(const std::vector<LabelRequest>& requests,
                           const std::vector<ScreenBox>& obstacles, const ScreenBox& viewport) {
    BoxGrid taken(viewport);
    for (const ScreenBox& box : obstacles) {
        taken.add(box);
    }
    std::vector<int> order(requests.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return requests[static_cast<size_t>(a)].priority >
               requests[static_cast<size_t>(b)].priority;
    });

    LabelPlacement result;
    for (const int i : order) {
        const LabelRequest& r = requests[static_cast<size_t>(i)];
        bool done = false;
        for (const bool shortText : {false, true}) {
            const double width = shortText ? r.shortWidth : r.width;
            if (done || width <= 0) {
                continue;
            }
            for (int ring = 0; ring < kPlacementRings && !done; ++ring) {
                for (int k = 0; k < kCandidates && !done; ++k) {
                    const ScreenBox box = candidate(r, width, k, ring * kLeaderStep);
                    if (box.inside(viewport) && taken.free(box)) {
                        taken.add(box);
                        result.placed.push_back({i, box, shortText, ring > 0});
                        result.shortened += shortText ? 1 : 0;
                        done = true;
                    }
                }
            }
        }
        result.leftOut += done ? 0 : 1;
    }
    return result;
}

std::optional<LeaderLine> leaderLine(const LabelRequest& r, const ScreenBox& box) {
    const double px = std::clamp(r.anchorX, box.x, box.right() - 1);
    const double py = std::clamp(r.anchorY, box.y, box.bottom() - 1);
    const double length = std::hypot(px - r.anchorX, py - r.anchorY);
    if (length <= r.clearance) {
        return std::nullopt;
    }
    const double k = r.clearance / length;
    return LeaderLine{r.anchorX + (px - r.anchorX) * k, r.anchorY + (py - r.anchorY) * k, px, py};
}

}  // namespace prrsim::ui
