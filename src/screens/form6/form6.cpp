#include "screens/screens.h"

namespace vendral::form6 {

const ScreenDef screen{.name = "Form6", .caption = "Vendral", .width = 8760, .height = 6090};

}  // namespace vendral::form6
