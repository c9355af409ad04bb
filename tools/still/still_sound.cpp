// Finding a track by name among the viewer's three and loading it from the
// attached Sound.paq.
#include "tools/still/still_sound.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "app/music.h"
#include "engine/hge.h"

namespace {

// "sound\MoonGarden.mp3" gives "MoonGarden".
std::string trackName(int track) {
  std::string_view name = musicTrackResource(track);
  name.remove_prefix(name.find_last_of("\\/") + 1);
  return std::string(name.substr(0, name.rfind('.')));
}

std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

}  // namespace

std::string stillTrackNames() {
  std::string names;
  for (int track = 0; track < kMusicTrackCount; ++track) {
    if (track > 0) names += track + 1 < kMusicTrackCount ? ", " : " or ";
    names += trackName(track);
  }
  return names;
}

StillSound::~StillSound() {
  if (block_) engine_.Resource_Free(block_);
}

bool StillSound::Load(const std::string& name, std::string& error) {
  // Only the three names are looked up, so no text from the command line
  // ever becomes a path in the pack or on the disk.
  std::string wanted = lowerCase(name);
  if (wanted.size() > 4 && wanted.compare(wanted.size() - 4, 4, ".mp3") == 0) wanted.resize(wanted.size() - 4);
  int found = name.empty() ? 0 : -1;
  for (int track = 0; track < kMusicTrackCount && found < 0; ++track) {
    if (lowerCase(trackName(track)) == wanted) found = track;
  }
  if (found < 0) {
    error = "no track '" + name + "' in Sound.paq: give " + stillTrackNames();
    return false;
  }
  name_ = trackName(found);
  if (!engine_.Resource_AttachPack("Sound.paq")) {
    error = "can't open Sound.paq in the data folder for the track " + name_;
    return false;
  }
  block_ = engine_.Resource_Load(musicTrackResource(found), &size_);
  if (!block_ || size_ == 0) {
    error = "the track " + name_ + " is not in Sound.paq";
    return false;
  }
  return true;
}
