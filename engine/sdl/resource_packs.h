// Resource lookup: zip packs mounted with PhysFS, searched before the disk.
// Names may use "\" or "/" between folders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ResourcePacks {
 public:
  ResourcePacks() = default;
  ResourcePacks(const ResourcePacks&) = delete;
  ResourcePacks& operator=(const ResourcePacks&) = delete;
  ~ResourcePacks() { DetachAll(); }

  // Mounts the archive file; the most recently attached pack is searched
  // first. False with a reason in *error when the file is missing or is not
  // an archive PhysFS can read.
  bool Attach(const char* fileName, std::string* error);
  // The named file's bytes from the first pack holding it, else from the
  // disk (relative to the working folder). False when neither holds it,
  // with the disk's reason in *reason when not null: "not found",
  // "permission denied", "not a regular file" and the like.
  bool Load(const char* name, std::vector<uint8_t>& bytes, std::string* reason = nullptr) const;
  // Unmounts this object's packs; PhysFS itself is shut down once no pack
  // of anyone is mounted any more.
  void DetachAll();

  // "graphics\font.fnt" -> "graphics/font.fnt".
  static std::string NormaliseName(const char* name);
  // A failed open's errno as a short lower-case reason ("not found" for a
  // missing file or a dangling link).
  static std::string ReasonFor(int code);

 private:
  std::vector<std::string> mounted_;
};
