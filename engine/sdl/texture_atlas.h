// Atlas pages: large textures into which loaded images are packed side by
// side, each with a gutter of its own edge texels, so that many images share
// one texture and quads of different images can go out in one draw.
#pragma once

#include <vector>

#include "engine/sdl/sdl_handles.h"

// Where an image's surface lies in the atlas, in page texels.
struct AtlasPlace {
  int page = -1;  // -1: not placed
  int x = 0, y = 0;
};

class TextureAtlas {
 public:
  // Texels of edge repeated around every surface: linear filtering reads half
  // a texel beyond the edge, and the software renderer's texel correction
  // one more.
  static constexpr int kGutter = 2;
  // Side of a shared page when the renderer allows it.
  static constexpr int kPageSide = 2048;

  // Pages store premultiplied texels when premultiplied is true. Without
  // sharing, every image gets a page of its own.
  void Attach(SDL_Renderer* renderer, bool premultiplied, bool share, int maxTextureSide);
  // Frees every page.
  void Clear();

  // Copies the ARGB8888 surface with its gutter into a page (a page of its
  // own when it is too large to share one). False when no page can hold it.
  bool Add(SDL_Surface* surface, AtlasPlace& place);
  // Forgets one image; a page that holds no image any more is freed.
  void Remove(const AtlasPlace& place);

  SDL_Texture* Page(int page) const { return pages_[static_cast<size_t>(page)].texture.get(); }
  int PageWidth(int page) const { return pages_[static_cast<size_t>(page)].width; }
  int PageHeight(int page) const { return pages_[static_cast<size_t>(page)].height; }
  int PageCount() const { return static_cast<int>(pages_.size()); }

 private:
  // Images go in rows (shelves) from top to bottom, each row as high as its
  // tallest image.
  struct PageSlot {
    TextureHandle texture;
    int width = 0, height = 0;
    int shelfY = 0, shelfHeight = 0, cursorX = 0;
    int images = 0;
    bool shared = true;
  };

  bool fits(PageSlot& page, int width, int height, int& x, int& y) const;
  int newPage(int width, int height, bool shared);

  SDL_Renderer* renderer_ = nullptr;
  bool premultiplied_ = false;
  bool share_ = true;
  int maxSide_ = 0;
  std::vector<PageSlot> pages_;  // freed pages stay as empty entries
};
