// ParticleSystem: up to 500 particles emitted from a moving point, stepped in
// fixed or interval time and drawn with one shared sprite. Needs the engine
// interface (random floats) and the scene's sprite; nothing else.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/engine_ref.h"
#include "engine/hge.h"
#include "engine/sprite.h"
#include "scene/object_effect.h"

struct ParticleVector {
  float x = 0, y = 0;
};

struct Particle {
  ParticleVector location;
  ParticleVector velocity;  // units per step, not per second
  float gravity = 0;        // added to velocity.y, per second
  float radialAcceleration = 0;
  float tangentialAcceleration = 0;
  float spin = 0;  // the particle is drawn turned by spin × age radians
  float spinDelta = 0;
  float size = 0;
  float sizeDelta = 0;
  ColorRGBA colour;
  ColorRGBA colourDelta;
  float age = 0;       // seconds
  float lifetime = 0;  // seconds; the particle dies once age reaches it
};

// The parameters of a system, fixed while it runs. Each particle draws its own
// values from the ranges at birth.
struct ParticleSystemInfo {
  hgeSprite* sprite = nullptr;  // not owned; must outlive every Render
  int32_t emissionRate = 0;     // particles per second
  float systemLifetime = 0;     // seconds of emission; negative: emit until stopped
  float lifeMin = 0, lifeMax = 0;
  float direction = 0;    // radians
  float spread = 0;       // width of the emission cone, radians
  bool relative = false;  // the direction turns with the system's own movement
  float speedMin = 0, speedMax = 0;
  float gravityMin = 0, gravityMax = 0;
  float radialMin = 0, radialMax = 0;          // away from the system's location
  float tangentialMin = 0, tangentialMax = 0;  // at right angles to that
  // Variations run from 0 to 1 and widen the birth range from the start value
  // towards the end value.
  float sizeStart = 1, sizeEnd = 1, sizeVariation = 0;
  float spinStart = 0, spinEnd = 0, spinVariation = 0;
  ColorRGBA colourStart{1, 1, 1, 1}, colourEnd{1, 1, 1, 1};
  float colourVariation = 0;  // red, green and blue
  float alphaVariation = 0;
};

// Reciprocal square root by the bit-level estimate 0x5F3759DF with one Newton
// step whose half is 0.4999 (not 0.5); within about 0.2% of the exact value.
// Defined for d >= 0; the result for 0 is large but finite.
float FastReciprocalSqrt(float d);
// v scaled to length about 1 with FastReciprocalSqrt; a zero vector stays zero.
ParticleVector FastNormalise(ParticleVector v);

// A new system is stopped (age -2) and at (0, 0); Fire starts it. Holds one
// engine reference from construction to destruction, for Random_Float; made
// while no engine exists, it emits nothing.
// Can be drawn after a scene object by putting it in the object's effects list.
class ParticleSystem : public ObjectEffect {
 public:
  static constexpr int kMaxParticles = 500;
  static constexpr float kStoppedAge = -2.0f;  // the age of a system that no longer emits

  explicit ParticleSystem(const ParticleSystemInfo& info);
  ParticleSystem(const ParticleSystem&) = delete;
  ParticleSystem& operator=(const ParticleSystem&) = delete;
  ~ParticleSystem() override;

  // With an update interval of 0, one step of dt seconds. Otherwise dt is
  // gathered and at most one step of the interval is taken per call.
  void Update(float dt);
  // Ages the system, moves, ages and retires the live particles, then emits.
  void Step(float dt);
  // Draws every live particle at its location plus the offset, then puts the
  // sprite's corner-0 colour back on all four corners.
  void Render() override;

  // Starts emitting: from age 0, or without ageing when systemLifetime is
  // negative. A running system starts its lifetime over.
  void Fire();
  // Stops emitting; live particles fly on and fade unless killParticles.
  void Stop(bool killParticles = false);
  // The next step emits along the way from the previous location to (x, y);
  // with jump set the system is placed there without that trail.
  void MoveTo(float x, float y, bool jump = false);
  // Added to every particle's position when drawn.
  void SetOffset(float x, float y) { offsetX_ = x, offsetY_ = y; }
  // Seconds per step; 0 steps by whatever time Update is given. Anything but
  // a finite number above 0 is taken as 0. Restarts the gathered time.
  void SetUpdateInterval(float seconds);
  // When set, every step keeps GetBounds around the live particles.
  void TrackBounds(bool track);

  ParticleSystemInfo& Info() { return info_; }
  const ParticleSystemInfo& Info() const { return info_; }
  float GetAge() const { return age_; }
  float GetEmissionResidue() const { return emissionResidue_; }
  float GetUpdateResidue() const { return updateResidue_; }
  float GetUpdateInterval() const { return updateInterval_; }
  ParticleVector GetLocation() const { return location_; }
  ParticleVector GetPreviousLocation() const { return previousLocation_; }
  int GetParticlesAlive() const { return particlesAlive_; }
  // Live particles occupy 0 .. GetParticlesAlive() - 1; the order changes as
  // particles die (the last one takes the dead one's place).
  const Particle& GetParticle(int index) const { return particles_[static_cast<std::size_t>(index)]; }
  const BoundingRect& GetBounds() const { return bounds_; }
  bool IsTrackingBounds() const { return trackBounds_; }
  // Neither emitting nor holding live particles: the manager drops it.
  bool IsFinished() const { return age_ == kStoppedAge && particlesAlive_ == 0; }

 private:
  void MoveParticles(float dt);
  void Emit(float dt);
  void EmitOne(Particle& particle);

  ParticleSystemInfo info_;

  float updateInterval_ = 0;
  float updateResidue_ = 0;
  float age_ = kStoppedAge;
  float emissionResidue_ = 0;
  ParticleVector previousLocation_, location_;
  float offsetX_ = 0, offsetY_ = 0;
  int32_t particlesAlive_ = 0;
  BoundingRect bounds_;
  bool trackBounds_ = false;
  std::array<Particle, kMaxParticles> particles_{};

  // The engine this system acquired, so that it releases the same one.
  EngineRef hge_;
};
