#include "screens/form4/form4.h"

namespace vendral::form4 {

const ScreenPart cheat{};

}  // namespace vendral::form4
