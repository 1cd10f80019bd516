#include "screens/form1/form1.h"

namespace vendral::form1 {

const ScreenPart nilrem{};

}  // namespace vendral::form1
