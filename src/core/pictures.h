// What each picture of the art shows, in a few words: what a screen reader
// says for a picture ("the disc", "Stormer the Dragon"), on every binding.
#pragma once

#include <string_view>

namespace vendral {

// The words for a picture name (a file of the art, without ".svg"); empty for
// no picture, and the picture's own name for one not in the art.
std::string_view pictureWords(std::string_view picture);

}  // namespace vendral
