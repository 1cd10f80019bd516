#include "screens/screens.h"

namespace vendral::form3 {

const ScreenDef screen{.name = "Form3", .caption = "The Vendral for the Treasure of Karthune", .width = 7185, .height = 6225};

}  // namespace vendral::form3
