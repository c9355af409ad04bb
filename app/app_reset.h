// Puts every global record of the program back to its state before start-up,
// so that tests can run the program's paths one after another.
#pragma once

// The composition, the particle manager, APP_STATE and the three seeded generators.
void resetAppStateForTests();
