#include "screens/form1/form1.h"

namespace vendral::form1 {

const ScreenPart upgrade{};

}  // namespace vendral::form1
