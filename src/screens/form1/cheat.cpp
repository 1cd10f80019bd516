#include "screens/form1/form1.h"

namespace vendral::form1 {

const ScreenPart cheat{};

}  // namespace vendral::form1
