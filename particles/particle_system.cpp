// ParticleSystem: stepping, emission and drawing. Everything is computed in
// 32-bit floats in a fixed order (the library is built without fused
// multiply-add) so that equal random draws give equal particles anywhere.
#include "particles/particle_system.h"

#include <bit>
#include <cmath>
#include <numbers>

namespace {

constexpr float kHalfPi = std::numbers::pi_v<float> / 2;

// Above this many intervals the residue is reduced with fmod: subtracting one
// interval at a time would take too long, or never end once the residue is so
// large that subtracting an interval no longer changes it.
constexpr float kMaxIntervalSubtractions = 64;

// Trigonometry in double, rounded to float: the same result on every machine
// with a faithful double library, unlike the float versions.
float cosine(float angle) { return static_cast<float>(std::cos(static_cast<double>(angle))); }
float sine(float angle) { return static_cast<float>(std::sin(static_cast<double>(angle))); }

// Change per second over the particle's lifetime. A particle born with
// lifetime 0 dies before its deltas are ever used; 0 avoids dividing by it.
float perSecond(float change, float lifetime) { return lifetime != 0 ? change / lifetime : 0.0f; }

}  // namespace

float FastReciprocalSqrt(float d) {
  // Unsigned, so that no input can overflow the subtraction.
  const uint32_t bits = std::bit_cast<uint32_t>(d);
  const float y = std::bit_cast<float>(0x5F3759DFu - (bits >> 1));
  return y * (1.5f - 0.4999f * d * y * y);
}

ParticleVector FastNormalise(ParticleVector v) {
  const float d = v.x * v.x + v.y * v.y;
  if (d == 0) return v;
  const float r = FastReciprocalSqrt(d);
  return {v.x * r, v.y * r};
}

ParticleSystem::ParticleSystem(const ParticleSystemInfo& info) : info_(info) {}

ParticleSystem::~ParticleSystem() = default;

void ParticleSystem::Update(float dt) {
  if (updateInterval_ == 0) {
    Step(dt);
    return;
  }
  updateResidue_ += dt;
  if (!(updateResidue_ >= updateInterval_)) return;
  // However long the frame, one step: particles move in whole intervals only.
  Step(updateInterval_);
  if (!std::isfinite(updateResidue_)) {
    updateResidue_ = 0;
  } else if (updateResidue_ >= updateInterval_ * kMaxIntervalSubtractions) {
    updateResidue_ = std::fmod(updateResidue_, updateInterval_);
  }
  while (updateResidue_ >= updateInterval_) updateResidue_ -= updateInterval_;
}

void ParticleSystem::Step(float dt) {
  if (age_ >= 0) {
    age_ += dt;
    if (age_ >= info_.systemLifetime) age_ = kStoppedAge;
  }
  if (trackBounds_) bounds_.Reset();
  MoveParticles(dt);
  if (age_ != kStoppedAge) Emit(dt);
  previousLocation_ = location_;
}

void ParticleSystem::MoveParticles(float dt) {
  int i = 0;
  while (i < particlesAlive_) {
    Particle& particle = particles_[static_cast<std::size_t>(i)];
    particle.age += dt;
    if (particle.age >= particle.lifetime) {
      // The last live particle takes this place and is processed next.
      --particlesAlive_;
      particle = particles_[static_cast<std::size_t>(particlesAlive_)];
      continue;
    }
    const ParticleVector away = FastNormalise({particle.location.x - location_.x, particle.location.y - location_.y});
    const ParticleVector across{-away.y, away.x};
    const float accelerationX = away.x * particle.radialAcceleration + across.x * particle.tangentialAcceleration;
    const float accelerationY = away.y * particle.radialAcceleration + across.y * particle.tangentialAcceleration;
    particle.velocity.x += accelerationX * dt;
    particle.velocity.y += accelerationY * dt;
    particle.velocity.y += particle.gravity * dt;
    // Velocities are per step: added as they are, not scaled by dt.
    particle.location.x += particle.velocity.x;
    particle.location.y += particle.velocity.y;
    particle.spin += particle.spinDelta * dt;
    particle.size += particle.sizeDelta * dt;
    particle.colour.r += particle.colourDelta.r * dt;
    particle.colour.g += particle.colourDelta.g * dt;
    particle.colour.b += particle.colourDelta.b * dt;
    particle.colour.a += particle.colourDelta.a * dt;
    if (trackBounds_) bounds_.Include(particle.location.x, particle.location.y);
    ++i;
  }
}

void ParticleSystem::Emit(float dt) {
  // The fraction of a particle is carried over in single precision, so the
  // counts follow the rounding of these float sums.
  const float needed = static_cast<float>(info_.emissionRate) * dt + emissionResidue_;
  const float count = std::trunc(needed);
  emissionResidue_ = needed - count;
  // An infinite need (an endless step) has no fraction to carry; without
  // this the residue would stay not-a-number and the system never emit again.
  if (!std::isfinite(emissionResidue_)) emissionResidue_ = 0;
  // Beyond the free places the rest of the count is dropped, not carried.
  // Compared as floats: a huge or not-a-number count never reaches an int.
  const int room = kMaxParticles - particlesAlive_;
  int toCreate = 0;
  if (count >= static_cast<float>(room)) {
    toCreate = room;
  } else if (count > 0) {
    toCreate = static_cast<int>(count);
  }
  if (!hge_) return;  // no engine, no random draws: nothing is born
  for (int n = 0; n < toCreate; ++n) EmitOne(particles_[static_cast<std::size_t>(particlesAlive_)]);
}

