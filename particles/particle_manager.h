// ParticleManager: a sorted, named list of owned particle systems, stepped by
// a fixed time each frame and drawn in list order. Finished systems are
// dropped by the update. Needs the particle system and the scene's owning NameList.
#pragma once

#include <memory>
#include <string_view>

#include "particles/particle_system.h"
#include "scene/owned_name_list.h"

class ParticleManager {
 public:
  // The application's nominal frame: 50 frames per second, as a float.
  static constexpr float kDefaultStepSeconds = 1.0f / 50;

  // stepSeconds: the time every system advances per Update, whatever time the
  // caller passes (the frame loop runs at a fixed rate).
  explicit ParticleManager(float stepSeconds = kDefaultStepSeconds);
  ParticleManager(const ParticleManager&) = delete;
  ParticleManager& operator=(const ParticleManager&) = delete;
  ~ParticleManager();

  // Takes the system, filed by name (case-sensitive; before equal names).
  // Returns its position, or -1 for a null system. A system that has not
  // been fired by the next Update is finished and is dropped by it.
  int Add(std::string_view name, std::unique_ptr<ParticleSystem> system);
  // Destroys the system at position i and removes its entry; nothing when i
  // is out of range.
  void DeleteAt(int i);
  // Destroys every system.
  void Clear();

  // Steps every running system (emitting, or with live particles) by the
  // fixed step and drops the finished ones. frameTime is not used.
  void Update(float frameTime);
  // Draws every system in list order.
  void Render();

  int Count() const { return systems_.Count(); }
  // Null out of range.
  ParticleSystem* At(int i) const { return systems_.ItemAt(i); }
  std::string_view NameAt(int i) const { return systems_.KeyAt(i); }
  // The first system filed under name, or null.
  ParticleSystem* Find(std::string_view name) const { return systems_.ItemAt(systems_.PositionOfKey(name)); }
  float StepSeconds() const { return stepSeconds_; }

 private:
  OwnedNameList<ParticleSystem> systems_{NameListOrder::Sorted};
  float stepSeconds_;
};

// The particle systems drawn over the scene; emptied with every new screen.
extern ParticleManager particleManager;
