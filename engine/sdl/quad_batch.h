// The one vertex and index buffer that all quads of a frame go into. It goes
// to the renderer as one draw when the texture page or the blend state
// changes, before the clipping rectangle changes, and at the end of the scene.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/sdl/sdl_handles.h"

class QuadBatch {
 public:
  void Attach(SDL_Renderer* renderer);

  // Makes the page and blend mode current, drawing what was queued under
  // others first.
  void Use(SDL_Texture* page, SDL_BlendMode blend) {
    if (page != page_ || blend != blend_) {
      Flush();
      page_ = page;
      blend_ = blend;
    }
  }
  // Queues a convex polygon as a triangle fan of count vertices (3 or more).
  void Polygon(const SDL_Vertex* vertices, int count);
  // Queues one triangle with vertices of its own.
  void Triangle(const SDL_Vertex& a, const SDL_Vertex& b, const SDL_Vertex& c);

  // Draws what is queued; counts one draw when anything was.
  void Flush();
  // Draws ever made; changes whenever the target does through this batch.
  uint64_t DrawsEver() const { return drawsEver_; }
  // Draws since the last call, which starts the count afresh.
  int TakeDrawCount() {
    const int count = draws_;
    draws_ = 0;
    return count;
  }

 private:
  // Past this many vertices the batch goes out early; the buffers never grow
  // beyond it, so frames allocate nothing once it is reached.
  static constexpr size_t kMaxVertices = 1 << 15;

  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* page_ = nullptr;
  SDL_BlendMode blend_ = SDL_BLENDMODE_INVALID;
  std::vector<SDL_Vertex> vertices_;
  std::vector<int> indices_;
  int draws_ = 0;
  uint64_t drawsEver_ = 0;
};