// The draws happen in this exact order; each is a statement of its own so
// that the order cannot depend on how an expression is evaluated.
void ParticleSystem::EmitOne(Particle& particle) {
  HGE& hge = *hge_;
  const ParticleSystemInfo& info = info_;

  particle.age = 0;
  particle.lifetime = hge.Random_Float(info.lifeMin, info.lifeMax);

  const float along = hge.Random_Float(0, 1);
  particle.location.x = previousLocation_.x + (location_.x - previousLocation_.x) * along;
  particle.location.y = previousLocation_.y + (location_.y - previousLocation_.y) * along;
  particle.location.x += hge.Random_Float(-2, 2);
  particle.location.y += hge.Random_Float(-2, 2);

  const float spreadDraw = hge.Random_Float(0, info.spread);
  float angle = info.direction - kHalfPi + spreadDraw - info.spread / 2;
  if (info.relative) {
    const double headingX = static_cast<double>(previousLocation_.x - location_.x);
    const double headingY = static_cast<double>(previousLocation_.y - location_.y);
    angle += static_cast<float>(std::atan2(headingY, headingX)) + kHalfPi;
  }
  const float speed = hge.Random_Float(info.speedMin, info.speedMax);
  particle.velocity.x = cosine(angle) * speed;
  particle.velocity.y = sine(angle) * speed;

  particle.gravity = hge.Random_Float(info.gravityMin, info.gravityMax);
  particle.radialAcceleration = hge.Random_Float(info.radialMin, info.radialMax);
  particle.tangentialAcceleration = hge.Random_Float(info.tangentialMin, info.tangentialMax);

  const float lifetime = particle.lifetime;
  particle.size =
      hge.Random_Float(info.sizeStart, info.sizeStart + (info.sizeEnd - info.sizeStart) * info.sizeVariation);
  particle.sizeDelta = perSecond(info.sizeEnd - particle.size, lifetime);

  particle.spin =
      hge.Random_Float(info.spinStart, info.spinStart + (info.spinEnd - info.spinStart) * info.spinVariation);
  particle.spinDelta = perSecond(info.spinEnd - particle.spin, lifetime);

  const ColorRGBA& start = info.colourStart;
  const ColorRGBA& end = info.colourEnd;
  particle.colour.r = hge.Random_Float(start.r, start.r + (end.r - start.r) * info.colourVariation);
  particle.colour.g = hge.Random_Float(start.g, start.g + (end.g - start.g) * info.colourVariation);
  particle.colour.b = hge.Random_Float(start.b, start.b + (end.b - start.b) * info.colourVariation);
  particle.colour.a = hge.Random_Float(start.a, start.a + (end.a - start.a) * info.alphaVariation);
  particle.colourDelta.r = perSecond(end.r - particle.colour.r, lifetime);
  particle.colourDelta.g = perSecond(end.g - particle.colour.g, lifetime);
  particle.colourDelta.b = perSecond(end.b - particle.colour.b, lifetime);
  particle.colourDelta.a = perSecond(end.a - particle.colour.a, lifetime);

  if (trackBounds_) bounds_.Include(particle.location.x, particle.location.y);
  ++particlesAlive_;
}

void ParticleSystem::Render() {
  hgeSprite* sprite = info_.sprite;
  if (!sprite) return;
  // The sprite may be shared: its colour is put back afterwards (corner 0's
  // colour on all four corners).
  const uint32_t savedColour = sprite->GetVertexColor(0);
  for (int i = 0; i < particlesAlive_; ++i) {
    const Particle& particle = particles_[static_cast<std::size_t>(i)];
    sprite->SetVertexColor(particle.colour.ToARGB(), -1);
    sprite->RenderTransformed(particle.location.x + offsetX_, particle.location.y + offsetY_,
                              particle.spin * particle.age, particle.size, 0);
  }
  sprite->SetVertexColor(savedColour, -1);
}

void ParticleSystem::Fire() { age_ = info_.systemLifetime < 0 ? -1.0f : 0.0f; }

void ParticleSystem::Stop(bool killParticles) {
  age_ = kStoppedAge;
  if (killParticles) {
    particlesAlive_ = 0;
    bounds_.Reset();
  }
}

void ParticleSystem::MoveTo(float x, float y, bool jump) {
  if (jump) previousLocation_ = {x, y};
  location_ = {x, y};
}

void ParticleSystem::SetUpdateInterval(float seconds) {
  // A negative, infinite or not-a-number interval would step backwards, never
  // step, or make Update loop without end.
  updateInterval_ = (std::isfinite(seconds) && seconds > 0) ? seconds : 0.0f;
  updateResidue_ = 0;
}

void ParticleSystem::TrackBounds(bool track) {
  trackBounds_ = track;
  if (!track) bounds_.Reset();
}
