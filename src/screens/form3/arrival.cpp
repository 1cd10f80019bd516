#include "screens/form3/form3.h"

namespace vendral::form3 {

const ScreenPart arrival{};

}  // namespace vendral::form3

namespace vendral::form3 {

void load(Game&) {}

}  // namespace vendral::form3
