// Fonts and the image catalogue. Images are numbered in listing order and
// alternate between additive (even entries) and alpha blending (odd
// entries); directories count as entries, so they shift the alternation.
// Names with a backslash are skipped without counting: the backslash is the
// program's folder separator, so such a file cannot be addressed (and where
// the program was first made, such names cannot exist).
#include "app/texture_catalogue.h"

#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "engine/platform.h"
#include "font/font.h"
#include "scene/scene.h"

const char* const kTitleFontName = "graphics\\font.fnt";
const char* const kHelpFontName = "graphics\\fontsmall.fnt";

namespace {

const char* const kImageFolder = "pix";

// Loads one image and registers it; false when the image does not load.
bool registerImage(HGE* engine, SPIX& scene, const std::string& fileName, int entryIndex) {
  const std::string path = std::string(kImageFolder) + "\\" + fileName;
  const HTEXTURE texture = engine->Texture_Load(path.c_str(), 0, true);
  // Checked before registering, so a broken image leaves no graphic behind.
  if (!texture) return false;
  const int width = engine->Texture_GetWidth(texture, true);
  const int height = engine->Texture_GetHeight(texture, true);

  SPIX_GRAPHICS* graphic = scene.AddGraphics(fileName, texture, 0.0f, 0.0f, static_cast<float>(width),
                                             static_cast<float>(height), 0.0f, 0.0f, 0);
  if (!graphic || !graphic->sprite || !graphic->sprite->GetTexture()) return false;
  hgeSprite& sprite = *graphic->sprite;
  sprite.SetVertexColor(0xFFFFFFFF, -1);
  sprite.SetBlend(entryIndex % 2 != 0 ? kBlendAlpha : kBlendAdditive);
  // Integer halves: figures turn and scale about the image's centre pixel.
  sprite.SetPivot(static_cast<float>(width / 2), static_cast<float>(height / 2));
  return true;
}

}  // namespace

bool loadTextureCatalogue() {
  // A font whose description is missing or broken is still made: it draws nothing.
  APP_STATE.titleFont = std::make_unique<hgeFont>(kTitleFontName);
  APP_STATE.helpFont = std::make_unique<hgeFont>(kHelpFontName);

  const std::vector<DirectoryEntry> entries = ListDirectory(std::string(kImageFolder) + "\\*.png");
  HGE* engine = APP_STATE.engine;
  int entryIndex = 0;
  int images = 0;
  for (const DirectoryEntry& entry : entries) {
    if (entry.name.find('\\') != std::string::npos) {
      if (engine)
        engine->System_Log("Skipping %s/%s: a backslash in a file name cannot be addressed.", kImageFolder,
                           entry.name.c_str());
      continue;
    }
    if (!entry.isDirectory) {
      if (!engine || !APP_STATE.scene) return true;
      if (!registerImage(engine, *APP_STATE.scene, entry.name, entryIndex)) return true;
      ++images;
    }
    ++entryIndex;
  }
  if (images == 0 && engine) engine->System_Log("No images in %s/ (*.png): every screen stays empty.", kImageFolder);
  return false;
}
