// The path search written out plainly, structure for structure: an open list kept sorted
// by f and searched linearly from the back, a 256-bucket table of expanded nodes with
// chains. Slow on big grids; the planner must return exactly its paths.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

namespace reference {

struct Node {
  Node* parent;
  int32_t x, y;
  float f, g;
  Node* next;  // chain of the expanded table's bucket
};

struct Options {
  bool diagonalMoves = false;
  bool diagonalCost = true;
};

struct Result {
  bool configured = false;
  std::vector<std::pair<int32_t, int32_t>> path;  // start first; empty: no path
};

class Search {
 public:
  Search(const double* costs, int32_t width, int32_t height, double weight, Options options)
      : costs_(costs), width_(width), height_(height), options_(options) {
    weight_ = static_cast<float>(std::max(0.0, std::min(weight, 1.0)));
  }

  Result Run(int32_t sx, int32_t sy, int32_t gx, int32_t gy) {
    Result result;
    if (sx < 0 || sx >= width_ || gx < 0 || gx >= width_) return result;
    if (sy < 0 || sy >= height_ || gy < 0 || gy >= height_) return result;
    if (sx == gx && sy == gy) return result;
    if (!BuildGrid()) return result;
    result.configured = true;
    gx_ = gx;
    gy_ = gy;
    pool_.assign(static_cast<size_t>(width_) * height_, Node{});
    Node* start = &pool_[used_++];
    *start = Node{nullptr, sx, sy, 0, 0, nullptr};
    open_.push_back(start);
    for (Node* node = Loop(); node != nullptr; node = node->parent) {
      result.path.insert(result.path.begin(), {node->x, node->y});
    }
    return result;
  }

 private:
  bool BuildGrid() {
    grid_.resize(static_cast<size_t>(width_) * height_);
    double largest = 0;
    for (size_t i = 0; i < grid_.size(); ++i) {
      double v = costs_[i];
      grid_[i] = v > 0 ? 1.0f : -1.0f;
      if (v > 0) largest = std::max(largest, v);
    }
    if (largest == 0) return false;
    for (size_t i = 0; i < grid_.size(); ++i) {
      if (grid_[i] > 0) grid_[i] = static_cast<float>(costs_[i] / largest + 1.0);
    }
    return true;
  }

  Node* Loop() {
    const float d = options_.diagonalCost ? 1.4142137f : 1.0f;
    const int32_t steps[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {1, 0},
                                 {-1, 0},  {-1, 1}, {0, 1},  {1, 1}};
    for (;;) {
      if (open_.empty()) return nullptr;
      Node* current = open_.back();
      open_.pop_back();
      if (current->x == gx_ && current->y == gy_) {
        HashInsert(current);
        return current;
      }
      for (const auto& step : steps) {
        bool diagonal = step[0] != 0 && step[1] != 0;
        if (diagonal && !options_.diagonalMoves) continue;
        int32_t nx = current->x + step[0], ny = current->y + step[1];
        if (nx < 0 || nx >= width_ || ny < 0 || ny >= height_) continue;
        float c = grid_[nx + ny * width_];
        if (c == -1.0f) continue;
        float g = current->g + (diagonal ? c * d : c);
        float h = static_cast<float>(std::abs(gx_ - nx) + std::abs(gy_ - ny));
        float f = (h - g) * weight_ + g;
        Visit(current, nx, ny, g, f);
      }
      HashInsert(current);
    }
  }

  void Visit(Node* current, int32_t nx, int32_t ny, float g, float f) {
    Node** link = HashFind(nx, ny);
    if (*link != nullptr) {
      Node* node = *link;
      if (node->g <= g) return;
      *link = node->next;
      Set(node, current, g, f);
      return;
    }
    for (size_t i = open_.size(); i-- > 0;) {
      Node* node = open_[i];
      if (node->x != nx || node->y != ny) continue;
      if (node->g <= g) return;
      open_.erase(open_.begin() + static_cast<std::ptrdiff_t>(i));
      Set(node, current, g, f);
      return;
    }
    Node* node = &pool_.at(used_++);
    node->x = nx;
    node->y = ny;
    Set(node, current, g, f);
  }

  // Sets the node's route and inserts it in front of every node with f <= its own.
  void Set(Node* node, Node* parent, float g, float f) {
    node->parent = parent;
    node->g = g;
    node->f = f;
    node->next = nullptr;
    auto at = std::partition_point(open_.begin(), open_.end(),
                                   [f](const Node* other) { return other->f > f; });
    open_.insert(at, node);
  }

  Node** HashFind(int32_t x, int32_t y) {
    Node** link = &buckets_[(x & 15) | ((y & 15) << 4)];
    while (*link != nullptr && ((*link)->x != x || (*link)->y != y)) link = &(*link)->next;
    return link;
  }

  void HashInsert(Node* node) {
    Node** head = &buckets_[(node->x & 15) | ((node->y & 15) << 4)];
    for (Node* n = *head; n != nullptr; n = n->next) {
      if (n == node) return;
    }
    node->next = *head;
    *head = node;
  }

  const double* costs_;
  int32_t width_, height_;
  Options options_;
  float weight_;
  int32_t gx_ = 0, gy_ = 0;
  std::vector<float> grid_;
  std::vector<Node> pool_;
  size_t used_ = 0;
  std::vector<Node*> open_;  // sorted by f, highest at the front
  std::array<Node*, 256> buckets_{};
};

inline Result FindPath(const std::vector<double>& costs, int32_t width, int32_t height,
                       double weight, int32_t sx, int32_t sy, int32_t gx, int32_t gy,
                       Options options = {}) {
  return Search(costs.data(), width, height, weight, options).Run(sx, sy, gx, gy);
}

}  // namespace reference
