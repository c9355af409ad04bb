// The start-up loader of the two fonts and the image catalogue: every
// pix\*.png image becomes a numbered graphic of the scene.
#pragma once

// Creates APP_STATE's title and help fonts, then registers each image of the
// "pix" folder (in listing order) as graphic 1, 2, 3, ... of APP_STATE.scene.
// True on failure: the first image that does not load, or images without a
// scene to hold them. Graphics registered before a failure stay. A missing
// folder or font is no failure.
bool loadTextureCatalogue();

// The fonts' description names.
extern const char* const kTitleFontName;
extern const char* const kHelpFontName;
