// Queueing triangles and handing them to SDL in one call per run.
#include "engine/sdl/quad_batch.h"

void QuadBatch::Attach(SDL_Renderer* renderer) {
  renderer_ = renderer;
  page_ = nullptr;
  blend_ = SDL_BLENDMODE_INVALID;
  vertices_.clear();
  indices_.clear();
  vertices_.reserve(kMaxVertices);
  indices_.reserve(kMaxVertices * 3);
  draws_ = 0;
}

void QuadBatch::Polygon(const SDL_Vertex* vertices, int count) {
  if (count < 3) return;
  if (vertices_.size() + static_cast<size_t>(count) > kMaxVertices) Flush();
  const int base = static_cast<int>(vertices_.size());
  vertices_.insert(vertices_.end(), vertices, vertices + count);
  for (int i = 1; i + 1 < count; ++i) {
    indices_.push_back(base);
    indices_.push_back(base + i);
    indices_.push_back(base + i + 1);
  }
}

void QuadBatch::Triangle(const SDL_Vertex& a, const SDL_Vertex& b, const SDL_Vertex& c) {
  const SDL_Vertex triangle[3] = {a, b, c};
  Polygon(triangle, 3);
}

void QuadBatch::Flush() {
  if (indices_.empty()) return;
  if (renderer_ && page_) {
    SDL_SetTextureBlendMode(page_, blend_);
    SDL_RenderGeometry(renderer_, page_, vertices_.data(), static_cast<int>(vertices_.size()), indices_.data(),
                       static_cast<int>(indices_.size()));
    ++draws_;
    ++drawsEver_;
  }
  vertices_.clear();
  indices_.clear();
}
