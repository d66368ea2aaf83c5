// The stb_image decoder, compiled here for Targa only, from memory only. Its JPEG decoder is
// left out: fuzzing found it writing past a table on a malformed Huffman table, and the data
// set holds no JPEG. Its own warnings are not ours to fix: this file is built without them.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#define STBI_NO_FAILURE_STRINGS
#define STBI_MAX_DIMENSIONS 4096
#include <stb/stb_image.h>
