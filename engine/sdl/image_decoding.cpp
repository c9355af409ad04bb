// Image decoding through SDL_image's PNG decoder, after the header's size
// and the work its compressed data asks for have been checked.
#include "engine/sdl/image_decoding.h"

#include <SDL2/SDL_image.h>

#include <climits>
#include <cstring>

#include "engine/sdl/image_header.h"
#include "engine/sdl/png_inflation.h"

SurfaceHandle DecodeImage(const std::vector<uint8_t>& bytes, int largestSide, std::string* reason) {
  auto fail = [reason](const std::string& why) {
    *reason = why;
    return SurfaceHandle();
  };
  if (bytes.empty()) return fail("the file is empty");
  if (bytes.size() > INT_MAX) return fail("the file is larger than 2 GiB");
  // The size is checked from the header first: decoding an image that
  // claims millions of pixels would allocate them all before failing. Only
  // PNG is decoded, by its own decoder: the catalogue and the fonts are PNG,
  // and every other decoder is one more way for a damaged file to get in.
  auto tooLarge = [&](int64_t width, int64_t height) {
    return fail("the image is " + std::to_string(width) + " x " + std::to_string(height) + " pixels, larger than the " +
                std::to_string(largestSide) + " x " + std::to_string(largestSide) + " this renderer takes");
  };
  ImageSize claimed;
  if (!ReadImageSize(bytes.data(), bytes.size(), &claimed)) return fail("not a PNG image");
  if (claimed.width > largestSide || claimed.height > largestSide) return tooLarge(claimed.width, claimed.height);
  if (std::strcmp(claimed.format, "PNG") != 0)
    return fail(std::string("a ") + claimed.format + " image: only PNG images are read");
  if (!claimed.complete) return fail("the file is cut short or damaged");
  // A decompression bomb is stopped here, after the work its image needs.
  if (const std::string excess = CheckPngInflation(bytes.data(), bytes.size()); !excess.empty()) return fail(excess);
  StreamHandle stream(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())));
  SurfaceHandle decoded(stream ? IMG_LoadPNG_RW(stream.get()) : nullptr);
  if (!decoded) return fail(IMG_GetError());
  SurfaceHandle image(SDL_ConvertSurfaceFormat(decoded.get(), SDL_PIXELFORMAT_ARGB8888, 0));
  if (!image) return fail(std::string("converting the image: ") + SDL_GetError());
  if (image->w <= 0 || image->h <= 0) return fail("the image has no pixels");
  if (image->w > largestSide || image->h > largestSide) return tooLarge(image->w, image->h);
  return image;
}
