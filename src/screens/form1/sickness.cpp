#include "screens/form1/form1.h"

namespace vendral::form1 {

const ScreenPart sickness{};

}  // namespace vendral::form1
