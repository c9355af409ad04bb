// Shelf packing of image surfaces into atlas pages, with edge gutters and
// optional premultiplication of the stored texels.
#include "engine/sdl/texture_atlas.h"

#include <algorithm>

void TextureAtlas::Attach(SDL_Renderer* renderer, bool premultiplied, bool share, int maxTextureSide) {
  Clear();
  renderer_ = renderer;
  premultiplied_ = premultiplied;
  share_ = share;
  maxSide_ = maxTextureSide;
}

void TextureAtlas::Clear() { pages_.clear(); }

bool TextureAtlas::fits(PageSlot& page, int width, int height, int& x, int& y) const {
  if (!page.texture || !page.shared) return false;
  if (page.cursorX + width <= page.width && page.shelfY + height <= page.height) {
    x = page.cursorX;
    y = page.shelfY;
    return true;
  }
  // Next shelf, below the tallest image of this one.
  const int nextY = page.shelfY + page.shelfHeight;
  if (width > page.width || nextY + height > page.height) return false;
  page.shelfY = nextY;
  page.shelfHeight = 0;
  page.cursorX = 0;
  x = 0;
  y = nextY;
  return true;
}

int TextureAtlas::newPage(int width, int height, bool shared) {
  TextureHandle texture(
      SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, width, height));
  if (!texture) return -1;
  PageSlot page;
  page.texture = std::move(texture);
  page.width = width;
  page.height = height;
  page.shared = shared;
  for (size_t i = 0; i < pages_.size(); ++i) {
    if (!pages_[i].texture) {
      pages_[i] = std::move(page);
      return static_cast<int>(i);
    }
  }
  pages_.push_back(std::move(page));
  return static_cast<int>(pages_.size()) - 1;
}

bool TextureAtlas::Add(SDL_Surface* surface, AtlasPlace& place) {
  if (!renderer_ || !surface || surface->w <= 0 || surface->h <= 0) return false;
  const int limit = maxSide_ > 0 ? maxSide_ : 1 << 30;
  const int sharedSide = std::min(kPageSide, limit);
  // An image too large for the gutter keeps a page of exactly its size: the
  // renderer clamps at a texture's edge, which repeats the edge texels too.
  const bool gutterFits = surface->w + 2 * kGutter <= limit && surface->h + 2 * kGutter <= limit;
  const int gutter = gutterFits ? kGutter : 0;
  const int width = surface->w + 2 * gutter, height = surface->h + 2 * gutter;
  if (width > limit || height > limit) return false;

  int page = -1, x = 0, y = 0;
  if (share_ && width <= sharedSide && height <= sharedSide) {
    for (size_t i = 0; i < pages_.size() && page < 0; ++i)
      if (fits(pages_[i], width, height, x, y)) page = static_cast<int>(i);
    if (page < 0) {
      page = newPage(sharedSide, sharedSide, true);
      if (page < 0 || !fits(pages_[static_cast<size_t>(page)], width, height, x, y)) return false;
    }
  } else {
    page = newPage(width, height, false);
    if (page < 0) return false;
  }

  // The surface with its gutter: coordinates outside the surface read its
  // nearest edge texel.
  std::vector<Uint32> staging(static_cast<size_t>(width) * static_cast<size_t>(height));
  if (SDL_LockSurface(surface) != 0) return false;
  for (int row = 0; row < height; ++row) {
    const int sourceRow = std::clamp(row - gutter, 0, surface->h - 1);
    const auto* source =
        reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(surface->pixels) + sourceRow * surface->pitch);
    Uint32* target = staging.data() + static_cast<size_t>(row) * static_cast<size_t>(width);
    for (int column = 0; column < width; ++column) {
      Uint32 texel = source[std::clamp(column - gutter, 0, surface->w - 1)];
      if (premultiplied_) {
        const Uint32 alpha = texel >> 24;
        auto scale = [alpha](Uint32 channel) { return (channel * alpha + 127) / 255; };
        texel = alpha << 24 | scale((texel >> 16) & 0xFF) << 16 | scale((texel >> 8) & 0xFF) << 8 | scale(texel & 0xFF);
      }
      target[column] = texel;
    }
  }
  SDL_UnlockSurface(surface);
  PageSlot& target = pages_[static_cast<size_t>(page)];
  const SDL_Rect area{x, y, width, height};
  if (SDL_UpdateTexture(target.texture.get(), &area, staging.data(), width * 4) != 0) {
    if (target.images == 0) target = PageSlot{};
    return false;
  }
  if (target.shared) {
    target.cursorX = x + width;
    target.shelfHeight = std::max(target.shelfHeight, height);
  }
  ++target.images;
  place.page = page;
  place.x = x + gutter;
  place.y = y + gutter;
  return true;
}

void TextureAtlas::Remove(const AtlasPlace& place) {
  if (place.page < 0 || static_cast<size_t>(place.page) >= pages_.size()) return;
  PageSlot& page = pages_[static_cast<size_t>(place.page)];
  if (page.images > 0 && --page.images == 0) page = PageSlot{};
}
