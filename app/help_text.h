// The texts of the help overlay. They go to the font's printf as its format,
// so they contain no "%".
#pragma once

extern const char* const kHelpText;
