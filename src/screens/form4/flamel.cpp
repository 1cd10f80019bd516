#include "screens/form4/form4.h"

namespace vendral::form4 {

const ScreenPart flamel{};

}  // namespace vendral::form4
