// ObjectEffect: what a scene object can carry in its effects list and have
// drawn right after itself. The particle system implements it; the scene
// knows nothing else about particles.
#pragma once

// Ownership: neither the scene nor the object owns an effect or the list that
// holds it. Whoever attaches a list to an object owns both, keeps them alive
// while attached, and detaches (sets the object's effects to null, or deletes
// the entry) before destroying either. Removing or clearing objects never
// touches effects.
class ObjectEffect {
 public:
  virtual ~ObjectEffect() = default;
  // Draws the effect where it currently is (its own location and offsets);
  // called by SPIX::RenderEffects right after the object is drawn.
  virtual void Render() = 0;
};
