// What each picture of the art shows, in a few words: what a screen reader
// says for a picture ("the disc", "Stormer the Dragon"), on every binding.
#pragma once

#include <string>
#include <string_view>

namespace vendral {

class Control;

// The words for a picture name (a file of the art, without ".svg"); empty for
// no picture, and the picture's own name for one not in the art.
std::string_view pictureWords(std::string_view picture);

// What a screen reader says for a control's picture: its words, and, where
// its screen stretches the same picture over more than one box, the size it
// is drawn at as well. The seven cups are one picture told apart by their sizes alone,
// and the riddle of which to drink is about those sizes:
// "a cup 73 wide by 49 high".
std::string pictureWordsOf(const Control& c);

}  // namespace vendral
