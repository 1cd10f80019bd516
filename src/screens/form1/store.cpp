#include "screens/form1/form1.h"

namespace vendral::form1 {

const ScreenPart store{};

}  // namespace vendral::form1
