// Quad drawing, textures, resources and sound on SDL, shared by the windowed
// and the headless engine so that both draw exactly alike.
#include "engine/sdl/sdl_engine_core.h"

#include "engine/sdl/image_header.h"
#include "engine/sdl/quad_splitter.h"

#include <SDL2/SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

// Distance in pixels between the visible area and the edges where oversized
// quads are cut.
constexpr float kGuardMargin = 2.0f;
// Half the product of doubled triangle area and texel coordinate at which
// SDL 2.26's software rasteriser starts to read outside the texture.
constexpr double kSoftwareAreaTexelLimit = 268435456.0;  // 2^28
// Larger images are refused: a catalogue image has no use for more, and at
// this size one padded image already takes 64 MiB.
constexpr int kMaxImageSide = 4096;

Uint8 colourByte(float value) {
  if (value >= 255.0f) return 255;
  return value > 0.0f ? static_cast<Uint8>(value + 0.5f) : 0;
}

// Clamped into 0..1 (SDL refuses the whole draw for coordinates outside);
// NaN becomes 0.
float unitCoordinate(float value) {
  if (value >= 1.0f) return 1.0f;
  return value > 0.0f ? value : 0.0f;
}

SDL_Vertex toSdl(const ClipVertex& p) {
  SDL_Vertex v;
  v.position = {p.x, p.y};
  v.color = {colourByte(p.r), colourByte(p.g), colourByte(p.b), colourByte(p.a)};
  v.tex_coord = {unitCoordinate(p.u), unitCoordinate(p.v)};
  return v;
}

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
    const auto* source =
        reinterpret_cast<const Uint32*>(static_cast<const uint8_t*>(image->pixels) + (y < height ? y : height - 1) * image->pitch);
    auto* target = reinterpret_cast<Uint32*>(static_cast<uint8_t*>(padded->pixels) + y * padded->pitch);
    std::memcpy(target, source, static_cast<size_t>(width) * sizeof(Uint32));
    for (int x = width; x < padded->w; ++x) target[x] = source[width - 1];
  }
}

}  // namespace

SdlEngineCore::SdlEngineCore() = default;

SdlEngineCore::~SdlEngineCore() { StopEverything(); }

// ---- System -------------------------------------------------------------

const char* SdlEngineCore::System_GetErrorMessage() { return error_.empty() ? SDL_GetError() : error_.c_str(); }

void SdlEngineCore::SetError(const std::string& message) {
  error_ = message;
  System_Log("%s", message.c_str());
}

void SdlEngineCore::SetSdlError(const char* what) { SetError(std::string(what) + ": " + SDL_GetError()); }

void SdlEngineCore::WriteLogLine(const char* line) { std::fprintf(stderr, "%s\n", line); }

void SdlEngineCore::System_SetState(BoolState state, bool value) {
  switch (state) {
    case BoolState::Windowed: states_.windowed = value; break;
    case BoolState::ZBuffer: states_.zBuffer = value; break;
    case BoolState::TextureFilter: states_.textureFilter = value; break;
    case BoolState::UseSound: states_.useSound = value; break;
    case BoolState::DontSuspend: states_.dontSuspend = value; break;
    case BoolState::HideMouse: states_.hideMouse = value; break;
  }
}

void SdlEngineCore::System_SetState(FuncState state, hgeCallback value) {
  if (state == FuncState::FrameFunc) states_.frameFunc = value;
  if (state == FuncState::RenderFunc) states_.renderFunc = value;
}

void SdlEngineCore::System_SetState(IntState state, int value) {
  switch (state) {
    case IntState::ScreenWidth: states_.screenWidth = value; break;
    case IntState::ScreenHeight: states_.screenHeight = value; break;
    case IntState::ScreenBpp: states_.bitsPerPixel = value; break;
    case IntState::Fps: states_.framesPerSecond = value; break;
  }
}

void SdlEngineCore::System_SetState(StringState state, const char* value) {
  if (state == StringState::Title) states_.title = value ? value : "";
}

void SdlEngineCore::StopEverything() {
  music_.Close();
  ReleaseRenderer();
  packs_.DetachAll();
}

// ---- Resources ----------------------------------------------------------

