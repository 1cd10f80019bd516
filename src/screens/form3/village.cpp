#include "screens/form3/form3.h"

namespace vendral::form3 {

const ScreenPart village{};

}  // namespace vendral::form3
