#pragma once
// The current recipe as "ProjectName.set" names it. The name becomes a folder the
// parameter files are written to, so it passes the same check as a name the
// operator types.
#include <QString>

namespace CurrentRecipe {
// When the file names no valid recipe, names the first valid recipe folder instead.
// Returns the operator's warning (empty when the name was good or the file is missing).
QString ensureValid();
} // namespace CurrentRecipe
