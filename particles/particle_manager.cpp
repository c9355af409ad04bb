// ParticleManager: ownership of the systems, the fixed-step update with its
// removal pass, and drawing in list order.
#include "particles/particle_manager.h"

ParticleManager particleManager;

ParticleManager::ParticleManager(float stepSeconds) : stepSeconds_(stepSeconds) {}

ParticleManager::~ParticleManager() { Clear(); }

int ParticleManager::Add(std::string_view name, std::unique_ptr<ParticleSystem> system) {
  if (!system) return -1;
  const int position = systems_.Add(name, system.get());
  system.release();  // the list's entry owns it from here on
  return position;
}

void ParticleManager::DeleteAt(int i) {
  if (i < 0 || i >= systems_.Count()) return;
  // Out of the list first, so that it never holds a destroyed system; the
  // system's destructor releases its engine reference.
  std::unique_ptr<ParticleSystem> system(systems_.ItemAt(i));
  systems_.DeleteAt(i);
}

void ParticleManager::Clear() {
  while (systems_.Count() > 0) DeleteAt(0);
}

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
