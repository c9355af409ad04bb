// Textures of the shared SDL engine: decoding images, padding them to
// power-of-two surfaces and placing those in the atlas pages.
#include "engine/sdl/sdl_engine_core.h"

#include <SDL2/SDL_image.h>

#include "engine/sdl/image_header.h"
#include "engine/sdl/png_inflation.h"

#include <cstring>

namespace {

// Larger images are refused: a catalogue image has no use for more, and at
// this size one padded image already takes 64 MiB.
constexpr int kMaxImageSide = 4096;

int nextPowerOfTwo(int value) {
  int result = 1;
  while (result < value) result *= 2;
  return result;
}

// Copies the ARGB8888 image into the top-left of the larger ARGB8888
// surface and repeats its last column and row into the rest.
void copyPadded(SDL_Surface* image, SDL_Surface* padded) {
  const int width = image->w;
  const int height = image->h;
  for (int y = 0; y < padded->h; ++y) {
    const auto* source = reinterpret_cast<const Uint32*>(static_cast<const uint8_t*>(image->pixels) +
                                                         (y < height ? y : height - 1) * image->pitch);
    auto* target = reinterpret_cast<Uint32*>(static_cast<uint8_t*>(padded->pixels) + y * padded->pitch);
    std::memcpy(target, source, static_cast<size_t>(width) * sizeof(Uint32));
    for (int x = width; x < padded->w; ++x) target[x] = source[width - 1];
  }
}

}  // namespace

SdlEngineCore::TextureSlot* SdlEngineCore::findTexture(HTEXTURE texture) {
  if (texture == 0 || texture > textures_.size()) return nullptr;
  TextureSlot& slot = textures_[texture - 1];
  return slot.live ? &slot : nullptr;
}

int SdlEngineCore::largestImageSide() const {
  int side = kMaxImageSide;
  SDL_RendererInfo info;
  if (renderer_ && SDL_GetRendererInfo(renderer_.get(), &info) == 0) {
    // Surfaces are padded to powers of two and placed with a gutter, so
    // halving keeps the side one that fits.
    const int extra = 2 * TextureAtlas::kGutter;
    for (int limit : {info.max_texture_width, info.max_texture_height})
      while (limit > 0 && side > 1 && side + extra > limit) side /= 2;
  }
  return side;
}

HTEXTURE SdlEngineCore::Texture_Load(const char* name, uint32_t size, bool mipmap) {
  const std::string label = size == 0 && name ? name : "(memory)";
  auto fail = [&](const std::string& reason) {
    SetError("Texture_Load: " + label + ": " + reason);
    return HTEXTURE{0};
  };
  if (!renderer_) return fail("the engine is not running");
  std::vector<uint8_t> bytes;
  if (!loadBytes(name, size, bytes) || bytes.size() > INT32_MAX) return fail("not found");
  if (bytes.empty()) return fail("the file is empty");
  // The size is checked from the header first: decoding an image that
  // claims millions of pixels would allocate them all before failing. Only
  // PNG is decoded, by its own decoder: the catalogue and the fonts are PNG,
  // and every other decoder is one more way for a damaged file to get in.
  const int largest = largestImageSide();
  auto tooLarge = [&](int64_t width, int64_t height) {
    return fail("the image is " + std::to_string(width) + " x " + std::to_string(height) + " pixels, larger than the " +
                std::to_string(largest) + " x " + std::to_string(largest) + " this renderer takes");
  };
  ImageSize claimed;
  if (!ReadImageSize(bytes.data(), bytes.size(), &claimed)) return fail("not a PNG image");
  if (claimed.width > largest || claimed.height > largest) return tooLarge(claimed.width, claimed.height);
  if (std::strcmp(claimed.format, "PNG") != 0)
    return fail(std::string("a ") + claimed.format + " image: only PNG images are read");
  if (!claimed.complete) return fail("the file is cut short or damaged");
  // A decompression bomb is stopped here, after the work its image needs.
  if (const std::string excess = CheckPngInflation(bytes.data(), bytes.size()); !excess.empty()) return fail(excess);
  StreamHandle stream(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())));
  SurfaceHandle decoded(stream ? IMG_LoadPNG_RW(stream.get()) : nullptr);
  if (!decoded) return fail(IMG_GetError());
  SurfaceHandle image(SDL_ConvertSurfaceFormat(decoded.get(), SDL_PIXELFORMAT_ARGB8888, 0));
  if (!image) {
    SetSdlError("Texture_Load: converting the image");
    return 0;
  }
  if (image->w <= 0 || image->h <= 0) return fail("the image has no pixels");
  if (image->w > largest || image->h > largest) return tooLarge(image->w, image->h);
  TextureSlot slot;
  if (!placeImage(image.get(), slot)) {
    SetSdlError("Texture_Load: creating the texture");
    return 0;
  }
  textures_.push_back(slot);
  return static_cast<HTEXTURE>(textures_.size());
}

bool SdlEngineCore::placeImage(SDL_Surface* image, TextureSlot& slot) {
  slot.imageWidth = image->w;
  slot.imageHeight = image->h;
  slot.surfaceWidth = nextPowerOfTwo(image->w);
  slot.surfaceHeight = nextPowerOfTwo(image->h);
  SurfaceHandle padded(
      SDL_CreateRGBSurfaceWithFormat(0, slot.surfaceWidth, slot.surfaceHeight, 32, SDL_PIXELFORMAT_ARGB8888));
  if (!padded || SDL_LockSurface(padded.get()) != 0) return false;
  if (SDL_LockSurface(image) == 0) {
    copyPadded(image, padded.get());
    SDL_UnlockSurface(image);
  }
  slot.outline = OutlineOfTexels(static_cast<const uint32_t*>(padded->pixels), padded->w, padded->h,
                                 padded->pitch / static_cast<int>(sizeof(uint32_t)));
  SDL_UnlockSurface(padded.get());
  if (!atlas_.Add(padded.get(), slot.place)) return false;
  SDL_SetTextureScaleMode(atlas_.Page(slot.place.page), linearFilter_ ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  slot.live = true;
  return true;
}

void SdlEngineCore::Texture_Free(HTEXTURE texture) {
  if (TextureSlot* slot = findTexture(texture)) {
    // Queued quads may still use the page, which goes when its last image does.
    batch_.Flush();
    atlas_.Remove(slot->place);
    *slot = TextureSlot{};
  }
}

int SdlEngineCore::Texture_GetWidth(HTEXTURE texture, bool originalSize) {
  const TextureSlot* slot = findTexture(texture);
  if (!slot) return 0;
  return originalSize ? slot->imageWidth : slot->surfaceWidth;
}

int SdlEngineCore::Texture_GetHeight(HTEXTURE texture, bool originalSize) {
  const TextureSlot* slot = findTexture(texture);
  if (!slot) return 0;
  return originalSize ? slot->imageHeight : slot->surfaceHeight;
}
