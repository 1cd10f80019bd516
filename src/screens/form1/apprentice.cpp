#include "screens/form1/form1.h"

namespace vendral::form1 {

const ScreenPart apprentice{};

}  // namespace vendral::form1