bool SdlEngineCore::loadBytes(const char* name, uint32_t size, std::vector<uint8_t>& bytes) {
  if (!name) return false;
  if (size != 0) {
    // A block in memory rather than a resource name.
    const auto* data = reinterpret_cast<const uint8_t*>(name);
    bytes.assign(data, data + size);
    return true;
  }
  return packs_.Load(name, bytes);
}

void* SdlEngineCore::Resource_Load(const char* name, uint32_t* size) {
  if (size) *size = 0;
  std::vector<uint8_t> bytes;
  if (!name || !packs_.Load(name, bytes) || bytes.size() >= UINT32_MAX) return nullptr;
  const auto length = static_cast<uint32_t>(bytes.size());
  try {
    bytes.push_back(0);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  if (size) *size = length;
  void* address = bytes.data();
  // Moving the vector keeps its buffer, so the address stays valid.
  blocks_.emplace(address, std::move(bytes));
  return address;
}

void SdlEngineCore::Resource_Free(void* block) { blocks_.erase(block); }

bool SdlEngineCore::Resource_AttachPack(const char* fileName, const char* password) {
  if (password && *password) System_Log("Resource_AttachPack: pack passwords are not supported, ignored");
  std::string reason;
  if (packs_.Attach(fileName, &reason)) return true;
  System_Log("Resource_AttachPack: %s", reason.c_str());
  return false;
}

// ---- Sound --------------------------------------------------------------

void SdlEngineCore::StartSound(MusicPlayer::Clock clock) {
  if (!states_.useSound) return;
  std::string note;
  bool opened = music_.Open(clock, &note);
  if (!note.empty() && (!opened || clock == MusicPlayer::Clock::Device)) System_Log("Sound: %s", note.c_str());
}

HEFFECT SdlEngineCore::Effect_Load(const char* name, uint32_t size) {
  if (!music_.IsOpen()) {
    System_Log("Effect_Load: sound is off");
    return 0;
  }
  std::vector<uint8_t> bytes;
  if (!loadBytes(name, size, bytes)) {
    System_Log("Effect_Load: %s not found", size == 0 && name ? name : "(memory)");
    return 0;
  }
  std::string reason;
  HEFFECT effect = music_.Load(std::move(bytes), &reason);
  if (effect == 0) System_Log("Effect_Load: %s: %s", size == 0 && name ? name : "(memory)", reason.c_str());
  return effect;
}

HCHANNEL SdlEngineCore::Effect_PlayEx(HEFFECT effect, int volume, int pan, float pitch, bool loop) {
  return music_.Play(effect, volume, pan, loop);
}

bool SdlEngineCore::Channel_IsPlaying(HCHANNEL channel) { return music_.IsPlaying(channel); }

// ---- Renderer -----------------------------------------------------------

bool SdlEngineCore::AttachRenderer(RendererHandle renderer, int width, int height) {
  ReleaseRenderer();
  if (!renderer || width <= 0 || height <= 0) {
    SetError("no renderer for the drawing target");
    return false;
  }
  renderer_ = std::move(renderer);
  targetWidth_ = width;
  targetHeight_ = height;

  SurfaceHandle white(SDL_CreateRGBSurfaceWithFormat(0, 1, 1, 32, SDL_PIXELFORMAT_ARGB8888));
  if (white) SDL_FillRect(white.get(), nullptr, 0xFFFFFFFFu);
  SDL_RendererInfo info;
  softwareRenderer_ = SDL_GetRendererInfo(renderer_.get(), &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
  white_ = TextureSlot{};
  white_.imageWidth = white_.imageHeight = white_.surfaceWidth = white_.surfaceHeight = 1;
  if (white) white_.texture = createTexture(white.get(), 1, 1);
  if (!white_.texture) {
    SetSdlError("white texture");
    ReleaseRenderer();
    return false;
  }

  transformOn_ = false;
  Gfx_SetClipping(0, 0, 0, 0);
  return true;
}

void SdlEngineCore::ReleaseRenderer() {
  textures_.clear();
  white_ = TextureSlot{};
  renderer_.reset();
  targetWidth_ = targetHeight_ = 0;
  clipOn_ = clipEmpty_ = false;
}

void SdlEngineCore::ResizeTarget(int width, int height) {
  if (!renderer_ || width <= 0 || height <= 0) return;
  targetWidth_ = width;
  targetHeight_ = height;
  Gfx_SetClipping(0, 0, 0, 0);
}

bool SdlEngineCore::Gfx_BeginScene(HTARGET target) {
  if (!renderer_) {
    SetError("Gfx_BeginScene: the engine is not running");
    return false;
  }
  if (target != 0) {
    SetError("Gfx_BeginScene: render targets are not supported");
    return false;
  }
  return true;
}

void SdlEngineCore::Gfx_EndScene() {
  if (renderer_) PresentFrame();
}

void SdlEngineCore::Gfx_Clear(uint32_t colour) {
  if (!renderer_) return;
  SDL_SetRenderDrawColor(renderer_.get(), (colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF, colour >> 24);
  SDL_RenderClear(renderer_.get());
}

void SdlEngineCore::Gfx_SetClipping(int x, int y, int width, int height) {
  if (!renderer_) return;
  if (x == 0 && y == 0 && width == 0 && height == 0) {
    clipOn_ = clipEmpty_ = false;
    SDL_RenderSetClipRect(renderer_.get(), nullptr);
  } else {
    // Intersected with the target in 64 bits: x + width may not fit an int.
    int64_t left = std::max<int64_t>(x, 0);
    int64_t top = std::max<int64_t>(y, 0);
    int64_t right = std::min<int64_t>(int64_t{x} + width, targetWidth_);
    int64_t bottom = std::min<int64_t>(int64_t{y} + height, targetHeight_);
    clipOn_ = true;
    clipEmpty_ = width <= 0 || height <= 0 || right <= left || bottom <= top;
    if (!clipEmpty_) {
      clip_ = {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
               static_cast<int>(bottom - top)};
      SDL_RenderSetClipRect(renderer_.get(), &clip_);
    }
  }
  updateGuardRect();
}

void SdlEngineCore::updateGuardRect() {
  SDL_Rect area = clipOn_ && !clipEmpty_ ? clip_ : SDL_Rect{0, 0, targetWidth_, targetHeight_};
  guard_ = {static_cast<float>(area.x) - kGuardMargin, static_cast<float>(area.y) - kGuardMargin,
            static_cast<float>(area.x + area.w) + kGuardMargin, static_cast<float>(area.y + area.h) + kGuardMargin};
}

void SdlEngineCore::Gfx_SetTransform(float x, float y, float dx, float dy, float rotation, float hscale,
                                     float vscale) {
  if (hscale == 0.0f && vscale == 0.0f) {
    transformOn_ = false;
    return;
  }
  transformOn_ = true;
  centreX_ = x;
  centreY_ = y;
  shiftX_ = dx;
  shiftY_ = dy;
  scaleX_ = hscale;
  scaleY_ = vscale;
  cosine_ = static_cast<float>(std::cos(static_cast<double>(rotation)));
  sine_ = static_cast<float>(std::sin(static_cast<double>(rotation)));
}

void SdlEngineCore::transformPoint(float& x, float& y) const {
  float px = (x - centreX_) * scaleX_;
  float py = (y - centreY_) * scaleY_;
  x = px * cosine_ - py * sine_ + centreX_ + shiftX_;
  y = px * sine_ + py * cosine_ + centreY_ + shiftY_;
}

void SdlEngineCore::prepareTexture(TextureSlot& slot, SDL_BlendMode blendMode) {
  if (slot.blendMode != blendMode) {
    SDL_SetTextureBlendMode(slot.texture.get(), blendMode);
    slot.blendMode = blendMode;
  }
  if (!slot.filterSet || slot.linear != states_.textureFilter) {
    SDL_SetTextureScaleMode(slot.texture.get(), states_.textureFilter ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    slot.linear = states_.textureFilter;
    slot.filterSet = true;
  }
}

// Hands triangles to SDL. On the software renderer each triangle is its own
// call with corrected coordinates (see softwareTexels): given two triangles
// forming an upright rectangle, SDL 2.26 takes a shortcut that maps texels
// and blends differently from its triangle path. Elsewhere a quad's
// triangles go out together.
class SdlEngineCore::QuadEmitter final : public TriangleSink {
 public:
  QuadEmitter(SDL_Renderer* renderer, const TextureSlot& slot, bool software)
      : renderer_(renderer), slot_(slot), software_(software) {}
  ~QuadEmitter() { Flush(); }

  void Triangle(const ClipVertex& a, const ClipVertex& b, const ClipVertex& c) override {
    if (software_) {
      SDL_Vertex triangle[3] = {toSdl(a), toSdl(b), toSdl(c)};
      softwareTexels(a, b, c, triangle);
      SDL_RenderGeometry(renderer_, slot_.texture.get(), triangle, 3, nullptr, 0);
      return;
    }
    if (count_ + 3 > kBatch) Flush();
    vertices_[count_++] = toSdl(a);
    vertices_[count_++] = toSdl(b);
    vertices_[count_++] = toSdl(c);
  }

  void Flush() {
    if (count_ > 0) SDL_RenderGeometry(renderer_, slot_.texture.get(), vertices_, count_, nullptr, 0);
    count_ = 0;
  }

 private:
  static constexpr int kBatch = 96;

  // SDL 2.26's software rasteriser keeps whole pixels of each corner
  // (truncated) and whole texels of its texture coordinates (truncated),
  // then takes one texel off the largest coordinate of a triangle whose
  // coordinates differ. Corners are therefore rounded to the nearest pixel
  // (so that pixel centres decide coverage), and texture coordinates are
  // given as texel centres of a texture two texels larger than the surface,
  // with the largest ones one texel further out to make up for the lost one.
  void softwareTexels(const ClipVertex& a, const ClipVertex& b, const ClipVertex& c, SDL_Vertex (&out)[3]) const {
    const ClipVertex* in[3] = {&a, &b, &c};
    for (int axis = 0; axis < 2; ++axis) {
      const int texels = axis == 0 ? slot_.surfaceWidth : slot_.surfaceHeight;
      int texel[3];
      for (int i = 0; i < 3; ++i) {
        const float coordinate = axis == 0 ? in[i]->u : in[i]->v;
        texel[i] = static_cast<int>(std::floor(unitCoordinate(coordinate) * static_cast<float>(texels)));
      }
      const int lowest = std::min({texel[0], texel[1], texel[2]});
      const int highest = std::max({texel[0], texel[1], texel[2]});
      for (int i = 0; i < 3; ++i) {
        const int adjusted = texel[i] + (highest > lowest && texel[i] == highest ? 1 : 0);
        const float centre = (static_cast<float>(adjusted) + 0.5f) / static_cast<float>(texels + 2);
        (axis == 0 ? out[i].tex_coord.x : out[i].tex_coord.y) = centre;
      }
    }
    for (SDL_Vertex& v : out) {
      v.position.x = std::floor(v.position.x + 0.5f);
      v.position.y = std::floor(v.position.y + 0.5f);
    }
  }

  SDL_Renderer* renderer_;
  const TextureSlot& slot_;
  const bool software_;
  SDL_Vertex vertices_[kBatch];
  int count_ = 0;
};

void SdlEngineCore::Gfx_RenderQuad(const SpriteQuad* quad) {
  if (!quad || !renderer_ || clipEmpty_) return;
  const bool untextured = quad->texture == 0;
  TextureSlot* slot = untextured ? &white_ : findTexture(quad->texture);
  if (!slot) return;

  ClipVertex corners[4];
  for (int i = 0; i < 4; ++i) {
    const SpriteVertex& source = quad->v[i];
    float x = source.x;
    float y = source.y;
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    if (transformOn_) {
      transformPoint(x, y);
      if (!std::isfinite(x) || !std::isfinite(y)) return;
    }
    const uint32_t c = source.colour;
    corners[i] = {x,
                  y,
                  static_cast<float>((c >> 16) & 0xFF),
                  static_cast<float>((c >> 8) & 0xFF),
                  static_cast<float>(c & 0xFF),
                  static_cast<float>(c >> 24),
                  untextured ? 0.5f : unitCoordinate(source.tx),
                  untextured ? 0.5f : unitCoordinate(source.ty)};
  }

  prepareTexture(*slot, (quad->blend & kBlendAlpha) ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_ADD);
  SplitSettings settings;
  if (!untextured) {
    settings.texelsWide = slot->surfaceWidth;
    settings.texelsHigh = slot->surfaceHeight;
  }
  if (softwareRenderer_) settings.maxAreaTexels = kSoftwareAreaTexelLimit;
  // A quad reaching past the guard rectangle is cut to its visible part:
  // SDL 2.26's software rasteriser overflows on very large triangles and
  // then fills the wrong pixels.
  QuadEmitter emitter(renderer_.get(), *slot, softwareRenderer_);
  SplitQuad(corners, settings, guard_, emitter);
}

// ---- Textures -----------------------------------------------------------

SdlEngineCore::TextureSlot* SdlEngineCore::findTexture(HTEXTURE texture) {
  if (texture == 0 || texture > textures_.size()) return nullptr;
  TextureSlot& slot = textures_[texture - 1];
  return slot.texture ? &slot : nullptr;
}

int SdlEngineCore::largestImageSide() const {
  int side = kMaxImageSide;
  SDL_RendererInfo info;
  if (renderer_ && SDL_GetRendererInfo(renderer_.get(), &info) == 0) {
    // Surfaces are padded to powers of two (and two texels more on the
    // software renderer), so halving keeps the side one that fits.
    const int extra = softwareRenderer_ ? 2 : 0;
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
  // claims millions of pixels would allocate them all before failing.
  const int largest = largestImageSide();
  auto tooLarge = [&](int64_t width, int64_t height) {
    return fail("the image is " + std::to_string(width) + " x " + std::to_string(height) +
                " pixels, larger than the " + std::to_string(largest) + " x " + std::to_string(largest) +
                " this renderer takes");
  };
  ImageSize claimed;
  if (ReadImageSize(bytes.data(), bytes.size(), &claimed) && (claimed.width > largest || claimed.height > largest))
    return tooLarge(claimed.width, claimed.height);
  SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  SurfaceHandle decoded(stream ? IMG_Load_RW(stream, 1) : nullptr);
  if (!decoded) return fail(IMG_GetError());
  SurfaceHandle image(SDL_ConvertSurfaceFormat(decoded.get(), SDL_PIXELFORMAT_ARGB8888, 0));
  if (!image) {
    SetSdlError("Texture_Load: converting the image");
    return 0;
  }
  if (image->w <= 0 || image->h <= 0) return fail("the image has no pixels");
  if (image->w > largest || image->h > largest) return tooLarge(image->w, image->h);
  TextureSlot slot;
  slot.imageWidth = image->w;
  slot.imageHeight = image->h;
  slot.surfaceWidth = nextPowerOfTwo(image->w);
  slot.surfaceHeight = nextPowerOfTwo(image->h);
  slot.texture = createTexture(image.get(), slot.surfaceWidth, slot.surfaceHeight);
  if (!slot.texture) {
    SetSdlError("Texture_Load: creating the texture");
    return 0;
  }
  textures_.push_back(std::move(slot));
  return static_cast<HTEXTURE>(textures_.size());
}

TextureHandle SdlEngineCore::createTexture(SDL_Surface* image, int surfaceWidth, int surfaceHeight) {
  // The software renderer's texture is two texels larger (see QuadEmitter).
  const int extra = softwareRenderer_ ? 2 : 0;
  SurfaceHandle padded(
      SDL_CreateRGBSurfaceWithFormat(0, surfaceWidth + extra, surfaceHeight + extra, 32, SDL_PIXELFORMAT_ARGB8888));
  if (!padded || SDL_LockSurface(padded.get()) != 0) return nullptr;
  if (SDL_LockSurface(image) == 0) {
    copyPadded(image, padded.get());
    SDL_UnlockSurface(image);
  }
  SDL_UnlockSurface(padded.get());
  return TextureHandle(SDL_CreateTextureFromSurface(renderer_.get(), padded.get()));
}

void SdlEngineCore::Texture_Free(HTEXTURE texture) {
  if (TextureSlot* slot = findTexture(texture)) slot->texture.reset();
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
