// driftglow-still's output files: each written whole and checked to the last
// byte, or not at all.
#pragma once

#include <string>
#include <vector>

#include "tools/common/png_file.h"

class HeadlessEngine;

// Writes text to path ("-": standard output). False with a one-line error
// naming the reason when any byte, the flush or the close fails, or the
// folder is missing; a file of that name is then left as it was.
bool writeStillText(const std::string& path, const std::string& text, std::string& error);

// Writes the engine's target as an RGB PNG carrying the text chunks, with
// the same checks.
bool writeStillPng(HeadlessEngine& engine, const std::string& path, const std::vector<tools::PngText>& texts,
                   std::string& error);
