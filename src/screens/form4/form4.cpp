#include "screens/screens.h"

namespace vendral::form4 {

const ScreenDef screen{.name = "Form4", .caption = "Final Battle", .width = 7470, .height = 6660};

}  // namespace vendral::form4
