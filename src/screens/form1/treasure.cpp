#include "screens/form1/form1.h"

namespace vendral::form1 {

const ScreenPart treasure{};

}  // namespace vendral::form1
