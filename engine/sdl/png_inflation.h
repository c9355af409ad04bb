// Inflates the compressed streams of a PNG without keeping the result, so
// that a file whose data would inflate far beyond what its image needs (a
// decompression bomb) is refused before a decoder works through it.
// Byte arithmetic and zlib, no SDL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Compressed text and colour profile chunks (zTXt, iTXt, iCCP) of one file
// may inflate to this much together.
constexpr uint64_t kPngMetadataInflateLimit = uint64_t{8} << 20;

// The bytes a PNG's image data inflates to for exactly the image its header
// describes: per row a filter byte and the packed pixels, pass by pass when
// interlaced. 0 for a header that is cut short or names no valid format.
uint64_t PngImageDataBytes(const uint8_t* bytes, size_t size);

// Most the image data may inflate to: what the image needs, plus a small
// margin for encoders that leave a few bytes over.
uint64_t PngImageDataLimit(uint64_t needed);

// Empty when the image data (IDAT) inflates within PngImageDataLimit and the
// compressed metadata within kPngMetadataInflateLimit; otherwise the reason.
// Inflating stops at the limit, so a bomb costs no more than the limit's
// worth of work. Streams that are damaged are counted up to the damage and
// left for the decoder to refuse.
std::string CheckPngInflation(const uint8_t* bytes, size_t size);
