#include "screens/form4/form4.h"

namespace vendral::form4 {

const ScreenPart battle{};

}  // namespace vendral::form4

namespace vendral::form4 {

void load(Game&) {}

}  // namespace vendral::form4
