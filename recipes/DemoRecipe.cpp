#include "DemoRecipe.h"

namespace DemoRecipe {
QString ensure() { return QString(); }
} // namespace DemoRecipe
