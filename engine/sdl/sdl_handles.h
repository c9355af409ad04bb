// Owning handles for SDL and SDL_mixer objects: std::unique_ptr with the
// matching destroy call, so that every exit path releases them.
#pragma once

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <memory>

struct SdlDestroy {
  void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
  void operator()(SDL_Renderer* renderer) const { SDL_DestroyRenderer(renderer); }
  void operator()(SDL_Texture* texture) const { SDL_DestroyTexture(texture); }
  void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
  void operator()(SDL_RWops* stream) const { SDL_RWclose(stream); }
  void operator()(Mix_Music* music) const { Mix_FreeMusic(music); }
};

using WindowHandle = std::unique_ptr<SDL_Window, SdlDestroy>;
using RendererHandle = std::unique_ptr<SDL_Renderer, SdlDestroy>;
using TextureHandle = std::unique_ptr<SDL_Texture, SdlDestroy>;
using SurfaceHandle = std::unique_ptr<SDL_Surface, SdlDestroy>;
using StreamHandle = std::unique_ptr<SDL_RWops, SdlDestroy>;
using MusicHandle = std::unique_ptr<Mix_Music, SdlDestroy>;

// One reference on an SDL subsystem (SDL_InitSubSystem is counted per
// subsystem), dropped on destruction.
class SubsystemReference {
 public:
  SubsystemReference() = default;
  explicit SubsystemReference(Uint32 flags) : flags_(flags) {}
  SubsystemReference(SubsystemReference&& other) noexcept : flags_(other.flags_) { other.flags_ = 0; }
  SubsystemReference& operator=(SubsystemReference&& other) noexcept {
    if (this != &other) {
      Reset();
      flags_ = other.flags_;
      other.flags_ = 0;
    }
    return *this;
  }
  SubsystemReference(const SubsystemReference&) = delete;
  SubsystemReference& operator=(const SubsystemReference&) = delete;
  ~SubsystemReference() { Reset(); }

  // Takes a reference on the subsystems; false (holding none) when SDL refuses.
  bool Init(Uint32 flags) {
    Reset();
    if (SDL_InitSubSystem(flags) != 0) return false;
    flags_ = flags;
    return true;
  }
  void Reset() {
    if (flags_ != 0) SDL_QuitSubSystem(flags_);
    flags_ = 0;
  }
  bool Held() const { return flags_ != 0; }

 private:
  Uint32 flags_ = 0;
};
