// ParticleManager: ownership of the systems, the fixed-step update with its
// removal pass, and drawing in list order.
#include "particles/particle_manager.h"

#include <utility>

ParticleManager particleManager;

ParticleManager::ParticleManager(float stepSeconds) : stepSeconds_(stepSeconds) {}

ParticleManager::~ParticleManager() { Clear(); }

int ParticleManager::Add(std::string_view name, std::unique_ptr<ParticleSystem> system) {
  if (!system) return -1;
  return systems_.Add(name, std::move(system));
}

void ParticleManager::DeleteAt(int i) { systems_.DeleteAt(i); }

void ParticleManager::Clear() { systems_.Clear(); }

void ParticleManager::Update(float /*frameTime*/) {
  for (int i = 0; i < systems_.Count(); ++i) {
    ParticleSystem* system = systems_.ItemAt(i);
    if (!system) continue;
    if (system->GetAge() > ParticleSystem::kStoppedAge || system->GetParticlesAlive() > 0) {
      system->Update(stepSeconds_);
    } else {
      // Careful: this removes from the list being walked; stepping back keeps
      // the entry that moves into place i from being skipped.
      DeleteAt(i);
      --i;
    }
  }
}

void ParticleManager::Render() {
  for (int i = 0; i < systems_.Count(); ++i) {
    if (ParticleSystem* system = systems_.ItemAt(i)) system->Render();
  }
}
